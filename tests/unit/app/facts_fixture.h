#pragma once
// A machine with every fact the main window shows arranged, the shipped dictionary beside the
// program: for the report and for Copy all, which must show the same values as the slots.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/program.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "fakes/perf_data_builder.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/text_encoding.h"
#include "unit/i18n/i18n_test_util.h"

namespace vsi {

class FactsFixture : public ::testing::Test {
 protected:
  static constexpr char kIpconfig[] = "C:\\WINDOWS\\system32\\ipconfig.exe";
  static constexpr char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  static constexpr char kProcessorKey[] = "Hardware\\Description\\System\\CentralProcessor\\0";

  FactsFixture() {
    RegisterAllClasses();
    ctx.Service<TIvDictionaryStorage>().SetStore(&store);
    store.Put("C:\\Work\\toolbar1.mld", testing_i18n::ShippedDictionaryFile());
    fp.processes.Script(kIpconfig, {{"Host Name . . . : velmora\r\nNode Type . . . : Hybrid\r\n"}, 1});
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, kVersionKey, "ProductName", "Microsoft Windows 7");
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, kProcessorKey, "VendorIdentifier", "GenuineIntel");
    fp.system.metrics[0] = 1280;  // SM_CXSCREEN
    fp.system.metrics[1] = 1024;  // SM_CYSCREEN
    fp.system.memory.memoryLoad = 42;
    // Two processors a quarter busy: every sample a second later with 1.5 s idle of the 2.
    SystemTime t{2004, 3, 0, 21, 14, 30, 5, 0};
    int64_t idle = 0;
    fp.registry.SetPerfDataSource([t, idle]() mutable {
      t.second = static_cast<uint16_t>((t.second + 1) % 60);
      if (t.second == 0) ++t.minute;
      idle += 7500000;
      return fake::ProcessorBlock(t, {idle, idle});
    });
  }

  // Runs the program with these arguments after its name.
  int Run(const std::string& arguments) {
    fp.io.commandLine = "\"C:\\Program Files\\Velmora\\toolbar1.exe\" " + arguments;
    return RunProgram(ctx);
  }
  // The main window, made and shown (its slots filled) as the message loop would.
  TMain& ShowWindow() {
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    main->Show();
    for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
    return *main;
  }
  std::string Slot(const char* name) { return Utf16ToUtf8(main->Get<TWideLabel>(name).Caption()); }
  // A text of the program in the ANSI code page, as UTF-8.
  std::string Utf8(const AnsiString& ansi) { return Utf16ToUtf8(fp.locale.MultiByteToWide(CP_ACP_, ansi)); }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  testing_i18n::MemoryStore store{fp.system};
  TApplication app{ctx};
  TMain* main = nullptr;
};

}  // namespace vsi
