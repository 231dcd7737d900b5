#pragma once
#include <string_view>

namespace vsi {

// The embedded description of a window by its file name under app/forms ("main", ...);
// empty when there is none.
std::string_view WindowDescription(std::string_view name);

}  // namespace vsi
