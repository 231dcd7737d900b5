#include "fakes/fake_shell.h"

namespace vsi::fake {

bool FakeShell::ShellOpen(const std::string& target) {
  opened.push_back(target);
  return openSucceeds && failingTargets_.count(target) == 0;
}

bool FakeShell::Run(const std::string& applicationPath, const std::string& commandLine) {
  runs.emplace_back(applicationPath, commandLine);
  return runSucceeds;
}

}  // namespace vsi::fake
