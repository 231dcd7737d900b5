#include "app/console_capture.h"

#include <vector>

#include "framework/stdctrls.h"
#include "platform/platform.h"

namespace vsi {

void CaptureConsoleOutput(Platform& platform, const std::string& applicationPath, const std::string& commandLine,
                          TCustomMemo& memo) {
  std::optional<std::string> text = CaptureConsoleText(platform, applicationPath, commandLine);
  if (!text || text->empty()) return;
  memo.SetText(memo.Text() + *text);
}

std::optional<std::string> CaptureConsoleText(Platform& platform, const std::string& applicationPath,
                                              const std::string& commandLine) {
  std::unique_ptr<IChildProcess> child = platform.processes.StartCaptured(applicationPath, commandLine);
  if (!child) return std::nullopt;
  // Grown as the output comes (a few kilobytes), never past the limit.
  std::vector<uint8_t> buffer;
  uint32_t position = 0;
  bool ended = false;
  for (int pass = 1; pass <= kCapturePasses && !ended; ++pass) {
    ended = child->Wait(100, [&] { platform.windows.ProcessMessages(); });
    platform.windows.ProcessMessages();
    uint32_t available = child->Available();
    // Never past the buffer: what does not fit is left in the pipe.
    uint32_t room = kCaptureLimit - position;
    uint32_t want = available < room ? available : room;
    if (want > 0) {
      buffer.resize(position + want);
      position += child->Read(buffer.data() + position, want);
    }
    if (position >= kCaptureLimit) break;
  }
  std::string bytes(reinterpret_cast<const char*>(buffer.data()), position);
  bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
  if (bytes.empty()) return std::string();
  return platform.locale.OemToChar(bytes);
}

}  // namespace vsi
