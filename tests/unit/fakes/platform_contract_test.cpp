// The in-memory platform held to the same contracts as the system's (tests/contract; the
// Windows tests run them against Win32 under Wine).
#include "contract/clipboard_contract.h"
#include "contract/processes_contract.h"
#include "contract/registry_contract.h"
#include "contract/volumes_contract.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_volumes.h"

namespace vsi {
namespace {

struct FakeRegistrySubject {
  IRegistry& Registry() { return registry; }
  RegKey Scratch() {
    RegKey key = 0;
    EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER_, "Software\\Velmora Contract", KEY_ALL_ACCESS_, key),
              WinError::Success);
    return key;
  }
  fake::FakeRegistry registry;
};

struct FakeClipboardSubject {
  IClipboard& Clipboard() { return clipboard; }
  WindowHandle Window(int n) { return 0x1000 + 0x10 * n; }
  void HoldByOther() { clipboard.heldByOther = -1; }
  void ReleaseOther() { clipboard.heldByOther = 0; }
  std::optional<WideString> Text() {
    return clipboard.hasText ? std::optional<WideString>(clipboard.text) : std::nullopt;
  }
  WindowHandle Owner() { return clipboard.owner; }
  fake::FakeClipboard clipboard;
};

struct FakeVolumesSubject {
  IVolumes& Volumes() { return volumes; }
  char Absent() { return 'X'; }
  fake::FakeVolumes volumes;
};

struct FakeProcessesSubject {
  FakeProcessesSubject() {
    processes.Script(Writer().path, {{"hello\r\n"}, 1});
    processes.Script(Endless().path, {{}, -1});
  }
  IProcesses& Processes() { return processes; }
  contract::Program Writer() { return {"C:\\WINDOWS\\system32\\writer.exe", "writer"}; }
  std::string WriterOutput() { return "hello\r\n"; }
  contract::Program Endless() { return {"C:\\WINDOWS\\system32\\endless.exe", "endless"}; }
  contract::Program Missing() { return {"C:\\WINDOWS\\system32\\missing.exe", "missing"}; }
  fake::FakeProcesses processes;
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, RegistryContract, ::testing::Types<FakeRegistrySubject>);
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, ClipboardContract, ::testing::Types<FakeClipboardSubject>);
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, VolumesContract, ::testing::Types<FakeVolumesSubject>);
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, ProcessesContract, ::testing::Types<FakeProcessesSubject>);
}  // namespace contract

}  // namespace vsi
