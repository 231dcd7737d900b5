#pragma once
// Volumes and network connections (kernel32, mpr).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vsi {

enum DriveType : uint32_t {
  DRIVE_UNKNOWN_ = 0,
  DRIVE_NO_ROOT_DIR_ = 1,
  DRIVE_REMOVABLE_ = 2,
  DRIVE_FIXED_ = 3,
  DRIVE_REMOTE_ = 4,
  DRIVE_CDROM_ = 5,
  DRIVE_RAMDISK_ = 6,
};

constexpr uint32_t SEM_FAILCRITICALERRORS_ = 0x0001;
constexpr uint32_t RESOURCE_CONNECTED_ = 1;
constexpr uint32_t RESOURCE_CONTEXT_ = 5;

// File-system flags of GetVolumeInformationA.
constexpr uint32_t FILE_CASE_SENSITIVE_SEARCH_ = 0x1;
constexpr uint32_t FILE_CASE_PRESERVED_NAMES_ = 0x2;
constexpr uint32_t FILE_UNICODE_ON_DISK_ = 0x4;
constexpr uint32_t FILE_PERSISTENT_ACLS_ = 0x8;
constexpr uint32_t FILE_FILE_COMPRESSION_ = 0x10;
constexpr uint32_t FILE_VOLUME_QUOTAS_ = 0x20;
constexpr uint32_t FILE_VOLUME_IS_COMPRESSED_ = 0x8000;

struct VolumeInformation {
  std::string volumeName;
  uint32_t serialNumber = 0;
  uint32_t maximumComponentLength = 0;
  uint32_t fileSystemFlags = 0;
  std::string fileSystemName;
};

struct DiskFreeSpace {
  uint64_t freeBytesAvailable = 0, totalBytes = 0, totalFreeBytes = 0;
};

struct DiskFreeSpaceClusters {
  uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
};

class IVolumes {
 public:
  virtual ~IVolumes() = default;
  virtual uint32_t GetLogicalDrives() = 0;
  virtual uint32_t GetDriveType(const std::string& root) = 0;
  // GetVolumeInformationA; false on failure, `out` untouched.
  virtual bool GetVolumeInformation(const std::string& root, VolumeInformation& out) = 0;
  // False on an early 95-family system whose kernel32 lacks GetDiskFreeSpaceExA.
  virtual bool HasDiskFreeSpaceEx() = 0;
  virtual bool GetDiskFreeSpaceEx(const std::string& root, DiskFreeSpace& out) = 0;
  virtual bool GetDiskFreeSpace(const std::string& root, DiskFreeSpaceClusters& out) = 0;
  // SetErrorMode: returns the previous mode.
  virtual uint32_t SetErrorMode(uint32_t mode) = 0;
  // WNetGetConnectionA for a local name such as "E:".
  virtual WinError WNetGetConnection(const std::string& localName, std::string& remoteName) = 0;
  // WNetGetUserA (null name: the default user).
  virtual WinError WNetGetUser(std::string& userName) = 0;
  // GetFileAttributesA: 0xFFFFFFFF (INVALID_FILE_ATTRIBUTES) on failure.
  virtual uint32_t GetFileAttributes(const std::string& path) = 0;
  // SetVolumeLabelA; on failure `lastError` is GetLastError (0 when the system set none).
  virtual bool SetVolumeLabel(const std::string& root, const std::string& label, uint32_t& lastError) = 0;
  // WNetOpenEnumA(scope, all types, all usages, no container), WNetEnumResourceA one entry at a
  // time until it answers anything but success, WNetCloseEnum: the entries' remote names in
  // order (empty for an entry without one). An enumeration that cannot be opened answers its
  // error and leaves `remoteNames` empty.
  virtual WinError WNetEnumResources(uint32_t scope, std::vector<std::string>& remoteNames) = 0;
};

}  // namespace vsi
