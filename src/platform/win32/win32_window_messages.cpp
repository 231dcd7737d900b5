#include "platform/win32/win32_window_data.h"

#include <dbt.h>

#include <utility>

namespace vsi {

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

void Win32WindowSystem::RelayToTip(const WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!d.tipWindow) return;
  switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
      MSG m{hwnd, msg, wp, lp, static_cast<DWORD>(::GetMessageTime()), {}};
      DWORD pos = ::GetMessagePos();
      m.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
      ::SendMessageW(d.tipWindow, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
      break;
    }
    default:
      break;
  }
}

LRESULT CALLBACK Win32WindowSystem::NativeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WindowData* d = DataOf(hwnd);
  if (!d || !d->baseProc) return ::DefWindowProcW(hwnd, msg, wp, lp);
  const WNDPROC base = d->baseProc;
  RelayToTip(*d, hwnd, msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE:
      if (d->kind == WindowKind::Memo) {
        LRESULT code = ::CallWindowProcW(base, hwnd, msg, wp, lp);
        // Tabbing in leaves the text as it is: selected all, one key would replace it.
        code &= ~static_cast<LRESULT>(DLGC_HASSETSEL);
        // A multi-line edit asks for every key; Tab moves on unless the memo wants tabs.
        auto* m = reinterpret_cast<MSG*>(lp);
        if (!d->wantTabs && m && m->message == WM_KEYDOWN && m->wParam == VK_TAB)
          code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        return code;
      }
      break;
    case WM_KEYDOWN:
    case WM_CHAR:
      // Escape does nothing anywhere in our windows; a multi-line edit would close its parent.
      if (d->kind == WindowKind::Memo && wp == VK_ESCAPE) return 0;
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
      Detach(hwnd);
      LRESULT r = ::CallWindowProcW(base, hwnd, msg, wp, lp);
      d->system->Release(d);
      return r;
    }
    default:
      break;
  }
  return ::CallWindowProcW(base, hwnd, msg, wp, lp);
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
  // Each group answers the messages it knows and leaves `handled` false for the others.
  using Group = LRESULT (Win32WindowSystem::*)(WindowData&, HWND, UINT, WPARAM, LPARAM, bool&);
  static constexpr Group kGroups[] = {&Win32WindowSystem::HandleParentMessage, &Win32WindowSystem::HandleMouse,
                                      &Win32WindowSystem::HandleKeyboard,      &Win32WindowSystem::HandleFocus,
                                      &Win32WindowSystem::HandleWindowState,   &Win32WindowSystem::HandleLifetime,
                                      &Win32WindowSystem::HandleSystemChange};
  if (msg == WM_ERASEBKGND) return 1;  // WM_PAINT covers every pixel
  RelayToTip(d, hwnd, msg, wp, lp);
  if (msg == WM_PAINT) {
    Paint(d, hwnd);
    return 0;
  }
  for (Group group : kGroups) {
    bool handled = false;
    LRESULT result = (this->*group)(d, hwnd, msg, wp, lp, handled);
    if (handled) return result;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Win32WindowSystem::HandleMouse(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  IWindowEvents* sink = d.sink;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (msg == WM_LBUTTONDOWN && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) && ::GetFocus() != hwnd)
        ::SetFocus(hwnd);
      MouseButton button = msg == WM_LBUTTONDOWN ? mbLeft : msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
      if (sink) Guard([&] { sink->WmMouseDown(button, MouseShift(wp), LowX(lp), HighY(lp)); });
      break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      MouseButton button = msg == WM_LBUTTONUP ? mbLeft : msg == WM_RBUTTONUP ? mbRight : mbMiddle;
      if (sink) Guard([&] { sink->WmMouseUp(button, MouseShift(wp), LowX(lp), HighY(lp)); });
      break;
    }
    case WM_MOUSEMOVE:
      if (!d.tracking) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        if (::TrackMouseEvent(&tme)) d.tracking = true;
      }
      if (sink) Guard([&] { sink->WmMouseMove(MouseShift(wp), LowX(lp), HighY(lp)); });
      break;
    case WM_MOUSELEAVE:
      d.tracking = false;
      if (sink) Guard([&] { sink->WmMouseLeave(); });
      break;
    case WM_GETFONT:
      // Our controls draw with their font; readers and tests ask for it as for any control.
      if (!d.native && d.kind != WindowKind::Form) {
        handled = true;
        return reinterpret_cast<LRESULT>(resources_.Font(d.font));
      }
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == hwnd && LOWORD(lp) == HTCLIENT && sink) {
        bool set = false;
        Guard([&] { set = sink->WmSetCursor(); });
        if (set) {
          handled = true;
          return TRUE;
        }
      }
      return 0;
    default:
      return 0;
  }
  handled = true;
  return 0;
}

LRESULT Win32WindowSystem::HandleKeyboard(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  IWindowEvents* sink = d.sink;
  switch (msg) {
    case WM_KEYDOWN: {
      bool eaten = false;
      if (sink) Guard([&] { eaten = sink->WmKeyDown(static_cast<uint16_t>(wp), KeyShift()); });
      handled = eaten;
      return 0;
    }
    case WM_KEYUP:
      if (sink) Guard([&] { sink->WmKeyUp(static_cast<uint16_t>(wp), KeyShift()); });
      return 0;
    case WM_CHAR: {
      wchar_t wc = static_cast<wchar_t>(wp);
      char ch[4];
      int n = ::WideCharToMultiByte(CP_ACP, 0, &wc, 1, ch, sizeof ch, nullptr, nullptr);
      if (n == 1 && sink) Guard([&] { sink->WmChar(ch[0]); });
      handled = true;
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
        handled = true;
        return code;
      }
      return 0;
    default:
      return 0;
  }
}

LRESULT Win32WindowSystem::HandleFocus(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  IWindowEvents* sink = d.sink;
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (sink) Guard([&] { sink->WmFocus(msg == WM_SETFOCUS); });
      return 0;
    case WM_SHOWWINDOW:
      if (wp && !d.shown) {
        d.shown = true;
        if (sink) Guard([&] { sink->WmShow(); });
      }
      return 0;
    case WM_ACTIVATE:
      if (d.appWindow && LOWORD(wp) != WA_INACTIVE && !::IsIconic(hwnd)) ::PostMessageW(hwnd, kActivateForm, 0, 0);
      return 0;
    case kActivateForm:
      if (d.appWindow && !::IsIconic(hwnd)) {
        HWND popup = ::GetLastActivePopup(hwnd);
        if (popup == hwnd) popup = d.mainForm;
        if (popup && popup != hwnd && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup))
          ::SetForegroundWindow(popup);
      }
      handled = true;
      return 0;
    default:
      return 0;
  }
}

LRESULT Win32WindowSystem::HandleWindowState(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                             bool& handled) {
  IWindowEvents* sink = d.sink;
  switch (msg) {
    case WM_SYSCOMMAND:
      // Minimising the main form minimises the application window, which hides it; any
      // other form minimises on its own and leaves the main form as it is.
      if ((wp & 0xFFF0) == SC_MINIMIZE && d.kind == WindowKind::Form && !d.appWindow) {
        HWND owner = ::GetWindow(hwnd, GW_OWNER);
        if (WindowData* od = DataOf(owner); od && od->appWindow && od->mainForm == hwnd) {
          ::ShowWindow(owner, SW_MINIMIZE);
          handled = true;
        }
      }
      return 0;
    case WM_GETMINMAXINFO:
      if (d.kind == WindowKind::Form && !d.appWindow && sink && lp) {
        TSize least;
        Guard([&] { least = sink->WmMinSize(); });
        if (least.cx > 0 && least.cy > 0) {
          reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {least.cx, least.cy};
          handled = true;
        }
      }
      return 0;
    case WM_DPICHANGED:
      if (d.kind == WindowKind::Form && !d.appWindow && sink && lp) {
        const RECT& r = *reinterpret_cast<const RECT*>(lp);
        const TRect suggested{r.left, r.top, r.right, r.bottom};
        const int dpi = LOWORD(wp);
        Guard([&] { sink->WmDpiChanged(dpi, suggested); });
        handled = true;
      }
      return 0;
    case WM_SIZE:
      if (d.appWindow) {
        ShowOwnedForms(d, hwnd, wp != SIZE_MINIMIZED);
      } else if (d.kind == WindowKind::Form && wp != SIZE_MINIMIZED && sink) {
        const int w = LOWORD(lp), h = HIWORD(lp);
        Guard([&] { sink->WmSize(w, h); });
      }
      return 0;
    default:
      return 0;
  }
}

LRESULT Win32WindowSystem::HandleLifetime(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  IWindowEvents* sink = d.sink;
  switch (msg) {
    case WM_CLOSE:
      // Closing the taskbar button closes the main form, which ends the program; before the
      // main form exists (a box during start-up) the application itself is asked.
      if (d.appWindow && d.mainForm && ::IsWindow(d.mainForm)) {
        ::PostMessageW(d.mainForm, WM_CLOSE, 0, 0);
        handled = true;
        return 0;
      }
      // Only windows close: a multi-line edit posts WM_CLOSE to its parent on Escape.
      if (d.kind != WindowKind::Form) {
        handled = true;
        return 0;
      }
      if (sink) {
        bool close = false;  // a failing close handler keeps the window
        Guard([&] { close = sink->WmClose(); });
        if (close) ::DestroyWindow(hwnd);
        handled = true;
      }
      return 0;
    case WM_GETOBJECT:
      // A reader asks for the client area: ours when the sink lists items there.
      if (static_cast<LONG>(lp) != OBJID_CLIENT || !sink || d.native) return 0;
      if (!d.accessible) {
        bool answers = false;
        std::vector<AccessibleItem> items;
        Guard([&] { answers = sink->WmAccessibleItems(items); });
        if (!answers) return 0;
        d.accessible = win32::CreateAccessibleClient(hwnd, sink);
      }
      if (LRESULT result = win32::AccessibleResult(d.accessible, wp)) {
        handled = true;
        return result;
      }
      return 0;
    case win32::kAccessibleAction:
      if (sink) Guard([&] { sink->WmAccessibleAction(static_cast<int>(wp)); });
      handled = true;
      return 0;
    case WM_ENDSESSION:
      if (wp && sink) Guard([&] { sink->WmEndSession(); });
      handled = true;
      return 0;
    case WM_DESTROY:
      if (d.tipWindow && ::IsWindow(d.tipWindow)) {
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = ::GetAncestor(hwnd, GA_ROOT);
        ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
        ::SendMessageW(d.tipWindow, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      }
      // Before the sink goes: a reader still holding the object gets an error, not a dead sink.
      win32::DisconnectAccessibleClient(std::exchange(d.accessible, nullptr));
      if (sink) {
        d.sink = nullptr;
        Guard([&] { sink->WmDestroy(); });
      }
      handled = true;
      return 0;
    default:
      return 0;
  }
}

LRESULT Win32WindowSystem::HandleSystemChange(WindowData& d, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                              bool& handled) {
  IWindowEvents* sink = d.sink;
  // Sent to every top-level window; the application's own has nothing to show.
  if (d.kind != WindowKind::Form || d.appWindow || !sink) {
    if (msg == kAddressChanged && d.addressWatch) d.addressWatch->Taken();
    return 0;
  }
  switch (msg) {
    case WM_DISPLAYCHANGE:
      Guard([&] { sink->WmDisplayChange(); });
      return 0;
    case WM_DEVICECHANGE: {
      if ((wp != DBT_DEVICEARRIVAL && wp != DBT_DEVICEREMOVECOMPLETE) || !lp) return 0;
      const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
      if (header->dbch_devicetype != DBT_DEVTYP_VOLUME) return 0;
      const DWORD drives = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lp)->dbcv_unitmask;
      Guard([&] { sink->WmVolumesChange(wp == DBT_DEVICEARRIVAL, drives); });
      handled = true;
      return TRUE;
    }
    case kAddressChanged:
      // Taken first: a change during the handler posts again.
      if (d.addressWatch) d.addressWatch->Taken();
      Guard([&] { sink->WmAddressChange(); });
      handled = true;
      return 0;
    default:
      return 0;
  }
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

}  // namespace vsi
