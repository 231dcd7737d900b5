#pragma once
// One drive's facts for the main window (TDiskInfo), and the size query behind them.
#include <cstdint>

#include "framework/component.h"
#include "platform/volumes.h"

namespace vsi {

enum TDriveType : uint8_t { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };
const EnumInfo& DriveTypeNames();

// "3473-1000": eight upper-case hex digits, a dash after the fourth.
AnsiString SerialNumberText(uint32_t serial);

class TDiskInfo : public TComponent {
  VSI_CLASS(TDiskInfo)
  explicit TDiskInfo(TComponent* owner);

  char Disk() const { return disk_; }
  // Upper-cases the letter and re-reads everything; anything but A..Z changes nothing.
  void SetDisk(char letter);
  // Reads the size and free space again, the rest kept: a disk fills, a medium goes (-1 each
  // when they cannot be read).
  void RefreshSpace();
  const AnsiString& SerialNumberStr() const { return serialNumberStr_; }
  int32_t SerialNumber() const { return serialNumber_; }
  const AnsiString& VolumeLabel() const { return volumeLabel_; }
  const AnsiString& FileSystem() const { return fileSystem_; }
  TDriveType DriveType() const { return driveType_; }
  // -1 when the size cannot be read.
  int64_t DiskSize() const { return diskSize_; }
  int64_t DiskFree() const { return diskFree_; }

  // Published forms: the letter as one-character text; read-only values take and drop a value.
  AnsiString DiskText() const { return AnsiString(1, disk_); }
  void SetDiskText(const AnsiString& text) { SetDisk(text.empty() ? '\0' : text[0]); }
  void DiscardText(const AnsiString&) {}
  void DiscardInt(int64_t) {}
  void DiscardType(TDriveType) {}

 private:
  char disk_ = '\0';
  AnsiString serialNumberStr_;
  int32_t serialNumber_ = 0;
  AnsiString volumeLabel_, fileSystem_;
  TDriveType driveType_ = dtUnknown;
  int64_t diskSize_ = -1, diskFree_ = -1;
};

// Total and caller-available bytes of a root, -1 each when they cannot be read; falls back to
// the cluster counts where the system lacks the 64-bit call.
struct DiskSpace {
  int64_t size = -1, free = -1;
};
DiskSpace QueryDiskSpace(IVolumes& volumes, const std::string& root);

}  // namespace vsi
