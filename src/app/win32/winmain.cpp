// The Windows entry point: the real platform under the program.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything loads a library by name: from here on they come from the system folder only.
  vsi::win32::RestrictLibrarySearch();
  // RunProgram lets nothing out; this is for the platform's own set-up, before any window.
  try {
    vsi::Win32Locale locale;
    vsi::Win32WindowSystem windows(instance);
    vsi::Win32Platform platform(locale, windows);
    vsi::AppContext context(platform.platform());
    return vsi::RunProgram(context);
  } catch (...) {
    return 1;
  }
}
