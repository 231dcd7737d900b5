#pragma once
// The clipboard (user32): the four calls a copy needs.
#include "platform/types.h"

namespace vsi {

using WindowHandle = uintptr_t;

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  // OpenClipboard for `owner`: false while another program has it open.
  virtual bool Open(WindowHandle owner) = 0;
  // EmptyClipboard: the opener becomes the clipboard's owner.
  virtual bool Empty() = 0;
  // SetClipboardData(CF_UNICODETEXT) with a copy of `text` and its terminating zero.
  virtual bool SetUnicodeText(const WideString& text) = 0;
  virtual void Close() = 0;
};

}  // namespace vsi
