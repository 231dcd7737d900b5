#include "fakes/fake_volumes.h"

namespace vsi::fake {

FakeVolumes::FakeVolumes() {
  FakeDrive a;
  a.type = DRIVE_REMOVABLE_;
  a.mediaPresent = false;
  a.fileSystem = "FAT";
  drives['A'] = a;

  FakeDrive c;
  c.type = DRIVE_FIXED_;
  c.label = "SYSTEM";
  c.serial = 0x1234ABCD;
  c.fileSystem = "NTFS";
  c.totalBytes = 100ull * 1000 * 1000 * 1000;
  c.freeBytes = 40ull * 1000 * 1000 * 1000;
  c.freeBytesAvailable = c.freeBytes;
  drives['C'] = c;

  FakeDrive d;
  d.type = DRIVE_CDROM_;
  d.mediaPresent = false;
  d.fileSystem = "CDFS";
  d.bytesPerSector = 2048;
  d.sectorsPerCluster = 1;
  drives['D'] = d;
}

FakeDrive* FakeVolumes::Find(const std::string& root) {
  char letter = root.empty() ? currentDrive : Upper(root[0]);
  // "C:\" or "C:" name a drive; anything else is not a root directory.
  if (!root.empty() && (root.size() < 2 || root[1] != ':')) return nullptr;
  auto it = drives.find(letter);
  return it == drives.end() ? nullptr : &it->second;
}

bool FakeVolumes::Ready(FakeDrive& d) {
  if (d.mediaPresent) return true;
  if ((errorMode & SEM_FAILCRITICALERRORS_) == 0) ++criticalErrorBoxes;
  return false;
}

uint32_t FakeVolumes::GetLogicalDrives() {
  uint32_t mask = 0;
  for (const auto& [letter, d] : drives) {
    if (letter >= 'A' && letter <= 'Z') mask |= 1u << (letter - 'A');
  }
  return mask;
}

uint32_t FakeVolumes::GetDriveType(const std::string& root) {
  FakeDrive* d = Find(root);
  return d ? d->type : DRIVE_NO_ROOT_DIR_;
}

bool FakeVolumes::GetVolumeInformation(const std::string& root, VolumeInformation& out) {
  ++volumeQueries;
  FakeDrive* d = Find(root);
  if (!d || !Ready(*d)) return false;
  out.volumeName = d->label;
  out.serialNumber = d->serial;
  out.maximumComponentLength = d->maximumComponentLength;
  out.fileSystemFlags = d->fileSystemFlags;
  out.fileSystemName = d->fileSystem;
  return true;
}

bool FakeVolumes::GetDiskFreeSpaceEx(const std::string& root, DiskFreeSpace& out) {
  if (freeSpaceExMissing) {
    ++callsToMissingFunction;
    return false;
  }
  if (freeSpaceExFails) return false;
  FakeDrive* d = Find(root);
  if (!d || !Ready(*d)) return false;
  out.freeBytesAvailable = d->freeBytesAvailable;
  out.totalBytes = d->totalBytes;
  out.totalFreeBytes = d->freeBytes;
  return true;
}

bool FakeVolumes::GetDiskFreeSpace(const std::string& root, DiskFreeSpaceClusters& out) {
  FakeDrive* d = Find(root);
  if (!d || !Ready(*d)) return false;
  const uint64_t cluster = uint64_t(d->bytesPerSector) * d->sectorsPerCluster;
  if (cluster == 0) return false;
  auto clamp = [](uint64_t v) { return static_cast<uint32_t>(v > 0xFFFFFFFFull ? 0xFFFFFFFFull : v); };
  out.sectorsPerCluster = d->sectorsPerCluster;
  out.bytesPerSector = d->bytesPerSector;
  out.freeClusters = clamp(d->freeBytesAvailable / cluster);
  out.totalClusters = clamp(d->totalBytes / cluster);
  return true;
}

uint32_t FakeVolumes::SetErrorMode(uint32_t mode) {
  const uint32_t previous = errorMode;
  errorMode = mode;
  errorModeHistory.push_back(mode);
  return previous;
}

WinError FakeVolumes::WNetGetConnection(const std::string& localName, std::string& remoteName) {
  if (localName.size() < 2 || localName[1] != ':') return WinError::BadFormat;
  auto it = drives.find(Upper(localName[0]));
  if (it == drives.end() || it->second.type != DRIVE_REMOTE_ || it->second.remoteName.empty()) {
    return WinError::NotConnected;
  }
  remoteName = it->second.remoteName;
  return WinError::Success;
}

WinError FakeVolumes::WNetGetUser(std::string& userName) {
  if (networkUserError != WinError::Success) return networkUserError;
  userName = networkUser;
  return WinError::Success;
}

uint32_t FakeVolumes::GetFileAttributes(const std::string& path) {
  // Only roots are modelled: "C:\\" of a drive with its medium.
  if (path.size() != 3 || path[2] != '\\') return 0xFFFFFFFFu;
  FakeDrive* d = Find(path);
  if (!d || !Ready(*d)) return 0xFFFFFFFFu;
  return d->rootAttributes;
}

bool FakeVolumes::SetVolumeLabel(const std::string& root, const std::string& label, uint32_t& lastError) {
  FakeDrive* d = Find(root);
  if (!d) {
    lastError = static_cast<uint32_t>(WinError::PathNotFound);
    return false;
  }
  if (labelWriteFails) {
    lastError = labelWriteError;
    return false;
  }
  if (!Ready(*d)) {
    lastError = static_cast<uint32_t>(WinError::NotReady);
    return false;
  }
  d->label = label;
  labelWrites.emplace_back(Upper(root[0]), label);
  return true;
}

WinError FakeVolumes::WNetEnumResources(uint32_t scope, std::vector<std::string>& remoteNames) {
  remoteNames.clear();
  auto err = networkEnumErrors.find(scope);
  if (err != networkEnumErrors.end()) return err->second;
  auto it = networkResources.find(scope);
  if (it != networkResources.end()) remoteNames = it->second;
  return WinError::Success;
}

}  // namespace vsi::fake
