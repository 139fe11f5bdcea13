#include "runtime/Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  std::string from;
  std::string to;
};

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string text = runtime::Cp1252ToUtf8(all);
  EXPECT_EQ(runtime::Utf8ToCp1252(text), all);
}

TEST(Cp1252, BytesBecomeTheirCharacters) {
  const Case cases[] = {
      {"A", "A"},
      {std::string(1, '\0'), std::string(1, '\0')},
      {"\x7F", "\x7F"},
      {"\x80", "€"},
      {"\x8A\x9A", "Šš"},
      {"\x92", "’"},
      {"\x99", "™"},
      {"\x9F", "Ÿ"},
      {"\xA0", "\xC2\xA0"},
      {"\xE7\xE3o", "ção"},
      {"\xFF", "ÿ"},
      // The five bytes Windows leaves undefined keep their own code points.
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"a\xC9" "b", "aÉb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    EXPECT_EQ(runtime::Cp1252ToUtf8(c.from), c.to);
    EXPECT_EQ(runtime::Utf8ToCp1252(c.to), c.from);
  }
}

TEST(Cp1252, WhatCannotBeHeldBecomesQuestionMark) {
  const Case cases[] = {
      {"日本", "??"},
      {"a😀b", "a?b"},
      {"\xC2\x80", "?"},          // U+0080: a C1 control that 0x80 does not stand for
      {"\xE2\x82\xAC\xC2\x9F", "\x80?"},
      {"\xFF", "?"},              // never a UTF-8 byte
      {"\x80" "a", "?a"},         // continuation byte without a lead
      {"\xC3", "?"},              // cut short at the end
      {"\xE2\x82" "a", "?a"},     // cut short inside: one "?", then the next character
      {"\xC0\xAF", "??"},         // overlong "/"
      {"\xED\xA0\x80", "???"},    // surrogate
      {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
      {"\xC3\xA7\xC3", "\xE7?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    EXPECT_EQ(runtime::Utf8ToCp1252(c.from), c.to);
  }
}

}  // namespace
