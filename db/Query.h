#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/Value.h"

struct st_mysql_res;

namespace db {

class Connection;

// A statement whose whole result is fetched on Open (mysql_store_result). A statement
// without a result set (an update, say) opens as an empty result. Reading a closed query
// or past the last row throws db::Error.
class Query {
 public:
  Query(Connection& connection, std::string sql);
  Query(Query&&) noexcept;
  Query& operator=(Query&&) noexcept;
  ~Query();

  // Sends the statement and stands on the first row. Throws db::Error.
  void Open();
  void Close() noexcept;

  bool IsOpen() const noexcept;
  bool IsEmpty() const;  // the result holds no row
  bool Eof() const;      // stepped past the last row (true at once for an empty result)
  void Next();

  // A column of the current row by name as text; NULL reads as the empty text.
  // Throws db::Error when the result has no such column.
  std::string FieldAsText(std::string_view name) const;

  // The first column of the current row, typed by the column: integers as int64_t,
  // decimals as Currency when they fit, dates as DateTime, NULL as Null, the rest as text.
  runtime::Value FirstColumn() const;

 private:
  struct Freer {
    void operator()(st_mysql_res* result) const noexcept;
  };
  Connection* connection_;
  std::string sql_;
  std::unique_ptr<st_mysql_res, Freer> result_;
  char** row_ = nullptr;
  unsigned long* lengths_ = nullptr;
  bool open_ = false;  // also true for a statement that gave no result set
};

}  // namespace db
