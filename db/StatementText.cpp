#include "db/StatementText.h"

#include <utility>

#include "db/SameName.h"

namespace db {
namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Where a quoted text that opens at `start` ends (one past its closing quote, or the end).
// A doubled quote needs no rule: it closes the text and at once opens the next one.
std::size_t EndOfQuoted(std::string_view text, std::size_t start) {
  const char quote = text[start];
  for (std::size_t i = start + 1; i < text.size(); ++i) {
    if (text[i] == '\\' && quote != '`') ++i;  // identifiers know no backslash escapes
    else if (text[i] == quote) return i + 1;
  }
  return text.size();
}

std::size_t EndOfLine(std::string_view text, std::size_t start) {
  const std::size_t lineFeed = text.find('\n', start);
  return lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
}

std::size_t EndOfBlockComment(std::string_view text, std::size_t start) {
  const std::size_t close = text.find("*/", start + 2);
  return close == std::string_view::npos ? text.size() : close + 2;
}

}  // namespace

std::vector<Placeholder> FindPlaceholders(std::string_view text) {
  std::vector<Placeholder> found;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (c == '\'' || c == '"' || c == '`') {
      i = EndOfQuoted(text, i);
    } else if (c == '#' || (c == '-' && next == '-' && i + 2 < text.size() &&
                            static_cast<unsigned char>(text[i + 2]) <= ' ')) {
      i = EndOfLine(text, i);
    } else if (c == '/' && next == '*') {
      i = EndOfBlockComment(text, i);
    } else if (c == ':' && next == ':') {
      i += 2;  // "::" is a colon of the statement itself, never the start of a name
    } else if (c == ':' && IsNameChar(next)) {
      std::size_t end = i + 1;
      while (end < text.size() && IsNameChar(text[end])) ++end;
      found.push_back({std::string(text.substr(i + 1, end - i - 1)), i, end - i});
      i = end;
    } else {
      ++i;
    }
  }
  return found;
}

StatementText::StatementText(std::string text)
    : text_(std::move(text)), placeholders_(FindPlaceholders(text_)), sentLength_(text_.size()) {
  while (sentLength_ > 0 && static_cast<unsigned char>(text_[sentLength_ - 1]) <= ' ') --sentLength_;
  for (std::size_t p = 0; p < placeholders_.size(); ++p) {
    bool first = true;
    for (std::size_t earlier = 0; earlier < p && first; ++earlier)
      first = !SameName(placeholders_[earlier].name, placeholders_[p].name);
    firstOfName_.push_back(first);
  }
}

}  // namespace db
