#include "fakes/fake_system.h"

#include "framework/code_pages.h"
#include "framework/text_encoding.h"

#include <cctype>
#include <cstring>

namespace vsi::fake {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

const int64_t kDays1601To1970 = 134774;

}  // namespace

int DayOfWeek(int year, int month, int day) {
  const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  return static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
}

int64_t ToMilliseconds(const SystemTime& t) {
  const int64_t days = DaysFromCivil(t.year, t.month, t.day) + kDays1601To1970;
  return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + t.second * 1000 + t.milliseconds;
}

SystemTime FromMilliseconds(int64_t ms) {
  SystemTime t;
  const int64_t days = ms / 86400000;
  int64_t rest = ms % 86400000;
  int y, m, d;
  CivilFromDays(days - kDays1601To1970, y, m, d);
  t.year = static_cast<uint16_t>(y);
  t.month = static_cast<uint16_t>(m);
  t.day = static_cast<uint16_t>(d);
  t.dayOfWeek = static_cast<uint16_t>(DayOfWeek(y, m, d));
  t.hour = static_cast<uint16_t>(rest / 3600000);
  rest %= 3600000;
  t.minute = static_cast<uint16_t>(rest / 60000);
  rest %= 60000;
  t.second = static_cast<uint16_t>(rest / 1000);
  t.milliseconds = static_cast<uint16_t>(rest % 1000);
  return t;
}

FakeSystem::FakeSystem() {
  version = OsVersionInfo{6, 1, 7601, VER_PLATFORM_WIN32_NT_, "Service Pack 1"};

  systemInfo.processorArchitecture = 9;  // AMD64
  systemInfo.pageSize = 4096;
  systemInfo.minimumApplicationAddress = 0x10000;
  systemInfo.maximumApplicationAddress = 0x7FFFFFFEFFFFull;
  systemInfo.activeProcessorMask = 0x3;
  systemInfo.numberOfProcessors = 2;
  systemInfo.processorType = 8664;
  systemInfo.allocationGranularity = 65536;
  systemInfo.processorLevel = 6;
  systemInfo.processorRevision = 0x3A09;

  memory.memoryLoad = 42;
  memory.totalPhys = 8ull << 30;
  memory.availPhys = memory.totalPhys / 100 * 58;
  memory.totalPageFile = 16ull << 30;
  memory.availPageFile = 10ull << 30;
  memory.totalVirtual = 128ull << 40;
  memory.availVirtual = (128ull << 40) - (64ull << 20);

  localTime.dayOfWeek = static_cast<uint16_t>(DayOfWeek(localTime.year, localTime.month, localTime.day));
  systemTime.dayOfWeek = static_cast<uint16_t>(DayOfWeek(systemTime.year, systemTime.month, systemTime.day));

  metrics = {
      {0, 1280},  // SM_CXSCREEN
      {1, 1024},  // SM_CYSCREEN
      {2, 17},    // SM_CXVSCROLL
      {3, 17},    // SM_CYHSCROLL
      {4, 23},    // SM_CYCAPTION
      {5, 1},     // SM_CXBORDER
      {6, 1},     // SM_CYBORDER
      {7, 3},     // SM_CXDLGFRAME
      {8, 3},     // SM_CYDLGFRAME
      {11, 32},   // SM_CXICON
      {12, 32},   // SM_CYICON
      {13, 32},   // SM_CXCURSOR
      {14, 32},   // SM_CYCURSOR
      {15, 20},   // SM_CYMENU
      {16, 1280}, // SM_CXFULLSCREEN
      {17, 971},  // SM_CYFULLSCREEN
      {19, 1},    // SM_MOUSEPRESENT
      {23, 0},    // SM_SWAPBUTTON
      {32, 4},    // SM_CXFRAME
      {33, 4},    // SM_CYFRAME
      {36, 4},    // SM_CXDOUBLECLK
      {37, 4},    // SM_CYDOUBLECLK
      {43, 3},    // SM_CMOUSEBUTTONS
      {45, 2},    // SM_CXEDGE
      {46, 2},    // SM_CYEDGE
      {49, 16},   // SM_CXSMICON
      {50, 16},   // SM_CYSMICON
      {51, 17},   // SM_CYSMCAPTION
      {63, 3},    // SM_NETWORK
      {67, 0},    // SM_CLEANBOOT
      {80, 1},    // SM_CMONITORS
  };

  processorTimes = {ProcessorTimes{5000000, 7000000, 1000000}, ProcessorTimes{6000000, 8000000, 1500000}};

  // A small Intel part: leaf 0 vendor, leaf 1 signature (family 6 model 58 stepping 9) and features.
  cpuid[0] = {1, 0, 0, 0};
  SetCpuVendor("GenuineIntel");
  cpuid[1] = {0x000306A9, 0x00100800, 0x7FBAE3FF, 0xBFEBFBFF};

  spi = {
      {SPI_GETBEEP_, 1},           {SPI_GETKEYBOARDSPEED_, 31},   {SPI_GETSCREENSAVETIMEOUT_, 600},
      {SPI_GETSCREENSAVEACTIVE_, 1}, {SPI_GETKEYBOARDDELAY_, 1},  {SPI_GETDRAGFULLWINDOWS_, 1},
      {SPI_GETANIMATION_, 1},      {SPI_GETFONTSMOOTHING_, 1},    {SPI_GETSNAPTODEFBUTTON_, 0},
      {SPI_GETWINDOWSEXTENSION_, 1}, {SPI_GETSCREENSAVERRUNNING_, 0},
  };
  keys[VK_NUMLOCK_] = 0x01;  // num lock on, as after a usual start
}

void FakeSystem::UseWindows95() {
  version = OsVersionInfo{4, 0, 0x040003B6, VER_PLATFORM_WIN32_WINDOWS_, ""};
}

bool FakeSystem::GetVersionEx(OsVersionInfo& out) {
  ++versionQueries;
  if (versionFails) return false;
  out = version;
  return true;
}

void FakeSystem::GetSystemInfo(SystemInfo& out) { out = systemInfo; }

// A 64-bit process gets the full sizes from the old call too.
void FakeSystem::GlobalMemoryStatus(MemoryStatus& out) { out = memory; }

bool FakeSystem::GlobalMemoryStatusEx(MemoryStatus& out) {
  if (memoryExFails) return false;
  out = memory;
  return true;
}

bool FakeSystem::GetComputerName(std::string& out) {
  if (computerNameFails) return false;
  out = computerName;
  return true;
}

bool FakeSystem::GetUserName(std::string& out) {
  if (userNameFails) return false;
  out = userName;
  return true;
}

void FakeSystem::GetLocalTime(SystemTime& out) { out = localTime; }
void FakeSystem::GetSystemTime(SystemTime& out) { out = systemTime; }

void FakeSystem::AdvanceTime(int64_t milliseconds) {
  localTime = FromMilliseconds(ToMilliseconds(localTime) + milliseconds);
  systemTime = FromMilliseconds(ToMilliseconds(systemTime) + milliseconds);
}

AnsiString FakeSystem::ToAnsi(const std::string& utf8) const {
  const WideString wide = Utf8ToUtf16(utf8);
  return codePages_ ? codePages_->WideToMultiByte(CP_ACP_, wide) : Utf16ToCp1252(wide);
}

std::string FakeSystem::GetCurrentDirectory() { return ToAnsi(currentDirectory); }
std::string FakeSystem::GetWindowsDirectory() { return windowsDirectory; }
std::string FakeSystem::GetSystemDirectory() { return systemDirectory; }
std::string FakeSystem::GetModuleFileName() { return ToAnsi(moduleFileName); }
WideString FakeSystem::GetModuleFileNameWide() { return Utf8ToUtf16(moduleFileName); }
WideString FakeSystem::GetCurrentDirectoryWide() { return Utf8ToUtf16(currentDirectory); }

namespace {
// Case folding of the letters our paths use (ASCII, Latin-1, Greek, Cyrillic).
WideString FoldCase(WideString s) {
  for (char16_t& c : s) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB) ||
        (c >= 0x410 && c <= 0x42F))
      c = static_cast<char16_t>(c + 0x20);
    else if (c >= 0x400 && c <= 0x40F)
      c = static_cast<char16_t>(c + 0x50);
  }
  return s;
}
}  // namespace

void FakeSystem::AddFile(const std::string& path) { files_.try_emplace(FoldCase(Utf8ToUtf16(path))); }
void FakeSystem::PutFile(const std::string& path, Bytes data) {
  File& f = files_[FoldCase(Utf8ToUtf16(path))];
  f.data = std::move(data);
  f.writeTime = ++writes_;
}
void FakeSystem::RemoveFile(const std::string& path) { files_.erase(FoldCase(Utf8ToUtf16(path))); }

const FakeSystem::File* FakeSystem::Find(const WideString& path) const {
  auto it = files_.find(FoldCase(path));
  return it == files_.end() ? nullptr : &it->second;
}

bool FakeSystem::FileExists(const std::string& path) {
  return Find(codePages_ ? codePages_->MultiByteToWide(CP_ACP_, path) : Cp1252ToUtf16(path)) != nullptr;
}

bool FakeSystem::GetFileStamp(const WideString& path, FileStamp& out) {
  const File* f = Find(path);
  if (!f) return false;
  out = {f->data.size(), f->writeTime};
  return true;
}

uint32_t FakeSystem::ReadWholeFile(const WideString& path, uint64_t maxSize, Bytes& out) {
  const File* f = Find(path);
  if (!f) return 2;  // ERROR_FILE_NOT_FOUND
  for (const std::string& held : filesOpenForWriting)
    if (FoldCase(Utf8ToUtf16(held)) == FoldCase(path)) return 32;  // ERROR_SHARING_VIOLATION
  if (f->data.size() > maxSize) return ERROR_FILE_TOO_LARGE_;
  ++fileReads;
  out = f->data;
  return 0;
}

void FakeSystem::AddResource(const std::string& name, const std::string& type, Bytes data) {
  resources_[Lower(name) + "/" + Lower(type)] = std::move(data);
}

bool FakeSystem::LoadModuleResource(const std::string& name, const std::string& type, Bytes& out) {
  // String names and types of resources are stored upper-cased, so any case finds them.
  auto it = resources_.find(Lower(name) + "/" + Lower(type));
  if (it == resources_.end()) return false;
  out = it->second;
  return true;
}

int FakeSystem::GetSystemMetrics(int index) {
  auto it = metrics.find(index);
  return it == metrics.end() ? 0 : it->second;
}

bool FakeSystem::QueryProcessorTimes(std::vector<ProcessorTimes>& out) {
  ++processorTimeQueries;
  if (processorTimesFail) return false;
  out = processorTimes;
  return true;
}

bool FakeSystem::Cpuid(uint32_t leaf, std::array<uint32_t, 4>& eaxEbxEcxEdx) {
  if (!cpuidAvailable) return false;
  auto it = cpuid.find(leaf);
  eaxEbxEcxEdx = it == cpuid.end() ? std::array<uint32_t, 4>{0, 0, 0, 0} : it->second;
  return true;
}

void FakeSystem::SetCpuVendor(const std::string& twelveChars) {
  char v[12] = {};
  std::memcpy(v, twelveChars.data(), twelveChars.size() < 12 ? twelveChars.size() : 12);
  auto& l0 = cpuid[0];
  std::memcpy(&l0[1], v, 4);      // EBX
  std::memcpy(&l0[3], v + 4, 4);  // EDX
  std::memcpy(&l0[2], v + 8, 4);  // ECX
}


std::string FakeSystem::GetTempPath() { return tempPath; }

uint32_t FakeSystem::GetTimeZoneInformation(TimeZoneInformation& out) {
  if (timeZoneId != TIME_ZONE_ID_INVALID_) out = timeZone;
  return timeZoneId;
}

std::vector<std::string> FakeSystem::GetEnvironmentStrings() { return environment; }

namespace {
// The GET action a SET action writes, as the system pairs them.
uint32_t GetActionOf(uint32_t action) {
  switch (action) {
    case SPI_SETBEEP_: return SPI_GETBEEP_;
    case SPI_SETKEYBOARDSPEED_: return SPI_GETKEYBOARDSPEED_;
    case SPI_SETSCREENSAVETIMEOUT_: return SPI_GETSCREENSAVETIMEOUT_;
    case SPI_SETSCREENSAVEACTIVE_: return SPI_GETSCREENSAVEACTIVE_;
    case SPI_SETKEYBOARDDELAY_: return SPI_GETKEYBOARDDELAY_;
    case SPI_SETDRAGFULLWINDOWS_: return SPI_GETDRAGFULLWINDOWS_;
    case SPI_SETANIMATION_: return SPI_GETANIMATION_;
    case SPI_SETFONTSMOOTHING_: return SPI_GETFONTSMOOTHING_;
    case SPI_SETSNAPTODEFBUTTON_: return SPI_GETSNAPTODEFBUTTON_;
    default: return 0;
  }
}
}  // namespace

bool FakeSystem::SystemParametersInfo(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) {
  if (uint32_t get = GetActionOf(action)) {
    if (!spi.count(get)) return false;
    spi[get] = static_cast<int32_t>(uiParam);
    spiWrites.push_back(SpiCall{action, static_cast<int32_t>(uiParam), winIni});
    return true;
  }
  auto it = spi.find(action);
  if (it == spi.end()) return false;
  if (pvParam) *pvParam = it->second;
  return true;
}

bool FakeSystem::SystemParametersInfoAnimation(uint32_t action, int32_t& minAnimate, uint32_t winIni) {
  if (action == SPI_SETANIMATION_) {
    if (!spi.count(SPI_GETANIMATION_)) return false;
    spi[SPI_GETANIMATION_] = minAnimate;
    spiWrites.push_back(SpiCall{action, minAnimate, winIni});
    return true;
  }
  if (action != SPI_GETANIMATION_) return false;
  auto it = spi.find(SPI_GETANIMATION_);
  if (it == spi.end()) return false;
  minAnimate = it->second;
  return true;
}

int16_t FakeSystem::GetKeyState(int virtualKey) {
  // As the real call answers: the key's state byte sign-extended, so a key held down reads
  // 0xFF80 | toggle, and a released one just its toggle bit.
  uint8_t b = keys[static_cast<uint8_t>(virtualKey)];
  return static_cast<int16_t>((b & 0x80 ? 0xFF80 : 0) | (b & 0x01));
}

void FakeSystem::KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) {
  keyEvents.push_back(KeyEvent{virtualKey, scanCode, flags});
  uint8_t& b = keys[virtualKey];
  if (flags & KEYEVENTF_KEYUP_) {
    b &= 0x7F;
  } else {
    b = static_cast<uint8_t>((b | 0x80) ^ 0x01);
  }
}

bool FakeSystem::GetKeyboardState(std::array<uint8_t, 256>& out) {
  out = keys;
  return true;
}

bool FakeSystem::SetKeyboardState(const std::array<uint8_t, 256>& in) {
  ++keyboardStateWrites;
  keys = in;
  return true;
}

int FakeSystem::GetDisplayDeviceCaps(int index) {
  auto it = displayCaps.find(index);
  return it == displayCaps.end() ? 0 : it->second;
}

std::vector<std::string> FakeSystem::GetScreenFontNames() { return fontNames; }
std::vector<std::string> FakeSystem::GetPrinterNames() { return printerNames; }

bool FakeSystem::GetFreeSystemResources16(uint16_t type, uint32_t& percent) {
  if (version.platformId != VER_PLATFORM_WIN32_WINDOWS_) return false;
  auto it = freeResources.find(type);
  if (it == freeResources.end()) return false;
  percent = it->second;
  return true;
}

bool FakeSystem::NtQueryProcessorCount(uint8_t& count) {
  if (!ntAvailable) return false;
  count = ntProcessorCount;
  return true;
}

bool FakeSystem::NtQueryIdleTime(int64_t& idleTime) {
  if (!ntAvailable || ntIdleFails || ntIdleTimes.empty()) return false;
  idleTime = ntIdleTimes[ntIdleNext_ < ntIdleTimes.size() ? ntIdleNext_++ : ntIdleTimes.size() - 1];
  return true;
}

bool FakeSystem::NtQueryCurrentTime(int64_t& systemTime) {
  if (!ntAvailable || ntTimeFails || ntCurrentTimes.empty()) return false;
  systemTime = ntCurrentTimes[ntTimeNext_ < ntCurrentTimes.size() ? ntTimeNext_++ : ntCurrentTimes.size() - 1];
  return true;
}

void FakeSystem::Sleep(uint32_t milliseconds) { sleeps.push_back(milliseconds); }

bool FakeSystem::GetSystemPowerStatus(PowerStatus& out) {
  if (powerStatusFails) return false;
  out = powerStatus;
  return true;
}

bool FakeSystem::EnumDisplaySettings(uint32_t modeNumber, DisplayMode& out) {
  if (modeNumber == ENUM_CURRENT_SETTINGS_) {
    if (!currentMode) return false;
    out = *currentMode;
    return true;
  }
  if (modeNumber >= displayModes.size()) return false;
  out = displayModes[modeNumber];
  return true;
}

namespace {
// '*' and '?' as the file system matches them, without regard to case.
bool WildcardMatch(const std::string& mask, const std::string& name) {
  size_t m = 0, n = 0, star = std::string::npos, mark = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || std::tolower(static_cast<unsigned char>(mask[m])) ==
                                                  std::tolower(static_cast<unsigned char>(name[n])))) {
      ++m;
      ++n;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      mark = n;
    } else if (star != std::string::npos) {
      m = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  auto slash = path.find_last_of('\\');
  if (slash == std::string::npos) return {std::string(), path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}
}  // namespace

void FakeSystem::AddListedFile(const std::string& path, uint32_t attributes) {
  listed_.emplace_back(path, attributes);
  AddFile(path);
}

std::vector<FoundFile> FakeSystem::FindFilesIn(const std::string& folder) const {
  std::vector<FoundFile> out;
  for (const auto& [path, attributes] : listed_) {
    auto [dir, name] = SplitPath(path);
    if (Lower(dir) == Lower(folder)) out.push_back(FoundFile{name, attributes});
  }
  return out;
}

std::vector<FoundFile> FakeSystem::FindFiles(const std::string& pattern) {
  auto [folder, mask] = SplitPath(pattern);
  std::vector<FoundFile> out;
  for (FoundFile& f : FindFilesIn(folder))
    if (WildcardMatch(mask, f.name)) out.push_back(std::move(f));
  return out;
}

bool FakeSystem::SystemParametersInfoText(uint32_t action, const std::string& text, uint32_t winIni) {
  if (spiTextFails) return false;
  spiTextWrites.push_back(SpiTextCall{action, text, winIni});
  return true;
}

int FakeSystem::GetKeyboardType(int typeFlag) {
  auto it = keyboardType.find(typeFlag);
  return it == keyboardType.end() ? 0 : it->second;
}

bool FakeSystem::GetKeyboardLayoutName(std::string& out) {
  if (keyboardLayoutFails) return false;
  out = keyboardLayoutName;
  return true;
}

uint32_t FakeSystem::GetCaretBlinkTime() { return caretBlinkTime; }

bool FakeSystem::SetCaretBlinkTime(uint32_t milliseconds) {
  caretBlinkWrites.push_back(milliseconds);
  caretBlinkTime = milliseconds;
  return true;
}

std::string FakeSystem::SysErrorMessage(uint32_t code) {
  auto it = errorTexts.find(code);
  return it == errorTexts.end() ? std::string() : it->second;
}

}  // namespace vsi::fake
