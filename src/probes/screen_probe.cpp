#include "probes/screen_probe.h"

#include "framework/context.h"
#include "framework/strings.h"
#include "platform/platform.h"

namespace vsi {

const ClassInfo& TOtherInfo::StaticClass() {
  static const ClassInfo info = ClassBuilder<TOtherInfo>("TOtherInfo", &TComponent::StaticClass()).Creatable().Build();
  return info;
}

AnsiString TOtherInfo::ScreenResolutionText() {
  constexpr int kCxScreen = 0, kCyScreen = 1;  // SM_CXSCREEN, SM_CYSCREEN
  ISystem& s = Plat().system;
  int width = s.GetSystemMetrics(kCxScreen);
  int height = s.GetSystemMetrics(kCyScreen);
  return Format("%d x %d", width, height);
}

}  // namespace vsi
