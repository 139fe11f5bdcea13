#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bench/ServerEnv.h"

struct st_mysql;

namespace bench {

// The floor: a bare Connector/C connection of the same kind as the program's (TCP,
// utf8mb4), sending texts with mysql_real_query + mysql_store_result and nothing else.
// Also carries the benchmark's own set-up statements. Every failure throws
// std::runtime_error with the server's message.
class PlainClient {
 public:
  enum class Login { User, Admin };
  PlainClient(const ServerEnv& server, Login login);
  ~PlainClient();
  PlainClient(const PlainClient&) = delete;
  PlainClient& operator=(const PlainClient&) = delete;

  // Sends one text; a result, if any, is fetched whole and dropped.
  void Run(const std::string& sql);

  // The timed floor loop: one round trip per text, nothing around it.
  void RunAll(const std::vector<std::string>& statements);

  // Every row of a select; NULL reads as the empty text.
  std::vector<std::vector<std::string>> Rows(const std::string& select);
  long long Count(const std::string& select);

  std::string ServerVersion() const;

 private:
  struct Closer {
    void operator()(st_mysql* handle) const noexcept;
  };
  std::unique_ptr<st_mysql, Closer> handle_;
};

}  // namespace bench
