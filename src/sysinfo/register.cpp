#include "sysinfo/register.h"

#include "framework/reflection.h"
#include "sysinfo/drive.h"
#include "sysinfo/general_info.h"
#include "sysinfo/processor.h"
#include "sysinfo/start_objects.h"
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
  RegisterClass(TSysDisplay::StaticClass());
  RegisterClass(TSysNetwork::StaticClass());
  RegisterClass(TSysDrive::StaticClass());
  RegisterClass(TSysKeyboard::StaticClass());
  RegisterClass(TSysLocale::StaticClass());
}

}  // namespace vsi
