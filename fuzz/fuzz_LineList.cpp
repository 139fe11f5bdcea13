// Line lists: their text form reads back as the same lines, and any text splits into lines
// that hold no line break and lose nothing but the breaks.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/Check.h"
#include "runtime/LineList.h"

namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

void CheckText(const std::string& text) {
  const runtime::LineList lines = runtime::LinesOf(text);
  std::string joined;
  for (const std::string& line : lines) {
    FUZZ_CHECK(std::none_of(line.begin(), line.end(), IsBreak));
    joined += line;
  }
  std::string withoutBreaks = text;
  std::erase_if(withoutBreaks, IsBreak);
  FUZZ_CHECK(joined == withoutBreaks);

  // One line per break (CR LF being one), plus the last line when no break ends the text.
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++breaks;
  }
  const bool openLast = !text.empty() && !IsBreak(text.back());
  FUZZ_CHECK(lines.size() == breaks + (openLast ? 1 : 0));
  FUZZ_CHECK(runtime::LinesOf(runtime::TextOf(lines)) == lines);
}

void CheckLines(FuzzedDataProvider& data) {
  runtime::LineList lines;
  while (data.remaining_bytes() > 0) {
    std::string line = data.ConsumeRandomLengthString(200);
    std::erase_if(line, IsBreak);
    lines.push_back(std::move(line));
  }
  const std::string text = runtime::TextOf(lines);
  std::size_t length = 0;
  for (const std::string& line : lines) length += line.size() + 2;
  FUZZ_CHECK(text.size() == length && (lines.empty() || text.ends_with("\r\n")));
  FUZZ_CHECK(runtime::LinesOf(text) == lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  if (data.ConsumeBool()) CheckText(data.ConsumeRemainingBytesAsString());
  else CheckLines(data);
  return 0;
}
