#pragma once
// The drive object: one drive chosen by its letter, with its type, sizes, cluster geometry,
// volume label, serial number, file system and its capabilities; and its component.
#include <cstdint>

#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

// The system's drive-type number.
enum class TSysDriveType : uint8_t { dtUnknown, dtNoRootDir, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };
const EnumInfo& SysDriveTypeNames();

enum TSysFileSystemOption : uint8_t {
  fsCaseIsPreserved,
  fsCaseSensitive,
  fsSupportsUnicode,
  fsPersistentACLs,
  fsSupportsCompression,
  fsIsCompressed,
  fsSupportsQuotas,
};
// A set of TSysFileSystemOption: bit n is member n.
using TSysFileSystemOptions = uint8_t;
constexpr TSysFileSystemOptions FsBit(TSysFileSystemOption o) { return static_cast<uint8_t>(1u << o); }
const EnumInfo& SysFileSystemOptionNames();

// An operating-system call failed: "System Error.  Code: %d.\r\n%s", or "A call to an OS
// function failed" when the system gave no code.
class EOSError : public Exception {
 public:
  EOSError(const std::string& message, uint32_t code) : Exception(message), code_(code) {}
  uint32_t ErrorCode() const { return code_; }

 private:
  uint32_t code_;
};
[[noreturn]] void RaiseOSError(ISystem& system, uint32_t code);

class TSysDriveObject : public TSysObject {
  VSI_CLASS(TSysDriveObject)
  explicit TSysDriveObject(AppContext& context);

  TSysDriveType DriveType() const { return driveType_; }
  char Drive() const { return drive_; }
  // Retrieves; a lower-case letter always does, even for the stored drive. Anything but a
  // letter means the drive of the current directory, or C: when that has no letter.
  void SetDrive(char value);
  const AnsiString& FileSystem() const { return fileSystem_; }
  const AnsiString& SerialNumber() const { return serialNumber_; }
  const AnsiString& VolumeLabel() const { return volumeLabel_; }
  // Writes the label to the volume and reads it back; raises EOSError when the system refuses.
  void SetVolumeLabel(const AnsiString& value);
  int64_t DiskSize() const { return diskSize_; }
  int64_t DiskFree() const { return diskFree_; }
  uint32_t SectorsPerCluster() const { return sectorsPerCluster_; }
  uint32_t BytesPerSector() const { return bytesPerSector_; }
  uint32_t MaximumLength() const { return maximumLength_; }
  TSysFileSystemOptions Options() const { return options_; }
  bool HasOption(TSysFileSystemOption o) const { return (options_ & FsBit(o)) != 0; }

  void Retrieve() override;
  void Apply() override {}

  // Published forms.
  AnsiString DriveText() const { return AnsiString(1, drive_); }
  void SetDriveText(const AnsiString& text) { SetDrive(text.empty() ? '\0' : text[0]); }
  void DiscardText(const AnsiString&) {}
  void DiscardInt(int64_t) {}
  void DiscardType(TSysDriveType) {}

 private:
  std::string Root() const { return std::string(1, drive_) + ":\\"; }
  void ClearVolumeFacts();

  TSysDriveType driveType_ = TSysDriveType::dtUnknown;
  char drive_ = 'C';
  AnsiString fileSystem_, serialNumber_, volumeLabel_;
  int64_t diskSize_ = 0, diskFree_ = 0;
  uint32_t sectorsPerCluster_ = 0, bytesPerSector_ = 0, maximumLength_ = 0;
  TSysFileSystemOptions options_ = 0;
};

class TSysDrive : public TSysBaseComponent {
  VSI_CLASS(TSysDrive)
  explicit TSysDrive(TComponent* owner);
  TSysDriveObject* Drive() const { return static_cast<TSysDriveObject*>(Object()); }
  void SetDrive(TSysDriveObject*) {}
};

}  // namespace vsi
