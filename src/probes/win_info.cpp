#include "probes/win_info.h"

namespace vsi {

const ClassInfo& TWinInfo::StaticClass() {
  static const ClassInfo info = ClassBuilder<TWinInfo>("TWinInfo", &TComponent::StaticClass()).Creatable().Build();
  return info;
}

}  // namespace vsi
