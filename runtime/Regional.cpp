#include "runtime/Regional.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace runtime {
namespace {

// Walks a short date format and keeps the first field's kind and the first separator
// that stands between two fields.
class DateFormatScan {
 public:
  void Field(DateOrder kind) {
    if (!order_) order_ = kind;
    if (!separator_ && pending_) separator_ = pending_;
    seenField_ = true;
  }

  // Blanks never part fields of a discount file (its spaces are removed before the date
  // is read), multi-byte characters cannot be one, and quotes only mark literal text.
  void Literal(char c) {
    bool usable = c > ' ' && c < 0x7F && c != '\'' && c != '"' &&
                  !(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z');
    if (seenField_ && !pending_ && usable) pending_ = c;
  }

  void Strftime(std::string_view format) {
    for (size_t i = 0; i < format.size(); ++i) {
      if (format[i] != '%') {
        Literal(format[i]);
        continue;
      }
      // Flags, width and the E/O modifier do not change which field it is.
      ++i;
      while (i < format.size() && std::strchr("_-0^#123456789EO", format[i])) ++i;
      if (i < format.size()) Conversion(format[i]);
    }
  }

  // Windows-style pictures such as "dd/MM/yyyy"; text between single quotes is literal.
  void Picture(std::string_view format) {
    for (size_t i = 0; i < format.size(); ++i) {
      char c = format[i];
      if (c == '\'') {
        size_t close = format.find('\'', i + 1);
        i = close == std::string_view::npos ? format.size() : close;
      } else if (auto kind = KindOfLetter(c)) {
        Field(*kind);
      } else {
        Literal(c);
      }
    }
  }

  Regional Apply(Regional r) const {
    r.dateOrder = order_.value_or(DateOrder::MonthDayYear);
    if (separator_) r.dateSeparator = separator_;
    return r;
  }

 private:
  static std::optional<DateOrder> KindOfLetter(char c) {
    switch (c) {
      case 'd': case 'D': return DateOrder::DayMonthYear;
      case 'm': case 'M': return DateOrder::MonthDayYear;
      case 'y': case 'Y': return DateOrder::YearMonthDay;
      default: return std::nullopt;
    }
  }

  void Conversion(char c) {
    switch (c) {
      case 'd': case 'e': Field(DateOrder::DayMonthYear); break;
      case 'm': case 'b': case 'B': case 'h': Field(DateOrder::MonthDayYear); break;
      case 'y': case 'Y': case 'C': case 'g': case 'G': Field(DateOrder::YearMonthDay); break;
      // %x inside a date format can only mean its "C" expansion, the same as %D.
      case 'D': case 'x': Strftime("%m/%d/%y"); break;
      case 'F': Strftime("%Y-%m-%d"); break;
      case '%': Literal('%'); break;
      default: break;  // weekday, time and the like: neither field nor separator
    }
  }

  std::optional<DateOrder> order_;
  char separator_ = 0;
  char pending_ = 0;
  bool seenField_ = false;
};

bool HasNoRegionalSettings(const char* localeName) {
  std::string_view name = localeName ? localeName : "C";
  return name == "C" || name == "POSIX" || name.starts_with("C.");
}

}  // namespace

Regional Regional::FromLocaleFormats(const char* radix, const char* dateFormat) {
  Regional r = brazilian();
  // A radix of more than one byte (some scripts have their own) cannot be held.
  if (radix && std::strlen(radix) == 1) r.decimalSeparator = radix[0];
  if (!dateFormat) return r;
  DateFormatScan scan;
  std::string_view format = dateFormat;
  if (format.find('%') != std::string_view::npos)
    scan.Strftime(format);
  else
    scan.Picture(format);
  return scan.Apply(r);
}

Regional Regional::FromSystemLocale() {
  const char* current = std::setlocale(LC_ALL, nullptr);
  std::string previous = current ? current : "C";
  Regional r = brazilian();
  if (std::setlocale(LC_ALL, "")) {
    bool noNumeric = HasNoRegionalSettings(std::setlocale(LC_NUMERIC, nullptr));
    bool noTime = HasNoRegionalSettings(std::setlocale(LC_TIME, nullptr));
    r = FromLocaleFormats(noNumeric ? nullptr : nl_langinfo(RADIXCHAR),
                          noTime ? nullptr : nl_langinfo(D_FMT));
  }
  // Everything else converts numbers itself; a global locale must not change that.
  std::setlocale(LC_ALL, previous.c_str());
  return r;
}

}  // namespace runtime
