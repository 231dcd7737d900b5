#pragma once
// The program's command line, version block, standard streams and files, in memory.
#include <map>
#include <string>

#include "platform/program_io.h"

namespace vsi::fake {

class FakeProgramIo : public IProgramIo {
 public:
  std::string CommandLine() override { return commandLine; }
  std::string FileVersion() override { return fileVersion; }
  bool Write(StdStream stream, const std::string& utf8) override;
  WinError ReplaceFile(const std::string& utf8Path, const std::string& bytes) override;

  std::string commandLine = "\"C:\\Program Files\\Velmora\\toolbar1.exe\"";
  std::string fileVersion = "1.0.0.0";
  // Without a console or a redirected handle nothing can be written.
  bool hasOutput = true;
  bool hasError = true;
  std::string output, error;
  // Files by path; a failing path refuses with the error given.
  std::map<std::string, std::string> files;
  std::map<std::string, WinError> failingFiles;
};

}  // namespace vsi::fake
