#include "child_probe.h"

#include <windows.h>

#include <cstdlib>

namespace vsi::child_probe {

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

ChildEnvironment::ChildEnvironment(const char* name, const std::string& value) : name_(name) {
  SetEnvironmentVariableA(name, value.c_str());
}

ChildEnvironment::~ChildEnvironment() { SetEnvironmentVariableA(name_, nullptr); }

namespace {

// Runs while the program starts, before GoogleTest looks at its tests.
const bool kChildMode = [] {
  char value[64] = {};
  if (!GetEnvironmentVariableA("VSI_CHILD_PROBE", value, sizeof value)) return false;
  const std::string probe = value;
  if (probe.rfind("signal:", 0) == 0)
    SetEvent(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::strtoull(probe.c_str() + 7, nullptr, 10))));
  else if (probe == "sleep")
    Sleep(60000);
  else if (probe == "libraries")
    LoadLibrariesAsTheProgramDoes();
  ExitProcess(0);
  return true;
}();

}  // namespace

}  // namespace vsi::child_probe
