#include "db/Query.h"

#include <mysql.h>

#include <charconv>
#include <chrono>

#include "db/Connection.h"
#include "db/DecimalText.h"
#include "db/Error.h"
#include "db/SameName.h"

namespace db {
namespace {

template <class Number>
bool ReadNumber(std::string_view text, Number& number) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, number);
  return error == std::errc() && stop == end;
}

// "YYYY-MM-DD" with an optional " HH:MM:SS[.ffffff]", as the text protocol sends them.
// The zero date is how MySQL stores "no date", so it reads as NULL.
runtime::Value DateValue(std::string_view text) {
  if (text.starts_with("0000-00-00")) return runtime::Null{};
  int year = 0;
  unsigned month = 0, day = 0, hours = 0, minutes = 0, seconds = 0;
  const bool dateRead = text.size() >= 10 && text[4] == '-' && text[7] == '-' &&
                        ReadNumber(text.substr(0, 4), year) && ReadNumber(text.substr(5, 2), month) &&
                        ReadNumber(text.substr(8, 2), day);
  if (!dateRead) return std::string(text);
  const std::string_view time = text.substr(10);
  const bool timeRead = time.empty() || (time.size() >= 9 && time[0] == ' ' && time[3] == ':' &&
                                         time[6] == ':' && ReadNumber(time.substr(1, 2), hours) &&
                                         ReadNumber(time.substr(4, 2), minutes) &&
                                         ReadNumber(time.substr(7, 2), seconds));
  const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
  if (!timeRead || !date.ok()) return std::string(text);
  return runtime::DateTime{date, std::chrono::hours{hours} + std::chrono::minutes{minutes} +
                                     std::chrono::seconds{seconds}};
}

runtime::Value TypedValue(const MYSQL_FIELD& field, std::string_view text) {
  switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR: {
      // An unsigned BIGINT above INT64_MAX does not read and stays text.
      int64_t number = 0;
      if (ReadNumber(text, number)) return number;
      return std::string(text);
    }
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
      if (auto ticks = TicksOfDecimalText(text)) return runtime::Currency{*ticks};
      return std::string(text);
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
      return DateValue(text);
    default:
      return std::string(text);
  }
}

// A CALL answers with more than one result; the rest must be read before the next statement.
void DiscardFurtherResults(MYSQL* handle) {
  while (mysql_more_results(handle)) {
    if (mysql_next_result(handle) > 0) throw Error(mysql_error(handle), mysql_errno(handle));
    if (MYSQL_RES* further = mysql_store_result(handle)) mysql_free_result(further);
  }
}

}  // namespace

void Query::Freer::operator()(st_mysql_res* result) const noexcept { mysql_free_result(result); }

Query::Query(Connection& connection, std::string sql) : connection_(&connection), sql_(std::move(sql)) {}
Query::Query(Query&&) noexcept = default;
Query& Query::operator=(Query&&) noexcept = default;
Query::~Query() = default;

void Query::Open() {
  Close();
  MYSQL* handle = connection_->BeginStatement();
  if (mysql_real_query(handle, sql_.data(), static_cast<unsigned long>(sql_.size())) != 0)
    throw Error(mysql_error(handle), mysql_errno(handle));
  std::unique_ptr<st_mysql_res, Freer> result(mysql_store_result(handle));
  // A null result is either no result set at all or a failure while fetching it.
  if (!result && mysql_field_count(handle) != 0) throw Error(mysql_error(handle), mysql_errno(handle));
  DiscardFurtherResults(handle);
  connection_->EndStatement();
  result_ = std::move(result);
  open_ = true;
  row_ = result_ ? mysql_fetch_row(result_.get()) : nullptr;
  lengths_ = row_ ? mysql_fetch_lengths(result_.get()) : nullptr;
}

void Query::Close() noexcept {
  result_.reset();
  row_ = nullptr;
  lengths_ = nullptr;
  open_ = false;
}

bool Query::IsOpen() const noexcept { return open_; }

bool Query::IsEmpty() const {
  if (!open_) throw Error("The query is not open", 0);
  return !result_ || mysql_num_rows(result_.get()) == 0;
}

bool Query::Eof() const {
  if (!open_) throw Error("The query is not open", 0);
  return row_ == nullptr;
}

void Query::Next() {
  if (Eof()) throw Error("The query is past its last row", 0);
  row_ = mysql_fetch_row(result_.get());
  lengths_ = row_ ? mysql_fetch_lengths(result_.get()) : nullptr;
}

std::string Query::FieldAsText(std::string_view name) const {
  if (!open_) throw Error("The query is not open", 0);
  const unsigned columns = result_ ? mysql_num_fields(result_.get()) : 0;
  const MYSQL_FIELD* fields = result_ ? mysql_fetch_fields(result_.get()) : nullptr;
  for (unsigned c = 0; c < columns; ++c) {
    if (!SameName(fields[c].name, name)) continue;
    if (Eof()) throw Error("The query has no current row", 0);
    return row_[c] ? std::string(row_[c], lengths_[c]) : std::string();
  }
  throw Error("Field '" + std::string(name) + "' not found", 0);
}

runtime::Value Query::FirstColumn() const {
  if (Eof()) throw Error("The query has no current row", 0);
  if (!row_[0]) return runtime::Null{};
  return TypedValue(*mysql_fetch_field_direct(result_.get(), 0), std::string_view(row_[0], lengths_[0]));
}

}  // namespace db
