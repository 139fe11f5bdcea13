#pragma once

#include <stdexcept>
#include <string>

namespace db {

// A failure of the client library or the server: the client's message and error number.
// Failures the layer finds itself (a missing column, no current row) carry the number 0.
class Error : public std::runtime_error {
 public:
  Error(const std::string& message, unsigned code) : std::runtime_error(message), code_(code) {}
  unsigned code() const noexcept { return code_; }

 private:
  unsigned code_;
};

}  // namespace db
