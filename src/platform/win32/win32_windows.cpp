#include "platform/win32/win32_window_data.h"

#include <algorithm>

#include "platform/win32/win32_libraries.h"
#include "res/resource_names.h"

namespace vsi {

// ---- window state

void Win32WindowSystem::SetText(WindowHandle w, const WideString& text) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  if (d && d->kind == WindowKind::ComboBox) return;  // its text is the selected item's
  ::SetWindowTextW(h, Wide(text));
}

WideString Win32WindowSystem::GetText(WindowHandle w) {
  HWND h = ToHwnd(w);
  int length = ::GetWindowTextLengthW(h);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  int got = ::GetWindowTextW(h, buffer.data(), length + 1);
  buffer.resize(got > 0 ? got : 0);
  return WideString(buffer.begin(), buffer.end());
}

void Win32WindowSystem::SetBounds(WindowHandle w, const TRect& r) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  if (d && d->kind == WindowKind::Form && !d->appWindow) {
    RECT frame{0, 0, r.Width(), r.Height()};
    AdjustFrame(frame, static_cast<DWORD>(::GetWindowLongW(h, GWL_STYLE)),
                static_cast<DWORD>(::GetWindowLongW(h, GWL_EXSTYLE)), WindowDpi(h));
    ::MoveWindow(h, r.left, r.top, frame.right - frame.left, frame.bottom - frame.top, TRUE);
    return;
  }
  int extra = d && d->kind == WindowKind::ComboBox ? d->dropHeight : 0;
  ::MoveWindow(h, r.left, r.top, r.Width(), r.Height() + extra, TRUE);
}

// ---- scale, monitors and contrast

namespace {

template <class Fn>
Fn User32Function(const char* name) {
  // Newer than the systems we start on: looked up, never imported.
  static HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

int ScreenDpi() {
  win32::ScopedGetDC screen(nullptr);
  int dpi = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
  return dpi > 0 ? dpi : 96;
}

int MonitorDpi(HMONITOR monitor) {
  // GetDpiForMonitor(MDT_EFFECTIVE_DPI) where the system has it; the screen's otherwise.
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static GetDpiForMonitorFn fn = [] {
    HMODULE shcore = win32::LoadSystemLibrary("shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                        reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  UINT x = 0, y = 0;
  if (fn && monitor && fn(monitor, 0, &x, &y) == S_OK && x > 0) return static_cast<int>(x);
  return ScreenDpi();
}

TRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

int Win32WindowSystem::WindowDpi(HWND h) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto fn = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  UINT dpi = fn && h ? fn(h) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

void Win32WindowSystem::AdjustFrame(RECT& r, DWORD style, DWORD ex, int dpi) {
  // The caption and borders of the monitor's scale, not the system's.
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static auto fn = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (!fn || !fn(&r, style, FALSE, ex, static_cast<UINT>(dpi))) ::AdjustWindowRectEx(&r, style, FALSE, ex);
}

int Win32WindowSystem::DpiAt(TPoint screen) {
  return MonitorDpi(::MonitorFromPoint(POINT{screen.x, screen.y}, MONITOR_DEFAULTTONEAREST));
}

bool Win32WindowSystem::HighContrast() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

bool Win32WindowSystem::WatchAddressChanges(WindowHandle w) {
  WindowData* d = DataOf(ToHwnd(w));
  if (!d) return false;
  if (!d->addressWatch) d->addressWatch = win32::AddressWatch::Start(ToHwnd(w), kAddressChanged);
  return d->addressWatch != nullptr;
}

void Win32WindowSystem::AccessibleNameChanged(WindowHandle w, int index) {
  // Costs next to nothing while no reader listens.
  ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, ToHwnd(w), OBJID_CLIENT, index + 1);
}

std::vector<MonitorArea> Win32WindowSystem::Monitors() {
  std::vector<MonitorArea> out;
  ::EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM lp) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
        MonitorArea m{FromRect(info.rcMonitor), FromRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0,
                      MonitorDpi(monitor)};
        auto* list = reinterpret_cast<std::vector<MonitorArea>*>(lp);
        if (m.primary)
          list->insert(list->begin(), m);
        else
          list->push_back(m);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

TRect Win32WindowSystem::WindowRect(WindowHandle w) {
  RECT r{};
  ::GetWindowRect(ToHwnd(w), &r);
  return FromRect(r);
}

void Win32WindowSystem::SetWindowRect(WindowHandle w, const TRect& r) {
  ::SetWindowPos(ToHwnd(w), nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowSystem::SetVisible(WindowHandle w, bool visible) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  bool form = d && d->kind == WindowKind::Form;
  ::ShowWindow(h, !visible ? SW_HIDE : form ? SW_SHOW : SW_SHOWNOACTIVATE);
}

void Win32WindowSystem::SetEnabled(WindowHandle w, bool enabled) { ::EnableWindow(ToHwnd(w), enabled ? TRUE : FALSE); }

void Win32WindowSystem::SetFont(WindowHandle w, const FontSpec& font) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  if (!d) return;
  d->font = font;
  if (d->native) ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(resources_.Font(font)), TRUE);
  ::InvalidateRect(h, nullptr, TRUE);
}

void Win32WindowSystem::SetColor(WindowHandle w, TColor color) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  if (!d) return;
  d->color = color;
  d->brush.Reset();
  ::InvalidateRect(h, nullptr, TRUE);
}

void Win32WindowSystem::Invalidate(WindowHandle w, const TRect* r, bool erase) {
  if (r) {
    RECT rc{r->left, r->top, r->right, r->bottom};
    ::InvalidateRect(ToHwnd(w), &rc, erase ? TRUE : FALSE);
  } else {
    ::InvalidateRect(ToHwnd(w), nullptr, erase ? TRUE : FALSE);
  }
}

void Win32WindowSystem::PaintNow(WindowHandle w) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  if (!d) return;
  // Only our own children are drawn by our code; the rest, and a window the user cannot see
  // yet, go the usual way.
  if (d->kind != WindowKind::Custom || painting_ || !::IsWindowVisible(h)) {
    ::InvalidateRect(h, nullptr, FALSE);
    return;
  }
  // The system clips a window's DC to what is visible of it: a covered or minimised window
  // draws nothing and gets its paint message when it shows again.
  win32::ScopedGetDC dc(h);
  if (!dc) {
    ::InvalidateRect(h, nullptr, FALSE);
    return;
  }
  RECT client{};
  ::GetClientRect(h, &client);
  PaintInto(*d, h, dc.Get(), client);
}

void Win32WindowSystem::Minimize(WindowHandle w) { ::ShowWindow(ToHwnd(w), SW_MINIMIZE); }
void Win32WindowSystem::Maximize(WindowHandle w) { ::ShowWindow(ToHwnd(w), SW_MAXIMIZE); }
void Win32WindowSystem::Restore(WindowHandle w) { ::ShowWindow(ToHwnd(w), SW_RESTORE); }
bool Win32WindowSystem::IsMinimized(WindowHandle w) { return ::IsIconic(ToHwnd(w)) != FALSE; }
bool Win32WindowSystem::IsMaximized(WindowHandle w) { return ::IsZoomed(ToHwnd(w)) != FALSE; }

TSize Win32WindowSystem::ClientSize(WindowHandle w) {
  RECT r{};
  ::GetClientRect(ToHwnd(w), &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Win32WindowSystem::ArrangeTabOrder(const std::vector<WindowHandle>& sequence) {
  if (sequence.size() < 2) return;
  HWND parent = ::GetParent(ToHwnd(sequence.front()));
  // The places the sequence's windows hold, top first, get them in the sequence's order.
  std::vector<HWND> order;
  bool same = true;
  size_t next = 0;
  for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (std::find(sequence.begin(), sequence.end(), ToHandle(h)) != sequence.end()) {
      HWND wanted = ToHwnd(sequence[next++]);
      same = same && wanted == h;
      order.push_back(wanted);
    } else {
      order.push_back(h);
    }
  }
  if (same || next != sequence.size()) return;  // already in order, or not all siblings
  HWND after = HWND_TOP;
  for (HWND h : order) {
    ::SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    after = h;
  }
  ::InvalidateRect(parent, nullptr, FALSE);
}

void Win32WindowSystem::SetButtonImage(WindowHandle w, const std::string& resource) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  if (!d || d->kind != WindowKind::Button) return;
  BUTTON_IMAGELIST list{};
  list.himl = reinterpret_cast<HIMAGELIST>(-1);  // BCCL_NOGLYPH: none
  list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
  list.margin = {2, 0, 2, 0};
  win32::ScopedImageList image;
  if (HBITMAP bitmap = resource.empty() ? nullptr : resources_.Bitmap(resource)) {
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof info, &info)) {
      image.Reset(::ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0));
      // The bottom-left pixel's colour is the picture's transparent one.
      COLORREF key = CLR_NONE;
      if (win32::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr)); dc) {
        win32::SelectGuard select(dc.Get(), bitmap);
        key = ::GetPixel(dc.Get(), 0, info.bmHeight - 1);
      }
      if (image && ::ImageList_AddMasked(image.Get(), bitmap, key) < 0) image.Reset();
    }
  }
  if (image) list.himl = image.Get();
  ::SendMessageW(h, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  d->image = std::move(image);  // the button keeps using it: it lives as long as the window
  ::InvalidateRect(h, nullptr, TRUE);
}

void Win32WindowSystem::BringToFront(WindowHandle w) {
  ::SetForegroundWindow(ToHwnd(w));
  ::BringWindowToTop(ToHwnd(w));
}

void Win32WindowSystem::SetFocus(WindowHandle w) { ::SetFocus(ToHwnd(w)); }
WindowHandle Win32WindowSystem::GetFocus() { return ToHandle(::GetFocus()); }
void Win32WindowSystem::SetCapture(WindowHandle w) { ::SetCapture(ToHwnd(w)); }
void Win32WindowSystem::ReleaseCapture() { ::ReleaseCapture(); }

void Win32WindowSystem::SetCursor(CursorKind cursor) {
  switch (cursor) {
    case CursorKind::Hand:
      if (!handCursorLoaded_) {
        handCursorLoaded_ = true;
        handCursor_ = ::LoadCursorA(resourceModule_, res::kHandCursor);
        if (!handCursor_) handCursor_ = ::LoadCursorA(nullptr, IDC_HAND);
      }
      ::SetCursor(handCursor_);
      return;
    case CursorKind::SizeWE:
      ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEWE));
      return;
    case CursorKind::SizeNS:
      ::SetCursor(::LoadCursorA(nullptr, IDC_SIZENS));
      return;
    default:
      ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
      return;
  }
}

TPoint Win32WindowSystem::ClientToScreen(WindowHandle w, TPoint p) {
  POINT pt{p.x, p.y};
  ::ClientToScreen(ToHwnd(w), &pt);
  return {pt.x, pt.y};
}

// ---- combo boxes

void Win32WindowSystem::ComboSetItems(WindowHandle w, const std::vector<WideString>& items) {
  HWND h = ToHwnd(w);
  ::SendMessageW(h, CB_RESETCONTENT, 0, 0);
  for (const WideString& item : items) ::SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
}

void Win32WindowSystem::ComboSetIndex(WindowHandle w, int index) {
  ::SendMessageW(ToHwnd(w), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32WindowSystem::ComboGetIndex(WindowHandle w) {
  return static_cast<int>(::SendMessageW(ToHwnd(w), CB_GETCURSEL, 0, 0));
}

// ---- menus, boxes, timers, loop

bool Win32WindowSystem::HasSelection(WindowHandle w) {
  DWORD start = 0, end = 0;
  ::SendMessageW(ToHwnd(w), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start != end;
}

uint32_t Win32WindowSystem::TrackPopupMenu(WindowHandle owner, const std::vector<MenuItemSpec>& items, TPoint screen) {
  win32::ScopedMenu menu(::CreatePopupMenu());
  if (!menu) return 0;
  for (const MenuItemSpec& item : items) {
    if (item.text == "-") {
      ::AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (item.grayed ? MF_GRAYED : 0) | (item.checked ? MF_CHECKED : 0);
    if (item.wideText.empty())
      ::AppendMenuA(menu.Get(), flags, item.command, item.text.c_str());
    else
      ::AppendMenuW(menu.Get(), flags, item.command, reinterpret_cast<const wchar_t*>(item.wideText.c_str()));
  }
  HWND h = ToHwnd(owner);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(h);
  UINT command = static_cast<UINT>(
      ::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, h, nullptr));
  ::PostMessageW(h, WM_NULL, 0, 0);
  return command;
}

// ---- the window menu

int Win32WindowSystem::WindowMenuCount(WindowHandle w) {
  HMENU menu = ::GetSystemMenu(ToHwnd(w), FALSE);
  return menu ? ::GetMenuItemCount(menu) : -1;
}

bool Win32WindowSystem::WindowMenuItem(WindowHandle w, int position, uint32_t& command, bool& separator) {
  HMENU menu = ::GetSystemMenu(ToHwnd(w), FALSE);
  if (!menu) return false;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_TYPE;
  if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return false;
  command = info.wID;
  separator = (info.fType & MFT_SEPARATOR) != 0;
  return true;
}

AnsiString Win32WindowSystem::WindowMenuText(WindowHandle w, int position) {
  HMENU menu = ::GetSystemMenu(ToHwnd(w), FALSE);
  if (!menu) return {};
  char text[256] = {};
  int n = ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return AnsiString(text, n > 0 ? static_cast<size_t>(n) : 0);
}

void Win32WindowSystem::SetWindowMenuText(WindowHandle w, int position, uint32_t command, const AnsiString& text) {
  HMENU menu = ::GetSystemMenu(ToHwnd(w), FALSE);
  if (!menu) return;
  AnsiString copy = text;  // the call takes a writable pointer
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STRING;
  info.wID = command;
  info.dwTypeData = copy.data();
  ::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
}

void Win32WindowSystem::SetExceptionHandler(std::function<void(const std::exception&)> handler) {
  exceptionHandler_ = std::move(handler);
}

uintptr_t Win32WindowSystem::SetTimer(uint32_t intervalMs, std::function<void()> callback) {
  if (!timerWindow_) return 0;
  uintptr_t id = nextTimer_++;
  if (!::SetTimer(timerWindow_, id, intervalMs, nullptr)) return 0;
  timers_[id] = std::move(callback);
  return id;
}

void Win32WindowSystem::KillTimer(uintptr_t timer) {
  if (timers_.erase(timer) && timerWindow_) ::KillTimer(timerWindow_, timer);
}

void Win32WindowSystem::OnTimer(UINT_PTR id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  std::function<void()> callback = it->second;  // it may kill its own timer
  Guard(callback);
}

int Win32WindowSystem::MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                  uint32_t type) {
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), type);
}

void Win32WindowSystem::Dispatch(MSG& msg) {
  if (msg.hwnd && msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && (msg.lParam & (1 << 29))) {
    // Alt+F4 closes the window whatever has the focus: some controls (the combo box under
    // Wine) keep system keys to themselves.
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    WindowData* rd = DataOf(root);
    if (rd && rd->system == this && rd->kind == WindowKind::Form && !rd->appWindow && root != msg.hwnd) {
      if (WindowData* fd = DataOf(msg.hwnd); fd && fd->kind == WindowKind::ComboBox)
        ::SendMessageW(msg.hwnd, CB_SHOWDROPDOWN, FALSE, 0);
      ::PostMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    }
  }
  if (msg.hwnd) {
    // Tab, arrows and mnemonics move between the controls of the form the message is for.
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    WindowData* rd = DataOf(root);
    const bool ourForm = rd && rd->system == this && rd->kind == WindowKind::Form && !rd->appWindow;
    // The form sees a key before the control with the focus does: its shortcuts work anywhere.
    // Shift+F10 comes as a system key (F10 is the menu bar's), and opens the context menu.
    const bool key = msg.message == WM_KEYDOWN || (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F10);
    if (ourForm && key && rd->sink) {
      bool taken = false;
      Guard([&] { taken = rd->sink->WmShortcut(static_cast<uint16_t>(msg.wParam), KeyShift()); });
      if (taken) return;
    }
    if (ourForm && ::IsDialogMessageW(root, &msg)) return;
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

int Win32WindowSystem::RunMessageLoop() {
  MSG msg{};
  for (;;) {
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    Dispatch(msg);
  }
}

void Win32WindowSystem::ProcessMessages() {
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave it for the loop that owns the program's end.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

void Win32WindowSystem::PostQuit(int code) { ::PostQuitMessage(code); }

TSize Win32WindowSystem::MeasureText(const FontSpec& font, const AnsiString& text) {
  win32::ScopedGetDC screen(nullptr);
  if (!screen) return {};
  win32::SelectGuard select(screen.Get(), resources_.Font(font));
  SIZE size{};
  ::GetTextExtentPoint32A(screen.Get(), text.data(), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

}  // namespace vsi
