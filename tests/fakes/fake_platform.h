#pragma once
// The whole in-memory platform for tests: arrange its parts, then hand platform() to an
// AppContext.
#include "fakes/fake_clipboard.h"
#include "fakes/fake_locale.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_program_io.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_sockets.h"
#include "fakes/fake_system.h"
#include "fakes/fake_volumes.h"
#include "fakes/fake_windows.h"
#include "platform/platform.h"

namespace vsi::fake {

struct FakePlatform {
  FakePlatform() { system.UseCodePagesOf(&locale); }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeRegistry registry;
  FakeSystem system;
  FakeVolumes volumes;
  FakeLocale locale;
  FakeProcesses processes;
  FakeShell shell;
  FakeSockets sockets;
  FakeWindowSystem windows;
  FakeClipboard clipboard;
  FakeProgramIo io;

  Platform platform() {
    return Platform{registry, system, volumes, locale, processes, shell, sockets, windows, clipboard, io};
  }
};

}  // namespace vsi::fake
