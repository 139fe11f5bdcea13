// The password codec: scrambling round-trips, and unscrambling any text either fails with
// the program's own failure or gives exactly as many characters as the text has pieces.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/UDao.h"
#include "fuzz/Check.h"
#include "runtime/Failure.h"

namespace {

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void CheckRoundTrip(const std::string& plain, const std::string& key) {
  const std::string scrambled = Embaralha("E", plain, key);
  FUZZ_CHECK(scrambled.size() == 2 * (plain.size() + 1));
  for (char c : scrambled) FUZZ_CHECK((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
  bool plainBytes = !plain.empty();
  for (char c : plain) plainBytes = plainBytes && c != '\0' && c != '\xff';
  if (!plainBytes) return;
  FUZZ_CHECK(Embaralha("D", scrambled, key) == plain);
  FUZZ_CHECK(DecodificaSenha(scrambled, key) == plain);
  FUZZ_CHECK(Embaralha("D", Lowered(scrambled), key) == plain);
}

// How many characters unscrambling reads, and how many it gives, for a text of n bytes.
std::size_t ReadLength(std::size_t n) { return n % 2 == 0 || n == 3 ? n : n - 1; }
std::size_t PlainLength(std::size_t n) { return n == 3 ? 1 : (ReadLength(n) - 2) / 2; }

void CheckUnscrambling(const std::string& text, const std::string& key) {
  bool readable = text.size() >= 3;
  for (std::size_t i = 0; readable && i < ReadLength(text.size()); ++i) readable = IsHexDigit(text[i]);
  try {
    const std::string plain = Embaralha("D", text, key);
    FUZZ_CHECK(readable);
    FUZZ_CHECK(plain.size() == PlainLength(text.size()));
  } catch (const runtime::Failure&) {
    FUZZ_CHECK(!readable);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::string mode = data.ConsumeRandomLengthString(3);
  const std::string key = data.ConsumeRandomLengthString(5);
  const std::string text = data.ConsumeRemainingBytesAsString();

  if (mode != "E" && mode != "D") {
    FUZZ_CHECK(Embaralha(mode, text, key.empty() ? "KZQ" : key).empty());
    return 0;
  }
  if (key.empty()) {
    try {
      Embaralha(mode, text, key);
      FUZZ_CHECK(!"an empty key is refused");
    } catch (const runtime::Failure&) {
    }
    return 0;
  }
  CheckRoundTrip(text, key);
  CheckUnscrambling(text, key);
  bool blank = true;
  for (char c : text) blank = blank && static_cast<unsigned char>(c) <= ' ';
  if (blank) FUZZ_CHECK(DecodificaSenha(text, key).empty());
  return 0;
}
