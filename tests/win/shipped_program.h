#pragma once
// The program as WinMain makes it, on the real window system: the shipped window descriptions,
// the pictures of the built toolbar1.exe and the toolbar1.mld beside it (the dictionary is
// looked for beside the program, then in the current directory, which the fixture sets to
// the build folder: the test program is not beside toolbar1.mld).
#include "platform/win32/win32_api.h"  // first: <windows.h> without its A/W name macros
#undef RegisterClass                   // the framework's class registry, not user32's

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "build_files.h"
#include "app/program.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

namespace vsi {

// The build root: the folder of toolbar1.mld (and toolbar1.exe).
inline std::wstring BuildRoot() {
  std::wstring mld = BuildFile(L"toolbar1.mld");
  return mld.substr(0, mld.find_last_of(L"\\"));
}

// The width of a control's text in the font it draws with (its WM_GETFONT), in its pixels.
inline int TextWidth(HWND h, const std::wstring& text) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return size.cx;
}

// The pictures live in toolbar1.exe: loaded as data, so the buttons paint as they ship.
struct ResourceModule {
  explicit ResourceModule(const std::wstring& root) {
    module = LoadLibraryExW((root + L"\\toolbar1.exe").c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  ~ResourceModule() {
    if (module) FreeLibrary(module);
  }
  ResourceModule(const ResourceModule&) = delete;
  ResourceModule& operator=(const ResourceModule&) = delete;
  HMODULE module = nullptr;
};

// The common controls the program's manifest asks for (version 6, as the program gets them),
// for the windows made while it lives.
struct ProgramControls {
  explicit ProgramControls(const std::wstring& exe) {
    ACTCTXW actctx{};
    actctx.cbSize = sizeof actctx;
    actctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actctx.lpSource = exe.c_str();
    actctx.lpResourceName = MAKEINTRESOURCEW(1);
    context = CreateActCtxW(&actctx);
    if (context != INVALID_HANDLE_VALUE && !ActivateActCtx(context, &cookie)) cookie = 0;
  }
  ~ProgramControls() {
    if (cookie) DeactivateActCtx(0, cookie);
    if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
  }
  ProgramControls(const ProgramControls&) = delete;
  ProgramControls& operator=(const ProgramControls&) = delete;
  HANDLE context = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie = 0;
};

// The three windows created and the main one shown; errors reported by the program fail the test.
class ShippedProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(root_.empty()) << "toolbar1.mld not found above the test exe";
    ASSERT_NE(resources_.module, nullptr) << "toolbar1.exe not found beside toolbar1.mld";
    ASSERT_NE(controls_.cookie, 0u) << "the program's manifest is not in toolbar1.exe";
    GetCurrentDirectoryW(MAX_PATH, previousDirectory_);
    SetCurrentDirectoryW(root_.c_str());
    app_.OnException = [this](TObject*, const std::exception& e) { errors_.push_back(e.what()); };
    CreateProgram(app_);
    main_ = dynamic_cast<TMain*>(app_.MainForm());
    ASSERT_NE(main_, nullptr);
    main_->Show();
    app_.ProcessMessages();
  }
  void TearDown() override {
    SetCurrentDirectoryW(previousDirectory_);
    for (const std::string& e : errors_) ADD_FAILURE() << e;
  }
  HWND Hwnd(const char* name) const { return reinterpret_cast<HWND>(main_->Get<TControl>(name).Handle()); }
  // What the system sends when the main window crosses to a monitor of this scale; the
  // rectangle it suggests.
  RECT MoveToScale(int dpi) {
    const HWND main = reinterpret_cast<HWND>(main_->Handle());
    RECT now{};
    GetWindowRect(main, &now);
    RECT frame{0, 0, (885 * dpi + 48) / 96, (190 * dpi + 48) / 96};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(main, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(main, GWL_EXSTYLE)));
    RECT suggested{now.left, now.top, now.left + frame.right - frame.left, now.top + frame.bottom - frame.top};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    app_.ProcessMessages();
    return suggested;
  }

  std::wstring root_ = BuildRoot();
  ResourceModule resources_{root_};
  ProgramControls controls_{root_ + L"\\toolbar1.exe"};
  wchar_t previousDirectory_[MAX_PATH] = {};
  Win32WindowSystem ws_{resources_.module};
  Win32Locale locale_;
  Win32Platform plat_{locale_, ws_};
  AppContext ctx_{plat_.platform()};
  TApplication app_{ctx_};
  TMain* main_ = nullptr;
  std::vector<std::string> errors_;
};

}  // namespace vsi
