#include "tests/support/TestServer.h"

#include <mysql.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <thread>

namespace testsupport {
namespace {

ServerInfo ReadServerInfo() {
  const char* dir = std::getenv("QUIRAVEL_TEST_DB");
  if (!dir || !*dir) throw std::runtime_error("QUIRAVEL_TEST_DB is not set: run this test through ctest");
  std::ifstream in(std::string(dir) + "/server.env");
  if (!in) throw std::runtime_error(std::string("no test server described in ") + dir + "/server.env");
  std::map<std::string, std::string> keys;
  for (std::string line; std::getline(in, line);) {
    if (auto eq = line.find('='); eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  ServerInfo info;
  info.host = keys["host"];
  info.port = std::stoi(keys["port"]);
  info.database = keys["database"];
  info.user = keys["user"];
  info.password = keys["password"];
  info.adminUser = keys["admin_user"];
  info.adminPassword = keys["admin_password"];
  info.generalLog = keys["general_log"];
  return info;
}

struct Admin {
  MYSQL* handle = nullptr;
  Admin() {
    const ServerInfo& s = TestServer();
    handle = mysql_init(nullptr);
    unsigned protocol = MYSQL_PROTOCOL_TCP;
    mysql_options(handle, MYSQL_OPT_PROTOCOL, &protocol);
    mysql_options(handle, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(handle, s.host.c_str(), s.adminUser.c_str(), s.adminPassword.c_str(),
                            s.database.c_str(), static_cast<unsigned>(s.port), nullptr, CLIENT_MULTI_STATEMENTS)) {
      std::string message = mysql_error(handle);
      mysql_close(handle);
      throw std::runtime_error("cannot reach the test server: " + message);
    }
  }
  ~Admin() { mysql_close(handle); }
  void Run(const std::string& sql) {
    if (mysql_real_query(handle, sql.data(), sql.size()) != 0)
      throw std::runtime_error("test statement failed: " + std::string(mysql_error(handle)) + "\n" + sql);
  }
};

}  // namespace

const ServerInfo& TestServer() {
  static const ServerInfo info = ReadServerInfo();
  return info;
}

db::ConnectionSettings TestLogin() {
  const ServerInfo& s = TestServer();
  return {s.host, s.database, s.user, s.password, s.port};
}

std::unique_ptr<db::Connection> ConnectTest() { return std::make_unique<db::Connection>(TestLogin()); }

void Sql(const std::string& statement) {
  Admin admin;
  admin.Run(statement);
  do {
    if (MYSQL_RES* result = mysql_store_result(admin.handle)) mysql_free_result(result);
  } while (mysql_next_result(admin.handle) == 0);
  if (mysql_errno(admin.handle) != 0)
    throw std::runtime_error("test statement failed: " + std::string(mysql_error(admin.handle)) + "\n" + statement);
}

std::vector<std::vector<std::optional<std::string>>> Rows(const std::string& select) {
  Admin admin;
  admin.Run(select);
  MYSQL_RES* result = mysql_store_result(admin.handle);
  if (!result) throw std::runtime_error("statement gave no result: " + select);
  std::vector<std::vector<std::optional<std::string>>> rows;
  const unsigned columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    auto& out = rows.emplace_back();
    for (unsigned c = 0; c < columns; ++c) {
      if (row[c]) out.emplace_back(std::string(row[c], lengths[c]));
      else out.emplace_back(std::nullopt);
    }
  }
  mysql_free_result(result);
  return rows;
}

std::string Scalar(const std::string& select) {
  auto rows = Rows(select);
  if (rows.empty() || rows[0].empty() || !rows[0][0]) return "";
  return *rows[0][0];
}

std::string SessionOf(const db::Connection& connection) {
  return std::to_string(mysql_thread_id(connection.handle()));
}

namespace {
// Polls `done` every 10 ms for up to ten seconds; true once it held.
template <class Done>
bool WithinTenSeconds(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}
}  // namespace

void KillSession(const std::string& id) {
  Sql("kill " + id);
  const std::string stillThere = "select id from information_schema.processlist where id = " + id;
  if (!WithinTenSeconds([&] { return Scalar(stillThere).empty(); }))
    throw std::runtime_error("session " + id + " was still on the server ten seconds after its KILL");
}

int TestLoginSessions() {
  return std::stoi(Scalar("select count(*) from information_schema.processlist where user = '" +
                          TestServer().user + "'"));
}

int TestLoginSessionsSettledAt(int expected) {
  int sessions = TestLoginSessions();
  WithinTenSeconds([&] { return (sessions = TestLoginSessions()) <= expected; });
  return sessions;
}

int32_t ClosedPort() {
  // Bind to a free port, then close it again: nothing listens there for a good while.
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("cannot find a closed port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

CleanTables::CleanTables() {
  Sql("delete from fornece; delete from fabricantes; delete from descfabric; delete from config_central");
}

CleanTables::~CleanTables() {
  try {
    Sql("delete from fornece; delete from fabricantes; delete from descfabric; delete from config_central");
  } catch (...) {
  }
}

GeneralLog::GeneralLog() {
  Sql("set global log_output = 'TABLE'");
  Sql("set global general_log = 0");
  Sql("truncate table mysql.general_log");
  Sql("set global general_log = 1");
}

GeneralLog::~GeneralLog() {
  try {
    Sql("set global general_log = 0");
  } catch (...) {
  }
}

std::vector<std::string> GeneralLog::Statements() const {
  std::vector<std::string> statements;
  const std::string admin = TestServer().adminUser;
  for (auto& row : Rows("select argument from mysql.general_log where command_type = 'Query' and "
                        "user_host not like '" + admin + "%' order by event_time")) {
    if (row[0]) statements.push_back(*row[0]);
  }
  return statements;
}

}  // namespace testsupport
