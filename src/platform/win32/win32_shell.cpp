#include "platform/win32/win32_api.h"

#include <objbase.h>

#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

namespace {

// ShellExecuteEx may hand the target to a shell extension, which needs COM on the calling
// thread, apartment-threaded as the shell asks; it is given back when the call is done. A
// thread already in another apartment keeps it.
class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace

bool Win32Shell::ShellOpen(const std::string& target) {
  ComApartment com;
  SHELLEXECUTEINFOA sei{};
  sei.cbSize = sizeof sei;
  sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  sei.lpVerb = "Open";
  sei.lpFile = target.c_str();
  sei.nShow = SW_SHOWNORMAL;
  const bool ok = execute ? execute(sei) : ::ShellExecuteExA(&sei) != FALSE;
  win32::ScopedHandle process(sei.hProcess);  // asked for so that it can be closed here
  return ok;
}

bool Win32Shell::Run(const std::string& applicationPath, const std::string& commandLine) {
  // As for captured children: never a program looked for in the current folder.
  if (!win32::IsFullPath(applicationPath)) return false;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(applicationPath.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
    return false;
  }
  win32::ScopedHandle process(pi.hProcess), thread(pi.hThread);  // not waited for
  return true;
}

}  // namespace vsi
