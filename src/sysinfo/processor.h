#pragma once
// Processor identification through CPUID, the processor object with the registry's list of
// processors and the usage measured over half a second, and its component.
#include <array>
#include <cstdint>

#include "sysinfo/sysinfo_base.h"

namespace vsi {

class ISystem;

// Indices of the feature flags; 13 to 15 are only set on AMD processors, 16 is tested live.
enum TSysCPUFlag : int {
  cfFPU = 0,
  cfVirtualModeExtensions,
  cfDebuggingExtensions,
  cfPageSizeExtensions,
  cfTimeStampCounter,
  cfModelSpecificRegisters,
  cfMachineCheckException,
  cfCmpXchg8B,
  cfAPIC,
  cfMemoryTypeRangeRegisters,
  cfGlobalPaging,
  cfCondMove,
  cfMMX,
  cfSysCallSysRet,
  cfFPCondMove,
  cfAMD3DNow,
  cfExistCPUInfo,
};
constexpr int kStoredCpuFlags = 16;

// What the identification finds.
struct TSysCPUInfo {
  std::array<char, 12> vendor{};  // not zero-terminated
  int32_t Stepping = 0;
  int32_t Model = 0;
  int32_t Family = 0;
  std::array<uint8_t, kStoredCpuFlags> flags{};
  AnsiString CPUName;
};

// Whether the processor answers CPUID (the flags-register bit 21 test).
bool CpuidAvailable(ISystem& system);
// Fills `info` as far as the processor tells; fields it cannot read keep their values.
void IdentifyProcessor(ISystem& system, TSysCPUInfo& info);
// The vendor bytes up to the first zero byte.
AnsiString VendorText(const TSysCPUInfo& info);

// The base of the family's persistent objects; its name is in the class table.
class TSysPersistent : public TPersistent {
  VSI_CLASS(TSysPersistent)
};

// The shared getters over a TSysCPUInfo; ExistCPUInfo asks the processor on every read.
class CpuInfoReader {
 public:
  CpuInfoReader(ISystem& system, const TSysCPUInfo& info) : system_(system), info_(info) {}
  AnsiString GetTextByIndex(int index) const;  // 0 IDString, 1 CPUName
  int32_t GetIntByIndex(int index) const;      // 0 Stepping, 1 Model, 2 Family
  bool GetFlagByIndex(int index) const;

 private:
  ISystem& system_;
  const TSysCPUInfo& info_;
};

// The processor's CPUID facts with their accessors, as the CPU information object and the
// processor object both publish them.
class TSysCPUInfoAccess {
 public:
  AnsiString IDString() const { return Reader().GetTextByIndex(0); }
  AnsiString CPUName() const { return Reader().GetTextByIndex(1); }
  int32_t Stepping() const { return Reader().GetIntByIndex(0); }
  int32_t Model() const { return Reader().GetIntByIndex(1); }
  int32_t Family() const { return Reader().GetIntByIndex(2); }
  bool GetFlagByIndex(int index) const { return Reader().GetFlagByIndex(index); }
  template <TSysCPUFlag I>
  bool Flag() const {
    return GetFlagByIndex(I);
  }
  const TSysCPUInfo& Info() const { return info_; }

 protected:
  explicit TSysCPUInfoAccess(AppContext& context) : context_(&context) {}
  TSysCPUInfoAccess(const TSysCPUInfoAccess&) = delete;
  TSysCPUInfoAccess& operator=(const TSysCPUInfoAccess&) = delete;
  ~TSysCPUInfoAccess() = default;
  // Identifies the processor (again).
  void Identify();

 private:
  CpuInfoReader Reader() const;
  AppContext* context_;
  TSysCPUInfo info_;
};

// The processor as CPUID describes it, identified once when the object is made.
class TSysCPUInfoObject : public TSysPersistent, public TSysCPUInfoAccess {
  VSI_CLASS(TSysCPUInfoObject)
  explicit TSysCPUInfoObject(AppContext& context);
};

class TSysProcessorItem : public TSysCollectionItem {
  VSI_CLASS(TSysProcessorItem)
  explicit TSysProcessorItem(TCollection* collection);
  int32_t MHz() const { return mhz_; }
  const AnsiString& Identifier() const { return identifier_; }
  const AnsiString& VendorIdentifier() const { return vendorIdentifier_; }

 private:
  friend class TSysProcessorObject;
  int32_t mhz_ = -1;  // no speed in the registry
  AnsiString identifier_;
  AnsiString vendorIdentifier_;
};

class TSysProcessorsInfo : public TSysCollection {
  VSI_CLASS(TSysProcessorsInfo)
  explicit TSysProcessorsInfo(AppContext& context);
  TSysProcessorItem* Items(int index) const { return static_cast<TSysProcessorItem*>(TCollection::Items(index)); }
};

class TSysProcessorObject : public TSysObject, public TSysCPUInfoAccess {
  VSI_CLASS(TSysProcessorObject)
  explicit TSysProcessorObject(AppContext& context);
  ~TSysProcessorObject() override;

  uint8_t Count() const { return count_; }
  // Percent busy; 255 when it could not be measured.
  uint8_t ProcessorUsage() const { return usage_; }
  TSysProcessorsInfo* ProcessorsInfo() const { return processors_.get(); }

  // Lists the processors, identifies, and measures the usage: blocks about a second.
  void Retrieve() override;
  void Apply() override {}

 private:
  void RefreshProcessorsInfo();
  void MeasureUsageNT();
  void MeasureUsage95();

  uint8_t count_ = 0;
  uint8_t usage_ = 0;
  std::unique_ptr<TSysProcessorsInfo> processors_;
};

class TSysProcessor : public TSysBaseComponent {
  VSI_CLASS(TSysProcessor)
  explicit TSysProcessor(TComponent* owner);
  TSysProcessorObject* Processor() const { return static_cast<TSysProcessorObject*>(Object()); }
  void SetProcessor(TSysProcessorObject*) {}
};

}  // namespace vsi
