#pragma once
// TSysInfo: single facts about the machine, asked of the system on every read. Families of
// properties share one getter that receives the property's index.
#include <memory>

#include "framework/component.h"
#include "sysinfo/processor.h"

namespace vsi {

class TStrings;
class TStringList;

// Text indices.
enum TSysInfoText : int {
  tiCurrentUser = 0,
  tiRegisteredCompany,
  tiRegisteredOwner,
  tiVersionWIN,
  tiWinPath,
  tiWinSysPath,
  tiFreeGdiRes,
  tiFreeUsrRes,
  tiFreeSysRes,
  tiMemoryLoaded,
  tiPlatform,
  tiTempPath,
  tiComputername,
  tiProcessorType,
  tiDefaultLanguageString,
  tiTimeZone,
};

// Integer indices (1 to 6 answer 0).
enum TSysInfoInteger : int {
  iiBuildNumber = 0,
  iiScreenSaverDelay = 7,
  iiDefaultLanguageID = 8,
  iiTimeZoneDiff = 9,
  iiScreenWidth = 10,
  iiScreenHeight = 11,
  iiScreenPPi = 12,
};

// 64-bit indices: memory figures in KiB.
enum TSysInfoInt64 : int {
  liMemPhysTotal = 1,
  liMemPhysFree,
  liMemVirtTotal,
  liMemVirtFree,
  liMemPageTotal,
  liMemPageFree,
  liMemVirtExtended,
};

// Boolean indices.
enum TSysInfoFlag : int {
  fiNumLockState = 0,
  fiCapsLockState,
  fiScrollLockState,
  fiWindowAnimation,
  fiWarningBeep,
  fiScreenSaveActive,
  fiFontSmoothing,
  fiDragFullWindows,
  fiSnapToDefaultButton,
  fiPlusAvailable,
};

// The memory status in the layout of the extended record.
struct SysMemoryStatus {
  uint32_t length = 0;
  uint32_t memoryLoad = 0;
  uint64_t totalPhys = 0, availPhys = 0, totalPageFile = 0, availPageFile = 0;
  uint64_t totalVirtual = 0, availVirtual = 0, availExtendedVirtual = 0;
};
// The extended call on Windows 2000 and XP, the plain one elsewhere.
SysMemoryStatus ReadMemoryStatus(AppContext& context);
// "Intel 386", "Intel 486", "Intel Pentium", "Mips R4000", "Alpha 21064", or the number.
AnsiString ProcessorTypeText(uint32_t processorType);
// The locale information type behind a locale index (0 outside the table).
uint32_t LocaleTypeOfIndex(int index);

// The base of the family's single-fact components; its name is in the class table.
class TSysCustomComponent : public TComponent {
  VSI_CLASS(TSysCustomComponent)
  explicit TSysCustomComponent(TComponent* owner);
};

class TSysInfo : public TSysCustomComponent {
  VSI_CLASS(TSysInfo)
  explicit TSysInfo(TComponent* owner);
  ~TSysInfo() override;

  const AnsiString& About() const { return about_; }
  void SetAbout(const AnsiString& value) { about_ = value; }

  AnsiString GetTextByIndex(int index) const;
  int32_t GetIntegerByIndex(int index) const;
  int64_t GetInt64ByIndex(int index) const;
  bool GetFlagByIndex(int index) const;
  // Acts only when the value differs from what the getter answers now.
  void SetFlagByIndex(int index, bool value);
  AnsiString GetLocaleByIndex(int index) const;
  void SetLocaleByIndex(int index, const AnsiString& value);

  // The two the main window reads.
  AnsiString MemoryLoaded() const { return GetTextByIndex(tiMemoryLoaded); }
  AnsiString ProcessorType() const { return GetTextByIndex(tiProcessorType); }

  TStrings* AllFonts() const;
  TStrings* AllPrinters() const;
  TStrings* Environment() const;
  uint8_t ProcessorNumber() const;
  TSysCPUInfoObject* ProcessorInfo() const { return processorInfo_.get(); }
  uint8_t ColorDepth() const;
  int32_t KeyboardDelay() const;
  void SetKeyboardDelay(int32_t value);
  int32_t KeyboardSpeed() const;
  void SetKeyboardSpeed(int32_t value);

  // Accessors by index for the property tables; writes of read-only families are ignored.
  template <TSysInfoText I>
  AnsiString Text() const {
    return GetTextByIndex(I);
  }
  void IgnoreText(AnsiString) {}
  void IgnoreNumber(int64_t) {}
  template <TSysInfoInteger I>
  int32_t Integer() const {
    return GetIntegerByIndex(I);
  }
  template <TSysInfoInt64 I>
  int64_t Int64() const {
    return GetInt64ByIndex(I);
  }
  template <TSysInfoFlag I>
  bool Flag() const {
    return GetFlagByIndex(I);
  }
  template <TSysInfoFlag I>
  void SetFlag(bool value) {
    SetFlagByIndex(I, value);
  }
  template <int I>
  AnsiString Locale() const {
    return GetLocaleByIndex(I);
  }
  template <int I>
  void SetLocale(AnsiString value) {
    SetLocaleByIndex(I, value);
  }

 private:
  Platform& P() const { return Plat(); }
  AnsiString RegisteredValue(const char* valueName) const;
  AnsiString FreeResourcesText(uint16_t type) const;
  void ToggleLockKey(uint8_t virtualKey, bool on);
  void WriteParameter(uint32_t action, bool value);

  AnsiString about_;
  std::unique_ptr<TStringList> environment_;
  std::unique_ptr<TSysCPUInfoObject> processorInfo_;
  std::unique_ptr<TStringList> fonts_;
  std::unique_ptr<TStringList> printers_;
};

}  // namespace vsi
