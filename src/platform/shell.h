#pragma once
// The shell (shell32, kernel32).
#include <string>

namespace vsi {

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteExA with the verb "Open", no UI of its own. True on success.
  virtual bool ShellOpen(const std::string& target) = 0;
  // Starts `applicationPath` (a full path) with `commandLine`, shown normally.
  virtual bool Run(const std::string& applicationPath, const std::string& commandLine) = 0;
};

}  // namespace vsi
