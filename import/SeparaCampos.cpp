#include "import/UCargaDescontos.h"

#include <string_view>

namespace {

// Codes 1..32 part fields; bytes of 128 and above (UTF-8 sequences) are field text.
bool Separador(char c) {
  const auto codigo = static_cast<unsigned char>(c);
  return codigo >= 1 && codigo <= 32;
}

}  // namespace

std::vector<std::string> SeparaCampos(const std::string& linha) {
  // A NUL ends the text: nothing after it is read, and it cannot stall the scan.
  const std::string_view texto = std::string_view(linha).substr(0, linha.find('\0'));
  const std::size_t fim = texto.size();
  std::size_t i = 0;
  auto pulaSeparadores = [&] {
    while (i < fim && Separador(texto[i])) ++i;
  };

  std::vector<std::string> campos;
  pulaSeparadores();
  while (i < fim) {
    std::string campo;
    if (texto[i] == '"') {
      ++i;
      while (i < fim) {
        if (texto[i] != '"') {
          campo += texto[i++];
        } else if (i + 1 < fim && texto[i + 1] == '"') {
          campo += '"';
          i += 2;
        } else {
          ++i;
          break;
        }
      }
    } else {
      const std::size_t inicio = i;
      while (i < fim && texto[i] != ';' && static_cast<unsigned char>(texto[i]) > 32) ++i;
      campo.assign(texto.substr(inicio, i - inicio));
    }
    campos.push_back(std::move(campo));

    pulaSeparadores();
    if (i < fim && texto[i] == ';') {
      if (i + 1 == fim) campos.emplace_back();
      ++i;
      pulaSeparadores();
    }
  }
  return campos;
}
