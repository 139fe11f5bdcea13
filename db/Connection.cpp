#include "db/Connection.h"

#include <mysql.h>
#include <errmsg.h>

#include <poll.h>

#include <cerrno>
#include <string>

#include "db/Error.h"
#include "db/OpenHandle.h"

namespace db {
namespace {

void InitialiseClientLibrary() {
  // mysql_init would do it on first use, but not thread-safely; once, up front, it is.
  static const bool initialised = mysql_library_init(0, nullptr, nullptr) == 0;
  if (!initialised) throw Error("The MySQL client library could not be initialised", 0);
}

// The operator knows the MySQL client's wording; MariaDB's client dropped "MySQL" from it and
// files a refused TCP connection under 2002, the socket error, where MySQL gives 2003.
Error InMySqlWording(std::string message, unsigned code) {
  static constexpr std::string_view mariaDb = "Can't connect to server on ";
  if (message.starts_with(mariaDb)) {
    message.replace(0, mariaDb.size(), "Can't connect to MySQL server on ");
    code = CR_CONN_HOST_ERROR;
  }
  return Error(message, code);
}

struct Options {
  MYSQL* handle;

  void Set(mysql_option option, const void* value, const char* name) const {
    if (mysql_options(handle, option, value) != 0)
      throw Error(std::string("The client option ") + name + " was refused", 0);
  }
};

void SetOptions(MYSQL* handle) {
  const Options options{handle};
  // "localhost" would otherwise mean the Unix socket; the server is always reached over TCP.
  const unsigned protocol = MYSQL_PROTOCOL_TCP;
  options.Set(MYSQL_OPT_PROTOCOL, &protocol, "MYSQL_OPT_PROTOCOL");
  const unsigned timeoutSeconds = 15;
  options.Set(MYSQL_OPT_CONNECT_TIMEOUT, &timeoutSeconds, "MYSQL_OPT_CONNECT_TIMEOUT");
  options.Set(MYSQL_SET_CHARSET_NAME, "utf8mb4", "MYSQL_SET_CHARSET_NAME");
  // The "dialog" plugin asks on the terminal and clear-text sends the password unhashed;
  // a login that needs either fails instead of prompting.
  options.Set(MARIADB_OPT_RESTRICTED_AUTH,
              "mysql_native_password,client_ed25519,caching_sha2_password,sha256_password",
              "MARIADB_OPT_RESTRICTED_AUTH");
  // No statement here loads local files; a hostile server must not be able to ask for one.
  const unsigned localInfile = 0;
  options.Set(MYSQL_OPT_LOCAL_INFILE, &localInfile, "MYSQL_OPT_LOCAL_INFILE");
  // The library's own reconnection polls the socket before every statement; the check is
  // made where it is due instead (CheckOnNextStatement).
  const my_bool reconnect = 0;
  options.Set(MYSQL_OPT_RECONNECT, &reconnect, "MYSQL_OPT_RECONNECT");
  // No option file is ever read: neither MYSQL_READ_DEFAULT_FILE nor _GROUP is set.
}

// Between statements nothing is due from the server: a socket with something to read (its
// last words, or the end of the stream) belongs to a session the server has ended.
bool StillOpen(MYSQL* handle) {
  const my_socket socket = mysql_get_socket(handle);
  if (socket == MARIADB_INVALID_SOCKET) return false;
  pollfd ready{socket, POLLIN | POLLPRI, 0};
  int found;
  do {
    found = poll(&ready, 1, 0);
  } while (found < 0 && errno == EINTR);
  return found == 0;
}

// Printable ASCII without quotes or backslash: escaping changes nothing in it, with or
// without backslash escapes, in utf8mb4.
bool ReadsTheSameEscaped(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E || c == '\'' || c == '"' || c == '\\' || c == '`') return false;
  }
  return true;
}

void SetReconnect(MYSQL* handle, bool on) {
  const my_bool reconnect = on ? 1 : 0;
  if (mysql_optionsv(handle, MYSQL_OPT_RECONNECT, &reconnect) != 0)
    throw Error("The client option MYSQL_OPT_RECONNECT was refused", 0);
}

}  // namespace

void Connection::Closer::operator()(st_mysql* handle) const noexcept { mysql_close(handle); }

Connection::Connection(const ConnectionSettings& settings) {
  // Beyond 16 bits the client library would silently connect to the port modulo 65536.
  if (settings.port < 0 || settings.port > 65535)
    throw Error("Invalid TCP port " + std::to_string(settings.port) + ": ports lie between 0 and 65535", 0);
  InitialiseClientLibrary();

  std::unique_ptr<st_mysql, Closer> handle(mysql_init(nullptr));
  if (!handle) throw Error("Out of memory", CR_OUT_OF_MEMORY);
  SetOptions(handle.get());

  const std::string host = settings.server.empty() ? "localhost" : settings.server;
  // Port 0 would let the MYSQL_TCP_PORT environment variable choose.
  const unsigned port = settings.port == 0 ? 3306 : static_cast<unsigned>(settings.port);
  // A null database connects without a default one; "" is not a database name.
  const char* database = settings.database.empty() ? nullptr : settings.database.c_str();
  // The password is passed even when empty: null would make the library read MYSQL_PWD.
  if (!mysql_real_connect(handle.get(), host.c_str(), settings.user.c_str(), settings.password.c_str(),
                          database, port, nullptr, 0)) {
    throw InMySqlWording(mysql_error(handle.get()), mysql_errno(handle.get()));
  }
  handle_ = std::move(handle);
}

Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;
Connection::~Connection() = default;

st_mysql* OpenHandle(const Connection& connection) {
  if (!connection.handle()) throw Error("The connection was moved away", 0);
  return connection.handle();
}

st_mysql* Connection::BeginStatement() {
  if (checkDue_) ReopenIfDropped();
  checkDue_ = true;
  return OpenHandle(*this);
}

void Connection::ReopenIfDropped() {
  MYSQL* handle = OpenHandle(*this);
  if (StillOpen(handle)) return;
  // With the same login and options; the library does it only with its option on, and a
  // statement whose answer was lost is still not sent again: it failed, and was reported.
  SetReconnect(handle, true);
  const bool failed = mariadb_reconnect(handle) != 0;
  SetReconnect(handle, false);
  if (failed) throw Error(mysql_error(handle), mysql_errno(handle));
}

std::string Connection::Escape(std::string_view text, char quote) const {
  MYSQL* handle = OpenHandle(*this);
  // Every CNPJ of a load and every row's "N" and branch code: nothing to escape in any mode.
  if (ReadsTheSameEscaped(text)) return std::string(text);
  unsigned int status = 0;
  mariadb_get_infov(handle, MARIADB_CONNECTION_SERVER_STATUS, &status);
  if (status & SERVER_STATUS_NO_BACKSLASH_ESCAPES) {
    // Backslashes are plain characters in this mode and the client library doubles only "'",
    // which would leave a literal quoted with '"' open: the enclosing quote is the one to double.
    std::string doubled;
    doubled.reserve(text.size() + 8);
    for (const char c : text) {
      doubled += c;
      if (c == quote) doubled += c;
    }
    return doubled;
  }
  std::string escaped(text.size() * 2 + 1, '\0');
  const unsigned long length =
      mysql_real_escape_string(handle, escaped.data(), text.data(), static_cast<unsigned long>(text.size()));
  if (length == static_cast<unsigned long>(-1)) throw Error(mysql_error(handle), mysql_errno(handle));
  escaped.resize(length);
  return escaped;
}

}  // namespace db
