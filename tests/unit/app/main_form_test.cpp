#include "app/main_form.h"

#include <gtest/gtest.h>

#include <regex>

#include "app/program.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "fakes/perf_data_builder.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/text_encoding.h"
#include "sysinfo/windows_version.h"
#include "unit/i18n/i18n_test_util.h"

namespace vsi {
namespace {

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAllClasses();
    // Two processors: one second of wall time per sample, the first half busy.
    SystemTime t{2024, 6, 1, 14, 9, 5, 0, 0};
    int64_t idle = 0;
    fp.registry.SetPerfDataSource([t, idle]() mutable {
      t.second = static_cast<uint16_t>((t.second + 1) % 60);
      if (t.second == 0) ++t.minute;
      idle += 5000000;  // 0.5 s idle per second
      return fake::ProcessorBlock(t, {idle, idle});
    });
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
  }
  std::string Slot(const char* name) { return Utf16ToUtf8(main->Get<TWideLabel>(name).Caption()); }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TMain* main = nullptr;
};

TEST_F(MainFormTest, TheProgramCreatesThreeWindowsWithTheMainOneFirst) {
  EXPECT_EQ(app.Title(), "Velmora System Info 1.0");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->Caption(), "  Velmora System Info 1.0");
  EXPECT_NE(app.FindComponent("Main"), nullptr);
  int forms = 0;
  for (int i = 0; i < app.ComponentCount(); ++i) forms += dynamic_cast<TForm*>(app.Components(i)) ? 1 : 0;
  EXPECT_EQ(forms, 3);
  EXPECT_FALSE(main->Showing()) << "shown by the message loop";
}

TEST_F(MainFormTest, EveryComponentSitsAtItsPlace) {
  struct Row {
    const char* name;
    TRect bounds;
    const char* text;  // window text, UTF-8
  } rows[] = {
      {"WidePanel1", {0, 0, 885, 25}, " "},
      {"Label13", {8, 2, 161, 25}, "System Information"},
      {"Label14", {240, 2, 329, 25}, "Date - Time"},
      {"Label15", {408, 2, 553, 25}, "Hard Disks Information"},
      {"Label16", {608, 2, 777, 25}, "Network Information"},
      {"UiClockStatus1", {328, 4, 401, 21}, nullptr},
      {"SpeedButton10", {864, 0, 887, 17}, "-"},
      {"Panel1", {0, 24, 241, 159}, " "},
      {"Panel2", {240, 24, 398, 159}, " "},
      {"Panel3", {400, 24, 601, 159}, " "},
      {"Memo2", {600, 24, 881, 159}, ""},
      {"WideLabel1", {8, 2, 113, 15}, "CPU Usage"},
      {"WideLabel6", {120, 2, 225, 15}, " "},
      {"WideLabel10", {120, 48, 233, 65}, nullptr},
      {"WideLabel22", {112, 24, 193, 37}, "100,000,000,000"},
      {"Label12", {8, 104, 113, 117}, "Computer Name"},
      {"UiLabel38", {8, 158, 169, 188}, "Velmora "},
      {"UiURLLabel1", {184, 168, 329, 181}, "www.velmora.com"},
      {"SpeedButton6", {504, 162, 544, 187}, "English"},
      {"SpeedButton7", {552, 162, 592, 187}, "French"},
      {"SpeedButton1", {600, 162, 640, 187}, "German"},
      {"SpeedButton2", {648, 162, 688, 187}, "Italian"},
      {"SpeedButton8", {696, 162, 736, 187}, "Dutch"},
      {"SpeedButton3", {744, 162, 784, 187}, "Portuguese"},
      {"SpeedButton4", {792, 162, 832, 187}, "Spanish"},
      {"SpeedButton5", {840, 162, 880, 187}, "Swedish"},
      {"BitBtn2", {216, 344, 291, 369}, "BitBtn2"},
  };
  main->Show();
  for (const Row& r : rows) {
    auto& c = main->Get<TControl>(r.name);
    EXPECT_EQ(c.BoundsRect(), r.bounds) << r.name;
    ASSERT_TRUE(c.HandleAllocated()) << r.name;
    if (r.text) {
      EXPECT_EQ(Utf16ToUtf8(fp.windows.Window(c.Handle()).text), r.text) << r.name;
    }
  }
  EXPECT_EQ(main->ClientWidth(), 885);
  EXPECT_EQ(main->ClientHeight(), 190);
  EXPECT_EQ(main->Color(), Rgb(128, 128, 255));
  EXPECT_EQ(main->Get<TControl>("Label2").Color(), Rgb(128, 128, 255)) << "labels take the window's blue";
  EXPECT_EQ(main->Get<TControl>("WideLabel6").Font()->Color(), clLime);
  EXPECT_EQ(main->Get<TControl>("WideLabel7").Font()->Color(), clYellow);
  EXPECT_EQ(main->Get<TControl>("Label2").Font()->Color(), clWhite) << "caption labels inherit the panel's font";
  EXPECT_FALSE(main->Get<TControl>("Panel4").Visible());
  EXPECT_FALSE(main->Get<TControl>("Label1").Visible());
  EXPECT_FALSE(main->Get<TControl>("BitBtn1").Visible());
  EXPECT_TRUE(fp.windows.Window(main->Handle()).params.toolWindow);
}

TEST_F(MainFormTest, ShowingFillsEverySlotOnceWithoutErrors) {
  fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"Host Name . . . : velmora\r\n"}, 1});
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
                        "Microsoft Windows 7");
  // The window read the version keys when it was created: read them again once arranged.
  main->Get<TSysWindows>("SysWindows1").Windows()->Retrieve();
  main->Show();
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
  EXPECT_EQ(Slot("WideLabel27"), "velmora-pc") << "the host name";
  EXPECT_EQ(Slot("WideLabel8"), "Microsoft Windows 7");
  EXPECT_EQ(Slot("WideLabel39"), "Service Pack 1");
  EXPECT_EQ(Slot("WideLabel26"), "NTFS");
  EXPECT_EQ(Slot("WideLabel24"), "SYSTEM");
  EXPECT_NE(Slot("WideLabel7"), " ");
  EXPECT_NE(Slot("WideLabel10"), " ");
  EXPECT_NE(Slot("WideLabel11"), " ");
  EXPECT_NE(Slot("WideLabel9"), " ");
  EXPECT_EQ(main->Get<TMemo>("Memo2").Text(), "Host Name . . . : velmora\r\n");
  EXPECT_EQ(main->Get<TControl>("Label1").Caption(), "English") << "first run: English";
}

TEST_F(MainFormTest, TheNetworkBoxRunsIpconfigFromTheSystemFolderByFullPath) {
  // An unusual system folder, so that the path must be the system's and not a fixed one; a
  // program of that name beside the exe is never the one started.
  fp.system.systemDirectory = "D:\\WinNT\\System32";
  fp.processes.Script("D:\\WinNT\\System32\\ipconfig.exe", {{"from the system\r\n"}, 1});
  fp.processes.Script("C:\\Program Files\\Velmora\\ipconfig.exe", {{"planted\r\n"}, 1});
  fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"fixed path\r\n"}, 1});
  main->Show();
  ASSERT_EQ(fp.processes.starts.size(), 1u);
  EXPECT_EQ(fp.processes.starts[0].applicationPath, "D:\\WinNT\\System32\\ipconfig.exe");
  EXPECT_EQ(fp.processes.starts[0].commandLine, "ipconfig /all");
  EXPECT_EQ(main->Get<TMemo>("Memo2").Text(), "from the system\r\n");
}

TEST_F(MainFormTest, CpuSlotIsBlankUntilTheFirstTickThenShowsTheLastSecond) {
  main->Show();
  EXPECT_EQ(Slot("WideLabel6"), " ");
  auto& timer = main->Get<TTimer>("Timer1");
  EXPECT_EQ(timer.Interval(), 1000);
  timer.Tick();
  std::string first = Slot("WideLabel6");
  EXPECT_TRUE(std::regex_match(first, std::regex(R"( ?\d{1,3}\.\d\d%)"))) << first;
  EXPECT_EQ(first, "50.00%") << "the baseline at start makes the first value a measurement";
  timer.Tick();
  EXPECT_EQ(Slot("WideLabel6"), "50.00%");
}

TEST_F(MainFormTest, AFailingSampleIsReportedOnEveryTickAndTheWindowRunsOn) {
  main->Show();
  fp.registry.SetPerfDataSource([] { return fake::BuildPerfData({}); });
  fp.windows.TickTimers();
  fp.windows.TickTimers();
  size_t boxes = 0;
  for (auto& m : fp.windows.messageBoxes)
    if (m.text == "Unable to locate the \"Processor\" performance object.") ++boxes;
  EXPECT_EQ(boxes, 2u);
}

TEST_F(MainFormTest, AFailureWhileTheErrorBoxIsOpenOpensNoSecondBox) {
  main->Show();
  fp.registry.SetPerfDataSource([] { return fake::BuildPerfData({}); });
  // The box's own loop goes on dispatching: three more ticks arrive while it is open.
  int ticksInsideBoxes = 0;
  fp.windows.whileMessageBoxOpen = [&] {
    while (ticksInsideBoxes < 3) {
      ++ticksInsideBoxes;
      fp.windows.TickTimers();
    }
  };
  fp.windows.TickTimers();
  EXPECT_EQ(ticksInsideBoxes, 3);
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(fp.windows.mostOpenMessageBoxes, 1);
  const fake::MessageBoxCall& box = fp.windows.messageBoxes[0];
  EXPECT_EQ(box.text, "Unable to locate the \"Processor\" performance object.");
  EXPECT_EQ(box.caption, "Error") << "the dictionary's box";
  EXPECT_EQ(box.owner, main->Handle()) << "owned by the main window, like the framework's box";
  // Once it is closed, the next failure is reported again: the timer kept running.
  fp.windows.TickTimers();
  EXPECT_EQ(fp.windows.messageBoxes.size(), 2u);
}

TEST_F(MainFormTest, MinimiseButtonMinimisesWheneverTheWindowShows) {
  main->Show();
  auto& button = main->Get<TControl>("SpeedButton10");
  fake::FakeWindow& taskbar = fp.windows.Window(app.Handle());
  button.Click();
  EXPECT_TRUE(taskbar.minimized);
  EXPECT_EQ(main->WindowState(), wsMinimized);
  button.Click();
  EXPECT_EQ(taskbar.minimizeCalls, 1) << "a second click while still minimised does nothing";
  // The user restores the window from the taskbar: nothing tells the form.
  fp.windows.Restore(app.Handle());
  EXPECT_EQ(main->WindowState(), wsNormal);
  button.Click();
  EXPECT_TRUE(taskbar.minimized) << "minimised again after the restore";
  EXPECT_EQ(taskbar.minimizeCalls, 2);
}

TEST_F(MainFormTest, TabFollowsTheStoredTabOrder) {
  main->Show();
  // The focusable controls by their containers' TabOrder: the calendar (Panel2, 1), the
  // drive selector (Panel3, 2) and the network box (5); BitBtn2, below the window's edge
  // where the focus could not be seen, is none.
  EXPECT_FALSE(fp.windows.Window(main->Get<TControl>("BitBtn2").Handle()).params.tabStop);
  std::vector<WindowHandle> expected;
  for (const char* name : {"MonthCalendarGroup1", "DriveComboBox1", "Memo2"}) {
    auto& c = main->Get<TControl>(name);
    WindowHandle h = c.Handle();
    // The calendar group holds the calendar that takes the focus.
    if (!fp.windows.Window(h).params.tabStop)
      for (WindowHandle child : fp.windows.Children(h))
        if (fp.windows.Window(child).params.tabStop) h = child;
    expected.push_back(h);
  }
  std::vector<WindowHandle> forward, backward;
  WindowHandle at = 0;
  for (size_t i = 0; i < expected.size(); ++i) forward.push_back(at = fp.windows.NextTabStop(main->Handle(), at, false));
  EXPECT_EQ(forward, expected);
  EXPECT_EQ(fp.windows.NextTabStop(main->Handle(), at, false), expected.front()) << "round again";
  for (size_t i = 0; i < expected.size(); ++i) backward.push_back(at = fp.windows.NextTabStop(main->Handle(), at, true));
  EXPECT_EQ(backward, (std::vector<WindowHandle>{expected[1], expected[0], expected[2]}));
  EXPECT_FALSE(fp.windows.Window(main->Get<TMemo>("Memo2").Handle()).params.wantTabs) << "Tab passes the box";
}

TEST_F(MainFormTest, UpgradeButtonShowsOneUpgradeWindow) {
  main->Show();
  auto& button = main->Get<TControl>("SpeedButton9");
  button.Click();
  button.Click();
  Ttoolabout* upgrade = nullptr;
  for (int i = 0; i < app.ComponentCount(); ++i)
    if (auto* f = dynamic_cast<Ttoolabout*>(app.Components(i))) upgrade = f;
  ASSERT_NE(upgrade, nullptr);
  EXPECT_TRUE(upgrade->Showing());
  size_t forms = 0;
  for (auto& [h, w] : fp.windows.windows)
    if (w.params.kind == WindowKind::Form && !w.params.appWindow && !w.destroyed) ++forms;
  EXPECT_EQ(forms, 2u) << "the main window and one upgrade window";
}

TEST_F(MainFormTest, AFailureWhileCreatingTheWindowsEndsTheProgramAfterItsMessage) {
  fake::FakePlatform fp2;
  fp2.system.versionFails = true;
  AppContext ctx2{fp2.platform()};
  EXPECT_EQ(RunProgram(ctx2), 1);
  ASSERT_EQ(fp2.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(fp2.windows.messageBoxes[0].text, "Can't get the Windows version.");
  EXPECT_EQ(fp2.windows.messageBoxes[0].caption, "Velmora System Info 1.0");
}

// The taskbar's Close while the damaged dictionary's box of the start-up is up: the program
// ends there, with nothing shown after the box and nothing thrown out of it.
TEST(ProgramEndTest, ClosingTheApplicationDuringAStartUpBoxEndsTheProgramCleanly) {
  RegisterAllClasses();
  fake::FakePlatform f;
  AppContext c{f.platform()};
  testing_i18n::MemoryStore store{f.system};
  c.Service<TIvDictionaryStorage>().SetStore(&store);
  Bytes damaged = testing_i18n::ShippedDictionaryFile();
  damaged.resize(damaged.size() - 10);
  store.Put("C:\\Program Files\\Velmora\\toolbar1.mld", damaged);
  f.windows.whileMessageBoxOpen = [&] {
    for (auto& [h, w] : f.windows.windows)
      if (w.params.appWindow) f.windows.Deliver(h, [](IWindowEvents& e) { e.WmClose(); });
  };
  int exitCode = -1;
  ASSERT_NO_THROW(exitCode = RunProgram(c));
  EXPECT_EQ(exitCode, 0);
  ASSERT_EQ(f.windows.messageBoxes.size(), 1u);
  EXPECT_NE(f.windows.messageBoxes[0].text.find("Damaged dictionary file"), std::string::npos);
  EXPECT_TRUE(f.processes.starts.empty()) << "the window was shown and filled after the close";
}

TEST(ProgramEndTest, AFailureWhileShowingTheWindowIsOneBoxAndAnExitNotAnEscape) {
  RegisterAllClasses();
  fake::FakePlatform f;
  AppContext c{f.platform()};
  // The windows are made when the main form is shown, after every form was created.
  f.windows.failWindows = true;
  int exitCode = -1;
  ASSERT_NO_THROW(exitCode = RunProgram(c));
  EXPECT_EQ(exitCode, 1);
  ASSERT_EQ(f.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(f.windows.messageBoxes[0].caption, "Velmora System Info 1.0");
}

}  // namespace
}  // namespace vsi
