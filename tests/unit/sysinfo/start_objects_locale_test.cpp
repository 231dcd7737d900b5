#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "sysinfo/start_objects.h"

namespace vsi {
namespace {

class LocaleObjectTest : public ::testing::Test {
 protected:
  LocaleObjectTest() {
    // What the fake's en-US lacks and a real system answers.
    Info(LOCALE_SNEGATIVESIGN_, "-");
    Info(LOCALE_SPOSITIVESIGN_, "");
    Info(LOCALE_SMONDECIMALSEP_, ".");
    Info(LOCALE_SMONTHOUSANDSEP_, ",");
    Info(LOCALE_SMONGROUPING_, "3;0");
    Info(LOCALE_SGROUPING_, "3;0");
    Info(LOCALE_ILZERO_, "1");
    Info(LOCALE_INEGNUMBER_, "1");
    Info(LOCALE_IDIGITS_, "2");
    Info(LOCALE_IDATE_, "0");
    Info(LOCALE_ILDATE_, "0");
    Info(LOCALE_ICENTURY_, "1");
    Info(LOCALE_SINTLSYMBOL_, "USD");
    Info(LOCALE_ICOUNTRY_, "1");
  }
  void Info(LCTYPE type, const std::string& value) { fp.locale.SetInfo(0x0409, type, value); }
  AnsiString Stored(LCTYPE type) {
    std::string out;
    fp.locale.GetLocaleInfo(0x0409, type, out);
    return out;
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TSysLocaleObject loc{ctx};
};

TEST_F(LocaleObjectTest, ReadsPlainValuesAndPatternEntries) {
  loc.Retrieve();
  EXPECT_EQ(loc.Locale(), 0x0409u);
  EXPECT_EQ(loc.Get(lpCalendarType), "1");
  EXPECT_EQ(loc.Get(lpCurrencySymbol), "$");
  EXPECT_EQ(loc.Get(lpDecimalSeparator), ".");
  EXPECT_EQ(loc.Get(lpNegativeSign), "-");
  EXPECT_EQ(loc.Get(lpShortDateFormat), "M/d/yyyy");
  EXPECT_EQ(loc.Get(lpLanguageEnglish), "English");
  EXPECT_EQ(loc.Get(lpInternationalCurrencySymbol), "USD");
  EXPECT_EQ(loc.Get(lpPositiveCurrencyFormat), "\xA4" "1.1");
  EXPECT_EQ(loc.Get(lpNegativeCurrencyFormat), "(\xA4" "1.1)");
  EXPECT_EQ(loc.Get(lpNegativeFormat), "-1.1");
  EXPECT_EQ(loc.Get(lpShowLeadingZero), "0.7");
  EXPECT_EQ(loc.Get(lpClockMode), "12");
  EXPECT_EQ(loc.Get(lpShortDateOrder), "MDY");
  EXPECT_EQ(GetStrProp(loc, "Country"), "United States");
  EXPECT_EQ(GetStrProp(loc, "ClockMode"), "12");
}

TEST_F(LocaleObjectTest, GermanSeparatorsEnterTheTables) {
  fp.locale.threadLocale = 0x0407;
  fp.locale.SetInfo(0x0407, LOCALE_SNEGATIVESIGN_, "-");
  fp.locale.SetInfo(0x0407, LOCALE_SMONDECIMALSEP_, ",");
  fp.locale.SetInfo(0x0407, LOCALE_INEGNUMBER_, "1");
  fp.locale.SetInfo(0x0407, LOCALE_ILZERO_, "0");
  fp.locale.SetInfo(0x0407, LOCALE_IDATE_, "1");
  fp.locale.SetInfo(0x0407, LOCALE_ILDATE_, "1");
  loc.Retrieve();
  EXPECT_EQ(loc.Get(lpDecimalSeparator), ",");
  EXPECT_EQ(loc.Get(lpNegativeFormat), "-1,1");
  EXPECT_EQ(loc.Get(lpShowLeadingZero), ",7");
  EXPECT_EQ(loc.Get(lpClockMode), "24");
  EXPECT_EQ(loc.Get(lpShortDateOrder), "DMY");
  EXPECT_EQ(loc.Get(lpLongDateOrder), "DMY");
}

TEST_F(LocaleObjectTest, UnreadableValuesDoNotEndTheRetrieval) {
  fp.locale.failingTypes = {LOCALE_INEGCURR_, LOCALE_ITIME_, LOCALE_SCURRENCY_, LOCALE_IDATE_};
  EXPECT_NO_THROW(loc.Retrieve());
  EXPECT_EQ(loc.Get(lpCurrencySymbol), "Hallo");       // the fallback of a plain value
  EXPECT_EQ(loc.Get(lpShortDateOrder), "Hallo");       // kept: not a known digit
  EXPECT_EQ(loc.Get(lpNegativeCurrencyFormat), "");    // no number, no entry
  EXPECT_EQ(loc.Get(lpClockMode), "");
  EXPECT_EQ(loc.Get(lpNegativeFormat), "-1.1");        // the others are still read
}

TEST_F(LocaleObjectTest, RetrievesAgainstTheBareFakeWithoutError) {
  fake::FakePlatform bare;
  AppContext cx(bare.platform());
  TSysLocaleObject l(cx);
  EXPECT_NO_THROW(l.Retrieve());
  EXPECT_EQ(l.Get(lpNegativeSign), "Hallo");
  EXPECT_EQ(l.Get(lpNegativeFormat), "");
}

TEST_F(LocaleObjectTest, NumbersOutsideTheirTableGiveEmptyText) {
  Info(LOCALE_INEGCURR_, "16");  // a table of 16 entries: 0 to 15
  Info(LOCALE_ICURRENCY_, "-1");
  Info(LOCALE_ITIME_, "2");
  loc.Retrieve();
  EXPECT_EQ(loc.Get(lpNegativeCurrencyFormat), "");
  EXPECT_EQ(loc.Get(lpPositiveCurrencyFormat), "");
  EXPECT_EQ(loc.Get(lpClockMode), "");
  Info(LOCALE_INEGCURR_, "15");
  loc.Retrieve();
  EXPECT_EQ(loc.Get(lpNegativeCurrencyFormat), "(1.1 \xA4)");
}

TEST(LocalePatterns, TablesAndReplacements) {
  LocalePatterns p = LocalePatterns::Build("-", ".", ".");
  ASSERT_EQ(p.positiveCurrency.size(), 4u);
  ASSERT_EQ(p.negativeCurrency.size(), 16u);
  ASSERT_EQ(p.negativeNumber.size(), 5u);
  ASSERT_EQ(p.leadingZero.size(), 2u);
  ASSERT_EQ(p.clockMode.size(), 2u);
  EXPECT_EQ(p.negativeCurrency[1], "-\xA4" "1.1");
  EXPECT_EQ(p.leadingZero[0], ".7");
  EXPECT_EQ(p.leadingZero[1], "0.7");
  EXPECT_EQ(p.positiveCurrency[3], "1.1 \xA4");

  LocalePatterns q = LocalePatterns::Build("~", ",", "'");
  EXPECT_EQ(q.negativeCurrency[2], "\xA4~1'1");   // currency separator, then the sign
  EXPECT_EQ(q.negativeNumber[4], "1,1 ~");
  EXPECT_EQ(q.negativeNumber[0], "(1,1)");
  EXPECT_EQ(q.positiveCurrency[0], "\xA4" "1'1");
}

TEST(LocalePatterns, SelectByDecimalNumber) {
  const std::vector<AnsiString> table{"a", "b", "c"};
  struct Case {
    const char* number;
    const char* entry;
  };
  const Case cases[] = {{"0", "a"}, {"2", "c"}, {" 1", "b"}, {"3", ""}, {"-1", ""},
                        {"Hallo", ""}, {"", ""}, {"1x", ""}, {"99999999999999999999", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(LocalePatterns::Select(table, c.number), c.entry);
  }
}

TEST_F(LocaleObjectTest, ApplyWritesPendingValuesAsTheSystemStoresThem) {
  loc.Retrieve();
  std::vector<std::string> committed;
  loc.SetChangeHandler([&](TObject*, const AnsiString& n, const AnsiString&, const AnsiString&, TDateTime) {
    committed.push_back(n);
  });
  loc.Set(lpShowLeadingZero, ".7");
  loc.Set(lpClockMode, "24");
  loc.Set(lpNegativeFormat, "1.1 -");
  loc.Set(lpShortDateOrder, "YMD");
  loc.Set(lpCurrencySymbol, "US$");
  loc.Set(lpDecimalSeparator, ",");  // the tables follow the new separator
  loc.Set(lpNegativeCurrencyFormat, "no such entry");
  EXPECT_EQ(loc.Get(lpCurrencySymbol), "US$");
  loc.Apply();

  const std::vector<std::string> order{"Locale:DecimalSeparator", "Locale:CurrencySymbol", "Locale:ShortDateOrder",
                                       "Locale:ClockMode",        "Locale:NegativeFormat", "Locale:NegativeCurrencyFormat",
                                       "Locale:ShowLeadingZero"};
  EXPECT_EQ(committed, order);
  EXPECT_EQ(Stored(LOCALE_SDECIMAL_), ",");
  EXPECT_EQ(Stored(LOCALE_SCURRENCY_), "US$");
  EXPECT_EQ(Stored(LOCALE_IDATE_), "2");
  EXPECT_EQ(Stored(LOCALE_ITIME_), "1");
  EXPECT_EQ(Stored(LOCALE_INEGNUMBER_), "1");  // "1.1 -" is not an entry once the separator is ","
  EXPECT_EQ(Stored(LOCALE_INEGCURR_), "0");    // nothing written for an unknown entry
  EXPECT_EQ(Stored(LOCALE_ILZERO_), "1");      // ".7" is not an entry with "," either
  EXPECT_EQ(loc.PendingChanges().Count(), 0);
}

TEST_F(LocaleObjectTest, PatternEntryWritesItsNumber) {
  loc.Retrieve();
  loc.Set(lpNegativeFormat, "1.1 -");
  loc.Set(lpShowLeadingZero, ".7");
  loc.Set(lpClockMode, "12");  // unchanged
  loc.Set(lpLongDateOrder, "DMY");
  loc.Apply();
  EXPECT_EQ(Stored(LOCALE_INEGNUMBER_), "4");
  EXPECT_EQ(Stored(LOCALE_ILZERO_), "0");
  EXPECT_EQ(Stored(LOCALE_ILDATE_), "1");
  EXPECT_EQ(Stored(LOCALE_ITIME_), "0");
}

TEST_F(LocaleObjectTest, SetterRecordsWithPropertyName) {
  loc.Retrieve();
  SetProp(loc, "TimeSeparator", PropValue(AnsiString(".")));
  ASSERT_EQ(loc.PendingChanges().Count(), 1);
  EXPECT_EQ(loc.PendingChanges()[0].name, "Locale:TimeSeparator");
  EXPECT_EQ(loc.PendingChanges()[0].oldValue, ":");
  EXPECT_EQ(loc.PendingChanges()[0].newValue, ".");
  EXPECT_EQ(fp.locale.setLocaleInfoCalls, 0);
}

TEST_F(LocaleObjectTest, ComponentRetrievesWhenLoaded) {
  TComponent root(ctx);
  auto* c = new TSysLocale(&root);
  EXPECT_EQ(c->Locale()->Get(lpCountry), "");
  c->SetAutoRetrieve(true);
  c->Loaded();
  EXPECT_EQ(c->Locale()->Get(lpCountry), "United States");
  EXPECT_TRUE(c->Retrieved());
}

TEST(LocalePropNames, AllThirtyEightInIndexOrder) {
  EXPECT_STREQ(LocalePropName(0), "CalendarType");
  EXPECT_STREQ(LocalePropName(22), "NegativeSign");
  EXPECT_STREQ(LocalePropName(37), "CountrySymbol");
  EXPECT_EQ(TSysLocaleObject::StaticClass().props.size(), 38u);
}

}  // namespace
}  // namespace vsi
