// toolbar1.exe /report: the facts without the window, as text or JSON, to standard output or
// to a file; and the command line's usage and mistakes.
#include "app/report.h"

#include <cmath>
#include <limits>
#include <regex>
#include <sstream>

#include "app/command_line.h"
#include "app/console_capture.h"
#include "app/fact_report.h"
#include "app/languages.h"
#include "facts_fixture.h"

namespace vsi {
namespace {

using ReportTest = FactsFixture;

// A JSON value as RFC 8259 has numbers, or null.
const std::regex kJsonNumberOrNull("-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][+-]?[0-9]+)?|null");

// The value of a key of the report's top level, as written.
std::string JsonField(const std::string& json, const std::string& key) {
  size_t at = json.find("\"" + key + "\": ");
  if (at == std::string::npos) return "(no " + key + ")";
  at += key.size() + 4;
  return json.substr(at, json.find(",\r\n", at) - at);
}

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
      {"performance data without the processor object, as under Wine: the kernel's times",
       [](fake::FakePlatform& f) { f.registry.SetPerfDataSource([] { return fake::BuildPerfData({}); }); },
       {}},
      {"neither performance data nor processor times",
       [](fake::FakePlatform& f) {
         f.registry.SetPerfDataSource([] { return fake::BuildPerfData({}); });
         f.system.processorTimesFail = true;
       },
       {"cpu_usage_percent"}},
      {"ipconfig that cannot start",
       [](fake::FakePlatform& f) { f.processes.Script(kIpconfig, {{}, 1, true}); },
       {"network"}},
      // What was captured before the child had to be ended, or the limit cut it, is not its answer.
      {"ipconfig that never ends",
       [](fake::FakePlatform& f) { f.processes.Script(kIpconfig, {{"Host Name . . . : velmora\r\n"}, -1}); },
       {"network"}},
      {"ipconfig writing more than the capture takes",
       [](fake::FakePlatform& f) {
         f.processes.Script(kIpconfig, {{std::string(kCaptureLimit, 'x'), "and more"}, 1});
       },
       {"network"}},
      {"ipconfig whose pipe breaks while it runs",
       [](fake::FakePlatform& f) {
         fake::ChildScript script{{"Host Name . . . : velmora\r\n", "Node"}, -1};
         script.peekFailsFrom = 2;
         f.processes.Script(kIpconfig, script);
       },
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

TEST(JsonHundredthsTest, EveryDoubleIsAJsonNumberOrNull) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    double in;
    const char* out;
  } rows[] = {
      {-1.5, "-1.50"}, {-0.3, "-0.30"}, {0, "0.00"}, {-0.001, "0.00"}, {99.999, "100.00"}, {100.5, "100.50"},
      {-1.8, "-1.80"}, {25, "25.00"}, {std::nan(""), "null"}, {inf, "null"}, {-inf, "null"},
      {1e300, nullptr},  // any magnitude stays a number
  };
  for (const Row& r : rows) {
    const std::string json = JsonHundredths(r.in);
    EXPECT_TRUE(std::regex_match(json, kJsonNumberOrNull)) << r.in << " -> " << json;
    if (r.out) {
      EXPECT_EQ(json, r.out) << r.in;
    }
  }
}

// The sampler is not clamped: on an idle machine with coarse idle ticks it measures a little
// below 0, and the report writes what it measured.
TEST_F(ReportTest, TheCpuSampleIsAJsonNumberWhateverItsSign) {
  struct Row {
    int64_t idlePerSecond;  // of each processor's second, in 100 ns units
    const char* json;
  } rows[] = {{7500000, "25.00"}, {10180000, "-1.80"}, {10030000, "-0.30"}, {10000000, "0.00"}, {-50000, "100.50"}};
  for (const Row& r : rows) {
    SystemTime t{2004, 3, 0, 21, 14, 30, 5, 0};
    int64_t idle = 0;
    fp.registry.SetPerfDataSource([t, idle, step = r.idlePerSecond]() mutable {
      t.second = static_cast<uint16_t>(t.second + 1);
      idle += step;
      return fake::ProcessorBlock(t, {idle, idle});
    });
    fp.io.output.clear();
    AppContext c{fp.platform()};
    c.Service<TIvDictionaryStorage>().SetStore(&store);
    fp.io.commandLine = "toolbar1.exe /report json";
    ASSERT_EQ(RunProgram(c), 0) << r.json;
    const std::string value = JsonField(fp.io.output, "cpu_usage_percent");
    EXPECT_EQ(value, r.json);
    EXPECT_TRUE(std::regex_match(value, kJsonNumberOrNull)) << value;
  }
}

// A damaged dictionary beside the program: the window says so in a box; the report, which
// nobody watches, says it in one line on standard error and goes on in English. Without a
// console nothing is shown at all and the exit status tells.
TEST_F(ReportTest, NothingWaitsForAPersonWhenTheDictionaryIsDamaged) {
  Bytes damaged = testing_i18n::ShippedDictionaryFile();
  damaged.resize(damaged.size() - 10);  // cut inside the last translations
  struct Row {
    const char* name;
    const char* args;
    bool console;
    const char* storedLanguage;  // "" none
    bool dictionaryThere;
    int exit;
    const char* errorLine;  // a part of the one line on standard error; "" none
  } rows[] = {
      {"json", "/report json", true, "", true, 0, "Damaged dictionary file \"C:\\Work\\toolbar1.mld\""},
      {"text", "/report", true, "", true, 0, "Damaged dictionary file"},
      {"/lang German", "/report /lang German", true, "", true, 0, "German cannot be applied (Damaged dictionary file"},
      {"the stored German", "/report", true, "German", true, 0, "German cannot be applied (Damaged dictionary file"},
      {"/lang German without a dictionary", "/report /lang German", true, "", false, 0,
       "German cannot be applied (no dictionary)"},
      {"no console, to a file", "/report json C:\\facts.json", false, "", true, 0, ""},
      {"no console, nowhere to write", "/report json", false, "", true, 1, ""},
      {"no console, a file that cannot be written", "/report C:\\locked.txt", false, "", true, 1, ""},
      {"no console, a wrong command line", "/report /bogus", false, "", true, 2, ""},
      {"no console, the usage", "/report /?", false, "", true, 0, ""},
  };
  for (const Row& r : rows) {
    fake::FakePlatform f;
    testing_i18n::MemoryStore files{f.system};
    if (r.dictionaryThere) files.Put("C:\\Work\\toolbar1.mld", damaged);
    f.processes.Script(kIpconfig, {{"Host Name . . . : velmora\r\n"}, 1});
    f.io.hasOutput = f.io.hasError = r.console;
    f.io.failingFiles["C:\\locked.txt"] = WinError::AccessDenied;
    if (*r.storedLanguage) f.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue, r.storedLanguage);
    f.io.commandLine = std::string("toolbar1.exe ") + r.args;
    AppContext c{f.platform()};
    c.Service<TIvDictionaryStorage>().SetStore(&files);
    EXPECT_EQ(RunProgram(c), r.exit) << r.name;
    for (const fake::MessageBoxCall& box : f.windows.messageBoxes) ADD_FAILURE() << r.name << ": a box: " << box.text;
    EXPECT_TRUE(f.windows.windows.empty()) << r.name;
    if (*r.errorLine) {
      EXPECT_NE(f.io.error.find(r.errorLine), std::string::npos) << r.name << ": " << f.io.error;
      EXPECT_EQ(f.io.error.find("\r\n"), f.io.error.size() - 2) << r.name << ": one line\n" << f.io.error;
      EXPECT_NE(f.io.error.find("the report is in English"), std::string::npos) << r.name;
    }
    if (std::string(r.args).find("facts.json") != std::string::npos) {
      EXPECT_EQ(JsonField(f.io.files["C:\\facts.json"], "computer_name"), "\"velmora-pc\"") << r.name;
    }
    if (r.console && r.exit == 0) {
      const std::string& out = f.io.output;
      if (std::string(r.args).find("json") != std::string::npos) {
        EXPECT_EQ(JsonField(out, "computer_name"), "\"velmora-pc\"") << r.name;
      } else {
        // English throughout: the program's name as well as the captions.
        EXPECT_EQ(out.substr(0, out.find("\r\n")), "Velmora System Info 1.0") << r.name;
        EXPECT_NE(out.find("\r\nMemory Used: "), std::string::npos) << r.name << "\n" << out;
        EXPECT_NE(out.find("\r\nCPU Usage:"), std::string::npos) << r.name << "\n" << out;
      }
    }
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

// That the old file survives a failed write is the platform's replace, shown on the real
// system (tests/win/report_win32_test.cpp); here: the failure is said, and the exit code.
TEST_F(ReportTest, AFileThatCannotBeWrittenIsReportedAndFails) {
  fp.io.failingFiles["C:\\locked.txt"] = WinError::AccessDenied;
  EXPECT_EQ(Run("/report C:\\locked.txt"), 1);
  EXPECT_TRUE(fp.io.files.empty()) << "nothing written anywhere else";
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
