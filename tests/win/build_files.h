#pragma once
// The files the build puts in its root folder (toolbar1.exe, toolbar1.mld), found from the
// test exe, which lies one or two folders below it.
#include <windows.h>

#include <string>

namespace vsi {

// The full path of `name` in the nearest folder above the test exe that holds it; empty when
// none does.
inline std::wstring BuildFile(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  for (int up = 0; up < 4; ++up) {
    size_t slash = dir.find_last_of(L"\\/");
    if (slash == std::wstring::npos) break;
    dir.resize(slash);
    std::wstring candidate = dir + L"\\" + name;
    if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  }
  return {};
}

// The program under test, beside its dictionary; empty when it has not been built.
inline std::wstring ToolbarExe() { return BuildFile(L"toolbar1.exe"); }

}  // namespace vsi
