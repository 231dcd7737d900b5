#pragma once
// System facts from kernel32, user32 and ntdll, and the processor's CPUID instruction.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vsi {

constexpr uint32_t VER_PLATFORM_WIN32s_ = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS_ = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT_ = 2;

// OSVERSIONINFOA (the 148-byte form).
struct OsVersionInfo {
  uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0, platformId = 0;
  std::string csdVersion;
};

// SYSTEM_INFO.
struct SystemInfo {
  uint16_t processorArchitecture = 0;
  uint32_t pageSize = 0;
  uint64_t minimumApplicationAddress = 0, maximumApplicationAddress = 0;
  uint64_t activeProcessorMask = 0;
  uint32_t numberOfProcessors = 0;
  uint32_t processorType = 0;
  uint32_t allocationGranularity = 0;
  uint16_t processorLevel = 0, processorRevision = 0;
};

// MEMORYSTATUS / MEMORYSTATUSEX.
struct MemoryStatus {
  uint32_t memoryLoad = 0;
  uint64_t totalPhys = 0, availPhys = 0, totalPageFile = 0, availPageFile = 0;
  uint64_t totalVirtual = 0, availVirtual = 0;
  uint64_t availExtendedVirtual = 0;  // MEMORYSTATUSEX only
};

// TIME_ZONE_INFORMATION.
struct TimeZoneInformation {
  int32_t bias = 0;  // minutes; UTC = local time + bias
  WideString standardName;
  SystemTime standardDate;
  int32_t standardBias = 0;
  WideString daylightName;
  SystemTime daylightDate;
  int32_t daylightBias = 0;
};
constexpr uint32_t TIME_ZONE_ID_INVALID_ = 0xFFFFFFFFu;

// SystemParametersInfoA actions and flags the program uses.
constexpr uint32_t SPI_GETBEEP_ = 0x0001;
constexpr uint32_t SPI_SETBEEP_ = 0x0002;
constexpr uint32_t SPI_GETKEYBOARDSPEED_ = 0x000A;
constexpr uint32_t SPI_SETKEYBOARDSPEED_ = 0x000B;
constexpr uint32_t SPI_GETSCREENSAVETIMEOUT_ = 0x000E;
constexpr uint32_t SPI_SETSCREENSAVETIMEOUT_ = 0x000F;
constexpr uint32_t SPI_GETSCREENSAVEACTIVE_ = 0x0010;
constexpr uint32_t SPI_SETSCREENSAVEACTIVE_ = 0x0011;
constexpr uint32_t SPI_SETDESKWALLPAPER_ = 0x0014;
constexpr uint32_t SPI_GETKEYBOARDDELAY_ = 0x0016;
constexpr uint32_t SPI_SETKEYBOARDDELAY_ = 0x0017;
constexpr uint32_t SPI_SETDRAGFULLWINDOWS_ = 0x0025;
constexpr uint32_t SPI_GETDRAGFULLWINDOWS_ = 0x0026;
constexpr uint32_t SPI_GETANIMATION_ = 0x0048;
constexpr uint32_t SPI_SETANIMATION_ = 0x0049;
constexpr uint32_t SPI_GETFONTSMOOTHING_ = 0x004A;
constexpr uint32_t SPI_SETFONTSMOOTHING_ = 0x004B;
constexpr uint32_t SPI_GETWINDOWSEXTENSION_ = 0x005C;
constexpr uint32_t SPI_GETSNAPTODEFBUTTON_ = 0x005F;
constexpr uint32_t SPI_SETSNAPTODEFBUTTON_ = 0x0060;
constexpr uint32_t SPI_GETSCREENSAVERRUNNING_ = 0x0072;
constexpr uint32_t SPIF_UPDATEINIFILE_ = 0x0001;
constexpr uint32_t SPIF_SENDWININICHANGE_ = 0x0002;

// Virtual keys and keybd_event flags.
constexpr uint8_t VK_CAPITAL_ = 0x14;
constexpr uint8_t VK_NUMLOCK_ = 0x90;
constexpr uint8_t VK_SCROLL_ = 0x91;
constexpr uint32_t KEYEVENTF_EXTENDEDKEY_ = 0x0001;
constexpr uint32_t KEYEVENTF_KEYUP_ = 0x0002;

// SYSTEM_POWER_STATUS; 255 and 0xFFFFFFFF stand for "unknown", as the system answers them.
struct PowerStatus {
  uint8_t acLineStatus = 255, batteryFlag = 255, batteryLifePercent = 255;
  uint32_t batteryLifeTime = 0xFFFFFFFFu, batteryFullLifeTime = 0xFFFFFFFFu;
};

// GetDeviceCaps indices.
constexpr int BITSPIXEL_ = 12;
constexpr int PLANES_ = 14;
constexpr int LOGPIXELSY_ = 90;

constexpr uint32_t ENUM_CURRENT_SETTINGS_ = 0xFFFFFFFFu;

// DEVMODEA fields of one display mode (EnumDisplaySettingsA).
struct DisplayMode {
  uint32_t width = 0, height = 0, bitsPerPixel = 0, frequency = 0;
  uint32_t displayFlags = 0;  // DM_GRAYSCALE 1, DM_INTERLACED 2
};

// One entry of a FindFirstFileA/FindNextFileA search: the name without its folder.
struct FoundFile {
  std::string name;
  uint32_t attributes = 0;
};
constexpr uint32_t FILE_ATTRIBUTE_READONLY_ = 0x01;
constexpr uint32_t FILE_ATTRIBUTE_HIDDEN_ = 0x02;
constexpr uint32_t FILE_ATTRIBUTE_SYSTEM_ = 0x04;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY_ = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE_ = 0x20;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL_ = 0x80;
constexpr uint32_t FILE_ATTRIBUTE_COMPRESSED_ = 0x800;
constexpr uint32_t INVALID_FILE_ATTRIBUTES_ = 0xFFFFFFFFu;

// A file's size and last write time (WIN32_FILE_ATTRIBUTE_DATA; the time in 100-ns units).
struct FileStamp {
  uint64_t size = 0;
  int64_t writeTime = 0;
  bool operator==(const FileStamp&) const = default;
};
constexpr uint32_t ERROR_FILE_TOO_LARGE_ = 223;

// One processor's times from NtQuerySystemInformation class 8, in 100-ns units.
struct ProcessorTimes {
  int64_t idleTime = 0, kernelTime = 0, userTime = 0;
};

class ISystem {
 public:
  virtual ~ISystem() = default;
  virtual bool GetVersionEx(OsVersionInfo& out) = 0;
  virtual void GetSystemInfo(SystemInfo& out) = 0;
  virtual void GlobalMemoryStatus(MemoryStatus& out) = 0;
  virtual bool GlobalMemoryStatusEx(MemoryStatus& out) = 0;
  virtual bool GetComputerName(std::string& out) = 0;
  virtual bool GetUserName(std::string& out) = 0;
  virtual void GetLocalTime(SystemTime& out) = 0;
  virtual void GetSystemTime(SystemTime& out) = 0;
  virtual std::string GetCurrentDirectory() = 0;
  virtual std::string GetWindowsDirectory() = 0;
  virtual std::string GetSystemDirectory() = 0;
  // Full path of the running executable.
  virtual std::string GetModuleFileName() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // The same two paths through GetModuleFileNameW and GetCurrentDirectoryW: whole in any
  // folder, where the ANSI calls answer '?' for each character outside the code page.
  virtual WideString GetModuleFileNameWide() = 0;
  virtual WideString GetCurrentDirectoryWide() = 0;
  // GetFileAttributesExW: size and last write time of a file; false when there is no such
  // file (a folder is none).
  virtual bool GetFileStamp(const WideString& path, FileStamp& out) = 0;
  // The whole file at once (CreateFileW shared for reading only, so that nobody writes it
  // meanwhile; GetFileSizeEx; ReadFile): 0, or the Win32 error code. A file of more than
  // `maxSize` bytes is not read: ERROR_FILE_TOO_LARGE_.
  virtual uint32_t ReadWholeFile(const WideString& path, uint64_t maxSize, Bytes& out) = 0;
  // A resource of the running executable by name and type (FindResourceA, LoadResource,
  // LockResource, SizeofResource; names compare without regard to case); false when the
  // module has none.
  virtual bool LoadModuleResource(const std::string& name, const std::string& type, Bytes& out) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  // NtQuerySystemInformation(SystemProcessorPerformanceInformation): one entry per logical
  // processor of every processor group (each group asked by number where there are several);
  // false when the call fails.
  virtual bool QueryProcessorTimes(std::vector<ProcessorTimes>& out) = 0;
  // CPUID with the given leaf; false where the instruction is not available.
  virtual bool Cpuid(uint32_t leaf, std::array<uint32_t, 4>& eaxEbxEcxEdx) = 0;

  // GetTempPathA, keeping the trailing backslash the system gives; empty on failure.
  virtual std::string GetTempPath() = 0;
  // GetTimeZoneInformation: a TIME_ZONE_ID_* answer, TIME_ZONE_ID_INVALID_ on failure.
  virtual uint32_t GetTimeZoneInformation(TimeZoneInformation& out) = 0;
  // GetEnvironmentStringsA: the "name=value" entries of the block, which is freed again.
  virtual std::vector<std::string> GetEnvironmentStrings() = 0;
  // SystemParametersInfoA for the forms whose pvParam is null or points at one 32-bit value
  // (BOOL, UINT, int): GET actions fill *pvParam, SET actions pass the value in uiParam.
  virtual bool SystemParametersInfo(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) = 0;
  // SPI_GETANIMATION / SPI_SETANIMATION with an 8-byte ANIMATIONINFO: its iMinAnimate field.
  virtual bool SystemParametersInfoAnimation(uint32_t action, int32_t& minAnimate, uint32_t winIni) = 0;
  // GetKeyState: bit 0 is the toggle state; a key held down answers 0xFF80 | toggle.
  virtual int16_t GetKeyState(int virtualKey) = 0;
  virtual void KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) = 0;
  virtual bool GetKeyboardState(std::array<uint8_t, 256>& keys) = 0;
  virtual bool SetKeyboardState(const std::array<uint8_t, 256>& keys) = 0;
  // GetDeviceCaps of a device context made for the "Display" driver and deleted again.
  virtual int GetDisplayDeviceCaps(int index) = 0;
  // Screen font family names and printer names, in the order the system lists them.
  virtual std::vector<std::string> GetScreenFontNames() = 0;
  virtual std::vector<std::string> GetPrinterNames() = 0;
  // 95 family: GetFreeSystemResources(type) of the 16-bit user module, reached by thunking;
  // false when the module or the thunk cannot be found (always on the NT family).
  virtual bool GetFreeSystemResources16(uint16_t type, uint32_t& percent) = 0;
  // NtQuerySystemInformation classes 0 (processor count), 2 (idle time of all processors) and
  // 3 (current system time), times in 100-ns units; false when ntdll lacks the entry point
  // or the call answers a non-zero status.
  virtual bool NtQueryProcessorCount(uint8_t& count) = 0;
  virtual bool NtQueryIdleTime(int64_t& idleTime) = 0;
  virtual bool NtQueryCurrentTime(int64_t& systemTime) = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // GetSystemPowerStatus; false when the system cannot tell.
  virtual bool GetSystemPowerStatus(PowerStatus& out) = 0;

  // EnumDisplaySettingsA of the primary display (no device name): false past the last mode.
  // ENUM_CURRENT_SETTINGS_ as the number gives the mode the display is in now.
  virtual bool EnumDisplaySettings(uint32_t modeNumber, DisplayMode& out) = 0;
  // FindFirstFileA/FindNextFileA/FindClose over `pattern`, every entry in the system's order.
  virtual std::vector<FoundFile> FindFiles(const std::string& pattern) = 0;
  // SystemParametersInfoA whose pvParam is a text (SPI_SETDESKWALLPAPER).
  virtual bool SystemParametersInfoText(uint32_t action, const std::string& text, uint32_t winIni) = 0;
  // GetKeyboardType(0 type, 1 subtype, 2 number of function keys); 0 on failure.
  virtual int GetKeyboardType(int typeFlag) = 0;
  // GetKeyboardLayoutNameA: eight hex digits; false on failure.
  virtual bool GetKeyboardLayoutName(std::string& out) = 0;
  virtual uint32_t GetCaretBlinkTime() = 0;
  virtual bool SetCaretBlinkTime(uint32_t milliseconds) = 0;
  // FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM) of an error code; empty when it has no text.
  virtual std::string SysErrorMessage(uint32_t code) = 0;
};

}  // namespace vsi
