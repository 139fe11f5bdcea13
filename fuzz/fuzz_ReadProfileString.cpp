// The settings-file reader on arbitrary files, and on files built to hold a known value.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/Check.h"
#include "runtime/Cp1252.h"
#include "runtime/ProfileFile.h"

namespace {

// One scratch file for the whole run, removed at exit.
const std::string& ScratchFile() {
  static const std::string path = [] {
    char pattern[] = "/tmp/quiravel-fuzz-ini-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) std::abort();
    close(fd);
    return std::string(pattern);
  }();
  static const int removal = std::atexit([] { std::remove(path.c_str()); });
  (void)removal;
  return path;
}

void Write(const std::string& bytes) {
  std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string Keep(std::string text, bool (*allowed)(unsigned char)) {
  std::erase_if(text, [allowed](char c) { return !allowed(static_cast<unsigned char>(c)); });
  return text;
}

bool IsNameChar(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Value bytes no reader could mistake for structure, comments or quotes.
bool IsPlainValueChar(unsigned char c) {
  return c == ' ' || (c > ' ' && c != '"' && c != '\'' && c != ';' && c != '#' && c != '[' && c != ']' && c != 0x7f);
}

std::string Flipped(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const std::string kFallback = "\x01-fallback-\x01";

void CheckArbitraryFile(FuzzedDataProvider& data) {
  const std::string section = data.ConsumeRandomLengthString(16);
  const std::string key = data.ConsumeRandomLengthString(16);
  Write(data.ConsumeRemainingBytesAsString());
  const std::string value = runtime::ReadProfileString(ScratchFile(), section, key, kFallback);
  if (value == kFallback) return;
  // Valid UTF-8 made of at most 2047 characters of the file.
  const std::string bytes = runtime::Utf8ToCp1252(value);
  FUZZ_CHECK(runtime::Cp1252ToUtf8(bytes) == value);
  FUZZ_CHECK(bytes.size() <= 2047);
}

bool SameName(std::string a, std::string b) {
  for (std::string* name : {&a, &b})
    for (char& c : *name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return a == b;
}

// A key in the second section, the same key name also in the first one, LF and CR LF ends.
void CheckBuiltFile(FuzzedDataProvider& data) {
  const std::string section = Keep(data.ConsumeRandomLengthString(16), IsNameChar);
  const std::string key = Keep(data.ConsumeRandomLengthString(16), IsNameChar);
  const std::string other = Keep(data.ConsumeRandomLengthString(16), IsPlainValueChar);
  const std::string value = Keep(data.ConsumeRandomLengthString(4000), IsPlainValueChar);
  if (section.empty() || key.empty() || SameName(section, "x") || SameName(key, "x")) return;
  Write("[x]\r\n" + key + "=" + other + "\r\n[" + section + "]\nx=" + other + "\n" + key + " = " + value + "\r\n");

  const std::string read = runtime::ReadProfileString(ScratchFile(), Flipped(section), Flipped(key), kFallback);
  // Where the cut falls among inner blanks, dropping them too is as good.
  const std::string cut = Trimmed(value).substr(0, 2047);
  FUZZ_CHECK(read == runtime::Cp1252ToUtf8(cut) || read == runtime::Cp1252ToUtf8(Trimmed(cut)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  if (data.ConsumeBool()) CheckArbitraryFile(data);
  else CheckBuiltFile(data);
  return 0;
}
