#pragma once

namespace runtime {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The operator's regional settings that number and date conversion depend on.
struct Regional {
  char decimalSeparator = ',';
  DateOrder dateOrder = DateOrder::DayMonthYear;
  char dateSeparator = '/';

  // ",", day-month-year and "/": what a Brazilian machine is set to.
  static Regional brazilian() { return {}; }

  // Read from the process locale (setlocale(LC_ALL, "") then nl_langinfo); the
  // "C"/"POSIX" locale has no regional settings and gives brazilian().
  static Regional FromSystemLocale();
};

}  // namespace runtime
