// The real main window on the real window system, switched through its flag buttons a
// thousand times: after a warm-up the process holds no more GDI objects, windows or kernel
// handles than before, and the translator's table of originals keeps its size.
#include "platform/win32/win32_api.h"  // first: <windows.h> without its A/W name macros

#include <psapi.h>
#include <winternl.h>
#undef RegisterClass  // the framework's class registry, not user32's

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/languages.h"
#include "app/main_form.h"
#include "app/program.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "i18n/translator.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

namespace vsi {
namespace {

// --- What this process holds ----------------------------------------------------------------
// Wine answers 0 to GetGuiResources and GetProcessHandleCount; where the system's answer is
// 0 (never true of a process with a window), the same things are counted by other means.

long GdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
  // The process's GDI handle table, which its PEB points at: a live entry has a type.
  struct Entry {
    uint64_t object;
    uint16_t process, count, unique;
    uint8_t type, flags;
    uint64_t user;
  };
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic,
                                nullptr) != 0 ||
      !basic.PebBaseAddress)
    return -1;
  auto* table = *reinterpret_cast<Entry**>(reinterpret_cast<uint8_t*>(basic.PebBaseAddress) + 0xF8);
  if (!table) return -1;
  long live = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (table[i].type) ++live;
  return live;
}

// USER objects, or else the windows of this process (the USER objects a form makes).
long UserObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<long>(n);
  struct Ctx {
    DWORD pid;
    long count;
  } ctx{GetCurrentProcessId(), 0};
  auto count_tree = [](HWND top, Ctx* c) {
    ++c->count;
    EnumChildWindows(
        top,
        [](HWND, LPARAM p) -> BOOL {
          ++reinterpret_cast<Ctx*>(p)->count;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(c));
  };
  std::vector<HWND> tops;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tops));
  for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
       h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == ctx.pid) tops.push_back(h);
  }
  for (HWND top : tops) count_tree(top, &ctx);
  return ctx.count;
}

// Kernel handles, or else this process's entries in the system's handle list.
long KernelHandles() {
  DWORD n = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &n) && n) return static_cast<long>(n);
  struct Entry {
    ULONG owner;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  constexpr auto kLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
  std::vector<BYTE> buffer(1 << 20);
  NTSTATUS status = kLengthMismatch;
  for (int tries = 0; tries < 6 && status == kLengthMismatch; ++tries) {
    ULONG needed = 0;
    status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                      static_cast<ULONG>(buffer.size()), &needed);
    if (status == kLengthMismatch) buffer.resize(std::max<size_t>(needed + 4096, buffer.size() * 2));
  }
  if (status != 0) return -1;
  ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
  if (sizeof(void*) + count * sizeof(Entry) > buffer.size()) return -1;
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
  long mine = 0;
  for (ULONG k = 0; k < count; ++k)
    if (entries[k].owner == GetCurrentProcessId()) ++mine;
  return mine;
}

struct Counters {
  long gdi, user, handles;
  size_t table;
};

// --- The program, as WinMain makes it ----------------------------------------------------------

// The build root (toolbar1.exe and toolbar1.mld) lies one or two folders above this test exe.
std::wstring BuildRoot() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  for (int up = 0; up < 4; ++up) {
    size_t slash = dir.find_last_of(L"\\/");
    if (slash == std::wstring::npos) break;
    dir.resize(slash);
    if (GetFileAttributesW((dir + L"\\toolbar1.mld").c_str()) != INVALID_FILE_ATTRIBUTES) return dir;
  }
  return {};
}

// The flag pictures live in toolbar1.exe: loaded as data, so the buttons paint as they ship.
struct ResourceModule {
  explicit ResourceModule(const std::wstring& root) {
    module = LoadLibraryExW((root + L"\\toolbar1.exe").c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  ~ResourceModule() {
    if (module) FreeLibrary(module);
  }
  HMODULE module = nullptr;
};

class MainWindowSoakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(root_.empty()) << "toolbar1.mld not found above the test exe";
    ASSERT_NE(resources_.module, nullptr) << "toolbar1.exe not found beside toolbar1.mld";
    // The dictionary is looked for in the current directory first.
    GetCurrentDirectoryW(MAX_PATH, previousDirectory_);
    SetCurrentDirectoryW(root_.c_str());
    app_.OnException = [this](TObject*, const std::exception& e) { errors_.push_back(e.what()); };
    CreateProgram(app_);
    main_ = dynamic_cast<TMain*>(app_.MainForm());
    ASSERT_NE(main_, nullptr);
    main_->Show();
    app_.ProcessMessages();
    translator_ = &main_->Get<TIvTranslator>("IvTranslator1");
  }
  void TearDown() override {
    SetCurrentDirectoryW(previousDirectory_);
    for (const std::string& e : errors_) ADD_FAILURE() << e;
  }

  // One click on each flag in turn, each followed by its repaint; false at the first
  // language that did not take.
  bool SwitchRound() {
    for (const LanguageRow& row : kLanguages) {
      main_->Get<TControl>(row.button).Click();
      app_.ProcessMessages();
      if (main_->Get<TControl>("Label1").Caption() != row.state || main_->Caption() != row.caption)
        return false;
    }
    return true;
  }

  Counters Now() const { return {GdiObjects(), UserObjects(), KernelHandles(), translator_->Table().size()}; }

  std::wstring root_ = BuildRoot();
  ResourceModule resources_{root_};
  wchar_t previousDirectory_[MAX_PATH] = {};
  Win32WindowSystem ws_{resources_.module};
  Win32Locale locale_;
  Win32Platform plat_{locale_, ws_};
  AppContext ctx_{plat_.platform()};
  TApplication app_{ctx_};
  TMain* main_ = nullptr;
  TIvTranslator* translator_ = nullptr;
  std::vector<std::string> errors_;
};

TEST_F(MainWindowSoakTest, AThousandLanguageSwitchesLeaveTheProcessAsTheyFoundIt) {
  ASSERT_TRUE(translator_->Active());
  // Warm-up: every language once, so fonts, pictures and the dictionary's pages are in.
  ASSERT_TRUE(SwitchRound());
  ASSERT_TRUE(SwitchRound());
  const Counters before = Now();
  ASSERT_GT(before.gdi, 0) << "GDI objects cannot be counted here";
  ASSERT_GT(before.user, 0) << "USER objects cannot be counted here";
  ASSERT_GT(before.handles, 0) << "handles cannot be counted here";
  ASSERT_GT(before.table, 0u);

  Counters peak = before;
  constexpr int kRounds = 125;  // 1,000 switches
  for (int round = 0; round < kRounds; ++round) {
    ASSERT_TRUE(SwitchRound()) << "round " << round;
    if (round % 25 == 24) {
      Counters c = Now();
      peak = {std::max(peak.gdi, c.gdi), std::max(peak.user, c.user), std::max(peak.handles, c.handles),
              std::max(peak.table, c.table)};
    }
  }
  const Counters after = Now();
  for (const auto& [name, from, to] : {std::tuple{"gdi", before.gdi, after.gdi}, std::tuple{"user", before.user, after.user},
                                       std::tuple{"handles", before.handles, after.handles},
                                       std::tuple{"table", long(before.table), long(after.table)}})
    RecordProperty(name, std::to_string(from) + " -> " + std::to_string(to));
  // A few objects of slack for what the system itself caches; a leak of one object per
  // switch would be hundreds.
  EXPECT_LE(after.gdi, before.gdi + 4) << "GDI objects " << before.gdi << " -> " << after.gdi;
  EXPECT_LE(peak.gdi, before.gdi + 4);
  EXPECT_LE(after.user, before.user + 2) << "windows " << before.user << " -> " << after.user;
  EXPECT_LE(peak.user, before.user + 2);
  EXPECT_LE(after.handles, before.handles + 4) << "handles " << before.handles << " -> " << after.handles;
  EXPECT_LE(peak.handles, before.handles + 4);
  // The originals are remembered once per property, however often they are translated.
  EXPECT_EQ(after.table, before.table);
  EXPECT_EQ(peak.table, before.table);
  // The last round ended in Dutch; English brings back every original.
  main_->Get<TControl>("SpeedButton6").Click();
  EXPECT_EQ(main_->Get<TControl>("Label13").Caption(), "System Information");
}

}  // namespace
}  // namespace vsi
