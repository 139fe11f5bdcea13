#include "db/DecimalText.h"

namespace db {

std::optional<int64_t> TicksOfDecimalText(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view decimals = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (whole.empty() || decimals.size() > 4 || (point != std::string_view::npos && decimals.empty()))
    return std::nullopt;

  // The magnitude is gathered unsigned so that INT64_MIN, one more than INT64_MAX, fits.
  uint64_t magnitude = 0;
  auto append = [&magnitude](char digit) {
    if (digit < '0' || digit > '9') return false;
    return !__builtin_mul_overflow(magnitude, 10u, &magnitude) &&
           !__builtin_add_overflow(magnitude, static_cast<unsigned>(digit - '0'), &magnitude);
  };
  for (char c : whole)
    if (!append(c)) return std::nullopt;
  for (std::size_t i = 0; i < 4; ++i)
    if (!append(i < decimals.size() ? decimals[i] : '0')) return std::nullopt;

  const uint64_t limit = uint64_t{INT64_MAX} + (negative ? 1 : 0);
  if (magnitude > limit) return std::nullopt;
  return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
}

}  // namespace db
