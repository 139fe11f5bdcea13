#include "db/Command.h"

#include <mysql.h>

#include <charconv>
#include <cstdio>
#include <utility>

#include "db/Connection.h"
#include "db/DecimalText.h"
#include "db/Error.h"
#include "db/OpenHandle.h"
#include "db/SameName.h"
#include "runtime/Failure.h"

namespace db {
namespace {

std::string DecimalText(int64_t number) { return std::to_string(number); }

std::string DateText(const runtime::DateTime& value) {
  const auto& d = value.date;
  const int year = static_cast<int>(d.year());
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", year, static_cast<unsigned>(d.month()),
                static_cast<unsigned>(d.day()));
  if (!d.ok() || year < 0 || year > 9999)
    throw runtime::Failure(std::string("'") + text + "' is not a valid date value");
  return text;
}

std::string DateTimeText(const runtime::DateTime& value) {
  const long long seconds = value.timeOfDay.count();
  if (seconds == 0) return DateText(value);
  char time[32];
  std::snprintf(time, sizeof time, " %02lld:%02lld:%02lld", seconds / 3600 % 100, seconds / 60 % 60, seconds % 60);
  return DateText(value) + time;
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

std::string IntegerLiteral(const runtime::Value& value) {
  if (auto* number = std::get_if<int64_t>(&value)) return DecimalText(*number);
  if (auto* currency = std::get_if<runtime::Currency>(&value); currency && currency->ticks % 10000 == 0)
    return DecimalText(currency->ticks / 10000);
  if (auto* text = std::get_if<std::string>(&value)) {
    int64_t number = 0;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (error == std::errc() && end == text->data() + text->size()) return DecimalText(number);
  }
  NotA("integer", value);
}

std::string CurrencyValueLiteral(const runtime::Value& value) {
  if (auto* number = std::get_if<int64_t>(&value)) return DecimalText(*number);
  if (auto* currency = std::get_if<runtime::Currency>(&value)) return CurrencyLiteral(*currency);
  if (auto* text = std::get_if<std::string>(&value))
    if (auto ticks = TicksOfDecimalText(*text)) return CurrencyLiteral({*ticks});
  NotA("currency", value);
}

std::string DateLiteral(const runtime::Value& value) {
  if (auto* date = std::get_if<runtime::DateTime>(&value)) return "'" + DateText(*date) + "'";
  NotA("date", value);
}

}  // namespace

std::string CurrencyLiteral(runtime::Currency value) {
  // Unsigned, so that the magnitude of INT64_MIN is representable.
  const uint64_t magnitude = value.ticks < 0 ? 0 - static_cast<uint64_t>(value.ticks) : value.ticks;
  std::string literal = (value.ticks < 0 ? "-" : "") + std::to_string(magnitude / 10000);
  std::string decimals = std::to_string(magnitude % 10000 + 10000).substr(1);
  decimals.erase(decimals.find_last_not_of('0') + 1);
  if (!decimals.empty()) literal += "." + decimals;
  return literal;
}

std::string Literal(runtime::FieldType type, const runtime::Value& value,
                    const std::function<std::string(std::string_view)>& escapeText) {
  if (runtime::IsEmpty(value) || runtime::IsNull(value)) return "NULL";
  switch (type) {
    case runtime::FieldType::Integer:
      return IntegerLiteral(value);
    case runtime::FieldType::Currency:
      return CurrencyValueLiteral(value);
    case runtime::FieldType::Date:
      return DateLiteral(value);
    case runtime::FieldType::String:
    case runtime::FieldType::Blob:
    case runtime::FieldType::Unknown:
      break;
  }
  return "'" + escapeText(TextOf(value)) + "'";
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
  for (const Param& param : given) {
    for (std::size_t p = 0; p < placeholders.size(); ++p) {
      if (!SameName(placeholders[p].name, param.name)) continue;
      arguments_[p].type = param.type;
      arguments_[p].value = param.value;
      break;
    }
  }
}

std::string Command::RenderedText() const {
  const std::string& text = statement_->Text();
  const std::vector<Placeholder>& placeholders = statement_->Placeholders();
  const auto escape = [this](std::string_view unescaped) { return connection_->Escape(unescaped); };

  std::string rendered;
  std::size_t copied = 0;
  for (std::size_t p = 0; p < placeholders.size(); ++p) {
    rendered.append(text, copied, placeholders[p].offset - copied);
    rendered += Literal(arguments_[p].type, arguments_[p].value, escape);
    copied = placeholders[p].offset + placeholders[p].length;
  }
  rendered.append(text, copied, statement_->SentLength() - copied);
  return rendered;
}

void Command::Execute() {
  affected_ = 0;
  const std::string sql = RenderedText();
  MYSQL* handle = OpenHandle(*connection_);
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
}

}  // namespace db
