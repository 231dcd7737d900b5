#include "sysinfo/general_info.h"

#include "framework/context.h"
#include "framework/registry_access.h"
#include "framework/strings.h"
#include "sysinfo/windows_version.h"

namespace vsi {

namespace {

constexpr const char* kUnknown = "(Unknown)";
constexpr uint32_t kUpdateAndBroadcast = SPIF_UPDATEINIFILE_ | SPIF_SENDWININICHANGE_;
// Buffer room of the name calls, without their terminators.
constexpr size_t kUserNameRoom = 63;
constexpr size_t kComputerNameRoom = 15;

constexpr uint32_t kLocaleTypes[28] = {
    0x1009, 0x19, 0x1B, 0x11, 0x100C, 0x100D, 0x12, 0x0D, 0x1C, 0x1010, 0x23, 0x28, 0x29, 0x14,
    0x1D,   0x0E, 0x10, 0x0C, 0x20,   0x16,   0x18, 0x17, 0x51, 0x50,   0x1F, 0x0F, 0x1E, 0x1003,
};

OsVersionInfo Version(ISystem& sys) {
  OsVersionInfo v;
  if (!sys.GetVersionEx(v)) v = OsVersionInfo{};
  return v;
}

// The toggle bit alone: while the key is held the call answers 0xFF80 | toggle, so a test of
// the whole low byte against 1 would read a held lock key as off.
bool LockKeyOn(ISystem& sys, uint8_t vk) { return (sys.GetKeyState(vk) & 0x0001) != 0; }

}  // namespace

SysMemoryStatus ReadMemoryStatus(AppContext& context) {
  ISystem& sys = context.platform().system;
  const SysPlatformFlags& flags = PlatformFlags(context);
  SysMemoryStatus out;
  MemoryStatus m;
  if (flags.isWin2000 || flags.isWinXP) {
    out.length = 64;
    if (!sys.GlobalMemoryStatusEx(m)) return out;  // the record stays zero
    out.availExtendedVirtual = m.availExtendedVirtual;
  } else {
    sys.GlobalMemoryStatus(m);
    out.length = 64;
  }
  out.memoryLoad = m.memoryLoad;
  out.totalPhys = m.totalPhys;
  out.availPhys = m.availPhys;
  out.totalPageFile = m.totalPageFile;
  out.availPageFile = m.availPageFile;
  out.totalVirtual = m.totalVirtual;
  out.availVirtual = m.availVirtual;
  return out;
}

AnsiString ProcessorTypeText(uint32_t processorType) {
  switch (processorType) {
    case 386: return "Intel 386";
    case 486: return "Intel 486";
    case 586: return "Intel Pentium";
    case 2000:
    case 3000:
    case 4000: return "Mips R" + std::to_string(processorType);
    case 21064: return "Alpha 21064";
    default: return std::to_string(processorType);
  }
}

uint32_t LocaleTypeOfIndex(int index) {
  return index >= 0 && index < 28 ? kLocaleTypes[index] : 0;
}

// ---------------------------------------------------------------- metadata

const ClassInfo& TSysCustomComponent::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysCustomComponent>("TSysCustomComponent", &TComponent::StaticClass()).Build();
  return info;
}

TSysCustomComponent::TSysCustomComponent(TComponent* owner) : TComponent(owner) {}

const ClassInfo& TSysInfo::StaticClass() {
  using S = TSysInfo;
  static const ClassInfo info =
      ClassBuilder<S>("TSysInfo", &TSysCustomComponent::StaticClass())
          .Creatable()
          .Text("About", &S::About, &S::SetAbout)
          .Text("CurrentUser", &S::Text<tiCurrentUser>, &S::IgnoreText)
          .Text("RegisteredCompany", &S::Text<tiRegisteredCompany>, &S::IgnoreText)
          .Text("RegisteredOwner", &S::Text<tiRegisteredOwner>, &S::IgnoreText)
          .Text("VersionWIN", &S::Text<tiVersionWIN>, &S::IgnoreText)
          .Text("WinPath", &S::Text<tiWinPath>, &S::IgnoreText)
          .Text("WinSysPath", &S::Text<tiWinSysPath>, &S::IgnoreText)
          .Text("FreeGdiRes", &S::Text<tiFreeGdiRes>, &S::IgnoreText)
          .Text("FreeUsrRes", &S::Text<tiFreeUsrRes>, &S::IgnoreText)
          .Text("FreeSysRes", &S::Text<tiFreeSysRes>, &S::IgnoreText)
          .Text("MemoryLoaded", &S::Text<tiMemoryLoaded>, &S::IgnoreText)
          .Text("Platform", &S::Text<tiPlatform>, &S::IgnoreText)
          .Text("TempPath", &S::Text<tiTempPath>, &S::IgnoreText)
          .Text("Computername", &S::Text<tiComputername>, &S::IgnoreText)
          .Text("ProcessorType", &S::Text<tiProcessorType>, &S::IgnoreText)
          .Text("DefaultLanguageString", &S::Text<tiDefaultLanguageString>, &S::IgnoreText)
          .Text("TimeZone", &S::Text<tiTimeZone>, &S::IgnoreText)
          .Int("BuildNumber", &S::Integer<iiBuildNumber>, &S::IgnoreNumber)
          .Int("ScreenSaverDelay", &S::Integer<iiScreenSaverDelay>, &S::IgnoreNumber)
          .Int("DefaultLanguageID", &S::Integer<iiDefaultLanguageID>)
          .Int("TimeZoneDiff", &S::Integer<iiTimeZoneDiff>, &S::IgnoreNumber)
          .Int("ScreenWidth", &S::Integer<iiScreenWidth>, &S::IgnoreNumber)
          .Int("ScreenHeight", &S::Integer<iiScreenHeight>, &S::IgnoreNumber)
          .Int("ScreenPPi", &S::Integer<iiScreenPPi>, &S::IgnoreNumber)
          .Int("MemPhysTotal", &S::Int64<liMemPhysTotal>, &S::IgnoreNumber)
          .Int("MemPhysFree", &S::Int64<liMemPhysFree>, &S::IgnoreNumber)
          .Int("MemVirtTotal", &S::Int64<liMemVirtTotal>, &S::IgnoreNumber)
          .Int("MemVirtFree", &S::Int64<liMemVirtFree>, &S::IgnoreNumber)
          .Int("MemPageTotal", &S::Int64<liMemPageTotal>, &S::IgnoreNumber)
          .Int("MemPageFree", &S::Int64<liMemPageFree>, &S::IgnoreNumber)
          .Int("MemVirtExtended", &S::Int64<liMemVirtExtended>, &S::IgnoreNumber)
          .Bool("NumLockState", &S::Flag<fiNumLockState>, &S::SetFlag<fiNumLockState>)
          .Bool("CapsLockState", &S::Flag<fiCapsLockState>, &S::SetFlag<fiCapsLockState>)
          .Bool("ScrollLockState", &S::Flag<fiScrollLockState>, &S::SetFlag<fiScrollLockState>)
          .Bool("WindowAnimation", &S::Flag<fiWindowAnimation>, &S::SetFlag<fiWindowAnimation>)
          .Bool("WarningBeep", &S::Flag<fiWarningBeep>, &S::SetFlag<fiWarningBeep>)
          .Bool("ScreenSaveActive", &S::Flag<fiScreenSaveActive>, &S::SetFlag<fiScreenSaveActive>)
          .Bool("FontSmoothing", &S::Flag<fiFontSmoothing>, &S::SetFlag<fiFontSmoothing>)
          .Bool("DragFullWindows", &S::Flag<fiDragFullWindows>, &S::SetFlag<fiDragFullWindows>)
          .Bool("SnapToDefaultButton", &S::Flag<fiSnapToDefaultButton>, &S::SetFlag<fiSnapToDefaultButton>)
          .Bool("PlusAvailable", &S::Flag<fiPlusAvailable>, &S::SetFlag<fiPlusAvailable>)
          .Text("LocaleCalendarType", &S::Locale<0>, &S::SetLocale<0>)
          .Text("LocaleCurrencyDigits", &S::Locale<1>, &S::SetLocale<1>)
          .Text("LocaleICurrency", &S::Locale<2>, &S::SetLocale<2>)
          .Text("LocaleDigits", &S::Locale<3>, &S::SetLocale<3>)
          .Text("LocaleFirstDayOfWeek", &S::Locale<4>, &S::SetLocale<4>)
          .Text("LocaleFirstWeekOfYear", &S::Locale<5>, &S::SetLocale<5>)
          .Text("LocaleZero", &S::Locale<6>, &S::SetLocale<6>)
          .Text("LocaleMeasureSystem", &S::Locale<7>, &S::SetLocale<7>)
          .Text("LocaleNegativeCurrencyFormat", &S::Locale<8>, &S::SetLocale<8>)
          .Text("LocaleNegativeNumberFormat", &S::Locale<9>, &S::SetLocale<9>)
          .Text("LocaleTime", &S::Locale<10>, &S::SetLocale<10>)
          .Text("LocaleMorningSymbol", &S::Locale<11>, &S::SetLocale<11>)
          .Text("LocaleAfternoonSymbol", &S::Locale<12>, &S::SetLocale<12>)
          .Text("LocaleCurrencySymbol", &S::Locale<13>, &S::SetLocale<13>)
          .Text("LocaleDateSeparator", &S::Locale<14>, &S::SetLocale<14>)
          .Text("LocaleDecimalSeparator", &S::Locale<15>, &S::SetLocale<15>)
          .Text("LocaleNumericGrouping", &S::Locale<16>, &S::SetLocale<16>)
          .Text("LocaleListSeparator", &S::Locale<17>, &S::SetLocale<17>)
          .Text("LocaleLongDateFormat", &S::Locale<18>, &S::SetLocale<18>)
          .Text("LocaleMonthDecimalSeparator", &S::Locale<19>, &S::SetLocale<19>)
          .Text("LocaleCurrencyGrouping", &S::Locale<20>, &S::SetLocale<20>)
          .Text("LocaleThousandSeparator", &S::Locale<21>, &S::SetLocale<21>)
          .Text("LocaleNegativeSign", &S::Locale<22>, &S::SetLocale<22>)
          .Text("LocalePositiveSign", &S::Locale<23>, &S::SetLocale<23>)
          .Text("LocaleShortDateFormat", &S::Locale<24>, &S::SetLocale<24>)
          .Text("LocaleThousand", &S::Locale<25>, &S::SetLocale<25>)
          .Text("LocaleTimeSeparator", &S::Locale<26>, &S::SetLocale<26>)
          .Text("LocaleShortTimeFormat", &S::Locale<27>, &S::SetLocale<27>)
          .Object("AllFonts", TStrings::StaticClass(), &S::AllFonts)
          .Object("AllPrinters", TStrings::StaticClass(), &S::AllPrinters)
          .Object("Environment", TStrings::StaticClass(), &S::Environment)
          .Int("ProcessorNumber", &S::ProcessorNumber, &S::IgnoreNumber)
          .Object("ProcessorInfo", TSysCPUInfoObject::StaticClass(), &S::ProcessorInfo)
          .Int("ColorDepth", &S::ColorDepth, &S::IgnoreNumber)
          .Int("KeyboardDelay", &S::KeyboardDelay, &S::SetKeyboardDelay)
          .Int("KeyboardSpeed", &S::KeyboardSpeed, &S::SetKeyboardSpeed)
          .Build();
  return info;
}

// ---------------------------------------------------------------- life

TSysInfo::TSysInfo(TComponent* owner)
    : TSysCustomComponent(owner),
      environment_(std::make_unique<TStringList>()),
      processorInfo_(std::make_unique<TSysCPUInfoObject>(Context())),
      fonts_(std::make_unique<TStringList>()),
      printers_(std::make_unique<TStringList>()) {}

TSysInfo::~TSysInfo() = default;

// ---------------------------------------------------------------- texts

AnsiString TSysInfo::RegisteredValue(const char* valueName) const {
  TRegistry reg(P().registry, HKEY_LOCAL_MACHINE_);
  // Reading only: an ordinary user may not open this key with full access.
  if (!reg.OpenKeyReadOnly(TSysWindowsObject::VersionKeyPath(PlatformFlags(Context()).isNT))) return kUnknown;
  return reg.ReadString(valueName);  // the accessor closes the key on every path
}

AnsiString TSysInfo::FreeResourcesText(uint16_t type) const {
  // Only the 95 family keeps 16-bit resource heaps; a failed look-up counts as 0.
  uint32_t percent = 0;
  if (PlatformFlags(Context()).isNT || !P().system.GetFreeSystemResources16(type, percent)) percent = 0;
  return Format("%d %%", static_cast<int>(percent & 0x7F));
}

AnsiString TSysInfo::GetTextByIndex(int index) const {
  ISystem& sys = P().system;
  switch (index) {
    case tiCurrentUser: {
      std::string name;
      if (!sys.GetUserName(name) || name.size() > kUserNameRoom) return kUnknown;
      return name;
    }
    case tiRegisteredCompany: return RegisteredValue("RegisteredOrganization");
    case tiRegisteredOwner: return RegisteredValue("RegisteredOwner");
    case tiVersionWIN: {
      OsVersionInfo v = Version(sys);
      return Format("%d.%d", static_cast<int>(v.majorVersion), static_cast<int>(v.minorVersion));
    }
    case tiWinPath: return sys.GetWindowsDirectory();
    case tiWinSysPath: return sys.GetSystemDirectory();
    case tiFreeGdiRes: return FreeResourcesText(1);
    case tiFreeUsrRes: return FreeResourcesText(2);
    case tiFreeSysRes: return FreeResourcesText(0);
    case tiMemoryLoaded: {
      SysMemoryStatus m = ReadMemoryStatus(Context());
      return Format("%d %%", static_cast<int>(m.memoryLoad & 0xFF));
    }
    case tiPlatform:
      switch (Version(sys).platformId) {
        case VER_PLATFORM_WIN32s_: return "Win32s";
        case VER_PLATFORM_WIN32_WINDOWS_: return "Windows 95";
        case VER_PLATFORM_WIN32_NT_: return "Windows NT";
        default: return kUnknown;
      }
    case tiTempPath: return sys.GetTempPath();
    case tiComputername: {
      std::string name;
      if (!sys.GetComputerName(name) || name.size() > kComputerNameRoom) return kUnknown;
      return name;
    }
    case tiProcessorType: {
      SystemInfo si;
      sys.GetSystemInfo(si);
      return ProcessorTypeText(si.processorType);
    }
    case tiDefaultLanguageString: {
      std::string name = P().locale.VerLanguageName(static_cast<LANGID>(P().locale.GetSystemDefaultLCID() & 0xFFFF));
      size_t end = std::min<size_t>(name.find('\0'), 254);  // room for 255 with the terminator
      return name.substr(0, end);
    }
    case tiTimeZone: {
      TimeZoneInformation tz;
      if (sys.GetTimeZoneInformation(tz) == TIME_ZONE_ID_INVALID_) tz = TimeZoneInformation{};
      WideString name = tz.standardName.substr(0, std::min<size_t>(tz.standardName.find(u'\0'), 32));
      return P().locale.WideToMultiByte(CP_ACP_, name);
    }
    default: return AnsiString();
  }
}

// ---------------------------------------------------------------- numbers

int32_t TSysInfo::GetIntegerByIndex(int index) const {
  ISystem& sys = P().system;
  switch (index) {
    case iiBuildNumber: return static_cast<int32_t>(Version(sys).buildNumber & 0xFFFF);
    case iiScreenSaverDelay: {
      int32_t seconds = 0;
      if (!sys.SystemParametersInfo(SPI_GETSCREENSAVETIMEOUT_, 0, &seconds, 0)) seconds = 0;
      return seconds / 60;
    }
    case iiDefaultLanguageID: return static_cast<int32_t>(P().locale.GetSystemDefaultLCID() & 0xFFFF);
    case iiTimeZoneDiff: {
      TimeZoneInformation tz;
      if (sys.GetTimeZoneInformation(tz) == TIME_ZONE_ID_INVALID_) return 0;
      return tz.bias;
    }
    case iiScreenWidth: return sys.GetSystemMetrics(0);   // SM_CXSCREEN
    case iiScreenHeight: return sys.GetSystemMetrics(1);  // SM_CYSCREEN
    case iiScreenPPi: return sys.GetDisplayDeviceCaps(LOGPIXELSY_);
    default: return 0;
  }
}

int64_t TSysInfo::GetInt64ByIndex(int index) const {
  if (index < liMemPhysTotal || index > liMemVirtExtended) return 0;
  SysMemoryStatus m = ReadMemoryStatus(Context());
  uint64_t field = 0;
  switch (index) {
    case liMemPhysTotal: field = m.totalPhys; break;
    case liMemPhysFree: field = m.availPhys; break;
    case liMemVirtTotal: field = m.totalVirtual; break;
    case liMemVirtFree: field = m.availVirtual; break;
    case liMemPageTotal: field = m.totalPageFile; break;
    case liMemPageFree: field = m.availPageFile; break;
    case liMemVirtExtended: field = m.availExtendedVirtual; break;
  }
  return static_cast<int64_t>(field) / 1024;
}

// ---------------------------------------------------------------- switches

bool TSysInfo::GetFlagByIndex(int index) const {
  ISystem& sys = P().system;
  const SysPlatformFlags& flags = PlatformFlags(Context());
  auto parameter = [&](uint32_t action) {
    int32_t value = 0;
    return sys.SystemParametersInfo(action, 0, &value, 0) && value != 0;
  };
  switch (index) {
    case fiNumLockState: return LockKeyOn(sys, VK_NUMLOCK_);
    case fiCapsLockState: return LockKeyOn(sys, VK_CAPITAL_);
    case fiScrollLockState: return LockKeyOn(sys, VK_SCROLL_);
    case fiWindowAnimation: {
      int32_t minAnimate = 0;
      return sys.SystemParametersInfoAnimation(SPI_GETANIMATION_, minAnimate, 0) && minAnimate != 0;
    }
    case fiWarningBeep: return parameter(SPI_GETBEEP_);
    case fiScreenSaveActive: return parameter(SPI_GETSCREENSAVEACTIVE_);
    case fiFontSmoothing: return flags.plusAvailable && parameter(SPI_GETFONTSMOOTHING_);
    case fiDragFullWindows: return flags.plusAvailable && parameter(SPI_GETDRAGFULLWINDOWS_);
    case fiSnapToDefaultButton: return flags.isNT && parameter(SPI_GETSNAPTODEFBUTTON_);
    case fiPlusAvailable: return flags.plusAvailable;
    default: return false;
  }
}

void TSysInfo::ToggleLockKey(uint8_t virtualKey, bool on) {
  ISystem& sys = P().system;
  if (PlatformFlags(Context()).isNT) {
    // A synthetic press and release toggles the key for the whole system.
    sys.KeybdEvent(virtualKey, 0x45, KEYEVENTF_EXTENDEDKEY_);
    sys.KeybdEvent(virtualKey, 0x45, KEYEVENTF_EXTENDEDKEY_ | KEYEVENTF_KEYUP_);
  } else {
    std::array<uint8_t, 256> keys{};
    if (!sys.GetKeyboardState(keys)) return;
    keys[virtualKey] = on ? 1 : 0;
    sys.SetKeyboardState(keys);
  }
}

void TSysInfo::WriteParameter(uint32_t action, bool value) {
  P().system.SystemParametersInfo(action, value ? 1 : 0, nullptr, kUpdateAndBroadcast);
}

void TSysInfo::SetFlagByIndex(int index, bool value) {
  if (index < 0 || index >= fiPlusAvailable) return;
  if (GetFlagByIndex(index) == value) return;
  const SysPlatformFlags& flags = PlatformFlags(Context());
  switch (index) {
    case fiNumLockState: ToggleLockKey(VK_NUMLOCK_, value); break;
    case fiCapsLockState: ToggleLockKey(VK_CAPITAL_, value); break;
    case fiScrollLockState: ToggleLockKey(VK_SCROLL_, value); break;
    case fiWindowAnimation: {
      ISystem& sys = P().system;
      int32_t minAnimate = 0;
      sys.SystemParametersInfoAnimation(SPI_GETANIMATION_, minAnimate, 0);
      minAnimate = value ? 1 : 0;
      sys.SystemParametersInfoAnimation(SPI_SETANIMATION_, minAnimate, kUpdateAndBroadcast);
      break;
    }
    case fiWarningBeep: WriteParameter(SPI_SETBEEP_, value); break;
    case fiScreenSaveActive: WriteParameter(SPI_SETSCREENSAVEACTIVE_, value); break;
    case fiFontSmoothing:
      if (flags.plusAvailable) WriteParameter(SPI_SETFONTSMOOTHING_, value);
      break;
    case fiDragFullWindows:
      if (flags.plusAvailable) WriteParameter(SPI_SETDRAGFULLWINDOWS_, value);
      break;
    case fiSnapToDefaultButton:
      if (flags.isNT) WriteParameter(SPI_SETSNAPTODEFBUTTON_, value);
      break;
  }
}

// ---------------------------------------------------------------- locale

AnsiString TSysInfo::GetLocaleByIndex(int index) const {
  ILocale& loc = P().locale;
  std::string text;
  if (!loc.GetLocaleInfo(loc.GetThreadLocale(), LocaleTypeOfIndex(index), text)) return "Hallo";
  return text.substr(0, std::min<size_t>(text.find('\0'), 255));  // room for 256 with the terminator
}

void TSysInfo::SetLocaleByIndex(int index, const AnsiString& value) {
  ILocale& loc = P().locale;
  loc.SetLocaleInfo(loc.GetThreadLocale(), LocaleTypeOfIndex(index), value);
}

// ---------------------------------------------------------------- the rest

TStrings* TSysInfo::AllFonts() const {
  fonts_->SetSorted(false);
  fonts_->Clear();
  for (const std::string& name : P().system.GetScreenFontNames()) fonts_->Add(name);
  fonts_->SetSorted(true);
  return fonts_.get();
}

TStrings* TSysInfo::AllPrinters() const {
  printers_->SetSorted(false);
  printers_->Clear();
  for (const std::string& name : P().system.GetPrinterNames()) printers_->Add(name);
  printers_->SetSorted(true);
  return printers_.get();
}

TStrings* TSysInfo::Environment() const {
  environment_->Clear();
  for (const std::string& entry : P().system.GetEnvironmentStrings()) {
    if (entry.empty()) break;  // the block ends at the empty entry
    environment_->Add(entry);
  }
  return environment_.get();
}

uint8_t TSysInfo::ProcessorNumber() const {
  SystemInfo si;
  P().system.GetSystemInfo(si);
  return static_cast<uint8_t>(si.numberOfProcessors & 0xFF);
}

uint8_t TSysInfo::ColorDepth() const {
  ISystem& sys = P().system;
  return static_cast<uint8_t>((sys.GetDisplayDeviceCaps(PLANES_) * sys.GetDisplayDeviceCaps(BITSPIXEL_)) & 0xFF);
}

int32_t TSysInfo::KeyboardDelay() const {
  int32_t value = 0;
  if (!P().system.SystemParametersInfo(SPI_GETKEYBOARDDELAY_, 0, &value, 0)) value = 0;
  return value;
}

void TSysInfo::SetKeyboardDelay(int32_t value) {
  if (value == KeyboardDelay()) return;
  P().system.SystemParametersInfo(SPI_SETKEYBOARDDELAY_, static_cast<uint32_t>(value), nullptr, kUpdateAndBroadcast);
}

int32_t TSysInfo::KeyboardSpeed() const {
  int32_t value = 0;
  if (!P().system.SystemParametersInfo(SPI_GETKEYBOARDSPEED_, 0, &value, 0)) value = 0;
  return value;
}

void TSysInfo::SetKeyboardSpeed(int32_t value) {
  if (value == KeyboardSpeed()) return;
  P().system.SystemParametersInfo(SPI_SETKEYBOARDSPEED_, static_cast<uint32_t>(value), nullptr, kUpdateAndBroadcast);
}

}  // namespace vsi
