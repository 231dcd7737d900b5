#pragma once

namespace vsi {

// Makes the system-information classes known to the window-description reader.
void RegisterSysinfoClasses();

}  // namespace vsi
