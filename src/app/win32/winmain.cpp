// Placeholder entry point: a window with the product's caption and a CPU usage slot,
// so the build, run and end-to-end scripts have something to start. The real main
// window replaces this file.
#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT_PTR kTimerId = 1;
HWND g_cpu = nullptr;
HBRUSH g_back = nullptr;
ULONGLONG g_idle = 0, g_total = 0;

ULONGLONG Ticks(const FILETIME& ft) { return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }

void Sample() {
  FILETIME idle, kernel, user;
  if (!GetSystemTimes(&idle, &kernel, &user)) return;
  ULONGLONG i = Ticks(idle), t = Ticks(kernel) + Ticks(user);  // kernel includes idle
  double usage = 0.0;
  if (t > g_total) usage = 100.0 * (1.0 - double(i - g_idle) / double(t - g_total));
  if (usage < 0.0) usage = 0.0;
  g_idle = i;
  g_total = t;
  char text[32];
  std::snprintf(text, sizeof text, "%5.2f%%", usage);
  SetWindowTextA(g_cpu, text);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      HINSTANCE inst = reinterpret_cast<CREATESTRUCTW*>(lp)->hInstance;
      CreateWindowW(L"STATIC", L"System Information", WS_CHILD | WS_VISIBLE, 8, 2, 153, 23, hwnd,
                    nullptr, inst, nullptr);
      CreateWindowW(L"STATIC", L"CPU Usage", WS_CHILD | WS_VISIBLE, 8, 26, 105, 13, hwnd, nullptr,
                    inst, nullptr);
      g_cpu = CreateWindowW(L"STATIC", L" ", WS_CHILD | WS_VISIBLE, 120, 26, 105, 13, hwnd,
                            nullptr, inst, nullptr);
      Sample();
      SetWindowTextW(g_cpu, L" ");
      SetTimer(hwnd, kTimerId, 1000, nullptr);
      return 0;
    }
    case WM_TIMER:
      Sample();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wp), RGB(128, 128, 255));
      SetTextColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(g_back);
    case WM_DESTROY:
      KillTimer(hwnd, kTimerId);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = inst;
  wc.hIcon = LoadIconW(inst, L"MAINICON");
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  g_back = CreateSolidBrush(RGB(128, 128, 255));
  wc.hbrBackground = g_back;
  wc.lpszClassName = L"TMain";
  RegisterClassW(&wc);
  RECT r{0, 0, 885, 190};
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_TOOLWINDOW);
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"  Velmora System Info 1.0", style,
                              36, 61, r.right - r.left, r.bottom - r.top, nullptr, nullptr, inst, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
