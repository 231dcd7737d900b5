#include "platform/win32/win32_api.h"

#include <utility>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

namespace {

using win32::ScopedHandle;

class Win32Child : public IChildProcess {
 public:
  Win32Child(ScopedHandle process, ScopedHandle readEnd) : process_(std::move(process)), read_(std::move(readEnd)) {}

  bool Wait(uint32_t ms, const std::function<void()>& dispatch) override {
    const ULONGLONG deadline = ::GetTickCount64() + ms;
    HANDLE process = process_.Get();
    for (;;) {
      ULONGLONG now = ::GetTickCount64();
      DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
      // A quit request stays in the queue for the main loop: waiting on messages then would
      // wake at once, again and again, so wait for the child alone.
      MSG quit;
      if (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
        return ::WaitForSingleObject(process, left) == WAIT_OBJECT_0;
      DWORD r = ::MsgWaitForMultipleObjectsEx(1, &process, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      if (r == WAIT_OBJECT_0) return true;
      if (r != WAIT_OBJECT_0 + 1) return false;  // the time is up (or the wait failed)
      dispatch();
      if (left == 0) return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    }
  }

  bool Available(uint32_t& bytes) override {
    DWORD available = 0;
    if (!::PeekNamedPipe(read_.Get(), nullptr, 0, nullptr, &available, nullptr)) return false;
    bytes = available;
    return true;
  }

  uint32_t Read(uint8_t* buffer, uint32_t size) override {
    DWORD n = 0;
    if (!::ReadFile(read_.Get(), buffer, size, &n, nullptr)) return 0;
    return n;
  }

  void Terminate() override {
    if (::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.Get(), 1);
  }

 private:
  ScopedHandle process_, read_;
};

// The attribute list that names the only handles a child may inherit.
class InheritList {
 public:
  explicit InheritList(HANDLE* handles, size_t count) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    buffer_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
    if (!::InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
    list_ = list;
    if (!::UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, count * sizeof(HANDLE),
                                     nullptr, nullptr)) {
      ::DeleteProcThreadAttributeList(list_);
      list_ = nullptr;
    }
  }
  InheritList(const InheritList&) = delete;
  InheritList& operator=(const InheritList&) = delete;
  ~InheritList() {
    if (list_) ::DeleteProcThreadAttributeList(list_);
  }
  LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return list_; }

 private:
  std::vector<uint8_t> buffer_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace

std::unique_ptr<IChildProcess> Win32Processes::StartCaptured(const std::string& applicationPath,
                                                             const std::string& commandLine) {
  // A bare or relative name would be taken from the current folder (an empty system folder
  // gives "\\ipconfig.exe", the root of the current drive): start nothing then.
  if (!win32::IsFullPath(applicationPath)) return nullptr;
  // The write end alone is inheritable, and it is the only handle the child gets: without
  // the list, every inheritable handle of the process would go to it.
  SECURITY_ATTRIBUTES sa{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  ScopedHandle readEnd, writeEnd;
  if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &sa, 0)) return nullptr;
  if (!::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0)) return nullptr;
  HANDLE inherited[] = {writeEnd.Get()};
  InheritList only(inherited, 1);
  if (!only.Get()) return nullptr;

  STARTUPINFOEXA si{};
  si.StartupInfo.cb = sizeof si;
  si.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.StartupInfo.wShowWindow = SW_HIDE;
  si.StartupInfo.hStdInput = nullptr;
  si.StartupInfo.hStdOutput = writeEnd.Get();
  // Standard error goes to the same pipe: what the command says when it fails (no network
  // service, access denied) then shows in the box instead of an empty box.
  si.StartupInfo.hStdError = writeEnd.Get();
  si.lpAttributeList = only.Get();

  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  PROCESS_INFORMATION pi{};
  // The full application path: the program is never looked up along the search path.
  if (!::CreateProcessA(applicationPath.c_str(), cmd.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                        &si.StartupInfo, &pi)) {
    return nullptr;
  }
  ScopedHandle process(pi.hProcess), thread(pi.hThread);  // the thread's handle is not kept
  // Our copy of the write end goes now, so a read after the child ends sees the end of data
  // instead of blocking.
  writeEnd.Reset();
  return std::make_unique<Win32Child>(std::move(process), std::move(readEnd));
}

}  // namespace vsi
