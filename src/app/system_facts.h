#pragma once
// The facts of the machine that the main window shows, in one place: each is asked of the
// component that produces it once, kept, and read from here by the window's slots, by Copy all
// and by the report, so that none is computed twice and all three show the same values.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/types.h"
#include "sysinfo/drive.h"

namespace vsi {

class AppContext;
class TAVTools;
class TComponent;
class TDiskInfo;
class TOtherInfo;
class TSysDrive;
class TSysInfo;
class TSystemInfo;
class TSysWindows;

enum class Fact : uint8_t {
  CpuUsage,
  MemoryLoad,
  Screen,
  Processor,
  Vendor,
  Os,
  ServicePack,
  ComputerName,
  // Of the chosen drive:
  DiskSize,
  DiskFree,
  VolumeLabel,
  SerialNumber,
  FileSystem,
};
constexpr size_t kFactCount = 13;

// Where the window shows a fact, the label beside it (the row under Processor and the one
// under Operating System have none of their own and take the one above) and its key in the
// JSON report. Machine facts first, then the drive's, in the window's order.
struct FactRow {
  Fact fact;
  const char* slot;
  const char* captionLabel;
  const char* key;
};
extern const std::array<FactRow, kFactCount> kFactRows;
const FactRow& RowOf(Fact fact);
bool IsDriveFact(Fact fact);

// The components that produce the facts, by their names on the main window.
struct FactSources {
  TAVTools& host;         // AVTools1
  TSysInfo& info;         // SysInfo1
  TSysDrive& drive;       // SysDrive1
  TDiskInfo& disk;        // DiskInfo1
  TSysWindows& windows;   // SysWindows1
  TSystemInfo& vendor;    // ZeruzoRazo1
  TOtherInfo& screen;     // OtherInfo1
  // Finds them among the components of `owner`; raises when one is missing.
  static FactSources Of(TComponent& owner);
};

// One drive as a report lists it; a value that cannot be read is missing.
struct DriveFacts {
  char letter = '\0';  // upper case
  TSysDriveType type = TSysDriveType::dtUnknown;
  // As the window shows them (grouped digits; -1 for a size that cannot be read).
  std::array<std::optional<AnsiString>, 5> texts;  // size, free, label, serial, file system
  std::optional<int64_t> size, free;               // null when they cannot be read
  // Label, serial number and file system are missing when the volume cannot be read.
  bool volumeRead = false;
};
// The five drive facts in the window's order, and the place of one in DriveFacts::texts.
extern const std::array<Fact, 5> kDriveFacts;
size_t DriveFactIndex(Fact fact);

class SystemFacts {
 public:
  SystemFacts(AppContext& context, FactSources sources);

  // Asks the fact's source (the CPU usage: a new sample; a drive fact: the drive read last),
  // keeps the value and returns it as the window shows it. Raises what the source raises; the
  // fact is then missing until a later read succeeds.
  AnsiString Read(Fact fact);
  // The kept value again in the formats of now (a language brings its own digit grouping),
  // without asking its source; null when it is missing.
  std::optional<AnsiString> Reformat(Fact fact);
  // Points the drive object and the disk probe at a drive, which read it again, as a choice in
  // the drive selector does. Its facts are then missing until read.
  void ChooseDrive(char letter);
  // Asks the fact's source again and keeps the answer; true when the text it shows changed
  // (also when it was missing). An answer equal to the kept one is not formatted again.
  bool Update(Fact fact);
  // Has the disk probe read the chosen drive's size and free space again, for Update.
  void RereadDiskSpace();
  // The network configuration text, as captured.
  void SetNetwork(const AnsiString& text) { network_ = text; }

  // The fact as the window shows it (numbers in the formats of when it was read); null when it
  // is missing.
  std::optional<AnsiString> Text(Fact fact) const;
  // Missing, or a size that could not be read (-1): what a report leaves empty.
  bool Missing(Fact fact) const;
  std::optional<double> CpuUsagePercent() const;
  // The memory load as a number; null when its text holds none.
  std::optional<int> MemoryLoadPercent() const;
  const std::optional<AnsiString>& Network() const { return network_; }
  // The chosen drive, with what has been read of it.
  DriveFacts Drive() const;

 private:
  struct Value {
    bool known = false;
    AnsiString text;       // texts as their sources give them
    double fraction = 0;   // the CPU usage
    int64_t bytes = 0;     // the disk sizes, -1 when they cannot be read
    AnsiString shown;      // as the slot shows it
  };
  Value Ask(Fact fact);
  AnsiString Shown(Fact fact, const Value& v) const;
  AnsiString ServicePack();

  AppContext& context_;
  FactSources sources_;
  std::array<Value, kFactCount> values_;
  std::optional<AnsiString> network_;
};

}  // namespace vsi
