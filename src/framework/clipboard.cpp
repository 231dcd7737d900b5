#include "framework/clipboard.h"

#include "framework/scope_exit.h"

namespace vsi {

ClipboardResult CopyTextToClipboard(Platform& platform, WindowHandle owner, const WideString& text) {
  IClipboard& clipboard = platform.clipboard;
  bool opened = false;
  for (int attempt = 0; attempt < kClipboardTries && !opened; ++attempt) {
    if (attempt > 0) platform.system.Sleep(kClipboardRetryMs);
    opened = clipboard.Open(owner);
  }
  if (!opened) return ClipboardResult::Busy;
  ScopeExit close{[&clipboard] { clipboard.Close(); }};
  if (!clipboard.Empty() || !clipboard.SetUnicodeText(text)) return ClipboardResult::Failed;
  return ClipboardResult::Copied;
}

}  // namespace vsi
