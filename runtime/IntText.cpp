#include "runtime/IntText.h"

#include <optional>
#include <string_view>

namespace runtime {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The 32 bits of a hexadecimal digit run; leading zeros do not count towards the eight.
std::optional<uint32_t> HexBits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint32_t bits = 0;
  int significant = 0;
  for (char c : digits) {
    int d = HexDigitValue(c);
    if (d < 0) return std::nullopt;
    if (significant > 0 || d != 0) ++significant;
    if (significant > 8) return std::nullopt;
    bits = (bits << 4) | uint32_t(d);
  }
  return bits;
}

// The magnitude of a decimal digit run, or nothing when it passes maxMagnitude.
std::optional<uint32_t> DecimalMagnitude(std::string_view digits, uint32_t maxMagnitude) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + uint64_t(c - '0');
    if (value > maxMagnitude) return std::nullopt;
  }
  return uint32_t(value);
}

}  // namespace

int32_t ToInt32(const std::string& text, int32_t fallback) {
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }

  std::optional<uint32_t> bits;
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    bits = HexBits(rest.substr(2));
  } else if (!rest.empty() && (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')) {
    bits = HexBits(rest.substr(1));
  } else {
    bits = DecimalMagnitude(rest, negative ? 0x80000000u : 0x7FFFFFFFu);
  }
  if (!bits) return fallback;
  // Unsigned arithmetic: a negated hexadecimal value wraps within 32 bits like the bits do.
  return static_cast<int32_t>(negative ? 0u - *bits : *bits);
}

}  // namespace runtime
