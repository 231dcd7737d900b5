#include "controls/drive_combo.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"

namespace vsi {
namespace {

class DriveComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto drive = [](uint32_t type, const char* label, const char* remote = "") {
      fake::FakeDrive d;
      d.type = type;
      d.label = label;
      d.remoteName = remote;
      return d;
    };
    fp.volumes.drives.clear();
    fp.volumes.AddDrive('A', drive(DRIVE_REMOVABLE_, ""));
    fp.volumes.Drive('A').mediaPresent = false;
    fp.volumes.AddDrive('C', drive(DRIVE_FIXED_, "SYSTEM"));
    fp.volumes.AddDrive('D', drive(DRIVE_CDROM_, "Disc"));
    fp.volumes.AddDrive('E', drive(DRIVE_REMOTE_, "", "\\\\Server\\Share"));
    fp.volumes.AddDrive('F', drive(DRIVE_REMOTE_, "Home"));  // no connection name: its label
    fp.volumes.AddDrive('R', drive(DRIVE_RAMDISK_, "R&D"));
    fp.volumes.AddDrive('Z', drive(DRIVE_UNKNOWN_, ""));
  }
  TDriveComboBox* Make() {
    auto* combo = new TDriveComboBox(form);
    combo->SetParent(form);
    combo->OnChange = [this](TObject*) { ++changes; };
    return combo;
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
  TForm* form = app.CreateForm<TForm>();
  int changes = 0;
};

TEST_F(DriveComboTest, ListsDrivesByKindInLowerCase) {
  auto* combo = Make();
  form->Show();
  std::vector<std::string> items;
  for (int i = 0; i < combo->Items()->Count(); ++i) items.push_back(combo->Items()->Strings(i));
  EXPECT_EQ(items, (std::vector<std::string>{"a:", "c: [system]", "d: [disc]", "e: \\\\server\\share", "f: [home]",
                                             "r: [r&d]"}));
  EXPECT_EQ(combo->ItemPicture(0), "DRIVE_FLOPPY");
  EXPECT_EQ(combo->ItemPicture(3), "DRIVE_NETWORK");
  EXPECT_EQ(combo->ItemPicture(5), "DRIVE_RAM");
  EXPECT_EQ(fp.volumes.errorMode, 0u) << "the error mode is put back";
  EXPECT_EQ(fp.volumes.criticalErrorBoxes, 0) << "no prompt for the empty drive";
  EXPECT_EQ(fp.windows.Window(combo->Handle()).comboItems.size(), 6u);
}

TEST_F(DriveComboTest, SelectsTheCurrentDirectorysDriveAndReportsOnceWhenCreated) {
  fp.system.currentDirectory = "D:\\Data";
  auto* combo = Make();
  EXPECT_EQ(combo->Drive(), 'd');
  EXPECT_EQ(changes, 0);
  form->Show();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "d: [disc]");
}

TEST_F(DriveComboTest, ANetworkPathWithoutALetterSelectsNothingButStillReports) {
  fp.system.currentDirectory = "\\\\server\\share\\dir";
  auto* combo = Make();
  form->Show();
  EXPECT_EQ(combo->Drive(), '\0');
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(changes, 1);
}

TEST_F(DriveComboTest, PickingAnotherDriveReportsTwiceTheSameOnce) {
  fp.system.currentDirectory = "C:\\";
  auto* combo = Make();
  form->Show();
  changes = 0;
  combo->Pick(2);
  EXPECT_EQ(combo->Drive(), 'd');
  EXPECT_EQ(changes, 2);
  changes = 0;
  combo->Pick(2);
  EXPECT_EQ(changes, 1);
}


// A volume query that fails by throwing, half-way through the list.
class ThrowingVolumes : public fake::FakeVolumes {
 public:
  bool GetVolumeInformation(const std::string& root, VolumeInformation& out) override {
    if (root == "D:\\") throw std::runtime_error("volume query failed");
    return FakeVolumes::GetVolumeInformation(root, out);
  }
};

TEST(DriveComboFaultTest, AThrowWhileListingLeavesTheErrorModeAndTheListRestored) {
  fake::FakePlatform fp;
  ThrowingVolumes volumes;
  fake::FakeDrive cd;
  cd.type = DRIVE_CDROM_;
  volumes.AddDrive('D', cd);
  Platform platform{fp.registry, fp.system, volumes, fp.locale, fp.processes, fp.shell,
                    fp.sockets,  fp.windows, fp.clipboard, fp.io};
  AppContext ctx{platform};
  TApplication app{ctx};
  TForm* form = app.CreateForm<TForm>();
  auto* combo = new TDriveComboBox(form);
  combo->SetParent(form);
  EXPECT_THROW(form->Show(), std::runtime_error);
  EXPECT_EQ(volumes.errorMode, 0u) << "critical-error boxes are allowed again";
  EXPECT_EQ(volumes.errorModeHistory.back(), 0u);
  EXPECT_EQ(combo->Items()->UpdateCount(), 0) << "the list takes updates again";
}

}  // namespace
}  // namespace vsi
