#pragma once
// Child mode of the Windows tests: a test starts a copy of this program with VSI_CHILD_PROBE
// set to see what a child of ours gets or does. Such a copy does the one thing asked and ends
// before any test runs:
//   "signal:<handle>"  sets the event behind that handle value, if it has one there;
//   "sleep"            waits a minute;
//   "libraries"        loads every library the program loads by name, the way it does.
#include <string>

namespace vsi::child_probe {

// The full path of this test program.
std::string ThisProgram();

// Loads every library the program loads by name, the way the program does (defined beside
// the tests that plant stand-ins for them).
void LoadLibrariesAsTheProgramDoes();

// Sets an environment variable for the children started while it lives.
class ChildEnvironment {
 public:
  ChildEnvironment(const char* name, const std::string& value);
  ~ChildEnvironment();
  ChildEnvironment(const ChildEnvironment&) = delete;
  ChildEnvironment& operator=(const ChildEnvironment&) = delete;

 private:
  const char* name_;
};

}  // namespace vsi::child_probe
