#include "import/UCargaDescontos.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "runtime/Failure.h"

namespace {

bool Digito(char c) { return c >= '0' && c <= '9'; }

// No text holds this many digits, so an exponent beyond it already says "0" or "too big";
// saturating there keeps E999999999999 from overflowing.
constexpr int64_t kLimiteExpoente = 1'000'000'000'000;

// The number read from the text: its significant digits (no leading zeros) times
// 10^expoente, with its sign.
struct Decimal {
  bool negativo = false;
  std::string digitos;
  int64_t expoente = 0;
};

// The regional number grammar: [+|-] digits [sep digits] [(E|e) [+|-] digits], with at
// least one digit or the separator before the exponent.
bool LeDecimal(std::string_view texto, char separador, Decimal& numero) {
  std::size_t i = 0;
  if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) numero.negativo = texto[i++] == '-';

  bool temMantissa = false;
  int64_t casasDecimais = 0;
  auto leDigitos = [&](bool fracao) {
    for (; i < texto.size() && Digito(texto[i]); ++i) {
      temMantissa = true;
      if (numero.digitos.empty() && texto[i] == '0') {
        if (fracao) ++casasDecimais;
        continue;
      }
      numero.digitos += texto[i];
      if (fracao) ++casasDecimais;
    }
  };
  leDigitos(false);
  if (i < texto.size() && texto[i] == separador) {
    temMantissa = true;
    ++i;
    leDigitos(true);
  }
  if (!temMantissa) return false;

  int64_t expoente = 0;
  if (i < texto.size() && (texto[i] == 'E' || texto[i] == 'e')) {
    ++i;
    bool expoenteNegativo = false;
    if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) expoenteNegativo = texto[i++] == '-';
    if (i == texto.size() || !Digito(texto[i])) return false;
    for (; i < texto.size() && Digito(texto[i]); ++i) {
      if (expoente < kLimiteExpoente) expoente = expoente * 10 + (texto[i] - '0');
    }
    if (expoenteNegativo) expoente = -expoente;
  }
  if (i != texto.size()) return false;

  numero.expoente = expoente - casasDecimais;
  return true;
}

// The number times 10^4, rounded half to even on the digits themselves; false when the
// result leaves the signed 64-bit range.
bool EmDecimosDeMilesimo(const Decimal& numero, int64_t& resultado) {
  resultado = 0;
  if (numero.digitos.empty()) return true;

  const auto tamanho = static_cast<int64_t>(numero.digitos.size());
  const int64_t inteiros = tamanho + numero.expoente + 4;  // digits left of the point
  // The first digit is not 0, so 20 digits are at least 10^19, beyond 2^63.
  if (inteiros > 19) return false;

  const uint64_t limite = numero.negativo ? uint64_t{1} << 63 : uint64_t{std::numeric_limits<int64_t>::max()};
  uint64_t magnitude = 0;
  for (int64_t k = 0; k < inteiros; ++k) {
    const unsigned digito = k < tamanho ? static_cast<unsigned>(numero.digitos[k] - '0') : 0;
    if (magnitude > (limite - digito) / 10) return false;
    magnitude = magnitude * 10 + digito;
  }

  // What is dropped: |inteiros| implied zeros when the digits start right of the cut.
  if (inteiros >= 0 && inteiros < tamanho) {
    const char primeiro = numero.digitos[inteiros];
    const bool restoNaoNulo =
        numero.digitos.find_first_not_of('0', static_cast<std::size_t>(inteiros) + 1) != std::string::npos;
    const bool sobe = primeiro > '5' || (primeiro == '5' && (restoNaoNulo || magnitude % 2 == 1));
    if (sobe) {
      if (magnitude == limite) return false;
      ++magnitude;
    }
  }

  resultado = numero.negativo ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

}  // namespace

std::string TextoDesconto(const std::string& campo) {
  std::string texto;
  texto.reserve(campo.size());
  for (char c : campo) {
    if (c != '%') texto += c == '.' ? ',' : c;
  }
  return texto;
}

namespace {

enum class Leitura { Valida, NaoNumero, ForaDosLimites };

Leitura LeValor(const std::string& campo, const runtime::Regional& regional, runtime::Currency& desconto) {
  Decimal numero;
  if (!LeDecimal(TextoDesconto(campo), regional.decimalSeparator, numero)) return Leitura::NaoNumero;
  if (!EmDecimosDeMilesimo(numero, desconto.ticks)) return Leitura::ForaDosLimites;
  return Leitura::Valida;
}

}  // namespace

runtime::Currency ConverteDesconto(const std::string& campo, const runtime::Regional& regional) {
  runtime::Currency desconto;
  switch (LeValor(campo, regional, desconto)) {
    case Leitura::Valida:
      break;
    case Leitura::NaoNumero:
      throw runtime::Failure("'" + campo + "' não é um valor de desconto válido");
    case Leitura::ForaDosLimites:
      throw runtime::Failure("'" + campo + "' está fora dos limites de um valor de desconto");
  }
  return desconto;
}

std::optional<runtime::Currency> LeDesconto(const std::string& campo, const runtime::Regional& regional) {
  runtime::Currency desconto;
  if (LeValor(campo, regional, desconto) != Leitura::Valida) return std::nullopt;
  return desconto;
}
