#pragma once

namespace vsi {

// Makes the controls' classes known to window descriptions.
void RegisterControlClasses();

}  // namespace vsi
