#include "probes/register.h"

#include "probes/disk_probes.h"
#include "probes/host_probe.h"
#include "probes/screen_probe.h"
#include "probes/vendor_probe.h"
#include "probes/win_info.h"

namespace vsi {

void RegisterProbeClasses() {
  RegisterClass(TAVTools::StaticClass());
  RegisterClass(TDiskInfo::StaticClass());
  RegisterClass(TOtherInfo::StaticClass());
  RegisterClass(TSystemInfo::StaticClass());
  RegisterClass(TWinInfo::StaticClass());
}

}  // namespace vsi
