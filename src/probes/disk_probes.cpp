#include "probes/disk_probes.h"

#include "framework/ascii.h"
#include "framework/context.h"
#include "framework/registry_access.h"
#include "platform/platform.h"

namespace vsi {

const EnumInfo& DriveTypeNames() {
  static const EnumInfo names{{"dtUnknown", "dtNoDrive", "dtFloppy", "dtFixed", "dtNetwork", "dtCDROM", "dtRAM"}};
  return names;
}

AnsiString SerialNumberText(uint32_t serial) {
  static const char kDigits[] = "0123456789ABCDEF";
  AnsiString out;
  for (int shift = 28; shift >= 0; shift -= 4) {
    out += kDigits[(serial >> shift) & 0xF];
    if (shift == 16) out += '-';
  }
  return out;
}

DiskSpace QueryDiskSpace(IVolumes& volumes, const std::string& root) {
  DiskSpace out;
  if (volumes.HasDiskFreeSpaceEx()) {
    DiskFreeSpace s;
    if (volumes.GetDiskFreeSpaceEx(root, s)) {
      out.size = static_cast<int64_t>(s.totalBytes);
      out.free = static_cast<int64_t>(s.freeBytesAvailable);
    }
    return out;
  }
  DiskFreeSpaceClusters c;
  if (volumes.GetDiskFreeSpace(root, c)) {
    int64_t cluster = int64_t(c.bytesPerSector) * int64_t(c.sectorsPerCluster);
    out.size = cluster * int64_t(c.totalClusters);
    out.free = cluster * int64_t(c.freeClusters);
  }
  return out;
}

// --- TDiskInfo ---

const ClassInfo& TDiskInfo::StaticClass() {
  static const ClassInfo info = ClassBuilder<TDiskInfo>("TDiskInfo", &TComponent::StaticClass())
                                    .Creatable()
                                    .Text("Disk", &TDiskInfo::DiskText, &TDiskInfo::SetDiskText)
                                    .Text("SerialNumberStr", &TDiskInfo::SerialNumberStr, &TDiskInfo::DiscardText)
                                    .Int("SerialNumber", &TDiskInfo::SerialNumber, &TDiskInfo::DiscardInt)
                                    .Text("VolumeLabel", &TDiskInfo::VolumeLabel, &TDiskInfo::DiscardText)
                                    .Text("FileSystem", &TDiskInfo::FileSystem, &TDiskInfo::DiscardText)
                                    .Enum("DriveType", DriveTypeNames(), &TDiskInfo::DriveType,
                                          &TDiskInfo::DiscardType)
                                    .Int("DiskSize", &TDiskInfo::DiskSize, &TDiskInfo::DiscardInt)
                                    .Int("DiskFree", &TDiskInfo::DiskFree, &TDiskInfo::DiscardInt)
                                    .Build();
  return info;
}

TDiskInfo::TDiskInfo(TComponent* owner) : TComponent(owner) { SetDisk('C'); }

void TDiskInfo::SetDisk(char letter) {
  letter = AsciiUpper(letter);
  if (letter < 'A' || letter > 'Z') return;
  disk_ = letter;
  const std::string root = std::string(1, letter) + ":\\";
  IVolumes& volumes = Plat().volumes;

  // A drive without a volume gives zero and empty texts.
  VolumeInformation vi;
  if (!volumes.GetVolumeInformation(root, vi)) vi = VolumeInformation();
  serialNumber_ = static_cast<int32_t>(vi.serialNumber);
  serialNumberStr_ = SerialNumberText(vi.serialNumber);
  volumeLabel_ = vi.volumeName.substr(0, vi.volumeName.find('\0'));
  fileSystem_ = vi.fileSystemName.substr(0, vi.fileSystemName.find('\0'));

  uint32_t type = volumes.GetDriveType(root);
  driveType_ = type <= dtRAM ? static_cast<TDriveType>(type) : dtUnknown;

  DiskSpace space = QueryDiskSpace(volumes, root);
  diskSize_ = space.size;
  diskFree_ = space.free;
}

void TDiskInfo::RefreshSpace() {
  if (disk_ < 'A' || disk_ > 'Z') return;
  const char root[] = {disk_, ':', '\\', '\0'};
  DiskSpace space = QueryDiskSpace(Plat().volumes, root);
  diskSize_ = space.size;
  diskFree_ = space.free;
}

}  // namespace vsi
