#pragma once
// The real Win32 platform as the program makes it, with a root component to own what a test
// creates. The locale is the real one unless a test brings its own.
#include "framework/component.h"
#include "framework/context.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

namespace vsi {

template <class Locale = Win32Locale>
struct RealPlatform {
  Locale locale;
  Win32WindowSystem windows;
  Win32Platform win{locale, windows};
  AppContext ctx{win.platform()};
  TComponent root{ctx};
};

}  // namespace vsi
