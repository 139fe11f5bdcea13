#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// Where a ":name" placeholder stands in a statement text.
struct Placeholder {
  std::string name;
  std::size_t offset = 0;  // of the colon
  std::size_t length = 0;  // colon and name
};

// Placeholders are a colon directly followed by a name (letters, digits, "_"), outside
// '...', "..." and `...` strings and outside "-- ", "#" and "/* */" comments. "::" is the
// statement's own colon pair and starts no placeholder.
std::vector<Placeholder> FindPlaceholders(std::string_view text);

// A statement text read once for its placeholders, so that a statement sent again and
// again (one per imported row) is not searched again every time. Immutable.
class StatementText {
 public:
  explicit StatementText(std::string text);

  const std::string& Text() const noexcept { return text_; }
  const std::vector<Placeholder>& Placeholders() const noexcept { return placeholders_; }
  // The length of the text without its trailing bytes 0..32, which are never sent.
  std::size_t SentLength() const noexcept { return sentLength_; }
  // No placeholder before this one has its name (case ignored).
  bool FirstOfItsName(std::size_t placeholder) const noexcept { return firstOfName_[placeholder] != 0; }

 private:
  std::string text_;
  std::vector<Placeholder> placeholders_;
  std::size_t sentLength_;
  std::vector<unsigned char> firstOfName_;  // not vector<bool>: read for every parameter
};

}  // namespace db
