// Statement texts: placeholders found are real ":name"s, and no value rendered as a literal
// can hide or invent one, or read back as anything but itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "db/Command.h"
#include "fuzz/Check.h"
#include "fuzz/ReferenceEscape.h"
#include "runtime/Failure.h"
#include "runtime/Value.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

void CheckFound(const std::string& text) {
  std::size_t previousEnd = 0;
  for (const db::Placeholder& p : db::FindPlaceholders(text)) {
    FUZZ_CHECK(p.offset >= previousEnd && p.offset + p.length <= text.size());
    FUZZ_CHECK(text[p.offset] == ':' && !p.name.empty() && p.length == p.name.size() + 1);
    FUZZ_CHECK(text.compare(p.offset + 1, p.name.size(), p.name) == 0);
    for (char c : p.name) FUZZ_CHECK(IsNameChar(c));
    FUZZ_CHECK(p.offset + p.length == text.size() || !IsNameChar(text[p.offset + p.length]));
    previousEnd = p.offset + p.length;
  }
}

// Only the placeholder after the literal is found, and the literal reads back as the text.
void CheckQuoted(const std::string& literal, const std::string& text) {
  const std::string statement = "select " + literal + ", :after";
  const auto found = db::FindPlaceholders(statement);
  FUZZ_CHECK(found.size() == 1 && found[0].name == "after" && found[0].offset == 9 + literal.size());
  const auto unquoted = reference::UnquoteText(statement, 7);
  FUZZ_CHECK(unquoted && unquoted->text == text && unquoted->end == 7 + literal.size());
}

// The whole decimal text of a count of ten-thousandths, as the server reads a literal.
int64_t TicksOf(const std::string& literal) {
  const bool negative = literal.starts_with('-');
  const std::size_t point = literal.find('.');
  const std::string whole = literal.substr(negative, point - negative);
  std::string decimals = point == std::string::npos ? "" : literal.substr(point + 1);
  FUZZ_CHECK(!whole.empty() && decimals.size() <= 4 && !decimals.ends_with('0'));
  FUZZ_CHECK(whole == "0" || whole[0] != '0');
  decimals.resize(4, '0');
  FUZZ_CHECK(whole.size() + decimals.size() <= 19);
  uint64_t magnitude = 0;  // unsigned, so that the magnitude of INT64_MIN fits
  for (char c : whole + decimals) {
    FUZZ_CHECK(c >= '0' && c <= '9');
    magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
  }
  return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

void CheckLiterals(FuzzedDataProvider& data) {
  const std::string text = data.ConsumeRandomLengthString(300);
  const std::string literal = db::Literal(runtime::FieldType::String, text, reference::EscapeText);
  CheckQuoted(literal, text);
  // A text between double quotes, as the lookups build them, stays one string as well.
  CheckQuoted("\"" + reference::EscapeText(text) + "\"", text);

  const int64_t number = data.ConsumeIntegral<int64_t>();
  FUZZ_CHECK(db::Literal(runtime::FieldType::Integer, number, reference::EscapeText) == std::to_string(number));
  const std::string currency =
      db::Literal(runtime::FieldType::Currency, runtime::Currency{number}, reference::EscapeText);
  FUZZ_CHECK(TicksOf(currency) == number && (number != 0 || currency == "0"));

  const std::chrono::year_month_day date{std::chrono::year(data.ConsumeIntegralInRange(1, 9999)),
                                         std::chrono::month(data.ConsumeIntegralInRange(1, 12)),
                                         std::chrono::day(data.ConsumeIntegralInRange(1, 28))};
  const runtime::DateTime when{date, std::chrono::seconds(data.ConsumeIntegralInRange(0, 86399))};
  char expected[16];
  std::snprintf(expected, sizeof expected, "'%04d-%02u-%02u'", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  FUZZ_CHECK(db::Literal(runtime::FieldType::Date, when, reference::EscapeText) == expected);

  for (auto type : {runtime::FieldType::String, runtime::FieldType::Integer, runtime::FieldType::Currency,
                    runtime::FieldType::Date}) {
    FUZZ_CHECK(db::Literal(type, runtime::Null{}, reference::EscapeText) == "NULL");
    FUZZ_CHECK(db::Literal(type, runtime::Value{}, reference::EscapeText) == "NULL");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  if (data.ConsumeBool()) CheckFound(data.ConsumeRemainingBytesAsString());
  else CheckLiterals(data);
  return 0;
}
