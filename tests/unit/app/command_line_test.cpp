#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/languages.h"

namespace vsi {
namespace {

TEST(SplitCommandLineTest, FollowsTheRuntimesRules) {
  struct Row {
    const char* name;
    const char* line;
    std::vector<std::string> args;
  } rows[] = {
      {"name alone", R"(toolbar1.exe)", {}},
      {"quoted name with blanks", R"("C:\Program Files\Velmora\toolbar1.exe" /report)", {"/report"}},
      {"name's backslashes before its closing quote", R"("C:\dir\\" /report)", {"/report"}},
      {"blanks and tabs separate", "toolbar1.exe  /report\tjson   ", {"/report", "json"}},
      {"quotes group", R"(x /report "C:\My Reports\facts.json")", {"/report", R"(C:\My Reports\facts.json)"}},
      {"quotes inside a word", R"(x a"b c"d)", {"ab cd"}},
      {"empty quotes are an argument", R"(x /report "")", {"/report", ""}},
      {"backslashes without a quote stay", R"(x C:\a\\b\)", {R"(C:\a\\b\)"}},
      {"2n backslashes and a quote", R"(x "a\\" b)", {R"(a\)", "b"}},
      {"2n+1 backslashes and a quote", R"(x a\"b)", {R"(a"b)"}},
      {"doubled quote inside quotes", R"(x "a""b")", {R"(a"b)"}},
      {"unclosed quote runs to the end", R"(x "a b)", {"a b"}},
      {"non-ASCII kept as UTF-8", "x /report \"C:\\R\xC3\xA9sum\xC3\xA9.txt\"", {"/report", "C:\\R\xC3\xA9sum\xC3\xA9.txt"}},
  };
  for (const Row& r : rows) EXPECT_EQ(SplitCommandLine(r.line), r.args) << r.name;
}

TEST(ParseCommandLineTest, EachFormAndEachMistake) {
  using A = CommandLine::Action;
  struct Row {
    const char* name;
    std::vector<std::string> args;
    A action;
    bool json = false;
    const char* file = "";
    const char* language = nullptr;  // English name
    bool network = true;
    const char* error = "";          // a part of the message
  } rows[] = {
      {"nothing: the window", {}, A::Window},
      {"text report", {"/report"}, A::Report},
      {"double dash", {"--report"}, A::Report},
      {"single dash", {"-report"}, A::Report},
      {"any case", {"/REPORT", "JSON"}, A::Report, true},
      {"json report", {"/report", "json"}, A::Report, true},
      {"text to a file", {"/report", "facts.txt"}, A::Report, false, "facts.txt"},
      {"json to a file", {"/report", "json", "C:\\out\\f.json"}, A::Report, true, "C:\\out\\f.json"},
      {"language after", {"/report", "/lang", "French"}, A::Report, false, "", "French"},
      {"language before, any case", {"/lang", "dUTCH", "/report", "json"}, A::Report, true, "", "Dutch"},
      {"window in a language", {"/LANG", "swedish"}, A::Window, false, "", "Swedish"},
      {"without the network", {"/report", "/nonetwork"}, A::Report, false, "", nullptr, false},
      {"usage", {"/?"}, A::Usage},
      {"usage wins", {"/report", "json", "-h"}, A::Usage},
      {"long usage", {"--help"}, A::Usage},
      {"unknown switch", {"/reprot"}, A::Error, false, "", nullptr, true, "unknown switch \"/reprot\""},
      {"unknown after report", {"/report", "/x"}, A::Error, false, "", nullptr, true, "unknown switch"},
      {"stray word", {"hello"}, A::Error, false, "", nullptr, true, "unexpected argument \"hello\""},
      {"one word too many", {"/report", "json", "a.json", "b.json"}, A::Error, false, "", nullptr, true,
       "unexpected argument \"b.json\""},
      {"lang without a name", {"/lang"}, A::Error, false, "", nullptr, true, "/lang needs a language name"},
      {"lang followed by a switch", {"/lang", "/report"}, A::Error, false, "", nullptr, true, "needs a language"},
      {"lang not one of the eight", {"/lang", "Klingon"}, A::Error, false, "", nullptr, true, "unknown language"},
      {"lang twice", {"/lang", "French", "/lang", "German"}, A::Error, false, "", nullptr, true, "twice"},
      {"report twice", {"/report", "/report"}, A::Error, false, "", nullptr, true, "twice"},
      {"empty file name", {"/report", ""}, A::Error, false, "", nullptr, true, "file name is empty"},
      {"nonetwork alone", {"/nonetwork"}, A::Error, false, "", nullptr, true, "goes with /report"},
      {"a lone slash is no switch", {"/"}, A::Error, false, "", nullptr, true, "unexpected argument"},
  };
  for (const Row& r : rows) {
    CommandLine c = ParseCommandLine(r.args);
    EXPECT_EQ(c.action, r.action) << r.name;
    EXPECT_EQ(c.json, r.json) << r.name;
    EXPECT_EQ(c.file, r.file) << r.name;
    EXPECT_EQ(c.language ? c.language->state : nullptr, r.language ? LanguageByState(r.language)->state : nullptr)
        << r.name;
    if (r.action != A::Error) {
      EXPECT_EQ(c.network, r.network) << r.name;
    } else {
      EXPECT_FALSE(c.error.empty()) << r.name;
    }
    EXPECT_NE(c.error.find(r.error), std::string::npos) << r.name << ": " << c.error;
  }
}

TEST(ParseCommandLineTest, UsageNamesEverySwitchAndTheLanguages) {
  std::string usage = UsageText();
  for (const char* word : {"/report", "json", "FILE", "/lang", "/nonetwork", "/?", "Exit status"})
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  for (const LanguageRow& row : kLanguages) EXPECT_NE(usage.find(row.state), std::string::npos) << row.state;
}

}  // namespace
}  // namespace vsi
