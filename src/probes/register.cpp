#include "probes/register.h"

#include "probes/disk_probes.h"
#include "probes/host_probe.h"

namespace vsi {

void RegisterProbeClasses() {
  RegisterClass(TAVTools::StaticClass());
  RegisterClass(TDiskInfo::StaticClass());
  RegisterClass(TOtherInfo::StaticClass());
  RegisterClass(TSystemInfo::StaticClass());
  RegisterClass(TWinInfo::StaticClass());
}

}  // namespace vsi
