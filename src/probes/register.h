#pragma once

namespace vsi {

// Makes the probe classes known to the window-description reader.
void RegisterProbeClasses();

}  // namespace vsi
