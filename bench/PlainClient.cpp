#include "bench/PlainClient.h"

// The floor must not go through db/, so this is the one file outside db/ and tests/support
// that talks to the client library itself.
#include <mysql.h>

#include <stdexcept>

namespace bench {

void PlainClient::Closer::operator()(st_mysql* handle) const noexcept { mysql_close(handle); }

PlainClient::PlainClient(const ServerEnv& server, Login login) : handle_(mysql_init(nullptr)) {
  if (!handle_) throw std::runtime_error("mysql_init failed");
  const bool admin = login == Login::Admin;
  const std::string& user = admin ? server.adminUser : server.user;
  const std::string& password = admin ? server.adminPassword : server.password;
  unsigned protocol = MYSQL_PROTOCOL_TCP;
  if (mysql_options(handle_.get(), MYSQL_OPT_PROTOCOL, &protocol) != 0 ||
      mysql_options(handle_.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4") != 0)
    throw std::runtime_error("mysql_options failed");
  if (!mysql_real_connect(handle_.get(), server.host.c_str(), user.c_str(), password.c_str(),
                          server.database.c_str(), static_cast<unsigned>(server.port), nullptr, 0))
    throw std::runtime_error("cannot connect to " + server.host + ":" + std::to_string(server.port) + ": " +
                             mysql_error(handle_.get()));
}

PlainClient::~PlainClient() = default;

void PlainClient::Run(const std::string& sql) {
  if (mysql_real_query(handle_.get(), sql.data(), sql.size()) != 0)
    throw std::runtime_error(std::string(mysql_error(handle_.get())) + "\n" + sql);
  if (MYSQL_RES* result = mysql_store_result(handle_.get())) mysql_free_result(result);
  else if (mysql_field_count(handle_.get()) != 0)
    throw std::runtime_error(std::string(mysql_error(handle_.get())) + "\n" + sql);
}

void PlainClient::RunAll(const std::vector<std::string>& statements) {
  MYSQL* handle = handle_.get();
  for (const std::string& sql : statements) {
    if (mysql_real_query(handle, sql.data(), sql.size()) != 0)
      throw std::runtime_error(std::string(mysql_error(handle)) + "\n" + sql);
    if (MYSQL_RES* result = mysql_store_result(handle)) mysql_free_result(result);
  }
}

std::vector<std::vector<std::string>> PlainClient::Rows(const std::string& select) {
  if (mysql_real_query(handle_.get(), select.data(), select.size()) != 0)
    throw std::runtime_error(std::string(mysql_error(handle_.get())) + "\n" + select);
  MYSQL_RES* result = mysql_store_result(handle_.get());
  if (!result) throw std::runtime_error("no result: " + select);
  std::vector<std::vector<std::string>> rows;
  const unsigned columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    auto& out = rows.emplace_back();
    for (unsigned c = 0; c < columns; ++c) out.emplace_back(row[c] ? std::string(row[c], lengths[c]) : "");
  }
  mysql_free_result(result);
  return rows;
}

long long PlainClient::Count(const std::string& select) {
  auto rows = Rows(select);
  if (rows.empty() || rows[0].empty()) throw std::runtime_error("no count: " + select);
  return std::stoll(rows[0][0]);
}

std::string PlainClient::ServerVersion() const { return mysql_get_server_info(handle_.get()); }

}  // namespace bench
