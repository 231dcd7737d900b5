#include "sysinfo/drive.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "sysinfo/register.h"
#include "sysinfo/start_objects.h"

namespace vsi {
namespace {

class DriveObjectTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TSysDriveObject drive{ctx};

  struct Report {
    AnsiString name, oldValue, newValue;
  };
  std::vector<Report> reports;
  void Capture() {
    drive.SetChangeHandler([this](TObject*, const AnsiString& n, const AnsiString& o, const AnsiString& v,
                                  TDateTime) { reports.push_back({n, o, v}); });
  }
};

TEST_F(DriveObjectTest, ConstructionReadsNothing) {
  EXPECT_EQ(drive.Drive(), 'C');
  EXPECT_EQ(drive.DriveType(), TSysDriveType::dtUnknown);
  EXPECT_EQ(drive.VolumeLabel(), "");
  EXPECT_EQ(drive.SerialNumber(), "");
  EXPECT_EQ(drive.DiskSize(), 0);
  EXPECT_EQ(drive.Options(), 0);
  EXPECT_EQ(fp.volumes.volumeQueries, 0);
}

TEST_F(DriveObjectTest, FixedNtfsDrive) {
  fp.volumes.Drive('C').fileSystemFlags = FILE_CASE_PRESERVED_NAMES_ | FILE_CASE_SENSITIVE_SEARCH_ |
                                          FILE_UNICODE_ON_DISK_ | FILE_PERSISTENT_ACLS_;
  drive.Retrieve();
  EXPECT_EQ(drive.DriveType(), TSysDriveType::dtFixed);
  EXPECT_EQ(drive.FileSystem(), "NTFS");
  EXPECT_EQ(drive.VolumeLabel(), "SYSTEM");
  EXPECT_EQ(drive.SerialNumber(), "1234-ABCD");
  EXPECT_EQ(drive.DiskSize(), 100000000000);
  EXPECT_EQ(drive.DiskFree(), 40000000000);
  EXPECT_EQ(drive.SectorsPerCluster(), 8u);
  EXPECT_EQ(drive.BytesPerSector(), 512u);
  EXPECT_EQ(drive.MaximumLength(), 255u);
  EXPECT_EQ(drive.Options(), FsBit(fsCaseIsPreserved) | FsBit(fsCaseSensitive) | FsBit(fsSupportsUnicode) |
                                 FsBit(fsPersistentACLs));
}

TEST_F(DriveObjectTest, EachFlagGivesItsOption) {
  struct Case {
    const char* name;
    uint32_t flags;
    TSysFileSystemOption option;
  };
  const Case cases[] = {
      {"case preserved", FILE_CASE_PRESERVED_NAMES_, fsCaseIsPreserved},
      {"case sensitive", FILE_CASE_SENSITIVE_SEARCH_, fsCaseSensitive},
      {"unicode", FILE_UNICODE_ON_DISK_, fsSupportsUnicode},
      {"acls", FILE_PERSISTENT_ACLS_, fsPersistentACLs},
      {"compression", FILE_FILE_COMPRESSION_, fsSupportsCompression},
      {"compressed volume", FILE_VOLUME_IS_COMPRESSED_, fsIsCompressed},
      {"quotas", FILE_VOLUME_QUOTAS_, fsSupportsQuotas},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fp.volumes.Drive('C').fileSystemFlags = c.flags;
    drive.Retrieve();
    EXPECT_EQ(drive.Options(), FsBit(c.option));
  }
}

TEST_F(DriveObjectTest, CompressedNtfsRootCountsAsCompressed) {
  fake::FakeDrive& c = fp.volumes.Drive('C');
  c.fileSystemFlags = 0;
  c.rootAttributes = FILE_ATTRIBUTE_DIRECTORY_ | FILE_ATTRIBUTE_COMPRESSED_;
  drive.Retrieve();
  EXPECT_TRUE(drive.HasOption(fsIsCompressed));

  c.fileSystem = "FAT32";  // only NTFS roots are asked
  drive.Retrieve();
  EXPECT_FALSE(drive.HasOption(fsIsCompressed));
}

TEST_F(DriveObjectTest, OptionsAreRebuiltOnEveryRetrieval) {
  fp.volumes.Drive('C').fileSystemFlags = FILE_VOLUME_QUOTAS_ | FILE_UNICODE_ON_DISK_;
  fake::FakeDrive e;
  e.fileSystemFlags = FILE_UNICODE_ON_DISK_;
  e.totalBytes = 1000;
  fp.volumes.AddDrive('E', e);
  drive.Retrieve();
  ASSERT_TRUE(drive.HasOption(fsSupportsQuotas));
  drive.SetDrive('E');
  EXPECT_FALSE(drive.HasOption(fsSupportsQuotas));
  EXPECT_TRUE(drive.HasOption(fsSupportsUnicode));
}

TEST_F(DriveObjectTest, EmptyCdRomClearsVolumeFacts) {
  drive.Retrieve();  // C: first, so there is something to clear
  drive.SetDrive('D');
  EXPECT_EQ(drive.Drive(), 'D');
  EXPECT_EQ(drive.DriveType(), TSysDriveType::dtCDROM);
  EXPECT_EQ(drive.DiskSize(), -1);
  EXPECT_EQ(drive.DiskFree(), -1);
  EXPECT_EQ(drive.VolumeLabel(), "");
  EXPECT_EQ(drive.FileSystem(), "");
  EXPECT_EQ(drive.SerialNumber(), "");
  EXPECT_EQ(drive.SectorsPerCluster(), 0u);
  EXPECT_EQ(drive.BytesPerSector(), 0u);
  EXPECT_EQ(drive.MaximumLength(), 0u);
  EXPECT_EQ(drive.Options(), 0);
}

TEST_F(DriveObjectTest, SerialWithZeroHighWordKeepsItsZeros) {
  fp.volumes.Drive('C').serial = 0x0000ABCD;
  drive.Retrieve();
  EXPECT_EQ(drive.SerialNumber(), "0000-ABCD");
  fp.volumes.Drive('C').serial = 0;
  drive.Retrieve();
  EXPECT_EQ(drive.SerialNumber(), "0000-0000");
}

TEST_F(DriveObjectTest, SameLetterDoesNotRetrieveLowerCaseDoes) {
  drive.SetDrive('C');
  EXPECT_EQ(fp.volumes.volumeQueries, 0);
  drive.SetDrive('c');
  EXPECT_EQ(drive.Drive(), 'C');
  EXPECT_EQ(fp.volumes.volumeQueries, 1);
  EXPECT_EQ(drive.VolumeLabel(), "SYSTEM");
  drive.SetDrive('c');  // the selector's letters are lower case: every choice re-reads
  EXPECT_EQ(fp.volumes.volumeQueries, 2);
}

TEST_F(DriveObjectTest, NonLetterTakesCurrentDirectoryDrive) {
  struct Case {
    const char* name;
    const char* currentDirectory;
    char expected;
  };
  const Case cases[] = {
      {"drive of the current directory", "D:\\Work", 'D'},
      {"lower-case current directory", "e:\\src", 'E'},
      {"network path without letter", "\\\\server\\share", 'C'},
      {"no current directory", "", 'C'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fp.system.currentDirectory = c.currentDirectory;
    TSysDriveObject d(ctx);
    d.SetDrive('X');  // move away so that the next one is not ignored as unchanged
    d.SetDrive('1');
    EXPECT_EQ(d.Drive(), c.expected);
  }
  fp.system.currentDirectory = "D:\\";
  drive.SetDrive('\0');  // the selector with no drive
  EXPECT_EQ(drive.Drive(), 'D');
}

TEST_F(DriveObjectTest, NetworkDriveWithFailingSizeQueryStillReadsVolume) {
  fake::FakeDrive n;
  n.type = DRIVE_REMOTE_;
  n.label = "SHARE";
  n.serial = 0xCAFE0001;
  fp.volumes.AddDrive('N', n);
  fp.volumes.freeSpaceExFails = true;
  drive.SetDrive('n');
  EXPECT_EQ(drive.DriveType(), TSysDriveType::dtNetwork);
  EXPECT_EQ(drive.DiskSize(), -1);
  EXPECT_EQ(drive.VolumeLabel(), "SHARE");
  EXPECT_EQ(drive.SerialNumber(), "CAFE-0001");
}

TEST_F(DriveObjectTest, VanishedVolumeLeavesNothingOfThePreviousDrive) {
  fake::FakeDrive n;
  n.type = DRIVE_REMOTE_;
  n.mediaPresent = false;  // a disconnected share: every query fails
  fp.volumes.AddDrive('N', n);
  drive.Retrieve();
  drive.SetDrive('N');
  EXPECT_EQ(drive.DriveType(), TSysDriveType::dtNetwork);
  EXPECT_EQ(drive.VolumeLabel(), "");
  EXPECT_EQ(drive.SerialNumber(), "");
  EXPECT_EQ(drive.FileSystem(), "");
  EXPECT_EQ(drive.Options(), 0);
}

TEST_F(DriveObjectTest, EarlyWindows95SizesFromClusters) {
  fp.system.UseWindows95();
  fp.volumes.freeSpaceExMissing = true;
  drive.Retrieve();
  const int64_t cluster = 512 * 8;
  EXPECT_EQ(drive.DiskSize(), cluster * (100000000000 / cluster));
  EXPECT_EQ(drive.DiskFree(), cluster * (40000000000 / cluster));
  EXPECT_EQ(fp.volumes.callsToMissingFunction, 0);
}

TEST_F(DriveObjectTest, SettingLabelWritesCommitsAndReadsBack) {
  Capture();
  drive.Retrieve();
  drive.SetVolumeLabel("BACKUP");
  ASSERT_EQ(fp.volumes.labelWrites.size(), 1u);
  EXPECT_EQ(fp.volumes.labelWrites[0].first, 'C');
  EXPECT_EQ(fp.volumes.labelWrites[0].second, "BACKUP");
  EXPECT_EQ(drive.VolumeLabel(), "BACKUP");
  EXPECT_FALSE(drive.HasChange("Disk:Label"));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].name, "Disk:Label");
  EXPECT_EQ(reports[0].oldValue, "SYSTEM");
  EXPECT_EQ(reports[0].newValue, "BACKUP");

  drive.SetVolumeLabel("BACKUP");  // unchanged: nothing written
  EXPECT_EQ(fp.volumes.labelWrites.size(), 1u);
}

TEST_F(DriveObjectTest, RefusedLabelRaisesSystemErrorAndKeepsChangeRecorded) {
  Capture();
  drive.Retrieve();
  fp.volumes.labelWriteFails = true;
  fp.volumes.labelWriteError = 5;
  try {
    drive.SetVolumeLabel("NOPE");
    FAIL() << "no error raised";
  } catch (const EOSError& e) {
    EXPECT_STREQ(e.what(), "System Error.  Code: 5.\r\nAccess is denied.");
    EXPECT_EQ(e.ErrorCode(), 5u);
  }
  EXPECT_EQ(drive.VolumeLabel(), "SYSTEM");
  EXPECT_TRUE(drive.HasChange("Disk:Label"));
  EXPECT_TRUE(reports.empty());

  fp.volumes.labelWriteError = 0;
  try {
    drive.SetVolumeLabel("NOPE");
    FAIL() << "no error raised";
  } catch (const EOSError& e) {
    EXPECT_STREQ(e.what(), "A call to an OS function failed");
  }
}

TEST_F(DriveObjectTest, PublishedDriveAndLabelActOthersDoNot) {
  drive.Retrieve();
  SetProp(drive, "DiskSize", PropValue(int64_t(5)));
  SetProp(drive, "FileSystem", PropValue(AnsiString("FAT")));
  SetProp(drive, "Options", PropValue(int64_t(0x7F)));
  EXPECT_EQ(drive.DiskSize(), 100000000000);
  EXPECT_EQ(drive.FileSystem(), "NTFS");
  EXPECT_NE(drive.Options(), 0x7F);

  SetProp(drive, "Drive", PropValue(AnsiString("d")));
  EXPECT_EQ(GetStrProp(drive, "Drive"), "D");
  EXPECT_EQ(GetIntProp(drive, "DriveType"), int64_t(TSysDriveType::dtCDROM));
}

class DriveComponentTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
};

TEST_F(DriveComponentTest, AutoRetrieveReadsDriveCWhenLoaded) {
  TSysDrive* c = new TSysDrive(&root);
  ASSERT_NE(c->Drive(), nullptr);
  EXPECT_EQ(GetObjectProp(*c, "Drive"), c->Drive());
  c->SetLoading(true);
  SetProp(*c, "AutoRetrieve", PropValue(int64_t(1)));
  EXPECT_EQ(c->Drive()->SerialNumber(), "");
  c->Loaded();
  EXPECT_TRUE(c->Retrieved());
  EXPECT_EQ(c->Drive()->SerialNumber(), "1234-ABCD");
  EXPECT_EQ(c->Drive()->VolumeLabel(), "SYSTEM");
  EXPECT_EQ(c->Drive()->FileSystem(), "NTFS");
}

TEST_F(DriveComponentTest, LabelChangeReachesTheLog) {
  TSysDrive* c = new TSysDrive(&root);
  TSysLog* log = new TSysLog(&root);
  c->SetSysLog(log);
  std::vector<AnsiString> lines;
  log->OnLog = [&](TObject*, const AnsiString& n, const AnsiString& o, const AnsiString& v, TDateTime) {
    lines.push_back(n + ":" + o + " - " + v);
  };
  c->Refresh();
  c->Drive()->SetVolumeLabel("WORK");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Disk:Label:SYSTEM - WORK");
}

TEST_F(DriveComponentTest, StartComponentsRegisteredForWindowDescriptions) {
  RegisterSysinfoClasses();
  for (const char* name : {"TSysDrive", "TSysDisplay", "TSysNetwork", "TSysKeyboard", "TSysLocale"}) {
    SCOPED_TRACE(name);
    auto* c = dynamic_cast<TSysBaseComponent*>(CreateComponent(name, &root));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->ClassName(), name);
    EXPECT_NE(c->Object(), nullptr);
    EXPECT_FALSE(c->AutoRetrieve());
  }
}

}  // namespace
}  // namespace vsi
