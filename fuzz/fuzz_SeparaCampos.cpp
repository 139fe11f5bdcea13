// Splitting discount lines into fields: arbitrary lines, and lines built from known fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/Check.h"
#include "import/UCargaDescontos.h"

namespace {

bool IsSeparatorFree(const std::string& field) {
  return std::none_of(field.begin(), field.end(), [](char c) {
    return c == ';' || c == '"' || static_cast<unsigned char>(c) <= ' ';
  });
}

// What parts fields outside quotes. How a NUL reads is left open: none reaches the splitter.
bool HoldsSeparator(const std::string& field) {
  return std::any_of(field.begin(), field.end(), [](char c) {
    return c == ';' || (c != '\0' && static_cast<unsigned char>(c) <= ' ');
  });
}

std::string Quoted(const std::string& field) {
  std::string quoted = "\"";
  for (char c : field) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string line;
  for (std::size_t i = 0; i < pieces.size(); ++i) line += (i ? ";" : "") + pieces[i];
  return line;
}

// A line as the loader hands it over: every space already removed, and no NUL (it ends
// the file's text).
std::string AsLoaded(std::string text) {
  std::erase(text, ' ');
  std::erase(text, '\0');
  return text;
}

void CheckArbitraryLine(std::string line) {
  std::erase(line, ' ');
  const std::vector<std::string> fields = SeparaCampos(line);
  FUZZ_CHECK(fields.size() <= line.size() + 1);
  if (line.find('"') != std::string::npos) return;
  // Without quotes no field can hold a separator, and printable text splits at every ";".
  for (const std::string& field : fields) FUZZ_CHECK(!HoldsSeparator(field));
  const bool printable =
      std::none_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  if (!line.empty() && printable) {
    std::vector<std::string> expected(1);
    for (char c : line) {
      if (c == ';') expected.emplace_back();
      else expected.back() += c;
    }
    FUZZ_CHECK(fields == expected);
  }
}

// Fields written out the way a spreadsheet exports them come back unchanged.
void CheckBuiltLine(FuzzedDataProvider& data) {
  std::vector<std::string> fields;
  std::vector<std::string> pieces;
  const std::size_t count = data.ConsumeIntegralInRange<std::size_t>(1, 8);
  for (std::size_t i = 0; i < count && data.remaining_bytes() > 0; ++i) {
    std::string field = AsLoaded(data.ConsumeRandomLengthString(64));
    const bool quote = data.ConsumeBool() || !IsSeparatorFree(field);
    pieces.push_back(quote ? Quoted(field) : field);
    fields.push_back(std::move(field));
  }
  if (fields.empty() || (fields.size() == 1 && pieces[0].empty())) return;  // an empty line has no field
  FUZZ_CHECK(SeparaCampos(Joined(pieces)) == fields);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  if (data.ConsumeBool()) CheckArbitraryLine(data.ConsumeRemainingBytesAsString());
  else CheckBuiltLine(data);
  return 0;
}
