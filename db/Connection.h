#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct st_mysql;

namespace db {

struct ConnectionSettings {
  std::string server;    // empty means the local machine
  std::string database;
  std::string user;
  std::string password;  // bytes handed to the client library unchanged
  int32_t port = 3306;   // 0 means 3306
};

// One open connection over TCP, character set utf8mb4, 15 s connect time-out, never a
// prompt. Movable, not copyable; closing never throws.
class Connection {
 public:
  // Connects at once. Throws db::Error with the client's message; error 2003 is worded
  // "Can't connect to MySQL server on '<host>' (<n>)".
  explicit Connection(const ConnectionSettings& settings);
  Connection(Connection&&) noexcept;
  Connection& operator=(Connection&&) noexcept;
  ~Connection();

  // For the rest of db/ only.
  st_mysql* handle() const noexcept { return handle_.get(); }

  // One connection serves the whole program, so the server may have dropped it between two
  // of the operator's actions (a restart, a KILL). After this call the next statement first
  // looks whether it did, and connects again if so; statements otherwise go straight out,
  // since the look costs a system call, a good part of a row's own time.
  void CheckOnNextStatement() noexcept { checkDue_ = true; }

  // For the statements of db/: the handle, after the check when one is due. A statement
  // that does not reach EndStatement (it failed) leaves the check due for the next one.
  // Throws db::Error when the connection cannot be opened again.
  st_mysql* BeginStatement();
  void EndStatement() noexcept { checkDue_ = false; }

  // The text escaped for a literal enclosed in `quote` on this connection, in the server's
  // current sql_mode (with or without backslash escapes).
  std::string Escape(std::string_view text, char quote = '\'') const;

 private:
  struct Closer {
    void operator()(st_mysql* handle) const noexcept;
  };
  void ReopenIfDropped();

  std::unique_ptr<st_mysql, Closer> handle_;
  bool checkDue_ = false;
};

}  // namespace db
