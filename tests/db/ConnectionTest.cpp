#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "db/Connection.h"
#include "db/Error.h"
#include "db/Query.h"
#include "tests/support/TestServer.h"

namespace {

// The error a connection attempt gives; fails the test when it connects.
db::Error ConnectError(const db::ConnectionSettings& settings) {
  try {
    db::Connection connection(settings);
  } catch (const db::Error& error) {
    return error;
  }
  ADD_FAILURE() << "connected";
  return db::Error("", 0);
}

std::string CurrentUser(db::Connection& connection) {
  db::Query query(connection, "select current_user() as u");
  query.Open();
  return query.FieldAsText("u");
}

TEST(Connection, LogsInWithTheGivenSettings) {
  auto connection = testsupport::ConnectTest();
  EXPECT_EQ(CurrentUser(*connection), "quiravel@%");

  db::Query query(*connection, "select database() as d, @@character_set_client as c");
  query.Open();
  EXPECT_EQ(query.FieldAsText("d"), testsupport::TestServer().database);
  EXPECT_EQ(query.FieldAsText("c"), "utf8mb4");
}

TEST(Connection, EmptyDatabaseMeansNoDefaultDatabase) {
  db::ConnectionSettings settings = testsupport::TestLogin();
  settings.database.clear();
  db::Connection connection(settings);
  db::Query query(connection, "select database()");
  query.Open();
  EXPECT_TRUE(runtime::IsNull(query.FirstColumn()));
}

TEST(Connection, WrongPasswordGivesTheServersMessage) {
  db::ConnectionSettings settings = testsupport::TestLogin();
  settings.password = "wrong";
  const db::Error error = ConnectError(settings);
  EXPECT_STREQ(error.what(), "Access denied for user 'quiravel'@'127.0.0.1' (using password: YES)");
  EXPECT_EQ(error.code(), 1045u);
}

TEST(Connection, UnreachableServerInTheMySqlClientsWording) {
  const int32_t port = testsupport::ClosedPort();
  struct Case {
    std::string server;
    std::string message;
  };
  // "localhost" too goes over TCP: over the socket the text would name the socket. The number
  // is the client library's (EINPROGRESS of its non-blocking connect), kept as it comes; for
  // a name it is that of the last address tried, which depends on how the machine resolves
  // it (::1 and 127.0.0.1, or one of them), so only the address case pins it.
  const Case cases[] = {
      {"127.0.0.1", "Can't connect to MySQL server on '127.0.0.1' (115)"},
      {"localhost", "Can't connect to MySQL server on 'localhost' ("},
      {"", "Can't connect to MySQL server on 'localhost' ("},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.server);
    const db::Error error = ConnectError({c.server, "", "quiravel", "x", port});
    const std::string message = error.what();
    if (c.message.ends_with(')')) {
      EXPECT_EQ(message, c.message);
    } else {
      EXPECT_TRUE(message.starts_with(c.message) && message.ends_with(")")) << message;
    }
    EXPECT_EQ(error.code(), 2003u);
  }
}

TEST(Connection, PortOutsideTheTcpRangeIsRefusedBeforeConnecting) {
  // Cut to 16 bits these would be real ports (70000 is 4464), so none may reach the library.
  struct Case {
    int32_t port;
    std::string message;
  };
  const Case cases[] = {
      {65536, "Invalid TCP port 65536: ports lie between 0 and 65535"},
      {70000, "Invalid TCP port 70000: ports lie between 0 and 65535"},
      {-1, "Invalid TCP port -1: ports lie between 0 and 65535"},
      {testsupport::TestServer().port + 65536,
       "Invalid TCP port " + std::to_string(testsupport::TestServer().port + 65536) +
           ": ports lie between 0 and 65535"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.port);
    db::ConnectionSettings settings = testsupport::TestLogin();
    settings.port = c.port;
    const db::Error error = ConnectError(settings);
    EXPECT_EQ(error.what(), c.message);
    EXPECT_EQ(error.code(), 0u);
  }
}

// Passwords come from a Windows-1252 settings file: their bytes need not be UTF-8.
class BytePasswordUser : public ::testing::Test {
 protected:
  const std::string password = "S\xe9nh\xe3\x80";
  void SetUp() override {
    testsupport::Sql("drop user if exists 'quiravel_bytes'@'%'");
    const std::string hash = testsupport::Scalar("select password(_binary X'53E96E68E380')");
    testsupport::Sql("create user 'quiravel_bytes'@'%' identified by password '" + hash + "'");
  }
  void TearDown() override { testsupport::Sql("drop user if exists 'quiravel_bytes'@'%'"); }
};

TEST_F(BytePasswordUser, PasswordBytesReachTheServerUnchanged) {
  db::ConnectionSettings settings = testsupport::TestLogin();
  settings.user = "quiravel_bytes";
  settings.database.clear();
  settings.password = password;
  db::Connection connection(settings);
  EXPECT_EQ(CurrentUser(connection), "quiravel_bytes@%");
}

TEST(Connection, MovesKeepTheSession) {
  auto first = testsupport::ConnectTest();
  db::Connection moved(std::move(*first));
  EXPECT_EQ(CurrentUser(moved), "quiravel@%");
  EXPECT_EQ(first->handle(), nullptr);
  try {
    first->Escape("x");
    ADD_FAILURE() << "escaped on a moved-from connection";
  } catch (const db::Error& error) {
    EXPECT_STREQ(error.what(), "The connection was moved away");
  }

  db::Connection other(testsupport::TestLogin());
  other = std::move(moved);
  EXPECT_EQ(CurrentUser(other), "quiravel@%");
}

TEST(Connection, EscapeForQuotedLiterals) {
  auto connection = testsupport::ConnectTest();
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"it's", "it\\'s"},
      {"say \"hi\"", "say \\\"hi\\\""},
      {"c:\\temp", "c:\\\\temp"},
      {std::string("a\0b", 3), "a\\0b"},
      {"a\r\nb", "a\\r\\nb"},
      {"end\x1a", "end\\Z"},
      {"ação", "ação"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(connection->Escape(c.text), c.expected);
  }
}

// Some servers run with NO_BACKSLASH_ESCAPES in sql_mode; a literal built with Escape must
// still hold exactly its text, whichever quote encloses it.
TEST(Connection, EscapedTextReadsBackInEitherQuoteAndMode) {
  auto connection = testsupport::ConnectTest();
  const std::string texts[] = {
      "it's", "say \"hi\"", "\"; drop table fornece; -- ", "c:\\temp\\", "\\\"", "a'\"'\"b",
      std::string("nul\0byte", 8), "a\r\nb", "ação", "12.345.678/0001-90", "N", "100% _a_ {~}", "\x7F"};
  for (const char* mode : {"''", "'NO_BACKSLASH_ESCAPES'"}) {
    SCOPED_TRACE(mode);
    db::Query(*connection, std::string("set session sql_mode = ") + mode).Open();
    for (const std::string& text : texts) {
      SCOPED_TRACE(text);
      db::Query query(*connection, "select \"" + connection->Escape(text, '"') + "\" as d, '" +
                                       connection->Escape(text) + "' as s");
      query.Open();
      EXPECT_EQ(query.FieldAsText("d"), text);
      EXPECT_EQ(query.FieldAsText("s"), text);
    }
  }
}

std::string Session(db::Connection& connection) {
  db::Query query(connection, "select connection_id() as id, database() as d, @@character_set_client as c");
  query.Open();
  return query.FieldAsText("id") + " " + query.FieldAsText("d") + " " + query.FieldAsText("c");
}

// As a KILL or a restart would, between two of the operator's actions.
void EndSession(const std::string& session) { testsupport::KillSession(session.substr(0, session.find(' '))); }

TEST(Connection, AStatementAfterTheCheckReopensWhatTheServerDropped) {
  auto connection = testsupport::ConnectTest();
  const std::string first = Session(*connection);
  EndSession(first);

  connection->CheckOnNextStatement();
  const std::string second = Session(*connection);
  EXPECT_NE(second, first);
  // The same login, database and character set as before.
  EXPECT_EQ(second.substr(second.find(' ')), first.substr(first.find(' ')));
  EXPECT_EQ(CurrentUser(*connection), "quiravel@%");
}

TEST(Connection, WithoutTheCheckTheStatementFailsAndTheNextOneReopens) {
  auto connection = testsupport::ConnectTest();
  const std::string first = Session(*connection);
  EndSession(first);

  try {
    Session(*connection);
    ADD_FAILURE() << "the statement went through a connection the server had ended";
  } catch (const db::Error& error) {
    EXPECT_STREQ(error.what(), "Lost connection to server during query");
  }
  EXPECT_NE(Session(*connection), first);
}

TEST(Connection, TheCheckLeavesALiveConnectionAsItIs) {
  auto connection = testsupport::ConnectTest();
  const std::string first = Session(*connection);
  connection->CheckOnNextStatement();
  EXPECT_EQ(Session(*connection), first);
}

}  // namespace
