#pragma once

#include <exception>
#include <stdexcept>

namespace runtime {

// A failure of the program's own: only its message matters to the operator.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Stops a handler after it has shown its own message; the failure display drops it.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return ""; }
};

}  // namespace runtime
