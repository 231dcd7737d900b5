#include "platform/win32/win32_api.h"

#include <cstring>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

bool Win32Clipboard::Open(WindowHandle owner) {
  return ::OpenClipboard(reinterpret_cast<HWND>(owner)) != FALSE;
}

bool Win32Clipboard::Empty() { return ::EmptyClipboard() != FALSE; }

bool Win32Clipboard::SetUnicodeText(const WideString& text) {
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  win32::ScopedGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  void* data = ::GlobalLock(memory.Get());
  if (!data) return false;
  std::memcpy(data, text.c_str(), bytes);
  ::GlobalUnlock(memory.Get());
  // Once accepted, the memory is the system's; refused, it is still ours to free.
  if (!::SetClipboardData(CF_UNICODETEXT, memory.Get())) return false;
  memory.Release();
  return true;
}

void Win32Clipboard::Close() { ::CloseClipboard(); }

}  // namespace vsi
