#include "app/system_facts.h"

#include "framework/context.h"
#include "probes/cpu_usage.h"
#include "probes/disk_probes.h"
#include "probes/host_probe.h"
#include "probes/screen_probe.h"
#include "probes/vendor_probe.h"
#include "sysinfo/general_info.h"
#include "sysinfo/windows_version.h"

namespace vsi {

const std::array<FactRow, kFactCount> kFactRows{{
    {Fact::CpuUsage, "WideLabel6", "WideLabel1", "cpu_usage_percent"},
    {Fact::MemoryLoad, "WideLabel7", "Label2", "memory_load_percent"},
    {Fact::Screen, "WideLabel9", "Label3", "screen"},
    {Fact::Processor, "WideLabel10", "Label4", "processor"},
    {Fact::Vendor, "WideLabel11", "Label4", "vendor"},
    {Fact::Os, "WideLabel8", "Label5", "os"},
    {Fact::ServicePack, "WideLabel39", "Label5", "service_pack"},
    {Fact::ComputerName, "WideLabel27", "Label12", "computer_name"},
    {Fact::DiskSize, "WideLabel22", "Label7", "size"},
    {Fact::DiskFree, "WideLabel23", "Label8", "free"},
    {Fact::VolumeLabel, "WideLabel24", "Label9", "label"},
    {Fact::SerialNumber, "WideLabel25", "Label10", "serial"},
    {Fact::FileSystem, "WideLabel26", "Label11", "file_system"},
}};

const std::array<Fact, 5> kDriveFacts{Fact::DiskSize, Fact::DiskFree, Fact::VolumeLabel, Fact::SerialNumber,
                                      Fact::FileSystem};

const FactRow& RowOf(Fact fact) { return kFactRows[static_cast<size_t>(fact)]; }

bool IsDriveFact(Fact fact) { return fact >= Fact::DiskSize; }

size_t DriveFactIndex(Fact fact) { return static_cast<size_t>(fact) - static_cast<size_t>(Fact::DiskSize); }

namespace {

template <class T>
T& Find(TComponent& owner, const char* name) {
  T* found = dynamic_cast<T*>(owner.FindComponent(name));
  if (!found) throw Exception(Format("Component %s not found", name));
  return *found;
}

}  // namespace

FactSources FactSources::Of(TComponent& owner) {
  return FactSources{Find<TAVTools>(owner, "AVTools1"),      Find<TSysInfo>(owner, "SysInfo1"),
                     Find<TSysDrive>(owner, "SysDrive1"),    Find<TDiskInfo>(owner, "DiskInfo1"),
                     Find<TSysWindows>(owner, "SysWindows1"), Find<TSystemInfo>(owner, "ZeruzoRazo1"),
                     Find<TOtherInfo>(owner, "OtherInfo1")};
}

SystemFacts::SystemFacts(AppContext& context, FactSources sources) : context_(context), sources_(sources) {}

AnsiString SystemFacts::ServicePack() {
  TSysWindows& windows = sources_.windows;
  if (windows.Retrieved()) return windows.Windows()->CSDVersion();
  try {
    windows.Refresh();
  } catch (const std::exception&) {
    // A value of the version key could not be read; the version record still can.
    OsVersionInfo record;
    if (!context_.platform().system.GetVersionEx(record)) throw;
    return TSysWindowsObject::CsdVersionText(record);
  }
  return windows.Windows()->CSDVersion();
}

SystemFacts::Value SystemFacts::Ask(Fact fact) {
  Value v;
  TSysDriveObject& drive = *sources_.drive.Drive();
  switch (fact) {
    case Fact::CpuUsage: v.fraction = sources_.host.CpuUsage(); break;
    case Fact::MemoryLoad: v.text = sources_.info.MemoryLoaded(); break;
    case Fact::Screen: v.text = sources_.screen.ScreenResolutionText(); break;
    case Fact::Processor: v.text = sources_.info.ProcessorType(); break;
    case Fact::Vendor: v.text = sources_.vendor.CpuVendorText(); break;
    case Fact::Os:
      // The window's object read itself when the window was made; the report's is read here.
      if (!sources_.windows.Retrieved()) sources_.windows.Refresh();
      v.text = sources_.windows.Windows()->ProductName();
      break;
    case Fact::ServicePack: v.text = ServicePack(); break;
    case Fact::ComputerName: v.text = sources_.host.MachineName(); break;
    case Fact::DiskSize: v.bytes = sources_.disk.DiskSize(); break;
    case Fact::DiskFree: v.bytes = sources_.disk.DiskFree(); break;
    case Fact::VolumeLabel: v.text = drive.VolumeLabel(); break;
    case Fact::SerialNumber: v.text = drive.SerialNumber(); break;
    case Fact::FileSystem: v.text = drive.FileSystem(); break;
  }
  v.known = true;
  return v;
}

AnsiString SystemFacts::Shown(Fact fact, const Value& v) const {
  const TFormatSettings& fs = context_.format();
  switch (fact) {
    case Fact::CpuUsage: return FormatCpuUsage(fs, v.fraction);
    case Fact::DiskSize:
    case Fact::DiskFree: return FormatGroupedInteger(fs, static_cast<long double>(v.bytes));
    default: return v.text;
  }
}

AnsiString SystemFacts::Read(Fact fact) {
  Value& kept = values_[static_cast<size_t>(fact)];
  kept.known = false;
  Value v = Ask(fact);
  v.shown = Shown(fact, v);
  kept = std::move(v);
  return kept.shown;
}

bool SystemFacts::Update(Fact fact) {
  Value& kept = values_[static_cast<size_t>(fact)];
  if (!kept.known) {
    Read(fact);
    return true;
  }
  // Compared before formatting: the unchanged answer of every second costs no text.
  Value v = Ask(fact);
  if (v.text == kept.text && v.bytes == kept.bytes && v.fraction == kept.fraction) return false;
  v.shown = Shown(fact, v);
  const bool changed = v.shown != kept.shown;
  kept = std::move(v);
  return changed;
}

void SystemFacts::RereadDiskSpace() { sources_.disk.RefreshSpace(); }

std::optional<AnsiString> SystemFacts::Reformat(Fact fact) {
  Value& kept = values_[static_cast<size_t>(fact)];
  if (!kept.known) return std::nullopt;
  kept.shown = Shown(fact, kept);
  return kept.shown;
}

void SystemFacts::ChooseDrive(char letter) {
  for (Fact f : kDriveFacts) values_[static_cast<size_t>(f)].known = false;
  sources_.drive.Drive()->SetDrive(letter);
  sources_.disk.SetDisk(letter);
}

std::optional<AnsiString> SystemFacts::Text(Fact fact) const {
  const Value& v = values_[static_cast<size_t>(fact)];
  if (!v.known) return std::nullopt;
  return v.shown;
}

bool SystemFacts::Missing(Fact fact) const {
  const Value& v = values_[static_cast<size_t>(fact)];
  if (!v.known) return true;
  switch (fact) {
    case Fact::DiskSize:
    case Fact::DiskFree: return v.bytes < 0;
    case Fact::VolumeLabel:
    case Fact::FileSystem: {
      // The drive object leaves the serial number empty when the volume cannot be read.
      const Value& serial = values_[static_cast<size_t>(Fact::SerialNumber)];
      return !serial.known || serial.text.empty();
    }
    case Fact::SerialNumber:
    // A product name of the wrong type reads as empty: no system name is known.
    case Fact::Os: return v.text.empty();
    default: return false;
  }
}

std::optional<double> SystemFacts::CpuUsagePercent() const {
  const Value& v = values_[static_cast<size_t>(Fact::CpuUsage)];
  if (!v.known) return std::nullopt;
  return v.fraction * 100.0;
}

std::optional<int> SystemFacts::MemoryLoadPercent() const {
  const Value& v = values_[static_cast<size_t>(Fact::MemoryLoad)];
  if (!v.known || v.text.empty() || v.text[0] < '0' || v.text[0] > '9') return std::nullopt;
  int n = 0;
  for (size_t i = 0; i < v.text.size() && v.text[i] >= '0' && v.text[i] <= '9' && n < 1000; ++i)
    n = n * 10 + (v.text[i] - '0');
  return n;
}

DriveFacts SystemFacts::Drive() const {
  DriveFacts d;
  const TSysDriveObject& drive = *sources_.drive.Drive();
  d.letter = drive.Drive();
  d.type = drive.DriveType();
  for (Fact f : kDriveFacts) d.texts[DriveFactIndex(f)] = Text(f);
  if (!Missing(Fact::DiskSize)) d.size = values_[static_cast<size_t>(Fact::DiskSize)].bytes;
  if (!Missing(Fact::DiskFree)) d.free = values_[static_cast<size_t>(Fact::DiskFree)].bytes;
  d.volumeRead = !Missing(Fact::SerialNumber);
  return d;
}

}  // namespace vsi
