// The whole main window where the system is less kind than usual: an ordinary user's
// read-only machine hive, machine values of an unexpected type, empty removable drives.
#include <gtest/gtest.h>

#include "app/languages.h"
#include "app/main_form.h"
#include "app/program.h"
#include "controls/drive_combo.h"
#include "controls/ui_labels.h"
#include "fakes/fake_platform.h"
#include "fakes/perf_data_builder.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/text_encoding.h"

namespace vsi {
namespace {

constexpr const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kCards = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";

// Every display slot that the window fills at its first show.
constexpr const char* kShownSlots[] = {"WideLabel7",  "WideLabel9",  "WideLabel10", "WideLabel11", "WideLabel8",
                                       "WideLabel39", "WideLabel22", "WideLabel23", "WideLabel24", "WideLabel25",
                                       "WideLabel26", "WideLabel27"};

class MainWindowFaultsTest : public ::testing::Test {
 protected:
  MainWindowFaultsTest() {
    RegisterAllClasses();
    fp.processes.Script("C:\\WINDOWS\\system32\\ipconfig.exe", {{"Host Name . . . : velmora\r\n"}, 1});
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, kVersionKey, "ProductName", "Microsoft Windows 7");
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                          "VendorIdentifier", "GenuineIntel");
    SystemTime t{2024, 6, 1, 14, 9, 5, 0, 0};
    fp.registry.SetPerfDataSource([t]() mutable {
      t.second = static_cast<uint16_t>((t.second + 1) % 60);
      return fake::ProcessorBlock(t, {0, 0});
    });
  }
  // Creates and shows the window: a failure here is one that ends start-up.
  void Start() {
    CreateProgram(app);
    main = dynamic_cast<TMain*>(app.MainForm());
    main->Show();
  }
  std::string Slot(const char* name) { return Utf16ToUtf8(main->Get<TWideLabel>(name).Caption()); }
  std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (auto& m : fp.windows.messageBoxes) out.push_back(m.text);
    return out;
  }
  // Picks a drive in the selector as the user does.
  void Pick(char letter) {
    auto& combo = main->Get<TDriveComboBox>("DriveComboBox1");
    for (int i = 0; i < combo.Items()->Count(); ++i)
      if (combo.Items()->Strings(i)[0] == letter) {
        fp.windows.ComboSetIndex(combo.Handle(), i);
        fp.windows.Deliver(combo.Handle(), [](IWindowEvents& sink) { sink.WmSelChange(); });
        return;
      }
    ADD_FAILURE() << "no drive " << letter << ":";
  }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TMain* main = nullptr;
};

TEST_F(MainWindowFaultsTest, AReadOnlyMachineHiveStillGivesAFullWindowWithoutErrors) {
  // An ordinary user: nothing under HKEY_LOCAL_MACHINE opens with more than read access.
  fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "", ~KEY_READ_);
  ASSERT_NO_THROW(Start());
  for (const char* slot : kShownSlots) {
    EXPECT_NE(Slot(slot), " ") << slot;
    EXPECT_NE(Slot(slot), "") << slot;
  }
  EXPECT_EQ(main->Get<TMemo>("Memo2").Text(), "Host Name . . . : velmora\r\n");
  fp.windows.TickTimers();
  main->Close();
  EXPECT_TRUE(fp.windows.quitPosted);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  for (const auto& open : fp.registry.OpenLog())
    EXPECT_NE(open.result, WinError::AccessDenied) << "asked for more than reading: " << open.subKey;
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "English");
}

TEST_F(MainWindowFaultsTest, MachineValuesOfTheWrongTypeLeaveTheirValueEmptyAndTheWindowStarts) {
  // Values another program wrote with a type of its own, in objects read while the window
  // is created.
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, kVersionKey, "ProductID", 7);
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\1", "Description", 1);
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\1", "Hidden", "yes");
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                       "ComputerName", 42);
  ASSERT_NO_THROW(Start());
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_EQ(Slot("WideLabel8"), "Microsoft Windows 7") << "the other values of that key fill";
  for (const char* slot : kShownSlots) EXPECT_NE(Slot(slot), " ") << slot;
}

TEST_F(MainWindowFaultsTest, EmptyRemovableDrivesAskForNoDisk) {
  // A: is a floppy drive and D: a DVD drive, both without a medium.
  Start();
  Pick('a');
  Pick('d');
  Pick('c');
  EXPECT_EQ(fp.volumes.criticalErrorBoxes, 0) << "no \"insert a disk\" prompt";
  EXPECT_EQ(Slot("WideLabel26"), "NTFS");
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

}  // namespace
}  // namespace vsi
