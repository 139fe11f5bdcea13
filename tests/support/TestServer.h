#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/Connection.h"

namespace testsupport {

// The MariaDB server that the CTest fixture started for this run.
struct ServerInfo {
  std::string host;
  int32_t port = 0;
  std::string database;
  std::string user;
  std::string password;
  std::string adminUser;
  std::string adminPassword;
  std::string generalLog;
};

// Throws (so the test fails loudly) when QUIRAVEL_TEST_DB is unset or unreadable.
const ServerInfo& TestServer();

// The test login on the test database, as the program would use it.
db::ConnectionSettings TestLogin();
std::unique_ptr<db::Connection> ConnectTest();

// Statements and reads as the admin login, over the client library directly, so checks
// never go through the code under test. Both throw std::runtime_error with the server's text.
void Sql(const std::string& statement);
// Every row of a select; NULL reads as nullopt.
std::vector<std::vector<std::optional<std::string>>> Rows(const std::string& select);
// The first column of the first row, "" when there is none.
std::string Scalar(const std::string& select);

// The server's id of the session behind `connection` (its current one, after a reopen).
std::string SessionOf(const db::Connection& connection);
// Kills a session as a KILL from another client would, and returns once the server has let
// it go. Throws when it is still there after ten seconds.
void KillSession(const std::string& id);
// The number of sessions of the test login, once it has come down to at most `expected`
// (a session another test closed may take a moment to leave); after ten seconds, as it is.
int TestLoginSessionsSettledAt(int expected);
int TestLoginSessions();

// A port on 127.0.0.1 where nothing listens.
int32_t ClosedPort();

// Empties fornece, fabricantes, descfabric and config_central when made and when destroyed.
class CleanTables {
 public:
  CleanTables();
  ~CleanTables();
  CleanTables(const CleanTables&) = delete;
  CleanTables& operator=(const CleanTables&) = delete;
};

// Turns the server's general log (to a table) on for its lifetime; Statements() gives the
// statements other logins than the admin sent from then on, byte for byte.
class GeneralLog {
 public:
  GeneralLog();
  ~GeneralLog();
  GeneralLog(const GeneralLog&) = delete;
  GeneralLog& operator=(const GeneralLog&) = delete;
  std::vector<std::string> Statements() const;
};

}  // namespace testsupport
