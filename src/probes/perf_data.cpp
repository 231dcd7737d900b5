#include "probes/perf_data.h"

#include <cstring>

#include "framework/dates.h"
#include "framework/exceptions.h"

namespace vsi::perf {

const char* const kNoProcessorObjectMessage = "Unable to locate the \"Processor\" performance object";
const char* const kNoProcessorCounterMessage = "Unable to locate the \"% of CPU usage\" performance counter";

namespace {

// A window [begin, end) of the returned bytes; every read goes through it.
struct Span {
  const uint8_t* data;
  size_t begin, end;

  bool Has(size_t offset, size_t length) const {
    return offset >= begin && offset <= end && length <= end - offset;
  }
  uint32_t U32(size_t offset) const {
    uint32_t v;
    std::memcpy(&v, data + offset, 4);
    return v;
  }
  int64_t I64(size_t offset) const {
    int64_t v;
    std::memcpy(&v, data + offset, 8);
    return v;
  }
};

[[noreturn]] void NoObject() { throw Exception(kNoProcessorObjectMessage); }
[[noreturn]] void NoCounter() { throw Exception(kNoProcessorCounterMessage); }

bool NameIsTotal(const Span& obj, size_t instance, uint32_t instanceLength) {
  static const char16_t kTotal[] = u"_Total";
  const uint32_t nameOffset = obj.U32(instance + kInstanceNameOffset);
  const uint32_t nameLength = obj.U32(instance + kInstanceNameLength);  // bytes, with the zero
  if (nameLength == 0) return false;
  // The name lies inside the instance definition; anything else is a malformed instance.
  if (nameOffset > instanceLength || nameLength > instanceLength - nameOffset) NoObject();
  const size_t chars = nameLength / 2;
  const uint8_t* p = obj.data + instance + nameOffset;
  for (size_t i = 0; i < chars; ++i) {
    char16_t c;
    std::memcpy(&c, p + 2 * i, 2);
    if (c == 0) return i == 6;
    if (i >= 6 || c != kTotal[i]) return false;
  }
  return chars == 6;
}

}  // namespace

bool SystemTimeToFileTime(const SystemTime& t, int64_t& fileTime) {
  if (t.year < 1601 || t.year > 30827 || t.day < 1 || t.day > dates::DaysInMonth(t.month, t.year)) return false;
  if (t.hour > 23 || t.minute > 59 || t.second > 59 || t.milliseconds > 999) return false;
  const int64_t days = dates::DayNumber(t.year, t.month, t.day) - dates::DayNumber(1601, 1, 1);
  const int64_t ms = ((days * 24 + t.hour) * 60 + t.minute) * 60000 + t.second * 1000 + t.milliseconds;
  fileTime = ms * 10000;
  return true;
}

void ReadProcessorSample(const uint8_t* data, size_t size, int instanceCount, ProcessorSample& out) {
  const Span block{data, 0, data ? size : 0};
  if (!block.Has(0, kDataBlockSize)) NoObject();

  // The processor object: each step must move forward by at least a whole object header and
  // stay inside the bytes we got, so the walk ends however the counts are set.
  const uint32_t numObjects = block.U32(kBlockNumObjectTypes);
  size_t obj = block.U32(kBlockHeaderLength);
  Span object{data, 0, 0};
  bool found = false;
  for (uint32_t i = 0; i < numObjects; ++i) {
    if (!block.Has(obj, kObjectTypeSize)) break;
    const uint32_t total = block.U32(obj + kObjectTotalByteLength);
    if (total < kObjectTypeSize || !block.Has(obj, total)) break;
    if (block.U32(obj + kObjectNameTitleIndex) == kProcessorObjectIndex) {
      object = Span{data, obj, obj + total};
      found = true;
      break;
    }
    obj += total;
  }
  if (!found) NoObject();

  const uint32_t definitionLength = object.U32(obj + kObjectDefinitionLength);
  const uint32_t headerLength = object.U32(obj + kObjectHeaderLength);
  if (headerLength < kObjectTypeSize || definitionLength < headerLength ||
      !object.Has(obj, definitionLength)) {
    NoObject();
  }
  const int32_t numInstances = static_cast<int32_t>(object.U32(obj + kObjectNumInstances));

  // The processor-time counter among the definitions.
  const Span definitions{data, obj + headerLength, obj + definitionLength};
  const uint32_t numCounters = object.U32(obj + kObjectNumCounters);
  size_t def = definitions.begin;
  uint32_t counterOffset = 0;
  found = false;
  for (uint32_t i = 0; i < numCounters; ++i) {
    if (!definitions.Has(def, kCounterDefinitionSize)) break;
    const uint32_t length = definitions.U32(def + kCounterByteLength);
    if (length < kCounterDefinitionSize || !definitions.Has(def, length)) break;
    if (definitions.U32(def + kCounterNameTitleIndex) == kProcessorTimeCounterIndex) {
      counterOffset = definitions.U32(def + kCounterOffset);
      found = true;
      break;
    }
    def += length;
  }
  if (!found) NoCounter();

  // Reads the 64-bit value out of the counter block at `cb`; returns the block's end.
  auto readCounterBlock = [&](size_t cb) -> size_t {
    if (!object.Has(cb, kCounterBlockSize)) NoObject();
    const uint32_t length = object.U32(cb);
    if (length < kCounterBlockSize || !object.Has(cb, length)) NoObject();
    if (counterOffset > length || length - counterOffset < 8) NoCounter();
    out.values.push_back(object.I64(cb + counterOffset));
    return cb + length;
  };

  out.values.clear();
  out.totalIndex = -1;
  size_t inst = obj + definitionLength;
  if (numInstances == kNoInstances) {
    // An object without instances carries one counter block right after its definitions.
    if (instanceCount > 1) NoObject();
    readCounterBlock(inst);
  } else {
    if (numInstances < 0) NoObject();
    const int wanted = instanceCount < 0 ? numInstances : instanceCount;
    if (numInstances < wanted) NoObject();
    // Every instance takes at least its definition and a counter block: a count that cannot
    // fit is malformed, and we learn that before reserving anything.
    const size_t room = object.end - inst;
    if (static_cast<size_t>(wanted) > room / (kInstanceDefinitionSize + kCounterBlockSize)) NoObject();
    out.values.reserve(static_cast<size_t>(wanted));
    for (int i = 0; i < wanted; ++i) {
      if (!object.Has(inst, kInstanceDefinitionSize)) NoObject();
      const uint32_t length = object.U32(inst + kInstanceByteLength);
      if (length < kInstanceDefinitionSize || !object.Has(inst, length)) NoObject();
      if (NameIsTotal(object, inst, length) && out.totalIndex < 0) out.totalIndex = i;
      inst = readCounterBlock(inst + length);
    }
  }

  SystemTime st;
  uint16_t words[8];
  std::memcpy(words, data + kBlockSystemTime, sizeof words);
  st.year = words[0];
  st.month = words[1];
  st.dayOfWeek = words[2];
  st.day = words[3];
  st.hour = words[4];
  st.minute = words[5];
  st.second = words[6];
  st.milliseconds = words[7];
  if (!SystemTimeToFileTime(st, out.time)) NoObject();
}

}  // namespace vsi::perf
