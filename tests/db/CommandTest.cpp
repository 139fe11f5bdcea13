#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "db/Command.h"
#include "db/Connection.h"
#include "db/Error.h"
#include "runtime/Failure.h"
#include "tests/db/ScratchTable.h"
#include "tests/support/TestServer.h"

namespace {

using runtime::Currency;
using runtime::DateTime;
using runtime::FieldType;
using runtime::Null;
using runtime::Value;
using namespace std::chrono_literals;
using Row = std::vector<std::optional<std::string>>;

const std::string kInsert =
    "insert into db_roundtrip (id, texto, valor, dia, quantidade)\r\n"
    "values (:id, :texto, :valor, :dia, :quantidade)\r\n";

class CommandTest : public ::testing::Test {
 protected:
  std::unique_ptr<db::Connection> connection = testsupport::ConnectTest();
  ScratchTable table{"db_roundtrip",
                     "id int primary key, texto varchar(100) null, valor decimal(15,4) null, "
                     "dia date null, quantidade int null"};

  int64_t Insert(int64_t id, Value texto, Value valor, Value dia, Value quantidade) {
    db::Command command(*connection, kInsert);
    command.AssignParams({{"ID", FieldType::Integer, id},
                          {"texto", FieldType::String, std::move(texto)},
                          {"Valor", FieldType::Currency, std::move(valor)},
                          {"dia", FieldType::Date, std::move(dia)},
                          {"quantidade", FieldType::Integer, std::move(quantidade)}});
    command.Execute();
    return command.AffectedRows();
  }
  Row Stored(int64_t id) {
    auto rows = testsupport::Rows("select texto, valor, dia, quantidade from db_roundtrip where id = " +
                                  std::to_string(id));
    return rows.size() == 1 ? rows[0] : Row{};
  }
};

TEST_F(CommandTest, EveryFieldTypeRoundTrips) {
  const std::string awkward = std::string("it's \"q\" c:\\dir ") + std::string(1, '\0') + " \r\n end\x1a ação";
  struct Case {
    const char* what;
    Value texto, valor, dia, quantidade;
    Row stored;
  };
  const Case cases[] = {
      {"plain values", std::string("Fabricante"), Currency{105000}, DateTime{2024y / 3 / 31, 0s}, int64_t{345},
       {"Fabricante", "10.5000", "2024-03-31", "345"}},
      {"quotes, backslash, NUL, CR LF, byte 26 and accents", awkward, Currency{-5},
       DateTime{2024y / 2 / 29, 23h + 59min}, int64_t{-1}, {awkward, "-0.0005", "2024-02-29", "-1"}},
      {"NULL stays NULL", Null{}, Null{}, Null{}, Null{}, {std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
      {"empty values are NULL", Value{}, Value{}, Value{}, Value{},
       {std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
      {"empty text is not NULL", std::string(), Currency{0}, DateTime{2000y / 1 / 1, 0s}, int64_t{0},
       {"", "0.0000", "2000-01-01", "0"}},
  };
  int64_t id = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Insert(++id, c.texto, c.valor, c.dia, c.quantidade), 1);
    EXPECT_EQ(Stored(id), c.stored);
  }
}

TEST_F(CommandTest, WhatTheServerReceives) {
  testsupport::GeneralLog log;
  Insert(7, std::string("it's"), Currency{105000}, DateTime{2024y / 3 / 31, 13h}, Null{});
  // Trailing CR LF dropped, inner line break kept, every literal in its place.
  EXPECT_EQ(log.Statements(),
            std::vector<std::string>{"insert into db_roundtrip (id, texto, valor, dia, quantidade)\r\n"
                                     "values (7, 'it\\'s', 10.5, '2024-03-31', NULL)"});
}

TEST_F(CommandTest, RenderedTextLeavesStringsAndCommentsAlone) {
  db::Command command(*connection,
                      "select ':texto', :texto, `:x`, :TEXTO -- :texto\n, :n # :x\n/* :x */, :unset \t\r\n\x1f ");
  ASSERT_EQ(command.Params().size(), 4u);
  command.AssignParams({{"x", FieldType::Integer, int64_t{1}},
                        {"texto", FieldType::String, std::string("first")},
                        {"N", FieldType::Integer, int64_t{2}},
                        {"texto", FieldType::String, std::string("later")},
                        {"absent", FieldType::Integer, int64_t{9}}});
  // A name used twice is two parameters, and a given one sets only the first of them: the
  // second :TEXTO stays unassigned, and the later given "texto" overwrites the first.
  EXPECT_EQ(command.RenderedText(), "select ':texto', 'later', `:x`, NULL -- :texto\n, 2 # :x\n/* :x */, NULL");
}

// Each given parameter sets the first placeholder of its name, whatever its place among
// the given ones; the rest of that name stay unset.
TEST_F(CommandTest, AGivenParameterSetsTheFirstPlaceholderOfItsName) {
  struct Case {
    const char* what;
    std::string sql;
    std::vector<std::string> given;  // names, given the values 1, 2, 3... in this order
    std::string rendered;
  };
  const Case cases[] = {
      {"same order", "values (:a, :b, :c)", {"a", "b", "c"}, "values (1, 2, 3)"},
      {"other case", "values (:a, :B, :c)", {"A", "b", "C"}, "values (1, 2, 3)"},
      {"reversed", "values (:a, :b, :c)", {"c", "b", "a"}, "values (3, 2, 1)"},
      {"a name again in the text", "values (:a, :b, :A)", {"a", "b", "A"}, "values (3, 2, NULL)"},
      {"a name again further on", "values (:a, :b, :a, :c)", {"a", "b", "a", "c"}, "values (3, 2, NULL, 4)"},
      {"more given than placeholders", "values (:a)", {"x", "a", "y"}, "values (2)"},
      {"fewer given", "values (:a, :b)", {"b"}, "values (NULL, 1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<db::Param> given;
    for (const std::string& name : c.given)
      given.push_back({name, FieldType::Integer, int64_t(given.size() + 1)});
    db::Command command(*connection, c.sql);
    command.AssignParams(given);
    EXPECT_EQ(command.RenderedText(), c.rendered);
  }
}

TEST_F(CommandTest, AffectedRows) {
  const auto affected = [this](const std::string& sql) {
    db::Command command(*connection, sql);
    command.Execute();
    return command.AffectedRows();
  };
  EXPECT_EQ(affected("insert into db_roundtrip (id) values (1), (2), (3)"), 3);
  EXPECT_EQ(affected("update db_roundtrip set quantidade = 5 where id >= 2"), 2);
  EXPECT_EQ(affected("update db_roundtrip set quantidade = 5 where id >= 2"), 0);
  EXPECT_EQ(affected("delete from db_roundtrip where id = 99"), 0);
  // A replace of an existing key deletes and inserts: the server counts both.
  EXPECT_EQ(affected("replace into db_roundtrip (id, quantidade) values (1, 7)"), 2);
  EXPECT_EQ(affected("replace into db_roundtrip (id, quantidade) values (4, 7)"), 1);
  // A select reports no count; its rows are drained so the next statement runs.
  EXPECT_EQ(affected("select * from db_roundtrip"), 0);
  EXPECT_EQ(affected("delete from db_roundtrip"), 4);
}

TEST_F(CommandTest, RefusedStatementsGiveTheServersMessage) {
  Insert(1, Value{}, Value{}, Value{}, Value{});
  struct Case {
    std::string sql;
    std::string message;
    unsigned code;
  };
  const Case cases[] = {
      {"insert into db_roundtrip (id) values (1)", "Duplicate entry '1' for key 'PRIMARY'", 1062},
      {"insert into nao_existe values (1)",
       "Table '" + testsupport::TestServer().database + ".nao_existe' doesn't exist", 1146},
      {"update db_roundtrip set nao_existe = 1", "Unknown column 'nao_existe' in 'SET'", 1054},
      {"insert into db_roundtrip (id) values (null)", "Column 'id' cannot be null", 1048},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    db::Command command(*connection, c.sql);
    try {
      command.Execute();
      ADD_FAILURE() << "executed";
    } catch (const db::Error& error) {
      EXPECT_EQ(error.what(), c.message);
      EXPECT_EQ(error.code(), c.code);
    }
    EXPECT_EQ(command.AffectedRows(), 0);
    // The same connection takes the next statement.
    EXPECT_EQ(Insert(100, std::string("after"), Value{}, Value{}, Value{}), 1);
    testsupport::Sql("delete from db_roundtrip where id = 100");
  }
}

TEST_F(CommandTest, OneStatementPerExecution) {
  // Several statements in one text are refused, not run one after the other.
  db::Command command(*connection, "insert into db_roundtrip (id) values (1); insert into db_roundtrip (id) values (2)");
  EXPECT_THROW(command.Execute(), db::Error);
  EXPECT_EQ(testsupport::Scalar("select count(*) from db_roundtrip"), "0");
}

TEST_F(CommandTest, ValueTheTypeCannotCarryIsNotSent) {
  testsupport::GeneralLog log;
  db::Command command(*connection, kInsert);
  command.AssignParams({{"id", FieldType::Integer, std::string("1x")}});
  EXPECT_THROW(command.Execute(), runtime::Failure);
  EXPECT_TRUE(log.Statements().empty());
}

TEST_F(CommandTest, ProcedureResultsAreDrained) {
  testsupport::Sql("drop procedure if exists db_insert_and_select");
  testsupport::Sql("create procedure db_insert_and_select(n int) begin "
                   "insert into db_roundtrip (id) values (n); select n; select n + 1; end");
  db::Command call(*connection, "call db_insert_and_select(:n)");
  call.AssignParams({{"n", FieldType::Integer, int64_t{5}}});
  call.Execute();
  EXPECT_EQ(Insert(6, Value{}, Value{}, Value{}, Value{}), 1);
  EXPECT_EQ(testsupport::Scalar("select group_concat(id order by id) from db_roundtrip"), "5,6");
  testsupport::Sql("drop procedure db_insert_and_select");
}

}  // namespace
