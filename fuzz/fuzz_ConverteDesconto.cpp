// Discount texts: whatever is accepted reads back to the same ticks in every spelling the
// file may use for it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "db/Command.h"
#include "fuzz/Check.h"
#include "import/UCargaDescontos.h"
#include "runtime/Failure.h"
#include "runtime/Regional.h"

namespace {

std::optional<runtime::Currency> Read(const std::string& text, const runtime::Regional& regional) {
  try {
    return ConverteDesconto(text, regional);
  } catch (const runtime::Failure&) {
    return std::nullopt;
  }
}

std::string Replaced(std::string text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  runtime::Regional regional = runtime::Regional::brazilian();
  regional.decimalSeparator = data.ConsumeBool() ? ',' : '.';
  const std::size_t percentAt = data.ConsumeIntegral<std::size_t>();
  const std::string text = data.ConsumeRemainingBytesAsString();

  const std::optional<runtime::Currency> read = Read(text, regional);
  std::string withPercent = text;
  withPercent.insert(percentAt % (text.size() + 1), "%");
  FUZZ_CHECK(Read(withPercent, regional) == read);  // "%" is ignored wherever it stands
  if (!read) return 0;

  // Every "." is read as ",": both spellings are the same number.
  FUZZ_CHECK(Read(Replaced(text, ',', '.'), regional) == read);
  // The ticks written as a whole number with an exponent read back exactly.
  FUZZ_CHECK(Read(std::to_string(read->ticks) + "E-4", regional) == read);
  // With the Brazilian comma, the database's own spelling of the value reads back too.
  if (regional.decimalSeparator == ',') FUZZ_CHECK(Read(db::CurrencyLiteral(*read), regional) == read);
  // Rounding half to even is symmetric, so a sign in front negates the result.
  if (!text.empty() && IsDigit(text[0]) && read->ticks != std::numeric_limits<int64_t>::min()) {
    FUZZ_CHECK(Read("-" + text, regional) == runtime::Currency{-read->ticks});
  }
  return 0;
}
