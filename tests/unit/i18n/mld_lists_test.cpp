#include "i18n/mld_lists.h"

#include <gtest/gtest.h>

#include "i18n_test_util.h"

namespace vsi {
namespace {

// Short names for the description values the lists are made of.
constexpr auto I = testing_i18n::DescInt;
constexpr auto S = testing_i18n::DescStr;
constexpr auto L = testing_i18n::DescList;

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMldError& e) {
    return e.what();
  }
  return "no error";
}

TEST(MldLists, LanguagesOfBothVersions) {
  auto v1 = DecodeLanguageList(
      L({I(1), I(1), L({I(12), S("1,2"), I(1), I(1252), S("French"), S("Fran\xE7" "ais"), S("Tahoma"), I(8), I(7)})}));
  ASSERT_EQ(v1.size(), 1u);
  EXPECT_EQ(v1[0].primary, 12);
  EXPECT_EQ(v1[0].subLanguages, "1,2");
  EXPECT_EQ(v1[0].codePage, 1252);
  EXPECT_EQ(v1[0].nativeName, "Fran\xE7" "ais");
  EXPECT_EQ(v1[0].fontSize, 8);
  EXPECT_EQ(v1[0].flags, 3);  // bits 0 and 1 only
  auto v2 = DecodeLanguageList(
      L({I(2), I(1), L({I(7), S(""), I(1), I(0), I(1252), S("German"), S("Deutsch"), S(""), I(0), I(0)})}));
  EXPECT_EQ(v2[0].englishName, "German");
  EXPECT_EQ(v2[0].codePage, 1252);
}

TEST(MldLists, TranslationsWithAndWithoutLayout) {
  auto v1 = DecodeTranslationList(L({I(1), I(1), L({S("Line#L2"), S("Ligne#L2"), S("Zeile##2")})}), 3);
  EXPECT_EQ(v1.layout, 0);
  ASSERT_EQ(v1.translations.size(), 1u);
  EXPECT_EQ(v1.translations[0].original, "Line\n2");
  EXPECT_EQ(v1.translations[0].texts, (std::vector<AnsiString>{"Ligne\n2", "Zeile#2"}));
  auto v2 = DecodeTranslationList(L({I(2), I(1), I(1), L({S("Name"), S("TMain"), S("Label1"), S("Nom")})}), 2);
  EXPECT_EQ(v2.layout, 1);
  EXPECT_EQ(v2.translations[0].context1, "TMain");
  EXPECT_EQ(v2.translations[0].context2, "Label1");
  EXPECT_EQ(v2.translations[0].texts, std::vector<AnsiString>{"Nom"});
}

TEST(MldLists, Locales) {
  std::vector<DescValue> rec = {I(12), I(4), I(0), I(1252), I(0), S("French"), S("Switzerland"), S("fran\xE7" "ais"),
                                S("Suisse"), S("FRS"), S("Suisse"), I(0), S("CHF"), I(2), I(2), I(2), S("'"),
                                I('.'), S("."), S("dd.MM.yy"), S("d. MMMM yyyy"), S(":"), S(""), S(""), I(1), I(1),
                                I(0), I(1), I(0), I(0), I(0)};
  std::vector<DescValue> months, days;
  for (int i = 0; i < 12; ++i) months.push_back(S("m"));
  for (int i = 0; i < 7; ++i) days.push_back(S("d"));
  for (auto* names : {&months, &months, &days, &days}) rec.push_back(L(*names));
  auto out = DecodeLocaleList(L({I(2), I(1), L(rec)}));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].sub, 4);
  EXPECT_EQ(out[0].currencySymbol, "CHF");
  EXPECT_EQ(out[0].thousandSeparator, "'");
  EXPECT_EQ(out[0].decimalSeparator, ".");
  EXPECT_TRUE(out[0].timeLeadingZero);
  EXPECT_EQ(out[0].longDayNames[6], "d");
  // Version 1 has no charset: the same record no longer fits its shape.
  EXPECT_NE(ErrorOf([&] { DecodeLocaleList(L({I(1), I(1), L(rec)})); }), "no error");
  rec.erase(rec.begin() + 2);
  EXPECT_EQ(DecodeLocaleList(L({I(1), I(1), L(rec)}))[0].codePage, 1252);
}

TEST(MldLists, DamagedListsAreReported) {
  EXPECT_EQ(ErrorOf([] { DecodeLanguageList(L({I(3), I(0)})); }), "Unknown language data version: 3");
  EXPECT_EQ(ErrorOf([] { DecodeTranslationList(L({I(9), I(0), I(0)}), 2); }), "Unknown translation data version: 9");
  EXPECT_EQ(ErrorOf([] { DecodeLocaleList(L({I(5), I(0)})); }), "Unknown locale data version: 5");
  EXPECT_NE(ErrorOf([] { DecodeLanguageList(L({I(1), I(4)})); }).find("announces 4 records but holds 0"),
            std::string::npos);
  EXPECT_NE(ErrorOf([] { DecodeLanguageList(L({I(1), I(1), L({I(12), S("1")})})); }).find("ends too early"),
            std::string::npos);
  EXPECT_NE(ErrorOf([] { DecodeLanguageList(I(1)); }).find("is not a list"), std::string::npos);
  EXPECT_NE(ErrorOf([] { DecodeTranslationList(L({I(1), I(1), L({I(5)})}), 1); }).find("has no text"),
            std::string::npos);
}

}  // namespace
}  // namespace vsi
