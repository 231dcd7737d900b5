#pragma once
// The machine's address changes (NotifyAddrChange, iphlpapi) told to a window: a thread of
// its own waits for the system's notice and posts a message to the window, so the window's
// thread never blocks on it. Ended, and its thread joined, when the object goes.
#include <atomic>
#include <memory>

#include "platform/win32/win32_handles.h"

namespace vsi::win32 {

class AddressWatch {
 public:
  // Posts `message` to `window` after each change, one at a time: a change that comes while
  // the last post has not been taken (Taken()) is covered by that post. Null when the system
  // lacks the notice or the thread cannot start.
  static std::unique_ptr<AddressWatch> Start(HWND window, UINT message);
  ~AddressWatch();
  AddressWatch(const AddressWatch&) = delete;
  AddressWatch& operator=(const AddressWatch&) = delete;
  // The window's thread took the posted message: the next change posts again.
  void Taken() { posted_.store(false); }

 private:
  using NotifyFn = DWORD(WINAPI*)(HANDLE*, OVERLAPPED*);
  using CancelFn = BOOL(WINAPI*)(OVERLAPPED*);
  AddressWatch(HWND window, UINT message, NotifyFn notify, CancelFn cancel);
  static DWORD WINAPI Run(void* self);
  void Watch();

  HWND window_;
  UINT message_;
  NotifyFn notify_;
  CancelFn cancel_;
  // Closed in the reverse order: the thread, once joined, then the events it waited on.
  ScopedHandle stop_;     // set by the destructor
  ScopedHandle changed_;  // the overlapped request's event
  ScopedHandle thread_;
  OVERLAPPED overlapped_{};
  std::atomic<bool> posted_{false};
};

}  // namespace vsi::win32
