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
  // The display's real mode: the metrics are scaled down for a program the system thinks
  // unaware of the display's scale (1920 x 1080 at 150 % reads 1280 x 720).
  if (DisplayMode mode; s.EnumDisplaySettings(ENUM_CURRENT_SETTINGS_, mode) && mode.width > 0 && mode.height > 0)
    return Format("%u x %u", mode.width, mode.height);
  int width = s.GetSystemMetrics(kCxScreen);
  int height = s.GetSystemMetrics(kCyScreen);
  return Format("%d x %d", width, height);
}

}  // namespace vsi
