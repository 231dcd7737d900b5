#pragma once
// System facts as plain settable fields: version, SYSTEM_INFO, memory, names, clocks,
// directories, files that exist, metrics, processor times and a CPUID table.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/system.h"

namespace vsi::fake {

class FakeSystem : public ISystem {
 public:
  FakeSystem();

  // --- ISystem ---
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

  // --- Arranging ---
  // Windows 7 SP1 by default (6.1.7601, platform 2, "Service Pack 1").
  OsVersionInfo version;
  bool versionFails = false;
  // The 95 family: 4.0.950, platform 1.
  void UseWindows95();

  SystemInfo systemInfo;
  MemoryStatus memory;
  bool memoryExFails = false;  // GlobalMemoryStatusEx missing or failing

  std::string computerName = "VELMORA-PC";
  bool computerNameFails = false;
  std::string userName = "tester";
  bool userNameFails = false;

  // Clocks; AdvanceTime moves both.
  SystemTime localTime{2004, 3, 0, 21, 14, 30, 5, 250};
  SystemTime systemTime{2004, 3, 0, 21, 13, 30, 5, 250};
  void AdvanceTime(int64_t milliseconds);

  // The current directory and the program's path are UTF-8 here: the wide calls answer them
  // whole, the ANSI calls in the ANSI code page with '?' for each character it lacks.
  std::string currentDirectory = "C:\\Work";
  std::string windowsDirectory = "C:\\WINDOWS";
  std::string systemDirectory = "C:\\WINDOWS\\system32";
  std::string moduleFileName = "C:\\Program Files\\Velmora\\toolbar1.exe";
  // The ANSI code page of these answers: the locale's (FakePlatform wires it), else 1252.
  void UseCodePagesOf(ILocale* locale) { codePages_ = locale; }
  // Files by full path (UTF-8), compared without regard to case. AddFile makes an empty one;
  // PutFile writes one, and each write moves its last write time on.
  void AddFile(const std::string& path);
  void PutFile(const std::string& path, Bytes data);
  // A file that another program holds open for writing: opening it to read fails with
  // ERROR_SHARING_VIOLATION.
  std::set<std::string> filesOpenForWriting;
  int fileReads = 0;  // ReadWholeFile calls that read a file
  // A resource of the program's own module, found by LoadModuleResource.
  void AddResource(const std::string& name, const std::string& type, Bytes data);
  void RemoveFile(const std::string& path);

  // GetSystemMetrics answers; indices not in the table give 0.
  std::map<int, int> metrics;

  std::vector<ProcessorTimes> processorTimes;
  bool processorTimesFail = false;

  // CPUID leaves; a leaf not in the table gives zeros. `cpuidAvailable` false: no instruction.
  std::map<uint32_t, std::array<uint32_t, 4>> cpuid;
  bool cpuidAvailable = true;
  // Sets leaf 0's vendor text (EBX, EDX, ECX) and keeps its highest leaf.
  void SetCpuVendor(const std::string& twelveChars);

  std::string tempPath = "C:\\WINDOWS\\TEMP\\";

  // GetTimeZoneInformation; `timeZoneId` is the answer (TIME_ZONE_ID_INVALID_: failure).
  TimeZoneInformation timeZone{-60, u"W. Europe Standard Time", {}, 0, u"W. Europe Daylight Time", {}, -60};
  uint32_t timeZoneId = 1;

  std::vector<std::string> environment{"PATH=C:\\WINDOWS", "TEMP=C:\\WINDOWS\\TEMP", "windir=C:\\WINDOWS"};

  // System parameters by their GET action; a SET action stores under its GET action.
  // Actions not in the table fail.
  std::map<uint32_t, int32_t> spi;
  struct SpiCall {
    uint32_t action;
    int32_t value;
    uint32_t winIni;
  };
  std::vector<SpiCall> spiWrites;

  // Key bytes as GetKeyboardState gives them (bit 0 toggled, bit 7 down). keybd_event
  // toggles a key on its down event.
  std::array<uint8_t, 256> keys{};
  struct KeyEvent {
    uint8_t virtualKey, scanCode;
    uint32_t flags;
  };
  std::vector<KeyEvent> keyEvents;
  int keyboardStateWrites = 0;

  // GetDeviceCaps of the display; indices not in the table give 0.
  std::map<int, int> displayCaps{{BITSPIXEL_, 32}, {PLANES_, 1}, {LOGPIXELSY_, 96}};
  std::vector<std::string> fontNames{"Arial", "MS Sans Serif", "Courier New"};
  std::vector<std::string> printerNames;

  // The 95 family's free resources by type (0 system, 1 GDI, 2 USER); empty: the thunk fails.
  std::map<uint16_t, uint32_t> freeResources;

  // NtQuerySystemInformation: `ntAvailable` false models a missing entry point. The idle and
  // current times are answered in order, the last one again when the list runs out.
  bool ntAvailable = true;
  uint8_t ntProcessorCount = 2;
  std::vector<int64_t> ntIdleTimes{0};
  std::vector<int64_t> ntCurrentTimes{0};
  bool ntIdleFails = false;
  bool ntTimeFails = false;
  std::vector<uint32_t> sleeps;  // Sleep is recorded, not waited

  // A desktop on mains power without a battery.
  PowerStatus powerStatus{1, 128, 255, 0xFFFFFFFFu, 0xFFFFFFFFu};
  bool powerStatusFails = false;


  // The display modes EnumDisplaySettings lists, in order.
  std::vector<DisplayMode> displayModes{{640, 480, 8, 60, 0}, {1024, 768, 32, 60, 0}};
  // What ENUM_CURRENT_SETTINGS answers; none: the call fails.
  std::optional<DisplayMode> currentMode;

  // Folder listings for FindFiles: full paths with their attributes, in the order the search
  // answers them (also made known to FileExists).
  void AddListedFile(const std::string& path, uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE_);
  std::vector<FoundFile> FindFilesIn(const std::string& folder) const;

  // Text system parameters (SPI_SETDESKWALLPAPER): every write, in order.
  struct SpiTextCall {
    uint32_t action;
    std::string text;
    uint32_t winIni;
  };
  std::vector<SpiTextCall> spiTextWrites;
  bool spiTextFails = false;

  // GetKeyboardType by its flag (0 type, 1 subtype, 2 function keys); others give 0.
  std::map<int, int> keyboardType{{0, 4}, {1, 0}, {2, 12}};
  std::string keyboardLayoutName = "00000409";
  bool keyboardLayoutFails = false;
  uint32_t caretBlinkTime = 530;
  std::vector<uint32_t> caretBlinkWrites;

  // FormatMessage texts by error code; unknown codes have none.
  std::map<uint32_t, std::string> errorTexts{{2, "The system cannot find the file specified."},
                                             {5, "Access is denied."},
                                             {21, "The device is not ready."}};

  int versionQueries = 0;
  int processorTimeQueries = 0;

 private:
  AnsiString ToAnsi(const std::string& utf8) const;
  struct File {
    Bytes data;
    int64_t writeTime = 0;
  };
  const File* Find(const WideString& path) const;
  std::map<WideString, File> files_;  // by lower-case path
  int64_t writes_ = 0;
  ILocale* codePages_ = nullptr;
  std::map<std::string, Bytes> resources_;  // "name/type", lower-case
  std::vector<std::pair<std::string, uint32_t>> listed_;  // full path, attributes
  size_t ntIdleNext_ = 0, ntTimeNext_ = 0;
};

// Day arithmetic shared by the clock helpers: the day of the week (0 Sunday) of a date, and
// SYSTEMTIME <-> milliseconds since 1601-01-01.
int DayOfWeek(int year, int month, int day);
int64_t ToMilliseconds(const SystemTime& t);
SystemTime FromMilliseconds(int64_t ms);

}  // namespace vsi::fake
