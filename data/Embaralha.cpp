#include "data/UDao.h"

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>

#include "runtime/Failure.h"

namespace {

unsigned char RandomSeed() {
  // Seeded once per process: passwords scrambled in one run get unrelated seeds.
  static std::mt19937 generator{std::random_device{}()};
  static std::uniform_int_distribution<int> byte{0, 255};
  return static_cast<unsigned char>(byte(generator));
}

void AppendHex(std::string& out, unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += kDigits[(value >> 4) & 0xF];
  out += kDigits[value & 0xF];
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The two characters at the 0-based position, or the single one where the text ends there.
// The message names the position only: the text is a stored password.
unsigned PieceAt(const std::string& texto, std::size_t pos) {
  if (pos >= texto.size())
    throw runtime::Failure("Texto embaralhado inválido: falta o valor na posição " + std::to_string(pos + 1) + ".");
  const std::size_t end = std::min(texto.size(), pos + 2);
  unsigned value = 0;
  for (std::size_t i = pos; i < end; ++i) {
    const int digit = HexDigit(texto[i]);
    if (digit < 0)
      throw runtime::Failure("Texto embaralhado inválido: o valor na posição " + std::to_string(pos + 1) +
                             " não é hexadecimal.");
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

// Key characters are used cyclically, one per value after the seed, afresh at every call.
class KeyCycle {
 public:
  explicit KeyCycle(const std::string& chave) : chave_(chave) {}
  unsigned Next() {
    const auto k = static_cast<unsigned char>(chave_[next_]);
    next_ = (next_ + 1) % chave_.size();
    return k;
  }

 private:
  const std::string& chave_;
  std::size_t next_ = 0;
};

std::string Scramble(const std::string& texto, const std::string& chave) {
  KeyCycle key(chave);
  unsigned prev = RandomSeed();
  std::string out;
  out.reserve(2 * (texto.size() + 1));
  AppendHex(out, prev);
  for (const char c : texto) {
    // Modulus 255, and the chain runs on the written value: that is the stored form.
    const unsigned s = (prev + static_cast<unsigned char>(c)) % 255;
    const unsigned v = s ^ key.Next();
    AppendHex(out, v);
    prev = v;
  }
  return out;
}

std::string Unscramble(const std::string& texto, const std::string& chave) {
  KeyCycle key(chave);
  unsigned prev = PieceAt(texto, 0);
  std::string out;
  // The first value after the seed is always read, so texts under three characters fail;
  // the last character of an odd text of five or more is never read.
  std::size_t pos = 2;
  do {
    const unsigned c = PieceAt(texto, pos);
    const unsigned d = key.Next() ^ c;
    const unsigned ch = prev < d ? d - prev : d + 255 - prev;
    out += static_cast<char>(static_cast<unsigned char>(ch));
    prev = c;
    pos += 2;
  } while (pos + 1 < texto.size());
  return out;
}

}  // namespace

std::string Embaralha(const std::string& modo, const std::string& texto, const std::string& chave) {
  if (modo != "E" && modo != "D") return "";
  if (chave.empty()) throw runtime::Failure("Chave vazia para embaralhar a senha.");
  return modo == "E" ? Scramble(texto, chave) : Unscramble(texto, chave);
}

std::string DecodificaSenha(const std::string& texto, const std::string& chave) {
  for (const char c : texto) {
    if (static_cast<unsigned char>(c) > 32) return Embaralha("D", texto, chave);
  }
  return "";
}
