#pragma once

#include <string_view>

namespace db {

// Column and parameter names match as the server matches column names: ASCII case ignored.
inline bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // the usual case, at memcmp speed
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace db
