#pragma once

#include <cstdint>
#include <string>

namespace runtime {

// Whole-text signed 32-bit integer: optional leading blanks, one optional sign, then
// decimal digits or hexadecimal digits behind "$", "x", "X", "0x" or "0X" (80000000 to
// FFFFFFFF wrap to the negative numbers with the same bits). Anything else gives fallback.
int32_t ToInt32(const std::string& text, int32_t fallback);

}  // namespace runtime
