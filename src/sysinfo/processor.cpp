#include "sysinfo/processor.h"

#include <cfenv>
#include <cmath>
#include <cstring>

#include "framework/context.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"

namespace vsi {

namespace {

bool Bit(uint32_t value, int bit) { return ((value >> bit) & 1u) != 0; }

// Leaf 1 EDX bits for flags 0 to 12, and leaf 0x80000001 EDX bits for flags 13 to 15.
constexpr int kLeaf1Bits[13] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 12, 13, 15, 23};
constexpr int kAmdExtBits[3] = {11, 16, 31};

}  // namespace

bool CpuidAvailable(ISystem& system) {
  std::array<uint32_t, 4> r{};
  return system.Cpuid(0, r);
}

AnsiString VendorText(const TSysCPUInfo& info) {
  size_t n = 0;
  while (n < info.vendor.size() && info.vendor[n] != '\0') ++n;
  return AnsiString(info.vendor.data(), n);
}

void IdentifyProcessor(ISystem& system, TSysCPUInfo& info) {
  info.CPUName.clear();
  std::array<uint32_t, 4> r{};  // EAX, EBX, ECX, EDX
  if (system.Cpuid(0, r)) {
    std::memcpy(info.vendor.data(), &r[1], 4);
    std::memcpy(info.vendor.data() + 4, &r[3], 4);
    std::memcpy(info.vendor.data() + 8, &r[2], 4);
    system.Cpuid(1, r);
    info.Stepping = static_cast<int32_t>(r[0] & 0xF);
    info.Model = static_cast<int32_t>((r[0] >> 4) & 0xF);
    info.Family = static_cast<int32_t>((r[0] >> 8) & 0xF);
    for (int i = 0; i < 13; ++i) info.flags[static_cast<size_t>(i)] = Bit(r[3], kLeaf1Bits[i]) ? 1 : 0;
  }

  std::array<uint32_t, 4> ext{};
  if (VendorText(info) == "AuthenticAMD" && system.Cpuid(0x80000000u, ext) && (ext[0] & 0xFF) != 0) {
    const uint32_t highest = ext[0];
    system.Cpuid(0x80000001u, r);
    for (int i = 0; i < 3; ++i) info.flags[static_cast<size_t>(13 + i)] = Bit(r[3], kAmdExtBits[i]) ? 1 : 0;
    char brand[49] = {};
    if (static_cast<int32_t>(highest) >= static_cast<int32_t>(0x80000004u)) {
      for (uint32_t leaf = 0; leaf < 3; ++leaf) {
        system.Cpuid(0x80000002u + leaf, r);
        std::memcpy(brand + leaf * 16, r.data(), 16);
      }
    }
    info.CPUName = AnsiString(brand, strnlen(brand, 48));
  } else {
    for (int i = 13; i < 16; ++i) info.flags[static_cast<size_t>(i)] = 0;
  }
}

AnsiString CpuInfoReader::GetTextByIndex(int index) const {
  switch (index) {
    case 0: return VendorText(info_);
    case 1: return info_.CPUName;
    default: return AnsiString();
  }
}

int32_t CpuInfoReader::GetIntByIndex(int index) const {
  switch (index) {
    case 0: return info_.Stepping;
    case 1: return info_.Model;
    case 2: return info_.Family;
    default: return 0;
  }
}

bool CpuInfoReader::GetFlagByIndex(int index) const {
  if (index >= 0 && index < kStoredCpuFlags) return info_.flags[static_cast<size_t>(index)] != 0;
  if (index == cfExistCPUInfo) return CpuidAvailable(system_);
  return false;
}

// ---------------------------------------------------------------- class metadata

namespace {

// The properties both processor classes publish; the spelling of flag 13 differs.
template <class C>
ClassBuilder<C>& CpuProperties(ClassBuilder<C>& b, const char* sysCallName) {
  return b.Text("IDString", &C::IDString)
      .Text("CPUName", &C::CPUName)
      .Int("Stepping", &C::Stepping)
      .Int("Model", &C::Model)
      .Int("Family", &C::Family)
      .Bool("FPU", &C::template Flag<cfFPU>)
      .Bool("VirtualModeExtensions", &C::template Flag<cfVirtualModeExtensions>)
      .Bool("DebuggingExtensions", &C::template Flag<cfDebuggingExtensions>)
      .Bool("PageSizeExtensions", &C::template Flag<cfPageSizeExtensions>)
      .Bool("TimeStampCoutner", &C::template Flag<cfTimeStampCounter>)
      .Bool("K86_ModelSpecificRegisters", &C::template Flag<cfModelSpecificRegisters>)
      .Bool("MachineCheckException", &C::template Flag<cfMachineCheckException>)
      .Bool("CMP_XCHG_8B", &C::template Flag<cfCmpXchg8B>)
      .Bool("APIC", &C::template Flag<cfAPIC>)
      .Bool("MemoryTypeRangeRegisters", &C::template Flag<cfMemoryTypeRangeRegisters>)
      .Bool("GlobalPaging", &C::template Flag<cfGlobalPaging>)
      .Bool("Cond_MOVE_Instruct", &C::template Flag<cfCondMove>)
      .Bool("MMX", &C::template Flag<cfMMX>)
      .Bool(sysCallName, &C::template Flag<cfSysCallSysRet>)
      .Bool("FPCond_MOVE_Instruct", &C::template Flag<cfFPCondMove>)
      .Bool("AMD3DNow", &C::template Flag<cfAMD3DNow>)
      .Bool("ExistCPUInfo", &C::template Flag<cfExistCPUInfo>);
}

}  // namespace

const ClassInfo& TSysPersistent::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysPersistent>("TSysPersistent", &TPersistent::StaticClass()).Build();
  return info;
}

const ClassInfo& TSysCPUInfoObject::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TSysCPUInfoObject> b("TSysCPUInfoObject", &TSysPersistent::StaticClass());
    return CpuProperties(b, "SysCallAndSysRet").Build();
  }();
  return info;
}

const ClassInfo& TSysProcessorItem::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysProcessorItem>("TSysProcessorItem", &TSysCollectionItem::StaticClass())
          .Int("MHz", &TSysProcessorItem::MHz)
          .Text("Identifier", &TSysProcessorItem::Identifier)
          .Text("VendorIdentifier", &TSysProcessorItem::VendorIdentifier)
          .Build();
  return info;
}

const ClassInfo& TSysProcessorsInfo::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysProcessorsInfo>("TSysProcessorsInfo", &TSysCollection::StaticClass()).Build();
  return info;
}

const ClassInfo& TSysProcessorObject::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TSysProcessorObject> b("TSysProcessorObject", &TSysObject::StaticClass());
    b.Int("Count", &TSysProcessorObject::Count)
        .Int("ProcessorUsage", &TSysProcessorObject::ProcessorUsage)
        .Object("ProcessorsInfo", TSysProcessorsInfo::StaticClass(), &TSysProcessorObject::ProcessorsInfo);
    return CpuProperties(b, "SYSCALLandSYSRET").Build();
  }();
  return info;
}

const ClassInfo& TSysProcessor::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysProcessor>("TSysProcessor", &TSysBaseComponent::StaticClass())
          .Creatable()
          .Object("Processor", TSysProcessorObject::StaticClass(), &TSysProcessor::Processor,
                  &TSysProcessor::SetProcessor)
          .Build();
  return info;
}

// ---------------------------------------------------------------- TSysCPUInfoObject

void TSysCPUInfoAccess::Identify() { IdentifyProcessor(context_->platform().system, info_); }

CpuInfoReader TSysCPUInfoAccess::Reader() const { return CpuInfoReader(context_->platform().system, info_); }

TSysCPUInfoObject::TSysCPUInfoObject(AppContext& context) : TSysCPUInfoAccess(context) { Identify(); }

// ---------------------------------------------------------------- processor list

TSysProcessorItem::TSysProcessorItem(TCollection* collection) : TSysCollectionItem(collection) {}

TSysProcessorsInfo::TSysProcessorsInfo(AppContext& context)
    : TSysCollection(context, [](TCollection* c) { return new TSysProcessorItem(c); }) {}

// ---------------------------------------------------------------- TSysProcessorObject

TSysProcessorObject::TSysProcessorObject(AppContext& context)
    : TSysObject(context), TSysCPUInfoAccess(context), processors_(std::make_unique<TSysProcessorsInfo>(context)) {
  processors_->SetChangeHandler(ForwardToThis());
}

TSysProcessorObject::~TSysProcessorObject() = default;

void TSysProcessorObject::Retrieve() {
  RefreshProcessorsInfo();
  Identify();
  uint32_t platformId = PlatformFlags(Context()).platformId;
  if (platformId == VER_PLATFORM_WIN32_NT_)
    MeasureUsageNT();
  else if (platformId == VER_PLATFORM_WIN32_WINDOWS_)
    MeasureUsage95();
}

void TSysProcessorObject::RefreshProcessorsInfo() {
  processors_->Clear();
  CreateRegistry();
  SetRegistryRoot(HKEY_LOCAL_MACHINE_);
  // The accessor goes again on every path, with whatever key it still holds.
  ScopeExit release{[this] { FreeRegistry(); }};
  TRegistry& reg = *Registry();
  for (int n = 0;; ++n) {
    std::string path = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\" + std::to_string(n);
    if (!RegKeyExists(path)) break;
    auto* item = static_cast<TSysProcessorItem*>(processors_->Add());
    // Reading only: an ordinary user cannot open these keys with full access.
    if (!OpenRegKey(path)) continue;
    item->identifier_ = reg.ReadString("Identifier");
    item->vendorIdentifier_ = reg.ReadString("VendorIdentifier");
    item->mhz_ = reg.ValueExists("~MHz") ? reg.ReadInteger("~MHz") : -1;
    CloseRegKey();
  }
}

void TSysProcessorObject::MeasureUsageNT() {
  ISystem& sys = Plat().system;
  usage_ = 255;
  uint8_t count = 0;
  if (!sys.NtQueryProcessorCount(count)) return;
  count_ = count;
  int64_t lastIdle = 0, lastTime = 0;
  for (int pass = 0; pass < 2; ++pass) {
    int64_t now = 0, idle = 0;
    if (!sys.NtQueryCurrentTime(now) || !sys.NtQueryIdleTime(idle)) return;
    // The first pass only takes the starting sample.
    if (pass > 0 && now > lastTime && count_ > 0) {
      double busy = 100.0 - static_cast<double>(idle - lastIdle) / static_cast<double>(now - lastTime) * 100.0 /
                                count_ + 0.5;
      // Halves go to the even neighbour; idle counted beyond the interval cannot make it negative.
      double rounded = std::nearbyint(busy);
      if (rounded < 0) rounded = 0;
      if (rounded > 100) rounded = 100;
      usage_ = static_cast<uint8_t>(rounded);
    }
    lastIdle = idle;
    lastTime = now;
    sys.Sleep(500);
  }
}

void TSysProcessorObject::MeasureUsage95() {
  IRegistry& reg = Plat().registry;
  usage_ = 255;
  count_ = 1;
  // The statistic is started, read and stopped by reading the value under three keys.
  auto query = [&](const char* key, uint32_t access, uint8_t* firstByte) {
    ScopedRegKey k(reg);
    if (!Succeeded(reg.OpenKey(HKEY_DYN_DATA_, key, access, *k.Receive()))) return false;
    uint8_t data[4] = {};
    uint32_t size = sizeof data;
    uint32_t type = 0;
    WinError e = reg.QueryValue(k.Get(), "KERNEL\\CPUUsage", &type, data, size);
    if (firstByte && Succeeded(e) && size >= 1) *firstByte = data[0];
    return true;
  };
  if (!query("PerfStats\\StartStat", KEY_ALL_ACCESS_, nullptr)) return;
  if (!query("PerfStats\\StatData", KEY_READ_, &usage_)) return;
  query("PerfStats\\StopStat", KEY_ALL_ACCESS_, nullptr);
}

// ---------------------------------------------------------------- component

TSysProcessor::TSysProcessor(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysProcessorObject>(Context()));
}

}  // namespace vsi
