// The scripted child processes, drives and clocks behave as the capture, drive and clock code
// expect of the real system.
#include <gtest/gtest.h>

#include "fakes/fake_processes.h"
#include "fakes/fake_system.h"
#include "fakes/fake_volumes.h"

namespace vsi::fake {
namespace {

std::string Drain(IChildProcess& c) {
  std::string out;
  uint32_t n = 0;
  while (c.Available(n) && n > 0) {
    std::string chunk(n, '\0');
    chunk.resize(c.Read(reinterpret_cast<uint8_t*>(chunk.data()), n));
    out += chunk;
  }
  return out;
}

TEST(FakeProcesses, ChunksArriveOverTheWaitsAndTheRestWhenTheChildEnds) {
  FakeProcesses p;
  p.Script("C:\\WINDOWS\\system32\\ipconfig.exe", ChildScript{{"a", "b", "c", "d"}, 2, false});
  auto child = p.StartCaptured("c:\\windows\\SYSTEM32\\ipconfig.exe", "ipconfig /all");
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(p.openChildren, 1);
  EXPECT_EQ(Drain(*child), "a");
  EXPECT_FALSE(child->Wait(100, [] {}));
  EXPECT_EQ(Drain(*child), "b");
  EXPECT_TRUE(child->Wait(100, [] {}));  // the second wait sees the end: everything left is in the pipe
  EXPECT_EQ(Drain(*child), "cd");
  uint8_t byte;
  EXPECT_EQ(child->Read(&byte, 1), 0u);  // ended and empty: end of data, not a blocked read
  EXPECT_EQ(p.blockedReads, 0);
  uint32_t n = 0;
  EXPECT_FALSE(child->Available(n)) << "ended and empty: the pipe is broken";
  child.reset();
  EXPECT_EQ(p.openChildren, 0);
  ASSERT_EQ(p.starts.size(), 1u);
  EXPECT_EQ(p.starts[0].commandLine, "ipconfig /all");
  EXPECT_EQ(p.waitTimeouts, (std::vector<uint32_t>{100, 100}));
}

TEST(FakeProcesses, ReadOnARunningChildWithNothingWrittenIsCountedAsBlocking) {
  FakeProcesses p;
  p.Script("C:\\x.exe", ChildScript{{"", "late"}, -1, false});
  auto child = p.StartCaptured("C:\\x.exe", "x");
  uint8_t buf[8];
  EXPECT_EQ(child->Read(buf, sizeof buf), 4u);  // waited for the child's next write
  EXPECT_EQ(p.blockedReads, 1);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(child->Wait(100, [] {}));  // never ends
}

TEST(FakeProcesses, TerminateEndsARunningChildAndItsUnwrittenOutputIsLost) {
  FakeProcesses p;
  p.Script("C:\\x.exe", ChildScript{{"a", "never"}, -1, false});
  auto child = p.StartCaptured("C:\\x.exe", "x");
  child->Terminate();
  EXPECT_TRUE(child->Wait(100, [] {}));
  EXPECT_EQ(Drain(*child), "a");
  child->Terminate();
  EXPECT_EQ(p.terminations, 1) << "an ended child is not ended again";
  child.reset();
  EXPECT_EQ(p.leftRunning, 0);
  p.StartCaptured("C:\\x.exe", "x").reset();
  EXPECT_EQ(p.leftRunning, 1);
}

TEST(FakeProcesses, UnknownOrFailingProgramsDoNotStartAndScriptedMessagesReachTheWait) {
  FakeProcesses p;
  p.Script("C:\\fails.exe", ChildScript{{"x"}, 1, true});
  EXPECT_EQ(p.StartCaptured("C:\\fails.exe", "fails"), nullptr);
  EXPECT_EQ(p.StartCaptured("C:\\unknown.exe", "unknown"), nullptr);
  EXPECT_EQ(p.openChildren, 0);
  p.Script("C:\\x.exe", ChildScript{{}, -1, false});
  p.messagesDuringWaits = {2};
  auto child = p.StartCaptured("C:\\x.exe", "x");
  int ticks = 0;
  for (int i = 0; i < 3; ++i) child->Wait(100, [&] { ++ticks; });
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(p.dispatchesDuringWaits, 1);
}

TEST(FakeVolumes, DriveWithoutMediumFailsAndShowsTheBoxUnlessSuppressed) {
  FakeVolumes v;
  EXPECT_EQ(v.GetLogicalDrives(), (1u << 0) | (1u << 2) | (1u << 3));
  EXPECT_EQ(v.GetDriveType("d:\\"), DRIVE_CDROM_);
  EXPECT_EQ(v.GetDriveType("Q:\\"), DRIVE_NO_ROOT_DIR_);
  VolumeInformation vi;
  vi.volumeName = "untouched";
  EXPECT_FALSE(v.GetVolumeInformation("A:\\", vi));
  EXPECT_EQ(vi.volumeName, "untouched");
  EXPECT_EQ(v.criticalErrorBoxes, 1);
  const uint32_t old = v.SetErrorMode(SEM_FAILCRITICALERRORS_);
  DiskFreeSpace fs;
  EXPECT_FALSE(v.GetDiskFreeSpaceEx("A:\\", fs));
  EXPECT_EQ(v.criticalErrorBoxes, 1);
  EXPECT_EQ(v.SetErrorMode(old), SEM_FAILCRITICALERRORS_);
  ASSERT_TRUE(v.GetVolumeInformation("C:\\", vi));
  EXPECT_EQ(vi.volumeName, "SYSTEM");
  std::string remote;
  EXPECT_EQ(v.WNetGetConnection("C:", remote), WinError::NotConnected);
  FakeDrive net;
  net.type = DRIVE_REMOTE_;
  net.remoteName = "\\\\server\\share";
  v.AddDrive('n', net);
  EXPECT_EQ(v.WNetGetConnection("N:", remote), WinError::Success);
  EXPECT_EQ(remote, "\\\\server\\share");
}

TEST(FakeSystem, ClockAdvancesAcrossMonthsAndKeepsTheWeekday) {
  FakeSystem s;
  s.localTime = SystemTime{2004, 2, 0, 28, 23, 59, 59, 500};
  s.AdvanceTime(24 * 3600 * 1000 + 600);  // over the leap day into March
  SystemTime t;
  s.GetLocalTime(t);
  EXPECT_EQ(t, (SystemTime{2004, 3, 1, 1, 0, 0, 0, 100}));  // 1 March 2004 was a Monday
  s.versionFails = true;
  OsVersionInfo v;
  EXPECT_FALSE(s.GetVersionEx(v));
  s.UseWindows95();
  s.versionFails = false;
  ASSERT_TRUE(s.GetVersionEx(v));
  EXPECT_EQ(v.platformId, VER_PLATFORM_WIN32_WINDOWS_);
}

}  // namespace
}  // namespace vsi::fake
