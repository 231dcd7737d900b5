#include "fakes/fake_locale.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/code_pages.h"
#include "framework/format_settings.h"

namespace vsi::fake {
namespace {

TEST(FakeLocaleTable, MainLocalesOfTheEightLanguages) {
  FakeLocale locale;
  struct Case {
    LCID lcid;
    const char* language;
    const char* january;
    const char* monday;
  } cases[] = {
      {0x0409, "English", "January", "Monday"},    {0x040C, "French", "janvier", "lundi"},
      {0x0407, "German", "Januar", "Montag"},      {0x0410, "Italian", "gennaio", "luned\xEC"},
      {0x040A, "Spanish", "enero", "lunes"},       {0x0C0A, "Spanish", "enero", "lunes"},
      {0x041D, "Swedish", "januari", "m\xE5ndag"}, {0x0816, "Portuguese", "janeiro", "segunda-feira"},
      {0x0416, "Portuguese", "janeiro", "segunda-feira"}, {0x0413, "Dutch", "januari", "maandag"},
  };
  for (const Case& c : cases) {
    std::string s;
    ASSERT_TRUE(locale.GetLocaleInfo(c.lcid, LOCALE_SENGLANGUAGE_, s)) << c.lcid;
    EXPECT_EQ(s, c.language);
    ASSERT_TRUE(locale.GetLocaleInfo(c.lcid, LOCALE_IDEFAULTANSICODEPAGE_, s));
    EXPECT_EQ(s, "1252");
    ASSERT_TRUE(locale.GetLocaleInfo(c.lcid, LOCALE_SMONTHNAME1_, s));
    EXPECT_EQ(s, c.january);
    ASSERT_TRUE(locale.GetLocaleInfo(c.lcid, LOCALE_SDAYNAME1_, s));
    EXPECT_EQ(s, c.monday);
    for (int i = 0; i < 12; ++i) {
      ASSERT_TRUE(locale.GetLocaleInfo(c.lcid, LOCALE_SABBREVMONTHNAME1_ + i, s));
      EXPECT_FALSE(s.empty());
    }
    ASSERT_TRUE(locale.GetLocaleInfo(c.lcid, LOCALE_FONTSIGNATURE_, s));
    EXPECT_EQ(s.size(), 32u);
  }
}

TEST(FakeLocaleTable, OtherScriptsCarryTheirCodePages) {
  FakeLocale locale;
  struct Case {
    LCID lcid;
    const char* codePage;
  } cases[] = {{0x0411, "932"}, {0x0401, "1256"}, {0x0419, "1251"}, {0x0408, "1253"}};
  for (const Case& c : cases) {
    std::string s;
    ASSERT_TRUE(locale.GetLocaleInfo(c.lcid, LOCALE_IDEFAULTANSICODEPAGE_, s));
    EXPECT_EQ(s, c.codePage);
  }
  std::string month;
  ASSERT_TRUE(locale.GetLocaleInfo(0x0419, LOCALE_SMONTHNAME1_, month));
  EXPECT_EQ(locale.MultiByteToWide(1251, month), u"\u042F\u043D\u0432\u0430\u0440\u044C");
}

TEST(FakeLocaleTable, FormatSettingsFromTheTable) {
  FakeLocale locale;
  TFormatSettings fr = TFormatSettings::FromLocale(locale, 0x040C);
  EXPECT_EQ(fr.decimalSeparator, ',');
  EXPECT_EQ(fr.thousandSeparator, '\xA0');
  EXPECT_EQ(fr.longMonthNames[1], "f\xE9vrier");
  EXPECT_EQ(fr.longDayNames[0], "dimanche");
  EXPECT_EQ(fr.currencyString, "\x80");
  TFormatSettings us = TFormatSettings::FromLocale(locale, 0x0400);  // the user's default
  EXPECT_EQ(us.shortDateFormat, "M/d/yyyy");
  EXPECT_EQ(us.timeAMString, "AM");
}

TEST(FakeLocaleDefaults, DefaultIdentifiersResolve) {
  FakeLocale locale;
  locale.userDefaultLcid = 0x0407;
  locale.systemDefaultLcid = 0x040C;
  std::string s;
  ASSERT_TRUE(locale.GetLocaleInfo(0x0400, LOCALE_SENGLANGUAGE_, s));
  EXPECT_EQ(s, "German");
  ASSERT_TRUE(locale.GetLocaleInfo(0x0800, LOCALE_SENGLANGUAGE_, s));
  EXPECT_EQ(s, "French");
  ASSERT_TRUE(locale.GetLocaleInfo(0, LOCALE_SENGLANGUAGE_, s));
  EXPECT_EQ(s, "German");
  EXPECT_FALSE(locale.GetLocaleInfo(0x0436, LOCALE_SENGLANGUAGE_, s));
}

TEST(FakeLocaleConversions, Windows1252RoundTripAndOthers) {
  FakeLocale locale;
  AnsiString all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  WideString wide = locale.MultiByteToWide(CP_ACP_, all);
  EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
  EXPECT_EQ(wide[0x9F - 1], u'\u0178');
  EXPECT_EQ(wide[0x81 - 1], u'\u0081');  // undefined bytes keep their value
  EXPECT_EQ(locale.WideToMultiByte(1252, wide), all);
  EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
  EXPECT_EQ(locale.WideToMultiByte(1252, u"\u0414x"), "?x");
  EXPECT_EQ(locale.WideToMultiByte(1251, u"\u0414"), "\xC4");
  EXPECT_EQ(locale.WideToMultiByte(65001, u"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(locale.MultiByteToWide(65001, "\xE2\x82\xAC"), u"\u20AC");
  EXPECT_EQ(locale.MultiByteToWide(932, "a\x93"), u"a\uFFFD");  // no table here: ASCII only
  locale.acp = 1251;
  EXPECT_EQ(locale.MultiByteToWide(CP_ACP_, "\xC4"), u"\u0414");
}

// Code page 65001 as MultiByteToWideChar / WideCharToMultiByte without flags answer it: what
// is not UTF-8 (overlong, surrogate, past U+10FFFF, cut short) and half a surrogate pair each
// become U+FFFD; never another character.
TEST(FakeLocaleConversions, BadUtf8IsReplacedNotDecoded) {
  FakeLocale locale;
  const std::u16string R = u"\uFFFD";
  EXPECT_EQ(locale.MultiByteToWide(65001, "<\xC0\xAF>"), u"<" + R + R + u">");  // an overlong '/'
  EXPECT_EQ(locale.MultiByteToWide(65001, "\xED\xA0\x80"), R + R + R);
  EXPECT_EQ(locale.MultiByteToWide(65001, "\xF4\x90\x80\x80"), R + R + R + R);
  EXPECT_EQ(locale.MultiByteToWide(65001, "a\xE2\x82"), u"a" + R + R);
  EXPECT_EQ(locale.WideToMultiByte(65001, std::u16string{u'a', char16_t(0xD800), u'b'}), "a\xEF\xBF\xBD" "b");
}

TEST(FakeLocaleConversions, OemAndCase) {
  FakeLocale locale;
  EXPECT_EQ(locale.OemToChar("A\x82\xB3\x8E"), "A\xE9\xA6\xC4");
  EXPECT_EQ(locale.MultiByteToWide(CP_OEMCP_, "\x82"), u"\u00E9");
  EXPECT_EQ(locale.CharUpper("caf\xE9 \x9A\xFF\xF7"), "CAF\xC9 \x8A\x9F\xF7");
  EXPECT_EQ(locale.CharLower("CAF\xC9 \x8A\x9F\xD7"), "caf\xE9 \x9A\xFF\xD7");
}

TEST(FakeLocaleSwitches, FailuresAndObservations) {
  FakeLocale locale;
  std::string s = "kept";
  locale.failingTypes.insert(LOCALE_SDECIMAL_);
  EXPECT_FALSE(locale.GetLocaleInfo(0x0409, LOCALE_SDECIMAL_, s));
  EXPECT_EQ(s, "kept");
  EXPECT_TRUE(locale.GetLocaleInfo(0x0409, LOCALE_STHOUSAND_, s));
  locale.localeInfoFails = true;
  EXPECT_FALSE(locale.GetLocaleInfo(0x0409, LOCALE_STHOUSAND_, s));
  EXPECT_EQ(locale.localeInfoQueries, 3);

  EXPECT_TRUE(locale.SetThreadLocale(0x040C));
  EXPECT_EQ(locale.GetThreadLocale(), 0x040Cu);
  EXPECT_FALSE(locale.SetThreadLocale(0x0436));  // unknown locale
  locale.setThreadLocaleFails = true;
  EXPECT_FALSE(locale.SetThreadLocale(0x0407));
  EXPECT_EQ(locale.GetThreadLocale(), 0x040Cu);
  EXPECT_EQ(locale.setThreadLocaleCalls, 3);

  auto pages = locale.EnumSystemCodePages(false);
  EXPECT_NE(std::find(pages.begin(), pages.end(), 1256u), pages.end());
  auto installed = locale.EnumSystemCodePages(true);
  EXPECT_EQ(std::find(installed.begin(), installed.end(), 932u), installed.end());
  locale.enumCodePagesFails = true;
  EXPECT_TRUE(locale.EnumSystemCodePages(false).empty());

  locale.extraSupportedLocales = {0x0436};
  auto all = locale.EnumSystemLocales(false);
  EXPECT_NE(std::find(all.begin(), all.end(), 0x0436u), all.end());
  auto inst = locale.EnumSystemLocales(true);
  EXPECT_EQ(std::find(inst.begin(), inst.end(), 0x0436u), inst.end());
  EXPECT_TRUE(locale.IsValidLocale(0x0436));
  locale.enumLocalesFails = true;
  EXPECT_TRUE(locale.EnumSystemLocales(false).empty());
}

TEST(FakeLocaleArranging, CopyRemoveAndNames) {
  FakeLocale locale;
  locale.CopyLocale(0x0407, 0x1407);
  std::string s;
  ASSERT_TRUE(locale.GetLocaleInfo(0x1407, LOCALE_SMONTHNAME1_, s));
  EXPECT_EQ(s, "Januar");
  locale.RemoveInfo(0x1407, LOCALE_SMONTHNAME1_);
  EXPECT_FALSE(locale.GetLocaleInfo(0x1407, LOCALE_SMONTHNAME1_, s));
  locale.RemoveLocale(0x1407);
  EXPECT_FALSE(locale.IsValidLocale(0x1407));
  EXPECT_EQ(locale.VerLanguageName(0x0407), "German (Germany)");
  EXPECT_EQ(locale.VerLanguageName(0x0436), "Language Neutral");
}

}  // namespace
}  // namespace vsi::fake
