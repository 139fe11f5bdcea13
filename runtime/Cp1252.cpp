#include "runtime/Cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace runtime {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t CodePointOf(unsigned byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t(byte);
}

// The UTF-8 form of every byte, built once at compile time.
struct Utf8Form {
  char bytes[3] = {};
  uint8_t size = 0;
};

constexpr std::array<Utf8Form, 256> MakeUtf8Forms() {
  std::array<Utf8Form, 256> forms{};
  for (unsigned b = 0; b < 256; ++b) {
    char32_t cp = CodePointOf(b);
    Utf8Form& f = forms[b];
    if (cp < 0x80) {
      f.bytes[0] = char(cp);
      f.size = 1;
    } else if (cp < 0x800) {
      f.bytes[0] = char(0xC0 | (cp >> 6));
      f.bytes[1] = char(0x80 | (cp & 0x3F));
      f.size = 2;
    } else {
      f.bytes[0] = char(0xE0 | (cp >> 12));
      f.bytes[1] = char(0x80 | ((cp >> 6) & 0x3F));
      f.bytes[2] = char(0x80 | (cp & 0x3F));
      f.size = 3;
    }
  }
  return forms;
}

constexpr std::array<Utf8Form, 256> kUtf8Forms = MakeUtf8Forms();

char ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) return char(cp);
  for (unsigned i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp) return char(0x80 + i);
  return '?';
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes one well-formed UTF-8 sequence at text[i] and advances i past it. On a
// malformed one it advances past its longest valid beginning (at least one byte) and
// gives no code point, so each malformed piece becomes one "?".
bool DecodeOne(std::string_view text, size_t& i, char32_t& cp) {
  const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = at(i);
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    ++i;
    return false;
  }
  size_t k = i + 1;
  for (; k < i + length; ++k) {
    if (k >= text.size()) break;
    unsigned char c = at(k);
    bool fits = k == i + 1 ? (c >= low && c <= high) : IsContinuation(c);
    if (!fits) break;
    cp = (cp << 6) | (c & 0x3F);
  }
  bool complete = k == i + length;
  i = k;
  return complete;
}

// Where the run of ASCII bytes that starts at i ends, looked at eight bytes at a time.
size_t EndOfAscii(std::string_view text, size_t i) {
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  for (uint64_t eight = 0; i + 8 <= text.size(); i += 8) {
    std::memcpy(&eight, text.data() + i, 8);
    if (eight & kHighBits) break;
  }
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t asciiEnd = EndOfAscii(bytes, i);
    text.append(bytes.data() + i, asciiEnd - i);
    for (i = asciiEnd; i < bytes.size() && static_cast<unsigned char>(bytes[i]) >= 0x80; ++i) {
      const Utf8Form& f = kUtf8Forms[static_cast<unsigned char>(bytes[i])];
      text.append(f.bytes, f.size);
    }
  }
  return text;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string bytes;
  AppendUtf8ToCp1252(bytes, text);
  return bytes;
}

void AppendUtf8ToCp1252(std::string& bytes, std::string_view text) {
  bytes.reserve(bytes.size() + text.size());
  size_t i = 0;
  while (i < text.size()) {
    // ASCII runs, nearly all of an error file's text, go across in one piece.
    const size_t asciiEnd = EndOfAscii(text, i);
    bytes.append(text.data() + i, asciiEnd - i);
    i = asciiEnd;
    if (i == text.size()) break;
    char32_t cp = 0;
    bytes.push_back(DecodeOne(text, i, cp) ? ByteOf(cp) : '?');
  }
}

}  // namespace runtime
