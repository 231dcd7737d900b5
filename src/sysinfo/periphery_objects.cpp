#include "sysinfo/periphery_objects.h"

#include <cstring>

#include "framework/context.h"
#include "framework/registry_access.h"
#include "sysinfo/general_info.h"

namespace vsi {

namespace {

// Text of a value when it is text; anything else reads as empty (these lists are informative,
// a stray value must not stop the rest).
AnsiString TextOrEmpty(TRegistry& reg, const std::string& name) {
  std::string data;
  uint32_t type = 0;
  if (!reg.ReadBinary(name, data, &type) || (type != REG_SZ_ && type != REG_EXPAND_SZ_)) return AnsiString();
  return data.substr(0, data.find('\0'));
}

// Reads under `root` with the object's accessor, opening keys for reading only; the last
// key is closed on every path.
class ReadSession {
 public:
  ReadSession(TRegistry& reg, RegKey root) : reg_(reg) { reg_.SetRootKey(root); }
  ~ReadSession() { reg_.CloseKey(); }
  bool Open(const std::string& path) { return reg_.OpenKeyReadOnly(path); }
  std::vector<std::string> KeyNames() {
    std::vector<std::string> names;
    reg_.GetKeyNames(names);
    return names;
  }
  std::vector<std::string> ValueNames() {
    std::vector<std::string> names;
    reg_.GetValueNames(names);
    return names;
  }

 private:
  TRegistry& reg_;
};

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  size_t n = std::strlen(prefix);
  return s.size() >= n && SameText(std::string_view(s).substr(0, n), prefix);
}

}  // namespace

// ---------------------------------------------------------------- metadata

const ClassInfo& TSysPowerStatusObject::StaticClass() {
  using C = TSysPowerStatusObject;
  static const ClassInfo info = ClassBuilder<C>("TSysPowerStatusObject", &TSysObject::StaticClass())
                                    .Int("ACLineStatus", &C::ACLineStatus)
                                    .Int("BatteryFlag", &C::BatteryFlag)
                                    .Int("BatteryLifePercent", &C::BatteryLifePercent)
                                    .Int("BatteryLifeTime", &C::BatteryLifeTime)
                                    .Int("BatteryFullLifeTime", &C::BatteryFullLifeTime)
                                    .Build();
  return info;
}

const ClassInfo& TSysTimeZoneObject::StaticClass() {
  using C = TSysTimeZoneObject;
  static const ClassInfo info = ClassBuilder<C>("TSysTimeZoneObject", &TSysObject::StaticClass())
                                    .Int("Bias", &C::Bias)
                                    .Text("StandardName", &C::StandardName)
                                    .Int("StandardBias", &C::StandardBias)
                                    .Text("DaylightName", &C::DaylightName)
                                    .Int("DaylightBias", &C::DaylightBias)
                                    .Bool("DaylightActive", &C::DaylightActive)
                                    .Build();
  return info;
}

const ClassInfo& TSysMemoryObject::StaticClass() {
  using C = TSysMemoryObject;
  static const ClassInfo info = ClassBuilder<C>("TSysMemoryObject", &TSysObject::StaticClass())
                                    .Int("MemoryLoad", &C::MemoryLoad)
                                    .Int("PhysicalTotal", &C::PhysicalTotal)
                                    .Int("PhysicalFree", &C::PhysicalFree)
                                    .Int("PageFileTotal", &C::PageFileTotal)
                                    .Int("PageFileFree", &C::PageFileFree)
                                    .Int("VirtualTotal", &C::VirtualTotal)
                                    .Int("VirtualFree", &C::VirtualFree)
                                    .Build();
  return info;
}

const ClassInfo& TSysMouseObject::StaticClass() {
  using C = TSysMouseObject;
  static const ClassInfo info = ClassBuilder<C>("TSysMouseObject", &TSysObject::StaticClass())
                                    .Bool("Present", &C::Present)
                                    .Int("Buttons", &C::Buttons)
                                    .Bool("ButtonsSwapped", &C::ButtonsSwapped)
                                    .Int("DoubleClickWidth", &C::DoubleClickWidth)
                                    .Int("DoubleClickHeight", &C::DoubleClickHeight)
                                    .Build();
  return info;
}

const ClassInfo& TSysNameListObject::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysNameListObject>("TSysNameListObject", &TSysObject::StaticClass()).Build();
  return info;
}

const ClassInfo& TSysPrintersObject::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysPrintersObject>("TSysPrintersObject", &TSysNameListObject::StaticClass())
          .Object("Printers", TStringList::StaticClass(), &TSysPrintersObject::Printers)
          .Build();
  return info;
}

const ClassInfo& TSysUninstallInfoObject::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysUninstallInfoObject>("TSysUninstallInfoObject", &TSysNameListObject::StaticClass())
          .Object("Programs", TStringList::StaticClass(), &TSysUninstallInfoObject::Programs)
          .Build();
  return info;
}

const ClassInfo& TSysFontsInfoObject::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysFontsInfoObject>("TSysFontsInfoObject", &TSysNameListObject::StaticClass())
          .Object("Fonts", TStringList::StaticClass(), &TSysFontsInfoObject::Fonts)
          .Build();
  return info;
}

const ClassInfo& TSysMultimediaObject::StaticClass() {
  using C = TSysMultimediaObject;
  static const ClassInfo info = ClassBuilder<C>("TSysMultimediaObject", &TSysNameListObject::StaticClass())
                                    .Object("Drivers", TStringList::StaticClass(), &C::Drivers)
                                    .Int("WaveDevices", &C::WaveDevices)
                                    .Int("MidiDevices", &C::MidiDevices)
                                    .Int("MixerDevices", &C::MixerDevices)
                                    .Int("AuxDevices", &C::AuxDevices)
                                    .Build();
  return info;
}

const ClassInfo& TSysFileAssocObject::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysFileAssocObject>("TSysFileAssocObject", &TSysNameListObject::StaticClass())
          .Object("Associations", TStringList::StaticClass(), &TSysFileAssocObject::Associations)
          .Build();
  return info;
}

const ClassInfo& TSysModemsObject::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysModemsObject>("TSysModemsObject", &TSysNameListObject::StaticClass())
          .Object("Modems", TStringList::StaticClass(), &TSysModemsObject::Modems)
          .Build();
  return info;
}

const ClassInfo& TSysInternetObject::StaticClass() {
  using C = TSysInternetObject;
  static const ClassInfo info = ClassBuilder<C>("TSysInternetObject", &TSysObject::StaticClass())
                                    .Bool("ProxyEnabled", &C::ProxyEnabled)
                                    .Text("ProxyServer", &C::ProxyServer)
                                    .Text("ProxyOverride", &C::ProxyOverride)
                                    .Text("AutoConfigURL", &C::AutoConfigURL)
                                    .Build();
  return info;
}

// ---------------------------------------------------------------- retrievals

TSysPowerStatusObject::TSysPowerStatusObject(AppContext& context) : TSysObject(context) {}

void TSysPowerStatusObject::Retrieve() {
  PowerStatus s;
  if (!Plat().system.GetSystemPowerStatus(s)) s = PowerStatus{};  // every field "unknown"
  status_ = s;
}

TSysTimeZoneObject::TSysTimeZoneObject(AppContext& context) : TSysObject(context) {}

void TSysTimeZoneObject::Retrieve() {
  TimeZoneInformation tz;
  uint32_t id = Plat().system.GetTimeZoneInformation(tz);
  if (id == TIME_ZONE_ID_INVALID_) return;
  ILocale& loc = Plat().locale;
  bias_ = tz.bias;
  standardBias_ = tz.standardBias;
  daylightBias_ = tz.daylightBias;
  standardName_ = loc.WideToMultiByte(CP_ACP_, tz.standardName.substr(0, tz.standardName.find(u'\0')));
  daylightName_ = loc.WideToMultiByte(CP_ACP_, tz.daylightName.substr(0, tz.daylightName.find(u'\0')));
  daylightActive_ = id == 2;  // TIME_ZONE_ID_DAYLIGHT
}

TSysMemoryObject::TSysMemoryObject(AppContext& context) : TSysObject(context) {}

void TSysMemoryObject::Retrieve() {
  SysMemoryStatus m = ReadMemoryStatus(Context());
  load_ = m.memoryLoad;
  physTotal_ = static_cast<int64_t>(m.totalPhys);
  physFree_ = static_cast<int64_t>(m.availPhys);
  pageTotal_ = static_cast<int64_t>(m.totalPageFile);
  pageFree_ = static_cast<int64_t>(m.availPageFile);
  virtTotal_ = static_cast<int64_t>(m.totalVirtual);
  virtFree_ = static_cast<int64_t>(m.availVirtual);
}

TSysMouseObject::TSysMouseObject(AppContext& context) : TSysObject(context) {}

void TSysMouseObject::Retrieve() {
  ISystem& sys = Plat().system;
  present_ = sys.GetSystemMetrics(19) != 0;  // SM_MOUSEPRESENT
  buttons_ = sys.GetSystemMetrics(43);       // SM_CMOUSEBUTTONS
  swapped_ = sys.GetSystemMetrics(23) != 0;  // SM_SWAPBUTTON
  doubleClickWidth_ = sys.GetSystemMetrics(36);
  doubleClickHeight_ = sys.GetSystemMetrics(37);
}

TSysNameListObject::TSysNameListObject(AppContext& context)
    : TSysObject(context), list_(std::make_unique<TStringList>()) {}

TSysNameListObject::~TSysNameListObject() = default;

void TSysPrintersObject::Retrieve() {
  List()->Clear();
  for (const std::string& name : Plat().system.GetPrinterNames()) List()->Add(name);
}

void TSysFontsInfoObject::Retrieve() {
  List()->SetSorted(false);
  List()->Clear();
  for (const std::string& name : Plat().system.GetScreenFontNames()) List()->Add(name);
  List()->SetSorted(true);
}

void TSysUninstallInfoObject::Retrieve() {
  constexpr const char* kKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  List()->Clear();
  TRegistry& reg = CreateRegistry();
  ReadSession session(reg, HKEY_LOCAL_MACHINE_);
  if (!session.Open(kKey)) return;
  for (const std::string& sub : session.KeyNames()) {
    if (!session.Open(std::string(kKey) + "\\" + sub)) continue;
    AnsiString name = TextOrEmpty(reg, "DisplayName");
    if (!name.empty()) List()->Add(name);
  }
}

int32_t TSysMultimediaObject::Count(const char* kind) const {
  int32_t n = 0;
  for (int i = 0; i < List()->Count(); ++i)
    if (StartsWithNoCase(List()->Strings(i), kind)) ++n;
  return n;
}

void TSysMultimediaObject::Retrieve() {
  List()->Clear();
  // Only the NT family lists its drivers in the registry; the 95 family keeps them in SYSTEM.INI.
  if (!PlatformFlags(Context()).isNT) return;
  TRegistry& reg = CreateRegistry();
  ReadSession session(reg, HKEY_LOCAL_MACHINE_);
  if (!session.Open("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32")) return;
  for (const std::string& name : session.ValueNames()) {
    for (const char* kind : {"wave", "midi", "mixer", "aux"}) {
      if (!StartsWithNoCase(name, kind)) continue;
      List()->Add(name + "=" + TextOrEmpty(reg, name));
      break;
    }
  }
}

void TSysFileAssocObject::Retrieve() {
  List()->Clear();
  TRegistry& reg = CreateRegistry();
  ReadSession session(reg, HKEY_CLASSES_ROOT_);
  std::vector<std::string> names;
  std::string name;
  for (uint32_t i = 0; Succeeded(Plat().registry.EnumKey(HKEY_CLASSES_ROOT_, i, name)); ++i) names.push_back(name);
  for (const std::string& sub : names) {
    if (sub.empty() || sub[0] != '.') continue;
    if (!session.Open("\\" + sub)) continue;
    List()->Add(sub + "=" + TextOrEmpty(reg, ""));
  }
}

void TSysModemsObject::Retrieve() {
  List()->Clear();
  const bool nt = PlatformFlags(Context()).isNT;
  const std::string key = nt ? "\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}"
                             : "\\System\\CurrentControlSet\\Services\\Class\\Modem";
  TRegistry& reg = CreateRegistry();
  ReadSession session(reg, HKEY_LOCAL_MACHINE_);
  if (!session.Open(key)) return;
  for (const std::string& sub : session.KeyNames()) {
    if (!session.Open(key + "\\" + sub)) continue;
    AnsiString name = TextOrEmpty(reg, "FriendlyName");
    if (name.empty()) name = TextOrEmpty(reg, "DriverDesc");
    if (!name.empty()) List()->Add(name);
  }
}

TSysInternetObject::TSysInternetObject(AppContext& context) : TSysObject(context) {}

void TSysInternetObject::Retrieve() {
  TRegistry& reg = CreateRegistry();
  ReadSession session(reg, HKEY_CURRENT_USER_);
  if (!session.Open("\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings")) return;
  std::string data;
  uint32_t type = 0;
  proxyEnabled_ = reg.ReadBinary("ProxyEnable", data, &type) && type == REG_DWORD_ && data.size() >= 4 &&
                  (data[0] | data[1] | data[2] | data[3]) != 0;
  proxyServer_ = TextOrEmpty(reg, "ProxyServer");
  proxyOverride_ = TextOrEmpty(reg, "ProxyOverride");
  autoConfigURL_ = TextOrEmpty(reg, "AutoConfigURL");
}

}  // namespace vsi
