#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// An ordered list of texts.
using LineList = std::vector<std::string>;

// Every line followed by CR LF, the last one included.
std::string TextOf(const LineList& lines);

// Splits at CR LF, a lone CR or a lone LF; a break at the very end adds no empty line.
LineList LinesOf(std::string_view text);

// Calls onLine with every line of the text as LinesOf splits it, without copying.
template <class OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      onLine(text.substr(start));
      return;
    }
    onLine(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
}

}  // namespace runtime
