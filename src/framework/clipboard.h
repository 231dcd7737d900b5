#pragma once
// Text on the clipboard, without waiting long for a program that holds it.
#include "platform/platform.h"

namespace vsi {

enum class ClipboardResult : uint8_t { Copied, Busy, Failed };

// Opening is tried this often, this far apart, while another program holds the clipboard.
constexpr int kClipboardTries = 5;
constexpr uint32_t kClipboardRetryMs = 40;

// Opens the clipboard for `owner`, empties it and sets `text` as CF_UNICODETEXT. Busy when
// another program kept it open through every try; Failed when the system refused the text.
// The clipboard is closed again on every path once opened.
ClipboardResult CopyTextToClipboard(Platform& platform, WindowHandle owner, const WideString& text);

}  // namespace vsi
