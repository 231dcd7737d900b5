#pragma once
// Failures carry a fixed English message; the application's error box shows it.
#include <stdexcept>
#include <string>

#include "platform/compiler.h"

namespace vsi {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A bad index (lists, collections, property families).
class ERangeError : public Exception {
 public:
  using Exception::Exception;
};

// Raised by the registry accessor.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

// A malformed window description: the message names the line and the property.
class EDescriptionError : public Exception {
 public:
  using Exception::Exception;
};

// A resource the system refused (timers, windows).
class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

// printf-style formatting into a std::string (the messages use %s and %d).
std::string Format(const char* pattern, ...) VSI_PRINTF_FORMAT(1, 2);

}  // namespace vsi
