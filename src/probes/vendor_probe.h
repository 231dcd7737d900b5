#pragma once
// The processor vendor for the main window (TSystemInfo), as the registry names it.
#include "framework/component.h"

namespace vsi {

class TSystemInfo : public TComponent {
  VSI_CLASS(TSystemInfo)
  explicit TSystemInfo(TComponent* owner) : TComponent(owner) {}
  // VendorIdentifier of the first processor; empty when it cannot be read.
  AnsiString CpuVendorText();
};

}  // namespace vsi
