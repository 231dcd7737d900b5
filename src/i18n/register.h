#pragma once

namespace vsi {

// Makes the localisation components creatable by class name from window descriptions.
void RegisterI18nClasses();

}  // namespace vsi
