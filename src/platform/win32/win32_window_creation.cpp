#include "platform/win32/win32_window_data.h"

#include <algorithm>

#include "res/resource_names.h"

namespace vsi {

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
  paintBuffer_.Release();
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
  wc.style |= CS_OWNDC;
  wc.lpszClassName = kTickingControlClass;
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
      DWORD ex = WS_EX_CONTROLPARENT | (params.toolWindow ? WS_EX_TOOLWINDOW : 0) | (params.owner ? 0 : WS_EX_APPWINDOW);
      // The bounds give the client size, and the frame goes around it, unless they are the
      // whole window's.
      RECT frame{0, 0, b.Width(), b.Height()};
      if (!params.outerBounds) AdjustFrame(frame, style, ex, params.dpi);
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
      if (params.paintsAtOnce) d->ownBuffer = std::make_unique<win32::PaintBuffer>();
      hwnd = ::CreateWindowExW(ex, params.paintsAtOnce ? kTickingControlClass : kControlClass, Wide(params.text), style,
                               b.left, b.top, b.Width(), b.Height(), parent, id, module_, d);
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
      // Clipped by the siblings above: the network box runs a pixel under its caption strip,
      // and scrolling would otherwise carry the strip's pixels into the text.
      DWORD style = WS_CHILD | WS_CLIPSIBLINGS | common | (params.tabStop ? WS_TABSTOP : 0);
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
      d->baseProc = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowSystem::NativeProc)));
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

}  // namespace vsi
