#pragma once
// The real window system: user32 windows for the framework's controls, a message-only window
// for timers, the message loop, message boxes, pop-up menus and tooltips.
//
// Every window carries a WindowData (a window property): its sink, kind, colour and font.
// Our own classes ("VsiForm", "VsiControl") get it at WM_NCCREATE and forward messages to the
// sink through one switch; native children ("BUTTON", "COMBOBOX", "EDIT") are subclassed only
// to report their destruction and focus, and their parents forward WM_COMMAND, WM_DRAWITEM,
// WM_MEASUREITEM and WM_CTLCOLOR* to the child's sink. Nothing thrown by a sink or a timer
// callback leaves a window procedure: it goes to the exception handler.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/win32/win32_canvas.h"
#include "platform/win32/win32_paint_buffer.h"
#include "platform/windowing.h"

namespace vsi {

class Win32WindowSystem : public IWindowSystem {
 public:
  // `resources` is the module holding the icons, bitmaps and cursors; null means the program.
  explicit Win32WindowSystem(HINSTANCE resources = nullptr);
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  WindowHandle CreateWindow(const WindowParams& params, IWindowEvents* sink) override;
  void DestroyWindow(WindowHandle w) override;
  void SetText(WindowHandle w, const WideString& text) override;
  WideString GetText(WindowHandle w) override;
  void SetBounds(WindowHandle w, const TRect& r) override;
  void SetVisible(WindowHandle w, bool visible) override;
  void SetEnabled(WindowHandle w, bool enabled) override;
  void SetFont(WindowHandle w, const FontSpec& font) override;
  void SetColor(WindowHandle w, TColor color) override;
  void SetHint(WindowHandle w, const std::string& hint) override;
  void Invalidate(WindowHandle w, const TRect* r, bool erase) override;
  void PaintNow(WindowHandle w) override;
  void Minimize(WindowHandle w) override;
  void Maximize(WindowHandle w) override;
  void Restore(WindowHandle w) override;
  bool IsMinimized(WindowHandle w) override;
  bool IsMaximized(WindowHandle w) override;
  TSize ClientSize(WindowHandle w) override;
  void ArrangeTabOrder(const std::vector<WindowHandle>& sequence) override;
  void SetButtonImage(WindowHandle w, const std::string& resource) override;
  void BringToFront(WindowHandle w) override;
  void SetFocus(WindowHandle w) override;
  WindowHandle GetFocus() override;
  void SetCapture(WindowHandle w) override;
  void ReleaseCapture() override;
  void SetCursor(CursorKind cursor) override;
  TPoint ClientToScreen(WindowHandle w, TPoint p) override;
  void ComboSetItems(WindowHandle w, const std::vector<WideString>& items) override;
  void ComboSetIndex(WindowHandle w, int index) override;
  int ComboGetIndex(WindowHandle w) override;
  bool HasSelection(WindowHandle w) override;
  uint32_t TrackPopupMenu(WindowHandle owner, const std::vector<MenuItemSpec>& items, TPoint screen) override;
  int WindowMenuCount(WindowHandle w) override;
  bool WindowMenuItem(WindowHandle w, int position, uint32_t& command, bool& separator) override;
  AnsiString WindowMenuText(WindowHandle w, int position) override;
  void SetWindowMenuText(WindowHandle w, int position, uint32_t command, const AnsiString& text) override;
  void CancelTooltip(WindowHandle w) override;
  void SetExceptionHandler(std::function<void(const std::exception&)> handler) override;
  uintptr_t SetTimer(uint32_t intervalMs, std::function<void()> callback) override;
  void KillTimer(uintptr_t timer) override;
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption, uint32_t type) override;
  int RunMessageLoop() override;
  void ProcessMessages() override;
  void PostQuit(int code) override;
  TSize MeasureText(const FontSpec& font, const AnsiString& text) override;
  int DpiAt(TPoint screen) override;
  bool HighContrast() override;
  std::vector<MonitorArea> Monitors() override;
  TRect WindowRect(WindowHandle w) override;
  void SetWindowRect(WindowHandle w, const TRect& outer) override;
  bool WatchAddressChanges(WindowHandle w) override;
  void AccessibleNameChanged(WindowHandle w, int index) override;

  win32::GdiResources& Resources() { return resources_; }
  // The tooltip window of a form (created with its first tool); null when none.
  HWND TooltipOf(WindowHandle form) const;

  struct WindowData;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // Replaces a native control's window procedure (GWLP_WNDPROC, not SetWindowSubclass: that
  // one reads a window property on every message, a round trip to the server under Wine).
  static LRESULT CALLBACK NativeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // Hands the mouse messages of a window with a tool tip to the tooltip window (instead of
  // TTF_SUBCLASS, whose subclassing reads a window property on every message).
  static void RelayToTip(const WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // The message groups HandleMessage hands a message to, in turn, until one takes it.
  LRESULT HandleMouse(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  LRESULT HandleKeyboard(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  LRESULT HandleFocus(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  LRESULT HandleWindowState(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  LRESULT HandleLifetime(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  // What changes under an open window: the display's mode, volumes, network addresses.
  LRESULT HandleSystemChange(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  LRESULT HandleParentMessage(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  LRESULT HandleNotify(WindowData& d, HWND hwnd, NMHDR* hdr, bool& handled);
  void Paint(WindowData& d, HWND hwnd);
  // Draws `area` of the window's client into `dc` (a paint's or GetDC's).
  void PaintInto(WindowData& d, HWND hwnd, HDC dc, const RECT& area);
  void OnTimer(UINT_PTR id);
  // Runs a call into a sink or a timer callback; an exception goes to the handler.
  void Guard(const std::function<void()>& call);
  void Dispatch(MSG& msg);
  void Release(WindowData* d);

  WindowData* ChildData(HWND parent, UINT controlId);
  void ShowOwnedForms(WindowData& app, HWND hwnd, bool show);
  void AddTool(HWND child, WindowData& d);
  HBRUSH ColorBrush(WindowData& d);

  void RegisterClasses();
  static int WindowDpi(HWND h);
  // AdjustWindowRectEx for a window at this scale.
  static void AdjustFrame(RECT& r, DWORD style, DWORD ex, int dpi);

  HINSTANCE module_;           // the program: window classes and windows
  HINSTANCE resourceModule_;   // pictures, icons and the hand cursor
  win32::GdiResources resources_;
  std::function<void(const std::exception&)> exceptionHandler_;
  std::map<const WindowData*, std::unique_ptr<WindowData>> data_;
  WindowData* creating_ = nullptr;  // a native child between CreateWindowEx and its property
  HWND timerWindow_ = nullptr;
  std::map<uintptr_t, std::function<void()>> timers_;
  uintptr_t nextTimer_ = 1;
  UINT nextControlId_ = 100;  // clear of IDOK/IDCANCEL, which dialog navigation sends
  win32::PaintBuffer paintBuffer_;
  bool painting_ = false;  // a paint is drawing into paintBuffer_
  HCURSOR handCursor_ = nullptr;
  bool handCursorLoaded_ = false;
};

}  // namespace vsi
