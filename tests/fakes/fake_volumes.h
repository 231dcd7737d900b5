#pragma once
// Drives by letter with their type, label, serial, file system and sizes; removable drives may
// have no medium (then the volume and free-space calls fail); network connections; error mode.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/volumes.h"

namespace vsi::fake {

struct FakeDrive {
  uint32_t type = DRIVE_FIXED_;
  bool mediaPresent = true;
  std::string label;
  uint32_t serial = 0;
  std::string fileSystem = "NTFS";
  uint32_t maximumComponentLength = 255;
  uint32_t fileSystemFlags = 0x000700FF;
  uint64_t totalBytes = 0;
  uint64_t freeBytes = 0;            // total free
  uint64_t freeBytesAvailable = 0;   // free for this user (quotas)
  uint32_t bytesPerSector = 512;
  uint32_t sectorsPerCluster = 8;
  std::string remoteName;            // for DRIVE_REMOTE_: "\\server\share"
  uint32_t rootAttributes = 0x10;    // GetFileAttributes of the root (a directory)
};

class FakeVolumes : public IVolumes {
 public:
  // A: removable without medium, C: fixed NTFS "SYSTEM" 100 GB with 40 GB free, D: CD-ROM
  // without medium.
  FakeVolumes();

  // --- IVolumes ---
  uint32_t GetLogicalDrives() override;
  uint32_t GetDriveType(const std::string& root) override;
  bool GetVolumeInformation(const std::string& root, VolumeInformation& out) override;
  bool HasDiskFreeSpaceEx() override { return !freeSpaceExMissing; }
  bool GetDiskFreeSpaceEx(const std::string& root, DiskFreeSpace& out) override;
  bool GetDiskFreeSpace(const std::string& root, DiskFreeSpaceClusters& out) override;
  uint32_t SetErrorMode(uint32_t mode) override;
  WinError WNetGetConnection(const std::string& localName, std::string& remoteName) override;
  WinError WNetGetUser(std::string& userName) override;
  uint32_t GetFileAttributes(const std::string& path) override;
  bool SetVolumeLabel(const std::string& root, const std::string& label, uint32_t& lastError) override;
  WinError WNetEnumResources(uint32_t scope, std::vector<std::string>& remoteNames) override;

  // --- Arranging ---
  std::map<char, FakeDrive> drives;  // upper-case letters
  void AddDrive(char letter, FakeDrive drive) { drives[Upper(letter)] = std::move(drive); }
  void RemoveDrive(char letter) { drives.erase(Upper(letter)); }
  FakeDrive& Drive(char letter) { return drives[Upper(letter)]; }
  // The drive of the current directory, answered for an empty root.
  char currentDrive = 'C';
  // GetDiskFreeSpaceEx missing (an early 95 system: calling it anyway fails and is counted)
  // or failing.
  bool freeSpaceExMissing = false;
  bool freeSpaceExFails = false;
  int callsToMissingFunction = 0;
  std::string networkUser = "tester";
  WinError networkUserError = WinError::Success;
  // SetVolumeLabel: a non-zero code makes every write fail with it (0: fails with no code).
  bool labelWriteFails = false;
  uint32_t labelWriteError = 5;
  std::vector<std::pair<char, std::string>> labelWrites;
  // Network enumeration by scope (RESOURCE_CONNECTED_, RESOURCE_CONTEXT_); an error for a
  // scope makes its enumeration fail to open.
  std::map<uint32_t, std::vector<std::string>> networkResources;
  std::map<uint32_t, WinError> networkEnumErrors;

  // --- Inspecting ---
  uint32_t errorMode = 0;
  std::vector<uint32_t> errorModeHistory;  // every mode set, in order
  // Accesses to a drive without medium while critical errors were not suppressed: on a real
  // system each shows the "no disk in drive" box.
  int criticalErrorBoxes = 0;
  int volumeQueries = 0;

 private:
  static char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
  FakeDrive* Find(const std::string& root);
  bool Ready(FakeDrive& d);
};

}  // namespace vsi::fake
