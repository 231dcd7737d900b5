#pragma once
// The CPU usage sampler: on the NT family it reads the processor object of the performance data
// and measures the idle share between two samples; on the 95 family it runs the kernel's own
// CPU-usage statistic. One sampler lives in each AppContext (ctx.Service<CpuUsageSampler>()).
//
// Where the performance data cannot serve (Wine answers a block without the processor object;
// past 64 logical processors the object lists one processor group only), the kernel's idle
// time of every processor stands in for it, stamped with the system time. Which of the two is
// read is settled by the first sample that succeeds and kept from then on.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/format_settings.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "probes/perf_data.h"

namespace vsi {

class AppContext;

class CpuUsageSampler {
 public:
  // The start-up step: asks the version (raises "Can't get the Windows version"), prepares the
  // 8192-byte buffer and takes a baseline sample, so that the first sample after start-up
  // measures a real interval. A failing baseline is not an error: the next sample tries again.
  explicit CpuUsageSampler(AppContext& ctx);
  CpuUsageSampler(IRegistry& registry, ISystem& system);
  // The end step: StopCpuSampling, then the buffer goes.
  ~CpuUsageSampler();
  CpuUsageSampler(const CpuUsageSampler&) = delete;
  CpuUsageSampler& operator=(const CpuUsageSampler&) = delete;

  // One new sample: NT, a new set of counters; 95 family, a new percentage.
  void SampleCpuCounters();
  // Usage of processor instance `index` between the two latest samples (0 idle, 1 busy). Takes
  // a sample only when none exists yet. Raises "CPU index out of bounds".
  double CpuUsageFraction(int index);
  // Usage of the whole machine between the two latest samples: the "_Total" instance where the
  // data have one, else the mean over every processor instance. Samples only as above.
  double MachineUsageFraction();
  // 95 family: stops the kernel statistic. Nothing on NT or when not collecting.
  void StopCpuSampling();

  bool IsNT() const { return nt_; }
  int ProcessorCount() const { return processorCount_; }
  uint32_t BufferSize() const { return static_cast<uint32_t>(buffer_.size()); }
  bool Collecting() const { return collecting_; }

  // The buffer never grows past this: data that keep asking for more are not performance data.
  static constexpr uint32_t kMaxBufferSize = 64u << 20;

 private:
  enum class Source { Unsettled, PerfData, ProcessorTimes };
  void SampleNT();
  // Each fills scratch_ with one reading, or raises with kNoProcessorObjectMessage (or the
  // counter's message) and leaves the sampler's state as it was.
  void ReadPerfData();
  bool ReadProcessorTimes();
  // The perf data hold fewer processors than the kernel counts beyond one group of 64.
  bool PerfDataMissProcessorGroups();
  void Sample95();
  double IdleShare(int64_t idleDelta) const;
  void CheckIndex(int index);

  IRegistry& registry_;
  ISystem& system_;
  bool nt_ = false;
  std::vector<uint8_t> buffer_;
  int processorCount_ = -1;
  std::vector<int64_t> current_, previous_;
  int currentTotal_ = -1, previousTotal_ = -1;
  int64_t currentTime_ = 0, previousTime_ = 0;
  perf::ProcessorSample scratch_;
  Source source_ = Source::Unsettled;
  std::vector<ProcessorTimes> times_;
  bool collecting_ = false;
  RegKey statKey_ = 0;
  uint32_t usagePercent_ = 0;
};

// "%5.2f%%" of fraction * 100 with the decimal separator of `fs` (0.075 -> " 7.50%").
std::string FormatCpuUsage(const TFormatSettings& fs, double fraction);

// One new sample of the context's sampler, then the whole machine's usage (0 idle, 1 busy).
double SampleCpuUsage(AppContext& ctx);

// The CPU slot's text: one new sample of the context's sampler, then the whole machine's usage.
// The sampler should be made at start-up (ctx.Service<CpuUsageSampler>()); made here instead,
// its baseline is the only sample and the text is " 0.00%".
std::string CpuUsageText(AppContext& ctx);

}  // namespace vsi
