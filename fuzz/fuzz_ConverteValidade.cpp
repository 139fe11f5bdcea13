// Validity dates: an accepted date is a real one, and written out again in the regional
// order (four-digit or two-digit year) it reads back as itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "fuzz/Check.h"
#include "import/UCargaDescontos.h"
#include "runtime/Failure.h"
#include "runtime/Regional.h"

namespace {

using std::chrono::year_month_day;

std::optional<year_month_day> Read(const std::string& text, const runtime::Regional& regional, int currentYear) {
  try {
    return ConverteValidade(text, regional, currentYear);
  } catch (const runtime::Failure&) {
    return std::nullopt;
  }
}

std::string Written(const year_month_day& date, const runtime::Regional& regional, const char* yearFormat,
                    int year) {
  char y[8], m[4], d[4];
  std::snprintf(y, sizeof y, yearFormat, year);
  std::snprintf(m, sizeof m, "%u", static_cast<unsigned>(date.month()));
  std::snprintf(d, sizeof d, "%u", static_cast<unsigned>(date.day()));
  const std::string s(1, regional.dateSeparator);
  switch (regional.dateOrder) {
    case runtime::DateOrder::DayMonthYear: return d + s + m + s + y;
    case runtime::DateOrder::MonthDayYear: return m + s + d + s + y;
    case runtime::DateOrder::YearMonthDay: return y + s + m + s + d;
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  runtime::Regional regional;
  regional.dateOrder = data.PickValueInArray(
      {runtime::DateOrder::DayMonthYear, runtime::DateOrder::MonthDayYear, runtime::DateOrder::YearMonthDay});
  regional.dateSeparator = data.PickValueInArray({'/', '-', '.'});
  const int currentYear = data.ConsumeIntegralInRange(100, 9999);  // no window before year 50
  const std::string text = data.ConsumeRemainingBytesAsString();

  const std::optional<year_month_day> date = Read(text, regional, currentYear);
  if (!date) return 0;
  const int year = static_cast<int>(date->year());
  FUZZ_CHECK(date->ok() && year >= 1 && year <= 9999);

  FUZZ_CHECK(Read(Written(*date, regional, "%04d", year), regional, currentYear) == date);

  // Two digits place the year within the hundred years from fifty before the current one.
  const std::optional<year_month_day> shortYear =
      Read(Written(*date, regional, "%02d", year % 100), regional, currentYear);
  if (!shortYear) return 0;  // 29 February of a year that is no leap year
  const int base = currentYear - 50;
  const int placed = static_cast<int>(shortYear->year());
  FUZZ_CHECK(placed % 100 == year % 100 && placed >= base && placed < base + 100);
  FUZZ_CHECK(shortYear->month() == date->month() && shortYear->day() == date->day());
  return 0;
}
