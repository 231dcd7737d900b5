#include "probes/disk_probes.h"
#include "probes/screen_probe.h"
#include "probes/vendor_probe.h"
#include "probes/win_info.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "probes/register.h"

namespace vsi {
namespace {

class DiskProbesTest : public ::testing::Test {
 protected:
  DiskProbesTest() {
    fake::FakeDrive e;
    e.type = DRIVE_FIXED_;
    e.label = "DATA";
    e.serial = 0x34731000;
    e.fileSystem = "FAT32";
    e.totalBytes = 10476945408ull;
    e.freeBytes = 2000000000ull;
    e.freeBytesAvailable = 1500000000ull;
    fp.volumes.AddDrive('E', e);
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
};

TEST(SerialNumberText, NineCharactersWithDash) {
  EXPECT_EQ(SerialNumberText(0x34731000), "3473-1000");
  EXPECT_EQ(SerialNumberText(0x1234ABCD), "1234-ABCD");
  EXPECT_EQ(SerialNumberText(0x0000BEEF), "0000-BEEF");
  EXPECT_EQ(SerialNumberText(0), "0000-0000");
  EXPECT_EQ(SerialNumberText(0xFFFFFFFF), "FFFF-FFFF");
}

TEST_F(DiskProbesTest, FreshComponentDescribesDriveC) {
  TDiskInfo* d = new TDiskInfo(&root);
  EXPECT_EQ(d->Disk(), 'C');
  EXPECT_EQ(d->SerialNumberStr(), "1234-ABCD");
  EXPECT_EQ(d->SerialNumber(), 0x1234ABCD);
  EXPECT_EQ(d->VolumeLabel(), "SYSTEM");
  EXPECT_EQ(d->FileSystem(), "NTFS");
  EXPECT_EQ(d->DriveType(), dtFixed);
  EXPECT_EQ(d->DiskSize(), 100000000000);
  EXPECT_EQ(d->DiskFree(), 40000000000);
}

TEST_F(DiskProbesTest, LowerCaseLetterSelectsDrive) {
  TDiskInfo* d = new TDiskInfo(&root);
  d->SetDisk('e');
  EXPECT_EQ(d->Disk(), 'E');
  EXPECT_EQ(d->SerialNumberStr(), "3473-1000");
  EXPECT_EQ(d->VolumeLabel(), "DATA");
  EXPECT_EQ(d->FileSystem(), "FAT32");
  EXPECT_EQ(d->DiskSize(), 10476945408);
  EXPECT_EQ(d->DiskFree(), 1500000000);  // what this user may use, not the total free
}

TEST_F(DiskProbesTest, InvalidLetterChangesNothing) {
  TDiskInfo* d = new TDiskInfo(&root);
  d->SetDisk('e');
  int queries = fp.volumes.volumeQueries;
  for (char bad : {'1', ' ', '\0', '[', '@'}) {
    SCOPED_TRACE(int(bad));
    d->SetDisk(bad);
    EXPECT_EQ(d->Disk(), 'E');
    EXPECT_EQ(d->SerialNumberStr(), "3473-1000");
    EXPECT_EQ(d->SerialNumber(), 0x34731000);
    EXPECT_EQ(d->VolumeLabel(), "DATA");
    EXPECT_EQ(d->FileSystem(), "FAT32");
    EXPECT_EQ(d->DriveType(), dtFixed);
    EXPECT_EQ(d->DiskSize(), 10476945408);
    EXPECT_EQ(d->DiskFree(), 1500000000);
  }
  EXPECT_EQ(fp.volumes.volumeQueries, queries);
}

TEST_F(DiskProbesTest, DriveWithoutVolumeGivesMinusOneAndEmptyTexts) {
  TDiskInfo* d = new TDiskInfo(&root);
  d->SetDisk('d');  // CD-ROM without a disc
  EXPECT_EQ(d->DriveType(), dtCDROM);
  EXPECT_EQ(d->DiskSize(), -1);
  EXPECT_EQ(d->DiskFree(), -1);
  EXPECT_EQ(d->SerialNumber(), 0);
  EXPECT_EQ(d->SerialNumberStr(), "0000-0000");
  EXPECT_EQ(d->VolumeLabel(), "");
  EXPECT_EQ(d->FileSystem(), "");

  d->SetDisk('q');  // no such drive
  EXPECT_EQ(d->Disk(), 'Q');
  EXPECT_EQ(d->DriveType(), dtNoDrive);
  EXPECT_EQ(d->DiskSize(), -1);
}

TEST_F(DiskProbesTest, EarlyWindows95UsesClusterCounts) {
  fp.system.UseWindows95();
  fp.volumes.freeSpaceExMissing = true;
  fake::FakeDrive& e = fp.volumes.Drive('E');
  e.bytesPerSector = 512;
  e.sectorsPerCluster = 64;  // 32 KB clusters
  e.totalBytes = 32768ull * 60000;
  e.freeBytesAvailable = 32768ull * 1234;
  TDiskInfo* d = new TDiskInfo(&root);
  d->SetDisk('E');
  EXPECT_EQ(d->DiskSize(), 32768ll * 60000);
  EXPECT_EQ(d->DiskFree(), 32768ll * 1234);
  EXPECT_EQ(fp.volumes.callsToMissingFunction, 0);
}

TEST_F(DiskProbesTest, FailingSizeQueryGivesMinusOne) {
  fp.volumes.freeSpaceExFails = true;
  TDiskInfo* d = new TDiskInfo(&root);
  EXPECT_EQ(d->DiskSize(), -1);
  EXPECT_EQ(d->DiskFree(), -1);
  EXPECT_EQ(d->VolumeLabel(), "SYSTEM");
}

TEST_F(DiskProbesTest, PublishedDiskAppliesOtherValuesAreDiscarded) {
  TDiskInfo* d = new TDiskInfo(&root);
  SetProp(*d, "SerialNumberStr", PropValue(AnsiString("FFFF-FFFF")));
  SetProp(*d, "SerialNumber", PropValue(int64_t(7)));
  SetProp(*d, "VolumeLabel", PropValue(AnsiString("X")));
  SetProp(*d, "FileSystem", PropValue(AnsiString("Y")));
  SetProp(*d, "DriveType", PropValue(int64_t(dtRAM)));
  SetProp(*d, "DiskSize", PropValue(int64_t(1)));
  SetProp(*d, "DiskFree", PropValue(int64_t(1)));
  EXPECT_EQ(GetStrProp(*d, "SerialNumberStr"), "1234-ABCD");
  EXPECT_EQ(GetIntProp(*d, "SerialNumber"), 0x1234ABCD);
  EXPECT_EQ(GetStrProp(*d, "VolumeLabel"), "SYSTEM");
  EXPECT_EQ(GetStrProp(*d, "FileSystem"), "NTFS");
  EXPECT_EQ(GetIntProp(*d, "DriveType"), dtFixed);
  EXPECT_EQ(GetIntProp(*d, "DiskSize"), 100000000000);

  SetProp(*d, "Disk", PropValue(AnsiString("e")));
  EXPECT_EQ(GetStrProp(*d, "Disk"), "E");
  EXPECT_EQ(GetStrProp(*d, "VolumeLabel"), "DATA");
}

TEST_F(DiskProbesTest, ScreenResolutionIsAskedAtEveryCall) {
  TOtherInfo* o = new TOtherInfo(&root);
  fp.system.metrics[0] = 1024;
  fp.system.metrics[1] = 768;
  EXPECT_EQ(o->ScreenResolutionText(), "1024 x 768");
  fp.system.metrics[0] = 1280;
  fp.system.metrics[1] = 1024;
  EXPECT_EQ(o->ScreenResolutionText(), "1280 x 1024");
}

TEST_F(DiskProbesTest, ScreenResolutionIsTheDisplaysModeNotTheScaledMetrics) {
  // 1920 x 1080 at 150 %: the metrics of a program the system scales read 1280 x 720.
  TOtherInfo* o = new TOtherInfo(&root);
  fp.system.metrics[0] = 1280;
  fp.system.metrics[1] = 720;
  fp.system.currentMode = DisplayMode{1920, 1080, 32, 60, 0};
  EXPECT_EQ(o->ScreenResolutionText(), "1920 x 1080");
  fp.system.currentMode = DisplayMode{0, 0, 0, 0, 0};  // a mode without a size: the metrics
  EXPECT_EQ(o->ScreenResolutionText(), "1280 x 720");
}

class CpuVendorTest : public DiskProbesTest {
 protected:
  static constexpr const char* kKey = "Hardware\\Description\\System\\CentralProcessor\\0";
  TSystemInfo& Probe() { return *new TSystemInfo(&root); }
};

TEST_F(CpuVendorTest, ReadsVendorIdentifier) {
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kKey, "VendorIdentifier", "GenuineIntel");
  EXPECT_EQ(Probe().CpuVendorText(), "GenuineIntel");
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(CpuVendorTest, UserWhoMayOnlyReadStillSeesVendor) {
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kKey, "VendorIdentifier", "AuthenticAMD");
  fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "Hardware", fake::KEY_SET_VALUE_ | fake::KEY_CREATE_SUB_KEY_);
  EXPECT_EQ(Probe().CpuVendorText(), "AuthenticAMD");
  for (const auto& open : fp.registry.OpenLog()) {
    EXPECT_FALSE(open.create);
    EXPECT_EQ(open.access & (fake::KEY_SET_VALUE_ | fake::KEY_CREATE_SUB_KEY_), 0u);
  }
}

TEST_F(CpuVendorTest, MissingKeyGivesEmptyTextAndIsNotCreated) {
  EXPECT_EQ(Probe().CpuVendorText(), "");
  EXPECT_FALSE(fp.registry.HasKey(HKEY_LOCAL_MACHINE_, kKey));
}

TEST_F(CpuVendorTest, MissingValueGivesEmptyText) {
  fp.registry.AddKey(HKEY_LOCAL_MACHINE_, kKey);
  EXPECT_EQ(Probe().CpuVendorText(), "");
}

TEST_F(CpuVendorTest, ExpandableStringIsText) {
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kKey, "VendorIdentifier", "CyrixInstead", REG_EXPAND_SZ_);
  EXPECT_EQ(Probe().CpuVendorText(), "CyrixInstead");
}

TEST_F(CpuVendorTest, NumberInsteadOfTextRaisesTypeError) {
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, kKey, "VendorIdentifier", 42);
  try {
    Probe().CpuVendorText();
    FAIL() << "no error raised";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'VendorIdentifier'");
  }
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(DiskProbesTest, ClassesAreCreatableByName) {
  for (const ClassInfo* cls : {&TDiskInfo::StaticClass(), &TOtherInfo::StaticClass(), &TSystemInfo::StaticClass(),
                               &TWinInfo::StaticClass()}) {
    SCOPED_TRACE(cls->name);
    ASSERT_TRUE(cls->create);
    TComponent* c = cls->create(&root);
    EXPECT_EQ(&c->ClassType(), cls);
  }
}

TEST_F(DiskProbesTest, RegisteredForWindowDescriptions) {
  RegisterProbeClasses();
  for (const char* name : {"TAVTools", "TDiskInfo", "TOtherInfo", "TSystemInfo", "TWinInfo"}) {
    SCOPED_TRACE(name);
    TComponent* c = CreateComponent(name, &root);
    EXPECT_EQ(c->ClassName(), name);
  }
}

}  // namespace
}  // namespace vsi
