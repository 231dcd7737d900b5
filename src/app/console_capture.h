#pragma once
// Runs a command hidden and appends what it prints to a memo, keeping the window responsive.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vsi {

struct Platform;
class TCustomMemo;

constexpr uint32_t kCaptureLimit = 1u << 20;  // output beyond 1 MiB is cut
constexpr int kCapturePasses = 151;            // 100 ms waits: about 15 s

// Starts `applicationPath` (a full path: never looked up elsewhere) with `commandLine`, waits
// for it in 100 ms passes while dispatching messages, and appends its output, converted from
// the OEM to the ANSI code page and cut at the first zero byte, to the memo's text. A child
// still running after the last pass, or when the program ends during the wait, is ended.
// Nothing is reported: a command that cannot start leaves the memo as it was.
void CaptureConsoleOutput(Platform& platform, const std::string& applicationPath, const std::string& commandLine,
                          TCustomMemo& memo);

// The same capture, its text returned: null when the command cannot start, or when
// `abandoned` says between two passes that nobody waits for the output any more (the child is
// then ended at once). `whole`, when given, says whether the child ended by itself and all it
// wrote was taken: false when it had to be ended, its pipe broke or its output was cut.
std::optional<std::string> CaptureConsoleText(Platform& platform, const std::string& applicationPath,
                                              const std::string& commandLine,
                                              const std::function<bool()>& abandoned = {}, bool* whole = nullptr);

}  // namespace vsi
