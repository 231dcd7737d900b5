// The probes and start components as the main window's description creates them: stored
// values of read-only properties load without effect, AutoRetrieve components retrieve once
// everything is set.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/forms.h"
#include "probes/disk_probes.h"
#include "probes/register.h"
#include "sysinfo/drive.h"
#include "sysinfo/register.h"
#include "sysinfo/start_objects.h"

namespace vsi {
namespace {

TEST(StartDescription, StoredValuesLoadAndStartComponentsRetrieve) {
  RegisterProbeClasses();
  RegisterSysinfoClasses();
  fake::FakePlatform fp;
  fake::FakeDrive e;
  e.label = "DATA";
  e.serial = 0x00C0FFEE;
  e.totalBytes = 5000;
  fp.volumes.AddDrive('E', e);
  fp.locale.SetInfo(0x0409, LOCALE_IDATE_, "1");
  AppContext ctx(fp.platform());
  TComponent root(ctx);
  auto* form = new TForm(&root);
  ApplyDescription(*form, ParseDescription(R"(TForm Main {
  TDiskInfo DiskInfo1 {
    Disk "e"
    SerialNumberStr "FFFF-FFFF"
    SerialNumber 7
    VolumeLabel "old"
    FileSystem "FAT"
    DriveType dtRAM
    DiskSize 1
    DiskFree 2
  }
  TSysDrive SysDrive1 {
    AutoRetrieve true
  }
  TSysLocale SysLocale1 {
    AutoRetrieve true
  }
  TSysNetwork SysNetwork2 {
  }
})"));
  auto* disk = dynamic_cast<TDiskInfo*>(form->FindComponent("DiskInfo1"));
  ASSERT_NE(disk, nullptr);
  EXPECT_EQ(disk->Disk(), 'E');
  EXPECT_EQ(disk->SerialNumberStr(), "00C0-FFEE");
  EXPECT_EQ(disk->VolumeLabel(), "DATA");
  EXPECT_EQ(disk->DriveType(), dtFixed);
  EXPECT_EQ(disk->DiskSize(), 5000);

  auto* drive = dynamic_cast<TSysDrive*>(form->FindComponent("SysDrive1"));
  ASSERT_NE(drive, nullptr);
  EXPECT_TRUE(drive->Retrieved());
  EXPECT_EQ(drive->Drive()->SerialNumber(), "1234-ABCD");

  auto* locale = dynamic_cast<TSysLocale*>(form->FindComponent("SysLocale1"));
  ASSERT_NE(locale, nullptr);
  EXPECT_EQ(locale->Locale()->Get(lpShortDateOrder), "DMY");

  auto* network = dynamic_cast<TSysNetwork*>(form->FindComponent("SysNetwork2"));
  ASSERT_NE(network, nullptr);
  EXPECT_FALSE(network->Retrieved());
  EXPECT_EQ(network->Network()->UserName(), "");
}

}  // namespace
}  // namespace vsi
