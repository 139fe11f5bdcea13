#include "import/UCargaDescontos.h"

#include <optional>
#include <string_view>

#include "runtime/Failure.h"

namespace {

// One number of a short date: its value and how many digits were written for it.
struct Numero {
  int valor = 0;
  int digitos = 0;
};

class LeitorData {
 public:
  LeitorData(std::string_view texto, char separador) : texto_(texto), separador_(separador) {}

  // Reading stops after the digit that brings the value to 1000 or more, so "20245" is
  // 2024 followed by a stray "5".
  bool LeNumero(Numero& numero) {
    numero = {};
    while (pos_ < texto_.size() && numero.valor < 1000 && texto_[pos_] >= '0' && texto_[pos_] <= '9') {
      numero.valor = numero.valor * 10 + (texto_[pos_++] - '0');
      ++numero.digitos;
    }
    return numero.digitos > 0;
  }

  bool LeSeparador() {
    if (pos_ == texto_.size() || texto_[pos_] != separador_) return false;
    ++pos_;
    return true;
  }

  bool NoFim() const { return pos_ == texto_.size(); }

 private:
  std::string_view texto_;
  char separador_;
  std::size_t pos_ = 0;
};

// A year of one or two digits falls in the hundred years that begin 50 years back.
int AnoNaJanela(const Numero& ano, int anoAtual) {
  if (ano.digitos > 2) return ano.valor;
  const int base = anoAtual - 50;
  int resultado = ano.valor + base / 100 * 100;
  if (resultado < base) resultado += 100;
  return resultado;
}

}  // namespace

std::optional<std::chrono::year_month_day> LeValidade(const std::string& campo, const runtime::Regional& regional,
                                                      int anoAtual) {
  using runtime::DateOrder;

  LeitorData leitor(campo, regional.dateSeparator);
  Numero primeiro, segundo, terceiro;
  if (!leitor.LeNumero(primeiro) || !leitor.LeSeparador() || !leitor.LeNumero(segundo)) return std::nullopt;

  int dia = 0, mes = 0, ano = anoAtual;
  if (leitor.LeSeparador()) {
    if (!leitor.LeNumero(terceiro)) return std::nullopt;
    switch (regional.dateOrder) {
      case DateOrder::DayMonthYear:
        dia = primeiro.valor, mes = segundo.valor, ano = AnoNaJanela(terceiro, anoAtual);
        break;
      case DateOrder::MonthDayYear:
        mes = primeiro.valor, dia = segundo.valor, ano = AnoNaJanela(terceiro, anoAtual);
        break;
      case DateOrder::YearMonthDay:
        ano = AnoNaJanela(primeiro, anoAtual), mes = segundo.valor, dia = terceiro.valor;
        break;
    }
    leitor.LeSeparador();
  } else if (regional.dateOrder == DateOrder::DayMonthYear) {
    dia = primeiro.valor, mes = segundo.valor;
  } else {
    mes = primeiro.valor, dia = segundo.valor;
  }
  if (!leitor.NoFim()) return std::nullopt;

  // chrono::day and chrono::month keep only 8 bits, so 257 must be refused before them.
  if (ano < 1 || ano > 9999 || mes < 1 || mes > 12 || dia < 1 || dia > 31) return std::nullopt;
  const std::chrono::year_month_day data{std::chrono::year{ano}, std::chrono::month{static_cast<unsigned>(mes)},
                                         std::chrono::day{static_cast<unsigned>(dia)}};
  if (!data.ok()) return std::nullopt;
  return data;
}

std::chrono::year_month_day ConverteValidade(const std::string& campo, const runtime::Regional& regional,
                                             int anoAtual) {
  const std::optional<std::chrono::year_month_day> data = LeValidade(campo, regional, anoAtual);
  if (!data) throw runtime::Failure("'" + campo + "' não é uma data válida");
  return *data;
}
