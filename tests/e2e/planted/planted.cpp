// A stand-in planted beside the program or in its working folder under the name of a system
// program or library (ipconfig.exe, mpr.dll, ...). Whenever it runs or is loaded it leaves
// "<its own path>.ran" next to itself, so the security test can tell that it was picked up.
// The program must never start or load it: it takes those from the system folder only.
#include <windows.h>
#include <winnetwk.h>

namespace {

void LeaveMarker(HMODULE self) {
  wchar_t path[MAX_PATH + 8];
  DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  lstrcatW(path, L".ran");
  HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
}

}  // namespace

#ifdef VSI_PLANTED_LIBRARY
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}
#else
int main(int argc, char**) {
  LeaveMarker(nullptr);
  // Never called, but imported: a copy of this program started in a folder with a planted
  // mpr.dll shows whether Wine takes that folder's libraries first, as Windows does.
  if (argc < 0) {
    DWORD size = 0;
    WNetGetUserA(nullptr, nullptr, &size);
  }
  // Were it run in place of ipconfig, this line would show in the network box.
  DWORD written = 0;
  static const char kText[] = "PLANTED PROGRAM RAN\r\n";
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), kText, sizeof kText - 1, &written, nullptr);
  return 0;
}
#endif
