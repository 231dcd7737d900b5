#include "platform/win32/win32_window_data.h"

namespace vsi {

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
  ti.uFlags = TTF_IDISHWND;  // the mouse messages come through RelayToTip
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

}  // namespace vsi
