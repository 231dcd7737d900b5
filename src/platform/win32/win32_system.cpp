#include "platform/win32/win32_api.h"

#include <algorithm>
#include <cstring>

#include "platform/compiler.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

namespace {

SystemTime FromSystemTime(const SYSTEMTIME& s) {
  return SystemTime{s.wYear, s.wMonth, s.wDayOfWeek, s.wDay, s.wHour, s.wMinute, s.wSecond, s.wMilliseconds};
}

// The directory functions answer the length they need when the buffer is short.
template <class F>
std::string PathFrom(F call) {
  std::string buf(MAX_PATH, '\0');
  DWORD n = call(buf.data(), static_cast<DWORD>(buf.size()));
  if (n >= buf.size()) {
    buf.resize(n);
    n = call(buf.data(), static_cast<DWORD>(buf.size()));
    if (n >= buf.size()) return {};
  }
  buf.resize(n);
  return buf;
}

// ntdll and kernel32 are loaded in every process: nothing is loaded by name here. Null where
// the system lacks the export.
template <class F>
F Export(const char* module, const char* name) {
  HMODULE m = ::GetModuleHandleA(module);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(m, name))) : nullptr;
}

using NtQuerySystemInformationFn = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
using NtQuerySystemInformationExFn = LONG(WINAPI*)(int, void*, ULONG, void*, ULONG, ULONG*);

NtQuerySystemInformationFn NtQuerySystemInformationFunction() {
  return Export<NtQuerySystemInformationFn>("ntdll.dll", "NtQuerySystemInformation");
}

constexpr int kProcessorPerformanceClass = 8;  // SystemProcessorPerformanceInformation

// Appends the times of up to `count` processors as `query(buffer, size, &returned)` answers them.
template <class Query>
bool AppendProcessorTimes(DWORD count, Query query, std::vector<ProcessorTimes>& out) {
  std::vector<SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION> info(count ? count : 1);
  ULONG returned = 0;
  if (query(info.data(), static_cast<ULONG>(info.size() * sizeof info[0]), &returned) != 0) return false;
  const size_t n = std::min<size_t>(returned / sizeof info[0], info.size());
  for (size_t i = 0; i < n; ++i)
    out.push_back(ProcessorTimes{info[i].IdleTime.QuadPart, info[i].KernelTime.QuadPart, info[i].UserTime.QuadPart});
  return n > 0;
}

int CALLBACK CollectFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM param) {
  reinterpret_cast<std::vector<std::string>*>(param)->push_back(lf->lfFaceName);
  return 1;
}

}  // namespace

bool Win32System::GetVersionEx(OsVersionInfo& out) {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(&vi)) return false;
#pragma GCC diagnostic pop
  out.majorVersion = vi.dwMajorVersion;
  out.minorVersion = vi.dwMinorVersion;
  out.buildNumber = vi.dwBuildNumber;
  out.platformId = vi.dwPlatformId;
  out.csdVersion = vi.szCSDVersion;
  return true;
}

void Win32System::GetSystemInfo(SystemInfo& out) {
  SYSTEM_INFO si{};
  ::GetSystemInfo(&si);
  out.processorArchitecture = si.wProcessorArchitecture;
  out.pageSize = si.dwPageSize;
  out.minimumApplicationAddress = reinterpret_cast<uintptr_t>(si.lpMinimumApplicationAddress);
  out.maximumApplicationAddress = reinterpret_cast<uintptr_t>(si.lpMaximumApplicationAddress);
  out.activeProcessorMask = si.dwActiveProcessorMask;
  out.numberOfProcessors = si.dwNumberOfProcessors;
  out.processorType = si.dwProcessorType;
  out.allocationGranularity = si.dwAllocationGranularity;
  out.processorLevel = si.wProcessorLevel;
  out.processorRevision = si.wProcessorRevision;
}

void Win32System::GlobalMemoryStatus(MemoryStatus& out) {
  MEMORYSTATUS ms{};
  ms.dwLength = sizeof ms;
  ::GlobalMemoryStatus(&ms);
  out.memoryLoad = ms.dwMemoryLoad;
  out.totalPhys = ms.dwTotalPhys;
  out.availPhys = ms.dwAvailPhys;
  out.totalPageFile = ms.dwTotalPageFile;
  out.availPageFile = ms.dwAvailPageFile;
  out.totalVirtual = ms.dwTotalVirtual;
  out.availVirtual = ms.dwAvailVirtual;
}

bool Win32System::GlobalMemoryStatusEx(MemoryStatus& out) {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof ms;
  if (!::GlobalMemoryStatusEx(&ms)) return false;
  out.memoryLoad = ms.dwMemoryLoad;
  out.totalPhys = ms.ullTotalPhys;
  out.availPhys = ms.ullAvailPhys;
  out.totalPageFile = ms.ullTotalPageFile;
  out.availPageFile = ms.ullAvailPageFile;
  out.totalVirtual = ms.ullTotalVirtual;
  out.availVirtual = ms.ullAvailVirtual;
  out.availExtendedVirtual = ms.ullAvailExtendedVirtual;
  return true;
}

bool Win32System::GetComputerName(std::string& out) {
  char buf[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD len = sizeof buf;
  if (!::GetComputerNameA(buf, &len)) return false;
  out.assign(buf, len);
  return true;
}

bool Win32System::GetUserName(std::string& out) {
  char buf[257];  // UNLEN + 1
  DWORD len = sizeof buf;
  if (!::GetUserNameA(buf, &len)) return false;
  out.assign(buf, len ? len - 1 : 0);  // the count includes the terminating zero
  return true;
}

void Win32System::GetLocalTime(SystemTime& out) {
  SYSTEMTIME s;
  ::GetLocalTime(&s);
  out = FromSystemTime(s);
}

void Win32System::GetSystemTime(SystemTime& out) {
  SYSTEMTIME s;
  ::GetSystemTime(&s);
  out = FromSystemTime(s);
}

std::string Win32System::GetCurrentDirectory() {
  return PathFrom([](char* b, DWORD n) { return ::GetCurrentDirectoryA(n, b); });
}

std::string Win32System::GetWindowsDirectory() {
  return PathFrom([](char* b, DWORD n) { return ::GetWindowsDirectoryA(b, n); });
}

std::string Win32System::GetSystemDirectory() {
  return PathFrom([](char* b, DWORD n) { return ::GetSystemDirectoryA(b, n); });
}

std::string Win32System::GetModuleFileName() {
  std::string buf(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);  // truncated: the path is longer
  }
}

bool Win32System::FileExists(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {
const wchar_t* Wide(const WideString& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
}  // namespace

WideString Win32System::GetModuleFileNameWide() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return WideString(reinterpret_cast<const char16_t*>(buf.data()), n);
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);  // truncated: the path is longer
  }
}

WideString Win32System::GetCurrentDirectoryWide() {
  DWORD n = ::GetCurrentDirectoryW(0, nullptr);  // the length with the terminating zero
  if (n == 0) return {};
  std::wstring buf(n, L'\0');
  n = ::GetCurrentDirectoryW(static_cast<DWORD>(buf.size()), buf.data());
  if (n == 0 || n >= buf.size()) return {};
  return WideString(reinterpret_cast<const char16_t*>(buf.data()), n);
}

bool Win32System::GetFileStamp(const WideString& path, FileStamp& out) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  out.size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  out.writeTime = static_cast<int64_t>(uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                       data.ftLastWriteTime.dwLowDateTime);
  return true;
}

uint32_t Win32System::ReadWholeFile(const WideString& path, uint64_t maxSize, Bytes& out) {
  // Shared for reading (and for a rename or delete that replaces it), not for writing: while
  // we hold it nobody writes it, and a writer that holds it already makes the open fail.
  const win32::ScopedHandle owned(::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!owned) return ::GetLastError();
  HANDLE file = owned.Get();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) return ::GetLastError();
  if (static_cast<uint64_t>(size.QuadPart) > maxSize) return ERROR_FILE_TOO_LARGE_;
  Bytes data(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < data.size()) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
    if (!::ReadFile(file, data.data() + done, want, &n, nullptr)) return ::GetLastError();
    if (n == 0) return ERROR_HANDLE_EOF;  // shorter than its size said
    done += n;
  }
  out = std::move(data);
  return 0;
}

bool Win32System::LoadModuleResource(const std::string& name, const std::string& type, Bytes& out) {
  HMODULE self = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(self, name.c_str(), type.c_str());
  if (!found) return false;
  // A loaded resource belongs to the module: nothing to free.
  HGLOBAL loaded = ::LoadResource(self, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return false;
  const DWORD size = ::SizeofResource(self, found);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out.assign(bytes, bytes + size);
  return true;
}

int Win32System::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

bool Win32System::QueryProcessorTimes(std::vector<ProcessorTimes>& out) {
  out.clear();
  // The plain query answers the calling thread's processor group only. Past one group (more
  // than 64 logical processors, Windows 7 on) each group is asked by its number.
  auto groupCount = Export<WORD(WINAPI*)()>("kernel32.dll", "GetActiveProcessorGroupCount");
  auto groupSize = Export<DWORD(WINAPI*)(WORD)>("kernel32.dll", "GetActiveProcessorCount");
  auto queryEx = Export<NtQuerySystemInformationExFn>("ntdll.dll", "NtQuerySystemInformationEx");
  const WORD groups = groupCount ? groupCount() : 1;
  if (groups > 1 && groupSize && queryEx) {
    for (WORD g = 0; g < groups; ++g) {
      USHORT group = g;
      auto query = [&](void* buffer, ULONG size, ULONG* returned) {
        return queryEx(kProcessorPerformanceClass, &group, sizeof group, buffer, size, returned);
      };
      if (!AppendProcessorTimes(groupSize(g), query, out)) return false;
    }
    return true;
  }
  auto plain = NtQuerySystemInformationFunction();
  if (!plain) return false;
  SYSTEM_INFO si{};
  ::GetSystemInfo(&si);
  auto query = [&](void* buffer, ULONG size, ULONG* returned) {
    return plain(kProcessorPerformanceClass, buffer, size, returned);
  };
  return AppendProcessorTimes(si.dwNumberOfProcessors, query, out);
}

bool Win32System::Cpuid(uint32_t leaf, std::array<uint32_t, 4>& r) { return CpuidInstruction(leaf, r); }

std::string Win32System::GetTempPath() {
  return PathFrom([](char* b, DWORD n) { return ::GetTempPathA(n, b); });
}

uint32_t Win32System::GetTimeZoneInformation(TimeZoneInformation& out) {
  TIME_ZONE_INFORMATION tz{};
  const DWORD id = ::GetTimeZoneInformation(&tz);
  if (id == TIME_ZONE_ID_INVALID) return TIME_ZONE_ID_INVALID_;
  out.bias = tz.Bias;
  out.standardName.assign(reinterpret_cast<const char16_t*>(tz.StandardName));
  out.standardDate = FromSystemTime(tz.StandardDate);
  out.standardBias = tz.StandardBias;
  out.daylightName.assign(reinterpret_cast<const char16_t*>(tz.DaylightName));
  out.daylightDate = FromSystemTime(tz.DaylightDate);
  out.daylightBias = tz.DaylightBias;
  return id;
}

std::vector<std::string> Win32System::GetEnvironmentStrings() {
  std::vector<std::string> out;
  char* block = ::GetEnvironmentStringsA();
  if (!block) return out;
  for (const char* p = block; *p; p += std::strlen(p) + 1) out.emplace_back(p);
  ::FreeEnvironmentStringsA(block);
  return out;
}

bool Win32System::SystemParametersInfo(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) {
  return ::SystemParametersInfoA(action, uiParam, pvParam, winIni) != FALSE;
}

bool Win32System::SystemParametersInfoAnimation(uint32_t action, int32_t& minAnimate, uint32_t winIni) {
  ANIMATIONINFO ai{};
  ai.cbSize = sizeof ai;
  ai.iMinAnimate = minAnimate;
  if (!::SystemParametersInfoA(action, sizeof ai, &ai, winIni)) return false;
  minAnimate = ai.iMinAnimate;
  return true;
}

int16_t Win32System::GetKeyState(int virtualKey) { return ::GetKeyState(virtualKey); }

void Win32System::KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) {
  ::keybd_event(virtualKey, scanCode, flags, 0);
}

bool Win32System::GetKeyboardState(std::array<uint8_t, 256>& keys) { return ::GetKeyboardState(keys.data()) != FALSE; }

bool Win32System::SetKeyboardState(const std::array<uint8_t, 256>& keys) {
  std::array<uint8_t, 256> copy = keys;
  return ::SetKeyboardState(copy.data()) != FALSE;
}

int Win32System::GetDisplayDeviceCaps(int index) {
  const win32::ScopedCreatedDC dc(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  return dc ? ::GetDeviceCaps(dc.Get(), index) : 0;
}

std::vector<std::string> Win32System::GetScreenFontNames() {
  std::vector<std::string> names;
  const win32::ScopedGetDC screen(nullptr);
  if (screen) ::EnumFontFamiliesA(screen.Get(), nullptr, CollectFamily, reinterpret_cast<LPARAM>(&names));
  return names;
}

std::vector<std::string> Win32System::GetPrinterNames() {
  std::vector<std::string> names;
  // The spooler's client is optional: loaded from the system directory only, and once. The
  // translator reads the printer list on every language switch, and Wine's client leaves a
  // mutex handle behind each time it is loaded again: it stays loaded for the process.
  static const HMODULE spool = win32::LoadSystemLibrary("winspool.drv");
  if (!spool) return names;
  using EnumPrintersFn = BOOL(WINAPI*)(DWORD, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
  auto enumPrinters = reinterpret_cast<EnumPrintersFn>(reinterpret_cast<void*>(::GetProcAddress(spool, "EnumPrintersA")));
  if (enumPrinters) {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    enumPrinters(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed) {
      std::vector<BYTE> buf(needed);
      if (enumPrinters(flags, nullptr, 4, buf.data(), needed, &needed, &count)) {
        auto* info = reinterpret_cast<PRINTER_INFO_4A*>(buf.data());
        for (DWORD i = 0; i < count; ++i) names.emplace_back(info[i].pPrinterName ? info[i].pPrinterName : "");
      }
    }
  }
  return names;
}

// The 16-bit user module cannot be reached from a 64-bit process; on the NT family it never
// could. The caller falls back as it does on NT.
bool Win32System::GetFreeSystemResources16(uint16_t, uint32_t&) { return false; }

bool Win32System::NtQueryProcessorCount(uint8_t& count) {
  auto query = NtQuerySystemInformationFunction();
  if (!query) return false;
  SYSTEM_BASIC_INFORMATION info{};
  if (query(0, &info, sizeof info, nullptr) != 0) return false;
  count = static_cast<uint8_t>(info.NumberOfProcessors);
  return true;
}

bool Win32System::NtQueryIdleTime(int64_t& idleTime) {
  auto query = NtQuerySystemInformationFunction();
  if (!query) return false;
  // Newer systems answer a longer record; the idle time is its first field either way.
  alignas(8) uint8_t buf[1024] = {};
  ULONG returned = 0;
  if (query(2, buf, sizeof buf, &returned) != 0 || returned < sizeof(LARGE_INTEGER)) return false;
  std::memcpy(&idleTime, buf, sizeof idleTime);
  return true;
}

bool Win32System::NtQueryCurrentTime(int64_t& systemTime) {
  auto query = NtQuerySystemInformationFunction();
  if (!query) return false;
  SYSTEM_TIMEOFDAY_INFORMATION info{};
  if (query(3, &info, sizeof info, nullptr) != 0) return false;
  systemTime = info.CurrentTime.QuadPart;
  return true;
}

void Win32System::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32System::GetSystemPowerStatus(PowerStatus& out) {
  SYSTEM_POWER_STATUS s{};
  if (!::GetSystemPowerStatus(&s)) return false;
  out.acLineStatus = s.ACLineStatus;
  out.batteryFlag = s.BatteryFlag;
  out.batteryLifePercent = s.BatteryLifePercent;
  out.batteryLifeTime = s.BatteryLifeTime;
  out.batteryFullLifeTime = s.BatteryFullLifeTime;
  return true;
}

bool Win32System::EnumDisplaySettings(uint32_t modeNumber, DisplayMode& out) {
  DEVMODEA dm{};
  dm.dmSize = sizeof dm;
  if (!::EnumDisplaySettingsA(nullptr, modeNumber, &dm)) return false;
  out.width = dm.dmPelsWidth;
  out.height = dm.dmPelsHeight;
  out.bitsPerPixel = dm.dmBitsPerPel;
  out.frequency = dm.dmDisplayFrequency;
  out.displayFlags = dm.dmDisplayFlags;
  return true;
}

std::vector<FoundFile> Win32System::FindFiles(const std::string& pattern) {
  std::vector<FoundFile> out;
  WIN32_FIND_DATAA fd;
  const win32::ScopedFindHandle search(::FindFirstFileA(pattern.c_str(), &fd));
  if (!search) return out;
  do {
    out.push_back(FoundFile{fd.cFileName, fd.dwFileAttributes});
  } while (::FindNextFileA(search.Get(), &fd));
  return out;
}

bool Win32System::SystemParametersInfoText(uint32_t action, const std::string& text, uint32_t winIni) {
  std::vector<char> buf(text.begin(), text.end());
  buf.push_back('\0');
  return ::SystemParametersInfoA(action, 0, buf.data(), winIni) != FALSE;
}

int Win32System::GetKeyboardType(int typeFlag) { return ::GetKeyboardType(typeFlag); }

bool Win32System::GetKeyboardLayoutName(std::string& out) {
  char buf[KL_NAMELENGTH] = {};
  if (!::GetKeyboardLayoutNameA(buf)) return false;
  out = buf;
  return true;
}

uint32_t Win32System::GetCaretBlinkTime() { return ::GetCaretBlinkTime(); }

bool Win32System::SetCaretBlinkTime(uint32_t milliseconds) { return ::SetCaretBlinkTime(milliseconds) != FALSE; }

std::string Win32System::SysErrorMessage(uint32_t code) {
  char buf[512];
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                             sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == ' ')) --n;
  return std::string(buf, n);
}

}  // namespace vsi
