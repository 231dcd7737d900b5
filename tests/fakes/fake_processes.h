#pragma once
// Scripted children keyed by application path: their output arrives in chunks over the waits,
// they end after a number of waits (or never), or fail to start. Records what was started and
// counts the calls, so a capture loop can be checked pass by pass.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/process.h"

namespace vsi::fake {

struct ChildScript {
  // Chunk 0 is in the pipe when the child starts; each Wait puts the next one there.
  // When the child ends, whatever it has not written yet is in the pipe too.
  std::vector<std::string> chunks;
  // The Wait call (counted from 1) that first reports the end; 0: ended before the first
  // wait; -1: never ends.
  int exitAfterWaits = 1;
  bool startFails = false;
  // The peek (counted from 1) that first fails, as on a pipe that broke; 0: none does. A
  // peek after the child ended, with the pipe empty, fails anyway: our copy of the write end
  // is closed at start, so the pipe is then broken.
  int peekFailsFrom = 0;
};

class FakeProcesses : public IProcesses {
 public:
  struct StartRecord {
    std::string applicationPath, commandLine;
    bool started = false;
  };

  ~FakeProcesses() override;

  // --- IProcesses ---
  std::unique_ptr<IChildProcess> StartCaptured(const std::string& applicationPath,
                                               const std::string& commandLine) override;

  // --- Arranging --- (paths compared without regard to case; an unknown path does not start)
  void Script(const std::string& applicationPath, ChildScript script);
  // Messages that arrive during wait number N (counted from 1): the wait hands them to its
  // dispatch callback before it returns.
  std::vector<int> messagesDuringWaits;

  // --- Inspecting ---
  std::vector<StartRecord> starts;
  std::vector<uint32_t> waitTimeouts;
  int waitCalls = 0;
  int readCalls = 0;
  int availableCalls = 0;
  int dispatchesDuringWaits = 0;
  int openChildren = 0;  // started and not yet closed
  int terminations = 0;   // children ended by Terminate while they ran
  int leftRunning = 0;    // children whose handles were closed while they still ran
  // Reads with nothing in the pipe while the child still runs: on a real pipe each blocks until
  // the child writes, and forever if it never does.
  int blockedReads = 0;


 private:
  std::map<std::string, ChildScript> scripts_;
};

}  // namespace vsi::fake
