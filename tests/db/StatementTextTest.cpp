#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "db/Command.h"
#include "db/DecimalText.h"
#include "runtime/Failure.h"

namespace {

using runtime::Currency;
using runtime::DateTime;
using runtime::FieldType;
using runtime::Value;
using namespace std::chrono_literals;

// "name@offset+length" for every placeholder, so one string shows where each one stands.
std::vector<std::string> Found(std::string_view text) {
  std::vector<std::string> found;
  for (const auto& p : db::FindPlaceholders(text))
    found.push_back(p.name + "@" + std::to_string(p.offset) + "+" + std::to_string(p.length));
  return found;
}

TEST(FindPlaceholders, NamesOutsideStringsAndComments) {
  struct Case {
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"a=:x,:y", {"x@2+2", "y@5+2"}},
      {"values (:fornece_id,:Fab2,:_3)", {"fornece_id@8+11", "Fab2@20+5", "_3@26+3"}},
      {"where a = :last", {"last@10+5"}},
      {"select :a, :a", {"a@7+2", "a@11+2"}},
      {"select :1", {"1@7+2"}},
      {"select : a, :", {}},
      {"set @v := 1", {}},
      {"select 'x:y', :z", {"z@14+2"}},
      {"select \"x:y\", :z", {"z@14+2"}},
      {"select `x:y`, :z", {"z@14+2"}},
      {"select 'it\\'s :no', :z", {"z@20+2"}},
      {"select 'it''s :no', :z", {"z@20+2"}},
      {"select \"say \\\":no\\\"\", :z", {"z@22+2"}},
      {"select \"say \"\":no\", :z", {"z@20+2"}},
      {"select 'back\\\\', :z", {"z@17+2"}},
      {"select `a``:no`, :z", {"z@17+2"}},
      {"select `a\\`, :z", {"z@13+2"}},
      {"select 1 -- :no\n, :z", {"z@18+2"}},
      {"select 1 --\t:no\n, :z", {"z@18+2"}},
      {"select 1--:x", {"x@10+2"}},
      {"select 1 # :no\r\n, :z", {"z@18+2"}},
      {"select /* :no */ :z", {"z@17+2"}},
      {"select /* :no", {}},
      {"select ':no", {}},
      {"select a::b", {}},
      {"select :::x", {"x@9+2"}},
      {"where d = :Validade\r\n", {"Validade@10+9"}},
      {"select :ção", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Found(c.text), c.expected);
  }
}

TEST(CurrencyLiteral, ExactPlainDecimal) {
  struct Case {
    int64_t ticks;
    std::string expected;
  };
  const Case cases[] = {
      {105000, "10.5"},
      {100000, "10"},
      {-5, "-0.0005"},
      {0, "0"},
      {1, "0.0001"},
      {-105000, "-10.5"},
      {123456789, "12345.6789"},
      {10, "0.001"},
      {100010, "10.001"},
      {99999, "9.9999"},
      {std::numeric_limits<int64_t>::max(), "922337203685477.5807"},
      {std::numeric_limits<int64_t>::min(), "-922337203685477.5808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ticks);
    EXPECT_EQ(db::CurrencyLiteral({c.ticks}), c.expected);
  }
}

TEST(TicksOfDecimalText, PlainDecimalsUpToFourPlaces) {
  struct Case {
    std::string text;
    std::optional<int64_t> expected;
  };
  const Case cases[] = {
      {"10.5000", 105000},
      {"10.5", 105000},
      {"-0.0005", -5},
      {"0", 0},
      {"-0", 0},
      {"42", 420000},
      {"922337203685477.5807", std::numeric_limits<int64_t>::max()},
      {"-922337203685477.5808", std::numeric_limits<int64_t>::min()},
      {"922337203685477.5808", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"1.23456", std::nullopt},
      {"10,5", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {".5", std::nullopt},
      {"5.", std::nullopt},
      {"+5", std::nullopt},
      {" 5", std::nullopt},
      {"1e3", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(db::TicksOfDecimalText(c.text), c.expected);
  }
}

// Brackets show where the connection's escaping would apply.
std::string Bracketed(std::string_view text) { return "[" + std::string(text) + "]"; }

DateTime Date(int y, unsigned m, unsigned d, std::chrono::seconds time = 0s) {
  return {std::chrono::year{y} / m / d, time};
}

TEST(Literal, ByFieldType) {
  struct Case {
    const char* what;
    FieldType type;
    Value value;
    std::string expected;
  };
  const Case cases[] = {
      {"integer", FieldType::Integer, int64_t{12}, "12"},
      {"negative integer", FieldType::Integer, int64_t{-345}, "-345"},
      {"smallest integer", FieldType::Integer, std::numeric_limits<int64_t>::min(), "-9223372036854775808"},
      {"whole currency as integer", FieldType::Integer, Currency{70000}, "7"},
      {"numeric text as integer", FieldType::Integer, std::string("007"), "7"},
      {"currency", FieldType::Currency, Currency{105000}, "10.5"},
      {"integer as currency", FieldType::Currency, int64_t{3}, "3"},
      {"decimal text as currency", FieldType::Currency, std::string("10.50"), "10.5"},
      {"date", FieldType::Date, Date(2024, 3, 31), "'2024-03-31'"},
      {"date with time of day", FieldType::Date, Date(2024, 3, 31, 13h + 45min), "'2024-03-31'"},
      {"date padded", FieldType::Date, Date(999, 1, 5), "'0999-01-05'"},
      {"first date", FieldType::Date, Date(0, 1, 1), "'0000-01-01'"},
      {"last date", FieldType::Date, Date(9999, 12, 31), "'9999-12-31'"},
      {"string", FieldType::String, std::string("it's"), "'[it's]'"},
      {"empty string", FieldType::String, std::string(), "'[]'"},
      {"blob", FieldType::Blob, std::string("a\0b", 3), "'[" + std::string("a\0b", 3) + "]'"},
      {"unknown type", FieldType::Unknown, std::string("x"), "'[x]'"},
      {"integer as string", FieldType::String, int64_t{1}, "'[1]'"},
      {"currency as string", FieldType::String, Currency{-5}, "'[-0.0005]'"},
      {"date as string", FieldType::String, Date(2024, 3, 31), "'[2024-03-31]'"},
      {"date and time as string", FieldType::String, Date(2024, 3, 31, 13h + 5min + 9s), "'[2024-03-31 13:05:09]'"},
      {"null integer", FieldType::Integer, runtime::Null{}, "NULL"},
      {"null currency", FieldType::Currency, runtime::Null{}, "NULL"},
      {"null date", FieldType::Date, runtime::Null{}, "NULL"},
      {"null string", FieldType::String, runtime::Null{}, "NULL"},
      {"empty value", FieldType::String, Value{}, "NULL"},
      {"empty value as integer", FieldType::Integer, Value{}, "NULL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(db::Literal(c.type, c.value, Bracketed), c.expected);
  }
}

TEST(Literal, ValuesTheTypeCannotCarry) {
  struct Case {
    FieldType type;
    Value value;
    std::string message;
  };
  const Case cases[] = {
      {FieldType::Integer, std::string("12a"), "'12a' is not a valid integer value"},
      {FieldType::Integer, std::string(""), "'' is not a valid integer value"},
      {FieldType::Integer, std::string("99999999999999999999"), "'99999999999999999999' is not a valid integer value"},
      {FieldType::Integer, Currency{105000}, "'10.5' is not a valid integer value"},
      {FieldType::Integer, Date(2024, 3, 31), "'2024-03-31' is not a valid integer value"},
      {FieldType::Currency, std::string("10,5"), "'10,5' is not a valid currency value"},
      {FieldType::Currency, Date(2024, 3, 31), "'2024-03-31' is not a valid currency value"},
      {FieldType::Date, std::string("2024-03-31"), "'2024-03-31' is not a valid date value"},
      {FieldType::Date, int64_t{20240331}, "'20240331' is not a valid date value"},
      {FieldType::Date, Date(2023, 2, 29), "'2023-02-29' is not a valid date value"},
      {FieldType::String, Date(10000, 1, 1), "'10000-01-01' is not a valid date value"},
      {FieldType::Date, Date(-1, 12, 31), "'-001-12-31' is not a valid date value"},
      {FieldType::Date, Date(2024, 13, 1), "'2024-13-01' is not a valid date value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      db::Literal(c.type, c.value, Bracketed);
      ADD_FAILURE() << "no failure";
    } catch (const runtime::Failure& failure) {
      EXPECT_STREQ(failure.what(), c.message.c_str());
    }
  }
}

}  // namespace
