#pragma once
// Helpers shared by the Win32 implementation files (Windows builds only).
#include <cstdint>
#include <vector>

#include "platform/system.h"
#include "platform/win32/win32_api.h"

namespace vsi::win32 {

// NtQuerySystemInformation, from ntdll (loaded in every process: nothing is loaded by
// name); null when it is missing.
using NtQuerySystemInformationFn = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
NtQuerySystemInformationFn NtQuerySystemInformationFunction();

// NtQuerySystemInformation(SystemProcessorPerformanceInformation): one entry per processor.
bool QueryProcessorTimes(std::vector<ProcessorTimes>& out);

// True when the performance-data answer holds an object with this title index. Walks only the
// bytes given, and gives up on anything that does not fit.
bool PerfDataHasObject(const uint8_t* data, uint32_t size, uint32_t objectTitleIndex);

// A performance-data block with the processor object (238) and its "% Processor Time" counter
// (6), built from the kernel's processor times; false when those cannot be read.
bool SynthesizeProcessorPerfData(std::vector<uint8_t>& out);
// True under Wine (its ntdll exports wine_get_version).
bool RunningOnWine();

}  // namespace vsi::win32
