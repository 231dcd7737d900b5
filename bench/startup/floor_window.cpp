// floor_window: the least a Win32 program does to show a painted window of the main
// window's size, with a one-second timer like ours. Its start-up time under Wine is the
// floor our own start-up is measured against (scripts/bench-startup.sh).
//
// Built with FLOOR_CHILDREN=N (floor_children.exe), it also has N bare child windows, each
// painting one line of text: the floor of any window made of N controls that are windows, as
// ours are.
#include <windows.h>

#ifndef FLOOR_CHILDREN
#define FLOOR_CHILDREN 0
#endif

namespace {

HFONT g_font = nullptr;

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      HBRUSH brush = CreateSolidBrush(RGB(128, 128, 255));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      wchar_t text[64];
      int n = GetWindowTextW(hwnd, text, 64);
      HGDIOBJ old = SelectObject(dc, g_font);
      SetBkMode(dc, TRANSPARENT);
      DrawTextW(dc, text, n, &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
      SelectObject(dc, old);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH brush = CreateSolidBrush(RGB(128, 128, 255));
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, 1);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const int children = FLOOR_CHILDREN;
  WNDCLASSW wc{};
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = L"VsiFloorWindow";
  if (!RegisterClassW(&wc)) return 1;
  wc.lpfnWndProc = ChildProc;
  wc.lpszClassName = L"VsiFloorChild";
  if (children > 0 && !RegisterClassW(&wc)) return 1;

  // The client area is 885 x 190, as the main window's.
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | (children > 0 ? WS_CLIPCHILDREN : 0);
  RECT r{0, 0, 885, 190};
  AdjustWindowRect(&r, style, FALSE);
  HWND hwnd = CreateWindowExW(0, L"VsiFloorWindow", L"  Velmora Floor", style, CW_USEDEFAULT,
                              CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                              instance, nullptr);
  if (!hwnd) return 1;
  if (children > 0) {
    g_font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    // Rows of labels over the client area, as the main window's columns.
    for (int i = 0; i < children; ++i) {
      wchar_t text[32];
      wsprintfW(text, L"Label %d", i);
      CreateWindowExW(0, L"VsiFloorChild", text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, (i % 6) * 147,
                      (i / 6) * 17, 140, 15, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), instance,
                      nullptr);
    }
  }
  SetTimer(hwnd, 1, 1000, nullptr);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (g_font) DeleteObject(g_font);
  return static_cast<int>(msg.wParam);
}
