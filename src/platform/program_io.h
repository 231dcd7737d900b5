#pragma once
// What the program reads and writes as a process rather than through its windows (kernel32):
// its command line, its version block, its standard output and error, and the files it writes.
#include <string>

#include "platform/types.h"

// <windows.h>, when a Win32 file included it first, maps this name to its -A/-W function;
// here it is an interface method.
#undef ReplaceFile

namespace vsi {

enum class StdStream : uint8_t { Output, Error };

class IProgramIo {
 public:
  virtual ~IProgramIo() = default;
  // GetCommandLineW as UTF-8, the program's own name first, as the system gives it.
  virtual std::string CommandLine() = 0;
  // The file version of the program's own version block ("1.0.0.0"); empty without one.
  virtual std::string FileVersion() = 0;
  // Writes UTF-8 text to standard output or error: to the redirected handle when there is
  // one, else to the console of the parent process. False when there is neither, or the write
  // fails.
  virtual bool Write(StdStream stream, const std::string& utf8) = 0;
  // Writes `bytes` to a new file beside `utf8Path` and renames it over the target, so that the
  // target is never left half written; the new file is removed again on failure.
  virtual WinError ReplaceFile(const std::string& utf8Path, const std::string& bytes) = 0;
};

}  // namespace vsi
