#include "i18n/language.h"

#include <gtest/gtest.h>

#include "fakes/fake_locale.h"
#include "framework/object.h"
#include "i18n_test_util.h"

namespace vsi {
namespace {

using testing_i18n::MakeLanguage;

TEST(IvIdentifiers, LangIdArithmetic) {
  EXPECT_EQ(MakeLangId(9, 1), 0x0409u);
  EXPECT_EQ(MakeLangId(7, 3), 0x0C07u);
  EXPECT_EQ(PrimaryLangId(0x0C0A), 10);
  EXPECT_EQ(SubLangId(0x0C0A), 3);
  // Parts wider than their fields are cut rather than spilling into the neighbour.
  EXPECT_EQ(MakeLangId(0x400 | 9, 64 | 1), 0x0409u);
}

TEST(IvCharsets, CharsetOfCodePage) {
  struct Case {
    const char* name;
    int codePage;
    int charset;
  } cases[] = {
      {"western", 1252, 0}, {"greek", 1253, 161},  {"central european", 1250, 238}, {"hebrew", 1255, 177},
      {"thai", 874, 222},   {"johab", 1361, 130},  {"vietnamese", 1258, 163},       {"zero row", 0, 0},
      {"oem us", 437, 1},   {"utf-8", 65001, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(CharsetOfCodePage(c.codePage), c.charset) << c.name;
  EXPECT_TRUE(CharsetTable()[5].rightToLeft);
  EXPECT_TRUE(CharsetTable()[6].rightToLeft);
  EXPECT_FALSE(CharsetTable()[3].rightToLeft);
}

class IvLocaleDatabase : public ::testing::Test {
 protected:
  fake::FakeLocale locale;
};

TEST_F(IvLocaleDatabase, DefaultCodePageAsksTheSystemThenFallsBackPerPrimary) {
  struct Case {
    const char* name;
    LCID lcid;
    int expected;
  } cases[] = {
      {"french from the system", 0x040C, 1252},
      {"japanese from the system", 0x0411, 932},
      {"russian from the system", 0x0419, 1251},
      {"serbian cyrillic (sub 3) unknown to the system", 0x0C1A, 1251},
      {"serbian latin (sub 2) unknown to the system", 0x081A, 1250},
      {"croatian (sub 1) unknown to the system", 0x041A, 1250},
      {"farsi", 0x0429, 1256},
      {"azeri cyrillic", 0x082C, 1251},
      {"azeri latin", 0x042C, 1254},
      {"thai", 0x041E, 874},
      {"korean", 0x0412, 949},
      {"estonian", 0x0425, 1257},
      {"unknown primary", 0x0436, 1252},
  };
  for (const Case& c : cases) EXPECT_EQ(DefaultCodePage(locale, c.lcid), c.expected) << c.name;
}

TEST_F(IvLocaleDatabase, ChineseCodePageNeedsNoQuery) {
  int before = locale.localeInfoQueries;
  EXPECT_EQ(DefaultCodePage(locale, MakeLangId(4, 4)), 936);  // Singapore
  EXPECT_EQ(DefaultCodePage(locale, MakeLangId(4, 5)), 950);  // Macau
  EXPECT_EQ(DefaultCodePage(locale, MakeLangId(4, 1)), 950);
  EXPECT_EQ(DefaultCodePage(locale, MakeLangId(4, 2)), 936);
  EXPECT_EQ(locale.localeInfoQueries, before);
}

TEST_F(IvLocaleDatabase, DefaultCodePageRejectsANonNumericAnswer) {
  locale.SetInfo(0x040C, LOCALE_IDEFAULTANSICODEPAGE_, "12x");
  EXPECT_THROW(DefaultCodePage(locale, 0x040C), EConvertError);
}

TEST(IvLayout, LayoutClassByPrimary) {
  EXPECT_EQ(LayoutClass(0x0401), 2);  // Arabic
  EXPECT_EQ(LayoutClass(0x040D), 2);  // Hebrew
  EXPECT_EQ(LayoutClass(0x0429), 2);  // Farsi
  EXPECT_EQ(LayoutClass(0x0411), 1);  // Japanese
  EXPECT_EQ(LayoutClass(0x0404), 1);  // Chinese
  EXPECT_EQ(LayoutClass(0x0412), 1);  // Korean
  EXPECT_EQ(LayoutClass(0x0409), 0);
  EXPECT_EQ(LayoutClass(0x0419), 0);
}

TEST_F(IvLocaleDatabase, CodePageSupportFollowsTheEnumeration) {
  EXPECT_TRUE(CodePageSupported(locale, 0));
  EXPECT_TRUE(CodePageSupported(locale, 1252));
  EXPECT_TRUE(CodePageSupported(locale, 932));
  EXPECT_FALSE(CodePageSupported(locale, 1361));
  locale.enumCodePagesFails = true;
  EXPECT_FALSE(CodePageSupported(locale, 1252));
  EXPECT_TRUE(CodePageSupported(locale, 0));
}

TEST(IvNumbers, StrToIntStrict) {
  EXPECT_EQ(StrToIntStrict("12"), 12);
  EXPECT_EQ(StrToIntStrict("  7"), 7);
  EXPECT_EQ(StrToIntStrict("-3"), -3);
  for (const char* bad : {"", " ", "1 ", "x", "1x", "+", "99999999999"})
    EXPECT_THROW(StrToIntStrict(bad), EConvertError) << '"' << bad << '"';
}

// --- Sublanguage rules ---------------------------------------------------------------------

TEST(IvLanguageSubLanguages, EffectiveSubLanguage) {
  TIvLanguage l;
  l.primary = 7;
  EXPECT_EQ(l.EffectiveSubLanguage(), 0);  // empty list
  l.subLanguages = {1, 3};
  l.defaultSubLanguage = 3;
  EXPECT_EQ(l.EffectiveSubLanguage(), 3);
  l.defaultSubLanguage = 5;
  EXPECT_EQ(l.EffectiveSubLanguage(), 1);  // default not in the list: the first entry
}

TEST(IvLanguageSubLanguages, SetCurrentSubLanguage) {
  TIvLanguage l;
  l.primary = 7;
  l.subLanguages = {1, 3};
  l.defaultSubLanguage = 1;
  l.currentSubLanguage = 1;
  l.SetCurrentSubLanguage(3);
  EXPECT_EQ(l.currentSubLanguage, 3);
  l.SetCurrentSubLanguage(4);  // not covered: back to the default
  EXPECT_EQ(l.currentSubLanguage, 1);
  l.SetCurrentSubLanguage(3);
  l.SetCurrentSubLanguage(-1);
  EXPECT_EQ(l.currentSubLanguage, 1);
  l.subLanguages.clear();
  l.SetCurrentSubLanguage(9);  // an empty list takes anything
  EXPECT_EQ(l.currentSubLanguage, 9);
}

TEST(IvLanguageSubLanguages, SetDefaultSubLanguage) {
  TIvLanguage l;
  l.primary = 12;
  l.subLanguages = {1};
  l.defaultSubLanguage = 1;
  l.variants = {"a"};
  l.SetDefaultSubLanguage(2);
  EXPECT_EQ(l.defaultSubLanguage, 2);
  EXPECT_EQ(l.subLanguages, (std::vector<int>{1, 2}));
  l.SetDefaultSubLanguage(1);  // already in the list: not added twice
  EXPECT_EQ(l.subLanguages, (std::vector<int>{1, 2}));
  l.SetDefaultSubLanguage(0);
  EXPECT_TRUE(l.subLanguages.empty());
  EXPECT_TRUE(l.variants.empty());

  TIvLanguage native;
  native.SetDefaultSubLanguage(4);  // primary 0: ignored
  EXPECT_EQ(native.defaultSubLanguage, 0);
  EXPECT_TRUE(native.subLanguages.empty());
}

TEST(IvLanguageLocaleIds, LocaleIdRules) {
  struct Case {
    const char* name;
    int primary;
    std::vector<int> subs;
    int defaultSub;
    int codePage;
    LCID expected;
  } cases[] = {
      {"native", 0, {}, 3, 1252, 0},
      {"first list entry", 7, {3, 1}, 1, 1252, 0x0C07},
      {"default when the list is empty", 12, {}, 2, 1252, 0x080C},
      {"chinese traditional", 4, {}, 0, 950, 0x0404},
      {"chinese simplified", 4, {}, 0, 936, 0x0804},
      {"serbian latin", 26, {}, 0, 1250, 0x041A},
      {"serbian cyrillic", 26, {}, 0, 1251, 0x0C1A},
      {"other primary with sub 0", 9, {}, 0, 1252, 0x0009},
  };
  for (const Case& c : cases) {
    TIvLanguage l;
    l.primary = c.primary;
    l.subLanguages = c.subs;
    l.defaultSubLanguage = c.defaultSub;
    l.SetCodePage(c.codePage);
    EXPECT_EQ(l.LocaleId(), c.expected) << c.name;
  }
}

TEST(IvLanguageLocaleIds, DefaultAndCurrentLocaleIds) {
  TIvLanguage l;
  l.primary = 7;
  l.defaultSubLanguage = 3;
  l.currentSubLanguage = 1;
  EXPECT_EQ(l.DefaultLocaleId(), 0x0C07u);
  EXPECT_EQ(l.CurrentLocaleId(), 0x0407u);
  TIvLanguage native;
  native.defaultSubLanguage = 9;
  EXPECT_EQ(native.DefaultLocaleId(), 0x0009u);  // the default names the primary here
}

// --- Lists ---------------------------------------------------------------------------------

TEST(IvLanguageLists, SubLanguagesText) {
  struct Case {
    const char* text;
    std::vector<int> expected;
  } cases[] = {
      {"", {}}, {"1,2,", {1, 2}}, {"0,3", {3}}, {" 4, 5", {4, 5}}, {"2,2", {2, 2}}, {"-1,6", {6}},
  };
  for (const Case& c : cases) {
    TIvLanguage l;
    l.SetSubLanguagesText(c.text);
    EXPECT_EQ(l.subLanguages, c.expected) << '"' << c.text << '"';
  }
}

TEST(IvLanguageLists, BadSubLanguagesTextRaisesAndKeepsTheList) {
  for (const char* bad : {",1", "1,,2", "1,x", "1 "}) {
    TIvLanguage l;
    l.subLanguages = {9};
    EXPECT_THROW(l.SetSubLanguagesText(bad), EConvertError) << bad;
    EXPECT_EQ(l.subLanguages, std::vector<int>{9}) << bad;
  }
}

TEST(IvLanguageLists, VariantsAndWriting) {
  TIvLanguage l;
  l.SetVariantsText("a,,b c,");
  EXPECT_EQ(l.variants, (std::vector<AnsiString>{"a", "", "b c"}));
  EXPECT_EQ(l.VariantsText(), "a,,b c");
  l.SetSubLanguagesText("3,1");
  EXPECT_EQ(l.SubLanguagesText(), "3,1");
}

// --- Complete, Assign, SameAs --------------------------------------------------------------

TEST_F(IvLocaleDatabase, CompleteNativeLanguage) {
  TIvLanguage l;
  l.primary = -5;
  l.subLanguages = {1};
  l.defaultSubLanguage = 2;
  l.SetCodePage(932);
  l.Complete(locale);
  EXPECT_EQ(l.primary, 0);
  EXPECT_EQ(l.englishName, "Native");
  EXPECT_EQ(l.nativeName, "Native");
  EXPECT_EQ(l.flags, ivlfNoCodePageCheck);
  EXPECT_TRUE(l.subLanguages.empty());
  EXPECT_EQ(l.defaultSubLanguage, 0);
  // Exempt from every check, even on a Cyrillic system that supports nothing.
  locale.acp = 1251;
  locale.enumCodePagesFails = true;
  EXPECT_TRUE(LanguageSupportedBySystem(locale, l));
  EXPECT_TRUE(LanguageSupportedByCodePage(locale, l));
}

TEST_F(IvLocaleDatabase, CompleteFillsEmptyFieldsFromTheLocale) {
  TIvLanguage l;
  l.primary = 12;  // French, nothing else given
  l.Complete(locale);
  EXPECT_EQ(l.defaultSubLanguage, 1);
  EXPECT_EQ(l.currentSubLanguage, 1);
  EXPECT_EQ(l.isoLanguage, "fr");
  EXPECT_EQ(l.isoCountry, "FR");
  EXPECT_EQ(l.englishName, "French");
  EXPECT_EQ(l.nativeName, "fran\xE7" "ais");  // no sublanguage list: no country
  EXPECT_EQ(l.CodePage(), 1252);
  EXPECT_EQ(l.Charset(), 0);

  TIvLanguage german;
  german.primary = 7;
  german.SetSubLanguagesText("3,1");
  german.isoLanguage = "xx";  // given fields stay
  german.Complete(locale);
  EXPECT_EQ(german.defaultSubLanguage, 3);
  EXPECT_EQ(german.isoLanguage, "xx");
  EXPECT_EQ(german.nativeName, "Deutsch (\xD6sterreich)");
}

TEST_F(IvLocaleDatabase, CompleteUnknownLocaleFallsBackTo1252) {
  TIvLanguage l;
  l.primary = 0x55;  // a primary the database does not know
  l.Complete(locale);
  EXPECT_EQ(l.CodePage(), 1252);
  EXPECT_EQ(l.englishName, "");
}

TEST_F(IvLocaleDatabase, CompleteNamesSerbianWithItsScript) {
  locale.SetInfo(0x0C1A, LOCALE_SENGLANGUAGE_, "Serbian");
  TIvLanguage l;
  l.primary = 26;
  l.SetSubLanguagesText("3");
  l.SetCodePage(1251);
  l.Complete(locale);
  EXPECT_EQ(l.englishName, "Serbian, Cyrillic");
  EXPECT_EQ(l.Charset(), 204);
}

TEST(IvLanguageValue, AssignCloneAndCodePageCharset) {
  TIvLanguage l;
  l.primary = 8;
  l.SetCodePage(1253);
  EXPECT_EQ(l.Charset(), 161);
  l.subLanguages = {1};
  l.variants = {"v"};
  l.englishName = "Greek";
  l.fontName = "Arial";
  l.fontSize = 9;
  l.flags = 1;
  auto copy = l.Clone();
  EXPECT_EQ(copy->primary, 8);
  EXPECT_EQ(copy->CodePage(), 1253);
  EXPECT_EQ(copy->Charset(), 161);
  EXPECT_EQ(copy->subLanguages, l.subLanguages);
  EXPECT_EQ(copy->variants, l.variants);
  EXPECT_EQ(copy->fontName, "Arial");
  EXPECT_EQ(copy->flags, 1);
  l.subLanguages.push_back(2);
  EXPECT_EQ(copy->subLanguages.size(), 1u);  // a copy, not shared
}

TEST(IvLanguageValue, SameAs) {
  TIvLanguage a, b;
  a.SetCodePage(1252);
  b.SetCodePage(950);
  EXPECT_TRUE(a.SameAs(b));  // both native
  a.primary = b.primary = 4;
  EXPECT_FALSE(a.SameAs(b));  // traditional and simplified Chinese differ
  a.SetCodePage(950);
  EXPECT_TRUE(a.SameAs(b));
  b.primary = 9;
  EXPECT_FALSE(a.SameAs(b));
}

// --- Naming rules --------------------------------------------------------------------------

TEST(IvNaming, LanguageNames) {
  struct Case {
    const char* name;
    const char* text;
    int primary, codePage;
    const char* expected;
  } cases[] = {
      {"chinese traditional", "Chinese (Taiwan)", 4, 950, "Chinese , Traditional"},
      {"chinese simplified", "Chinese", 4, 936, "Chinese, Simplified"},
      {"spanish cut at the blank", "Spanish - Modern Sort", 10, 1252, "Spanish"},
      {"korean johab", "Korean", 18, 1361, "Korean, Johab"},
      {"korean", "Korean", 18, 949, "Korean"},
      {"norwegian", "Norwegian (Bokmal)", 20, 1252, "Norwegian"},
      {"serbian cyrillic", "Serbian", 26, 1251, "Serbian, Cyrillic"},
      {"croatian latin", "Croatian", 26, 1250, "Croatian, Latin"},
      {"azeri latin", "Azeri (Latin)", 44, 1254, "Azeri, Latin"},
      {"uzbek cyrillic", "Uzbek", 67, 1251, "Uzbek, Cyrillic"},
      {"other keeps everything", "English (United States)", 9, 1252, "English (United States)"},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildLanguageName(c.text, c.primary, c.codePage), c.expected) << c.name;
}

TEST(IvNaming, LocaleNames) {
  struct Case {
    const char* name;
    const char* language;
    const char* country;
    int codePage, sub, primary;
    const char* expected;
  } cases[] = {
      {"norwegian nynorsk", "Norwegian", "Norway", 1252, 2, 20, "Norwegian (Nynorsk)"},
      {"norwegian bokmal", "Norwegian", "Norway", 1252, 1, 20, "Norwegian (Bokmal)"},
      {"german austria", "German", "Austria", 1252, 3, 7, "German (Austria)"},
      {"no sub no country", "German", "Germany", 1252, 0, 7, "German"},
      {"chinese", "Chinese", "Taiwan", 950, 1, 4, "Chinese, Traditional (Taiwan)"},
      {"chinese other code page", "Chinese", "PRC", 1252, 2, 4, "Chinese, Simplified (PRC)"},
      {"chinese no code page", "Chinese", "PRC", 0, 2, 4, "Chinese (PRC)"},
      {"korean johab country", "Korean", "Korea", 949, 2, 18, "Korean (Johab)"},
      {"croatian sub 1 no suffix", "Croatian", "Croatia", 1250, 1, 26, "Croatian (Croatia)"},
      {"serbian cyrillic", "Serbian", "Serbia", 1251, 3, 26, "Serbian, Cyrillic (Serbia)"},
      {"serbian latin", "Serbian", "Serbia", 1250, 2, 26, "Serbian, Latin (Serbia)"},
      {"uzbek latin", "Uzbek", "Uzbekistan", 1254, 1, 67, "Uzbek, Latin (Uzbekistan)"},
      {"spanish", "Spanish - Traditional", "Spain", 1252, 1, 10, "Spanish (Spain)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BuildLocaleName(c.language, c.country, c.codePage, c.sub, c.primary), c.expected) << c.name;
}

TEST(IvNaming, TranslatedPiecesAreLookedUpOneByOne) {
  std::vector<AnsiString> asked;
  TIvNameTranslator tr = [&](const AnsiString& s) {
    asked.push_back(s);
    return "<" + s + ">";
  };
  EXPECT_EQ(BuildLocaleName("Serbian", "Serbia", 1251, 3, 26, tr), "<Serbian>, <Cyrillic> (<Serbia>)");
  EXPECT_EQ(asked, (std::vector<AnsiString>{"Serbian", "Cyrillic", "Serbia"}));
}

// --- Locales from the system -----------------------------------------------------------------

TEST_F(IvLocaleDatabase, FillLocaleFromSystemReadsEveryField) {
  TIvLocale l;
  ASSERT_TRUE(FillLocaleFromSystem(locale, 0x0407, l));
  EXPECT_EQ(l.primary, 7);
  EXPECT_EQ(l.sub, 1);
  EXPECT_EQ(l.codePage, 1252);
  EXPECT_EQ(l.englishLanguageName, "German");
  EXPECT_EQ(l.nativeCountryName, "Deutschland");
  EXPECT_EQ(l.abbreviatedLanguageName, "DEU");
  EXPECT_EQ(l.currencySymbol, "\x80");
  EXPECT_EQ(l.currencyFormat, 3);
  EXPECT_EQ(l.negativeCurrencyFormat, 8);
  EXPECT_EQ(l.currencyDigits, 2);
  EXPECT_EQ(l.thousandSeparator, '.');
  EXPECT_EQ(l.decimalSeparator, ',');
  EXPECT_EQ(l.dateSeparator, '.');
  EXPECT_EQ(l.listSeparator, ';');
  EXPECT_EQ(l.timeSeparator, ':');
  EXPECT_EQ(l.shortDateFormat, "dd.MM.yyyy");
  EXPECT_TRUE(l.timeLeadingZero);
  EXPECT_EQ(l.timeFormat, 1);
  EXPECT_EQ(l.firstWeekOfYear, 2);
  EXPECT_EQ(l.longMonthNames[2], "M\xE4rz");
  EXPECT_EQ(l.shortDayNames[0], "Mo");
  EXPECT_EQ(l.longDayNames[6], "Sonntag");
  EXPECT_TRUE(l.isoLanguage.empty());  // only the dictionary file gives these
}

TEST_F(IvLocaleDatabase, FillLocaleFromSystemUnknownLocaleLeavesItUntouched) {
  TIvLocale l;
  l.englishLanguageName = "kept";
  l.codePage = 77;
  EXPECT_FALSE(FillLocaleFromSystem(locale, 0x0436, l));
  EXPECT_EQ(l.englishLanguageName, "kept");
  EXPECT_EQ(l.codePage, 77);
}

TEST_F(IvLocaleDatabase, FillLocaleFromSystemWithoutCodePageWritesOnlyTheCodePage) {
  locale.failingTypes.insert(LOCALE_IDEFAULTANSICODEPAGE_);
  TIvLocale l;
  l.codePage = 77;
  EXPECT_FALSE(FillLocaleFromSystem(locale, 0x0407, l));
  EXPECT_EQ(l.codePage, 0);
  EXPECT_TRUE(l.englishLanguageName.empty());
}

TEST_F(IvLocaleDatabase, FillLocaleFromSystemFailedQueriesGiveDefaults) {
  for (LCTYPE t : {LOCALE_ICURRENCY_, LOCALE_STHOUSAND_, LOCALE_SLIST_, LOCALE_SMONTHNAME1_, LOCALE_ITLZERO_})
    locale.failingTypes.insert(t);
  TIvLocale l;
  ASSERT_TRUE(FillLocaleFromSystem(locale, 0x0407, l));
  EXPECT_EQ(l.currencyFormat, 0);
  EXPECT_EQ(l.thousandSeparator, ' ');
  EXPECT_EQ(l.listSeparator, ',');
  EXPECT_EQ(l.longMonthNames[0], "");
  EXPECT_FALSE(l.timeLeadingZero);
  locale.SetInfo(0x0407, LOCALE_SDECIMAL_, "");
  ASSERT_TRUE(FillLocaleFromSystem(locale, 0x0407, l));
  EXPECT_EQ(l.decimalSeparator, ' ');
}

TEST_F(IvLocaleDatabase, FillLocaleFromSystemRejectsANonNumericByteField) {
  locale.SetInfo(0x0407, LOCALE_ICURRDIGITS_, "two");
  TIvLocale l;
  EXPECT_THROW(FillLocaleFromSystem(locale, 0x0407, l), EConvertError);
}

TEST_F(IvLocaleDatabase, LocaleCompleteTakesTheCharsetFromTheFontSignature) {
  TIvLocale greek;
  greek.primary = 8;
  greek.sub = 1;
  greek.Complete(locale);
  EXPECT_EQ(greek.codePage, 1253);
  EXPECT_EQ(greek.charset, 161);
  EXPECT_EQ(greek.englishCountryName, "Greece");

  TIvLocale arabic;
  arabic.primary = 1;
  arabic.sub = 1;
  arabic.Complete(locale);
  EXPECT_EQ(arabic.charset, 178);

  locale.failingTypes.insert(LOCALE_FONTSIGNATURE_);
  TIvLocale noSignature;
  noSignature.primary = 8;
  noSignature.sub = 1;
  noSignature.Complete(locale);
  EXPECT_EQ(noSignature.charset, 0);

  TIvLocale given;
  given.primary = 8;
  given.sub = 1;
  given.charset = 5;
  given.codePage = 1250;
  given.Complete(locale);
  EXPECT_EQ(given.charset, 5);
  EXPECT_EQ(given.codePage, 1250);
}

TEST_F(IvLocaleDatabase, LocaleGetName) {
  TIvLocale l;
  ASSERT_TRUE(FillLocaleFromSystem(locale, 0x0C07, l));
  EXPECT_EQ(l.GetName(ivnkEnglish), "German (Austria)");
  EXPECT_EQ(l.GetName(ivnkNative), "Deutsch (\xD6sterreich)");
  // Without any dictionary the translated kind is the English one.
  EXPECT_EQ(l.GetName(ivnkTranslated), "German (Austria)");
  auto copy = l.Clone();
  EXPECT_EQ(copy->longMonthNames[0], "J\xE4nner");
  EXPECT_EQ(copy->GetName(ivnkEnglish), "German (Austria)");
}

// --- Support checks ------------------------------------------------------------------------

TEST_F(IvLocaleDatabase, SupportChecks) {
  locale.acp = 1252;
  struct Case {
    const char* name;
    int primary, codePage;
    uint8_t flags;
    bool bySystem, byCodePage;
  } cases[] = {
      {"english on any code page", 9, 1361, 0, true, true},
      {"indonesian", 33, 1361, 0, true, true},
      {"exempt flag", 25, 1361, ivlfNoCodePageCheck, true, true},
      {"russian, supported but not the ANSI code page", 25, 1251, 0, true, false},
      {"french on the ANSI code page", 12, 1252, 0, true, true},
      {"johab, not supported", 18, 1361, 0, false, false},
      {"code page 0", 12, 0, 0, true, true},
  };
  for (const Case& c : cases) {
    TIvLanguage l;
    l.primary = c.primary;
    l.SetCodePage(c.codePage);
    l.flags = c.flags;
    EXPECT_EQ(LanguageSupportedBySystem(locale, l), c.bySystem) << c.name;
    EXPECT_EQ(LanguageSupportedByCodePage(locale, l), c.byCodePage) << c.name;
  }
  TIvLocale ru;
  ru.primary = 25;
  ru.codePage = 1251;
  EXPECT_TRUE(LocaleSupportedBySystem(locale, ru));
  EXPECT_FALSE(LocaleSupportedByCodePage(locale, ru));
  TIvLocale en;
  en.primary = 9;
  en.codePage = 1361;
  EXPECT_FALSE(LocaleSupportedBySystem(locale, en));  // the system check looks at the code page only
  EXPECT_TRUE(LocaleSupportedByCodePage(locale, en));
}

}  // namespace
}  // namespace vsi
