// The CPU usage sampler against the fake registry's scripted performance data and 95-family
// statistic keys.
#include "probes/cpu_usage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

#include "fakes/fake_platform.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "fakes/perf_data_builder.h"
#include "framework/context.h"
#include "framework/exceptions.h"

namespace vsi {
namespace {

using fake::BuildPerfData;
using fake::PerfBlockSpec;
using fake::PerfLayout;
using fake::PerfObjectSpec;
using fake::ProcessorBlock;

const std::string kNoObject = "Unable to locate the \"Processor\" performance object";
const std::string kNoCounter = "Unable to locate the \"% of CPU usage\" performance counter";
const std::string kBadIndex = "CPU index out of bounds";
constexpr int64_t kSecond = 10'000'000;  // in 100-ns units

// The message of the Exception `f` raises, or nothing.
std::optional<std::string> MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return std::nullopt;
}

SystemTime At(int second, int ms = 0) {
  return SystemTime{2004, 3, 0, 21, 13, 30, static_cast<uint16_t>(second), static_cast<uint16_t>(ms)};
}

class CpuUsageNT : public ::testing::Test {
 protected:
  // Queues the block for the next query.
  void Queue(const Bytes& block) { reg.QueuePerfData(block); }
  void Queue(int second, std::vector<int64_t> idle, bool withTotal = true) {
    Queue(ProcessorBlock(At(second), idle, withTotal));
  }

  fake::FakeRegistry reg;
  fake::FakeSystem sys;
  TFormatSettings fs;
};

TEST_F(CpuUsageNT, StartUpTakesTheBaselineSoTheFirstTextMeasuresTheLastSecond) {
  Queue(0, {100 * kSecond, 200 * kSecond});
  CpuUsageSampler s(reg, sys);
  EXPECT_TRUE(s.IsNT());
  EXPECT_EQ(reg.PerfDeliveries(), 1);
  EXPECT_EQ(s.ProcessorCount(), 3);  // "0", "1", "_Total"
  // One second later processor 0 idled 0.25 s, processor 1 0.75 s: the machine was half busy.
  Queue(1, {100 * kSecond + kSecond / 4, 200 * kSecond + 3 * kSecond / 4});
  s.SampleCpuCounters();
  EXPECT_EQ(FormatCpuUsage(fs, s.MachineUsageFraction()), "50.00%");
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.75);
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(1), 0.25);
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(2), 0.5);
  EXPECT_EQ(reg.PerfRequestSizes(), (std::vector<uint32_t>{8192, 8192}));
}

TEST_F(CpuUsageNT, WithoutBaselineTheFirstValueIsAnEmptyIntervalNotNearlyAHundred) {
  reg.FailPerfQuery(WinError::AccessDenied);
  sys.processorTimesFail = true;
  CpuUsageSampler s(reg, sys);  // the baseline fails quietly
  EXPECT_EQ(s.ProcessorCount(), -1);
  reg.ClearFailures();
  Queue(1, {3 * kSecond, 5 * kSecond});
  s.SampleCpuCounters();
  EXPECT_EQ(FormatCpuUsage(fs, s.MachineUsageFraction()), " 0.00%");
  EXPECT_EQ(s.CpuUsageFraction(0), 0.0);
}

TEST_F(CpuUsageNT, TotalInstanceIsUsedAloneWhereTheDataHaveOne) {
  // "_Total" moves differently from the mean of the others: the text must follow it alone.
  auto block = [](int second, int64_t a, int64_t b, int64_t total) {
    PerfBlockSpec spec;
    spec.time = At(second);
    PerfObjectSpec o;
    o.instances = {{u"0", a}, {u"_Total", total}, {u"1", b}};
    spec.objects.push_back(o);
    return BuildPerfData(spec);
  };
  Queue(block(0, 0, 0, 0));
  CpuUsageSampler s(reg, sys);
  Queue(block(1, kSecond, kSecond, kSecond / 10));
  s.SampleCpuCounters();
  EXPECT_EQ(FormatCpuUsage(fs, s.MachineUsageFraction()), "90.00%");
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.0);
}

TEST_F(CpuUsageNT, WithoutTotalTheMachineIsTheMeanOfEveryProcessor) {
  Queue(0, {0, 0, 0, 0}, /*withTotal=*/false);
  CpuUsageSampler s(reg, sys);
  Queue(2, {2 * kSecond, kSecond, 0, kSecond}, /*withTotal=*/false);  // idle 100 %, 50 %, 0 %, 50 %
  s.SampleCpuCounters();
  EXPECT_EQ(s.ProcessorCount(), 4);
  EXPECT_EQ(FormatCpuUsage(fs, s.MachineUsageFraction()), "50.00%");
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(2), 1.0);
}

TEST_F(CpuUsageNT, SameTimeStampGivesExactlyZero) {
  Queue(0, {kSecond, kSecond});
  CpuUsageSampler s(reg, sys);
  Queue(0, {2 * kSecond, kSecond});
  s.SampleCpuCounters();
  EXPECT_EQ(s.CpuUsageFraction(0), 0.0);
  EXPECT_EQ(FormatCpuUsage(fs, s.MachineUsageFraction()), " 0.00%");
}

TEST_F(CpuUsageNT, UsageIsNotClampedAndNegativeKeepsItsSign) {
  Queue(0, {0});
  CpuUsageSampler s(reg, sys);
  Queue(1, {kSecond + kSecond / 100});  // idled 1.01 s in 1 s: a timing wobble
  s.SampleCpuCounters();
  EXPECT_NEAR(s.CpuUsageFraction(0), -0.01, 1e-12);
  EXPECT_EQ(FormatCpuUsage(fs, s.CpuUsageFraction(0)), "-1.00%");
}

TEST_F(CpuUsageNT, BufferDoublesFrom64KiBUntilTheDataFitAndStaysGrown) {
  struct Case {
    const char* name;
    size_t instances;
    std::vector<uint32_t> requests;  // the first sample's queries, then the second's
  } cases[] = {
      {"fits at once", 2, {8192, 8192}},
      {"about 13 KB", 200, {8192, 65536, 65536}},
      {"about 200 KB", 3000, {8192, 65536, 131072, 262144, 262144}},
  };
  for (const Case& c : cases) {
    fake::FakeRegistry r;
    std::vector<int64_t> many(c.instances, 0);
    r.QueuePerfData(ProcessorBlock(At(0), many));
    CpuUsageSampler s(r, sys);
    r.QueuePerfData(ProcessorBlock(At(1), many));
    s.SampleCpuCounters();
    EXPECT_EQ(r.PerfRequestSizes(), c.requests) << c.name;
    EXPECT_EQ(s.BufferSize(), c.requests.back()) << c.name;
  }
}

TEST_F(CpuUsageNT, MissingObjectOrCounterRaiseTheirMessagesAndKeepTheState) {
  struct Case {
    const char* name;
    PerfBlockSpec spec;
    std::string message;
  };
  PerfBlockSpec noObject;
  noObject.time = At(5);
  noObject.objects.push_back(PerfObjectSpec{2, {10, 12}, {}, true, 7});  // "System" only
  PerfBlockSpec empty;  // as Wine answers: a block without objects
  empty.time = At(5);
  PerfBlockSpec noCounter;
  noCounter.time = At(5);
  noCounter.objects.push_back(PerfObjectSpec{238, {142, 144}, {{u"0", 1}}, false, 0});
  const Case cases[] = {
      {"other object only", noObject, kNoObject},
      {"no objects at all", empty, kNoObject},
      {"processor without counter 6", noCounter, kNoCounter},
  };
  for (const auto& c : cases) {
    fake::FakeRegistry r;
    r.QueuePerfData(ProcessorBlock(At(0), {0}));
    CpuUsageSampler s(r, sys);
    r.QueuePerfData(BuildPerfData(c.spec));
    EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), c.message) << c.name;
    // The failed sample changed nothing: the next good one measures from the baseline.
    r.QueuePerfData(ProcessorBlock(At(2), {kSecond}));
    s.SampleCpuCounters();
    EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.5) << c.name;
  }
}

TEST_F(CpuUsageNT, ObjectIsFoundBehindOthersAndCounterBehindOthers) {
  PerfBlockSpec spec;
  spec.time = At(0);
  spec.objects.push_back(PerfObjectSpec{2, {10, 12, 14}, {}, true, 99});
  spec.objects.push_back(PerfObjectSpec{230, {6}, {{u"idle", 77}}, false, 0});  // a 6 of another object
  PerfObjectSpec proc;
  proc.counters = {142, 144, 6};
  proc.instances = {{u"0", 5 * kSecond}};
  spec.objects.push_back(proc);
  Queue(BuildPerfData(spec));
  CpuUsageSampler s(reg, sys);
  EXPECT_EQ(s.ProcessorCount(), 1);
  spec.time = At(1);
  spec.objects[2].instances[0].value = 5 * kSecond + kSecond / 5;
  Queue(BuildPerfData(spec));
  s.SampleCpuCounters();
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.8);
}

TEST_F(CpuUsageNT, IndexBounds) {
  Queue(0, {0, 0});  // three instances with "_Total"
  CpuUsageSampler s(reg, sys);
  for (int bad : {-1, 3, 100}) EXPECT_EQ(MessageOf([&] { s.CpuUsageFraction(bad); }), kBadIndex) << bad;
  EXPECT_EQ(MessageOf([&] { s.CpuUsageFraction(2); }), std::nullopt);
}

TEST_F(CpuUsageNT, QueryFailureIsNotMistakenForTheStaleBuffer) {
  Queue(0, {0});
  CpuUsageSampler s(reg, sys);
  reg.FailPerfQuery(WinError::AccessDenied);
  EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), kNoObject);
}

TEST_F(CpuUsageNT, VersionFailureStopsTheStart) {
  sys.versionFails = true;
  EXPECT_EQ(MessageOf([&] { CpuUsageSampler s(reg, sys); }), "Can't get the Windows version");
  EXPECT_EQ(reg.PerfRequestSizes().size(), 0u);
}

TEST_F(CpuUsageNT, DataThatNeverFitStopGrowingAtTheLimit) {
  reg.SetPerfDataSource([] { return Bytes(CpuUsageSampler::kMaxBufferSize + 1, 0); });
  sys.processorTimesFail = true;
  CpuUsageSampler s(reg, sys);  // no baseline, but it returns
  EXPECT_EQ(s.ProcessorCount(), -1);
  EXPECT_LE(s.BufferSize(), CpuUsageSampler::kMaxBufferSize);
}

TEST(CpuUsageFormat, Table) {
  TFormatSettings en;
  TFormatSettings de;
  de.decimalSeparator = ',';
  struct Case {
    const char* name;
    const TFormatSettings& fs;
    double fraction;
    const char* text;
  } cases[] = {
      {"full", en, 1.0, "100.00%"},
      {"small gets a leading blank", en, 0.075, " 7.50%"},
      {"zero", en, 0.0, " 0.00%"},
      {"negative keeps its minus", en, -0.0123, "-1.23%"},
      {"two digits", en, 0.4567, "45.67%"},
      {"decimal comma", de, 0.075, " 7,50%"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatCpuUsage(c.fs, c.fraction), c.text) << c.name;
}

// --- Malformed blocks: every structure bounded by the bytes actually returned ---

struct Breakage {
  const char* name;
  std::function<void(Bytes&, const PerfLayout&)> apply;
  std::string message;
};

class CpuUsageMalformed : public ::testing::TestWithParam<Breakage> {};

TEST_P(CpuUsageMalformed, RaisesInsteadOfReadingOutside) {
  PerfLayout lay;
  Bytes b = ProcessorBlock(At(0), {kSecond, 2 * kSecond}, true, &lay);
  GetParam().apply(b, lay);
  perf::ProcessorSample out;
  EXPECT_EQ(MessageOf([&] { perf::ReadProcessorSample(b.data(), b.size(), -1, out); }), GetParam().message);
}

using fake::GetU32;
using fake::PutU32;
const Breakage kBreakages[] = {
    {"empty", [](Bytes& b, const PerfLayout&) { b.clear(); }, kNoObject},
    {"shorter than the block header", [](Bytes& b, const PerfLayout&) { b.resize(60); }, kNoObject},
    {"header length past the end", [](Bytes& b, const PerfLayout&) { PutU32(b, perf::kBlockHeaderLength, 0xFFFFFF00u); },
     kNoObject},
    {"object cut short", [](Bytes& b, const PerfLayout& l) { b.resize(l.objects[0].start + 30); }, kNoObject},
    {"zero-length object step with a huge count",
     [](Bytes& b, const PerfLayout& l) {
       PutU32(b, perf::kBlockNumObjectTypes, 0xFFFFFFFFu);
       PutU32(b, l.objects[0].start + perf::kObjectTotalByteLength, 0);
       PutU32(b, l.objects[0].start + perf::kObjectNameTitleIndex, 2);
     },
     kNoObject},
    {"object length past the end",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].start + perf::kObjectTotalByteLength, 0x7FFFFFFF); },
     kNoObject},
    {"definitions past the object",
     [](Bytes& b, const PerfLayout& l) {
       PutU32(b, l.objects[0].start + perf::kObjectDefinitionLength, GetU32(b, l.objects[0].start) + 8);
     },
     kNoObject},
    {"object header shorter than the object type",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].start + perf::kObjectHeaderLength, 4); }, kNoObject},
    {"zero-length counter step with a huge count",
     [](Bytes& b, const PerfLayout& l) {
       PutU32(b, l.objects[0].start + perf::kObjectNumCounters, 0xFFFFFFFFu);
       PutU32(b, l.objects[0].counters[0] + perf::kCounterByteLength, 0);
     },
     kNoCounter},
    {"counter definition past the definitions",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].counters[0] + perf::kCounterByteLength, 0x10000); },
     kNoCounter},
    {"counter offset past its block",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].counters[1] + perf::kCounterOffset, 0xFFFFFFF0u); },
     kNoCounter},
    {"counter value straddles the block end",
     [](Bytes& b, const PerfLayout& l) {
       const uint32_t len = GetU32(b, l.objects[0].counterBlocks[0]);
       PutU32(b, l.objects[0].counters[1] + perf::kCounterOffset, len - 4);
     },
     kNoCounter},
    {"huge instance count", [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].start + perf::kObjectNumInstances, 0x7FFFFFFF); },
     kNoObject},
    {"negative instance count other than none",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].start + perf::kObjectNumInstances, 0xFFFFFFFEu); },
     kNoObject},
    {"zero-length instance",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].instances[1] + perf::kInstanceByteLength, 0); },
     kNoObject},
    {"instance past the object",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].instances[2] + perf::kInstanceByteLength, 0x100000); },
     kNoObject},
    {"zero-length counter block",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].counterBlocks[0], 0); }, kNoObject},
    {"counter block past the object",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].counterBlocks[2], 0x100000); }, kNoObject},
    {"instance name outside its instance",
     [](Bytes& b, const PerfLayout& l) { PutU32(b, l.objects[0].instances[0] + perf::kInstanceNameOffset, 0x1000); },
     kNoObject},
    {"block cut inside the last instance",
     [](Bytes& b, const PerfLayout& l) {
       b.resize(l.objects[0].counterBlocks[2] + 6);
       PutU32(b, l.objects[0].start + perf::kObjectTotalByteLength, static_cast<uint32_t>(b.size() - l.objects[0].start));
     },
     kNoObject},
    {"time that does not exist", [](Bytes& b, const PerfLayout&) { b[perf::kBlockSystemTime + 2] = 13; },  // month 13
     kNoObject},
};
INSTANTIATE_TEST_SUITE_P(Blocks, CpuUsageMalformed, ::testing::ValuesIn(kBreakages),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.name; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return n;
                         });

TEST_F(CpuUsageNT, OnlyTheBytesReturnedNowAreRead) {
  // A large block first fills the buffer; the next answer is a short one whose header still
  // claims the old layout. The stale bytes behind it must not pass for data.
  PerfLayout lay;
  Queue(ProcessorBlock(At(0), {0, 0}, true, &lay));
  CpuUsageSampler s(reg, sys);
  Bytes cut = ProcessorBlock(At(1), {kSecond, kSecond});
  cut.resize(lay.objects[0].counterBlocks[1]);
  Queue(cut);
  EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), kNoObject);
}

TEST_F(CpuUsageNT, AnObjectWithoutInstancesCountsAsOneProcessor) {
  PerfBlockSpec spec;
  spec.time = At(0);
  spec.objects.push_back(PerfObjectSpec{238, {6}, {}, true, 0});
  Queue(BuildPerfData(spec));
  CpuUsageSampler s(reg, sys);
  EXPECT_EQ(s.ProcessorCount(), 1);
  spec.time = At(1);
  spec.objects[0].singleValue = kSecond / 4;
  Queue(BuildPerfData(spec));
  s.SampleCpuCounters();
  EXPECT_DOUBLE_EQ(s.MachineUsageFraction(), 0.75);
}

TEST_F(CpuUsageNT, FewerInstancesThanTheFixedCountIsMalformed) {
  Queue(0, {0, 0, 0});
  CpuUsageSampler s(reg, sys);
  Queue(1, {0});
  EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), kNoObject);
  EXPECT_EQ(s.ProcessorCount(), 4);
}

// --- Where the performance data cannot serve: the kernel's processor times ---

// Processor times that moved by `idle` per processor since zero; kernel time holds the idle time.
std::vector<ProcessorTimes> Idled(const std::vector<int64_t>& idle) {
  std::vector<ProcessorTimes> out;
  for (int64_t i : idle) out.push_back(ProcessorTimes{i, i, 0});
  return out;
}

TEST(CpuUsageSource, PerfDataWithTheProcessorObjectAreUsedElseTheKernelsTimesOnceAndForAll) {
  // Over one second the data say half busy, the kernel's times a quarter: which one is shown
  // tells the source apart.
  struct Case {
    const char* name;
    std::function<void(fake::FakeRegistry&)> data;
    std::string shown;
    size_t perfQueries;  // over the two samples: the data are not asked again once they failed
  } cases[] = {
      {"processor object",
       [](fake::FakeRegistry& r) {
         r.QueuePerfData(ProcessorBlock(At(0), {0, 0}));
         r.QueuePerfData(ProcessorBlock(At(1), {kSecond / 2, kSecond / 2}));
       },
       "50.00%", 2},
      {"a block without objects, as Wine answers",
       [](fake::FakeRegistry& r) { r.SetPerfDataSource([] { return BuildPerfData({}); }); }, "25.00%", 1},
      {"processor object without its counter",
       [](fake::FakeRegistry& r) {
         PerfBlockSpec spec;
         spec.time = At(0);
         spec.objects.push_back(PerfObjectSpec{238, {142, 144}, {{u"0", 1}}, false, 0});
         r.QueuePerfData(BuildPerfData(spec));
       },
       "25.00%", 1},
      {"query refused", [](fake::FakeRegistry& r) { r.FailPerfQuery(WinError::AccessDenied); }, "25.00%", 1},
  };
  TFormatSettings fs;
  for (const Case& c : cases) {
    fake::FakeRegistry reg;
    fake::FakeSystem sys;
    c.data(reg);
    sys.processorTimes = Idled({0, 0});
    CpuUsageSampler s(reg, sys);
    sys.AdvanceTime(1000);
    sys.processorTimes = Idled({3 * kSecond / 4, 3 * kSecond / 4});
    s.SampleCpuCounters();
    EXPECT_EQ(FormatCpuUsage(fs, s.MachineUsageFraction()), c.shown) << c.name;
    EXPECT_EQ(reg.PerfRequestSizes().size(), c.perfQueries) << c.name;
    EXPECT_EQ(s.ProcessorCount(), c.perfQueries == 2 ? 3 : 2) << c.name << ": the kernel has no \"_Total\"";
  }
}

TEST(CpuUsageSource, NeitherReadableRaisesThePerfDataErrorUntilOneOfThemReturns) {
  fake::FakeRegistry reg;
  fake::FakeSystem sys;
  reg.SetPerfDataSource([] { return BuildPerfData({}); });
  sys.processorTimesFail = true;
  CpuUsageSampler s(reg, sys);  // no baseline, quietly
  EXPECT_EQ(s.ProcessorCount(), -1);
  EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), kNoObject);
  EXPECT_EQ(MessageOf([&] { s.MachineUsageFraction(); }), kNoObject);
  // The kernel's times come back: they settle it, starting with an empty interval.
  sys.processorTimesFail = false;
  sys.processorTimes = Idled({0});
  s.SampleCpuCounters();
  EXPECT_EQ(s.MachineUsageFraction(), 0.0);
  sys.AdvanceTime(2000);
  sys.processorTimes = Idled({kSecond / 2});
  s.SampleCpuCounters();
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.75);
  // Settled on them, a failure of theirs raises and keeps the state; the data are not asked.
  const size_t queries = reg.PerfRequestSizes().size();
  sys.processorTimesFail = true;
  EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), kNoObject);
  sys.processorTimesFail = false;
  sys.AdvanceTime(2000);
  sys.processorTimes = Idled({kSecond / 2 + 2 * kSecond});
  s.SampleCpuCounters();
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.0);
  EXPECT_EQ(reg.PerfRequestSizes().size(), queries);
}

TEST(CpuUsageSource, PastOneProcessorGroupTheMachineIsEveryProcessor) {
  // The legacy processor object lists one group of at most 64 processors, its "_Total" that
  // group's mean. Over one second the data say every listed processor was a tenth busy; the
  // kernel says the first 64 idled and the others were busy.
  struct Case {
    size_t processors, listed;
    std::string shown;
  } cases[] = {
      {80, 64, "20.00%"},   // 16 of 80 busy: the kernel's times
      {64, 64, "10.00%"},   // one group: the data
      {80, 80, "10.00%"},   // data that list every group
      {128, 64, "50.00%"},  // 64 of 128
  };
  TFormatSettings fs;
  for (const Case& c : cases) {
    fake::FakeRegistry reg;
    fake::FakeSystem sys;
    reg.QueuePerfData(ProcessorBlock(At(0), std::vector<int64_t>(c.listed, 0)));
    reg.QueuePerfData(ProcessorBlock(At(1), std::vector<int64_t>(c.listed, 9 * kSecond / 10)));
    sys.processorTimes = Idled(std::vector<int64_t>(c.processors, 0));
    CpuUsageSampler s(reg, sys);
    std::vector<int64_t> idle(c.processors, 0);
    std::fill(idle.begin(), idle.begin() + 64, kSecond);
    sys.AdvanceTime(1000);
    sys.processorTimes = Idled(idle);
    s.SampleCpuCounters();
    EXPECT_EQ(FormatCpuUsage(fs, s.MachineUsageFraction()), c.shown) << c.processors << "/" << c.listed;
    if (c.processors > c.listed) {
      EXPECT_EQ(s.ProcessorCount(), static_cast<int>(c.processors));
      EXPECT_DOUBLE_EQ(s.CpuUsageFraction(static_cast<int>(c.processors) - 1), 1.0);
    }
  }
}

// --- The 95 family ---

class CpuUsage95 : public ::testing::Test {
 protected:
  CpuUsage95() {
    sys.UseWindows95();
    reg.SetDword(HKEY_DYN_DATA_, "PerfStats\\StartStat", "KERNEL\\CPUUsage", 0);
    reg.SetDynamic(HKEY_DYN_DATA_, "PerfStats\\StatData", "KERNEL\\CPUUsage", REG_DWORD_, [this] {
      Bytes b(4);
      std::memcpy(b.data(), &percent, 4);
      return b;
    });
    reg.SetDword(HKEY_DYN_DATA_, "PerfStats\\StopStat", "KERNEL\\CPUUsage", 0);
  }
  int Reads(const char* key) { return reg.ReadCount(HKEY_DYN_DATA_, key, "KERNEL\\CPUUsage"); }

  uint32_t percent = 37;
  fake::FakeRegistry reg;
  fake::FakeSystem sys;
};

TEST_F(CpuUsage95, StartsTheStatisticAtStartUpAndReadsItsPercentage) {
  CpuUsageSampler s(reg, sys);
  EXPECT_FALSE(s.IsNT());
  EXPECT_TRUE(s.Collecting());
  EXPECT_EQ(Reads("PerfStats\\StartStat"), 1);
  EXPECT_EQ(reg.OpenHandleCount(), 1);  // the statistic key, held while collecting
  // StartStat with all access, then StatData with read access only.
  ASSERT_EQ(reg.OpenLog().size(), 2u);
  EXPECT_EQ(reg.OpenLog()[0].subKey, "PerfStats\\StartStat");
  EXPECT_EQ(reg.OpenLog()[0].access, KEY_ALL_ACCESS_);
  EXPECT_EQ(reg.OpenLog()[1].subKey, "PerfStats\\StatData");
  EXPECT_EQ(reg.OpenLog()[1].access, KEY_READ_);
  percent = 64;
  s.SampleCpuCounters();
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.64);
  EXPECT_DOUBLE_EQ(s.MachineUsageFraction(), 0.64);
  EXPECT_EQ(Reads("PerfStats\\StartStat"), 1);  // started once
  EXPECT_EQ(reg.PerfRequestSizes().size(), 0u);
}

TEST_F(CpuUsage95, IndexOtherThanZeroIsOutOfBounds) {
  sys.systemInfo.numberOfProcessors = 4;
  CpuUsageSampler s(reg, sys);
  for (int bad : {1, -1, 3}) EXPECT_EQ(MessageOf([&] { s.CpuUsageFraction(bad); }), kBadIndex) << bad;
}

TEST_F(CpuUsage95, StopClosesTheKeyAndReadsStopStatAndALaterSampleStartsAgain) {
  CpuUsageSampler s(reg, sys);
  s.StopCpuSampling();
  EXPECT_FALSE(s.Collecting());
  EXPECT_EQ(reg.OpenHandleCount(), 0);
  EXPECT_EQ(Reads("PerfStats\\StopStat"), 1);
  s.StopCpuSampling();  // not collecting: nothing
  EXPECT_EQ(Reads("PerfStats\\StopStat"), 1);
  percent = 12;
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.12);  // samples first, starting the statistic again
  EXPECT_EQ(Reads("PerfStats\\StartStat"), 2);
}

TEST_F(CpuUsage95, EndStepStopsTheStatistic) {
  { CpuUsageSampler s(reg, sys); }
  EXPECT_EQ(Reads("PerfStats\\StopStat"), 1);
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST_F(CpuUsage95, StartAndStatisticKeysThatDoNotOpen) {
  reg.DenyAccess(HKEY_DYN_DATA_, "PerfStats\\StartStat");
  CpuUsageSampler s(reg, sys);
  EXPECT_FALSE(s.Collecting());
  EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), "Unable to start performance monitoring");
  reg.ClearFailures();
  reg.DenyAccess(HKEY_DYN_DATA_, "PerfStats\\StatData");
  EXPECT_EQ(MessageOf([&] { s.SampleCpuCounters(); }), "Unable to read performance data");
  EXPECT_FALSE(s.Collecting());
  EXPECT_EQ(reg.OpenHandleCount(), 0);
  EXPECT_EQ(Reads("PerfStats\\StopStat"), 1);  // the started statistic was stopped again
}

TEST_F(CpuUsage95, FailedReadKeepsThePreviousPercentage) {
  CpuUsageSampler s(reg, sys);
  percent = 50;
  s.SampleCpuCounters();
  reg.FailValueRead(HKEY_DYN_DATA_, "PerfStats\\StatData", "KERNEL\\CPUUsage");
  percent = 90;
  s.SampleCpuCounters();
  EXPECT_DOUBLE_EQ(s.CpuUsageFraction(0), 0.5);
}

// --- Through the context, as the CPU slot asks ---

TEST(CpuUsageText, OneSampleOfTheContextSamplerInTheContextFormat) {
  fake::FakePlatform fp;
  fp.registry.QueuePerfData(ProcessorBlock(At(0), {0, 0}));
  AppContext ctx(fp.platform());
  ctx.Service<CpuUsageSampler>();  // the start-up step
  ctx.format().decimalSeparator = ',';
  fp.registry.QueuePerfData(ProcessorBlock(At(1), {kSecond / 2, kSecond / 4}));
  EXPECT_EQ(CpuUsageText(ctx), "62,50%");
  fp.registry.QueuePerfData(ProcessorBlock(At(2), {kSecond, kSecond}));
  EXPECT_EQ(CpuUsageText(ctx), "37,50%");
  EXPECT_EQ(fp.registry.PerfDeliveries(), 3);
}

TEST(CpuUsageText, SamplerMadeByTheFirstTextReportsAnEmptyInterval) {
  fake::FakePlatform fp;
  fp.registry.QueuePerfData(ProcessorBlock(At(0), {0, 0}));
  fp.registry.QueuePerfData(ProcessorBlock(At(0, 3), {kSecond, 0}));  // 3 ms later: noise
  AppContext ctx(fp.platform());
  EXPECT_EQ(CpuUsageText(ctx), " 0.00%");
  EXPECT_EQ(fp.registry.PerfDeliveries(), 1);
}

}  // namespace
}  // namespace vsi
