// The Windows entry point: the real platform under the program.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

namespace {

// Libraries loaded by name come from the system directory only, never from the program's
// folder or the current directory.
void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto set = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                          reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                    : nullptr;
  if (set) set(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
  SetDllDirectoryA("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictLibrarySearch();
  vsi::Win32Locale locale;
  vsi::Win32WindowSystem windows(instance);
  vsi::Win32Platform platform(locale, windows);
  vsi::AppContext context(platform.platform());
  return vsi::RunProgram(context);
}
