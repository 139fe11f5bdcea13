#pragma once

#include <cstdint>
#include <string>

#include "runtime/FileHeadCache.h"

namespace runtime {

// Reads one key of an INI file (Windows-1252) and returns it in UTF-8. Never throws:
// a missing or unreadable file, section or key gives the fallback; a key present with
// an empty value gives the empty text. Section and key names match regardless of case,
// blanks around the value are dropped, one enclosing pair of single or double quotes is
// removed, and values are cut at 2047 characters.
std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback);

// One key of one settings file, for a caller that asks for it again and again (the branch
// code, for every imported row): while the file stays as it was, a Read costs one stat of
// it; once it changed, the next Read gives the new value, by ReadProfileString's rules.
// The text stays valid until the next Read. Never throws.
class ProfileValue {
 public:
  ProfileValue(std::string path, std::string section, std::string key, std::string fallback);
  const std::string& Read();

 private:
  std::string path_;
  std::string section_;
  std::string key_;
  std::string fallback_;
  FileHeadCache file_;
  uint64_t generation_ = 0;  // of the bytes value_ came from; 0 before the first Read
  std::string value_;
};

}  // namespace runtime
