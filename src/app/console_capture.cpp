#include "app/console_capture.h"

#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "platform/platform.h"

namespace vsi {

void CaptureConsoleOutput(Platform& platform, const std::string& applicationPath, const std::string& commandLine,
                          TCustomMemo& memo) {
  TApplication* app = ApplicationOf(memo);
  std::optional<std::string> text =
      CaptureConsoleText(platform, applicationPath, commandLine, [app] { return app && app->Terminated(); });
  if (!text || text->empty()) return;
  memo.SetText(memo.Text() + *text);
}

std::optional<std::string> CaptureConsoleText(Platform& platform, const std::string& applicationPath,
                                              const std::string& commandLine, const std::function<bool()>& abandoned,
                                              bool* whole) {
  if (whole) *whole = false;
  std::unique_ptr<IChildProcess> child = platform.processes.StartCaptured(applicationPath, commandLine);
  if (!child) return std::nullopt;
  // Grown as the output comes (a few kilobytes), never past the limit.
  std::vector<uint8_t> buffer;
  uint32_t position = 0;
  bool ended = false, cut = false;
  for (int pass = 1; pass <= kCapturePasses && !ended; ++pass) {
    ended = child->Wait(100, [&] { platform.windows.ProcessMessages(); });
    platform.windows.ProcessMessages();
    // The window was closed meanwhile: nobody is left to read the output, and the child
    // must not keep the program's process alive behind a window that is gone.
    if (abandoned && abandoned()) {
      child->Terminate();
      return std::nullopt;
    }
    uint32_t available = 0;
    // A failed peek: the pipe is broken and nothing more can come.
    if (!child->Available(available)) break;
    // Never past the buffer: what does not fit is left in the pipe.
    uint32_t room = kCaptureLimit - position;
    uint32_t want = available < room ? available : room;
    if (want > 0) {
      buffer.resize(position + want);
      position += child->Read(buffer.data() + position, want);
    }
    if (position >= kCaptureLimit) {
      uint32_t more = 0;  // exactly the limit, and nothing after it, is whole
      cut = child->Available(more) && more > 0;
      break;
    }
  }
  // Once we stop waiting for it, the child is ended rather than left running unseen.
  if (!ended) child->Terminate();
  if (whole) *whole = ended && !cut;
  std::string bytes(reinterpret_cast<const char*>(buffer.data()), position);
  bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
  if (bytes.empty()) return std::string();
  return platform.locale.OemToChar(bytes);
}

}  // namespace vsi
