#include "fakes/fake_program_io.h"

namespace vsi::fake {

bool FakeProgramIo::Write(StdStream stream, const std::string& utf8) {
  if (stream == StdStream::Output) {
    if (!hasOutput) return false;
    output += utf8;
  } else {
    if (!hasError) return false;
    error += utf8;
  }
  return true;
}

WinError FakeProgramIo::ReplaceFile(const std::string& utf8Path, const std::string& bytes) {
  auto failing = failingFiles.find(utf8Path);
  // A refused write leaves the old file as it was.
  if (failing != failingFiles.end()) return failing->second;
  files[utf8Path] = bytes;
  return WinError::Success;
}

}  // namespace vsi::fake
