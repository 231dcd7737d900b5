// toolbar1.exe /report: the facts without the window, as text or JSON, to standard output or
// to a file; and the command line's usage and mistakes.
#include "app/report.h"

#include <sstream>

#include "app/command_line.h"
#include "app/fact_report.h"
#include "app/languages.h"
#include "facts_fixture.h"

namespace vsi {
namespace {

using ReportTest = FactsFixture;

TEST_F(ReportTest, JsonHoldsEveryFactUnderItsStableKey) {
  ASSERT_EQ(Run("/report json"), 0);
  ShowWindow();
  EXPECT_EQ(fp.io.error, "");
  EXPECT_EQ(fp.io.output,
            "{\r\n"
            "  \"cpu_usage_percent\": 25.00,\r\n"
            "  \"memory_load_percent\": 42,\r\n"
            "  \"screen\": \"1280 x 1024\",\r\n"
            "  \"processor\": \"" + Slot("WideLabel10") + "\",\r\n"
            "  \"vendor\": \"GenuineIntel\",\r\n"
            "  \"os\": \"Microsoft Windows 7\",\r\n"
            "  \"service_pack\": \"Service Pack 1\",\r\n"
            "  \"computer_name\": \"velmora-pc\",\r\n"
            "  \"drives\": [\r\n"
            "    {\"letter\": \"C\", \"type\": \"fixed\", \"size\": 100000000000, \"free\": 40000000000, "
            "\"label\": \"SYSTEM\", \"serial\": \"1234-ABCD\", \"file_system\": \"NTFS\"}\r\n"
            "  ],\r\n"
            "  \"network\": \"Host Name . . . : velmora\\r\\nNode Type . . . : Hybrid\\r\\n\",\r\n"
            "  \"generated_at\": \"2004-03-21T14:30:05+01:00\",\r\n"
            "  \"program_version\": \"1.0.0.0\"\r\n"
            "}\r\n");
}

TEST_F(ReportTest, TheReportShowsNoWindowAndWritesNothing) {
  ASSERT_EQ(Run("/report"), 0);
  for (auto& [handle, w] : fp.windows.windows) ADD_FAILURE() << "a window was made: " << Utf16ToUtf8(w.text);
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
  EXPECT_FALSE(fp.registry.HasKey(HKEY_CURRENT_USER_, kSettingsKey)) << "the report stores no language";
}

TEST_F(ReportTest, TheCpuFigureIsASampleOverHalfASecond) {
  ASSERT_EQ(Run("/report json"), 0);
  // The baseline is taken first, the other facts read meanwhile, then the rest of the interval
  // waited before the second sample.
  ASSERT_EQ(fp.system.sleeps.size(), 1u);
  EXPECT_GT(fp.system.sleeps[0], 0u);
  EXPECT_LE(fp.system.sleeps[0], kReportCpuIntervalMs);
  EXPECT_NE(fp.io.output.find("\"cpu_usage_percent\": 25.00,"), std::string::npos);
}

// One fact that cannot be read leaves the others, is null in JSON and empty in the text, and
// the report still succeeds.
TEST_F(ReportTest, AFactThatCannotBeReadIsNullAndTheRestIsThere) {
  struct Row {
    const char* name;
    std::function<void(fake::FakePlatform&)> arrange;
    std::vector<std::string> nullKeys;
  } rows[] = {
      {"product name of the wrong type",
       [](fake::FakePlatform& f) { f.registry.SetDword(HKEY_LOCAL_MACHINE_, kVersionKey, "ProductName", 7); },
       {"os"}},
      {"registered owner of the wrong type, read before the product name: the name still is",
       [](fake::FakePlatform& f) { f.registry.SetDword(HKEY_LOCAL_MACHINE_, kVersionKey, "RegisteredOwner", 7); },
       {}},
      {"vendor of the wrong type",
       [](fake::FakePlatform& f) { f.registry.SetDword(HKEY_LOCAL_MACHINE_, kProcessorKey, "VendorIdentifier", 7); },
       {"vendor"}},
      {"stored language of the wrong type: English",
       [](fake::FakePlatform& f) { f.registry.SetDword(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, 1); },
       {}},
      {"fixed drive without media",
       [](fake::FakePlatform& f) {
         fake::FakeDrive e;
         e.mediaPresent = false;
         f.volumes.AddDrive('E', e);
       },
       {"size", "free", "label", "serial", "file_system"}},
      {"no performance data",
       [](fake::FakePlatform& f) { f.registry.SetPerfDataSource([] { return fake::BuildPerfData({}); }); },
       {"cpu_usage_percent"}},
      {"ipconfig that cannot start",
       [](fake::FakePlatform& f) { f.processes.Script(kIpconfig, {{}, 1, true}); },
       {"network"}},
  };
  const std::vector<std::string> keys{"cpu_usage_percent", "memory_load_percent", "screen", "processor",
                                      "vendor", "os", "service_pack", "computer_name", "size", "free", "label",
                                      "serial", "file_system", "network", "generated_at", "program_version"};
  for (const Row& r : rows) {
    fake::FakePlatform f;
    f.processes.Script(kIpconfig, {{"Host Name . . . : velmora\r\n"}, 1});
    f.registry.SetString(HKEY_LOCAL_MACHINE_, kVersionKey, "ProductName", "Microsoft Windows 7");
    f.registry.SetString(HKEY_LOCAL_MACHINE_, kProcessorKey, "VendorIdentifier", "GenuineIntel");
    f.registry.SetPerfDataSource([] { return fake::ProcessorBlock({2004, 3, 0, 21, 14, 30, 5, 0}, {0, 0}); });
    r.arrange(f);
    f.io.commandLine = "toolbar1.exe /report json";
    AppContext c{f.platform()};
    EXPECT_EQ(RunProgram(c), 0) << r.name;
    const std::string& json = f.io.output;
    for (const std::string& key : keys) {
      bool wanted = std::find(r.nullKeys.begin(), r.nullKeys.end(), key) != r.nullKeys.end();
      bool isNull = json.find("\"" + key + "\": null") != std::string::npos;
      EXPECT_EQ(isNull, wanted) << r.name << ": " << key << "\n" << json;
      EXPECT_NE(json.find("\"" + key + "\": "), std::string::npos) << r.name << ": " << key;
    }
    EXPECT_TRUE(f.windows.messageBoxes.empty()) << r.name;

    // The text report of the same machine: the same fact empty, the others there.
    f.io.output.clear();
    f.io.commandLine = "toolbar1.exe /report";
    AppContext c2{f.platform()};
    EXPECT_EQ(RunProgram(c2), 0) << r.name;
    EXPECT_NE(f.io.output.find("Computer Name: velmora-pc\r\n"), std::string::npos) << r.name;
  }
}

TEST_F(ReportTest, TheServicePackStaysWhenTheVersionKeyCannotBeRead) {
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, kVersionKey, "ProductName", 7);
  ASSERT_EQ(Run("/report"), 0);
  EXPECT_NE(fp.io.output.find("Operating System:\r\nOperating System: Service Pack 1\r\n"), std::string::npos)
      << fp.io.output;
}

TEST_F(ReportTest, JsonTextsAreEscapedAndConvertedFromTheAnsiCodePage) {
  // Windows-1252: quotes, a backslash, a tab, a control character and an e acute.
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kVersionKey, "ProductName", "Win \"7\" C:\\ \t\x01 caf\xe9");
  ASSERT_EQ(Run("/report json"), 0);
  EXPECT_NE(fp.io.output.find(R"("os": "Win \"7\" C:\\ \t\u0001 caf)" "\xC3\xA9\","), std::string::npos)
      << fp.io.output;
}

TEST(JsonStringTest, EscapesWhatJsonForbids) {
  struct Row {
    std::string in, out;
  } rows[] = {
      {"plain", R"("plain")"},
      {"a\"b", R"("a\"b")"},
      {"C:\\dir\\", R"("C:\\dir\\")"},
      {"\r\n\t\b\f", R"("\r\n\t\b\f")"},
      {std::string("\x00\x1f\x7f", 3), R"("\u0000\u001f\u007f")"},
      {"\xC3\xA9 \xE2\x82\xAC", "\"\xC3\xA9 \xE2\x82\xAC\""},  // UTF-8 passes as it is
      {"/", "\"/\""},
  };
  for (const Row& r : rows) EXPECT_EQ(JsonString(r.in), r.out) << r.in;
}

TEST(Iso8601Test, LocalTimeWithItsOffset) {
  struct Row {
    const char* name;
    SystemTime local, utc;
    const char* out;
  } rows[] = {
      {"UTC", {2024, 6, 6, 1, 14, 9, 5, 0}, {2024, 6, 6, 1, 14, 9, 5, 0}, "2024-06-01T14:09:05+00:00"},
      {"east", {2024, 6, 6, 1, 16, 9, 5, 0}, {2024, 6, 6, 1, 14, 9, 5, 0}, "2024-06-01T16:09:05+02:00"},
      {"west across midnight", {2024, 5, 5, 31, 22, 0, 0, 0}, {2024, 6, 6, 1, 3, 0, 0, 0},
       "2024-05-31T22:00:00-05:00"},
      {"half hour", {2024, 1, 1, 1, 5, 30, 0, 0}, {2024, 1, 1, 1, 0, 0, 0, 0}, "2024-01-01T05:30:00+05:30"},
      {"clocks read a moment apart", {2024, 1, 1, 1, 5, 45, 1, 0}, {2024, 1, 1, 1, 0, 0, 0, 999},
       "2024-01-01T05:45:01+05:45"},
  };
  for (const Row& r : rows) EXPECT_EQ(Iso8601(r.local, r.utc), r.out) << r.name;
}

// The text report holds, line by line, what the window shows in the same language: the
// captions of its labels and the texts of its slots.
TEST_F(ReportTest, TheTextReportReadsAsTheWindowInEveryLanguage) {
  for (const LanguageRow& language : kLanguages) {
    fake::FakePlatform& f = fp;
    f.io.output.clear();
    AppContext reportContext{f.platform()};
    reportContext.Service<TIvDictionaryStorage>().SetStore(&store);
    f.io.commandLine = std::string("toolbar1.exe /report /lang ") + language.state;
    ASSERT_EQ(RunProgram(reportContext), 0) << language.state;
    std::string report = f.io.output;

    AppContext windowContext{f.platform()};
    windowContext.Service<TIvDictionaryStorage>().SetStore(&store);
    TApplication windowApp{windowContext};
    CreateProgram(windowApp);
    auto* window = dynamic_cast<TMain*>(windowApp.MainForm());
    window->SetLanguageForRun(&language);
    window->Show();
    window->Get<TTimer>("Timer1").Tick();
    auto caption = [&](const char* label) {
      TComponent* c = window->FindComponent(label);
      if (auto* wide = dynamic_cast<TWideLabel*>(c)) return Utf16ToUtf8(wide->Caption());
      return Utf8(dynamic_cast<TControl*>(c)->Caption());
    };
    std::string program = Utf8(window->Caption()).substr(2);
    EXPECT_EQ(report.substr(0, report.find("\r\n")), program) << language.state;
    for (const FactRow& row : kFactRows) {
      std::string shown = Utf16ToUtf8(window->Get<TWideLabel>(row.slot).Caption());
      std::string line = caption(row.captionLabel) + ": ";
      size_t at = report.find(line + shown + "\r\n");
      if (row.fact == Fact::DiskSize || row.fact == Fact::DiskFree) {
        // The window's drive column was filled before its language was applied, so it keeps
        // the grouping of the user's locale; the report groups in its own language. The
        // digits agree.
        auto digits = [](std::string t) { std::erase_if(t, [](char c) { return c < '0' || c > '9'; }); return t; };
        at = report.find(line);
        ASSERT_NE(at, std::string::npos) << language.state << ": " << line;
        std::string value = report.substr(at + line.size(), report.find("\r\n", at) - at - line.size());
        EXPECT_EQ(digits(value), digits(shown)) << language.state << ": " << line;
        continue;
      }
      EXPECT_NE(at, std::string::npos) << language.state << ": " << line << shown << "\n" << report;
    }
    EXPECT_NE(report.find(caption("Label15") + ": C:\r\n"), std::string::npos) << language.state;
    EXPECT_NE(report.find(caption("Label16") + ":\r\nHost Name"), std::string::npos) << language.state;
    EXPECT_FALSE(f.registry.HasKey(HKEY_CURRENT_USER_, kSettingsKey));
  }
}

TEST_F(ReportTest, TheStoredLanguageIsTheReportsWithoutLang) {
  fp.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, "German");
  ASSERT_EQ(Run("/report"), 0);
  EXPECT_EQ(fp.io.output.substr(0, fp.io.output.find("\r\n")), "Velmora Systeminformationen 1.0");
  EXPECT_NE(fp.io.output.find("Belegter Speicher: 42 %\r\n"), std::string::npos) << fp.io.output;
  EXPECT_NE(fp.io.output.find("CPU-Auslastung: 25,00%\r\n"), std::string::npos) << "German decimal comma";
}

TEST_F(ReportTest, WithoutTheNetworkNoChildRuns) {
  ASSERT_EQ(Run("/report json /nonetwork"), 0);
  EXPECT_TRUE(fp.processes.starts.empty());
  EXPECT_NE(fp.io.output.find("\"network\": null,"), std::string::npos);
}

TEST_F(ReportTest, ToAFileNothingGoesToStandardOutput) {
  ASSERT_EQ(Run("/report json \"C:\\Reports\\facts.json\""), 0);
  EXPECT_EQ(fp.io.output, "");
  ASSERT_EQ(fp.io.files.count("C:\\Reports\\facts.json"), 1u);
  const std::string written = fp.io.files["C:\\Reports\\facts.json"];
  EXPECT_EQ(written.substr(0, 3), "{\r\n");
  EXPECT_NE(written.find("\"computer_name\": \"velmora-pc\""), std::string::npos);
}

TEST_F(ReportTest, AFileThatCannotBeWrittenIsReportedAndFails) {
  fp.io.files["C:\\locked.txt"] = "old";
  fp.io.failingFiles["C:\\locked.txt"] = WinError::AccessDenied;
  EXPECT_EQ(Run("/report C:\\locked.txt"), 1);
  EXPECT_EQ(fp.io.files["C:\\locked.txt"], "old") << "the old file is left whole";
  EXPECT_NE(fp.io.error.find("Cannot write the report to \"C:\\locked.txt\""), std::string::npos) << fp.io.error;
  EXPECT_EQ(fp.io.output, "");
}

TEST_F(ReportTest, WithNowhereToWriteTheReportFails) {
  fp.io.hasOutput = false;
  EXPECT_EQ(Run("/report"), 1);
}

TEST_F(ReportTest, UsageAndMistakes) {
  struct Row {
    const char* name;
    const char* args;
    bool console;
    int exit;
    const char* output;      // a part of standard output; "" none
    const char* error;       // a part of standard error; "" none
    uint32_t boxIcon;        // a message box with this icon when there is no console; 0 none
  } rows[] = {
      {"usage", "/?", true, 0, "toolbar1.exe /report [json] [FILE]", "", 0},
      {"usage without a console", "/?", false, 0, "", "", MB_ICONINFORMATION_},
      {"unknown switch", "/bogus", true, 2, "", "toolbar1.exe: unknown switch \"/bogus\"", 0},
      {"unknown switch without a console", "/bogus", false, 2, "", "", MB_ICONERROR_},
      {"missing language", "/report /lang", true, 2, "", "/lang needs a language name", 0},
  };
  for (const Row& r : rows) {
    fake::FakePlatform f;
    f.io.hasOutput = f.io.hasError = r.console;
    f.io.commandLine = std::string("toolbar1.exe ") + r.args;
    AppContext c{f.platform()};
    EXPECT_EQ(RunProgram(c), r.exit) << r.name;
    if (*r.output) {
      EXPECT_NE(f.io.output.find(r.output), std::string::npos) << r.name;
    }
    if (*r.error) {
      EXPECT_NE(f.io.error.find(r.error), std::string::npos) << r.name << ": " << f.io.error;
      EXPECT_NE(f.io.error.find(UsageText()), std::string::npos) << r.name << ": the usage follows";
      EXPECT_EQ(f.io.output, "") << r.name;
    }
    ASSERT_EQ(f.windows.messageBoxes.size(), r.boxIcon ? 1u : 0u) << r.name;
    if (r.boxIcon) {
      EXPECT_EQ(f.windows.messageBoxes[0].type & 0xF0, r.boxIcon) << r.name;
    }
    EXPECT_TRUE(f.processes.starts.empty()) << r.name;
  }
}

}  // namespace
}  // namespace vsi
