#include "runtime/IntText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int32_t kFallback = 3306;

TEST(ToInt32, ReadsWholeIntegers) {
  const struct {
    std::string text;
    int32_t expected;
  } cases[] = {
      {"0", 0},
      {"3307", 3307},
      {"007", 7},
      {"+5", 5},
      {"-5", -5},
      {"   42", 42},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"000000000000002147483647", 2147483647},
      {"$CEB", 3307},
      {"0xCEB", 3307},
      {"0XceB", 3307},
      {"xceb", 3307},
      {"Xceb", 3307},
      {"$1F", 31},
      {"-$10", -16},
      {"+$10", 16},
      {" -0x10", -16},
      {"$7FFFFFFF", 2147483647},
      {"$80000000", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"$FFFFFFFE", -2},
      {"-$FFFFFFFF", 1},
      {"-$80000000", INT32_MIN},  // the sign works on the 32 bits and wraps with them
      {"-0", 0},
      {"$000000000000CEB", 3307},  // leading zeros are not significant
      {"0x00000000FFFFFFFF", -1},
      {"$0", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(runtime::ToInt32(c.text, kFallback), c.expected);
  }
}

TEST(ToInt32, AnythingElseGivesTheFallback) {
  const std::string cases[] = {
      "",
      " ",
      "abc",
      "3306 x",
      "3306 ",
      "33 06",
      "12a",
      "1.5",
      "1,5",
      "+",
      "-",
      "+-1",
      "--1",
      "- 1",
      "2147483648",
      "-2147483649",
      "99999999999999999999",
      "$",
      "0x",
      "x",
      "$G",
      "$123456789",  // nine significant hexadecimal digits
      "0x1 ",
      "$-1",
      "0x-1",
      "\t1",
      "1e3",
      "０",  // a digit of another script
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(runtime::ToInt32(text, kFallback), kFallback);
    EXPECT_EQ(runtime::ToInt32(text, -1), -1);
  }
}

}  // namespace
