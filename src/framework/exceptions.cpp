#include "framework/exceptions.h"

#include <cstdarg>
#include <cstdio>

namespace vsi {

std::string Format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, pattern, copy);
  va_end(copy);
  std::string out(n > 0 ? size_t(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, pattern, args);
  va_end(args);
  return out;
}

}  // namespace vsi
