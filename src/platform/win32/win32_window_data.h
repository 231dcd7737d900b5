#pragma once
// What the Win32 window system's files share: each window's data, the table that finds it
// from a window handle, and the small conversions every message handler needs.
#include "platform/win32/win32_windows.h"

#include "platform/win32/win32_accessible.h"
#include "platform/win32/win32_address_watch.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vsi {

inline constexpr wchar_t kFormClass[] = L"VsiForm";
// A control that paints every second keeps its own DC (CS_OWNDC): getting a shared one resets
// its state, and each reset selects a font again, which under Wine asks the X server's
// defaults every time.
inline constexpr wchar_t kTickingControlClass[] = L"VsiTickingControl";
inline constexpr wchar_t kControlClass[] = L"VsiControl";
inline constexpr wchar_t kTimerClass[] = L"VsiTimer";
// Posted to the application window when it is activated: hand the activation on to the form.
inline constexpr UINT kActivateForm = WM_APP + 0x51;
// Posted by a window's address watch when the machine's addresses changed.
inline constexpr UINT kAddressChanged = WM_APP + 0x52;
inline constexpr int kTipMaxWidth = 400;
inline constexpr int kComboDropItems = 8;

inline HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
inline WindowHandle ToHandle(HWND h) { return reinterpret_cast<WindowHandle>(h); }
inline const wchar_t* Wide(const WideString& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

inline std::wstring AnsiToWide(const std::string& s) {
  if (s.empty()) return {};
  int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

inline std::string WideToAnsi(const std::wstring& s) {
  if (s.empty()) return {};
  int n = ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

inline uint8_t KeyShift() {
  uint8_t s = 0;
  if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  return s;
}

inline uint8_t MouseShift(WPARAM wp) {
  uint8_t s = 0;
  if (wp & MK_SHIFT) s |= ssShift;
  if (wp & MK_CONTROL) s |= ssCtrl;
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

inline int LowX(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
inline int HighY(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

struct Win32WindowSystem::WindowData {
  Win32WindowSystem* system = nullptr;
  IWindowEvents* sink = nullptr;  // cleared at WM_DESTROY: nothing reaches it afterwards
  HWND hwnd = nullptr;
  WindowKind kind = WindowKind::Custom;
  bool native = false;
  WNDPROC baseProc = nullptr;  // a native control's own procedure, under NativeProc
  bool appWindow = false;
  TColor color = clBtnFace;
  FontSpec font;
  win32::ScopedGdiObject<HBRUSH> brush;  // the background answered to WM_CTLCOLOR*
  std::wstring hint;
  HWND tipWindow = nullptr;  // the tooltip holding this window's tool
  bool shown = false;
  bool tracking = false;
  bool wantTabs = false;  // a memo that types Tab rather than passing it on
  // A button's picture, with its transparent colour masked out.
  win32::ScopedImageList image;
  int itemHeight = 16;
  int fieldHeight = 0;
  int dropHeight = 0;
  // A control that paints at once draws through a buffer of its own, whose DC keeps its font
  // selected from one second to the next.
  std::unique_ptr<win32::PaintBuffer> ownBuffer;
  // Forms.
  HWND tooltip = nullptr;
  std::wstring tipText;
  std::string tipTextAnsi;
  bool tipPlaced = false;
  POINT tipPos{};
  // The application window: the first form it owns, which its close request goes to, and
  // the forms its minimising hid.
  HWND mainForm = nullptr;
  std::vector<HWND> hiddenForms;
  // WatchAddressChanges: its thread is ended when the window's data goes.
  std::unique_ptr<win32::AddressWatch> addressWatch;
  // What readers see of a form's client area: made at their first request, given up when
  // the window is destroyed.
  win32::AccessibleClient* accessible = nullptr;
};

// Our data of each of our windows, found on every message. Kept in the process rather than
// as a window property: reading a property is a round trip to the window server under Wine.
// Windows live on the one UI thread.
inline std::unordered_map<HWND, Win32WindowSystem::WindowData*>& Attached() {
  static std::unordered_map<HWND, Win32WindowSystem::WindowData*> table;
  return table;
}
inline void Attach(HWND hwnd, Win32WindowSystem::WindowData* d) { Attached()[hwnd] = d; }
inline void Detach(HWND hwnd) { Attached().erase(hwnd); }
inline Win32WindowSystem::WindowData* DataOf(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto it = Attached().find(hwnd);
  return it == Attached().end() ? nullptr : it->second;
}

}  // namespace vsi
