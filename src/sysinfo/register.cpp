#include "sysinfo/register.h"

#include "framework/reflection.h"
#include "sysinfo/general_info.h"
#include "sysinfo/processor.h"
#include "sysinfo/sysinfo_base.h"
#include "sysinfo/system_info.h"
#include "sysinfo/windows_version.h"

namespace vsi {

void RegisterSysinfoClasses() {
  RegisterClass(TSysLog::StaticClass());
  RegisterClass(TSysInfo::StaticClass());
  RegisterClass(TSysWindows::StaticClass());
  RegisterClass(TSysProcessor::StaticClass());
  RegisterClass(TSysSystemInfo::StaticClass());
}

}  // namespace vsi
