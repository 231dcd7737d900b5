#pragma once
// The screen resolution for the main window (TOtherInfo).
#include "framework/component.h"

namespace vsi {

class TOtherInfo : public TComponent {
  VSI_CLASS(TOtherInfo)
  explicit TOtherInfo(TComponent* owner) : TComponent(owner) {}
  // "1024 x 768", asked anew at every call.
  AnsiString ScreenResolutionText();
};

}  // namespace vsi
