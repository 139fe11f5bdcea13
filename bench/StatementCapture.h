#pragma once

#include <string>
#include <vector>

#include "bench/PlainClient.h"

namespace bench {

// The statements one login sends, byte for byte, taken from the server's general log (kept
// in a table) while the object lives. The log slows the server, so nothing is timed then.
class StatementCapture {
 public:
  StatementCapture(PlainClient& admin, std::string user);
  ~StatementCapture();
  StatementCapture(const StatementCapture&) = delete;
  StatementCapture& operator=(const StatementCapture&) = delete;

  struct Statement {
    std::string command;  // the log's command_type: "Query", "Prepare", "Execute", ...
    std::string text;
  };
  // In the order the server received them; stops the log.
  std::vector<Statement> Stop();

 private:
  PlainClient& admin_;
  std::string user_;
  bool logging_ = false;
};

}  // namespace bench
