// e2e_driver: drives a running toolbar1.exe from outside, in the same Wine prefix.
//
//   e2e_driver [options] <command> [arguments]
//
// Options (choose the main window; the default is the exact English caption):
//   --caption TEXT         top-level window whose caption is TEXT
//   --caption-prefix TEXT  top-level window whose caption starts with TEXT
//   --class NAME           top-level window of this window class
//   --hidden               also accept a hidden window
//   --timeout MS           how long wait-window and close wait (default 10000)
//
// Commands:
//   windows                lists every top-level window: "top <visible> <class> <caption>"
//   volume <root>          the system's facts of a volume (no window needed): "volume <label>
//                          <serial as XXXX-XXXX> <file system> <total bytes> <bytes free to
//                          the caller>", the sizes -1 when unreadable
//   wait-window            wait until the window exists; prints "found <caption>"
//   caption                prints the caption
//   dump                   "window <caption>", "client <x> <y> <w> <h>" and "frame <x> <y>
//                          <w> <h>" (screen coordinates), then one
//                          line per descendant: "child <depth> <class> <id> <x> <y> <w> <h>
//                          <visible> <text>" with x, y relative to the main client area
//   click <text>           clicks the first visible descendant whose text is <text>
//   click-id <id>          clicks the descendant with this control id
//   click-at <x> <y>       clicks the innermost visible control at this client point
//   repaint-at <x> <y>     has the innermost visible control at this client point repaint
//                          all of itself now
//   tooltips <ms>          watches the program's tooltip windows for <ms> milliseconds, every
//                          20 ms: "pointer <x> <y>", "shows <n>" (times one appeared),
//                          "covering <n>" (looks at one holding the pointer), and "tip <x> <y>
//                          <w> <h>" where one was first seen (screen coordinates)
//   select-combo <index>   selects item <index> of the first combo box and notifies its parent
//   combo-items            prints "item <index> <text>" per item of the first combo box
//   items                  one line per item of the main window's accessible client object
//                          (MSAA, as a screen reader reads it): "item <id> <role> <x> <y> <w> <h>
//                          <visible> <name>", x, y relative to the main client area, role one of
//                          text, link, button, window (a child window's own object), other
//   press <name>           the default action (MSAA) of the first visible item named <name>
//   text <label>           prints the name of the item right of the item <label> on the same row
//                          (read through MSAA, as a reader does)
//   text-id <id>           prints the text of the descendant with this control id
//   state                  prints "minimized" (also when the window it belongs to, the one
//                          with the taskbar button, is), "maximized" or "normal"
//   taskbar-restore        what a click on the minimised taskbar button does: posts
//                          WM_SYSCOMMAND SC_RESTORE to the window's owner (or the window)
//   style                  "style <hex>" and "exstyle <hex>" of the window
//   nc-point <code>        "point <x> <y>": a screen point of the window's frame where
//                          WM_NCHITTEST answers <code> (8 minimise box, 9 maximise box, 20 close
//                          box), for a real click there
//   focus                  the control with the keyboard focus in the window's thread: "focus
//                          <class> <id> <x> <y> <text>" (x, y relative to the client area), and
//                          for an edit control "selection <start> <end>"
//   window-menu            one line per item of the window menu: "item <command> <text>",
//                          "separator" (the menu of another program is read where the system
//                          allows it; 1 when it cannot be read)
//   move <x> <y>           moves the window's whole rectangle to this screen point; prints
//                          "moved <x> <y>" as the window then is
//   close                  posts WM_CLOSE, waits for the process to end; prints "exit <code>"
//   clipboard              prints the clipboard's CF_UNICODETEXT as UTF-8, as it is (no
//                          escapes, no line end added); exit 1 when there is none
//   hold-clipboard <ms>    keeps the clipboard open for <ms>, as another program can;
//                          prints "held" once it has it
//   box                    the visible message box of the window's process: "box <caption>
//                          <text>"; exit 1 when there is none within the timeout
//   box-ok                 presses the OK button of that message box
//   run-timed <exe> [arg...]  runs <exe> with its output discarded and waits for it: "elapsed_ms
//                          <ms>" from creation to its end, and "exit <code>"
//   counters               the window's process: "pid", "handles" (GetProcessHandleCount),
//                          "handle_list" (its entries in the system's handle list), "gdi"
//                          and "user" (GetGuiResources), "gdi_table" (live entries of its
//                          GDI handle table), "windows" (all its windows), "private_bytes"
//                          (PrivateUsage), "working_set"; -1 when unreadable
//   launch-until-filled <exe> <caption-prefix> <timeout-ms> [<label>...]
//                          starts <exe> (working directory: its folder), waits until its
//                          visible window with that caption prefix exists, the value slot
//                          right of every <label> (its MSAA items) no longer holds its first
//                          " ", and none of
//                          its windows waits for a paint any more; prints "elapsed_ms
//                          <n>" since just before the start (the slots are first read once
//                          the window is shown with nothing to paint: found filled then,
//                          that moment is the end) (after "window_ms <n>", when the
//                          window was first seen), then closes the program (and
//                          ends it when it is still running after 5 s)
//
// Fields are separated by tabs; tabs, CR, LF and backslashes inside texts are escaped
// (\t \r \n \\). Output is UTF-8 with bare LF line ends. Exit code 0 on success, 1 when
// the window or control is missing or the action failed, 2 on a usage error.
#include <windows.h>
#include <objbase.h>
#include <oleacc.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "../support/process_counters.h"

namespace {

namespace counters = vsi::counters;

constexpr UINT kMessageTimeoutMs = 5000;

std::wstring Widen(const char* text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
  return out;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string Escaped(const std::wstring& text) {
  std::string raw = Utf8(text), out;
  for (char c : raw) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

// Written with WriteFile so the C runtime does not turn LF into CRLF.
void Out(const std::string& line) {
  std::string s = line + "\n";
  DWORD written = 0;
  HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!WriteFile(h, s.data(), static_cast<DWORD>(s.size()), &written, nullptr)) {
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fflush(stdout);
  }
}

void Err(const std::string& line) {
  std::fprintf(stderr, "e2e_driver: %s\n", line.c_str());
  std::fflush(stderr);
}

// WM_GETTEXT rather than GetWindowText: across processes the latter does not ask the
// control, so an edit box would answer with its creation text.
std::wstring TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &length))
    return {};
  std::wstring buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
    return {};
  buffer.resize(copied < buffer.size() ? copied : buffer.size() - 1);
  return buffer;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

struct Finder {
  std::wstring caption;
  bool prefix = false;
  std::wstring window_class;
  bool hidden = false;
  HWND found = nullptr;

  bool Matches(HWND hwnd) const {
    if (!hidden && !IsWindowVisible(hwnd)) return false;
    if (!window_class.empty() && ClassOf(hwnd) != window_class) return false;
    if (caption.empty()) return true;
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    std::wstring t = text;
    return prefix ? t.compare(0, caption.size(), caption) == 0 : t == caption;
  }

  HWND Find() {
    found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM self) -> BOOL {
          auto* f = reinterpret_cast<Finder*>(self);
          if (!f->Matches(hwnd)) return TRUE;
          f->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(this));
    return found;
  }
};

struct Child {
  HWND hwnd;
  int depth;
  RECT rect;  // relative to the main window's client area
  HWND parent;
};

// Every call on another program's window is a request to the window server, which that
// program needs too: two a window here (parents come before their children).
std::vector<Child> Descendants(HWND main) {
  struct Ctx {
    HWND main;
    POINT origin;
    std::vector<Child> list;
  } ctx{main, {0, 0}, {}};
  ClientToScreen(main, &ctx.origin);
  EnumChildWindows(
      main,
      [](HWND hwnd, LPARAM p) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(p);
        HWND parent = GetParent(hwnd);
        int depth = 1;
        for (const Child& earlier : c->list)
          if (earlier.hwnd == parent) depth = earlier.depth + 1;
        RECT r{};
        GetWindowRect(hwnd, &r);
        OffsetRect(&r, -c->origin.x, -c->origin.y);
        c->list.push_back({hwnd, depth, r, parent});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.list;
}

HWND ChildByText(HWND main, const std::wstring& text) {
  HWND hidden_match = nullptr;
  for (const Child& c : Descendants(main)) {
    if (TextOf(c.hwnd) != text) continue;
    if (IsWindowVisible(c.hwnd)) return c.hwnd;
    if (!hidden_match) hidden_match = c.hwnd;
  }
  return hidden_match;
}

HWND ChildById(HWND main, int id) {
  for (const Child& c : Descendants(main))
    if (GetDlgCtrlID(c.hwnd) == id) return c.hwnd;
  return nullptr;
}

HWND FirstCombo(HWND main) {
  for (const Child& c : Descendants(main))
    if (Lower(ClassOf(c.hwnd)).find(L"combo") != std::wstring::npos) return c.hwnd;
  return nullptr;
}

void Click(HWND target) {
  if (Lower(ClassOf(target)) == L"button") {
    PostMessageW(target, BM_CLICK, 0, 0);
    return;
  }
  // Custom controls: a press and release at their centre, as the mouse would send.
  RECT r{};
  GetClientRect(target, &r);
  LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(target, WM_MOUSEMOVE, 0, at);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(target, WM_LBUTTONUP, 0, at);
}

// Posted messages are handled in order, so a synchronous message after them returns
// only once the click has been processed.
// The innermost visible control at a client point of the main window, or null.
HWND ControlAt(HWND main, POINT p) {
  HWND target = nullptr;
  for (HWND h = main;;) {
    HWND inner = ChildWindowFromPointEx(h, p, CWP_SKIPINVISIBLE);
    if (!inner || inner == h) break;
    MapWindowPoints(h, inner, &p, 1);
    target = h = inner;
  }
  return target;
}

void Settle(HWND hwnd) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &ignored);
}

// ---- the window as a screen reader reads it (MSAA)

// COM for the calls into the program's object; taken once for the driver's run.
void UseCom() {
  static const HRESULT ready = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)ready;
}

VARIANT ChildId(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring TakenText(BSTR text) {
  std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return out;
}

struct Item {
  LONG id = 0;           // child id in the client object: index + 1
  std::string role;      // text, link, button, window, other
  RECT rect{};           // relative to the main client area
  bool visible = false;
  std::wstring name;
};

// The main window's client object, as AccessibleObjectFromWindow gives it; null when none.
IAccessible* ClientObject(HWND main) {
  UseCom();
  IAccessible* client = nullptr;
  if (FAILED(AccessibleObjectFromWindow(main, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&client))))
    return nullptr;
  return client;
}

// What ReadItems asks of each item: every question is a call into the program.
enum Ask : unsigned { kName = 1, kRole = 2, kState = 4, kPlace = 8, kEverything = 15 };

bool Visible(IAccessible* client, LONG id) {
  VARIANT state;
  VariantInit(&state);
  return client->get_accState(ChildId(id), &state) == S_OK && state.vt == VT_I4 &&
         !(state.lVal & STATE_SYSTEM_INVISIBLE);
}

// Child `id` of the client object, as the client tells it (also for a child window).
Item ReadItem(IAccessible* client, LONG id, POINT origin, unsigned ask) {
  Item item;
  item.id = id;
  BSTR name = nullptr;
  if ((ask & kName) && client->get_accName(ChildId(id), &name) == S_OK) item.name = TakenText(name);
  VARIANT value;
  VariantInit(&value);
  LONG role = 0;
  if ((ask & kRole) && client->get_accRole(ChildId(id), &value) == S_OK && value.vt == VT_I4) role = value.lVal;
  item.visible = (ask & kState) && Visible(client, id);
  LONG x = 0, y = 0, w = 0, h = 0;
  if ((ask & kPlace) && client->accLocation(&x, &y, &w, &h, ChildId(id)) == S_OK)
    item.rect = {x - origin.x, y - origin.y, x - origin.x + w, y - origin.y + h};
  item.role = role == ROLE_SYSTEM_STATICTEXT ? "text"
              : role == ROLE_SYSTEM_LINK     ? "link"
              : role == ROLE_SYSTEM_PUSHBUTTON ? "button"
              : role == ROLE_SYSTEM_WINDOW   ? "window"
                                             : "other";
  return item;
}

// The items of the main window's client object, in the reader's order, as the client object
// tells them (a child window's own object would cost a marshalled object each); false when
// the window has no such object.
bool ReadItems(HWND main, std::vector<Item>& items, unsigned ask = kEverything) {
  items.clear();
  IAccessible* client = ClientObject(main);
  if (!client) return false;
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  LONG count = 0;
  const bool ok = client->get_accChildCount(&count) == S_OK;
  for (LONG id = 1; ok && id <= count; ++id) items.push_back(ReadItem(client, id, origin, ask));
  client->Release();
  return ok;
}

const Item* ItemNamed(const std::vector<Item>& items, const std::wstring& name) {
  for (const Item& item : items)
    if (item.visible && item.name == name) return &item;
  return nullptr;
}

// The value slot: the nearest item to the label's right whose top is within a few pixels of
// the label's.
const Item* ItemRightOf(const std::vector<Item>& items, const Item& label) {
  const Item* best = nullptr;
  for (const Item& item : items) {
    if (&item == &label || item.rect.left <= label.rect.left || std::labs(item.rect.top - label.rect.top) > 3) continue;
    if (!best || item.rect.left < best->rect.left) best = &item;
  }
  return best;
}

// Start-up time to the filled, painted window. Polls every 2 ms; the slots are looked up
// once and then only their names are read, so the polling asks little of the program.
int LaunchUntilFilled(const char* exe_arg, const char* prefix_arg, DWORD timeout,
                      const std::vector<std::wstring>& labels) {
  std::wstring exe = Widen(exe_arg);
  wchar_t full[MAX_PATH] = {};
  if (!GetFullPathNameW(exe.c_str(), MAX_PATH, full, nullptr)) {
    Err("bad path " + std::string(exe_arg));
    return 1;
  }
  std::wstring folder = full;
  size_t slash = folder.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? L"." : folder.substr(0, slash);
  std::wstring command_line = L"\"" + std::wstring(full) + L"\"";

  Finder finder;
  finder.caption = Widen(prefix_arg);
  finder.prefix = true;

  LARGE_INTEGER frequency{}, start{}, now{};
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(full, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &si, &pi)) {
    Err("cannot start " + std::string(exe_arg) + ", error " + std::to_string(GetLastError()));
    return 1;
  }
  CloseHandle(pi.hThread);
  auto elapsed_ms = [&]() {
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
  };

  HWND main = nullptr;
  double window_ms = 0;
  std::vector<LONG> slots;    // the slots' child ids in the window's accessible client object
  IAccessible* client = nullptr;
  std::vector<HWND> windows;  // the window and all its windows, from the look-up
  bool found_slots = false;
  double last_lookup = -1000;
  bool filled = false;
  // When the window was first seen shown with nothing left to paint, and whether the slots
  // were already filled then. The first question through MSAA loads the readers' libraries
  // into the program (some 50 ms under Wine), which a start without a reader never pays: so
  // the slots are first read once the window has settled, and when that first read finds
  // them filled, the start ended when it settled.
  double settled_ms = -1;
  int reads = 0;
  auto painting = [](const std::vector<HWND>& ws) {
    for (HWND w : ws)
      if (GetUpdateRect(w, nullptr, FALSE)) return true;
    return false;
  };
  while (elapsed_ms() < timeout) {
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    if (!main) {
      HWND w = finder.Find();
      DWORD pid = 0;
      if (w) GetWindowThreadProcessId(w, &pid);
      if (w && pid == pi.dwProcessId) {
        main = w;
        window_ms = elapsed_ms();
      }
    }
    // Look up at most every 50 ms, and stop reading a slot once it is filled. The labels and
    // slots are found as a reader finds them: they need not be windows.
    if (main && settled_ms < 0) {
      std::vector<Child> children = Descendants(main);
      windows.assign(1, main);
      for (const Child& c : children) windows.push_back(c.hwnd);
      if (!IsWindowVisible(main) || painting(windows)) {
        Sleep(2);
        continue;
      }
      settled_ms = elapsed_ms();
    }
    if (main && !found_slots && elapsed_ms() - last_lookup >= 50) {
      last_lookup = elapsed_ms();
      std::vector<Child> children = Descendants(main);
      windows.assign(1, main);
      for (const Child& c : children) windows.push_back(c.hwnd);
      slots.clear();
      // Names and places only, and the state of a label's namesakes: each question is a
      // call into the program, which is starting.
      std::vector<Item> items;
      if (!labels.empty() && ReadItems(main, items, kName | kPlace) && (client = ClientObject(main))) {
        for (const std::wstring& label : labels) {
          const Item* l = nullptr;
          for (Item& item : items)
            if (item.name == label && (item.visible = Visible(client, item.id))) {
              l = &item;
              break;
            }
          const Item* slot = l ? ItemRightOf(items, *l) : nullptr;
          if (!slot) break;
          slots.push_back(slot->id);
        }
      }
      found_slots = slots.size() == labels.size();
      if (!found_slots && client) {
        client->Release();
        client = nullptr;
      }
    }
    if (main && found_slots) {
      ++reads;
      // A slot holds the blank it was created with until filled; an empty text is a value.
      while (!slots.empty()) {
        BSTR name = nullptr;
        if (client->get_accName(ChildId(slots.back()), &name) != S_OK || TakenText(name) == L" ") break;
        slots.pop_back();
      }
      if (slots.empty()) {
        filled = true;
        break;
      }
    }
    Sleep(2);
  }
  int result = 0;
  if (filled) {
    // On screen means painted: no window of it has a part still waiting for its paint. (An
    // answered message proves less: a program answers sent messages between two paints.)
    if (windows.empty()) windows.assign(1, main);
    while (elapsed_ms() < timeout && painting(windows)) Sleep(2);
    char line[96];
    const double total = reads == 1 ? settled_ms : elapsed_ms();
    std::snprintf(line, sizeof line, "window_ms %.1f", window_ms);
    Out(line);
    std::snprintf(line, sizeof line, "elapsed_ms %.1f", total);
    Out(line);
    if (client) client->Release();
    client = nullptr;
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else {
    Err(main ? "the slots were not filled in time" : "no window appeared in time");
    result = 1;
  }
  if (client) client->Release();
  if (WaitForSingleObject(pi.hProcess, filled ? 5000 : 0) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hProcess);
  return result;
}

// The resource counters of the window's process, for the soak run: what the system answers,
// and beside it what Wine can count where it answers 0 (tests/support/process_counters.h).
// One "<name>\t<value>" line per counter; -1 where a counter cannot be read.
int PrintCounters(HWND main) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    Err("cannot open process " + std::to_string(pid) + ", error " +
        std::to_string(GetLastError()));
    return 1;
  }
  DWORD handles = 0;
  long long handle_count = GetProcessHandleCount(process, &handles) ? handles : -1;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  bool have_memory = GetProcessMemoryInfo(
      process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  Out("pid\t" + std::to_string(pid));
  Out("handles\t" + std::to_string(handle_count));
  Out("handle_list\t" + std::to_string(counters::HandlesInSystemList(pid)));
  Out("gdi\t" + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)));
  Out("user\t" + std::to_string(GetGuiResources(process, GR_USEROBJECTS)));
  Out("gdi_table\t" + std::to_string(counters::GdiTableEntries(process)));
  Out("windows\t" + std::to_string(counters::WindowsOfProcess(pid)));
  Out("private_bytes\t" + (have_memory ? std::to_string(memory.PrivateUsage) : "-1"));
  Out("working_set\t" + (have_memory ? std::to_string(memory.WorkingSetSize) : "-1"));
  CloseHandle(process);
  return 0;
}

// The drive column is held against what the system itself says about the volume.
int PrintVolume(const char* root_arg) {
  std::wstring root = Widen(root_arg);
  wchar_t label[MAX_PATH + 1] = {}, file_system[MAX_PATH + 1] = {};
  DWORD serial = 0, max_component = 0, flags = 0;
  UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  BOOL have_volume = GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial,
                                           &max_component, &flags, file_system, MAX_PATH + 1);
  ULARGE_INTEGER available{}, total{}, free_total{};
  BOOL have_space = GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free_total);
  SetErrorMode(old_mode);
  if (!have_volume) {
    Err("no volume information for " + std::string(root_arg) + ", error " +
        std::to_string(GetLastError()));
    return 1;
  }
  char serial_text[16];
  std::snprintf(serial_text, sizeof serial_text, "%04lX-%04lX", (serial >> 16) & 0xFFFFul,
                serial & 0xFFFFul);
  Out("volume\t" + Escaped(label) + "\t" + serial_text + "\t" + Escaped(file_system) + "\t" +
      (have_space ? std::to_string(total.QuadPart) : "-1") + "\t" +
      (have_space ? std::to_string(available.QuadPart) : "-1"));
  return 0;
}

int RunTimed(std::wstring commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nullptr;
  si.hStdOutput = si.hStdError = nul;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&before);
  BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  if (!started) {
    Err("cannot start, error " + std::to_string(GetLastError()));
    CloseHandle(nul);
    return 1;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  QueryPerformanceCounter(&after);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(nul);
  char ms[32];
  std::snprintf(ms, sizeof ms, "%.1f", (after.QuadPart - before.QuadPart) * 1000.0 / frequency.QuadPart);
  Out(std::string("elapsed_ms\t") + ms);
  Out("exit\t" + std::to_string(code));
  return 0;
}

// The clipboard can be held by someone else for a moment: a few tries.
bool OpenClipboardSoon() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}

int PrintClipboard() {
  if (!OpenClipboardSoon()) {
    Err("the clipboard stays open elsewhere");
    return 1;
  }
  std::wstring text;
  bool have = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      have = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!have) {
    Err("no text on the clipboard");
    return 1;
  }
  std::string raw = Utf8(text);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), raw.data(), static_cast<DWORD>(raw.size()), &written, nullptr);
  return 0;
}

int HoldClipboard(DWORD ms) {
  if (!OpenClipboardSoon()) {
    Err("cannot open the clipboard");
    return 1;
  }
  Out("held");
  Sleep(ms);
  CloseClipboard();
  return 0;
}

// The first visible dialog-class window of the process that owns `main`.
HWND FindBox(HWND main, DWORD timeout) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{0, nullptr};
  GetWindowThreadProcessId(main, &search.pid);
  DWORD start = GetTickCount();
  do {
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid == s->pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
            s->found = hwnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  } while (GetTickCount() - start < timeout);
  return nullptr;
}

int Usage() {
  Err("usage: e2e_driver [--caption T | --caption-prefix T] [--class C] [--hidden] "
      "[--timeout MS] windows | volume ROOT | wait-window | caption | dump | click TEXT | click-id ID | "
      "click-at X Y | repaint-at X Y | tooltips MS | select-combo INDEX | combo-items | items | press NAME | text LABEL | "
      "text-id ID | state | taskbar-restore | style | nc-point CODE | focus | window-menu | close | "
      "counters | clipboard | hold-clipboard MS | box | box-ok | run-timed EXE [ARG...] | "
      "launch-until-filled EXE CAPTION_PREFIX TIMEOUT_MS [LABEL...]");
  return 2;
}

// One run of a command: the window it acts on and the words after its name.
struct Invocation {
  std::string name;
  Finder& finder;
  DWORD timeout;
  HWND main = nullptr;  // null for the commands that need no window
  std::vector<const char*> args;
  const char* Arg(size_t n) const { return n < args.size() ? args[n] : nullptr; }
};

int ListTopWindows(const Invocation&) {
  EnumWindows(
      [](HWND hwnd, LPARAM) -> BOOL {
        Out(std::string("top\t") + (IsWindowVisible(hwnd) ? "1" : "0") + "\t" +
            Escaped(ClassOf(hwnd)) + "\t" + Escaped(TextOf(hwnd)));
        return TRUE;
      },
      0);
  return 0;
}

int ShowVolume(const Invocation& in) {
  return PrintVolume(in.Arg(0));
}

int RunTimedCommand(const Invocation& in) {
  std::wstring line = L"\"" + Widen(in.Arg(0)) + L"\"";
  for (int k = 1; in.Arg(k); ++k) line += L" " + Widen(in.Arg(k));
  return RunTimed(line);
}

int HoldClipboardCommand(const Invocation& in) {
  return HoldClipboard(static_cast<DWORD>(std::strtoul(in.Arg(0), nullptr, 10)));
}

int LaunchUntilFilledCommand(const Invocation& in) {
  std::vector<std::wstring> labels;
  for (int k = 3; in.Arg(k); ++k) labels.push_back(Widen(in.Arg(k)));
  return LaunchUntilFilled(in.Arg(0), in.Arg(1), static_cast<DWORD>(std::strtoul(in.Arg(2), nullptr, 10)),
                           labels);
}

int WaitWindow(const Invocation& in) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = in.finder.Find()) {
      Out("found\t" + Escaped(TextOf(w)));
      return 0;
    }
    if (GetTickCount() - start >= in.timeout) break;
    Sleep(50);
  }
  Err("no window appeared within " + std::to_string(in.timeout) + " ms");
  return 1;
}

int ShowCaption(const Invocation& in) {
  Out(Escaped(TextOf(in.main)));
  return 0;
}

int MessageBoxCommand(const Invocation& in) {
  HWND box = FindBox(in.main, in.timeout);
  if (!box) {
    Err("no message box");
    return 1;
  }
  if (in.name == "box-ok") {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  }
  // The message is the box's static text (control id 0xFFFF in the system's boxes).
  std::wstring text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM lp) -> BOOL {
        if (Lower(ClassOf(child)) == L"static" && !TextOf(child).empty()) {
          *reinterpret_cast<std::wstring*>(lp) = TextOf(child);
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  Out("box\t" + Escaped(TextOf(box)) + "\t" + Escaped(text));
  return 0;
}

int Dump(const Invocation& in) {
  Out("window\t" + Escaped(TextOf(in.main)));
  RECT client{};
  GetClientRect(in.main, &client);
  POINT origin{0, 0};
  ClientToScreen(in.main, &origin);
  Out("client\t" + std::to_string(origin.x) + "\t" + std::to_string(origin.y) + "\t" +
      std::to_string(client.right) + "\t" + std::to_string(client.bottom));
  RECT frame{};
  GetWindowRect(in.main, &frame);
  Out("frame\t" + std::to_string(frame.left) + "\t" + std::to_string(frame.top) + "\t" +
      std::to_string(frame.right - frame.left) + "\t" + std::to_string(frame.bottom - frame.top));
  for (const Child& c : Descendants(in.main)) {
    Out("child\t" + std::to_string(c.depth) + "\t" + Escaped(ClassOf(c.hwnd)) + "\t" +
        std::to_string(GetDlgCtrlID(c.hwnd)) + "\t" + std::to_string(c.rect.left) + "\t" +
        std::to_string(c.rect.top) + "\t" + std::to_string(c.rect.right - c.rect.left) + "\t" +
        std::to_string(c.rect.bottom - c.rect.top) + "\t" +
        (IsWindowVisible(c.hwnd) ? "1" : "0") + "\t" + Escaped(TextOf(c.hwnd)));
  }
  return 0;
}

int ShowState(const Invocation& in) {
  HWND owner = GetWindow(in.main, GW_OWNER);
  bool minimized = IsIconic(in.main) || (owner && IsIconic(owner));
  Out(minimized ? "minimized" : IsZoomed(in.main) ? "maximized" : "normal");
  return 0;
}

int TaskbarRestore(const Invocation& in) {
  HWND owner = GetWindow(in.main, GW_OWNER);
  HWND target = owner ? owner : in.main;
  PostMessageW(target, WM_SYSCOMMAND, SC_RESTORE, 0);
  Settle(target);
  Out("restored");
  return 0;
}

int ShowStyle(const Invocation& in) {
  char line[64];
  std::snprintf(line, sizeof line, "style\t%08lX", static_cast<unsigned long>(GetWindowLongW(in.main, GWL_STYLE)));
  Out(line);
  std::snprintf(line, sizeof line, "exstyle\t%08lX", static_cast<unsigned long>(GetWindowLongW(in.main, GWL_EXSTYLE)));
  Out(line);
  return 0;
}

int NcPoint(const Invocation& in) {
  const LRESULT wanted = std::atoi(in.Arg(0));
  RECT frame{};
  GetWindowRect(in.main, &frame);
  // The caption row: scanned from the right, where the boxes are.
  for (int y = frame.top + 2; y < frame.top + 40 && y < frame.bottom; y += 2)
    for (int x = frame.right - 2; x > frame.left; x -= 2) {
      DWORD_PTR hit = 0;
      SendMessageTimeoutW(in.main, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kMessageTimeoutMs, &hit);
      if (static_cast<LRESULT>(hit) != wanted) continue;
      // The middle of the run of points that answer so on this row.
      int left = x;
      while (left - 2 > frame.left) {
        SendMessageTimeoutW(in.main, WM_NCHITTEST, 0, MAKELPARAM(left - 2, y), SMTO_ABORTIFHUNG, kMessageTimeoutMs, &hit);
        if (static_cast<LRESULT>(hit) != wanted) break;
        left -= 2;
      }
      Out("point\t" + std::to_string((left + x) / 2) + "\t" + std::to_string(y + 4));
      return 0;
    }
  Err("no point of the frame answers " + std::string(in.Arg(0)));
  return 1;
}

int ShowFocus(const Invocation& in) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(in.main, nullptr), &info) || !info.hwndFocus) {
    Out("focus\tnone");
    return 0;
  }
  HWND f = info.hwndFocus;
  RECT r{};
  GetWindowRect(f, &r);
  POINT origin{0, 0};
  ClientToScreen(in.main, &origin);
  Out("focus\t" + Escaped(ClassOf(f)) + "\t" + std::to_string(GetDlgCtrlID(f)) + "\t" +
      std::to_string(r.left - origin.x) + "\t" + std::to_string(r.top - origin.y) + "\t" + Escaped(TextOf(f)));
  if (Lower(ClassOf(f)) == L"edit") {
    DWORD_PTR selection = 0;
    SendMessageTimeoutW(f, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &selection);
    Out("selection\t" + std::to_string(LOWORD(selection)) + "\t" + std::to_string(HIWORD(selection)));
  }
  return 0;
}

int ShowWindowMenu(const Invocation& in) {
  HMENU menu = GetSystemMenu(in.main, FALSE);
  int count = menu ? GetMenuItemCount(menu) : -1;
  if (count <= 0) {
    Err("the window menu cannot be read from here");
    return 1;
  }
  for (int k = 0; k < count; ++k) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(k), TRUE, &item);
    if (item.fType & MFT_SEPARATOR) {
      Out("separator");
      continue;
    }
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(k), text, 256, MF_BYPOSITION);
    Out("item\t" + std::to_string(item.wID) + "\t" + Escaped(text));
  }
  return 0;
}

int MoveWindowTo(const Invocation& in) {
  // As a drag of the caption ends: the window's whole rectangle at this screen point.
  if (!SetWindowPos(in.main, nullptr, std::atoi(in.Arg(0)), std::atoi(in.Arg(1)), 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
    return 1;
  RECT r{};
  GetWindowRect(in.main, &r);
  Out("moved\t" + std::to_string(r.left) + "\t" + std::to_string(r.top));
  return 0;
}

int ClickCommand(const Invocation& in) {
  HWND target = nullptr;
  if (in.name == "click") {
    target = ChildByText(in.main, Widen(in.Arg(0)));
  } else if (in.name == "click-id") {
    target = ChildById(in.main, std::atoi(in.Arg(0)));
  } else {
    target = ControlAt(in.main, POINT{std::atoi(in.Arg(0)), std::atoi(in.Arg(1))});
  }
  if (!target) {
    Err(std::string("no control ") + in.Arg(0));
    return 1;
  }
  Click(target);
  Settle(target);
  Out("clicked\t" + Escaped(ClassOf(target)) + "\t" + Escaped(TextOf(target)));
  return 0;
}

int RepaintAt(const Invocation& in) {
  HWND target = ControlAt(in.main, POINT{std::atoi(in.Arg(0)), std::atoi(in.Arg(1))});
  if (!target) {
    Err(std::string("no control at ") + in.Arg(0) + " " + in.Arg(1));
    return 1;
  }
  RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Settle(target);
  Out("repainted\t" + Escaped(ClassOf(target)) + "\t" + Escaped(TextOf(target)));
  return 0;
}

int WatchTooltips(const Invocation& in) {
  const DWORD watch = static_cast<DWORD>(std::strtoul(in.Arg(0), nullptr, 10));
  struct Search {
    DWORD pid;
    std::vector<HWND> tips;
  } search{0, {}};
  GetWindowThreadProcessId(in.main, &search.pid);
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid && Lower(ClassOf(hwnd)) == L"tooltips_class32") s->tips.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  POINT pointer{};
  GetCursorPos(&pointer);
  int shows = 0, covering = 0;
  bool wasVisible = false, seen = false;
  RECT first{};
  for (DWORD start = GetTickCount(); GetTickCount() - start < watch; Sleep(20)) {
    bool visible = false;
    for (HWND tip : search.tips) {
      if (!IsWindowVisible(tip)) continue;
      RECT r{};
      GetWindowRect(tip, &r);
      visible = true;
      if (!seen) first = r;
      seen = true;
      covering += PtInRect(&r, pointer) ? 1 : 0;
    }
    shows += visible && !wasVisible ? 1 : 0;
    wasVisible = visible;
  }
  Out("pointer\t" + std::to_string(pointer.x) + "\t" + std::to_string(pointer.y));
  Out("shows\t" + std::to_string(shows));
  Out("covering\t" + std::to_string(covering));
  if (seen)
    Out("tip\t" + std::to_string(first.left) + "\t" + std::to_string(first.top) + "\t" +
        std::to_string(first.right - first.left) + "\t" + std::to_string(first.bottom - first.top));
  return 0;
}

int ComboCommand(const Invocation& in) {
  HWND combo = FirstCombo(in.main);
  if (!combo) {
    Err("no combo box");
    return 1;
  }
  DWORD_PTR count = 0;
  SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &count);
  if (in.name == "combo-items") {
    for (DWORD_PTR k = 0; k < count; ++k) {
      DWORD_PTR length = 0;
      SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, k, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                          &length);
      if (static_cast<LONG_PTR>(length) < 0) length = 0;
      std::wstring item(length + 1, L'\0');
      DWORD_PTR copied = 0;
      SendMessageTimeoutW(combo, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(item.data()),
                          SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied);
      item.resize(static_cast<LONG_PTR>(copied) > 0 ? copied : 0);
      Out("item\t" + std::to_string(k) + "\t" + Escaped(item));
    }
    return 0;
  }
  long index = std::strtol(in.Arg(0), nullptr, 10);
  if (index < 0 || static_cast<DWORD_PTR>(index) >= count) {
    Err("index " + std::to_string(index) + " out of range, the box has " +
        std::to_string(count) + " items");
    return 1;
  }
  DWORD_PTR result = 0;
  SendMessageTimeoutW(combo, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                      &result);
  // CB_SETCURSEL does not notify; the user's choice would, so tell the parent.
  HWND parent = GetParent(combo);
  PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  Settle(parent);
  Out("selected\t" + std::to_string(index) + "\t" + Escaped(TextOf(combo)));
  return 0;
}

int ShowText(const Invocation& in) {
  if (in.name == "text-id") {
    HWND target = ChildById(in.main, std::atoi(in.Arg(0)));
    if (!target) {
      Err(std::string("no control with id ") + in.Arg(0));
      return 1;
    }
    Out(Escaped(TextOf(target)));
    return 0;
  }
  std::vector<Item> items;
  ReadItems(in.main, items);
  const Item* label = ItemNamed(items, Widen(in.Arg(0)));
  const Item* slot = label ? ItemRightOf(items, *label) : nullptr;
  if (!slot) {
    Err(std::string("no value item for ") + in.Arg(0));
    return 1;
  }
  Out(Escaped(slot->name));
  return 0;
}

int ListItems(const Invocation& in) {
  std::vector<Item> items;
  if (!ReadItems(in.main, items)) {
    Err("the window has no accessible client object");
    return 1;
  }
  for (const Item& item : items) {
    const RECT& r = item.rect;
    Out("item\t" + std::to_string(item.id) + "\t" + item.role + "\t" + std::to_string(r.left) + "\t" +
        std::to_string(r.top) + "\t" + std::to_string(r.right - r.left) + "\t" + std::to_string(r.bottom - r.top) +
        "\t" + (item.visible ? "1" : "0") + "\t" + Escaped(item.name));
  }
  return 0;
}

int PressItem(const Invocation& in) {
  std::vector<Item> items;
  ReadItems(in.main, items);
  const Item* item = ItemNamed(items, Widen(in.Arg(0)));
  IAccessible* client = item ? ClientObject(in.main) : nullptr;
  const HRESULT hr = client ? client->accDoDefaultAction(ChildId(item->id)) : E_FAIL;
  if (client) client->Release();
  if (hr != S_OK) {
    Err(std::string("cannot press ") + in.Arg(0));
    return 1;
  }
  Out("pressed\t" + std::to_string(item->id) + "\t" + Escaped(item->name));
  return 0;
}

int CloseMain(const Invocation& in) {
  DWORD pid = 0;
  GetWindowThreadProcessId(in.main, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  PostMessageW(in.main, WM_CLOSE, 0, 0);
  if (!process) {
    // Without a handle, the window going away is the best sign we get.
    DWORD start = GetTickCount();
    while (IsWindow(in.main) && GetTickCount() - start < in.timeout) Sleep(50);
    if (IsWindow(in.main)) {
      Err("window still open");
      return 1;
    }
    Out("closed");
    return 0;
  }
  DWORD wait = WaitForSingleObject(process, in.timeout);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  if (wait != WAIT_OBJECT_0) {
    Err("process still running after " + std::to_string(in.timeout) + " ms");
    return 1;
  }
  Out("exit\t" + std::to_string(code));
  return 0;
}

struct Command {
  const char* name;
  size_t arguments;  // at least this many
  bool needsWindow;  // looked for before the arguments are checked
  int (*run)(const Invocation&);
};

const Command kCommands[] = {
    {"windows", 0, false, ListTopWindows},
    {"volume", 1, false, ShowVolume},
    {"run-timed", 1, false, RunTimedCommand},
    {"clipboard", 0, false, [](const Invocation&) { return PrintClipboard(); }},
    {"hold-clipboard", 1, false, HoldClipboardCommand},
    {"launch-until-filled", 3, false, LaunchUntilFilledCommand},
    {"wait-window", 0, false, WaitWindow},
    {"caption", 0, true, ShowCaption},
    {"box", 0, true, MessageBoxCommand},
    {"box-ok", 0, true, MessageBoxCommand},
    {"dump", 0, true, Dump},
    {"counters", 0, true, [](const Invocation& in) { return PrintCounters(in.main); }},
    {"state", 0, true, ShowState},
    {"taskbar-restore", 0, true, TaskbarRestore},
    {"style", 0, true, ShowStyle},
    {"nc-point", 1, true, NcPoint},
    {"focus", 0, true, ShowFocus},
    {"window-menu", 0, true, ShowWindowMenu},
    {"move", 2, true, MoveWindowTo},
    {"click", 1, true, ClickCommand},
    {"click-id", 1, true, ClickCommand},
    {"click-at", 2, true, ClickCommand},
    {"repaint-at", 2, true, RepaintAt},
    {"tooltips", 1, true, WatchTooltips},
    {"select-combo", 1, true, ComboCommand},
    {"combo-items", 0, true, ComboCommand},
    {"items", 0, true, ListItems},
    {"press", 1, true, PressItem},
    {"text", 1, true, ShowText},
    {"text-id", 1, true, ShowText},
    {"close", 0, true, CloseMain},
};

}  // namespace

int main(int argc, char** argv) {
  Finder finder;
  finder.caption = L"  Velmora System Info 1.0";
  DWORD timeout = 10000;
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string opt = argv[i];
    bool has_value = i + 1 < argc;
    if (opt == "--caption" && has_value) {
      finder.caption = Widen(argv[++i]);
      finder.prefix = false;
    } else if (opt == "--caption-prefix" && has_value) {
      finder.caption = Widen(argv[++i]);
      finder.prefix = true;
    } else if (opt == "--class" && has_value) {
      finder.window_class = Widen(argv[++i]);
    } else if (opt == "--hidden") {
      finder.hidden = true;
    } else if (opt == "--timeout" && has_value) {
      timeout = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
    } else {
      return Usage();
    }
  }
  if (i >= argc) return Usage();
  Invocation in{argv[i++], finder, timeout};
  for (; i < argc; ++i) in.args.push_back(argv[i]);
  const Command* command = nullptr;
  for (const Command& c : kCommands)
    if (in.name == c.name) command = &c;
  if (!command || command->needsWindow) {
    in.main = finder.Find();
    if (!in.main) {
      Err("main window not found");
      return 1;
    }
  }
  if (!command || in.args.size() < command->arguments) return Usage();
  return command->run(in);
}
