#include "runtime/LineList.h"

namespace runtime {

std::string TextOf(const LineList& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

LineList LinesOf(std::string_view text) {
  LineList lines;
  ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

}  // namespace runtime
