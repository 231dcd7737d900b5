#pragma once
// System facts from kernel32, user32 and ntdll, and the processor's CPUID instruction.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vsi {

constexpr uint32_t VER_PLATFORM_WIN32s_ = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS_ = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT_ = 2;

// OSVERSIONINFOA (the 148-byte form).
struct OsVersionInfo {
  uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0, platformId = 0;
  std::string csdVersion;
};

// SYSTEM_INFO.
struct SystemInfo {
  uint16_t processorArchitecture = 0;
  uint32_t pageSize = 0;
  uint64_t minimumApplicationAddress = 0, maximumApplicationAddress = 0;
  uint64_t activeProcessorMask = 0;
  uint32_t numberOfProcessors = 0;
  uint32_t processorType = 0;
  uint32_t allocationGranularity = 0;
  uint16_t processorLevel = 0, processorRevision = 0;
};

// MEMORYSTATUS / MEMORYSTATUSEX.
struct MemoryStatus {
  uint32_t memoryLoad = 0;
  uint64_t totalPhys = 0, availPhys = 0, totalPageFile = 0, availPageFile = 0;
  uint64_t totalVirtual = 0, availVirtual = 0;
};

// One processor's times from NtQuerySystemInformation class 8, in 100-ns units.
struct ProcessorTimes {
  int64_t idleTime = 0, kernelTime = 0, userTime = 0;
};

class ISystem {
 public:
  virtual ~ISystem() = default;
  virtual bool GetVersionEx(OsVersionInfo& out) = 0;
  virtual void GetSystemInfo(SystemInfo& out) = 0;
  virtual void GlobalMemoryStatus(MemoryStatus& out) = 0;
  virtual bool GlobalMemoryStatusEx(MemoryStatus& out) = 0;
  virtual bool GetComputerName(std::string& out) = 0;
  virtual bool GetUserName(std::string& out) = 0;
  virtual void GetLocalTime(SystemTime& out) = 0;
  virtual void GetSystemTime(SystemTime& out) = 0;
  virtual std::string GetCurrentDirectory() = 0;
  virtual std::string GetWindowsDirectory() = 0;
  virtual std::string GetSystemDirectory() = 0;
  // Full path of the running executable.
  virtual std::string GetModuleFileName() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  // NtQuerySystemInformation(SystemProcessorPerformanceInformation): one entry per processor.
  virtual bool QueryProcessorTimes(std::vector<ProcessorTimes>& out) = 0;
  // CPUID with the given leaf; false where the instruction is not available.
  virtual bool Cpuid(uint32_t leaf, std::array<uint32_t, 4>& eaxEbxEcxEdx) = 0;
};

}  // namespace vsi
