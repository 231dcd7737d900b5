// Where the real platform takes libraries and programs from: with a stand-in planted in the
// current folder or the program's own folder under the name asked for (the build's
// vsi_planted.exe and vsi_planted_lib.dll, which leave "<path>.ran" when they run), only the
// system folder's file is ever used.
#include <windows.h>

#include <commctrl.h>
#include <delayimp.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <winnetwk.h>

#include <string>

#include "child_probe.h"
#include "platform/win32/win32_canvas.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

namespace child_probe {

void LoadLibrariesAsTheProgramDoes() {
  win32::RestrictLibrarySearch();  // first thing in WinMain
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);  // comctl32, delay-loaded
  char user[257];
  DWORD size = sizeof user;
  ::WNetGetUserA(nullptr, user, &size);  // mpr, delay-loaded
  Win32Sockets sockets;                   // wsock32, delay-loaded
  if (sockets.Startup()) {
    std::string host;
    sockets.GetHostName(host);
    sockets.Cleanup();
  }
  Win32System().GetPrinterNames();  // winspool.drv, by name
  win32::GdiResources gdi(nullptr);
  HDC screen = ::GetDC(nullptr);
  RECT r{0, 0, 10, 10};
  gdi.DrawEditTheme(nullptr, screen, r);  // uxtheme.dll, by name
  ::ReleaseDC(nullptr, screen);
  Win32Shell shell;  // COM for the shell
  shell.execute = [](SHELLEXECUTEINFOA&) { return false; };
  shell.ShellOpen("https://www.velmora.com/");
}

}  // namespace child_probe

namespace {

// The build root (where the stand-ins are) lies one or two folders above this test exe.
std::string BuildFile(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  for (int up = 0; up < 4; ++up) {
    size_t slash = dir.find_last_of("\\/");
    if (slash == std::string::npos) break;
    dir.resize(slash);
    std::string candidate = dir + "\\" + name;
    if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  }
  return {};
}

std::string SystemFolder() {
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  return dir;
}

std::string Lower(std::string s) {
  CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::string ModuleFolder(HMODULE module) {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  std::string s(path, n);
  size_t slash = s.find_last_of('\\');
  return Lower(slash == std::string::npos ? std::string() : s.substr(0, slash));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fresh current folder holding stand-ins under the names given; the old folder and the
// files are restored and removed afterwards.
class PlantedFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = BuildFile("vsi_planted.exe");
    library_ = BuildFile("vsi_planted_lib.dll");
    ASSERT_FALSE(program_.empty()) << "vsi_planted.exe not found above the test exe";
    ASSERT_FALSE(library_.empty()) << "vsi_planted_lib.dll not found above the test exe";
    char temp[MAX_PATH] = {}, old[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    GetCurrentDirectoryA(MAX_PATH, old);
    oldFolder_ = old;
    folder_ = std::string(temp) + "vsi-planted-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
  }
  void TearDown() override {
    SetCurrentDirectoryA(oldFolder_.c_str());
    for (const std::string& f : files_) {
      DeleteFileA(f.c_str());
      DeleteFileA((f + ".ran").c_str());
    }
    RemoveDirectoryA(folder_.c_str());
  }
  // Copies the stand-in program or library into the folder as `name`; returns its path.
  std::string Plant(const char* name, bool library) {
    std::string path = folder_ + "\\" + name;
    EXPECT_TRUE(CopyFileA((library ? library_ : program_).c_str(), path.c_str(), FALSE)) << name;
    files_.push_back(path);
    return path;
  }
  // True when any stand-in of the folder ran or was loaded.
  bool AnyMarker() {
    for (const std::string& f : files_) {
      if (Exists(f + ".ran")) return true;
    }
    return false;
  }

  std::string program_, library_, folder_, oldFolder_;
  std::vector<std::string> files_;
};

TEST(FullPath, OnlyPathsThatNameTheirFolderAreFull) {
  struct Case {
    const char* path;
    bool full;
  };
  const Case cases[] = {
      {"C:\\windows\\system32\\ipconfig.exe", true},
      {"c:/windows/system32/ipconfig.exe", true},
      {"\\\\server\\share\\tool.exe", true},
      {"\\\\?\\C:\\windows\\system32\\ipconfig.exe", true},
      {"ipconfig.exe", false},
      {"\\ipconfig.exe", false},  // the root of the current drive: an empty system folder
      {"C:ipconfig.exe", false},  // the current folder of drive C:
      {".\\ipconfig.exe", false},
      {"..\\evil.exe", false},
      {"\\\\\\tool.exe", false},
      {"C:\\\\tool.exe", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(win32::IsFullPath(c.path), c.full) << c.path;
}

TEST_F(PlantedFolder, TheStandInLeavesItsMarkerWhenStartedOrLoaded) {
  // The checks below mean something only if a stand-in that does run says so.
  std::string exe = Plant("control.exe", false);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
  WaitForSingleObject(pi.hProcess, 20000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_TRUE(Exists(exe + ".ran"));
  std::string dll = Plant("vsi_control_lib.dll", true);
  HMODULE m = LoadLibraryExA(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  ASSERT_NE(m, nullptr);
  FreeLibrary(m);
  EXPECT_TRUE(Exists(dll + ".ran"));
}

TEST_F(PlantedFolder, SystemLibrariesComeFromTheSystemFolderOnly) {
  Plant("vsi_only_here.dll", true);
  EXPECT_EQ(win32::LoadSystemLibrary("vsi_only_here.dll"), nullptr) << "not in the system folder";
  EXPECT_EQ(win32::LoadSystemLibrary(""), nullptr);
  EXPECT_EQ(win32::LoadSystemLibrary(nullptr), nullptr);
  Plant("mpr.dll", true);
  HMODULE mpr = win32::LoadSystemLibrary("mpr.dll");
  ASSERT_NE(mpr, nullptr);
  EXPECT_EQ(ModuleFolder(mpr), Lower(SystemFolder()));
  EXPECT_NE(GetProcAddress(mpr, "WNetGetUserA"), nullptr) << "the real library";
  FreeLibrary(mpr);
  EXPECT_FALSE(AnyMarker());
}

TEST_F(PlantedFolder, TheDelayLoadHookLoadsFromTheSystemFolder) {
  ASSERT_NE(__pfnDliNotifyHook2, nullptr) << "the runtime's empty hook was linked instead of ours";
  Plant("wsock32.dll", true);
  Plant("vsi_only_here.dll", true);
  DelayLoadInfo info{};
  info.cb = sizeof info;
  info.szDll = "wsock32.dll";
  auto module = reinterpret_cast<HMODULE>(__pfnDliNotifyHook2(dliNotePreLoadLibrary, &info));
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(ModuleFolder(module), Lower(SystemFolder()));
  FreeLibrary(module);
  info.szDll = "vsi_only_here.dll";
  EXPECT_EQ(__pfnDliNotifyHook2(dliNotePreLoadLibrary, &info), nullptr);
  info.szDll = "wsock32.dll";
  EXPECT_EQ(__pfnDliNotifyHook2(dliNotePreGetProcAddress, &info), nullptr) << "other steps are left to the helper";
  EXPECT_FALSE(AnyMarker());
}

// Every library the program loads by name, and those that the system's own libraries load
// for it. Windows takes a file in the program's folder before the system folder's; Wine does
// so for the names it is told to take native files for.
// Not version.dll: Wine's own advapi32 imports it while the process starts, before the
// program's first instruction (on Windows advapi32 is a known library and imports none).
constexpr const char* kLibrariesByName[] = {"comctl32", "mpr", "wsock32", "uxtheme", "winspool.drv", "winmm"};

// Wine's own preference for a program by name: native files (the folder's) before its own.
class NativeFirst {
 public:
  explicit NativeFirst(const std::string& program) : key_("Software\\Wine\\AppDefaults\\" + program) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &k, nullptr) != ERROR_SUCCESS)
      return;
    for (const char* name : kLibrariesByName)
      RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    RegCloseKey(k);
  }
  ~NativeFirst() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }
  NativeFirst(const NativeFirst&) = delete;
  NativeFirst& operator=(const NativeFirst&) = delete;

 private:
  std::string key_;
};

TEST_F(PlantedFolder, StandInsBesideTheProgramAreNeverLoaded) {
  // A copy of this program in the folder, stand-ins beside it, native files first: it loads
  // its libraries the way the program does, then ends.
  std::string copy = folder_ + "\\win_tests_copy.exe";
  ASSERT_TRUE(CopyFileA(child_probe::ThisProgram().c_str(), copy.c_str(), FALSE));
  files_.push_back(copy);
  for (const char* name : kLibrariesByName)
    Plant((std::string(name) + (std::string(name).find('.') == std::string::npos ? ".dll" : "")).c_str(), true);
  NativeFirst native("win_tests_copy.exe");
  DWORD code = 1;
  {
    child_probe::ChildEnvironment probe("VSI_CHILD_PROBE", "libraries");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + copy + "\"";
    ASSERT_TRUE(CreateProcessA(copy.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  EXPECT_EQ(code, 0u) << "the copy ran to its end";
  for (const std::string& f : files_) EXPECT_FALSE(Exists(f + ".ran")) << f << " was loaded";
}

TEST_F(PlantedFolder, ProgramsAreStartedByFullPathOnly) {
  Plant("ipconfig.exe", false);
  Plant("rundll32.exe", false);
  Win32Processes processes;
  EXPECT_EQ(processes.StartCaptured("ipconfig.exe", "ipconfig /all"), nullptr);
  EXPECT_EQ(processes.StartCaptured("\\ipconfig.exe", "ipconfig /all"), nullptr);
  Win32Shell shell;
  EXPECT_FALSE(shell.Run("rundll32.exe", "RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm"));
  EXPECT_FALSE(AnyMarker());
  // By full path the system's program runs, and the one in the current folder still does not.
  auto child = processes.StartCaptured(SystemFolder() + "\\ipconfig.exe", "ipconfig /all");
  ASSERT_NE(child, nullptr);
  bool ended = false;
  for (int i = 0; i < 300 && !ended; ++i) {
    ended = child->Wait(100, [] {});
    char buf[4096];
    uint32_t n = 0;
    if (!child->Available(n)) break;
    while (n > 0) {
      uint32_t got = child->Read(reinterpret_cast<uint8_t*>(buf), n < sizeof buf ? n : sizeof buf);
      if (got == 0) break;
      n -= got < n ? got : n;
    }
  }
  EXPECT_TRUE(ended);
  EXPECT_FALSE(AnyMarker());
}

}  // namespace
}  // namespace vsi
