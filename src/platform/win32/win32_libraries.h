#pragma once
// Where the program takes its libraries and programs from: the system folder, never the
// program's own folder or the current one, where anyone may have left a file of that name.
#include <string>

#include <windows.h>

namespace vsi::win32 {

// Called first thing in WinMain: libraries loaded by name from then on, and their own
// dependencies, come from the system folder only. The libraries the program uses beyond the
// system's known ones (comctl32, mpr, wsock32) are loaded on first use, after this call,
// through the delay-load hook below rather than at start.
void RestrictLibrarySearch();

// A system library by name, from the system folder only (also on systems that lack the
// search flag: then by its full path). Null when it is not there.
HMODULE LoadSystemLibrary(const char* name);

// "X:\..." or "\\server\share\...": a path that CreateProcess takes as it is. Anything else
// it resolves against the current folder or drive, where a planted program would be found.
bool IsFullPath(const std::string& path);

}  // namespace vsi::win32
