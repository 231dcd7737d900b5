#pragma once
// The real platform: thin classes that call the Win32 API (the A functions; the W ones where
// text is wide) and convert types. This header stays free of <windows.h>; handles are kept as
// integers and converted in the .cpp files.
#include <functional>
#include <memory>

#include "platform/platform.h"

struct _SHELLEXECUTEINFOA;  // <shellapi.h>

namespace vsi {

class Win32Registry : public IRegistry {
 public:
  WinError OpenKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) override;
  WinError CreateKey(RegKey parent, const std::string& subKey, uint32_t access, RegKey& out) override;
  WinError QueryValue(RegKey key, const std::string& name, uint32_t* type, uint8_t* data,
                      uint32_t& size) override;
  WinError SetValue(RegKey key, const std::string& name, uint32_t type, const uint8_t* data,
                    uint32_t size) override;
  WinError EnumKey(RegKey key, uint32_t index, std::string& name) override;
  WinError EnumValue(RegKey key, uint32_t index, std::string& name) override;
  WinError CloseKey(RegKey key) override;
};

class Win32System : public ISystem {
 public:
  bool GetVersionEx(OsVersionInfo& out) override;
  void GetSystemInfo(SystemInfo& out) override;
  void GlobalMemoryStatus(MemoryStatus& out) override;
  bool GlobalMemoryStatusEx(MemoryStatus& out) override;
  bool GetComputerName(std::string& out) override;
  bool GetUserName(std::string& out) override;
  void GetLocalTime(SystemTime& out) override;
  void GetSystemTime(SystemTime& out) override;
  std::string GetCurrentDirectory() override;
  std::string GetWindowsDirectory() override;
  std::string GetSystemDirectory() override;
  std::string GetModuleFileName() override;
  bool FileExists(const std::string& path) override;
  WideString GetModuleFileNameWide() override;
  WideString GetCurrentDirectoryWide() override;
  bool GetFileStamp(const WideString& path, FileStamp& out) override;
  uint32_t ReadWholeFile(const WideString& path, uint64_t maxSize, Bytes& out) override;
  bool LoadModuleResource(const std::string& name, const std::string& type, Bytes& out) override;
  int GetSystemMetrics(int index) override;
  bool QueryProcessorTimes(std::vector<ProcessorTimes>& out) override;
  bool Cpuid(uint32_t leaf, std::array<uint32_t, 4>& eaxEbxEcxEdx) override;
  std::string GetTempPath() override;
  uint32_t GetTimeZoneInformation(TimeZoneInformation& out) override;
  std::vector<std::string> GetEnvironmentStrings() override;
  bool SystemParametersInfo(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) override;
  bool SystemParametersInfoAnimation(uint32_t action, int32_t& minAnimate, uint32_t winIni) override;
  int16_t GetKeyState(int virtualKey) override;
  void KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) override;
  bool GetKeyboardState(std::array<uint8_t, 256>& keys) override;
  bool SetKeyboardState(const std::array<uint8_t, 256>& keys) override;
  int GetDisplayDeviceCaps(int index) override;
  std::vector<std::string> GetScreenFontNames() override;
  std::vector<std::string> GetPrinterNames() override;
  bool GetFreeSystemResources16(uint16_t type, uint32_t& percent) override;
  bool NtQueryProcessorCount(uint8_t& count) override;
  bool NtQueryIdleTime(int64_t& idleTime) override;
  bool NtQueryCurrentTime(int64_t& systemTime) override;
  void Sleep(uint32_t milliseconds) override;
  bool GetSystemPowerStatus(PowerStatus& out) override;
  bool EnumDisplaySettings(uint32_t modeNumber, DisplayMode& out) override;
  std::vector<FoundFile> FindFiles(const std::string& pattern) override;
  bool SystemParametersInfoText(uint32_t action, const std::string& text, uint32_t winIni) override;
  int GetKeyboardType(int typeFlag) override;
  bool GetKeyboardLayoutName(std::string& out) override;
  uint32_t GetCaretBlinkTime() override;
  bool SetCaretBlinkTime(uint32_t milliseconds) override;
  std::string SysErrorMessage(uint32_t code) override;
};

class Win32Volumes : public IVolumes {
 public:
  uint32_t GetLogicalDrives() override;
  uint32_t GetDriveType(const std::string& root) override;
  bool GetVolumeInformation(const std::string& root, VolumeInformation& out) override;
  bool HasDiskFreeSpaceEx() override;
  bool GetDiskFreeSpaceEx(const std::string& root, DiskFreeSpace& out) override;
  bool GetDiskFreeSpace(const std::string& root, DiskFreeSpaceClusters& out) override;
  uint32_t SetErrorMode(uint32_t mode) override;
  WinError WNetGetConnection(const std::string& localName, std::string& remoteName) override;
  WinError WNetGetUser(std::string& userName) override;
  uint32_t GetFileAttributes(const std::string& path) override;
  bool SetVolumeLabel(const std::string& root, const std::string& label, uint32_t& lastError) override;
  WinError WNetEnumResources(uint32_t scope, std::vector<std::string>& remoteNames) override;
};

class Win32Processes : public IProcesses {
 public:
  std::unique_ptr<IChildProcess> StartCaptured(const std::string& applicationPath,
                                               const std::string& commandLine) override;
};

class Win32Shell : public IShell {
 public:
  bool ShellOpen(const std::string& target) override;
  bool Run(const std::string& applicationPath, const std::string& commandLine) override;

  // Stands in for ShellExecuteExA when set (tests look at the thread's state at the call).
  std::function<bool(_SHELLEXECUTEINFOA& info)> execute;
};

class Win32Sockets : public ISockets {
 public:
  bool Startup() override;
  void Cleanup() override;
  bool GetHostName(std::string& out) override;
  bool GetHostAddresses(const std::string& host, std::vector<std::string>& out) override;
};

class Win32Clipboard : public IClipboard {
 public:
  bool Open(WindowHandle owner) override;
  bool Empty() override;
  bool SetUnicodeText(const WideString& text) override;
  void Close() override;
};

class Win32ProgramIo : public IProgramIo {
 public:
  Win32ProgramIo();
  ~Win32ProgramIo() override;
  Win32ProgramIo(const Win32ProgramIo&) = delete;
  Win32ProgramIo& operator=(const Win32ProgramIo&) = delete;
  std::string CommandLine() override;
  std::string FileVersion() override;
  bool Write(StdStream stream, const std::string& utf8) override;
  WinError ReplaceFile(const std::string& utf8Path, const std::string& bytes) override;

 private:
  // The redirected standard handle, else the parent's console (attached on first use); null
  // when there is neither.
  void* StreamHandle(StdStream stream);
  class Console;                     // CONOUT$ of the attached console, owned
  std::unique_ptr<Console> console_;  // made on first use
};

// One of each, handed to the application as a Platform. The locale (Win32Locale,
// "win32_locale.h") and the window system (Win32WindowSystem, "win32_windows.h") are owned by
// their own modules and passed in.
struct Win32Platform {
  Win32Platform(ILocale& locale, IWindowSystem& windows) : locale(locale), windows(windows) {}

  Win32Registry registry;
  Win32System system;
  Win32Volumes volumes;
  Win32Processes processes;
  Win32Shell shell;
  Win32Sockets sockets;
  Win32Clipboard clipboard;
  Win32ProgramIo io;
  ILocale& locale;          // Win32Locale
  IWindowSystem& windows;   // Win32WindowSystem

  Platform platform() {
    return Platform{registry, system, volumes, locale, processes, shell, sockets, windows, clipboard, io};
  }
};

}  // namespace vsi
