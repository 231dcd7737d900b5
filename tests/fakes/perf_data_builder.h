#pragma once
// Builds performance-data blocks (PERF_DATA_BLOCK, objects, counter definitions, instances and
// counter blocks) byte by byte, for the fake registry's HKEY_PERFORMANCE_DATA, and records where
// each structure went so that a test can break one field on purpose.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vsi::fake {

// The published layout, written here and not taken from the probe's reader: a wrong offset in
// the reader must disagree with the block, not build it the same wrong way.
namespace perf_layout {
constexpr uint32_t kDataBlockSize = 88;  // PERF_DATA_BLOCK
constexpr uint32_t kBlockTotalByteLength = 20;
constexpr uint32_t kBlockHeaderLength = 24;
constexpr uint32_t kBlockNumObjectTypes = 28;
constexpr uint32_t kBlockSystemTime = 36;  // SYSTEMTIME, 8 WORDs
constexpr uint32_t kObjectTypeSize = 64;   // PERF_OBJECT_TYPE
constexpr uint32_t kObjectTotalByteLength = 0;
constexpr uint32_t kObjectDefinitionLength = 4;
constexpr uint32_t kObjectHeaderLength = 8;
constexpr uint32_t kObjectNameTitleIndex = 12;
constexpr uint32_t kObjectNumCounters = 32;
constexpr uint32_t kObjectNumInstances = 40;
constexpr uint32_t kCounterDefinitionSize = 40;  // PERF_COUNTER_DEFINITION
constexpr uint32_t kCounterByteLength = 0;
constexpr uint32_t kCounterNameTitleIndex = 4;
constexpr uint32_t kCounterOffset = 36;
constexpr uint32_t kInstanceDefinitionSize = 24;  // PERF_INSTANCE_DEFINITION
constexpr uint32_t kInstanceByteLength = 0;
constexpr uint32_t kInstanceNameOffset = 16;
constexpr uint32_t kInstanceNameLength = 20;
constexpr int32_t kNoInstances = -1;  // PERF_NO_INSTANCES
constexpr uint32_t kProcessorObjectIndex = 238;      // "Processor"
constexpr uint32_t kProcessorTimeCounterIndex = 6;  // "% Processor Time"
}  // namespace perf_layout

struct PerfInstanceSpec {
  std::u16string name;
  int64_t value = 0;  // the value of the processor-time counter (title 6)
};

struct PerfObjectSpec {
  uint32_t titleIndex = perf_layout::kProcessorObjectIndex;
  // Counter titles in definition order; the value of title 6 comes from the instance, the
  // others get distinct filler so that reading the wrong counter shows.
  std::vector<uint32_t> counters = {142, perf_layout::kProcessorTimeCounterIndex, 144};
  std::vector<PerfInstanceSpec> instances;
  bool noInstances = false;  // PERF_NO_INSTANCES: one counter block, value `singleValue`
  int64_t singleValue = 0;
};

struct PerfBlockSpec {
  SystemTime time{2004, 3, 0, 21, 13, 30, 5, 0};
  std::vector<PerfObjectSpec> objects;
};

// Where the pieces of a built block lie.
struct PerfLayout {
  struct Object {
    size_t start = 0, firstCounter = 0;
    std::vector<size_t> counters, instances, counterBlocks;
  };
  std::vector<Object> objects;
};

inline int64_t PerfFiller(uint32_t title) { return 0x5A5A5A5A00000000ll + title; }

inline void PutU32(Bytes& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
inline void PutI64(Bytes& b, size_t at, int64_t v) { std::memcpy(b.data() + at, &v, 8); }
inline uint32_t GetU32(const Bytes& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

inline Bytes BuildPerfData(const PerfBlockSpec& spec, PerfLayout* layout = nullptr) {
  using namespace perf_layout;
  Bytes b(kDataBlockSize, 0);
  const char16_t sig[4] = {u'P', u'E', u'R', u'F'};
  std::memcpy(b.data(), sig, 8);
  PutU32(b, 8, 1);   // LittleEndian
  PutU32(b, 12, 1);  // Version
  PutU32(b, 16, 1);  // Revision
  PutU32(b, kBlockHeaderLength, kDataBlockSize);
  PutU32(b, kBlockNumObjectTypes, static_cast<uint32_t>(spec.objects.size()));
  const uint16_t st[8] = {spec.time.year, spec.time.month, spec.time.dayOfWeek, spec.time.day,
                          spec.time.hour, spec.time.minute, spec.time.second, spec.time.milliseconds};
  std::memcpy(b.data() + kBlockSystemTime, st, sizeof st);
  PerfLayout local;
  PerfLayout& lay = layout ? *layout : local;
  lay.objects.clear();

  for (const auto& o : spec.objects) {
    PerfLayout::Object ol;
    const size_t start = b.size();
    ol.start = start;
    b.resize(start + kObjectTypeSize, 0);
    PutU32(b, start + kObjectHeaderLength, kObjectTypeSize);
    PutU32(b, start + kObjectNameTitleIndex, o.titleIndex);
    PutU32(b, start + kObjectNumCounters, static_cast<uint32_t>(o.counters.size()));
    PutU32(b, start + kObjectNumInstances,
           o.noInstances ? static_cast<uint32_t>(kNoInstances) : static_cast<uint32_t>(o.instances.size()));
    ol.firstCounter = b.size();
    const uint32_t blockLength = 8 + 8 * static_cast<uint32_t>(o.counters.size());
    for (size_t k = 0; k < o.counters.size(); ++k) {
      const size_t d = b.size();
      ol.counters.push_back(d);
      b.resize(d + kCounterDefinitionSize, 0);
      PutU32(b, d + kCounterByteLength, kCounterDefinitionSize);
      PutU32(b, d + kCounterNameTitleIndex, o.counters[k]);
      PutU32(b, d + 28, 0x20570500);  // PERF_100NSEC_TIMER_INV
      PutU32(b, d + 32, 8);           // CounterSize
      PutU32(b, d + kCounterOffset, 8 + 8 * static_cast<uint32_t>(k));
    }
    PutU32(b, start + kObjectDefinitionLength, static_cast<uint32_t>(b.size() - start));
    auto counterBlock = [&](int64_t value) {
      const size_t cb = b.size();
      ol.counterBlocks.push_back(cb);
      b.resize(cb + blockLength, 0);
      PutU32(b, cb, blockLength);
      for (size_t k = 0; k < o.counters.size(); ++k) {
        PutI64(b, cb + 8 + 8 * k, o.counters[k] == kProcessorTimeCounterIndex ? value : PerfFiller(o.counters[k]));
      }
    };
    if (o.noInstances) {
      counterBlock(o.singleValue);
    } else {
      for (const auto& inst : o.instances) {
        const size_t in = b.size();
        ol.instances.push_back(in);
        const uint32_t nameBytes = static_cast<uint32_t>((inst.name.size() + 1) * 2);
        const uint32_t length = (kInstanceDefinitionSize + nameBytes + 7) & ~7u;
        b.resize(in + length, 0);
        PutU32(b, in + kInstanceByteLength, length);
        PutU32(b, in + 12, static_cast<uint32_t>(-1));  // UniqueID: none, names identify
        PutU32(b, in + kInstanceNameOffset, kInstanceDefinitionSize);
        PutU32(b, in + kInstanceNameLength, nameBytes);
        std::memcpy(b.data() + in + kInstanceDefinitionSize, inst.name.data(), inst.name.size() * 2);
        counterBlock(inst.value);
      }
    }
    PutU32(b, start + kObjectTotalByteLength, static_cast<uint32_t>(b.size() - start));
    lay.objects.push_back(std::move(ol));
  }
  PutU32(b, kBlockTotalByteLength, static_cast<uint32_t>(b.size()));
  return b;
}

// The usual answer: the processor object with instances "0", "1", ... and, if asked, "_Total"
// holding the mean of the others (as the system reports it).
inline Bytes ProcessorBlock(const SystemTime& time, const std::vector<int64_t>& idle, bool withTotal = true,
                            PerfLayout* layout = nullptr) {
  PerfBlockSpec spec;
  spec.time = time;
  PerfObjectSpec o;
  int64_t sum = 0;
  for (size_t i = 0; i < idle.size(); ++i) {
    std::u16string name;
    for (char c : std::to_string(i)) name += static_cast<char16_t>(c);
    o.instances.push_back({name, idle[i]});
    sum += idle[i];
  }
  if (withTotal && !idle.empty()) o.instances.push_back({u"_Total", sum / static_cast<int64_t>(idle.size())});
  spec.objects.push_back(o);
  return BuildPerfData(spec, layout);
}

}  // namespace vsi::fake
