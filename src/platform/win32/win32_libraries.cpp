#include "platform/win32/win32_api.h"
#include "platform/win32/win32_libraries.h"

#include <cctype>
#include <string>

#include <delayimp.h>

namespace vsi::win32 {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// The delay-load helper asks before it loads a library: we load it from the system folder
// ourselves. Only when it is not there does the helper search by name, in the places that
// RestrictLibrarySearch left (the system folder again).
FARPROC WINAPI LoadDelayedFromSystem(unsigned notify, PDelayLoadInfo info) {
  if (notify != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(info->szDll));
}

}  // namespace

void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");  // already loaded in every process
  auto set = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
                          ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                    : nullptr;
  if (set) set(kSearchSystem32);
  // Also takes the current folder out of the older search order, where the call above is missing.
  ::SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* name) {
  if (!name || !*name) return nullptr;
  HMODULE module = ::LoadLibraryExA(name, nullptr, kSearchSystem32);
  if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // A system without the search flag: the full path, with its dependencies looked for there first.
  char dir[MAX_PATH];
  UINT n = ::GetSystemDirectoryA(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  std::string path(dir, n);
  if (path.back() != '\\') path += '\\';
  path += name;
  return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool IsFullPath(const std::string& path) {
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 4 && separator(path[0]) && separator(path[1])) return !separator(path[2]);
  if (path.size() >= 4 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && separator(path[2]))
    return !separator(path[3]);
  return false;
}

}  // namespace vsi::win32

// Taken by the delay-load helper of the runtime instead of its own empty hook.
extern "C" PfnDliHook __pfnDliNotifyHook2 = vsi::win32::LoadDelayedFromSystem;
