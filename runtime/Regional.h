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
  // "C"/"POSIX" locale has no regional settings and gives brazilian(). The process
  // locale is restored afterwards.
  static Regional FromSystemLocale();

  // The settings that a locale's radix character and short date format stand for. The
  // format may be an strftime one ("%d/%m/%Y") or a picture ("dd/MM/yyyy"); a null
  // pointer means that category has no regional setting, so it keeps brazilian()'s.
  static Regional FromLocaleFormats(const char* radix, const char* dateFormat);
};

}  // namespace runtime
