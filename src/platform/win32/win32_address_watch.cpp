#include "platform/win32/win32_address_watch.h"

#include "platform/win32/win32_libraries.h"

namespace vsi::win32 {

std::unique_ptr<AddressWatch> AddressWatch::Start(HWND window, UINT message) {
  static const HMODULE iphlpapi = LoadSystemLibrary("iphlpapi.dll");
  if (!iphlpapi) return nullptr;
  auto notify = reinterpret_cast<NotifyFn>(reinterpret_cast<void*>(::GetProcAddress(iphlpapi, "NotifyAddrChange")));
  auto cancel =
      reinterpret_cast<CancelFn>(reinterpret_cast<void*>(::GetProcAddress(iphlpapi, "CancelIPChangeNotify")));
  if (!notify || !cancel) return nullptr;
  std::unique_ptr<AddressWatch> watch(new AddressWatch(window, message, notify, cancel));
  if (!watch->stop_ || !watch->changed_) return nullptr;
  watch->thread_.Reset(::CreateThread(nullptr, 0, &AddressWatch::Run, watch.get(), 0, nullptr));
  if (!watch->thread_) return nullptr;
  return watch;
}

AddressWatch::AddressWatch(HWND window, UINT message, NotifyFn notify, CancelFn cancel)
    : window_(window),
      message_(message),
      notify_(notify),
      cancel_(cancel),
      stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      changed_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

AddressWatch::~AddressWatch() {
  if (thread_) {
    ::SetEvent(stop_.Get());
    ::WaitForSingleObject(thread_.Get(), INFINITE);
  }
}

DWORD WINAPI AddressWatch::Run(void* self) {
  static_cast<AddressWatch*>(self)->Watch();
  return 0;
}

void AddressWatch::Watch() {
  for (;;) {
    ::ResetEvent(changed_.Get());
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = changed_.Get();
    HANDLE ignored = nullptr;
    // Asked with an event, never blocking: only so can the watch be ended. A system that
    // answers anything but "pending" gives no notice, and the thread ends rather than spin.
    if (notify_(&ignored, &overlapped_) != ERROR_IO_PENDING) return;
    const HANDLE waits[2] = {stop_.Get(), changed_.Get()};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0 + 1) {
      // The request must be over before its record goes.
      if (cancel_(&overlapped_)) ::WaitForSingleObject(changed_.Get(), 1000);
      return;
    }
    if (!posted_.exchange(true) && !::PostMessageW(window_, message_, 0, 0)) posted_.store(false);
  }
}

}  // namespace vsi::win32
