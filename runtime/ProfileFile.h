#pragma once

#include <string>

namespace runtime {

// Reads one key of an INI file (Windows-1252) and returns it in UTF-8. Never throws:
// a missing or unreadable file, section or key gives the fallback; a key present with
// an empty value gives the empty text. Section and key names match regardless of case,
// blanks around the value are dropped, one enclosing pair of single or double quotes is
// removed, and values are cut at 2047 characters.
std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback);

}  // namespace runtime
