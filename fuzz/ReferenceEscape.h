#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// An independent account of MySQL's quoted text literals, to judge the program's escaping
// against, without a server. Written from the server's documented lexer rules, not from
// any code of the program.
namespace reference {

// What mysql_real_escape_string gives for valid UTF-8 text on a utf8mb4 connection: a
// backslash before a single quote, a double quote and a backslash; NUL, LF, CR and the
// character 26 as \0, \n, \r and \Z; every other byte unchanged.
inline std::string EscapeText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size() * 2);
  for (char c : text) {
    switch (c) {
      case '\0': escaped += "\\0"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\x1a': escaped += "\\Z"; break;
      case '\'': escaped += "\\'"; break;
      case '"': escaped += "\\\""; break;
      case '\\': escaped += "\\\\"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// The text a quoted literal that starts at `start` stands for, and where it ends (one
// past the closing quote), as the server reads it with its default sql_mode. Nothing
// when the literal is not closed.
struct Unquoted {
  std::string text;
  std::size_t end = 0;
};

inline std::optional<Unquoted> UnquoteText(std::string_view sql, std::size_t start) {
  const char quote = sql[start];
  Unquoted result;
  for (std::size_t i = start + 1; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\\' && i + 1 < sql.size()) {
      const char next = sql[++i];
      switch (next) {
        case '0': result.text += '\0'; break;
        case 'b': result.text += '\b'; break;
        case 'n': result.text += '\n'; break;
        case 'r': result.text += '\r'; break;
        case 't': result.text += '\t'; break;
        case 'Z': result.text += '\x1a'; break;
        case '%': result.text += "\\%"; break;  // kept for LIKE patterns
        case '_': result.text += "\\_"; break;
        default: result.text += next;
      }
    } else if (c == quote) {
      if (i + 1 < sql.size() && sql[i + 1] == quote) {
        result.text += quote;  // a doubled quote stands for one
        ++i;
      } else {
        result.end = i + 1;
        return result;
      }
    } else {
      result.text += c;
    }
  }
  return std::nullopt;
}

}  // namespace reference
