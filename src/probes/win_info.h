#pragma once
// TWinInfo: a component of the main window's description that holds no facts of its own.
#include "framework/component.h"

namespace vsi {

class TWinInfo : public TComponent {
  VSI_CLASS(TWinInfo)
  explicit TWinInfo(TComponent* owner) : TComponent(owner) {}
};

}  // namespace vsi
