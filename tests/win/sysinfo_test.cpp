// The system-information components on the real system (run under Wine): what they read must
// match what the registry tool and the Win32 calls report.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/context.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"
#include "real_platform.h"
#include "sysinfo/general_info.h"
#include "sysinfo/processor.h"
#include "sysinfo/system_info.h"
#include "sysinfo/windows_version.h"

namespace vsi {
namespace {

constexpr const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kCpu0Key = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

// A value as the registry tool prints it: "    Name    REG_SZ    data". Empty when the tool
// does not list it.
std::string RegToolQuery(const std::string& key, const std::string& value) {
  std::string command = "reg query \"HKLM\\" + key + "\" /v " + value + " 2>NUL";
  FILE* pipe = _popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  _pclose(pipe);
  const std::string marker = "REG_SZ";
  size_t at = out.find(marker);
  if (at == std::string::npos) return {};
  size_t start = out.find_first_not_of(" \t", at + marker.size());
  size_t end = out.find_first_of("\r\n", start);
  return start == std::string::npos ? std::string() : out.substr(start, end - start);
}

std::string RegApiQuery(const char* key, const char* value) {
  char data[512] = {};
  DWORD size = sizeof data - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return {};
  return data;
}

class SysinfoWin32Test : public ::testing::Test, protected RealPlatform<> {};

TEST_F(SysinfoWin32Test, WindowsObjectMatchesRegistryAndVersionRecord) {
  auto* comp = new TSysWindows(&root);
  comp->SetAutoRetrieve(true);
  comp->Loaded();
  const TSysWindowsObject& w = *comp->Windows();

  const std::string product = RegApiQuery(kVersionKey, "ProductName");
  ASSERT_FALSE(product.empty());
  EXPECT_EQ(w.ProductName(), product);
  EXPECT_EQ(w.ProductName(), RegToolQuery(kVersionKey, "ProductName"));
  EXPECT_EQ(w.RegisteredOwner(), RegApiQuery(kVersionKey, "RegisteredOwner"));

  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionExA(&v));
  EXPECT_EQ(w.CSDVersion(), v.szCSDVersion);
  EXPECT_EQ(w.MajorVersion(), v.dwMajorVersion);
  EXPECT_EQ(w.MinorVersion(), v.dwMinorVersion);
  EXPECT_EQ(w.BuildNumber(), v.dwBuildNumber);
  EXPECT_EQ(w.PlatformID(), 2u);
}

TEST_F(SysinfoWin32Test, GeneralInformationMatchesTheSystem) {
  auto* info = new TSysInfo(&root);
  SYSTEM_INFO si{};
  GetSystemInfo(&si);
  EXPECT_EQ(info->ProcessorType(), ProcessorTypeText(si.dwProcessorType));
  EXPECT_EQ(info->ProcessorNumber(), static_cast<uint8_t>(si.dwNumberOfProcessors));

  const std::string load = info->MemoryLoaded();
  int percent = -1;
  char sign = 0;
  ASSERT_EQ(std::sscanf(load.c_str(), "%d %c", &percent, &sign), 2) << load;
  EXPECT_EQ(sign, '%');
  EXPECT_EQ(load, std::to_string(percent) + " %");
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof ms;
  ASSERT_TRUE(GlobalMemoryStatusEx(&ms));
  EXPECT_NEAR(percent, static_cast<int>(ms.dwMemoryLoad), 10);

  char name[256] = {};
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerNameA(name, &size));
  EXPECT_EQ(info->GetTextByIndex(tiComputername), name);
  size = sizeof name;
  ASSERT_TRUE(GetUserNameA(name, &size));
  EXPECT_EQ(info->GetTextByIndex(tiCurrentUser), name);
  GetWindowsDirectoryA(name, sizeof name);
  EXPECT_EQ(info->GetTextByIndex(tiWinPath), name);
  const std::string temp = info->GetTextByIndex(tiTempPath);
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_EQ(info->GetTextByIndex(tiPlatform), "Windows NT");
  EXPECT_EQ(info->GetTextByIndex(tiFreeGdiRes), "0 %");
  EXPECT_EQ(info->GetTextByIndex(tiRegisteredOwner), RegApiQuery(kVersionKey, "RegisteredOwner"));

  TIME_ZONE_INFORMATION tz{};
  if (GetTimeZoneInformation(&tz) != TIME_ZONE_ID_INVALID) {
    EXPECT_EQ(info->GetIntegerByIndex(iiTimeZoneDiff), tz.Bias);
  }
  EXPECT_EQ(info->GetIntegerByIndex(iiScreenWidth), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(info->GetFlagByIndex(fiNumLockState), (GetKeyState(VK_NUMLOCK) & 0xFF) == 1);
  char decimal[8] = {};
  ASSERT_GT(GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, decimal, sizeof decimal), 0);
  EXPECT_EQ(info->GetLocaleByIndex(15), decimal);
}

TEST_F(SysinfoWin32Test, ProcessorVendorMatchesRegistryAndCpuid) {
  const std::string vendor = RegApiQuery(kCpu0Key, "VendorIdentifier");
  ASSERT_FALSE(vendor.empty());
  EXPECT_EQ(vendor, RegToolQuery(kCpu0Key, "VendorIdentifier"));

  auto* info = new TSysInfo(&root);
  EXPECT_EQ(info->ProcessorInfo()->IDString(), vendor);
  EXPECT_TRUE(info->ProcessorInfo()->GetFlagByIndex(cfExistCPUInfo));
  EXPECT_TRUE(info->ProcessorInfo()->GetFlagByIndex(cfFPU));

  auto* proc = new TSysProcessor(&root);
  proc->Refresh();  // blocks for about a second
  const TSysProcessorObject& p = *proc->Processor();
  ASSERT_GE(p.ProcessorsInfo()->Count(), 1);
  EXPECT_EQ(p.ProcessorsInfo()->Items(0)->VendorIdentifier(), vendor);
  EXPECT_EQ(p.ProcessorsInfo()->Items(0)->Identifier(), RegApiQuery(kCpu0Key, "Identifier"));
  SYSTEM_INFO si{};
  GetSystemInfo(&si);
  EXPECT_EQ(p.Count(), static_cast<uint8_t>(si.dwNumberOfProcessors));
  EXPECT_TRUE(p.ProcessorUsage() <= 100 || p.ProcessorUsage() == 255) << int(p.ProcessorUsage());
  EXPECT_EQ(p.IDString(), vendor);
}

TEST_F(SysinfoWin32Test, AggregateRetrievesWithoutErrors) {
  auto* all = new TSysSystemInfo(&root);
  ASSERT_NO_THROW(all->Refresh());
  EXPECT_EQ(all->Windows()->ProductName(), RegApiQuery(kVersionKey, "ProductName"));
  EXPECT_GT(all->Memory()->PhysicalTotal(), 0);
  EXPECT_FALSE(all->FontsInfo()->Fonts()->Count() == 0);
}

}  // namespace
}  // namespace vsi
