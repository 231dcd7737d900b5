#include "fakes/fake_clipboard.h"

namespace vsi::fake {

bool FakeClipboard::Open(WindowHandle w) {
  ++openAttempts;
  if (heldByOther != 0) {
    if (heldByOther > 0) --heldByOther;
    return false;
  }
  // OpenClipboard by the window that has it open already succeeds; we never nest.
  open = true;
  openedBy_ = w;
  return true;
}

bool FakeClipboard::Empty() {
  // EmptyClipboard fails unless the caller has the clipboard open.
  if (!open) return false;
  text.clear();
  hasText = false;
  owner = openedBy_;
  return true;
}

bool FakeClipboard::SetUnicodeText(const WideString& t) {
  // SetClipboardData fails unless the clipboard is open; data set by a window that did not
  // empty it are still accepted, as Windows does.
  if (!open || failSetData) return false;
  text = t;
  hasText = true;
  return true;
}

void FakeClipboard::Close() {
  if (open) ++closes;
  open = false;
}

}  // namespace vsi::fake
