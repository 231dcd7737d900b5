#include "framework/context.h"

namespace vsi {

AppContext::AppContext(Platform platform) : platform_(platform) {
  format_ = TFormatSettings::FromLocale(platform_.locale, platform_.locale.GetUserDefaultLCID());
}

AppContext::~AppContext() {
  // Services made later may use earlier ones: release them in reverse order.
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    for (auto& [key, holder] : services_) {
      if (holder.get() == *it) {
        holder.reset();
        break;
      }
    }
  }
}

}  // namespace vsi
