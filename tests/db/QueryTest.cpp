#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Error.h"
#include "db/Query.h"
#include "tests/db/ScratchTable.h"
#include "tests/support/TestServer.h"

namespace {

using runtime::Currency;
using runtime::DateTime;
using runtime::Null;
using runtime::Value;
using namespace std::chrono_literals;

void ExpectDbError(const std::function<void()>& action, const std::string& message, unsigned code = 0) {
  try {
    action();
    ADD_FAILURE() << "no db::Error, expected: " << message;
  } catch (const db::Error& error) {
    EXPECT_EQ(error.what(), message);
    EXPECT_EQ(error.code(), code);
  }
}

class QueryTest : public ::testing::Test {
 protected:
  std::unique_ptr<db::Connection> connection = testsupport::ConnectTest();
};

class TypedColumns : public QueryTest {
 protected:
  ScratchTable table{"db_query_types",
                     "i int, bi bigint, ubi bigint unsigned, ti tinyint, y year, d4 decimal(15,4), "
                     "d2 decimal(10,2), d6 decimal(20,6), dbig decimal(30,4), dt date, dtm datetime, "
                     "ts timestamp null, zd date, zdt datetime, t varchar(20), c char(3), b varbinary(4), "
                     "f double, tm time, n int"};
  void SetUp() override {
    // sql_mode '' so that the zero dates can be stored as older installations hold them.
    testsupport::Sql(
        "set session sql_mode = ''; insert into db_query_types values (-42, -9223372036854775808, "
        "18446744073709551615, 7, 2024, 10.5, -0.05, 1.123456, 12345678901234567890.5, '2024-03-31', "
        "'2024-03-31 13:45:09', '2024-02-29 00:00:01', '0000-00-00', '0000-00-00 00:00:00', 'ação', "
        "'ab', X'00FF', 2.5, '13:45:00', null)");
  }
  Value First(const std::string& column) {
    db::Query query(*connection, "select " + column + " from db_query_types");
    query.Open();
    return query.FirstColumn();
  }
};

TEST_F(TypedColumns, FirstColumnTypedByTheColumn) {
  struct Case {
    std::string column;
    Value expected;
  };
  const std::vector<Case> cases = {
      {"i", int64_t{-42}},
      {"bi", std::numeric_limits<int64_t>::min()},
      {"ubi", std::string("18446744073709551615")},
      {"ti", int64_t{7}},
      {"y", int64_t{2024}},
      {"d4", Currency{105000}},
      {"d2", Currency{-500}},
      {"d6", std::string("1.123456")},
      {"dbig", std::string("12345678901234567890.5000")},
      {"dt", DateTime{2024y / 3 / 31, 0s}},
      {"dtm", DateTime{2024y / 3 / 31, 13h + 45min + 9s}},
      {"ts", DateTime{2024y / 2 / 29, 1s}},
      {"zd", Null{}},
      {"zdt", Null{}},
      {"t", std::string("ação")},
      {"c", std::string("ab")},
      {"b", std::string("\0\xff", 2)},
      {"f", std::string("2.5")},
      {"tm", std::string("13:45:00")},
      {"n", Null{}},
      {"i + 1", int64_t{-41}},
      {"count(*)", int64_t{1}},
      {"d4 * 2", Currency{210000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    EXPECT_EQ(First(c.column), c.expected);
  }
}

TEST_F(QueryTest, RowsInOrderWithFieldsByName) {
  ScratchTable table("db_query_rows", "id int, nome varchar(20), obs varchar(20)");
  testsupport::Sql("insert into db_query_rows values (1, 'um', null), (2, 'dois', 'x'), (3, 'três', '')");
  db::Query query(*connection, "select id, nome, obs from db_query_rows order by id");
  query.Open();
  ASSERT_TRUE(query.IsOpen());
  EXPECT_FALSE(query.IsEmpty());
  std::vector<std::string> seen;
  for (; !query.Eof(); query.Next())
    seen.push_back(query.FieldAsText("id") + ":" + query.FieldAsText("NOME") + ":" + query.FieldAsText("Obs"));
  EXPECT_EQ(seen, (std::vector<std::string>{"1:um:", "2:dois:x", "3:três:"}));
  ExpectDbError([&] { query.Next(); }, "The query is past its last row");
  ExpectDbError([&] { query.FieldAsText("id"); }, "The query has no current row");
  ExpectDbError([&] { query.FirstColumn(); }, "The query has no current row");
}

TEST_F(QueryTest, MissingColumnIsNamed) {
  db::Query query(*connection, "select 'a' as ip_central, null as usuario");
  query.Open();
  EXPECT_EQ(query.FieldAsText("ip_central"), "a");
  EXPECT_EQ(query.FieldAsText("usuario"), "");
  ExpectDbError([&] { query.FieldAsText("banco_dados"); }, "Field 'banco_dados' not found");
}

TEST_F(QueryTest, EmptyResult) {
  db::Query query(*connection, "select 1 as um from dual where false");
  query.Open();
  EXPECT_TRUE(query.IsOpen());
  EXPECT_TRUE(query.IsEmpty());
  EXPECT_TRUE(query.Eof());
  ExpectDbError([&] { query.FieldAsText("um"); }, "The query has no current row");
  ExpectDbError([&] { query.FieldAsText("dois"); }, "Field 'dois' not found");
  ExpectDbError([&] { query.FirstColumn(); }, "The query has no current row");
  ExpectDbError([&] { query.Next(); }, "The query is past its last row");
}

TEST_F(QueryTest, StatementWithoutResultSetOpensEmpty) {
  ScratchTable table("db_query_update", "id int");
  testsupport::Sql("insert into db_query_update values (1), (2)");
  db::Query query(*connection, "update db_query_update set id = id + 10");
  query.Open();
  EXPECT_TRUE(query.IsOpen());
  EXPECT_TRUE(query.IsEmpty());
  EXPECT_TRUE(query.Eof());
  ExpectDbError([&] { query.FieldAsText("id"); }, "Field 'id' not found");
  ExpectDbError([&] { query.FirstColumn(); }, "The query has no current row");
  EXPECT_EQ(testsupport::Scalar("select sum(id) from db_query_update"), "23");
}

TEST_F(QueryTest, ClosedQueryRefusesReading) {
  db::Query query(*connection, "select 1");
  const std::string notOpen = "The query is not open";
  EXPECT_FALSE(query.IsOpen());
  ExpectDbError([&] { query.IsEmpty(); }, notOpen);
  ExpectDbError([&] { query.Eof(); }, notOpen);
  ExpectDbError([&] { query.Next(); }, notOpen);
  ExpectDbError([&] { query.FieldAsText("1"); }, notOpen);
  ExpectDbError([&] { query.FirstColumn(); }, notOpen);

  query.Open();
  EXPECT_EQ(query.FirstColumn(), Value{int64_t{1}});
  query.Close();
  query.Close();
  EXPECT_FALSE(query.IsOpen());
  ExpectDbError([&] { query.FirstColumn(); }, notOpen);

  // Opening again sends the statement anew.
  query.Open();
  EXPECT_EQ(query.FirstColumn(), Value{int64_t{1}});
}

TEST_F(QueryTest, RefusedStatementKeepsTheConnectionUsable) {
  db::Query bad(*connection, "select * from nao_existe");
  ExpectDbError([&] { bad.Open(); }, "Table '" + testsupport::TestServer().database + ".nao_existe' doesn't exist",
                1146);
  EXPECT_FALSE(bad.IsOpen());

  db::Query good(*connection, "select 'ok'");
  good.Open();
  EXPECT_EQ(good.FirstColumn(), Value{std::string("ok")});
}

TEST_F(QueryTest, ErrorWhileFetchingTheResult) {
  ScratchTable rows("db_query_rows", "id int");
  ScratchTable values("db_query_values", "k int, v int");
  testsupport::Sql("insert into db_query_rows values (1), (2), (3); "
                   "insert into db_query_values values (1, 10), (2, 20), (3, 30), (3, 31)");
  // Rows 1 and 2 are on their way before the server finds the third row's subquery ambiguous.
  db::Query query(*connection, "select id, (select v from db_query_values where k = id) from db_query_rows "
                               "order by id");
  ExpectDbError([&] { query.Open(); }, "Subquery returns more than 1 row", 1242);
  EXPECT_FALSE(query.IsOpen());
  db::Query good(*connection, "select 2");
  good.Open();
  EXPECT_EQ(good.FirstColumn(), Value{int64_t{2}});
}

TEST_F(QueryTest, ProcedureResultsAreAllRead) {
  testsupport::Sql("drop procedure if exists db_two_results");
  testsupport::Sql("create procedure db_two_results() begin select 'first'; select 'second'; end");
  db::Query query(*connection, "call db_two_results()");
  query.Open();
  EXPECT_EQ(query.FirstColumn(), Value{std::string("first")});
  // Left unread, the further results would leave the connection out of sync.
  db::Query next(*connection, "select 'next'");
  next.Open();
  EXPECT_EQ(next.FirstColumn(), Value{std::string("next")});
  testsupport::Sql("drop procedure db_two_results");
}

TEST_F(QueryTest, MovedQueryKeepsItsResult) {
  db::Query query(*connection, "select 5");
  query.Open();
  db::Query moved(std::move(query));
  EXPECT_EQ(moved.FirstColumn(), Value{int64_t{5}});
}

}  // namespace
