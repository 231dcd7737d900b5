#pragma once
// Child processes with captured output (kernel32).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/types.h"

namespace vsi {

// A started child whose standard output (and error) goes into a pipe.
class IChildProcess {
 public:
  virtual ~IChildProcess() = default;
  // Waits up to `ms` for the process to end: true when it has. Messages for the calling
  // thread's windows that arrive meanwhile are handed to `dispatch` at once, so the window
  // answers while it waits.
  virtual bool Wait(uint32_t ms, const std::function<void()>& dispatch) = 0;
  // PeekNamedPipe: `bytes` ready to read without blocking. False when the peek fails (the
  // pipe is broken: the child and every copy of its write end are gone).
  virtual bool Available(uint32_t& bytes) = 0;
  // ReadFile: up to `size` bytes; returns the count read (0 at the end or on failure).
  virtual uint32_t Read(uint8_t* buffer, uint32_t size) = 0;
  // TerminateProcess: ends the child now; nothing when it has ended already.
  virtual void Terminate() = 0;
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  // CreatePipe + CreateProcessA of `applicationPath` (a full path, never searched) with
  // `commandLine`, hidden, output to the pipe; the pipe's write end is the only handle the
  // child inherits. Null when the process cannot be started. Closing the returned object
  // closes the pipe and process handles; only Terminate ends the child.
  virtual std::unique_ptr<IChildProcess> StartCaptured(const std::string& applicationPath,
                                                       const std::string& commandLine) = 0;
};

}  // namespace vsi
