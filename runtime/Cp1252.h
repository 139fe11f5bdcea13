#pragma once

#include <string>
#include <string_view>

namespace runtime {

// Every byte maps to exactly one character; the five bytes Windows leaves undefined
// become U+0081, U+008D, U+008F, U+0090 and U+009D so that all 256 bytes round-trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters Windows-1252 cannot hold (and invalid UTF-8) are written as "?".
std::string Utf8ToCp1252(std::string_view text);
// The same, appended to bytes.
void AppendUtf8ToCp1252(std::string& bytes, std::string_view text);

}  // namespace runtime
