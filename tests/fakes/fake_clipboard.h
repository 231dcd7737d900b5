#pragma once
// An in-memory clipboard that another program can hold, as a real one can be.
#include <string>

#include "platform/clipboard.h"

namespace vsi::fake {

class FakeClipboard : public IClipboard {
 public:
  bool Open(WindowHandle owner) override;
  bool Empty() override;
  bool SetUnicodeText(const WideString& text) override;
  void Close() override;

  // Another program has the clipboard open: OpenClipboard fails for us until it closes. A
  // negative count holds it for good; a positive one lets it go after that many refused opens.
  int heldByOther = 0;
  bool failSetData = false;

  WideString text;          // CF_UNICODETEXT, without its terminating zero
  bool hasText = false;
  bool open = false;        // open by us
  WindowHandle owner = 0;   // the window that emptied it last
  int openAttempts = 0;
  int closes = 0;

 private:
  WindowHandle openedBy_ = 0;
};

}  // namespace vsi::fake
