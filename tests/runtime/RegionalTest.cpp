#include "runtime/Regional.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/TempDir.h"

namespace {

using runtime::DateOrder;
using runtime::Regional;

constexpr DateOrder DMY = DateOrder::DayMonthYear;
constexpr DateOrder MDY = DateOrder::MonthDayYear;
constexpr DateOrder YMD = DateOrder::YearMonthDay;

void ExpectRegional(const Regional& actual, char decimal, DateOrder order, char separator) {
  EXPECT_EQ(actual.decimalSeparator, decimal);
  EXPECT_EQ(actual.dateOrder, order);
  EXPECT_EQ(actual.dateSeparator, separator);
}

TEST(Regional, FromLocaleFormats) {
  const struct {
    const char* radix;
    const char* dateFormat;
    char decimal;
    DateOrder order;
    char separator;
  } cases[] = {
      {",", "%d/%m/%Y", ',', DMY, '/'},
      {".", "%m/%d/%Y", '.', MDY, '/'},
      {",", "%d.%m.%Y", ',', DMY, '.'},
      {",", "%Y-%m-%d", ',', YMD, '-'},
      {",", "%-d.%-m.%Y", ',', DMY, '.'},
      {",", "%Y. %m. %d.", ',', YMD, '.'},
      {",", "%e/%b/%y", ',', DMY, '/'},
      {".", "%b %d, %Y", '.', MDY, ','},
      {",", "%Ey-%Om-%Od", ',', YMD, '-'},
      {".", "%D", '.', MDY, '/'},
      {".", "%x", '.', MDY, '/'},
      {",", "%F", ',', YMD, '-'},
      {",", "%a %d-%m-%Y", ',', DMY, '-'},  // a weekday in front is no field
      {",", "%d de %B de %Y", ',', DMY, '/'},  // letters and blanks never part fields
      {",", "%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", ',', YMD, '/'},  // nor do multi-byte characters
      {",", "%%d.%m", ',', MDY, '/'},  // "%%d" is the text "%d", not a day
      {",", "dd/MM/yyyy", ',', DMY, '/'},
      {".", "M/d/yyyy", '.', MDY, '/'},
      {",", "yyyy-MM-dd", ',', YMD, '-'},
      {",", "dd.MM.yy", ',', DMY, '.'},
      {",", "'Dia' dd-MM-yyyy", ',', DMY, '-'},
      {",", "%A", ',', MDY, '/'},  // no field at all
      {",", "", ',', MDY, '/'},
      {"\xD9\xAB", "%d/%m/%Y", ',', DMY, '/'},  // a radix of two bytes cannot be held
      {"", "%d/%m/%Y", ',', DMY, '/'},
      {nullptr, "%m-%d-%Y", ',', MDY, '-'},
      {".", nullptr, '.', DMY, '/'},
      {nullptr, nullptr, ',', DMY, '/'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.radix ? c.radix : "(none)") + " " + (c.dateFormat ? c.dateFormat : "(none)"));
    ExpectRegional(Regional::FromLocaleFormats(c.radix, c.dateFormat), c.decimal, c.order, c.separator);
  }
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class RegionalFromSystem : public testing::Test {
 protected:
  // Compiled on the spot: the machines that run the suite may have no locale but "C".
  static void SetUpTestSuite() {
    locales_ = new testsupport::TempDir;
    for (const char* name : {"de_DE", "en_US"}) {
      std::string command = "localedef -i " + std::string(name) + " -f UTF-8 " + locales_->file(name) +
                            ".UTF-8 >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0) missing_ += std::string(" ") + name;
    }
  }
  static void TearDownTestSuite() {
    delete locales_;
    locales_ = nullptr;
  }

  Regional ReadWith(const std::string& locale) {
    ScopedEnv path("LOCPATH", locales_->path().string());
    ScopedEnv all("LC_ALL", locale);
    return Regional::FromSystemLocale();
  }

  static testsupport::TempDir* locales_;
  static std::string missing_;
};

testsupport::TempDir* RegionalFromSystem::locales_ = nullptr;
std::string RegionalFromSystem::missing_;

TEST_F(RegionalFromSystem, ReadsTheLocaleOfTheEnvironment) {
  if (!missing_.empty()) GTEST_SKIP() << "localedef could not build:" << missing_;
  ExpectRegional(ReadWith("de_DE.UTF-8"), ',', DMY, '.');
  ExpectRegional(ReadWith("en_US.UTF-8"), '.', MDY, '/');
}

TEST_F(RegionalFromSystem, WithoutRegionalSettingsIsBrazilian) {
  for (const char* locale : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
    SCOPED_TRACE(locale);
    ExpectRegional(ReadWith(locale), ',', DMY, '/');
  }
}

TEST_F(RegionalFromSystem, LeavesTheProcessLocaleAsItWas) {
  if (!missing_.empty()) GTEST_SKIP() << "localedef could not build:" << missing_;
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  ReadWith("de_DE.UTF-8");
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
  char printed[16];
  std::snprintf(printed, sizeof printed, "%.1f", 1.5);
  EXPECT_STREQ(printed, "1.5");
}

}  // namespace
