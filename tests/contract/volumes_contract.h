#pragma once
// What every IVolumes must answer for a fixed drive C: and for a letter without a drive, as
// GetLogicalDrives, GetDriveTypeA, GetVolumeInformationA, GetDiskFreeSpace(Ex)A and
// GetFileAttributesA do: run against the in-memory volumes and against the system's.
//
// A subject gives `IVolumes& Volumes()` and `char Absent()`: a letter that names no drive.
#include <gtest/gtest.h>

#include <string>

#include "platform/volumes.h"

namespace vsi::contract {

template <class Subject>
class VolumesContract : public ::testing::Test {
 protected:
  Subject subject;
  IVolumes& volumes = subject.Volumes();
  std::string absent = std::string(1, subject.Absent()) + ":\\";
};

TYPED_TEST_SUITE_P(VolumesContract);

TYPED_TEST_P(VolumesContract, TheDriveMaskHasBitZeroForAAndNothingPastZ) {
  const uint32_t mask = this->volumes.GetLogicalDrives();
  EXPECT_NE(mask & (1u << ('C' - 'A')), 0u) << std::hex << mask;
  EXPECT_EQ(mask & (1u << (this->subject.Absent() - 'A')), 0u) << std::hex << mask;
  EXPECT_EQ(mask >> 26, 0u) << std::hex << mask;
}

TYPED_TEST_P(VolumesContract, DriveTypesOfAFixedDriveAndOfNone) {
  EXPECT_EQ(this->volumes.GetDriveType("C:\\"), uint32_t(DRIVE_FIXED_));
  EXPECT_EQ(this->volumes.GetDriveType("c:\\"), uint32_t(DRIVE_FIXED_)) << "any case";
  EXPECT_EQ(this->volumes.GetDriveType(this->absent), uint32_t(DRIVE_NO_ROOT_DIR_));
}

TYPED_TEST_P(VolumesContract, VolumeInformationOfCAndNoneForAMissingDrive) {
  VolumeInformation c;
  ASSERT_TRUE(this->volumes.GetVolumeInformation("C:\\", c));
  EXPECT_EQ(c.fileSystemName, "NTFS");
  EXPECT_EQ(c.maximumComponentLength, 255u);
  EXPECT_NE(c.fileSystemFlags & FILE_CASE_PRESERVED_NAMES_, 0u);
  VolumeInformation none;
  none.fileSystemName = "untouched";
  EXPECT_FALSE(this->volumes.GetVolumeInformation(this->absent, none));
  EXPECT_EQ(none.fileSystemName, "untouched");
}

TYPED_TEST_P(VolumesContract, FreeSpaceAddsUpInBytesAndInClusters) {
  DiskFreeSpace bytes;
  ASSERT_TRUE(this->volumes.GetDiskFreeSpaceEx("C:\\", bytes));
  EXPECT_GT(bytes.totalBytes, 0u);
  EXPECT_LE(bytes.totalFreeBytes, bytes.totalBytes);
  EXPECT_LE(bytes.freeBytesAvailable, bytes.totalFreeBytes) << "what this user may use is part of what is free";
  DiskFreeSpaceClusters clusters;
  ASSERT_TRUE(this->volumes.GetDiskFreeSpace("C:\\", clusters));
  EXPECT_GE(clusters.bytesPerSector, 512u);
  EXPECT_EQ(clusters.bytesPerSector & (clusters.bytesPerSector - 1), 0u) << "a power of two";
  EXPECT_GT(clusters.sectorsPerCluster, 0u);
  const uint64_t cluster = uint64_t(clusters.bytesPerSector) * clusters.sectorsPerCluster;
  EXPECT_LE(clusters.freeClusters, clusters.totalClusters);
  EXPECT_LE(uint64_t(clusters.totalClusters) * cluster, bytes.totalBytes);
  EXPECT_GT(uint64_t(clusters.totalClusters) * cluster + cluster, bytes.totalBytes) << "the same disk, in clusters";
  DiskFreeSpace none;
  EXPECT_FALSE(this->volumes.GetDiskFreeSpaceEx(this->absent, none));
  EXPECT_FALSE(this->volumes.GetDiskFreeSpace(this->absent, clusters));
}

TYPED_TEST_P(VolumesContract, TheRootIsADirectoryAndAMissingOneHasNoAttributes) {
  const uint32_t root = this->volumes.GetFileAttributes("C:\\");
  ASSERT_NE(root, 0xFFFFFFFFu);
  EXPECT_NE(root & 0x10u, 0u) << "FILE_ATTRIBUTE_DIRECTORY";
  EXPECT_EQ(this->volumes.GetFileAttributes(this->absent), 0xFFFFFFFFu);
}

REGISTER_TYPED_TEST_SUITE_P(VolumesContract, TheDriveMaskHasBitZeroForAAndNothingPastZ,
                            DriveTypesOfAFixedDriveAndOfNone, VolumeInformationOfCAndNoneForAMissingDrive,
                            FreeSpaceAddsUpInBytesAndInClusters, TheRootIsADirectoryAndAMissingOneHasNoAttributes);

}  // namespace vsi::contract
