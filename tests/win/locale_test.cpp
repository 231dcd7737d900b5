// The real locale database and conversions (run under Wine), and the binary dictionary reading
// a real file through them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "framework/context.h"
#include "i18n/binary_dictionary.h"
#include "i18n/language.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"
#include "real_platform.h"

namespace vsi {
namespace {

class Win32LocaleTest : public ::testing::Test {
 protected:
  Win32Locale locale;
};

TEST_F(Win32LocaleTest, AnsiCodePages) {
  EXPECT_EQ(locale.GetACP(), 1252u);
  EXPECT_EQ(locale.GetOEMCP(), 437u);
}

TEST_F(Win32LocaleTest, EnglishLocaleInformation) {
  std::string s;
  ASSERT_TRUE(locale.GetLocaleInfo(0x0409, LOCALE_SMONTHNAME1_, s));
  EXPECT_EQ(s, "January");
  ASSERT_TRUE(locale.GetLocaleInfo(0x0409, LOCALE_SMONTHNAME1_ + 11, s));
  EXPECT_EQ(s, "December");
  ASSERT_TRUE(locale.GetLocaleInfo(0x0409, LOCALE_SABBREVDAYNAME1_, s));
  EXPECT_EQ(s, "Mon");
  ASSERT_TRUE(locale.GetLocaleInfo(0x0409, LOCALE_IDEFAULTANSICODEPAGE_, s));
  EXPECT_EQ(s, "1252");
  ASSERT_TRUE(locale.GetLocaleInfo(0x0409, LOCALE_SENGLANGUAGE_, s));
  EXPECT_EQ(s, "English");
  ASSERT_TRUE(locale.GetLocaleInfo(0x040C, LOCALE_SMONTHNAME1_ + 1, s));
  EXPECT_EQ(s, "f\xE9vrier");  // Windows-1252 text from the A function
}

TEST_F(Win32LocaleTest, FontSignatureIsThirtyTwoBytes) {
  std::string sig;
  ASSERT_TRUE(locale.GetLocaleInfo(0x0409, LOCALE_FONTSIGNATURE_, sig));
  ASSERT_EQ(sig.size(), 32u);
  EXPECT_TRUE(static_cast<unsigned char>(sig[16]) & 1);  // Latin 1 among the default code pages
  TIvLocale greek;
  greek.primary = 8;
  greek.sub = 1;
  greek.Complete(locale);
  EXPECT_EQ(greek.codePage, 1253);
  EXPECT_EQ(greek.charset, 161);
}

TEST_F(Win32LocaleTest, UnknownLocaleOrItemFails) {
  std::string s = "kept";
  EXPECT_FALSE(locale.GetLocaleInfo(0x0409, 0x7FFF, s));
  EXPECT_EQ(s, "kept");
  TIvLocale l;
  EXPECT_FALSE(FillLocaleFromSystem(locale, 0x0436 | 0x3F << 10, l));
}

TEST_F(Win32LocaleTest, FillLocaleFromSystemReadsFrench) {
  TIvLocale l;
  ASSERT_TRUE(FillLocaleFromSystem(locale, 0x040C, l));
  EXPECT_EQ(l.codePage, 1252);
  EXPECT_EQ(l.decimalSeparator, ',');
  EXPECT_EQ(l.englishLanguageName, "French");
  EXPECT_EQ(l.longMonthNames[0], "janvier");
  EXPECT_EQ(l.GetName(ivnkEnglish), "French (France)");
}

TEST_F(Win32LocaleTest, Windows1252RoundTrip) {
  AnsiString all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  WideString wide = locale.MultiByteToWide(1252, all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
  EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
  EXPECT_EQ(locale.WideToMultiByte(1252, wide), all);
  EXPECT_EQ(locale.WideToMultiByte(65001, u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(locale.MultiByteToWide(1251, "\xC4"), u"\u0414");
  EXPECT_EQ(locale.MultiByteToWide(1252, ""), u"");
}

TEST_F(Win32LocaleTest, OemAndCaseConversions) {
  EXPECT_EQ(locale.OemToChar("\x82\xB3"), "\xE9\xA6");
  EXPECT_EQ(locale.CharUpper("caf\xE9"), "CAF\xC9");
  EXPECT_EQ(locale.CharLower("CAF\xC9"), "caf\xE9");
}

TEST_F(Win32LocaleTest, Enumerations) {
  auto pages = locale.EnumSystemCodePages(false);
  EXPECT_NE(std::find(pages.begin(), pages.end(), 1252u), pages.end());
  EXPECT_TRUE(CodePageSupported(locale, 1252));
  auto locales = locale.EnumSystemLocales(false);
  EXPECT_NE(std::find(locales.begin(), locales.end(), 0x0409u), locales.end());
  EXPECT_TRUE(locale.IsValidLocale(0x0407));
  EXPECT_NE(locale.VerLanguageName(0x0409).find("English"), std::string::npos);
}

TEST_F(Win32LocaleTest, ThreadLocaleCanBeSwitched) {
  LCID before = locale.GetThreadLocale();
  ASSERT_TRUE(locale.SetThreadLocale(0x040C));
  EXPECT_EQ(locale.GetThreadLocale(), 0x040Cu);
  locale.SetThreadLocale(before);
}

// The dictionary of the main window against a real file beside the current directory.
TEST(Win32BinaryDictionary, ReadsARealFile) {
  RealPlatform<> real;
  Win32Locale& locale = real.locale;
  AppContext& ctx = real.ctx;
  TComponent& root = real.root;

  MldContent content;
  MldLanguage en, de;
  en.primary = 9;
  en.defaultSubLanguage = 1;
  en.subLanguages = "1";
  en.codePage = 1252;
  de.primary = 7;
  de.defaultSubLanguage = 1;
  de.codePage = 1252;
  content.languages = {en, de};
  content.translations = {{"Drive", "", "", {"Laufwerk"}}};
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  SetCurrentDirectoryA(dir);
  std::string path = std::string(dir) + "vsi_locale_test.mld";
  {
    Bytes data = WriteMld(content, {}, MakeMldCodec(locale));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
  auto* dict = new TIvBinaryDictionary(&root);
  dict->SetFileName("vsi_locale_test.mld");
  dict->SetLanguage(0);
  ASSERT_TRUE(dict->CanOpen());
  dict->Open();
  dict->SetLanguage(1);
  EXPECT_EQ(TranslateText(dict, "Drive"), "Laufwerk");
  EXPECT_EQ(ctx.format().longMonthNames[2], "M\xE4rz");
  EXPECT_EQ(locale.GetThreadLocale(), 0x0407u);
  locale.SetThreadLocale(0x0409);
  delete dict;
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vsi
