// Error entries: exactly five CR LF-ended lines with the line's own fields, parted from
// the entry before by one empty item.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/Check.h"
#include "import/UCargaDescontos.h"

namespace {

// Fields come from lines already split at their breaks.
std::string Field(FuzzedDataProvider& data) {
  std::string field = data.ConsumeRandomLengthString(100);
  std::erase_if(field, [](char c) { return c == '\r' || c == '\n'; });
  return field;
}

std::vector<std::string> LinesOfEntry(const std::string& entry) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = entry.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(entry.substr(start, end - start));
  FUZZ_CHECK(start == entry.size());  // the last line is ended too
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  std::vector<std::string> erros(data.ConsumeIntegralInRange(0, 3), "earlier");
  const std::size_t before = erros.size();
  const int32_t linha = data.ConsumeIntegral<int32_t>();
  const uint8_t tipo = data.ConsumeIntegral<uint8_t>();
  const std::string fornecedor = Field(data);
  const std::string fabricante = Field(data);
  const std::string desconto = Field(data);

  AdicionaErro(erros, linha, tipo, fornecedor, fabricante, desconto);

  FUZZ_CHECK(erros.size() == before + (before == 0 ? 1 : 2));
  if (before > 0) FUZZ_CHECK(erros[before].empty());
  std::string shown;
  for (char c : desconto) {
    if (c == '.') shown += ',';
    else if (c != '%') shown += c;
  }
  const std::string description = DescricaoErro(tipo);
  FUZZ_CHECK(description.empty() == (tipo > 2));
  const std::vector<std::string> expected = {
      "Linha: " + std::to_string(linha),       "CNPJ Fornecedor: " + fornecedor,
      "CNPJ Fabricante: " + fabricante,       "Desconto: " + shown,
      "Tipo Erro: " + description,
  };
  FUZZ_CHECK(LinesOfEntry(erros.back()) == expected);
  return 0;
}
