#include "i18n/mld_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "i18n_test_util.h"

namespace vsi {
namespace {

using testing_i18n::ShippedTable;

// The dump without its comment lines (file name, offsets) and its format lines.
std::string ContentOfDump(const std::string& dump) {
  std::istringstream in(dump);
  std::string line, out;
  while (std::getline(in, line))
    if ((line.empty() || line[0] != '#') && line.rfind("version\t", 0) && line.rfind("byteorder\t", 0) &&
        line.rfind("text\t", 0))
      out += line + "\n";
  return out;
}

TEST(MldTable, DumpIsTheSameForEveryVersionByteOrderAndWidth) {
  const std::string table = ShippedTable();
  ASSERT_FALSE(table.empty());
  const std::string reference = ContentOfDump(DumpMld(BuildMldFromTable(table, {3, false, false}), "ref.mld"));
  for (int version : {2, 3})
    for (bool big : {false, true})
      for (bool utf16 : {false, true}) {
        SCOPED_TRACE(std::to_string(version) + (big ? " big" : " little") + (utf16 ? " UTF-16" : " 8-bit"));
        Bytes b = BuildMldFromTable(table, {version, big, utf16});
        EXPECT_EQ(ContentOfDump(DumpMld(b, "x.mld")), reference);
      }
  // Version 1 lacks the ISO codes; the rest is the same.
  std::string v1 = ContentOfDump(DumpMld(BuildMldFromTable(table, {1, true, true}), "v1.mld"));
  EXPECT_NE(v1, reference);
  EXPECT_NE(v1.find("Informations système"), std::string::npos);
}

TEST(MldTable, DumpBuildsTheSameFileAgain) {
  Bytes first = BuildMldFromTable(ShippedTable(), {3, false, false});
  Bytes again = BuildMldFromTable(DumpMld(first, "first.mld"), {3, false, false});
  EXPECT_EQ(first, again);
}

TEST(MldTable, ShippedDictionaryHoldsTheEightLanguagesInIndexOrder) {
  MldFile f(BuildMldFromTable(ShippedTable(), {3, false, false}), "toolbar1.mld");
  const char* names[] = {"English", "French", "German", "Italian", "Spanish", "Swedish", "Portuguese", "Dutch"};
  const int primaries[] = {9, 12, 7, 16, 10, 29, 22, 19};
  ASSERT_EQ(f.LanguageCount(), 8);
  for (int i = 0; i < 8; ++i) {
    MldLanguage l = f.Language(i);
    EXPECT_EQ(l.englishName, names[i]);
    EXPECT_EQ(l.primary, primaries[i]);
    EXPECT_EQ(l.codePage, 1252);
  }
  EXPECT_EQ(f.Language(1).nativeName, "Fran\xE7" "ais");  // Windows-1252 in the file
  EXPECT_FALSE(f.ContextMode());
}

TEST(MldTable, ShippedDictionaryTranslatesEveryWindowTextIntoEveryLanguage) {
  MldFile f(BuildMldFromTable(ShippedTable(), {3, false, false}), "toolbar1.mld");
  std::set<std::string> originals;
  for (const MldTranslation& t : f.Translations()) {
    EXPECT_TRUE(originals.insert(t.original).second) << "twice: " << t.original;
    ASSERT_EQ(t.texts.size(), 7u) << t.original;
    for (size_t k = 0; k < 7; ++k) EXPECT_FALSE(t.texts[k].empty()) << t.original << " language " << k + 1;
  }
  for (const char* text :
       {"  Velmora System Info 1.0", "System Information", "Date - Time", "Hard Disks Information",
        "Network Information", "CPU Usage", "Memory Used", "Video Resolution", "Processor", "Operating System",
        "Disk Size", "Free Space", "Volume Label", "Serial number", "File System", "Computer Name", "IP Address",
        "Subnet Mask", "Gateway", "User Name", "Network Card", "English", "French", "German", "Italian", "Spanish",
        "Swedish", "Portuguese", "Dutch", "&Size", "&Move", "Mi&nimize", "Ma&ximize", "&Next", "&Previous",
        "&Close", "&Vertical Scroll", "&Horizontal Scroll", "&Mouse", "&Key", "&Arrange", "&Restore",
        "&Task List", "&Screen Saver", "&Hot Key", "&Default", "&Monitor Power"})
    EXPECT_TRUE(originals.count(text)) << "missing: " << text;

  // The window captions are those the language buttons set.
  std::vector<MldEntry> swedish;
  f.LoadTranslations(5, 0, 1252, swedish);
  EXPECT_EQ(swedish[0].original, "  Velmora System Info 1.0");
  EXPECT_EQ(swedish[0].translation, "  Velmora Systeminformation 1.0");
  std::vector<MldEntry> french;
  f.LoadTranslations(1, 0, 1252, french);
  EXPECT_EQ(french[0].translation, "  Velmora Information du Syst\xE8me 1.0");
}

TEST(MldTable, CellsKeepBlanksAndEscapes) {
  const char* table =
      "[header]\nlayout\t1\n[language]\nprimary\t9\n[language]\nprimary\t12\n"
      "[translations]\n"
      "  two blanks \tTMain\tLabel1\t deux \n"
      "Line\\r\\nbreak\t\t\tLigne\\tfin\\\\\n"
      "No translation\n";
  MldContent c = ParseMldTable(table);
  ASSERT_EQ(c.translations.size(), 3u);
  EXPECT_EQ(c.translations[0].original, "  two blanks ");
  EXPECT_EQ(c.translations[0].context1, "TMain");
  EXPECT_EQ(c.translations[0].context2, "Label1");
  EXPECT_EQ(c.translations[0].texts[0], " deux ");
  EXPECT_EQ(c.translations[1].original, "Line\r\nbreak");
  EXPECT_EQ(c.translations[1].texts[0], "Ligne\tfin\\");
  EXPECT_EQ(c.translations[2].texts[0], "");
  EXPECT_EQ(ParseMldTable(FormatMldTable(c)), c);
}

TEST(MldTable, MistakesNameTheirLine) {
  struct Case {
    const char* name;
    const char* table;
    const char* message;
  } cases[] = {
      {"text before a section", "layout\t0\n", "Line 1: text before the first section"},
      {"unknown section", "[header]\n[languages]\n", "Line 2: unknown section [languages]"},
      {"unknown key", "[language]\nprimery\t9\n", "Line 2: unknown key \"primery\""},
      {"bad number", "[language]\nprimary\tnine\n", "Line 2: \"nine\" is not a number"},
      {"too many cells", "[language]\n[language]\n[translations]\na\tb\tc\n", "Line 4: 3 cells"},
      {"bad escape", "[language]\n[translations]\na\\q\n", "Line 3: unknown escape"},
      {"empty original", "[language]\n[language]\n[translations]\n\tx\n", "Line 4: the original text is empty"},
      {"layout out of range", "[header]\nlayout\t4\n", "Line 2: \"4\" is not a number from 0 to 3"},
  };
  for (const Case& c : cases) {
    try {
      ParseMldTable(c.table);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EMldError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << c.name << ": " << e.what();
    }
  }
}

TEST(MldTable, EightBitFilesOnlyTakeWhatTheirCodePageHolds) {
  const char* table = "[language]\ncodepage\t1252\n[language]\ncodepage\t1252\n[translations]\nYes\t\xE4\xB8\xAD\n";
  EXPECT_THROW(BuildMldFromTable(table, {3, false, false}), EMldError);
  // UTF-16 files hold it.
  Bytes b = BuildMldFromTable(table, {3, false, true});
  EXPECT_NE(DumpMld(b, "x").find("Yes\t\xE4\xB8\xAD"), std::string::npos);
}

// Czech in code page 1250 beside French, a custom locale whose separators are no-break
// spaces, and originals that begin as a comment or a section would.
constexpr const char* kCzechTable =
    "[header]\nlayout\t0\n"
    "[language]\nprimary\t9\nsub\t1\ncodepage\t1252\nenglish\tEnglish\nnative\tEnglish\n"
    "[language]\nprimary\t5\nsub\t1\ncodepage\t1250\nenglish\tCzech\nnative\t\xC4\x8C"
    "e\xC5\xA1tina\n"
    "[language]\nprimary\t12\nsub\t1\ncodepage\t1252\nenglish\tFrench\nnative\tFran\xC3\xA7" "ais\n"
    "[locale]\nprimary\t5\nsub\t1\ncodepage\t1250\nthousandSeparator\t\xC2\xA0\ndecimalSeparator\t,\n"
    "timeSeparator\t:\ncurrency\tK\xC4\x8D\n"
    "[translations]\n"
    "Free Space\tVoln\xC3\xA9 m\xC3\xADsto\tEspace libre\n"
    "\\# of files\t\xC4\x8C\xC3\xADslo\n"
    "\\[draft]\t\tBrouillon\n";

TEST(MldTable, DumpThenBuildGivesTheSameFileForEveryText) {
  for (int version : {1, 2, 3})
    for (bool big : {false, true})
      for (bool utf16 : {false, true}) {
        SCOPED_TRACE(std::to_string(version) + (big ? " big" : " little") + (utf16 ? " UTF-16" : " 8-bit"));
        const Bytes first = BuildMldFromTable(kCzechTable, {version, big, utf16});
        const std::string dump = DumpMld(first, "cs.mld");
        EXPECT_EQ(MldTableFormat(dump).version, version);
        EXPECT_EQ(BuildMldFromTable(dump, MldTableFormat(dump)), first);
        EXPECT_NE(dump.find("native\t\xC4\x8C" "e\xC5\xA1tina"), std::string::npos) << "shown as text";
      }
  // In the 8-bit file the texts stand in their code pages; the separator is one byte, 0xA0.
  MldFile f(BuildMldFromTable(kCzechTable, {3, false, false}), "cs.mld");
  EXPECT_EQ(f.Language(1).nativeName, "\xC8" "e\x9Atina");
  EXPECT_EQ(f.Locale(0).thousandSeparator, "\xA0");
  EXPECT_EQ(f.Locale(0).currencySymbol, "K\xE8");
  std::vector<MldEntry> czech;
  f.LoadTranslations(1, 0, 1250, czech);
  ASSERT_EQ(czech.size(), 2u);
  EXPECT_EQ(czech[0].translation, "Voln\xE9 m\xEDsto");
  EXPECT_EQ(czech[1].original, "# of files");
}

// What cannot come back as itself is refused, never written as another text.
TEST(MldTable, TextsThatCannotComeBackAreRefused) {
  auto errorOf = [](const std::function<void()>& f) -> std::string {
    try {
      f();
    } catch (const EMldError& e) {
      return e.what();
    }
    return "no error";
  };
  // Building: Czech in a Windows-1252 language; Japanese in a code page without a table.
  std::string table = kCzechTable;
  table.replace(table.find("codepage\t1250"), 13, "codepage\t1252");
  EXPECT_NE(errorOf([&] { BuildMldFromTable(table, {}); }).find("language 1, native name: \"\xC4\x8C" "e\xC5\xA1tina\": code page 1252 has no character U+010C"),
            std::string::npos);
  const char* japanese = "[language]\nprimary\t9\n[language]\nprimary\t17\ncodepage\t932\nnative\t\xE6\x97\xA5\n";
  EXPECT_NE(errorOf([&] { BuildMldFromTable(japanese, {}); }).find("no table for code page 932"), std::string::npos);
  EXPECT_EQ(errorOf([&] { BuildMldFromTable(japanese, {3, false, true}); }), "no error") << "UTF-16 holds it";

  // Dumping: 8-bit bytes that no table shows as themselves.
  MldCodec raw;
  raw.toWide = [](uint32_t, const AnsiString& s) { return WideString(s.begin(), s.end()); };
  MldContent c;
  c.languages.resize(2);
  c.languages[0].primary = 9;
  c.languages[1].primary = 17;
  c.languages[1].codePage = 932;
  c.languages[1].nativeName = "\x93\xFA";
  EXPECT_NE(errorOf([&] { DumpMld(WriteMld(c, {}, raw), "ja.mld"); }).find("no table for code page 932"),
            std::string::npos);
  c.languages[1].codePage = 1252;
  c.languages[1].nativeName = "\x81";  // no character in Windows-1252
  EXPECT_NE(errorOf([&] { DumpMld(WriteMld(c, {}, raw), "x.mld"); }).find("byte 0x81 has no character in code page 1252"),
            std::string::npos);
  // A lone surrogate in a UTF-16 file.
  MldCodec wide;
  wide.toWide = [](uint32_t, const AnsiString&) { return WideString(1, u'\xD800'); };
  c.languages[1].nativeName = "x";
  EXPECT_NE(errorOf([&] { DumpMld(WriteMld(c, {3, false, true}, wide), "s.mld"); }).find("lone surrogate"),
            std::string::npos);
  // A separator is one character.
  EXPECT_NE(errorOf([] { ParseMldTable("[locale]\nthousandSeparator\t..\n"); }).find("a separator is one character"),
            std::string::npos);
}

}  // namespace
}  // namespace vsi
