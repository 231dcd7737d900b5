#include "probes/cpu_usage.h"

#include <algorithm>

#include "framework/context.h"
#include "framework/exceptions.h"

namespace vsi {

namespace {

constexpr uint32_t kInitialBufferSize = 8192;
// The answer's size means nothing for performance data, so the buffer doubles (from 64 KiB
// on): a big machine's block then fits after a few queries, each of which makes the system
// gather its data anew, not after thousands of small steps.
constexpr uint32_t kFirstGrowth = 64u << 10;
const char* const kStartStat = "PerfStats\\StartStat";
const char* const kStatData = "PerfStats\\StatData";
const char* const kStopStat = "PerfStats\\StopStat";
const char* const kCpuUsageValue = "KERNEL\\CPUUsage";
// The processors of one group: the legacy processor object of the performance data lists no more.
constexpr size_t kProcessorGroupSize = 64;

// Reads the 4-byte statistic; `percent` changes only when the read succeeds.
void ReadPercent(IRegistry& reg, RegKey key, uint32_t& percent) {
  uint32_t value = 0, size = sizeof value;
  if (reg.QueryValue(key, kCpuUsageValue, nullptr, reinterpret_cast<uint8_t*>(&value), size) == WinError::Success &&
      size == sizeof value) {
    percent = value;
  }
}

}  // namespace

CpuUsageSampler::CpuUsageSampler(AppContext& ctx)
    : CpuUsageSampler(ctx.platform().registry, ctx.platform().system) {}

CpuUsageSampler::CpuUsageSampler(IRegistry& registry, ISystem& system)
    : registry_(registry), system_(system), buffer_(kInitialBufferSize, 0) {
  OsVersionInfo v;
  if (!system_.GetVersionEx(v)) throw Exception("Can't get the Windows version");
  nt_ = v.platformId == VER_PLATFORM_WIN32_NT_;
  try {
    SampleCpuCounters();
  } catch (const Exception&) {
    // No baseline: the first real sample then starts from nothing, and reports its error.
  }
}

CpuUsageSampler::~CpuUsageSampler() {
  try {
    StopCpuSampling();
  } catch (...) {
  }
}

void CpuUsageSampler::SampleCpuCounters() {
  if (nt_) {
    SampleNT();
  } else {
    Sample95();
  }
}

void CpuUsageSampler::SampleNT() {
  switch (source_) {
    case Source::PerfData:
      ReadPerfData();
      break;
    case Source::ProcessorTimes:
      if (!ReadProcessorTimes()) throw Exception(perf::kNoProcessorObjectMessage);
      break;
    case Source::Unsettled:
      try {
        ReadPerfData();
      } catch (const Exception&) {
        if (!ReadProcessorTimes()) throw;  // neither can be read: the performance data's error
        source_ = Source::ProcessorTimes;
        break;
      }
      source_ = PerfDataMissProcessorGroups() && ReadProcessorTimes() ? Source::ProcessorTimes : Source::PerfData;
      break;
  }

  // Parsed in full: now the state moves, so a failure above leaves it as it was.
  const bool first = processorCount_ < 0;
  if (first) {
    processorCount_ = static_cast<int>(scratch_.values.size());
    current_.assign(scratch_.values.begin(), scratch_.values.end());
    currentTime_ = scratch_.time;
    currentTotal_ = scratch_.totalIndex;
  }
  // The first sample has nothing before it: it is its own previous one, an empty interval.
  previous_.swap(current_);
  current_.assign(scratch_.values.begin(), scratch_.values.end());
  previousTime_ = currentTime_;
  currentTime_ = scratch_.time;
  previousTotal_ = currentTotal_;
  currentTotal_ = scratch_.totalIndex;
}

void CpuUsageSampler::ReadPerfData() {
  uint32_t size = static_cast<uint32_t>(buffer_.size());
  WinError answer = registry_.QueryValue(HKEY_PERFORMANCE_DATA_, "238", nullptr, buffer_.data(), size);
  while (answer == WinError::MoreData) {
    if (buffer_.size() >= kMaxBufferSize) throw Exception(perf::kNoProcessorObjectMessage);
    buffer_.resize(std::min<size_t>(std::max<size_t>(buffer_.size() * 2, kFirstGrowth), kMaxBufferSize));
    size = static_cast<uint32_t>(buffer_.size());
    answer = registry_.QueryValue(HKEY_PERFORMANCE_DATA_, "238", nullptr, buffer_.data(), size);
  }
  // A failed query leaves nothing worth reading: the buffer still holds the previous sample,
  // which would pass for a new one. Only the bytes just returned are looked at.
  const size_t returned = answer == WinError::Success ? std::min<size_t>(size, buffer_.size()) : 0;
  perf::ReadProcessorSample(buffer_.data(), returned, processorCount_, scratch_);
}

bool CpuUsageSampler::ReadProcessorTimes() {
  if (!system_.QueryProcessorTimes(times_) || times_.empty()) return false;
  const size_t count = processorCount_ < 0 ? times_.size() : static_cast<size_t>(processorCount_);
  if (times_.size() < count) return false;
  SystemTime now;
  system_.GetSystemTime(now);
  int64_t time = 0;
  if (!perf::SystemTimeToFileTime(now, time)) return false;
  // No "_Total": the machine is the mean of every processor, whatever group it is in.
  scratch_.time = time;
  scratch_.totalIndex = -1;
  scratch_.values.clear();
  for (size_t i = 0; i < count; ++i) scratch_.values.push_back(times_[i].idleTime);
  return true;
}

bool CpuUsageSampler::PerfDataMissProcessorGroups() {
  const size_t listed = scratch_.values.size() - (scratch_.totalIndex >= 0 ? 1 : 0);
  return system_.QueryProcessorTimes(times_) && times_.size() > kProcessorGroupSize && times_.size() > listed;
}

void CpuUsageSampler::Sample95() {
  if (!collecting_) {
    ScopedRegKey start(registry_);
    if (registry_.OpenKey(HKEY_DYN_DATA_, kStartStat, KEY_ALL_ACCESS_, *start.Receive()) != WinError::Success) {
      throw Exception("Unable to start performance monitoring");
    }
    ReadPercent(registry_, start.Get(), usagePercent_);  // reading this key starts the statistic
    start.Reset();
    RegKey stat = 0;
    if (registry_.OpenKey(HKEY_DYN_DATA_, kStatData, KEY_READ_, stat) != WinError::Success) {
      // The statistic runs by now: stop it again rather than leave it running for nobody.
      ScopedRegKey stop(registry_);
      if (registry_.OpenKey(HKEY_DYN_DATA_, kStopStat, KEY_ALL_ACCESS_, *stop.Receive()) == WinError::Success) {
        ReadPercent(registry_, stop.Get(), usagePercent_);
      }
      throw Exception("Unable to read performance data");
    }
    statKey_ = stat;
    collecting_ = true;
  }
  ReadPercent(registry_, statKey_, usagePercent_);
}

void CpuUsageSampler::CheckIndex(int index) {
  if (index < 0 || index >= processorCount_) throw Exception("CPU index out of bounds");
}

double CpuUsageSampler::IdleShare(int64_t idleDelta) const {
  const int64_t interval = currentTime_ - previousTime_;
  return static_cast<double>(idleDelta) / static_cast<double>(interval);
}

double CpuUsageSampler::CpuUsageFraction(int index) {
  if (!nt_) {
    if (index != 0) throw Exception("CPU index out of bounds");
    if (!collecting_) SampleCpuCounters();
    return usagePercent_ / 100.0;
  }
  if (processorCount_ < 0) SampleCpuCounters();
  CheckIndex(index);
  if (currentTime_ == previousTime_) return 0.0;
  // Not clamped: small timing differences show as they are.
  return 1.0 - IdleShare(current_[index] - previous_[index]);
}

double CpuUsageSampler::MachineUsageFraction() {
  if (!nt_) return CpuUsageFraction(0);
  if (processorCount_ < 0) SampleCpuCounters();
  CheckIndex(0);
  if (currentTime_ == previousTime_) return 0.0;
  if (currentTotal_ >= 0 && currentTotal_ == previousTotal_) {
    return 1.0 - IdleShare(current_[currentTotal_] - previous_[currentTotal_]);
  }
  double idle = 0;
  for (int i = 0; i < processorCount_; ++i) idle += IdleShare(current_[i] - previous_[i]);
  return 1.0 - idle / processorCount_;
}

void CpuUsageSampler::StopCpuSampling() {
  if (nt_ || !collecting_) return;
  collecting_ = false;
  registry_.CloseKey(statKey_);
  statKey_ = 0;
  ScopedRegKey stop(registry_);
  if (registry_.OpenKey(HKEY_DYN_DATA_, kStopStat, KEY_ALL_ACCESS_, *stop.Receive()) == WinError::Success) {
    ReadPercent(registry_, stop.Get(), usagePercent_);  // reading this key stops the statistic
  }
}

std::string FormatCpuUsage(const TFormatSettings& fs, double fraction) {
  return FormatFixed(fs, fraction * 100.0, 5, 2) + "%";
}

double SampleCpuUsage(AppContext& ctx) {
  // A sampler made only now has just taken its baseline: a second sample a moment later would
  // measure an interval of a few milliseconds, which is noise, not usage.
  const bool started = ctx.FindService<CpuUsageSampler>() != nullptr;
  CpuUsageSampler& sampler = ctx.Service<CpuUsageSampler>();
  if (started) sampler.SampleCpuCounters();
  return sampler.MachineUsageFraction();
}

std::string CpuUsageText(AppContext& ctx) { return FormatCpuUsage(ctx.format(), SampleCpuUsage(ctx)); }

}  // namespace vsi
