#pragma once
// Everything the logic may ask of the operating system. The Windows build passes the real
// implementation (platform/win32); tests pass the in-memory fake (tests/fakes).
#include "platform/canvas.h"
#include "platform/clipboard.h"
#include "platform/locale.h"
#include "platform/process.h"
#include "platform/program_io.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sockets.h"
#include "platform/system.h"
#include "platform/volumes.h"
#include "platform/windowing.h"

namespace vsi {

struct Platform {
  IRegistry& registry;
  ISystem& system;
  IVolumes& volumes;
  ILocale& locale;
  IProcesses& processes;
  IShell& shell;
  ISockets& sockets;
  IWindowSystem& windows;
  IClipboard& clipboard;
  IProgramIo& io;
};

}  // namespace vsi
