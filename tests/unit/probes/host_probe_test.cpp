#include "probes/host_probe.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/perf_data_builder.h"
#include "framework/context.h"
#include "probes/cpu_usage.h"

namespace vsi {
namespace {

class HostProbeTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};

  TAVTools& Make() { return *new TAVTools(&root); }
};

TEST_F(HostProbeTest, ComputesEveryFact) {
  fp.system.windowsDirectory = "C:\\WINDOWS";
  fp.system.systemDirectory = "C:\\WINDOWS\\system32";
  fp.system.tempPath = "C:\\TEMP\\";
  fp.sockets.hostName = "velmora-pc";
  fp.sockets.addresses["velmora-pc"] = {"192.168.1.20"};
  fp.system.userName = "alice";
  fp.volumes.Drive('C').serial = 0x1234ABCD;
  fp.system.version = OsVersionInfo{5, 1, 2600, VER_PLATFORM_WIN32_NT_, "Service Pack 2"};

  TAVTools& t = Make();
  EXPECT_EQ(t.dirWindows(), "C:\\WINDOWS\\");
  EXPECT_EQ(t.dirWinSys(), "C:\\WINDOWS\\system32\\");
  EXPECT_EQ(t.dirTemp(), "C:\\TEMP\\");
  EXPECT_EQ(t.Version(), "1.01");
  EXPECT_EQ(t.MachineName(), "velmora-pc");
  EXPECT_EQ(t.UserName(), "alice");
  EXPECT_EQ(t.IPAddress(), "192.168.1.20 ");
  EXPECT_EQ(t.DriveNumber(), "1234ABCD");
  EXPECT_EQ(t.OSInfo(), "Windows NT 5.1 (Build 2600: Service Pack 2)");
}

TEST_F(HostProbeTest, DirectoryAlreadyEndingInBackslashIsNotDoubled) {
  fp.system.windowsDirectory = "D:\\";
  fp.system.systemDirectory = "";
  TAVTools& t = Make();
  EXPECT_EQ(t.dirWindows(), "D:\\");
  EXPECT_EQ(t.dirWinSys(), "");  // nothing read, no separator made up
}

TEST_F(HostProbeTest, AddressesAreLookedUpWhenFirstReadAndOnlyOnce) {
  TAVTools& t = Make();
  EXPECT_EQ(fp.sockets.lookups, 0);
  fp.sockets.addresses["velmora-pc"] = {"10.0.0.9"};  // what the name server says by then
  EXPECT_EQ(t.IPAddress(), "10.0.0.9 ");
  fp.sockets.addresses["velmora-pc"] = {"10.0.0.10"};
  EXPECT_EQ(GetStrProp(t, "IPAddress"), "10.0.0.9 ") << "kept, as every other fact";
  EXPECT_EQ(fp.sockets.lookups, 1);
  EXPECT_EQ(fp.sockets.startups, fp.sockets.cleanups);
}

TEST_F(HostProbeTest, TwoAddressesInResolverOrderEachFollowedByBlank) {
  fp.sockets.addresses["velmora-pc"] = {"10.0.0.7", "192.168.1.20"};
  EXPECT_EQ(Make().IPAddress(), "10.0.0.7 192.168.1.20 ");
}

TEST_F(HostProbeTest, SocketFailuresGiveEmptyTextsAndBalancedStartups) {
  struct Case {
    const char* name;
    bool startupFails, hostNameFails, resolveFails;
    const char* machine;
    const char* address;
  };
  const Case cases[] = {
      {"resolve fails", false, false, true, "velmora-pc", ""},
      {"host name fails", false, true, false, "", ""},
      {"no sockets at all", true, false, false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform p;
    p.sockets.startupFails = c.startupFails;
    p.sockets.hostNameFails = c.hostNameFails;
    p.sockets.resolveFails = c.resolveFails;
    AppContext cx(p.platform());
    TComponent owner(cx);
    TAVTools* t = new TAVTools(&owner);
    EXPECT_EQ(t->MachineName(), c.machine);
    EXPECT_EQ(t->IPAddress(), c.address);
    EXPECT_EQ(p.sockets.startups, p.sockets.cleanups);
    EXPECT_EQ(p.sockets.callsWithoutStartup, 0);
  }
}

TEST_F(HostProbeTest, FailingCallsLeaveEmptyTexts) {
  fp.system.tempPath = "";
  fp.system.userNameFails = true;
  fp.volumes.Drive('C').mediaPresent = false;
  TAVTools& t = Make();
  EXPECT_EQ(t.dirTemp(), "");
  EXPECT_EQ(t.UserName(), "");
  EXPECT_EQ(t.DriveNumber(), "");
}

TEST_F(HostProbeTest, SerialKeepsLeadingZerosAndErrorModeIsRestored) {
  fp.volumes.errorMode = 0x8000;
  fp.volumes.Drive('C').serial = 0x00000A1F;
  TAVTools& t = Make();
  EXPECT_EQ(t.DriveNumber(), "00000A1F");
  ASSERT_GE(fp.volumes.errorModeHistory.size(), 2u);
  EXPECT_EQ(fp.volumes.errorModeHistory.front(), SEM_FAILCRITICALERRORS_);
  EXPECT_EQ(fp.volumes.errorMode, 0x8000u);
}

TEST_F(HostProbeTest, ErrorModeRestoredWhenVolumeMissing) {
  fp.volumes.RemoveDrive('C');
  TAVTools& t = Make();
  EXPECT_EQ(t.DriveNumber(), "");
  EXPECT_EQ(fp.volumes.errorMode, 0u);
  EXPECT_EQ(fp.volumes.criticalErrorBoxes, 0);
}

TEST(HostProbeOSInfo, FormatsByPlatform) {
  struct Case {
    const char* name;
    OsVersionInfo v;
    const char* expected;
  };
  const Case cases[] = {
      {"NT without service pack", {5, 1, 2600, VER_PLATFORM_WIN32_NT_, ""}, "Windows NT 5.1 (Build 2600)"},
      {"NT with service pack", {6, 1, 7601, VER_PLATFORM_WIN32_NT_, "Service Pack 1"},
       "Windows NT 6.1 (Build 7601: Service Pack 1)"},
      {"95 family keeps the low word of the build", {4, 10, 0x040A08AE, VER_PLATFORM_WIN32_WINDOWS_, ""},
       "Windows 95 4.10 (Build 2222)"},
      {"95 family with extra text", {4, 90, 0x045A0BB8, VER_PLATFORM_WIN32_WINDOWS_, " A "},
       "Windows 95 4.90 (Build 3000:  A )"},
      {"other platform shows no build", {3, 11, 123, VER_PLATFORM_WIN32s_, "x"}, "Windows 3.11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(host::OSInfo(c.v), c.expected);
  }
}

TEST_F(HostProbeTest, Windows95VersionRecord) {
  fp.system.UseWindows95();
  EXPECT_EQ(Make().OSInfo(), "Windows 95 4.0 (Build 950)");
}

TEST_F(HostProbeTest, PublishedPropertiesIgnoreAssignment) {
  TAVTools& t = Make();
  const char* names[] = {"dirWindows", "dirWinSys", "dirTemp",     "Version", "MachineName",
                         "UserName",   "IPAddress", "DriveNumber", "OSInfo"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    AnsiString before = GetStrProp(t, name);
    SetProp(t, name, PropValue(AnsiString("changed")));
    EXPECT_EQ(GetStrProp(t, name), before);
  }
  EXPECT_EQ(GetStrProp(t, "MachineName"), "velmora-pc");
}

TEST_F(HostProbeTest, CpuUsageTextIsOneNewSampleOfTheContextSampler) {
  constexpr int64_t kSecond = 10'000'000;  // 100-ns units
  auto at = [](int second) { return SystemTime{2004, 3, 0, 21, 14, 30, static_cast<uint16_t>(second), 0}; };
  fp.registry.QueuePerfData(fake::ProcessorBlock(at(0), {0, 0}));
  ctx.Service<CpuUsageSampler>();  // the start-up step takes the baseline
  ctx.format().decimalSeparator = ',';
  TAVTools& t = Make();
  fp.registry.QueuePerfData(fake::ProcessorBlock(at(1), {kSecond / 2, kSecond / 4}));
  EXPECT_EQ(t.CpuUsageText(), "62,50%");
  fp.registry.QueuePerfData(fake::ProcessorBlock(at(2), {kSecond, kSecond}));
  EXPECT_EQ(t.CpuUsageText(), "37,50%");
}

}  // namespace
}  // namespace vsi
