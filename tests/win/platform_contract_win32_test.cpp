// The system's registry, clipboard, volumes and processes held to the contracts the in-memory platform is held to
// (tests/contract), and the in-memory code pages checked against the system's conversions:
// what the fake answers is what Windows answers.
#include "platform/win32/win32_api.h"

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <sstream>
#include <thread>

#include "contract/clipboard_contract.h"
#include "contract/processes_contract.h"
#include "contract/registry_contract.h"
#include "contract/volumes_contract.h"
#include "fakes/fake_locale.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

namespace vsi {
namespace {

// A key of its own under HKEY_CURRENT_USER, deleted with everything in it afterwards.
class Win32RegistrySubject {
 public:
  Win32RegistrySubject() {
    static int made = 0;
    path_ = std::string(kParent) + "\\" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++made);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  ~Win32RegistrySubject() {
    if (key_) registry_.CloseKey(key_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // only when no other run uses it
  }
  IRegistry& Registry() { return registry_; }
  RegKey Scratch() {
    EXPECT_EQ(registry_.CreateKey(HKEY_CURRENT_USER_, path_, KEY_ALL_ACCESS_, key_), WinError::Success);
    return key_;
  }

 private:
  static constexpr char kParent[] = "Software\\Velmora Contract";
  Win32Registry registry_;
  std::string path_;
  RegKey key_ = 0;
};

HWND MessageWindow() {
  return ::CreateWindowExW(0, L"STATIC", L"clipboard contract", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                           nullptr);
}

class Win32ClipboardSubject {
 public:
  Win32ClipboardSubject() {
    for (HWND& w : windows_) w = MessageWindow();
  }
  ~Win32ClipboardSubject() {
    ReleaseOther();
    for (HWND w : windows_) ::DestroyWindow(w);
  }
  IClipboard& Clipboard() { return real_.platform().clipboard; }
  WindowHandle Window(int n) { return reinterpret_cast<WindowHandle>(windows_[n]); }
  // Another thread with a window of its own opens the clipboard and keeps it until told.
  void HoldByOther() {
    std::promise<void> held;
    auto heldNow = held.get_future();
    let_go_ = std::promise<void>();
    holder_ = std::thread([this, &held, letGo = let_go_.get_future()]() mutable {
      HWND mine = MessageWindow();
      bool opened = ::OpenClipboard(mine);
      held.set_value();
      letGo.wait();
      if (opened) ::CloseClipboard();
      ::DestroyWindow(mine);
    });
    heldNow.wait();
  }
  void ReleaseOther() {
    if (!holder_.joinable()) return;
    let_go_.set_value();
    holder_.join();
  }
  std::optional<WideString> Text() {
    std::optional<WideString> text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      if (auto* p = static_cast<const char16_t*>(::GlobalLock(data))) {
        text = WideString(p);
        ::GlobalUnlock(data);
      }
    }
    ::CloseClipboard();
    return text;
  }
  WindowHandle Owner() { return reinterpret_cast<WindowHandle>(::GetClipboardOwner()); }

 private:
  Win32Locale locale_;
  Win32WindowSystem windowSystem_{::GetModuleHandleW(nullptr)};
  Win32Platform real_{locale_, windowSystem_};
  HWND windows_[2] = {};
  std::thread holder_;
  std::promise<void> let_go_;
};

struct Win32VolumesSubject {
  IVolumes& Volumes() { return volumes; }
  char Absent() {
    const DWORD mask = ::GetLogicalDrives();
    for (char l = 'Y'; l > 'D'; --l)
      if (!(mask & (1u << (l - 'A')))) return l;
    ADD_FAILURE() << "every letter names a drive";
    return 'Y';
  }
  Win32Volumes volumes;
};

// The system's own command interpreter: one that prints and ends, one that loops until ended.
struct Win32ProcessesSubject {
  IProcesses& Processes() { return processes; }
  std::string Cmd() {
    char dir[MAX_PATH] = {};
    ::GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\cmd.exe";
  }
  contract::Program Writer() { return {Cmd(), "cmd /c echo hello"}; }
  std::string WriterOutput() { return "hello\r\n"; }
  contract::Program Endless() { return {Cmd(), "cmd /c for /l %i in (0,0,1) do @rem"}; }
  contract::Program Missing() { return {Cmd() + ".missing.exe", "missing"}; }
  Win32Processes processes;
};

// The in-memory locale converts as the system does, byte for byte: each byte to UTF-16, each
// character back, and a character no single-byte code page has.
TEST(FakeCodePagesAgainstTheSystem, EveryByteAndBackInEveryInstalledCodePage) {
  fake::FakeLocale fake;
  Win32Locale real;
  // Every code page it says is installed, but UTF-7, which it does not convert; and Arabic,
  // which it converts for its Arabic locale.
  std::set<uint32_t> pages(fake.installedCodePages.begin(), fake.installedCodePages.end());
  ASSERT_EQ(pages.erase(65000), 1u);
  pages.insert(1256);
  for (uint32_t cp : pages) {
    std::ostringstream differences;
    int count = 0;
    for (int b = 0; b < 256; ++b) {
      const AnsiString byte(1, static_cast<char>(b));
      const WideString system = real.MultiByteToWide(cp, byte);
      const WideString ours = fake.MultiByteToWide(cp, byte);
      if (ours != system && ++count <= 8) {
        differences << " byte " << std::hex << b << ": system";
        for (char16_t c : system) differences << " U+" << std::hex << int(c);
        differences << ", fake";
        for (char16_t c : ours) differences << " U+" << std::hex << int(c);
        differences << ";";
      }
      if (system.size() == 1 && fake.WideToMultiByte(cp, system) != real.WideToMultiByte(cp, system) && ++count <= 8)
        differences << " back from U+" << std::hex << int(system[0]) << ";";
    }
    const WideString foreign = u"\u4E00";
    if (fake.WideToMultiByte(cp, foreign) != real.WideToMultiByte(cp, foreign) && ++count <= 8)
      differences << " U+4E00: system '" << real.WideToMultiByte(cp, foreign) << "', fake '"
                  << fake.WideToMultiByte(cp, foreign) << "';";
    EXPECT_EQ(count, 0) << "code page " << std::dec << cp << ":" << differences.str();
  }
}

TEST(FakeCodePagesAgainstTheSystem, OemToAnsiAsTheSystemDoesIt) {
  fake::FakeLocale fake;
  Win32Locale real;
  // The fake's machine: ANSI 1252, OEM 437; so is Wine's under the C locale.
  ASSERT_EQ(real.GetACP(), fake.GetACP());
  ASSERT_EQ(real.GetOEMCP(), fake.GetOEMCP());
  for (int b = 1; b < 256; ++b) {
    const AnsiString byte(1, static_cast<char>(b));
    EXPECT_EQ(fake.OemToChar(byte), real.OemToChar(byte)) << "byte " << std::hex << b;
  }
}

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, ::testing::Types<Win32RegistrySubject>);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ClipboardContract, ::testing::Types<Win32ClipboardSubject>);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, VolumesContract, ::testing::Types<Win32VolumesSubject>);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ProcessesContract, ::testing::Types<Win32ProcessesSubject>);
}  // namespace contract

}  // namespace vsi
