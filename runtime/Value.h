#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <string>
#include <variant>

namespace runtime {

// The data type that goes with a statement field or a command parameter.
enum class FieldType { Unknown, String, Integer, Currency, Date, Blob };

// Signed fixed point with four decimals: 10.5 is 105000 ticks.
struct Currency {
  int64_t ticks = 0;
  friend auto operator<=>(const Currency&, const Currency&) = default;
};

// A date that may carry a time of day; the database only ever receives the date.
struct DateTime {
  std::chrono::year_month_day date{};
  std::chrono::seconds timeOfDay{0};
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// SQL NULL, as distinct from the empty (never assigned) value.
struct Null {
  friend bool operator==(const Null&, const Null&) = default;
};

// A dynamically typed value; default-constructed it is the empty value.
using Value = std::variant<std::monostate, Null, int64_t, Currency, DateTime, std::string>;

inline bool IsEmpty(const Value& v) { return std::holds_alternative<std::monostate>(v); }
inline bool IsNull(const Value& v) { return std::holds_alternative<Null>(v); }

}  // namespace runtime
