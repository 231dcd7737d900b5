#pragma once
// What a process holds, counted the ways that work under Wine as well: there
// GetGuiResources and GetProcessHandleCount answer 0. Used by the soak test (for its own
// process), the window-system tests and the end-to-end driver (for the program's). Include
// after <windows.h>.
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vsi::counters {

// Live entries of the process's GDI handle table, which its PEB points at (0xF8 in a
// 64-bit PEB): a live entry has a type. -1 when it cannot be read.
inline long GdiTableEntries(HANDLE process) {
  using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
      !basic.PebBaseAddress)
    return -1;
  struct Entry {
    UINT64 object;
    USHORT process, count, unique;
    UCHAR type, flags;
    UINT64 user;
  };
  constexpr SIZE_T kEntries = 0x10000;
  UINT64 table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<BYTE*>(basic.PebBaseAddress) + 0xF8, &table,
                         sizeof table, &read) ||
      !table)
    return -1;
  std::vector<Entry> entries(kEntries);
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                         kEntries * sizeof(Entry), &read))
    return -1;
  long live = 0;
  for (SIZE_T k = 0; k < read / sizeof(Entry); ++k)
    if (entries[k].type) ++live;
  return live;
}

// Live GDI objects of a process: what the system answers, or the table's live entries where
// it answers 0 (Wine; never true of a process that paints).
inline long GdiObjects(HANDLE process) {
  if (DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) return static_cast<long>(n);
  return GdiTableEntries(process);
}

// The process's entries in the system-wide handle list (under Wine it comes from the
// server). -1 when it cannot be read.
inline long HandlesInSystemList(DWORD pid) {
  using QueryFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  struct Entry {
    ULONG owner;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<BYTE> buffer(1 << 20);
  LONG status = kLengthMismatch;
  for (int tries = 0; tries < 6 && status == kLengthMismatch; ++tries) {
    ULONG needed = 0;
    status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kLengthMismatch) buffer.resize(std::max<size_t>(needed + 4096, buffer.size() * 2));
  }
  if (status != 0) return -1;
  ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
  if (sizeof(void*) + count * sizeof(Entry) > buffer.size()) return -1;
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
  long mine = 0;
  for (ULONG k = 0; k < count; ++k)
    if (entries[k].owner == pid) ++mine;
  return mine;
}

// Every window of the process (the USER objects a form makes): its top-level windows,
// hidden ones too, with their descendants, and its message-only windows.
inline long WindowsOfProcess(DWORD pid) {
  struct Ctx {
    DWORD pid;
    std::vector<HWND> tops;
    long count = 0;
  } ctx{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM p) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == c->pid) c->tops.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
       h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid) ctx.tops.push_back(h);
  }
  for (HWND top : ctx.tops) {
    ++ctx.count;
    EnumChildWindows(
        top,
        [](HWND, LPARAM p) -> BOOL {
          ++reinterpret_cast<Ctx*>(p)->count;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
  }
  return ctx.count;
}

}  // namespace vsi::counters
