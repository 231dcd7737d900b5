// Processor identification, the processor list from the registry and the usage measurement.
#include <gtest/gtest.h>

#include <cstring>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/strings.h"
#include "sysinfo/processor.h"

namespace vsi {
namespace {

constexpr const char* kCpuKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor";

// Brand text as leaves 0x80000002..4 hand it out, 16 bytes per leaf.
void SetBrand(fake::FakeSystem& sys, const std::string& brand) {
  char buf[48] = {};
  std::memcpy(buf, brand.data(), std::min<size_t>(brand.size(), 48));
  for (uint32_t leaf = 0; leaf < 3; ++leaf) {
    std::array<uint32_t, 4> r{};
    std::memcpy(r.data(), buf + leaf * 16, 16);
    sys.cpuid[0x80000002u + leaf] = r;
  }
}

void MakeAmd(fake::FakeSystem& sys, uint32_t highestExtended, uint32_t extEdx) {
  sys.SetCpuVendor("AuthenticAMD");
  sys.cpuid[1] = {0x00000F4A, 0, 0, 0x0183F9FF};  // family 15, model 4, stepping 10
  sys.cpuid[0x80000000u] = {highestExtended, 0, 0, 0};
  sys.cpuid[0x80000001u] = {0, 0, 0, extEdx};
}

class ProcessorTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
};

// ---------------------------------------------------------------- identification

TEST_F(ProcessorTest, IntelHasVendorFieldsAndNoBrandOrAmdFlags) {
  fp.system.cpuid[0x80000000u] = {0x80000008u, 0, 0, 0};
  fp.system.cpuid[0x80000001u] = {0, 0, 0, 0xFFFFFFFFu};
  SetBrand(fp.system, "Intel(R) Core(TM) i5");
  TSysCPUInfoObject cpu(ctx);
  EXPECT_EQ(cpu.IDString(), "GenuineIntel");
  EXPECT_EQ(cpu.CPUName(), "");
  EXPECT_EQ(cpu.Family(), 6);
  EXPECT_EQ(cpu.Model(), 10);  // base model only: 0x306A9 has extended model 3
  EXPECT_EQ(cpu.Stepping(), 9);
  EXPECT_FALSE(cpu.GetFlagByIndex(cfSysCallSysRet));
  EXPECT_FALSE(cpu.GetFlagByIndex(cfFPCondMove));
  EXPECT_FALSE(cpu.GetFlagByIndex(cfAMD3DNow));
  EXPECT_TRUE(cpu.GetFlagByIndex(cfExistCPUInfo));
}

TEST_F(ProcessorTest, LeafOneFeatureBitsTable) {
  struct Case {
    int index;
    int bit;
  } cases[] = {{cfFPU, 0},  {cfVirtualModeExtensions, 1},  {cfDebuggingExtensions, 2}, {cfPageSizeExtensions, 3},
               {cfTimeStampCounter, 4}, {cfModelSpecificRegisters, 5}, {cfMachineCheckException, 7},
               {cfCmpXchg8B, 8}, {cfAPIC, 9}, {cfMemoryTypeRangeRegisters, 12}, {cfGlobalPaging, 13},
               {cfCondMove, 15}, {cfMMX, 23}};
  for (const Case& c : cases) {
    fake::FakePlatform p;
    p.system.cpuid[1] = {0x00000633, 0, 0, 1u << c.bit};
    AppContext context(p.platform());
    TSysCPUInfoObject cpu(context);
    for (const Case& other : cases)
      EXPECT_EQ(cpu.GetFlagByIndex(other.index), other.index == c.index) << "bit " << c.bit << " flag " << other.index;
  }
}

TEST_F(ProcessorTest, FamilyShowsOnlyTheBaseField) {
  fp.system.cpuid[1] = {0x00A50F00, 0, 0, 0};  // extended family 10 in use, base family 15
  TSysCPUInfoObject cpu(ctx);
  EXPECT_EQ(cpu.Family(), 15);
  EXPECT_EQ(cpu.Model(), 0);
}

TEST_F(ProcessorTest, AmdBrandAndExtendedFlags) {
  MakeAmd(fp.system, 0x80000018u, (1u << 11) | (1u << 31));
  SetBrand(fp.system, "    AMD Athlon(tm) 64 Processor 3200+");
  TSysCPUInfoObject cpu(ctx);
  EXPECT_EQ(cpu.IDString(), "AuthenticAMD");
  EXPECT_EQ(cpu.CPUName(), "    AMD Athlon(tm) 64 Processor 3200+");  // leading blanks kept
  EXPECT_EQ(cpu.Family(), 15);
  EXPECT_EQ(cpu.Model(), 4);
  EXPECT_EQ(cpu.Stepping(), 10);
  EXPECT_TRUE(cpu.GetFlagByIndex(cfSysCallSysRet));
  EXPECT_FALSE(cpu.GetFlagByIndex(cfFPCondMove));
  EXPECT_TRUE(cpu.GetFlagByIndex(cfAMD3DNow));
}

TEST_F(ProcessorTest, AmdBrandOfFullFortyEightBytesHasNoTerminator) {
  MakeAmd(fp.system, 0x80000004u, 1u << 16);
  const std::string brand(48, 'X');
  SetBrand(fp.system, brand);
  TSysCPUInfoObject cpu(ctx);
  EXPECT_EQ(cpu.CPUName(), brand);
  EXPECT_TRUE(cpu.GetFlagByIndex(cfFPCondMove));
}

TEST_F(ProcessorTest, AmdWithoutBrandLeaves) {
  struct Case {
    const char* what;
    uint32_t highest;
    bool flagsRead;
  } cases[] = {
      {"highest leaf 0x80000001: flags, no brand", 0x80000001u, true},
      {"low byte zero: no extended leaves at all", 0x80000000u, false},
  };
  for (const Case& c : cases) {
    fake::FakePlatform p;
    MakeAmd(p.system, c.highest, 1u << 31);
    SetBrand(p.system, "AMD-K6");
    AppContext context(p.platform());
    TSysCPUInfoObject cpu(context);
    EXPECT_EQ(cpu.CPUName(), "") << c.what;
    EXPECT_EQ(cpu.GetFlagByIndex(cfAMD3DNow), c.flagsRead) << c.what;
  }
}

TEST_F(ProcessorTest, NoCpuidGivesEmptyTextsAndZeros) {
  fp.system.cpuidAvailable = false;
  TSysCPUInfoObject cpu(ctx);
  EXPECT_EQ(cpu.IDString(), "");
  EXPECT_EQ(cpu.CPUName(), "");
  EXPECT_EQ(cpu.Family(), 0);
  EXPECT_FALSE(cpu.GetFlagByIndex(cfFPU));
  EXPECT_FALSE(cpu.GetFlagByIndex(cfExistCPUInfo));
}

TEST_F(ProcessorTest, ExistCpuInfoIsAskedOnEveryReadButStoredFlagsAreNot) {
  TSysCPUInfoObject cpu(ctx);
  EXPECT_TRUE(cpu.GetFlagByIndex(cfExistCPUInfo));
  EXPECT_TRUE(cpu.GetFlagByIndex(cfFPU));
  fp.system.cpuid[1] = {0, 0, 0, 0};
  fp.system.cpuidAvailable = false;
  EXPECT_FALSE(cpu.GetFlagByIndex(cfExistCPUInfo));
  EXPECT_TRUE(cpu.GetFlagByIndex(cfFPU));
}

TEST_F(ProcessorTest, IndicesOutsideTheFamiliesAnswerNothing) {
  TSysCPUInfoObject cpu(ctx);
  CpuInfoReader reader(fp.system, cpu.Info());
  EXPECT_EQ(reader.GetTextByIndex(2), "");
  EXPECT_EQ(reader.GetIntByIndex(3), 0);
  EXPECT_FALSE(reader.GetFlagByIndex(17));
  EXPECT_FALSE(reader.GetFlagByIndex(-1));
}

TEST_F(ProcessorTest, FlagThirteenIsSpelledPerClass) {
  EXPECT_NE(TSysCPUInfoObject::StaticClass().FindProperty("SysCallAndSysRet"), nullptr);
  const PropInfo* p = TSysProcessorObject::StaticClass().FindProperty("SYSCALLandSYSRET");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->name, "SYSCALLandSYSRET");
  EXPECT_NE(TSysCPUInfoObject::StaticClass().FindProperty("TimeStampCoutner"), nullptr);
}

// ---------------------------------------------------------------- the processor object

class ProcessorObjectTest : public ProcessorTest {
 protected:
  void AddCpu(int n, const std::string& id, const std::string& vendor, int mhz) {
    std::string key = std::string(kCpuKey) + "\\" + std::to_string(n);
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, key, "Identifier", id);
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, key, "VendorIdentifier", vendor);
    if (mhz >= 0) fp.registry.SetDword(HKEY_LOCAL_MACHINE_, key, "~MHz", static_cast<uint32_t>(mhz));
  }
};

TEST_F(ProcessorObjectTest, EmptyAfterConstruction) {
  TSysProcessorObject obj(ctx);
  EXPECT_EQ(obj.Count(), 0);
  EXPECT_EQ(obj.ProcessorUsage(), 0);
  EXPECT_EQ(obj.ProcessorsInfo()->Count(), 0);
  EXPECT_EQ(obj.IDString(), "");
  EXPECT_TRUE(fp.system.sleeps.empty());
}

TEST_F(ProcessorObjectTest, ListsProcessorKeysInOrderWithoutAdministratorRights) {
  AddCpu(0, "Intel64 Family 6 Model 58 Stepping 9", "GenuineIntel", 2494);
  AddCpu(1, "Intel64 Family 6 Model 58 Stepping 9", "GenuineIntel", -1);
  AddCpu(3, "not reached: key 2 is missing", "", 1);
  // An ordinary user: full access to the machine's keys is refused.
  fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "HARDWARE", fake::KEY_SET_VALUE_);
  TSysProcessorObject obj(ctx);
  obj.Retrieve();
  ASSERT_EQ(obj.ProcessorsInfo()->Count(), 2);
  EXPECT_EQ(obj.ProcessorsInfo()->Items(0)->Identifier(), "Intel64 Family 6 Model 58 Stepping 9");
  EXPECT_EQ(obj.ProcessorsInfo()->Items(0)->VendorIdentifier(), "GenuineIntel");
  EXPECT_EQ(obj.ProcessorsInfo()->Items(0)->MHz(), 2494);
  EXPECT_EQ(obj.ProcessorsInfo()->Items(1)->MHz(), -1);  // no "~MHz" value
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
  for (const auto& rec : fp.registry.OpenLog()) EXPECT_EQ(rec.access & fake::KEY_SET_VALUE_, 0u) << rec.subKey;
}

TEST_F(ProcessorObjectTest, SecondRetrievalReplacesTheList) {
  AddCpu(0, "x86 Family 6", "GenuineIntel", 800);
  TSysProcessorObject obj(ctx);
  obj.Retrieve();
  obj.Retrieve();
  EXPECT_EQ(obj.ProcessorsInfo()->Count(), 1);
}

TEST_F(ProcessorObjectTest, WrongValueTypeRaisesAndClosesTheKey) {
  AddCpu(0, "x86 Family 6", "GenuineIntel", -1);
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, std::string(kCpuKey) + "\\0", "~MHz", "2494");
  TSysProcessorObject obj(ctx);
  try {
    obj.Retrieve();
    FAIL() << "no registry error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for '~MHz'");
  }
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(ProcessorObjectTest, RetrievalIdentifiesTheProcessor) {
  MakeAmd(fp.system, 0x80000004u, 1u << 31);
  SetBrand(fp.system, "AMD Phenom");
  TSysProcessorObject obj(ctx);
  obj.Retrieve();
  EXPECT_EQ(obj.IDString(), "AuthenticAMD");
  EXPECT_EQ(obj.CPUName(), "AMD Phenom");
  EXPECT_TRUE(obj.GetFlagByIndex(cfAMD3DNow));
}

TEST_F(ProcessorObjectTest, NtUsageTable) {
  struct Case {
    const char* what;
    uint8_t count;
    std::vector<int64_t> idle, time;
    uint8_t expected;
  } cases[] = {
      // 100 - 8e6 / 5e6 * 100 / 2 + 0.5 = 20.5: the half goes to the even neighbour.
      {"two processors, half to even", 2, {1000, 8001000}, {50000000, 55000000}, 20},
      {"one processor, a quarter idle: 75.5 goes to 76", 1, {1, 2500001}, {100, 10000100}, 76},
      {"fully idle", 1, {5, 10000005}, {0, 10000000}, 0},
      {"idle beyond the interval stays at 0", 1, {5, 20000005}, {0, 10000000}, 0},
      {"no time passed: not measured", 1, {5, 10}, {7, 7}, 255},
  };
  for (const Case& c : cases) {
    fake::FakePlatform p;
    p.system.ntProcessorCount = c.count;
    p.system.ntIdleTimes = c.idle;
    p.system.ntCurrentTimes = c.time;
    AppContext context(p.platform());
    TSysProcessorObject obj(context);
    obj.Retrieve();
    EXPECT_EQ(obj.Count(), c.count) << c.what;
    EXPECT_EQ(obj.ProcessorUsage(), c.expected) << c.what;
    EXPECT_EQ(p.system.sleeps, (std::vector<uint32_t>{500, 500})) << c.what;
  }
}

TEST_F(ProcessorObjectTest, NtUsageThatCannotBeMeasured) {
  struct Case {
    const char* what;
    bool available, idleFails, timeFails;
    uint8_t count;
    size_t sleeps;
  } cases[] = {
      {"entry point missing", false, false, false, 0, 0},
      {"idle query fails", true, true, false, 4, 0},
      {"time query fails", true, false, true, 4, 0},
  };
  for (const Case& c : cases) {
    fake::FakePlatform p;
    p.system.ntAvailable = c.available;
    p.system.ntIdleFails = c.idleFails;
    p.system.ntTimeFails = c.timeFails;
    p.system.ntProcessorCount = 4;
    AppContext context(p.platform());
    TSysProcessorObject obj(context);
    obj.Retrieve();
    EXPECT_EQ(obj.ProcessorUsage(), 255) << c.what;
    EXPECT_EQ(obj.Count(), c.count) << c.what;
    EXPECT_EQ(p.system.sleeps.size(), c.sleeps) << c.what;
  }
}

TEST_F(ProcessorObjectTest, NinetyFiveUsageFromTheDynamicStatistic) {
  fp.system.UseWindows95();
  int reads = 0;
  for (const char* key : {"PerfStats\\StartStat", "PerfStats\\StatData", "PerfStats\\StopStat"})
    fp.registry.SetDynamic(HKEY_DYN_DATA_, key, "KERNEL\\CPUUsage", REG_BINARY_, [&reads] {
      ++reads;
      return Bytes{37, 0, 0, 0};
    });
  TSysProcessorObject obj(ctx);
  obj.Retrieve();
  EXPECT_EQ(obj.Count(), 1);
  EXPECT_EQ(obj.ProcessorUsage(), 37);
  EXPECT_EQ(reads, 3);
  EXPECT_TRUE(fp.system.sleeps.empty());
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(ProcessorObjectTest, NinetyFiveWithoutStatisticKeys) {
  fp.system.UseWindows95();
  fp.registry.SetBinary(HKEY_DYN_DATA_, "PerfStats\\StartStat", "KERNEL\\CPUUsage", Bytes{1, 0, 0, 0});
  TSysProcessorObject obj(ctx);  // StatData is missing
  obj.Retrieve();
  EXPECT_EQ(obj.Count(), 1);
  EXPECT_EQ(obj.ProcessorUsage(), 255);
}

TEST_F(ProcessorObjectTest, ComponentOwnsTheObjectAndRetrievesOnRefreshOnly) {
  auto* comp = new TSysProcessor(&root);
  ASSERT_NE(comp->Processor(), nullptr);
  EXPECT_EQ(comp->Processor()->OwnerComponent(), comp);
  comp->Loaded();  // AutoRetrieve false, as on the main window
  EXPECT_TRUE(fp.system.sleeps.empty());
  comp->Refresh();
  EXPECT_EQ(fp.system.sleeps.size(), 2u);
}

TEST_F(ProcessorObjectTest, ListingIncludesTheProcessorItems) {
  AddCpu(0, "x86 Family 6", "GenuineIntel", 800);
  TSysProcessorObject obj(ctx);
  obj.Retrieve();
  TStringList lines;
  obj.ListProperties(lines);
  EXPECT_NE(lines.IndexOf("ProcessorsInfo.Item[0].MHz = 800"), -1);
  EXPECT_NE(lines.IndexOf("IDString = GenuineIntel"), -1);
  EXPECT_NE(lines.IndexOf("ExistCPUInfo = True"), -1);
  EXPECT_NE(lines.IndexOf("Count = 2"), -1);
}

}  // namespace
}  // namespace vsi
