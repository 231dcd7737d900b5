#pragma once
// Reading the processor object out of a performance-data block (PERF_DATA_BLOCK and the
// structures that follow it), over the bytes the registry actually returned. Every offset and
// length is checked before it is followed, so a malformed block ends in an exception instead of
// a read outside the buffer or an endless walk.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace vsi::perf {

// Sizes and field offsets of the published structures (identical for 32 and 64 bits: the
// title pointers are 32-bit fields in the 64-bit layout).
constexpr uint32_t kDataBlockSize = 88;          // PERF_DATA_BLOCK
constexpr uint32_t kBlockTotalByteLength = 20;
constexpr uint32_t kBlockHeaderLength = 24;
constexpr uint32_t kBlockNumObjectTypes = 28;
constexpr uint32_t kBlockSystemTime = 36;        // SYSTEMTIME, 8 WORDs
constexpr uint32_t kObjectTypeSize = 64;         // PERF_OBJECT_TYPE
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
constexpr uint32_t kInstanceDefinitionSize = 24; // PERF_INSTANCE_DEFINITION
constexpr uint32_t kInstanceByteLength = 0;
constexpr uint32_t kInstanceNameOffset = 16;
constexpr uint32_t kInstanceNameLength = 20;
constexpr uint32_t kCounterBlockSize = 4;        // PERF_COUNTER_BLOCK: its ByteLength
constexpr int32_t kNoInstances = -1;             // PERF_NO_INSTANCES

constexpr uint32_t kProcessorObjectIndex = 238;
constexpr uint32_t kProcessorTimeCounterIndex = 6;

extern const char* const kNoProcessorObjectMessage;
extern const char* const kNoProcessorCounterMessage;

// One reading of the processor-time counter of every processor instance.
struct ProcessorSample {
  int64_t time = 0;             // the block's SystemTime, 100-ns units since 1601
  std::vector<int64_t> values;  // raw counter value of each instance, in block order
  int totalIndex = -1;          // the instance named "_Total", -1 when there is none
};

// Reads object 238 / counter 6 from data[0, size). `instanceCount` -1 reads as many instances as
// the object has; otherwise exactly that many, and an object with fewer is malformed. `out` keeps
// its capacity from call to call. Raises Exception with kNoProcessorObjectMessage when the object
// is missing or its structure does not fit, kNoProcessorCounterMessage when its counter is.
// `out` is unspecified after an exception.
void ReadProcessorSample(const uint8_t* data, size_t size, int instanceCount, ProcessorSample& out);

// SystemTimeToFileTime: false for a date or time that does not exist.
bool SystemTimeToFileTime(const SystemTime& t, int64_t& fileTime);

}  // namespace vsi::perf
