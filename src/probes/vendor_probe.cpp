#include "probes/vendor_probe.h"

#include "framework/context.h"
#include "framework/registry_access.h"
#include "platform/platform.h"

namespace vsi {

const ClassInfo& TSystemInfo::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSystemInfo>("TSystemInfo", &TComponent::StaticClass()).Creatable().Build();
  return info;
}

AnsiString TSystemInfo::CpuVendorText() {
  // Read-only and without creating the key: an ordinary user may not write there, and
  // must still see the vendor.
  TRegistry reg(Plat().registry, HKEY_LOCAL_MACHINE_);
  if (!reg.OpenKeyReadOnly("\\Hardware\\Description\\System\\CentralProcessor\\0")) return AnsiString();
  return reg.ReadString("VendorIdentifier");
}

}  // namespace vsi
