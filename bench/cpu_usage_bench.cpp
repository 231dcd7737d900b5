// One tick of the CPU slot against the fake: query, walk of the processor object, arithmetic
// and formatting. The buffer and counter arrays are reused, so no tick should allocate much.
#include <benchmark/benchmark.h>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "fakes/perf_data_builder.h"
#include "probes/cpu_usage.h"

namespace {

void BM_CpuUsageTick(benchmark::State& state) {
  const int processors = static_cast<int>(state.range(0));
  vsi::fake::FakeRegistry reg;
  vsi::fake::FakeSystem sys;
  std::vector<int64_t> idle(static_cast<size_t>(processors), 0);
  int64_t ms = 0;
  reg.SetPerfDataSource([&] {
    ms += 1000;
    for (size_t i = 0; i < idle.size(); ++i) idle[i] += 2'500'000 + static_cast<int64_t>(i) * 1000;
    return vsi::fake::ProcessorBlock(vsi::fake::FromMilliseconds(ms + 12'000'000'000'000ll), idle);
  });
  vsi::CpuUsageSampler sampler(reg, sys);
  vsi::TFormatSettings fs;
  for (auto _ : state) {
    sampler.SampleCpuCounters();
    std::string text = vsi::FormatCpuUsage(fs, sampler.MachineUsageFraction());
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_CpuUsageTick)->Arg(1)->Arg(8)->Arg(64);

// The walk alone over a ready block.
void BM_ReadProcessorSample(benchmark::State& state) {
  std::vector<int64_t> idle(static_cast<size_t>(state.range(0)), 1234);
  const vsi::Bytes block = vsi::fake::ProcessorBlock(vsi::SystemTime{2004, 3, 0, 21, 13, 30, 5, 0}, idle);
  vsi::perf::ProcessorSample sample;
  for (auto _ : state) {
    vsi::perf::ReadProcessorSample(block.data(), block.size(), -1, sample);
    benchmark::DoNotOptimize(sample.values.data());
  }
}
BENCHMARK(BM_ReadProcessorSample)->Arg(8)->Arg(64);

// The sampler's start against a big machine's block: the buffer grows from its first size
// until the block fits, one query per step. Reports the queries made.
void BM_CpuUsageStartOnALargeBlock(benchmark::State& state) {
  std::vector<int64_t> idle(static_cast<size_t>(state.range(0)), 1234);
  const vsi::Bytes block = vsi::fake::ProcessorBlock(vsi::SystemTime{2004, 3, 0, 21, 13, 30, 5, 0}, idle);
  vsi::fake::FakeSystem sys;
  size_t queries = 0;
  for (auto _ : state) {
    vsi::fake::FakeRegistry reg;
    reg.SetPerfDataSource([&] { return block; });
    vsi::CpuUsageSampler sampler(reg, sys);
    queries = reg.PerfRequestSizes().size();
    benchmark::DoNotOptimize(sampler.BufferSize());
  }
  state.counters["queries"] = static_cast<double>(queries);
  state.counters["block_bytes"] = static_cast<double>(block.size());
}
BENCHMARK(BM_CpuUsageStartOnALargeBlock)->Arg(256)->Arg(4096)->Unit(benchmark::kMicrosecond);

}  // namespace
