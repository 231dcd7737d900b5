#pragma once
// What every IProcesses must answer as CreatePipe, CreateProcessA, WaitForSingleObject,
// PeekNamedPipe, ReadFile and TerminateProcess do for a captured child: run against the
// in-memory processes and against the system's.
//
// A subject gives `IProcesses& Processes()` and three programs, each `Program{path, commandLine}`:
// `Writer()` prints `WriterOutput()` and ends, `Endless()` runs until it is ended, `Missing()`
// names no file.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/process.h"

namespace vsi::contract {

struct Program {
  std::string path, commandLine;
};

template <class Subject>
class ProcessesContract : public ::testing::Test {
 protected:
  std::unique_ptr<IChildProcess> Start(const Program& p) { return processes.StartCaptured(p.path, p.commandLine); }
  // Waits in 100 ms steps, at most `steps` of them: true once the child has ended.
  static bool WaitForEnd(IChildProcess& child, int steps) {
    for (int i = 0; i < steps; ++i)
      if (child.Wait(100, [] {})) return true;
    return false;
  }
  // Everything in the pipe, read as far as a peek says it holds.
  static std::string Drain(IChildProcess& child) {
    std::string out;
    uint32_t ready = 0;
    while (child.Available(ready) && ready > 0) {
      std::string chunk(ready, '\0');
      uint32_t n = child.Read(reinterpret_cast<uint8_t*>(chunk.data()), ready);
      if (n == 0) break;
      out.append(chunk, 0, n);
    }
    return out;
  }

  Subject subject;
  IProcesses& processes = subject.Processes();
};

TYPED_TEST_SUITE_P(ProcessesContract);

TYPED_TEST_P(ProcessesContract, AMissingProgramDoesNotStart) {
  EXPECT_EQ(this->Start(this->subject.Missing()), nullptr);
}

TYPED_TEST_P(ProcessesContract, WhatAChildPrintsIsInThePipeAndNothingComesAfterItEnded) {
  auto child = this->Start(this->subject.Writer());
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(this->WaitForEnd(*child, 100)) << "ends by itself";
  EXPECT_EQ(this->Drain(*child), this->subject.WriterOutput());
  // Nobody is left to write: Windows fails the peek (a broken pipe); Wine's may still succeed,
  // with nothing in the pipe. Either way nothing more comes.
  uint32_t ready = 123;
  if (child->Available(ready)) {
    EXPECT_EQ(ready, 0u);
  }
  EXPECT_TRUE(child->Wait(0, [] {})) << "still ended";
}

TYPED_TEST_P(ProcessesContract, AChildThatRunsOnEndsWhenTerminated) {
  auto child = this->Start(this->subject.Endless());
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(child->Wait(100, [] {})) << "still running";
  uint32_t ready = 123;
  EXPECT_TRUE(child->Available(ready)) << "its pipe is whole while it runs";
  EXPECT_EQ(ready, 0u);
  child->Terminate();
  EXPECT_TRUE(this->WaitForEnd(*child, 50));
  child->Terminate();  // once more: nothing happens
}

REGISTER_TYPED_TEST_SUITE_P(ProcessesContract, AMissingProgramDoesNotStart,
                            WhatAChildPrintsIsInThePipeAndNothingComesAfterItEnded,
                            AChildThatRunsOnEndsWhenTerminated);

}  // namespace vsi::contract
