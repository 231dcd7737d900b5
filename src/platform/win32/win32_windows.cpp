#include "platform/win32/win32_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "res/resource_names.h"

namespace vsi {

namespace {

constexpr wchar_t kFormClass[] = L"VsiForm";
constexpr wchar_t kControlClass[] = L"VsiControl";
constexpr wchar_t kTimerClass[] = L"VsiTimer";
constexpr UINT_PTR kNativeSubclassId = 1;
// Posted to the application window when it is activated: hand the activation on to the form.
constexpr UINT kActivateForm = WM_APP + 0x51;
constexpr int kTipMaxWidth = 400;
constexpr int kComboDropItems = 8;

HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle ToHandle(HWND h) { return reinterpret_cast<WindowHandle>(h); }
const wchar_t* Wide(const WideString& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

std::wstring AnsiToWide(const std::string& s) {
  if (s.empty()) return {};
  int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(const std::wstring& s) {
  if (s.empty()) return {};
  int n = ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

uint8_t KeyShift() {
  uint8_t s = 0;
  if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  return s;
}

uint8_t MouseShift(WPARAM wp) {
  uint8_t s = 0;
  if (wp & MK_SHIFT) s |= ssShift;
  if (wp & MK_CONTROL) s |= ssCtrl;
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

int LowX(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int HighY(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
  HDC Dc() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

class ScopedMenu {
 public:
  ScopedMenu() : menu_(::CreatePopupMenu()) {}
  ScopedMenu(const ScopedMenu&) = delete;
  ScopedMenu& operator=(const ScopedMenu&) = delete;
  ~ScopedMenu() {
    if (menu_) ::DestroyMenu(menu_);
  }
  HMENU Get() const { return menu_; }

 private:
  HMENU menu_;
};

}  // namespace

struct Win32WindowSystem::WindowData {
  Win32WindowSystem* system = nullptr;
  IWindowEvents* sink = nullptr;  // cleared at WM_DESTROY: nothing reaches it afterwards
  HWND hwnd = nullptr;
  WindowKind kind = WindowKind::Custom;
  bool native = false;
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
  std::unique_ptr<_IMAGELIST, BOOL(WINAPI*)(HIMAGELIST)> image{nullptr, &::ImageList_Destroy};
  int itemHeight = 16;
  int fieldHeight = 0;
  int dropHeight = 0;
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
};

namespace {
// Our data of each of our windows, found on every message. Kept in the process rather than
// as a window property: reading a property is a round trip to the window server under Wine.
// Windows live on the one UI thread.
std::unordered_map<HWND, Win32WindowSystem::WindowData*>& Attached() {
  static std::unordered_map<HWND, Win32WindowSystem::WindowData*> table;
  return table;
}
void Attach(HWND hwnd, Win32WindowSystem::WindowData* d) { Attached()[hwnd] = d; }
void Detach(HWND hwnd) { Attached().erase(hwnd); }
Win32WindowSystem::WindowData* DataOf(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto it = Attached().find(hwnd);
  return it == Attached().end() ? nullptr : it->second;
}
}  // namespace

// ---- construction

Win32WindowSystem::Win32WindowSystem(HINSTANCE resources)
    : module_(::GetModuleHandleW(nullptr)),
      resourceModule_(resources ? resources : module_),
      resources_(resourceModule_) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  RegisterClasses();
  timerWindow_ = ::CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module_, this);
}

Win32WindowSystem::~Win32WindowSystem() {
  // Windows still alive: their sinks may be gone already, so they hear nothing more.
  std::vector<HWND> alive;
  for (auto& [key, d] : data_) {
    d->sink = nullptr;
    if (d->hwnd) alive.push_back(d->hwnd);
  }
  for (HWND h : alive)
    if (::IsWindow(h) && !(::GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) ::DestroyWindow(h);
  for (HWND h : alive)
    if (::IsWindow(h)) ::DestroyWindow(h);
  if (timerWindow_) ::DestroyWindow(timerWindow_);
  data_.clear();
  ReleasePaintBuffer();
}

void Win32WindowSystem::RegisterClasses() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &Win32WindowSystem::WindowProc;
  wc.hInstance = module_;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;  // we paint everything, double-buffered
  // Icon 1 is the program's icon: the application window's taskbar button shows it.
  wc.hIcon = ::LoadIconW(resourceModule_, MAKEINTRESOURCEW(res::kMainIconId));
  wc.lpszClassName = kFormClass;
  ::RegisterClassExW(&wc);  // fails harmlessly when a second window system registers again
  wc.hIcon = nullptr;
  wc.lpszClassName = kControlClass;
  ::RegisterClassExW(&wc);
  WNDCLASSEXW tc{};
  tc.cbSize = sizeof tc;
  tc.lpfnWndProc = &Win32WindowSystem::TimerProc;
  tc.hInstance = module_;
  tc.lpszClassName = kTimerClass;
  ::RegisterClassExW(&tc);
}

void Win32WindowSystem::Release(WindowData* d) { data_.erase(d); }

// ---- window creation

WindowHandle Win32WindowSystem::CreateWindow(const WindowParams& params, IWindowEvents* sink) {
  auto owned = std::make_unique<WindowData>();
  WindowData* d = owned.get();
  d->system = this;
  d->sink = sink;
  d->kind = params.kind;
  d->appWindow = params.kind == WindowKind::Form && params.appWindow;
  d->color = params.color;
  d->font = params.font;
  d->itemHeight = std::max(params.itemHeight, 1);
  d->wantTabs = params.wantTabs;
  data_.emplace(d, std::move(owned));

  const TRect& b = params.bounds;
  HWND parent = ToHwnd(params.parent);
  HMENU id = nullptr;
  DWORD common = (params.visible ? WS_VISIBLE : 0) | (params.enabled ? 0 : WS_DISABLED);
  HWND hwnd = nullptr;

  switch (params.kind) {
    case WindowKind::Form: {
      if (d->appWindow) {
        // A zero-size window in the middle of the screen: only its taskbar button shows.
        DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | common;
        hwnd = ::CreateWindowExW(0, kFormClass, Wide(params.text), style, ::GetSystemMetrics(SM_CXSCREEN) / 2,
                                 ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, module_, d);
        break;
      }
      // Popups rather than overlapped windows: the system hides owned popups while their
      // owner (the application window) is minimised and shows them again on restore.
      DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (params.enabled ? 0 : WS_DISABLED);
      if (params.systemMenu) style |= WS_SYSMENU;
      if (params.minimizeBox) style |= WS_MINIMIZEBOX;
      if (params.maximizeBox) style |= WS_MAXIMIZEBOX;
      if (params.sizeable) style |= WS_THICKFRAME;
      DWORD ex = WS_EX_CONTROLPARENT | (params.toolWindow ? WS_EX_TOOLWINDOW : 0);
      // The bounds give the client size, and the frame goes around it, unless they are the
      // whole window's.
      RECT frame{0, 0, b.Width(), b.Height()};
      if (!params.outerBounds) ::AdjustWindowRectEx(&frame, style, FALSE, ex);
      HWND owner = ToHwnd(params.owner);
      hwnd = ::CreateWindowExW(ex, kFormClass, Wide(params.text), style, b.left, b.top, frame.right - frame.left,
                               frame.bottom - frame.top, owner, nullptr, module_, d);
      if (!hwnd) break;
      if (WindowData* od = DataOf(owner); od && od->appWindow && !od->mainForm) od->mainForm = hwnd;
      if (!params.iconResource.empty()) {
        // Shared icons belong to the module: nothing to free.
        auto big = static_cast<HICON>(::LoadImageA(resourceModule_, params.iconResource.c_str(), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                                   LR_SHARED));
        auto small = static_cast<HICON>(::LoadImageA(resourceModule_, params.iconResource.c_str(), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        if (big) ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        if (small) ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
      }
      if (params.visible) ::ShowWindow(hwnd, SW_SHOW);
      break;
    }
    case WindowKind::Custom: {
      id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextControlId_++));
      DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | common | (params.tabStop ? WS_TABSTOP : 0);
      // Containers let dialog navigation reach the controls inside them.
      DWORD ex = params.tabStop ? 0 : WS_EX_CONTROLPARENT;
      hwnd = ::CreateWindowExW(ex, kControlClass, Wide(params.text), style, b.left, b.top, b.Width(), b.Height(),
                               parent, id, module_, d);
      // A control made later lies above the ones before it, so where two overlap (a caption
      // label running a pixel into its slot) the later one shows. Controls that take the
      // focus keep their creation order, which is the tab order.
      if (hwnd && !params.tabStop && params.overlapsEarlier)
        ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    }
    case WindowKind::Button:
    case WindowKind::ComboBox:
    case WindowKind::Memo: {
      d->native = true;
      id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextControlId_++));
      DWORD style = WS_CHILD | common | (params.tabStop ? WS_TABSTOP : 0);
      DWORD ex = 0;
      const wchar_t* cls = L"BUTTON";
      const wchar_t* text = Wide(params.text);
      int height = b.Height();
      if (params.kind == WindowKind::Button) {
        style |= BS_PUSHBUTTON;
      } else if (params.kind == WindowKind::ComboBox) {
        cls = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
        text = L"";  // a drop-down list shows its selected item
        d->fieldHeight = std::max(b.Height() - 6, 1);
        // The window height of a drop-down list includes the list.
        d->dropHeight = d->itemHeight * kComboDropItems + 2;
        height += d->dropHeight;
      } else {
        cls = L"EDIT";
        text = L"";  // set once the length limit is lifted
        style |= ES_MULTILINE | ES_AUTOVSCROLL | (params.vScroll ? WS_VSCROLL : 0) | (params.readOnly ? ES_READONLY : 0);
        ex = WS_EX_CLIENTEDGE;
      }
      creating_ = d;  // WM_MEASUREITEM arrives before the property is set
      hwnd = ::CreateWindowExW(ex, cls, text, style, b.left, b.top, b.Width(), height, parent, id, module_, nullptr);
      creating_ = nullptr;
      if (!hwnd) break;
      d->hwnd = hwnd;
      Attach(hwnd, d);
      ::SetWindowSubclass(hwnd, &Win32WindowSystem::NativeProc, kNativeSubclassId, reinterpret_cast<DWORD_PTR>(d));
      ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(resources_.Font(d->font)), FALSE);
      if (params.kind == WindowKind::ComboBox) {
        ::SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, d->itemHeight);
        ::SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), d->fieldHeight);
        // The frame around the field differs between systems: size the field so the whole
        // box is as tall as asked.
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        int excess = (r.bottom - r.top) - b.Height();
        if (excess != 0 && d->fieldHeight - excess > 0) {
          d->fieldHeight -= excess;
          ::SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), d->fieldHeight);
        }
      } else if (params.kind == WindowKind::Memo) {
        ::SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no 32K limit on long outputs
        ::SetWindowTextW(hwnd, Wide(params.text));
      } else if (!params.image.empty()) {
        SetButtonImage(ToHandle(hwnd), params.image);
      }
      break;
    }
  }

  if (!hwnd) {
    data_.erase(d);  // no-op when WM_NCDESTROY released it already
    return 0;
  }
  d->hwnd = hwnd;
  // A control that answers tooltip requests itself (the calendar) needs its tool hint or
  // not; the others get one only with a hint (each tool is work for the window server).
  if (params.kind == WindowKind::Custom && params.ownTooltips) AddTool(hwnd, *d);
  return ToHandle(hwnd);
}

void Win32WindowSystem::DestroyWindow(WindowHandle w) {
  HWND h = ToHwnd(w);
  if (h && ::IsWindow(h)) ::DestroyWindow(h);
}

// ---- window procedures

LRESULT CALLBACK Win32WindowSystem::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    if (auto* d = static_cast<WindowData*>(cs->lpCreateParams)) {
      d->hwnd = hwnd;
      Attach(hwnd, d);
    }
  }
  WindowData* d = DataOf(hwnd);
  if (!d) return ::DefWindowProcW(hwnd, msg, wp, lp);
  Win32WindowSystem* self = d->system;
  LRESULT result = self->HandleMessage(*d, hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    Detach(hwnd);
    if (WindowData* od = DataOf(::GetWindow(hwnd, GW_OWNER)); od && od->mainForm == hwnd) od->mainForm = nullptr;
    self->Release(d);
  }
  return result;
}

LRESULT CALLBACK Win32WindowSystem::NativeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                               DWORD_PTR ref) {
  auto* d = reinterpret_cast<WindowData*>(ref);
  switch (msg) {
    case WM_GETDLGCODE:
      if (d->kind == WindowKind::Memo) {
        LRESULT code = ::DefSubclassProc(hwnd, msg, wp, lp);
        // Tabbing in leaves the text as it is: selected all, one key would replace it.
        code &= ~static_cast<LRESULT>(DLGC_HASSETSEL);
        // A multi-line edit asks for every key; Tab moves on unless the memo wants tabs.
        auto* m = reinterpret_cast<MSG*>(lp);
        if (!d->wantTabs && m && m->message == WM_KEYDOWN && m->wParam == VK_TAB)
          code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        return code;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (IWindowEvents* sink = d->sink) d->system->Guard([&] { sink->WmFocus(msg == WM_SETFOCUS); });
      break;
    case WM_DESTROY:
      if (d->tipWindow && ::IsWindow(d->tipWindow)) {
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = ::GetAncestor(hwnd, GA_ROOT);
        ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
        ::SendMessageW(d->tipWindow, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      }
      if (IWindowEvents* sink = d->sink) {
        d->sink = nullptr;
        d->system->Guard([&] { sink->WmDestroy(); });
      }
      break;
    case WM_NCDESTROY: {
      ::RemoveWindowSubclass(hwnd, &Win32WindowSystem::NativeProc, id);
      Detach(hwnd);
      LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
      d->system->Release(d);
      return r;
    }
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32WindowSystem::TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  } else if (msg == WM_TIMER) {
    if (auto* self = reinterpret_cast<Win32WindowSystem*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
      self->OnTimer(static_cast<UINT_PTR>(wp));
      return 0;
    }
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32WindowSystem::Guard(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& e) {
    if (!exceptionHandler_) return;
    try {
      exceptionHandler_(e);
    } catch (...) {
      // The error box itself failed: nothing is left to tell.
    }
  } catch (...) {
    // Not ours to describe; it must not unwind through the system's frames.
  }
}

LRESULT Win32WindowSystem::HandleMessage(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  bool handled = false;
  LRESULT forwarded = HandleParentMessage(d, hwnd, msg, wp, lp, handled);
  if (handled) return forwarded;
  IWindowEvents* sink = d.sink;

  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      Paint(d, hwnd);
      return 0;

    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (msg == WM_LBUTTONDOWN && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) && ::GetFocus() != hwnd)
        ::SetFocus(hwnd);
      MouseButton button = msg == WM_LBUTTONDOWN ? mbLeft : msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
      if (sink) Guard([&] { sink->WmMouseDown(button, MouseShift(wp), LowX(lp), HighY(lp)); });
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      MouseButton button = msg == WM_LBUTTONUP ? mbLeft : msg == WM_RBUTTONUP ? mbRight : mbMiddle;
      if (sink) Guard([&] { sink->WmMouseUp(button, MouseShift(wp), LowX(lp), HighY(lp)); });
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!d.tracking) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        if (::TrackMouseEvent(&tme)) d.tracking = true;
      }
      if (sink) Guard([&] { sink->WmMouseMove(MouseShift(wp), LowX(lp), HighY(lp)); });
      return 0;
    case WM_MOUSELEAVE:
      d.tracking = false;
      if (sink) Guard([&] { sink->WmMouseLeave(); });
      return 0;

    case WM_KEYDOWN: {
      bool eaten = false;
      if (sink) Guard([&] { eaten = sink->WmKeyDown(static_cast<uint16_t>(wp), KeyShift()); });
      if (eaten) return 0;
      break;
    }
    case WM_KEYUP:
      if (sink) Guard([&] { sink->WmKeyUp(static_cast<uint16_t>(wp), KeyShift()); });
      break;
    case WM_CHAR: {
      wchar_t wc = static_cast<wchar_t>(wp);
      char ch[4];
      int n = ::WideCharToMultiByte(CP_ACP, 0, &wc, 1, ch, sizeof ch, nullptr, nullptr);
      if (n == 1 && sink) Guard([&] { sink->WmChar(ch[0]); });
      return 0;
    }
    case WM_GETDLGCODE:
      if (d.kind == WindowKind::Custom && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP)) {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        auto* m = reinterpret_cast<MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && sink) {
          bool wants = false;
          Guard([&] { wants = sink->WmWantsKey(static_cast<uint16_t>(m->wParam)); });
          if (wants) code |= DLGC_WANTMESSAGE;
        }
        return code;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (sink) Guard([&] { sink->WmFocus(msg == WM_SETFOCUS); });
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == hwnd && LOWORD(lp) == HTCLIENT && sink) {
        bool set = false;
        Guard([&] { set = sink->WmSetCursor(); });
        if (set) return TRUE;
      }
      break;
    case WM_SHOWWINDOW:
      if (wp && !d.shown) {
        d.shown = true;
        if (sink) Guard([&] { sink->WmShow(); });
      }
      break;

    case WM_SYSCOMMAND:
      // Minimising the main form minimises the application window, which hides it; any
      // other form minimises on its own and leaves the main form as it is.
      if ((wp & 0xFFF0) == SC_MINIMIZE && d.kind == WindowKind::Form && !d.appWindow) {
        HWND owner = ::GetWindow(hwnd, GW_OWNER);
        if (WindowData* od = DataOf(owner); od && od->appWindow && od->mainForm == hwnd) {
          ::ShowWindow(owner, SW_MINIMIZE);
          return 0;
        }
      }
      break;
    case WM_SIZE:
      if (d.appWindow) {
        ShowOwnedForms(d, hwnd, wp != SIZE_MINIMIZED);
      } else if (d.kind == WindowKind::Form && wp != SIZE_MINIMIZED && sink) {
        const int w = LOWORD(lp), h = HIWORD(lp);
        Guard([&] { sink->WmSize(w, h); });
      }
      break;
    case WM_ACTIVATE:
      if (d.appWindow && LOWORD(wp) != WA_INACTIVE && !::IsIconic(hwnd)) ::PostMessageW(hwnd, kActivateForm, 0, 0);
      break;
    case kActivateForm:
      if (d.appWindow && !::IsIconic(hwnd)) {
        HWND popup = ::GetLastActivePopup(hwnd);
        if (popup == hwnd) popup = d.mainForm;
        if (popup && popup != hwnd && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup))
          ::SetForegroundWindow(popup);
      }
      return 0;

    case WM_CLOSE:
      if (d.appWindow) {
        // Closing the taskbar button closes the main form, which ends the program.
        if (d.mainForm && ::IsWindow(d.mainForm)) {
          ::PostMessageW(d.mainForm, WM_CLOSE, 0, 0);
          return 0;
        }
        break;
      }
      if (sink) {
        bool close = false;  // a failing close handler keeps the window
        Guard([&] { close = sink->WmClose(); });
        if (close) ::DestroyWindow(hwnd);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (d.tipWindow && ::IsWindow(d.tipWindow)) {
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = ::GetAncestor(hwnd, GA_ROOT);
        ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
        ::SendMessageW(d.tipWindow, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      }
      if (sink) {
        d.sink = nullptr;
        Guard([&] { sink->WmDestroy(); });
      }
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32WindowSystem::ShowOwnedForms(WindowData& d, HWND app, bool show) {
  // Windows hides owned windows while their owner is minimised; not every system does, so
  // the application window does it itself (on Windows the forms are hidden already).
  if (show) {
    std::vector<HWND> forms;
    forms.swap(d.hiddenForms);
    for (HWND form : forms)
      if (::IsWindow(form) && ::GetWindow(form, GW_OWNER) == app) ::ShowWindow(form, SW_SHOWNA);
    return;
  }
  struct Search {
    HWND app;
    std::vector<HWND>* hidden;
  } search{app, &d.hiddenForms};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (::GetWindow(h, GW_OWNER) == s->app && ::IsWindowVisible(h)) s->hidden->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  for (HWND form : d.hiddenForms) ::ShowWindow(form, SW_HIDE);
}

Win32WindowSystem::WindowData* Win32WindowSystem::ChildData(HWND parent, UINT controlId) {
  WindowData* cd = DataOf(::GetDlgItem(parent, static_cast<int>(controlId)));
  return cd ? cd : creating_;
}

HBRUSH Win32WindowSystem::ColorBrush(WindowData& d) {
  if (!d.brush) d.brush.Reset(::CreateSolidBrush(win32::ResolveColorRef(d.color)));
  return d.brush.Get();
}

LRESULT Win32WindowSystem::HandleParentMessage(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                               bool& handled) {
  switch (msg) {
    case WM_COMMAND: {
      WindowData* cd = DataOf(reinterpret_cast<HWND>(lp));
      if (!cd || !cd->sink) break;
      IWindowEvents* sink = cd->sink;
      UINT code = HIWORD(wp);
      if (cd->kind == WindowKind::Button && code == BN_CLICKED) {
        Guard([&] { sink->WmClick(); });
      } else if (cd->kind == WindowKind::ComboBox && code == CBN_SELCHANGE) {
        Guard([&] { sink->WmSelChange(); });
      } else {
        break;
      }
      handled = true;
      return 0;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (!dis || dis->CtlType != ODT_COMBOBOX) break;
      WindowData* cd = DataOf(dis->hwndItem);
      if (!cd || !cd->sink) break;
      IWindowEvents* sink = cd->sink;
      DrawItemState state;
      state.selected = (dis->itemState & ODS_SELECTED) != 0;
      state.focused = (dis->itemState & ODS_FOCUS) != 0;
      state.inEditField = (dis->itemState & ODS_COMBOBOXEDIT) != 0;
      TRect r{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
      {
        GdiCanvas canvas(dis->hDC, resources_, dis->hwndItem, {r.Width(), r.Height()});
        int index = static_cast<int>(dis->itemID);
        Guard([&] { sink->WmDrawItem(canvas, index, r, state); });
      }
      handled = true;
      return TRUE;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (!mis || mis->CtlType != ODT_COMBOBOX) break;
      WindowData* cd = ChildData(hwnd, mis->CtlID);
      if (!cd) break;
      mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? cd->fieldHeight : cd->itemHeight;
      handled = true;
      return TRUE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      WindowData* cd = DataOf(reinterpret_cast<HWND>(lp));
      if (!cd || !cd->native) break;
      HDC dc = reinterpret_cast<HDC>(wp);
      ::SetTextColor(dc, win32::ResolveColorRef(cd->font.color));
      ::SetBkColor(dc, win32::ResolveColorRef(cd->color));
      handled = true;
      return reinterpret_cast<LRESULT>(ColorBrush(*cd));
    }
    case WM_NOTIFY:
      return HandleNotify(d, hwnd, reinterpret_cast<NMHDR*>(lp), handled);
    default:
      break;
  }
  return 0;
}

LRESULT Win32WindowSystem::HandleNotify(WindowData& d, HWND hwnd, NMHDR* hdr, bool& handled) {
  if (!hdr || !d.tooltip || hdr->hwndFrom != d.tooltip) return 0;
  if (hdr->code == TTN_GETDISPINFOW || hdr->code == TTN_GETDISPINFOA) {
    HWND child = reinterpret_cast<HWND>(hdr->idFrom);
    WindowData* cd = DataOf(child);
    std::string text;
    TPoint pos;
    bool own = false;
    if (cd && cd->sink) {
      IWindowEvents* sink = cd->sink;
      Guard([&] { own = sink->WmTooltip(text, pos); });
    }
    d.tipPlaced = own;
    if (own) {
      d.tipText = AnsiToWide(text);
      POINT p{pos.x, pos.y};
      ::ClientToScreen(child, &p);
      d.tipPos = p;
    } else {
      d.tipText = cd ? cd->hint : std::wstring();
    }
    if (hdr->code == TTN_GETDISPINFOW) {
      auto* di = reinterpret_cast<NMTTDISPINFOW*>(hdr);
      di->hinst = nullptr;
      di->lpszText = d.tipText.data();
    } else {
      d.tipTextAnsi = own ? text : WideToAnsi(d.tipText);
      auto* di = reinterpret_cast<NMTTDISPINFOA*>(hdr);
      di->hinst = nullptr;
      di->lpszText = d.tipTextAnsi.data();
    }
    handled = true;
    return 0;
  }
  if (hdr->code == TTN_SHOW && d.tipPlaced) {
    // The control chose where its tip goes.
    ::SetWindowPos(d.tooltip, nullptr, d.tipPos.x, d.tipPos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    handled = true;
    return TRUE;
  }
  return 0;
}

void Win32WindowSystem::Paint(WindowData& d, HWND hwnd) {
  PaintScope paint(hwnd);
  if (!paint.Dc()) return;
  RECT client{};
  ::GetClientRect(hwnd, &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  // Controls draw into a bitmap, copied once: no flicker from the layers of their paint. A
  // form only fills what its controls leave uncovered and draws straight, so that the kept
  // buffer need not be as large as a whole window.
  const bool buffered = d.kind != WindowKind::Form;
  HDC target = buffered ? PaintBuffer(paint.Dc(), w, h) : paint.Dc();
  if (!target) return;
  {
    GdiCanvas canvas(target, resources_, hwnd, {w, h});
    canvas.SetBrush(d.color);
    canvas.FillRect({0, 0, w, h});
    if (IWindowEvents* sink = d.sink) Guard([&] { sink->WmPaint(canvas); });
  }
  if (!buffered) return;
  const RECT& area = paint.Area();
  ::BitBlt(paint.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, target, area.left,
           area.top, SRCCOPY);
}

HDC Win32WindowSystem::PaintBuffer(HDC screen, int width, int height) {
  if (bufferDc_ && width <= bufferWidth_ && height <= bufferHeight_) return bufferDc_;
  const int w = std::max(width, bufferWidth_), h = std::max(height, bufferHeight_);
  ReleasePaintBuffer();
  bufferDc_ = ::CreateCompatibleDC(screen);
  bufferBitmap_ = bufferDc_ ? ::CreateCompatibleBitmap(screen, w, h) : nullptr;
  if (!bufferBitmap_) {
    ReleasePaintBuffer();
    return nullptr;
  }
  bufferOldBitmap_ = ::SelectObject(bufferDc_, bufferBitmap_);
  bufferWidth_ = w;
  bufferHeight_ = h;
  return bufferDc_;
}

void Win32WindowSystem::ReleasePaintBuffer() {
  if (bufferDc_ && bufferOldBitmap_) ::SelectObject(bufferDc_, bufferOldBitmap_);
  if (bufferBitmap_) ::DeleteObject(bufferBitmap_);
  if (bufferDc_) ::DeleteDC(bufferDc_);
  bufferDc_ = nullptr;
  bufferBitmap_ = nullptr;
  bufferOldBitmap_ = nullptr;
  bufferWidth_ = bufferHeight_ = 0;
}

// ---- tooltips

void Win32WindowSystem::AddTool(HWND child, WindowData& d) {
  if (d.tipWindow) return;
  HWND root = ::GetAncestor(child, GA_ROOT);
  WindowData* rd = DataOf(root);
  if (!rd || root == child || rd->kind != WindowKind::Form || rd->appWindow) return;
  if (!rd->tooltip || !::IsWindow(rd->tooltip)) {
    rd->tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, root, nullptr, module_,
                                    nullptr);
    if (!rd->tooltip) return;
    ::SendMessageW(rd->tooltip, TTM_SETMAXTIPWIDTH, 0, kTipMaxWidth);
  }
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32 version
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = root;
  ti.uId = reinterpret_cast<UINT_PTR>(child);
  ti.lpszText = LPSTR_TEXTCALLBACKW;
  if (::SendMessageW(rd->tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) d.tipWindow = rd->tooltip;
}

HWND Win32WindowSystem::TooltipOf(WindowHandle form) const {
  WindowData* d = DataOf(ToHwnd(form));
  return d ? d->tooltip : nullptr;
}

void Win32WindowSystem::SetHint(WindowHandle w, const std::string& hint) {
  HWND h = ToHwnd(w);
  WindowData* d = DataOf(h);
  if (!d) return;
  d->hint = AnsiToWide(hint);
  if (!d->hint.empty()) AddTool(h, *d);
}

void Win32WindowSystem::CancelTooltip(WindowHandle w) {
  WindowData* rd = DataOf(::GetAncestor(ToHwnd(w), GA_ROOT));
  if (rd && rd->tooltip && ::IsWindow(rd->tooltip)) ::SendMessageW(rd->tooltip, TTM_POP, 0, 0);
}

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
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(h, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongW(h, GWL_EXSTYLE)));
    ::MoveWindow(h, r.left, r.top, frame.right - frame.left, frame.bottom - frame.top, TRUE);
    return;
  }
  int extra = d && d->kind == WindowKind::ComboBox ? d->dropHeight : 0;
  ::MoveWindow(h, r.left, r.top, r.Width(), r.Height() + extra, TRUE);
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
  decltype(d->image) image{nullptr, &::ImageList_Destroy};
  if (HBITMAP bitmap = resource.empty() ? nullptr : resources_.Bitmap(resource)) {
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof info, &info)) {
      image.reset(::ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0));
      // The bottom-left pixel's colour is the picture's transparent one.
      COLORREF key = CLR_NONE;
      if (win32::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr)); dc) {
        win32::SelectGuard select(dc.Get(), bitmap);
        key = ::GetPixel(dc.Get(), 0, info.bmHeight - 1);
      }
      if (image && ::ImageList_AddMasked(image.get(), bitmap, key) < 0) image.reset();
    }
  }
  if (image) list.himl = image.get();
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

uint32_t Win32WindowSystem::TrackPopupMenu(WindowHandle owner, const std::vector<MenuItemSpec>& items, TPoint screen) {
  ScopedMenu menu;
  if (!menu.Get()) return 0;
  for (const MenuItemSpec& item : items) {
    if (item.text == "-") {
      ::AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    ::AppendMenuA(menu.Get(), MF_STRING | (item.grayed ? MF_GRAYED : 0), item.command, item.text.c_str());
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
    if (ourForm && msg.message == WM_KEYDOWN && rd->sink) {
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
