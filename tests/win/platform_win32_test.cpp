// The real platform implementation against the system (run under Wine): registry, performance
// data, a captured child process, volumes, system facts and sockets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"
#include "probes/cpu_usage.h"

namespace vsi {
namespace {

const char* const kTestKey = "Software\\Velmora\\PlatformWin32Test";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
  }
  Win32Registry reg;
};

TEST_F(Win32RegistryTest, RoundTripInCurrentUser) {
  RegKey k = 0;
  ASSERT_EQ(reg.CreateKey(HKEY_CURRENT_USER_, kTestKey, KEY_ALL_ACCESS_, k), WinError::Success);
  const char text[] = "Deutsch";
  ASSERT_EQ(reg.SetValue(k, "Language1", REG_SZ_, reinterpret_cast<const uint8_t*>(text), sizeof text),
            WinError::Success);
  const uint32_t number = 0x01020304;
  ASSERT_EQ(reg.SetValue(k, "Count", REG_DWORD_, reinterpret_cast<const uint8_t*>(&number), 4), WinError::Success);

  uint32_t type = 0, size = 0;
  ASSERT_EQ(reg.QueryValue(k, "language1", &type, nullptr, size), WinError::Success);  // names ignore case
  EXPECT_EQ(type, REG_SZ_);
  EXPECT_EQ(size, sizeof text);
  char small[3];
  uint32_t smallSize = sizeof small;
  EXPECT_EQ(reg.QueryValue(k, "Language1", nullptr, reinterpret_cast<uint8_t*>(small), smallSize), WinError::MoreData);
  EXPECT_EQ(smallSize, sizeof text);
  char back[32] = {};
  size = sizeof back;
  ASSERT_EQ(reg.QueryValue(k, "Language1", &type, reinterpret_cast<uint8_t*>(back), size), WinError::Success);
  EXPECT_STREQ(back, "Deutsch");
  uint32_t n = 0;
  size = 4;
  ASSERT_EQ(reg.QueryValue(k, "Count", &type, reinterpret_cast<uint8_t*>(&n), size), WinError::Success);
  EXPECT_EQ(type, REG_DWORD_);
  EXPECT_EQ(n, number);
  EXPECT_EQ(reg.QueryValue(k, "Missing", nullptr, nullptr, size), WinError::FileNotFound);

  // Both names come back, in the order the registry keeps them.
  std::set<std::string> names;
  std::string name;
  for (uint32_t i = 0; reg.EnumValue(k, i, name) == WinError::Success; ++i) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"Count", "Language1"}));
  EXPECT_EQ(reg.EnumValue(k, 2, name), WinError::NoMoreItems);
  EXPECT_EQ(reg.CloseKey(k), WinError::Success);

  // Read-only: the value is there, a write is refused.
  ASSERT_EQ(reg.OpenKey(HKEY_CURRENT_USER_, kTestKey, KEY_READ_, k), WinError::Success);
  EXPECT_EQ(reg.SetValue(k, "Count", REG_DWORD_, reinterpret_cast<const uint8_t*>(&number), 4), WinError::AccessDenied);
  EXPECT_EQ(reg.CloseKey(k), WinError::Success);

  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey), ERROR_SUCCESS);
  RegKey untouched = 0x55;
  EXPECT_EQ(reg.OpenKey(HKEY_CURRENT_USER_, kTestKey, KEY_READ_, untouched), WinError::FileNotFound);
  EXPECT_EQ(untouched, 0x55u);
}

std::string ReadText(IRegistry& reg, RegKey root, const char* path, const char* value) {
  RegKey k = 0;
  if (reg.OpenKey(root, path, KEY_READ_, k) != WinError::Success) return "<no key>";
  char buf[256] = {};
  uint32_t size = sizeof buf - 1, type = 0;
  const WinError e = reg.QueryValue(k, value, &type, reinterpret_cast<uint8_t*>(buf), size);
  reg.CloseKey(k);
  if (e != WinError::Success || (type != REG_SZ_ && type != REG_EXPAND_SZ_)) return "<no value>";
  return buf;
}

TEST_F(Win32RegistryTest, MachineFactsReadWithReadAccessOnly) {
  const std::string product =
      ReadText(reg, HKEY_LOCAL_MACHINE_, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
  EXPECT_NE(product.find("Windows"), std::string::npos) << product;

  // The vendor in the hardware description is the one the processor itself reports.
  const std::string vendor =
      ReadText(reg, HKEY_LOCAL_MACHINE_, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "VendorIdentifier");
  Win32System sys;
  std::array<uint32_t, 4> r{};
  ASSERT_TRUE(sys.Cpuid(0, r));
  char cpu[13] = {};
  std::memcpy(cpu, &r[1], 4);
  std::memcpy(cpu + 4, &r[3], 4);
  std::memcpy(cpu + 8, &r[2], 4);
  EXPECT_EQ(vendor, cpu);
}

// The whole answer for "238", the buffer doubled until it fits; empty when it never does.
template <class Query>
std::vector<uint8_t> WholePerfData(Query query) {
  std::vector<uint8_t> buf(4096);
  for (;;) {
    DWORD size = static_cast<DWORD>(buf.size());
    const LONG r = query(buf.data(), size);
    if (r == ERROR_SUCCESS) {
      buf.resize(size);
      return buf;
    }
    if (r != ERROR_MORE_DATA || buf.size() >= (16u << 20)) return {};
    buf.resize(buf.size() * 2);
  }
}

TEST_F(Win32RegistryTest, PerformanceDataAreTheSystemsOwnAnswer) {
  std::vector<uint8_t> small(64);
  uint32_t size = static_cast<uint32_t>(small.size());
  EXPECT_EQ(reg.QueryValue(HKEY_PERFORMANCE_DATA_, "238", nullptr, small.data(), size), WinError::MoreData);
  // Passed on as the system gives it, whatever it holds (under Wine: no processor object);
  // the CPU sampler decides what to make of it.
  const std::vector<uint8_t> ours = WholePerfData([&](uint8_t* data, DWORD& n) {
    uint32_t s = n;
    const WinError e = reg.QueryValue(HKEY_PERFORMANCE_DATA_, "238", nullptr, data, s);
    n = s;
    return static_cast<LONG>(e);
  });
  const std::vector<uint8_t> system = WholePerfData([](uint8_t* data, DWORD& n) {
    return RegQueryValueExA(HKEY_PERFORMANCE_DATA, "238", nullptr, nullptr, data, &n);
  });
  ASSERT_GE(ours.size(), sizeof(PERF_DATA_BLOCK));
  ASSERT_GE(system.size(), sizeof(PERF_DATA_BLOCK));
  PERF_DATA_BLOCK a, b;
  std::memcpy(&a, ours.data(), sizeof a);
  std::memcpy(&b, system.data(), sizeof b);
  EXPECT_EQ(std::memcmp(a.Signature, L"PERF", sizeof a.Signature), 0);
  EXPECT_EQ(a.NumObjectTypes, b.NumObjectTypes);
  EXPECT_EQ(a.HeaderLength, b.HeaderLength);
  EXPECT_EQ(a.DefaultObject, b.DefaultObject);
  EXPECT_LE(a.TotalByteLength, ours.size());
}

TEST(Win32CpuUsage, SamplerMeasuresTheRealMachine) {
  Win32Registry reg;
  Win32System sys;
  CpuUsageSampler s(reg, sys);
  ASSERT_TRUE(s.IsNT());
  ASSERT_GT(s.ProcessorCount(), 0);
  Sleep(250);
  s.SampleCpuCounters();
  const double usage = s.MachineUsageFraction();
  // Idle counters move in 10 ms steps under Wine: allow for that, but a fraction it must be.
  EXPECT_GT(usage, -0.2);
  EXPECT_LT(usage, 1.2);
}

std::string Cmd() {
  Win32System sys;
  return sys.GetSystemDirectory() + "\\cmd.exe";
}

TEST(Win32Processes, CapturesTheOutputOfAChildStartedByFullPath) {
  Win32Processes procs;
  auto child = procs.StartCaptured(Cmd(), "cmd.exe /c echo velmora-capture");
  ASSERT_NE(child, nullptr);
  std::string out;
  bool ended = false;
  for (int pass = 0; pass < 100 && !ended; ++pass) {
    ended = child->Wait(100, [] {});
    uint32_t n = 0;
    if (!child->Available(n)) break;
    if (n) {
      std::string chunk(n, '\0');
      chunk.resize(child->Read(reinterpret_cast<uint8_t*>(chunk.data()), n));
      out += chunk;
    }
  }
  EXPECT_TRUE(ended);
  EXPECT_NE(out.find("velmora-capture"), std::string::npos) << out;
  // The child has gone and we hold no write end: the pipe reports its end instead of blocking.
  uint8_t byte;
  EXPECT_EQ(child->Read(&byte, 1), 0u);
}

TEST(Win32Processes, MissingProgramDoesNotStart) {
  Win32Processes procs;
  Win32System sys;
  EXPECT_EQ(procs.StartCaptured(sys.GetSystemDirectory() + "\\no-such-program.exe", "x"), nullptr);
}

// A child that cannot end before we read: it fills the pipe with a file larger than the
// pipe's buffer.
class BlockedChildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "velmora-pipe-filler-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    FILE* f = std::fopen(path_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::string line(1023, 'x');
    line += '\n';
    for (int i = 0; i < 256; ++i) std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
    child_ = procs_.StartCaptured(Cmd(), "cmd.exe /c type \"" + path_ + "\"");
    ASSERT_NE(child_, nullptr);
  }
  void TearDown() override {
    // Drain to the end of data, so the child can end and let go of the file.
    std::vector<uint8_t> buf(65536);
    while (child_ && child_->Read(buf.data(), 65536) > 0) {
    }
    if (child_) child_->Wait(5000, [] {});
    child_.reset();
    DeleteFileA(path_.c_str());
  }
  Win32Processes procs_;
  std::unique_ptr<IChildProcess> child_;
  std::string path_;
};

TEST_F(BlockedChildTest, MessagesThatArriveDuringTheWaitAreDispatchedAtOnce) {
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 7, 0, 0);
  std::vector<UINT> seen;
  bool ended = child_->Wait(300, [&] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) seen.push_back(msg.message);
  });
  EXPECT_FALSE(ended) << "the child waits for us to read";
  EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_APP + 7)), seen.end());
}

TEST_F(BlockedChildTest, AQuitRequestIsLeftForTheMainLoop) {
  PostQuitMessage(7);
  int dispatches = 0;
  EXPECT_FALSE(child_->Wait(100, [&] { ++dispatches; }));
  EXPECT_EQ(dispatches, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(Win32Volumes, DriveC) {
  Win32Volumes vol;
  EXPECT_NE(vol.GetLogicalDrives() & (1u << 2), 0u);
  EXPECT_EQ(vol.GetDriveType("C:\\"), DRIVE_FIXED_);
  VolumeInformation vi;
  ASSERT_TRUE(vol.GetVolumeInformation("C:\\", vi));
  EXPECT_FALSE(vi.fileSystemName.empty());
  ASSERT_TRUE(vol.HasDiskFreeSpaceEx());
  DiskFreeSpace fs;
  ASSERT_TRUE(vol.GetDiskFreeSpaceEx("C:\\", fs));
  EXPECT_GT(fs.totalBytes, 0u);
  EXPECT_LE(fs.totalFreeBytes, fs.totalBytes);
  DiskFreeSpaceClusters cl;
  ASSERT_TRUE(vol.GetDiskFreeSpace("C:\\", cl));
  EXPECT_GT(cl.bytesPerSector, 0u);
  EXPECT_EQ(vol.GetDriveType("C:\\no-such-dir\\"), DRIVE_NO_ROOT_DIR_);
  VolumeInformation untouched;
  untouched.volumeName = "keep";
  EXPECT_FALSE(vol.GetVolumeInformation("C:\\no-such-dir\\", untouched));
  EXPECT_EQ(untouched.volumeName, "keep");
  const uint32_t old = vol.SetErrorMode(SEM_FAILCRITICALERRORS_);
  EXPECT_EQ(vol.SetErrorMode(old), SEM_FAILCRITICALERRORS_);
}

TEST(Win32System, Facts) {
  Win32System sys;
  OsVersionInfo v;
  ASSERT_TRUE(sys.GetVersionEx(v));
  EXPECT_EQ(v.platformId, VER_PLATFORM_WIN32_NT_);
  std::string name;
  ASSERT_TRUE(sys.GetComputerName(name));
  EXPECT_FALSE(name.empty());
  ASSERT_TRUE(sys.GetUserName(name));
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find('\0'), std::string::npos);
  const std::string exe = sys.GetModuleFileName();
  EXPECT_TRUE(sys.FileExists(exe)) << exe;
  EXPECT_FALSE(sys.FileExists(sys.GetWindowsDirectory()));  // a folder is not a file
  std::vector<ProcessorTimes> times;
  ASSERT_TRUE(sys.QueryProcessorTimes(times));
  uint8_t count = 0;
  ASSERT_TRUE(sys.NtQueryProcessorCount(count));
  EXPECT_EQ(times.size(), count);
  int64_t now = 0;
  ASSERT_TRUE(sys.NtQueryCurrentTime(now));
  EXPECT_GT(now, 0);
  EXPECT_FALSE(sys.SysErrorMessage(2).empty());
  EXPECT_EQ(sys.GetTempPath().back(), '\\');
  EXPECT_FALSE(sys.GetEnvironmentStrings().empty());
}

TEST(Win32Sockets, HostName) {
  Win32Sockets s;
  ASSERT_TRUE(s.Startup());
  std::string host;
  EXPECT_TRUE(s.GetHostName(host));
  EXPECT_FALSE(host.empty());
  s.Cleanup();
}

}  // namespace
}  // namespace vsi
