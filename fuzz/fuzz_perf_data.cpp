// Any bytes as the answer of the performance-data query: the processor-object reader must end
// with a sample or one of its exceptions, never read outside the bytes or loop without end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/exceptions.h"
#include "probes/perf_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Copy into a buffer of exactly `size` bytes so that the sanitizer sees any overrun.
  std::vector<uint8_t> bytes(data, data + size);
  vsi::perf::ProcessorSample sample;
  try {
    vsi::perf::ReadProcessorSample(bytes.data(), bytes.size(), -1, sample);
  } catch (const vsi::Exception&) {
  }
  // A later sample walks a fixed number of instances taken from the first one.
  const int fixed = size ? data[0] % 8 : 0;
  try {
    vsi::perf::ReadProcessorSample(bytes.data(), bytes.size(), fixed, sample);
  } catch (const vsi::Exception&) {
  }
  return 0;
}
