#pragma once
// Records what the shell was asked to open or run; answers as scripted.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"

namespace vsi::fake {

class FakeShell : public IShell {
 public:
  bool ShellOpen(const std::string& target) override;
  bool Run(const std::string& applicationPath, const std::string& commandLine) override;

  // Every target fails to open when false; single targets fail through FailOpen.
  bool openSucceeds = true;
  bool runSucceeds = true;
  void FailOpen(const std::string& target) { failingTargets_.insert(target); }

  std::vector<std::string> opened;  // every ShellOpen target, also failed ones
  std::vector<std::pair<std::string, std::string>> runs;  // application path, command line

 private:
  std::set<std::string> failingTargets_;
};

}  // namespace vsi::fake
