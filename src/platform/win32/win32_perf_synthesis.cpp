// Wine answers HKEY_PERFORMANCE_DATA "238" with a valid block that holds no objects at all, so
// the CPU slot would only ever show the "Processor" error. Where the real answer lacks the
// processor object, the registry layer builds the block the system would have given: object
// 238 with counter 6 (PERF_100NSEC_TIMER_INV, whose raw value is the time the processor spent
// idle, in 100-ns units), one instance per processor and a "_Total" instance holding their mean,
// stamped with the current system time. On Windows the real answer is passed on unchanged.
#include "platform/win32/win32_api.h"

#include <cstring>
#include <string>

#include "platform/win32/win32_internal.h"

namespace vsi::win32 {

namespace {

// ntdll is loaded in every process: nothing is loaded by name here.
HMODULE Ntdll() { return GetModuleHandleA("ntdll.dll"); }

template <class T>
void Put(std::vector<uint8_t>& b, size_t at, const T& v) {
  std::memcpy(b.data() + at, &v, sizeof v);
}

}  // namespace

NtQuerySystemInformationFn NtQuerySystemInformationFunction() {
  HMODULE ntdll = Ntdll();
  return ntdll ? reinterpret_cast<NtQuerySystemInformationFn>(
                     reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")))
               : nullptr;
}

bool QueryProcessorTimes(std::vector<ProcessorTimes>& out) {
  NtQuerySystemInformationFn query = NtQuerySystemInformationFunction();
  if (!query) return false;
  SYSTEM_INFO si;
  ::GetSystemInfo(&si);
  ULONG count = si.dwNumberOfProcessors ? si.dwNumberOfProcessors : 1;
  std::vector<SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION> info(count);
  ULONG returned = 0;
  LONG status = query(8, info.data(), static_cast<ULONG>(info.size() * sizeof info[0]), &returned);
  if (status != 0) return false;
  const size_t n = returned / sizeof info[0];
  out.clear();
  for (size_t i = 0; i < n && i < info.size(); ++i) {
    out.push_back(ProcessorTimes{info[i].IdleTime.QuadPart, info[i].KernelTime.QuadPart, info[i].UserTime.QuadPart});
  }
  return !out.empty();
}

bool PerfDataHasObject(const uint8_t* data, uint32_t size, uint32_t objectTitleIndex) {
  if (!data || size < sizeof(PERF_DATA_BLOCK)) return false;
  PERF_DATA_BLOCK block;
  std::memcpy(&block, data, sizeof block);
  size_t at = block.HeaderLength;
  for (DWORD i = 0; i < block.NumObjectTypes; ++i) {
    if (at > size || size - at < sizeof(PERF_OBJECT_TYPE)) return false;
    PERF_OBJECT_TYPE obj;
    std::memcpy(&obj, data + at, sizeof obj);
    if (obj.ObjectNameTitleIndex == objectTitleIndex) return true;
    if (obj.TotalByteLength < sizeof(PERF_OBJECT_TYPE)) return false;
    at += obj.TotalByteLength;
  }
  return false;
}

bool RunningOnWine() {
  HMODULE ntdll = Ntdll();
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool SynthesizeProcessorPerfData(std::vector<uint8_t>& out) {
  std::vector<ProcessorTimes> times;
  if (!QueryProcessorTimes(times)) return false;

  struct Instance {
    std::u16string name;
    LONGLONG idle;
  };
  std::vector<Instance> instances;
  LONGLONG sum = 0;
  for (size_t i = 0; i < times.size(); ++i) {
    std::u16string name;
    for (char c : std::to_string(i)) name += static_cast<char16_t>(c);
    instances.push_back({name, times[i].idleTime});
    sum += times[i].idleTime;
  }
  instances.push_back({u"_Total", sum / static_cast<LONGLONG>(times.size())});

  LARGE_INTEGER perfTime, perfFreq;
  QueryPerformanceCounter(&perfTime);
  QueryPerformanceFrequency(&perfFreq);
  FILETIME now100ns;
  GetSystemTimeAsFileTime(&now100ns);
  SYSTEMTIME now;
  FileTimeToSystemTime(&now100ns, &now);  // the same instant as PerfTime100nSec

  constexpr DWORD kCounterBlockLength = 16;  // PERF_COUNTER_BLOCK, padding, one 64-bit value
  std::vector<uint8_t> b(sizeof(PERF_DATA_BLOCK) + sizeof(PERF_OBJECT_TYPE) + sizeof(PERF_COUNTER_DEFINITION), 0);

  PERF_DATA_BLOCK block{};
  std::memcpy(block.Signature, L"PERF", 8);
  block.LittleEndian = 1;
  block.Version = PERF_DATA_VERSION;
  block.Revision = PERF_DATA_REVISION;
  block.HeaderLength = sizeof(PERF_DATA_BLOCK);
  block.NumObjectTypes = 1;
  block.DefaultObject = 238;
  block.SystemTime = now;
  block.PerfTime = perfTime;
  block.PerfFreq = perfFreq;
  block.PerfTime100nSec.LowPart = now100ns.dwLowDateTime;
  block.PerfTime100nSec.HighPart = static_cast<LONG>(now100ns.dwHighDateTime);

  const size_t objAt = sizeof(PERF_DATA_BLOCK);
  PERF_OBJECT_TYPE obj{};
  obj.DefinitionLength = sizeof(PERF_OBJECT_TYPE) + sizeof(PERF_COUNTER_DEFINITION);
  obj.HeaderLength = sizeof(PERF_OBJECT_TYPE);
  obj.ObjectNameTitleIndex = 238;
  obj.ObjectHelpTitleIndex = 239;
  obj.DetailLevel = PERF_DETAIL_NOVICE;
  obj.NumCounters = 1;
  obj.DefaultCounter = 0;
  obj.NumInstances = static_cast<LONG>(instances.size());
  obj.CodePage = 0;  // instance names in UTF-16
  obj.PerfTime = perfTime;
  obj.PerfFreq = perfFreq;

  PERF_COUNTER_DEFINITION def{};
  def.ByteLength = sizeof(PERF_COUNTER_DEFINITION);
  def.CounterNameTitleIndex = 6;
  def.CounterHelpTitleIndex = 7;
  def.DetailLevel = PERF_DETAIL_NOVICE;
  def.CounterType = PERF_100NSEC_TIMER_INV;
  def.CounterSize = 8;
  def.CounterOffset = 8;
  Put(b, objAt + sizeof(PERF_OBJECT_TYPE), def);

  for (const auto& in : instances) {
    const DWORD nameBytes = static_cast<DWORD>((in.name.size() + 1) * sizeof(char16_t));
    const DWORD length = (sizeof(PERF_INSTANCE_DEFINITION) + nameBytes + 7) & ~DWORD(7);
    const size_t at = b.size();
    b.resize(at + length + kCounterBlockLength, 0);
    PERF_INSTANCE_DEFINITION head{};
    head.ByteLength = length;
    head.UniqueID = PERF_NO_UNIQUE_ID;
    head.NameOffset = sizeof(PERF_INSTANCE_DEFINITION);
    head.NameLength = nameBytes;
    Put(b, at, head);
    std::memcpy(b.data() + at + sizeof(PERF_INSTANCE_DEFINITION), in.name.data(), in.name.size() * sizeof(char16_t));
    Put(b, at + length, kCounterBlockLength);  // PERF_COUNTER_BLOCK.ByteLength
    Put(b, at + length + 8, in.idle);
  }

  obj.TotalByteLength = static_cast<DWORD>(b.size() - objAt);
  Put(b, objAt, obj);
  block.TotalByteLength = static_cast<DWORD>(b.size());
  Put(b, 0, block);
  out.swap(b);
  return true;
}

}  // namespace vsi::win32
