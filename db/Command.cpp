#include "db/Command.h"

#include <mysql.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <utility>

#include "db/Connection.h"
#include "db/DecimalText.h"
#include "db/Error.h"
#include "db/SameName.h"
#include "runtime/Failure.h"

namespace db {
namespace {

void AppendDecimal(std::string& out, int64_t number) {
  char digits[24];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
  out.append(digits, static_cast<std::size_t>(end - digits));  // (pointer, length): the iterator pair builds a temporary
}

std::string DecimalText(int64_t number) { return std::to_string(number); }

// The snprintf form of a date out of the server's range, for the message that refuses it.
[[noreturn]] void NotAValidDate(const std::chrono::year_month_day& d) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                static_cast<unsigned>(d.day()));
  throw runtime::Failure(std::string("'") + text + "' is not a valid date value");
}

void AppendDate(std::string& out, const runtime::DateTime& value) {
  const auto& d = value.date;
  const int year = static_cast<int>(d.year());
  if (!d.ok() || year < 0 || year > 9999) NotAValidDate(d);
  const unsigned month = static_cast<unsigned>(d.month());
  const unsigned day = static_cast<unsigned>(d.day());
  char text[] = "0000-00-00";
  for (int i = 3, rest = year; i >= 0; --i, rest /= 10) text[i] = static_cast<char>('0' + rest % 10);
  text[5] = static_cast<char>('0' + month / 10);
  text[6] = static_cast<char>('0' + month % 10);
  text[8] = static_cast<char>('0' + day / 10);
  text[9] = static_cast<char>('0' + day % 10);
  out.append(text, 10);
}

std::string DateText(const runtime::DateTime& value) {
  std::string text;
  AppendDate(text, value);
  return text;
}

std::string DateTimeText(const runtime::DateTime& value) {
  const long long seconds = value.timeOfDay.count();
  if (seconds == 0) return DateText(value);
  char time[32];
  std::snprintf(time, sizeof time, " %02lld:%02lld:%02lld", seconds / 3600 % 100, seconds / 60 % 60, seconds % 60);
  return DateText(value) + time;
}

void AppendCurrency(std::string& out, runtime::Currency value) {
  // Unsigned, so that the magnitude of INT64_MIN is representable.
  const uint64_t magnitude = value.ticks < 0 ? 0 - static_cast<uint64_t>(value.ticks) : value.ticks;
  if (value.ticks < 0) out += '-';
  char digits[24];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, magnitude / 10000);
  out.append(digits, static_cast<std::size_t>(end - digits));
  uint64_t fraction = magnitude % 10000;
  if (fraction == 0) return;
  char decimals[5] = {'.'};
  for (int i = 4; i > 0; --i, fraction /= 10) decimals[i] = static_cast<char>('0' + fraction % 10);
  std::size_t length = sizeof decimals;
  while (decimals[length - 1] == '0') --length;
  out.append(decimals, length);
}

// How a value reads as text, for the messages and for the quoted literals.
std::string TextOf(const runtime::Value& value) {
  if (auto* number = std::get_if<int64_t>(&value)) return DecimalText(*number);
  if (auto* currency = std::get_if<runtime::Currency>(&value)) return CurrencyLiteral(*currency);
  if (auto* date = std::get_if<runtime::DateTime>(&value)) return DateTimeText(*date);
  return std::get<std::string>(value);
}

[[noreturn]] void NotA(const char* kind, const runtime::Value& value) {
  throw runtime::Failure("'" + TextOf(value) + "' is not a valid " + kind + " value");
}

void AppendInteger(std::string& out, const runtime::Value& value) {
  if (auto* number = std::get_if<int64_t>(&value)) return AppendDecimal(out, *number);
  if (auto* currency = std::get_if<runtime::Currency>(&value); currency && currency->ticks % 10000 == 0)
    return AppendDecimal(out, currency->ticks / 10000);
  if (auto* text = std::get_if<std::string>(&value)) {
    int64_t number = 0;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (error == std::errc() && end == text->data() + text->size()) return AppendDecimal(out, number);
  }
  NotA("integer", value);
}

void AppendCurrencyValue(std::string& out, const runtime::Value& value) {
  if (auto* number = std::get_if<int64_t>(&value)) return AppendDecimal(out, *number);
  if (auto* currency = std::get_if<runtime::Currency>(&value)) return AppendCurrency(out, *currency);
  if (auto* text = std::get_if<std::string>(&value))
    if (auto ticks = TicksOfDecimalText(*text)) return AppendCurrency(out, {*ticks});
  NotA("currency", value);
}

void AppendDateValue(std::string& out, const runtime::Value& value) {
  auto* date = std::get_if<runtime::DateTime>(&value);
  if (!date) NotA("date", value);
  out += '\'';
  AppendDate(out, *date);
  out += '\'';
}

// Literal() appended to out, the quoted text's inside through appendEscaped(out, text).
template <class AppendEscaped>
void AppendLiteral(std::string& out, runtime::FieldType type, const runtime::Value& value,
                   const AppendEscaped& appendEscaped) {
  if (runtime::IsEmpty(value) || runtime::IsNull(value)) {
    out += "NULL";
    return;
  }
  switch (type) {
    case runtime::FieldType::Integer:
      return AppendInteger(out, value);
    case runtime::FieldType::Currency:
      return AppendCurrencyValue(out, value);
    case runtime::FieldType::Date:
      return AppendDateValue(out, value);
    case runtime::FieldType::String:
    case runtime::FieldType::Blob:
    case runtime::FieldType::Unknown:
      break;
  }
  out += '\'';
  if (auto* text = std::get_if<std::string>(&value)) appendEscaped(out, *text);
  else appendEscaped(out, TextOf(value));
  out += '\'';
}

}  // namespace

std::string CurrencyLiteral(runtime::Currency value) {
  std::string literal;
  AppendCurrency(literal, value);
  return literal;
}

std::string Literal(runtime::FieldType type, const runtime::Value& value,
                    const std::function<std::string(std::string_view)>& escapeText) {
  std::string literal;
  AppendLiteral(literal, type, value, [&](std::string& out, std::string_view text) { out += escapeText(text); });
  return literal;
}

Command::Command(Connection& connection, std::string text)
    : Command(connection, std::make_shared<const StatementText>(std::move(text))) {}

Command::Command(Connection& connection, std::shared_ptr<const StatementText> statement)
    : connection_(&connection), statement_(std::move(statement)) {
  if (!statement_) throw Error("The command has no statement text", 0);
  arguments_.resize(statement_->Placeholders().size());
}

std::vector<Param> Command::Params() const {
  std::vector<Param> params;
  params.reserve(arguments_.size());
  for (std::size_t p = 0; p < arguments_.size(); ++p)
    params.push_back({statement_->Placeholders()[p].name, arguments_[p].type, arguments_[p].value});
  return params;
}

void Command::AssignParams(const std::vector<Param>& given) {
  const std::vector<Placeholder>& placeholders = statement_->Placeholders();
  for (std::size_t g = 0; g < given.size(); ++g) {
    const Param& param = given[g];
    // A builder gives its fields in the order of the text's placeholders: the one in the
    // same place is the first of the name unless an earlier one bears it too.
    std::size_t p = g;
    if (g >= placeholders.size() || !statement_->FirstOfItsName(g) || !SameName(placeholders[g].name, param.name))
      for (p = 0; p < placeholders.size() && !SameName(placeholders[p].name, param.name);) ++p;
    if (p == placeholders.size()) continue;
    arguments_[p].type = param.type;
    arguments_[p].value = param.value;
  }
}

std::string Command::RenderedText() const {
  const std::string& text = statement_->Text();
  const std::vector<Placeholder>& placeholders = statement_->Placeholders();
  const auto appendEscaped = [this](std::string& out, std::string_view unescaped) {
    out += connection_->Escape(unescaped);
  };

  std::string rendered;
  // Room for the literals of a row, so the text grows without moving.
  rendered.reserve(statement_->SentLength() + 32 * placeholders.size());
  std::size_t copied = 0;
  for (std::size_t p = 0; p < placeholders.size(); ++p) {
    rendered.append(text, copied, placeholders[p].offset - copied);
    AppendLiteral(rendered, arguments_[p].type, arguments_[p].value, appendEscaped);
    copied = placeholders[p].offset + placeholders[p].length;
  }
  rendered.append(text, copied, statement_->SentLength() - copied);
  return rendered;
}

void Command::Execute() {
  affected_ = 0;
  const std::string sql = RenderedText();
  MYSQL* handle = connection_->BeginStatement();
  if (mysql_real_query(handle, sql.data(), static_cast<unsigned long>(sql.size())) != 0)
    throw Error(mysql_error(handle), mysql_errno(handle));
  // (my_ulonglong)-1 means the statement gave a result set instead of a count.
  const my_ulonglong affected = mysql_affected_rows(handle);
  affected_ = affected == static_cast<my_ulonglong>(-1) ? 0 : static_cast<int64_t>(affected);
  // Any result set is read and dropped: until then the connection takes no other statement.
  for (;;) {
    if (MYSQL_RES* result = mysql_store_result(handle)) mysql_free_result(result);
    else if (mysql_field_count(handle) != 0) throw Error(mysql_error(handle), mysql_errno(handle));
    const int more = mysql_next_result(handle);
    if (more > 0) throw Error(mysql_error(handle), mysql_errno(handle));
    if (more < 0) break;
  }
  connection_->EndStatement();
}

}  // namespace db
