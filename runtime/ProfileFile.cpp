#include "runtime/ProfileFile.h"

#include <array>
#include <chrono>
#include <optional>
#include <string_view>
#include <utility>

#include "runtime/Cp1252.h"
#include "runtime/LineList.h"

namespace runtime {
namespace {

// Settings files are a few hundred bytes; anything past this is no settings file, and
// reading it whole would only cost time and memory.
constexpr size_t kMaxBytesRead = 4 * 1024 * 1024;
constexpr size_t kMaxValueLength = 2047;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// Well above the coarseness of any file system's timestamps (FAT's two seconds included).
constexpr std::chrono::seconds kSettleTime{3};

// Names match regardless of case, letters with accents included (Windows-1252 pairs).
constexpr std::array<unsigned char, 256> MakeCaseFold() {
  std::array<unsigned char, 256> fold{};
  for (unsigned c = 0; c < 256; ++c) fold[c] = static_cast<unsigned char>(c);
  for (unsigned c = 'a'; c <= 'z'; ++c) fold[c] = static_cast<unsigned char>(c - 32);
  for (unsigned c = 0xE0; c <= 0xFE; ++c)
    if (c != 0xF7) fold[c] = static_cast<unsigned char>(c - 32);
  fold[0x9A] = 0x8A;  // š
  fold[0x9C] = 0x8C;  // œ
  fold[0x9E] = 0x8E;  // ž
  fold[0xFF] = 0x9F;  // ÿ
  return fold;
}
constexpr std::array<unsigned char, 256> kCp1252Fold = MakeCaseFold();

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (kCp1252Fold[static_cast<unsigned char>(a[i])] != kCp1252Fold[static_cast<unsigned char>(b[i])]) return false;
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// The key's value in the bytes of a settings file, or the fallback.
std::string LookUp(std::string_view bytes, const std::string& section, const std::string& key,
                   const std::string& fallback) {
  std::string fromUtf8;
  // A file saved by a modern editor may be UTF-8 with its mark; Windows reads those too.
  // Brought to the program's character set, it reads like any other.
  if (bytes.starts_with(kUtf8Mark)) {
    fromUtf8 = Utf8ToCp1252(bytes.substr(kUtf8Mark.size()));
    bytes = fromUtf8;
  }
  const std::string wantedSection = Utf8ToCp1252(section);
  const std::string wantedKey = Utf8ToCp1252(key);

  bool inSection = false;
  std::optional<std::string_view> found;
  // Later sections of the same name count too; the first matching key wins, as on Windows.
  ForEachLine(bytes, [&](std::string_view rawLine) {
    if (found) return;
    std::string_view line = TrimBlanks(rawLine);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      size_t close = line.find(']');
      if (close != std::string_view::npos)
        inSection = SameName(TrimBlanks(line.substr(1, close - 1)), wantedSection);
      return;
    }
    size_t equals = line.find('=');
    if (inSection && equals != std::string_view::npos && SameName(TrimBlanks(line.substr(0, equals)), wantedKey))
      found = TrimBlanks(line.substr(equals + 1));
  });
  if (!found) return fallback;

  std::string_view value = Unquoted(*found);
  // The value is a C string on the way out: a NUL byte ends it.
  value = value.substr(0, value.find('\0'));
  return Cp1252ToUtf8(value.substr(0, kMaxValueLength));
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  // Several keys of one file are read one after the other (the connection settings).
  thread_local FileHeadCache files(kSettleTime, kMaxBytesRead);
  return LookUp(files.Bytes(path), section, key, fallback);
}

ProfileValue::ProfileValue(std::string path, std::string section, std::string key, std::string fallback)
    : path_(std::move(path)),
      section_(std::move(section)),
      key_(std::move(key)),
      fallback_(std::move(fallback)),
      file_(kSettleTime, kMaxBytesRead) {}

const std::string& ProfileValue::Read() {
  const std::string& bytes = file_.Bytes(path_);
  if (file_.Generation() != generation_) {
    value_ = LookUp(bytes, section_, key_, fallback_);
    generation_ = file_.Generation();
  }
  return value_;
}

}  // namespace runtime
