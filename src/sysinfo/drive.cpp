#include "sysinfo/drive.h"

#include "framework/ascii.h"
#include "framework/context.h"
#include "platform/platform.h"
#include "probes/disk_probes.h"

namespace vsi {

const EnumInfo& SysDriveTypeNames() {
  static const EnumInfo names{{"dtUnknown", "dtNoRootDir", "dtFloppy", "dtFixed", "dtNetwork", "dtCDROM", "dtRAM"}};
  return names;
}

const EnumInfo& SysFileSystemOptionNames() {
  static const EnumInfo names{{"fsCaseIsPreserved", "fsCaseSensitive", "fsSupportsUnicode", "fsPersistentACLs",
                               "fsSupportsCompression", "fsIsCompressed", "fsSupportsQuotas"}};
  return names;
}

void RaiseOSError(ISystem& system, uint32_t code) {
  if (code == 0) throw EOSError("A call to an OS function failed", 0);
  throw EOSError(Format("System Error.  Code: %d.\r\n%s", int(code), system.SysErrorMessage(code).c_str()), code);
}

namespace {
bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
}  // namespace

const ClassInfo& TSysDriveObject::StaticClass() {
  using O = TSysDriveObject;
  static const ClassInfo info = ClassBuilder<O>("TSysDriveObject", &TSysObject::StaticClass())
                                    .Enum("DriveType", SysDriveTypeNames(), &O::DriveType, &O::DiscardType)
                                    .Text("Drive", &O::DriveText, &O::SetDriveText)
                                    .Text("FileSystem", &O::FileSystem, &O::DiscardText)
                                    .Text("SerialNumber", &O::SerialNumber, &O::DiscardText)
                                    .Text("VolumeLabel", &O::VolumeLabel, &O::SetVolumeLabel)
                                    .Int("DiskSize", &O::DiskSize, &O::DiscardInt)
                                    .Int("DiskFree", &O::DiskFree, &O::DiscardInt)
                                    .Int("SectorsPerCluster", &O::SectorsPerCluster, &O::DiscardInt)
                                    .Int("BytesPerSector", &O::BytesPerSector, &O::DiscardInt)
                                    .Int("MaximumLength", &O::MaximumLength, &O::DiscardInt)
                                    .Set("Options", SysFileSystemOptionNames(), &O::Options, &O::DiscardInt)
                                    .Build();
  return info;
}

TSysDriveObject::TSysDriveObject(AppContext& context) : TSysObject(context) {}

void TSysDriveObject::SetDrive(char value) {
  // Compared before the case is changed: the drive selector's lower-case letters always
  // retrieve.
  if (value == drive_) return;
  char letter = AsciiUpper(value);
  if (!IsUpperLetter(letter)) {
    std::string dir = Plat().system.GetCurrentDirectory();
    letter = dir.empty() ? '\0' : AsciiUpper(dir[0]);
    if (!IsUpperLetter(letter)) letter = 'C';  // a network path has no letter
  }
  drive_ = letter;
  Retrieve();
}

void TSysDriveObject::ClearVolumeFacts() {
  volumeLabel_.clear();
  fileSystem_.clear();
  serialNumber_.clear();
  sectorsPerCluster_ = 0;
  bytesPerSector_ = 0;
  maximumLength_ = 0;
  options_ = 0;
}

void TSysDriveObject::Retrieve() {
  IVolumes& volumes = Plat().volumes;
  const std::string root = Root();
  uint32_t type = volumes.GetDriveType(root);
  driveType_ = type <= static_cast<uint32_t>(TSysDriveType::dtRAM) ? static_cast<TSysDriveType>(type)
                                                                    : TSysDriveType::dtUnknown;
  DiskSpace space = QueryDiskSpace(volumes, root);
  diskSize_ = space.size;
  diskFree_ = space.free;
  // No medium: nothing more to ask.
  if (diskSize_ == -1 && driveType_ != TSysDriveType::dtNetwork) {
    ClearVolumeFacts();
    return;
  }

  DiskFreeSpaceClusters clusters;
  if (volumes.GetDiskFreeSpace(root, clusters)) {
    sectorsPerCluster_ = clusters.sectorsPerCluster;
    bytesPerSector_ = clusters.bytesPerSector;
  } else {
    sectorsPerCluster_ = 0;
    bytesPerSector_ = 0;
  }

  VolumeInformation vi;
  if (!volumes.GetVolumeInformation(root, vi)) {
    // A network drive that is gone, or a volume that went away between the calls: nothing
    // from an earlier drive may stay behind.
    uint32_t spc = sectorsPerCluster_, bps = bytesPerSector_;
    ClearVolumeFacts();
    sectorsPerCluster_ = spc;
    bytesPerSector_ = bps;
    return;
  }
  maximumLength_ = vi.maximumComponentLength;
  serialNumber_ = SerialNumberText(vi.serialNumber);
  volumeLabel_ = vi.volumeName.substr(0, vi.volumeName.find('\0'));
  fileSystem_ = vi.fileSystemName.substr(0, vi.fileSystemName.find('\0'));

  const uint32_t flags = vi.fileSystemFlags;
  TSysFileSystemOptions o = 0;
  if (flags & FILE_CASE_PRESERVED_NAMES_) o |= FsBit(fsCaseIsPreserved);
  if (flags & FILE_CASE_SENSITIVE_SEARCH_) o |= FsBit(fsCaseSensitive);
  if (flags & FILE_UNICODE_ON_DISK_) o |= FsBit(fsSupportsUnicode);
  if (flags & FILE_PERSISTENT_ACLS_) o |= FsBit(fsPersistentACLs);
  if (flags & FILE_FILE_COMPRESSION_) o |= FsBit(fsSupportsCompression);
  if (flags & FILE_VOLUME_IS_COMPRESSED_) o |= FsBit(fsIsCompressed);
  if (fileSystem_ == "NTFS") {
    uint32_t attributes = volumes.GetFileAttributes(root);
    if (attributes != INVALID_FILE_ATTRIBUTES_ && (attributes & FILE_ATTRIBUTE_COMPRESSED_))
      o |= FsBit(fsIsCompressed);
  }
  if (flags & FILE_VOLUME_QUOTAS_) o |= FsBit(fsSupportsQuotas);
  options_ = o;
}

void TSysDriveObject::SetVolumeLabel(const AnsiString& value) {
  if (value == volumeLabel_) return;
  RecordChange("Disk:Label", volumeLabel_, value);
  uint32_t error = 0;
  if (!Plat().volumes.SetVolumeLabel(Root(), value, error)) RaiseOSError(Plat().system, error);
  CommitChange("Disk:Label");
  Retrieve();
}

const ClassInfo& TSysDrive::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysDrive>("TSysDrive", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Drive", TSysDriveObject::StaticClass(), &TSysDrive::Drive,
                                            &TSysDrive::SetDrive)
                                    .Build();
  return info;
}

TSysDrive::TSysDrive(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysDriveObject>(Context()));
}

}  // namespace vsi
