#include "i18n/mld_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "framework/code_pages.h"

namespace vsi {
namespace {

MldLocale SampleLocale(int primary, int sub, const char* name) {
  MldLocale l;
  l.primary = primary;
  l.isoLanguage = "fr";
  l.sub = sub;
  l.isoCountry = "BE";
  l.charset = 0;
  l.codePage = 1252;
  l.flag = 1;
  l.englishLanguageName = name;
  l.englishCountryName = "Belgium";
  l.nativeLanguageName = "fran\xE7" "ais";
  l.nativeCountryName = "Belgique";
  l.abbreviatedLanguageName = "FRB";
  l.countryName = "Belgique";
  l.measurementSystem = 0;
  l.currencySymbol = "\x80";  // the euro sign in Windows-1252
  l.currencyFormat = 3;
  l.negativeCurrencyFormat = 8;
  l.currencyDigits = 2;
  l.thousandSeparator = '.';
  l.decimalSeparator = ',';
  l.dateSeparator = '/';
  l.shortDateFormat = "dd/MM/yy";
  l.longDateFormat = "dddd d MMMM yyyy";
  l.timeSeparator = ':';
  l.amDesignator = "";
  l.pmDesignator = "";
  l.timeLeadingZero = true;
  l.timeFormat = 1;
  l.timeMarkerPosition = 0;
  l.calendarType = 1;
  l.optionalCalendar = 0;
  l.firstDayOfWeek = 0;
  l.firstWeekOfYear = 2;
  const char* months[12] = {"janvier", "f\xE9vrier", "mars",      "avril",   "mai",      "juin",
                            "juillet", "ao\xFBt",    "septembre", "octobre", "novembre", "d\xE9" "cembre"};
  const char* days[7] = {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"};
  for (int i = 0; i < 12; ++i) {
    l.longMonthNames[i] = months[i];
    l.shortMonthNames[i] = std::string(months[i]).substr(0, 4);
  }
  for (int i = 0; i < 7; ++i) {
    l.longDayNames[i] = days[i];
    l.shortDayNames[i] = std::string(days[i]).substr(0, 3) + ".";
  }
  return l;
}

MldLanguage SampleLanguage(int primary, int sub, const char* iso, const char* country, const char* english,
                           const char* native) {
  MldLanguage l;
  l.primary = primary;
  l.isoLanguage = iso;
  l.defaultSubLanguage = sub;
  l.isoCountry = country;
  l.subLanguages = sub ? std::to_string(sub) : "";
  l.variants = "std,alt";
  l.charset = 0;
  l.codePage = 1252;
  l.flags = 1;
  l.englishName = english;
  l.nativeName = native;
  l.fontName = "Tahoma";
  l.fontSize = 8;
  return l;
}

// Three languages, two custom locales and texts that need Windows-1252 beyond ASCII.
MldContent Sample(uint8_t layout) {
  MldContent c;
  c.layout = layout;
  c.languages = {SampleLanguage(9, 1, "en", "US", "English", "English"),
                 SampleLanguage(12, 1, "fr", "FR", "French", "Fran\xE7" "ais"),
                 SampleLanguage(7, 1, "de", "DE", "German", "Deutsch")};
  c.locales = {SampleLocale(12, 2, "French"), SampleLocale(12, 4, "French (Swiss)")};
  c.translations = {
      {"Free Space", "TMain", "Label6", {"Espace libre", "Freier Speicher"}},
      {"Previous Year", "TMain", "", {"Ann\xE9" "e pr\xE9" "c\xE9" "dente", ""}},
      {"Only German", "", "SpeedButton1", {"", "Nur Deutsch \x80"}},
      {"Nothing", "TMain", "Memo1", {"", ""}},
  };
  if (layout == 0 || layout == 2)
    for (auto& t : c.translations) t.context1.clear();
  if (layout == 0 || layout == 3)
    for (auto& t : c.translations) t.context2.clear();
  return c;
}

// What a reader of `version` gives back of `content`: fields a version lacks are empty.
MldContent AsReadIn(MldContent c, int version) {
  for (auto& l : c.languages) {
    if (version < 2) {
      l.isoLanguage.clear();
      l.isoCountry.clear();
      l.variants.clear();
    }
    if (version < 3) l.charset = 0;
  }
  for (auto& l : c.locales) {
    if (version < 2) {
      l.isoLanguage.clear();
      l.isoCountry.clear();
    }
    if (version < 3) l.charset = 0;
  }
  return c;
}

struct Variant {
  const char* name;
  MldWriteOptions options;
};
const Variant kVariants[] = {
    {"v1 little 8-bit", {1, false, false}},  {"v1 big 8-bit", {1, true, false}},
    {"v1 little UTF-16", {1, false, true}},  {"v2 little 8-bit", {2, false, false}},
    {"v2 big UTF-16", {2, true, true}},      {"v3 little 8-bit", {3, false, false}},
    {"v3 big 8-bit", {3, true, false}},      {"v3 little UTF-16", {3, false, true}},
    {"v3 big UTF-16", {3, true, true}},      {"v4 read as v3", {4, false, false}},
};

MldFile Open(const Bytes& b) { return MldFile(b, "test.mld"); }

TEST(MldFile, EveryVersionByteOrderAndWidthGivesTheSameContent) {
  for (uint8_t layout : {0, 1, 2, 3}) {
    const MldContent content = Sample(layout);
    for (const Variant& v : kVariants) {
      SCOPED_TRACE(std::string(v.name) + " layout " + std::to_string(layout));
      const Bytes bytes = WriteMld(content, v.options);
      MldFile f = Open(bytes);
      EXPECT_EQ(f.Header().version, v.options.version);
      EXPECT_EQ(f.Header().bigEndian, v.options.bigEndian);
      EXPECT_EQ(f.Header().ansi, !v.options.utf16);
      EXPECT_EQ(f.ContextMode(), layout != 0);
      EXPECT_EQ(f.ReadAll(), AsReadIn(content, v.options.version));
    }
  }
}

TEST(MldFile, HeaderIntegersFollowTheByteOrderByte) {
  Bytes little = WriteMld(Sample(0), {3, false, false});
  Bytes big = WriteMld(Sample(0), {3, true, false});
  EXPECT_EQ(little[4], 1);
  EXPECT_EQ(big[4], 0);
  EXPECT_EQ(little[12], 3);  // language count, low byte first
  EXPECT_EQ(big[13], 3);
  // Any non-zero byte order means little-endian.
  little[4] = 0x77;
  EXPECT_EQ(Open(little).LanguageCount(), 3);
}

TEST(MldFile, VersionOneTakesTheTextFlagFromOffsetSeven) {
  Bytes b = WriteMld(Sample(1), {1, false, false});
  b[5] = 0;     // garbage where later versions keep the flag
  b[30] = 0xAB;  // reserved words are cleared in version 1
  MldFile f = Open(b);
  EXPECT_TRUE(f.Header().ansi);
  EXPECT_EQ(f.Header().reserved30, 0);
  EXPECT_EQ(f.ReadAll(), AsReadIn(Sample(1), 1));
  // From version 2 on, offset 5 holds the flag and offset 7 is not consulted.
  b[3] = 2;
  EXPECT_FALSE(Open(b).Header().ansi);
}

TEST(MldFile, IsoCodesAreEmptyForNeutralNumbersOrLeadingNul) {
  MldContent c = Sample(0);
  c.languages[0].primary = 0;             // neutral: its ISO language code is dropped
  c.languages[1].defaultSubLanguage = 0;  // no sublanguage: its ISO country code is dropped
  c.languages[2].isoLanguage = std::string("\0x", 2);
  MldContent got = Open(WriteMld(c, {3, false, false})).ReadAll();
  EXPECT_EQ(got.languages[0].isoLanguage, "");
  EXPECT_EQ(got.languages[0].isoCountry, "US");
  EXPECT_EQ(got.languages[1].isoCountry, "");
  EXPECT_EQ(got.languages[2].isoLanguage, "");
}

TEST(MldFile, FlagsKeepTheirLowTwoBits) {
  MldContent c = Sample(0);
  c.languages[1].flags = 0xFE;
  EXPECT_EQ(Open(WriteMld(c, {3, false, false})).Language(1).flags, 2);
}

// Version 3 records carry their size: surplus bytes are skipped, a short size is ignored.
TEST(MldFile, RecordSizeSkipsSurplusAndIgnoresShortSizes) {
  MldContent c = Sample(0);
  Bytes b = WriteMld(c, {3, false, false});
  const uint32_t langOffset = b[14] | b[15] << 8;
  const uint16_t firstSize = b[langOffset] | b[langOffset + 1] << 8;
  // Grow the first language record by five bytes of junk.
  b.insert(b.begin() + langOffset + firstSize, {0xDE, 0xAD, 0xBE, 0xEF, 0x00});
  const uint16_t grown = firstSize + 5;
  b[langOffset] = grown & 0xFF;
  b[langOffset + 1] = grown >> 8;
  for (size_t at : {20u, 26u}) {  // the sections after it moved
    uint32_t off = b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
    off += 5;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(off >> (8 * i));
  }
  EXPECT_EQ(Open(b).ReadAll(), c);
  // A size smaller than the known fields is ignored.
  b[langOffset] = 3;
  b[langOffset + 1] = 0;
  b.erase(b.begin() + langOffset + firstSize, b.begin() + langOffset + grown);
  for (size_t at : {20u, 26u}) {
    uint32_t off = b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
    off -= 5;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(off >> (8 * i));
  }
  EXPECT_EQ(Open(b).ReadAll(), c);
}

TEST(MldFile, LoadTranslationsKeepsTheSelectedThenTheFallbackColumn) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.name);
    MldFile f = Open(WriteMld(Sample(1), v.options));
    std::vector<MldEntry> french;
    f.LoadTranslations(1, 2, 1252, french);  // French, German as fallback
    ASSERT_EQ(french.size(), 3u);
    EXPECT_EQ(french[0].translation, "Espace libre");
    EXPECT_EQ(french[0].source, 0);
    EXPECT_EQ(french[0].context1, "TMain");
    EXPECT_EQ(french[0].context2, "Label6");
    EXPECT_EQ(french[1].translation, "Ann\xE9" "e pr\xE9" "c\xE9" "dente");
    EXPECT_EQ(french[2].original, "Only German");
    EXPECT_EQ(french[2].translation, "Nur Deutsch \x80");
    EXPECT_EQ(french[2].source, 1);  // only the fallback column had it

    std::vector<MldEntry> german;
    f.LoadTranslations(2, 0, 1252, german);
    ASSERT_EQ(german.size(), 2u);
    EXPECT_EQ(german[1].translation, "Nur Deutsch \x80");
    EXPECT_EQ(german[1].source, 0);

    // Language 0 has no column: with fallback 0 nothing is kept.
    std::vector<MldEntry> none;
    f.LoadTranslations(0, 0, 1252, none);
    EXPECT_TRUE(none.empty());
  }
}

TEST(MldFile, Utf16TextsAreConvertedWithTheirFieldsCodePage) {
  // The codec marks each conversion with its code page; ASCII texts need none.
  MldCodec codec;
  codec.toAnsi = [](uint32_t cp, const WideString& w) { return std::to_string(cp) + ":" + Utf16ToCp1252(w); };
  MldContent c = Sample(0);
  c.languages[2].codePage = 1250;
  c.languages[2].nativeName = "Deutsch \xE4";
  c.translations = {{"Caf\xE9", "", "", {"\xE9t\xE9", "\xFC"}}, {"Plain", "", "", {"Simple", "Einfach"}}};
  MldFile f(WriteMld(c, {3, false, true}), "x.mld", codec);
  std::vector<MldEntry> out;
  f.LoadTranslations(1, 2, 1251, out);
  ASSERT_EQ(out.size(), 2u);
  // The original in the system code page, the used column in the selected language's.
  EXPECT_EQ(out[0].original, "1252:Caf\xE9");
  EXPECT_EQ(out[0].translation, "1251:\xE9t\xE9");
  EXPECT_EQ(out[1].original, "Plain");
  EXPECT_EQ(out[1].translation, "Simple");
  out.clear();
  f.LoadTranslations(3, 2, 1251, out);  // no column 3: the fallback, in the selected code page
  EXPECT_EQ(out[0].translation, "1251:\xFC");
  // The dump of all columns uses each column's own language.
  EXPECT_EQ(f.Translations()[0].texts[1], "1250:\xFC");
  // Language records: the native name in the record's code page.
  EXPECT_EQ(f.Language(2).nativeName, "1250:Deutsch \xE4");
  EXPECT_EQ(f.Language(1).nativeName, "1252:Fran\xE7" "ais");
}

TEST(MldFile, Utf16TextsEndAtTheirFirstNul) {
  MldContent c = Sample(0);
  Bytes b = WriteMld(c, {3, false, true});
  // "English" as the first language's English name: replace its third unit by NUL.
  const std::u16string needle = u"English";
  for (size_t i = 0; i + 14 <= b.size(); ++i) {
    bool match = true;
    for (size_t k = 0; k < needle.size() && match; ++k) match = b[i + 2 * k] == needle[k] && b[i + 2 * k + 1] == 0;
    if (match) {
      b[i + 4] = 0;
      break;
    }
  }
  EXPECT_EQ(Open(b).Language(0).englishName, "En");
}

// ---- damaged streams -------------------------------------------------------------------------

void ExpectMldError(const Bytes& b, const std::string& message) {
  try {
    Open(b).ReadAll();
    ADD_FAILURE() << "no error, expected " << message;
  } catch (const EMldError& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message);
  }
}

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(MldFile, DamagedHeadersRaiseClearErrors) {
  const Bytes good = WriteMld(Sample(1), {3, false, false});
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
    int width;
    const char* message;
  } cases[] = {
      {"bad signature", 0, 'X', 1, "The stream is not a valid MLD stream"},
      {"language offset 0", 14, 0, 4, "Invalid language offset"},
      {"language offset past the end", 14, 0xFFFFFFF0u, 4, "Invalid language offset"},
      {"translation offset 0", 20, 0, 4, "Invalid translation offset"},
      {"translation offset past the end", 20, 0x7FFFFFFFu, 4, "Invalid translation offset"},
      {"locale offset 0", 26, 0, 4, "Invalid locale offset"},
      {"locale offset past the end", 26, 0x00100000u, 4, "Invalid locale offset"},
      {"huge language count", 12, 0xFFFF, 2, "Stream read error in \"test.mld\""},
      {"huge translation count", 18, 0xFFFF, 2, "Stream read error in \"test.mld\""},
      {"huge locale count", 24, 0xFFFF, 2, "Stream read error in \"test.mld\""},
      {"offset into the last byte", 20, 0, 0, "Stream read error in \"test.mld\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes b = good;
    if (c.width == 1) b[c.at] = static_cast<uint8_t>(c.value);
    if (c.width == 2) b[c.at] = c.value & 0xFF, b[c.at + 1] = static_cast<uint8_t>(c.value >> 8);
    if (c.width == 4) Put32(b, c.at, c.value);
    if (c.width == 0) Put32(b, c.at, static_cast<uint32_t>(b.size() - 1));
    ExpectMldError(b, c.message);
  }
}

TEST(MldFile, AskingForLocalesWithoutAnyRaisesNoCustomLocales) {
  MldContent c = Sample(0);
  c.locales.clear();
  MldFile f = Open(WriteMld(c, {3, false, false}));
  EXPECT_TRUE(f.Locales().empty());  // asking for all of them is not an error
  EXPECT_THROW(
      {
        try {
          f.Locale(0);
        } catch (const EMldError& e) {
          EXPECT_STREQ(e.what(), "No custom locales");
          throw;
        }
      },
      EMldError);
}

TEST(MldFile, IndicesBeyondTheCountsAreRangeErrors) {
  MldFile f = Open(WriteMld(Sample(0), {3, false, false}));
  EXPECT_THROW(f.Language(3), ERangeError);
  EXPECT_THROW(f.Language(-1), ERangeError);
  EXPECT_THROW(f.Locale(2), ERangeError);
  EXPECT_EQ(f.Locale(1).englishLanguageName, "French (Swiss)");
}

TEST(MldFile, EveryTruncationRaisesAnErrorNamingTheStream) {
  for (const Variant& v : {kVariants[0], kVariants[4], kVariants[8]}) {
    SCOPED_TRACE(v.name);
    const Bytes full = WriteMld(Sample(1), v.options);
    for (size_t len = 0; len < full.size(); ++len) {
      Bytes cut(full.begin(), full.begin() + len);
      try {
        MldFile f = Open(cut);
        f.ReadAll();
        std::vector<MldEntry> out;
        f.LoadTranslations(1, 2, 1252, out);
        ADD_FAILURE() << "no error at length " << len;
      } catch (const EMldError& e) {
        const std::string m = e.what();
        EXPECT_TRUE(m.find("test.mld") != std::string::npos || m.rfind("Invalid ", 0) == 0 ||
                    m == "The stream is not a valid MLD stream")
            << m << " at length " << len;
      }
    }
  }
}

TEST(MldFile, CorruptingAnyByteNeverReadsOutOfBounds) {
  // Each byte set to 0x00 and to 0xFF; the sanitizer build turns any stray read into a crash.
  const Bytes full = WriteMld(Sample(1), {3, true, true});
  int errors = 0;
  for (size_t i = 0; i < full.size(); ++i) {
    for (uint8_t value : {uint8_t(0), uint8_t(0xFF)}) {
      Bytes b = full;
      b[i] = value;
      try {
        MldFile f = Open(b);
        f.ReadAll();
        std::vector<MldEntry> out;
        f.LoadTranslations(1, 2, 1252, out);
      } catch (const EMldError&) {
        ++errors;
      } catch (const ERangeError&) {
        ++errors;
      }
    }
  }
  EXPECT_GT(errors, 0);
}

TEST(MldFile, MissingFileNamesTheFile) {
  try {
    MldFile::Load("/nonexistent/dir/toolbar1.mld");
    FAIL() << "no error";
  } catch (const EMldError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/dir/toolbar1.mld"), std::string::npos);
  }
}

TEST(MldWriter, RefusesWhatDoesNotFit) {
  MldContent c = Sample(0);
  c.translations[0].texts.push_back("one column too many");
  EXPECT_THROW(WriteMld(c, {}), EMldError);
  c = Sample(0);
  c.languages[0].isoLanguage = "eng";
  EXPECT_THROW(WriteMld(c, {}), EMldError);
  c = Sample(0);
  c.translations[0].original.assign(70000, 'x');
  EXPECT_THROW(WriteMld(c, {}), EMldError);
  EXPECT_THROW(WriteMld(Sample(0), {0, false, false}), EMldError);
}

// ---- embedded data ---------------------------------------------------------------------------

TEST(MldEmbedded, HashEscapes) {
  struct Case {
    const char* stored;
    const char* text;
  } cases[] = {
      {"a#Cb", "a\rb"}, {"a#Lb", "a\nb"}, {"#T", "\t"},       {"##", "#"},
      {"#x", "#x"},     {"#", "#"},       {"###L", "#\n"},    {"#c", "#c"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeEmbeddedText(c.stored), c.text) << c.stored;
  const std::string all = "a#b\r\n\tc##";
  EXPECT_EQ(DecodeEmbeddedText(EncodeEmbeddedText(all)), all);
}

TEST(MldEmbedded, RoundTripsThroughTheBinaryProperties) {
  MldContent c = Sample(1);
  c.translations[0].texts[0] = "Line 1\r\nLine #2";
  std::vector<MldLanguage> langs = c.languages;
  for (auto& l : langs) {  // the embedded form has no ISO codes or variants
    l.isoLanguage.clear();
    l.isoCountry.clear();
    l.variants.clear();
  }
  EXPECT_EQ(DecodeLanguageData(EncodeLanguageData(langs)), langs);
  std::vector<MldLocale> locs = c.locales;
  for (auto& l : locs) l.isoLanguage.clear(), l.isoCountry.clear();
  EXPECT_EQ(DecodeLocaleData(EncodeLocaleData(locs)), locs);
  MldTranslationData t = DecodeTranslationData(EncodeTranslationData(1, c.translations), 3);
  EXPECT_EQ(t.layout, 1);
  EXPECT_EQ(t.translations, c.translations);
}

TEST(MldEmbedded, UnknownVersionsAndDamageAreReported) {
  Bytes lang = EncodeLanguageData(Sample(0).languages);
  lang[0] = 2;
  EXPECT_THROW(
      {
        try {
          DecodeLanguageData(lang);
        } catch (const EMldError& e) {
          EXPECT_STREQ(e.what(), "Unknown language data version: 2");
          throw;
        }
      },
      EMldError);
  Bytes tr = EncodeTranslationData(0, Sample(0).translations);
  tr[0] = 7;
  EXPECT_THROW(DecodeTranslationData(tr, 3), EMldError);
  Bytes loc = EncodeLocaleData(Sample(0).locales);
  loc[0] = 3;
  EXPECT_THROW(DecodeLocaleData(loc), EMldError);

  // A translation count of four billion on a short property: a read error, not an allocation.
  Bytes huge = EncodeTranslationData(0, {});
  Put32(huge, 4, 0xFFFFFFFFu);
  EXPECT_THROW(DecodeTranslationData(huge, 8), EMldError);
  const Bytes full = EncodeLocaleData(Sample(0).locales);
  for (size_t len = 0; len < full.size(); ++len)
    EXPECT_THROW(DecodeLocaleData(Bytes(full.begin(), full.begin() + len)), EMldError) << len;
}

// ---- conversions -----------------------------------------------------------------------------

// The dictionary's sources take UTF-8 whole or not at all (the cases: text_encoding_test), and
// name the first bad byte.
TEST(MldText, BadUtf8IsReportedWithItsOffset) {
  EXPECT_EQ(MldUtf8ToWide("Ann\xC3\xA9" "e \xE2\x82\xAC \xF0\x9F\x98\x80"), u"Ann\u00E9e \u20AC \U0001F600");
  for (const auto& [bad, message] : {std::pair{"\xC3", "Malformed UTF-8 text at byte 0"},
                                     std::pair{"ab\xE2\x82", "Malformed UTF-8 text at byte 2"},
                                     std::pair{"a\xC0\x80", "Malformed UTF-8 text at byte 1"},
                                     std::pair{"\xED\xA0\x80", "Malformed UTF-8 text at byte 0"},
                                     std::pair{"a\x80", "Malformed UTF-8 text at byte 1"}}) {
    try {
      MldUtf8ToWide(bad);
      ADD_FAILURE() << message;
    } catch (const EMldError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }
}

}  // namespace
}  // namespace vsi
