#include "runtime/LineList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LinesOf, SplitsAtEveryKindOfLineEnd) {
  const struct {
    std::string text;
    runtime::LineList lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\n", {"a"}},
      {"a\r", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc\r\nd\r\n", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\n", {"a", ""}},
      {"\r\n", {""}},
      {"\n\r", {"", ""}},
      {"\r\n\r\n", {"", ""}},
      {"\r\nx", {"", "x"}},
      {" a \t\r\n", {" a \t"}},
      {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(runtime::LinesOf(c.text), c.lines);
  }
}

TEST(TextOf, EndsEveryLineWithCrLf) {
  const struct {
    runtime::LineList lines;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{""}, "\r\n"},
      {{"a"}, "a\r\n"},
      {{"a", "", "b"}, "a\r\n\r\nb\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(runtime::TextOf(c.lines), c.text);
    EXPECT_EQ(runtime::LinesOf(c.text), c.lines);
  }
}

TEST(LinesOf, SplitsLargeTextWithoutLoss) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  runtime::LineList lines = runtime::LinesOf(text);
  ASSERT_EQ(lines.size(), 200000u);
  EXPECT_EQ(lines.front(), "0");
  EXPECT_EQ(lines[123456], "123456");
  EXPECT_EQ(lines.back(), "199999");
}

}  // namespace
