#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/TTabelaDescontos.h"
#include "runtime/Paths.h"
#include "tests/support/FakeJanela.h"
#include "tests/support/TestServer.h"

namespace importa {

inline TDesconto Desconto(int32_t fornece, int32_t fabricante, int64_t ticks, std::chrono::year_month_day validade) {
  return {fornece, fabricante, runtime::Currency{ticks}, validade, std::nullopt};
}

// A table as a load leaves it: the rows posted in order, totalLinhas lines after the header.
inline std::unique_ptr<TTabelaDescontos> Tabela(std::initializer_list<TDesconto> linhas, int32_t totalLinhas) {
  auto tabela = std::make_unique<TTabelaDescontos>(totalLinhas);
  for (const TDesconto& linha : linhas) {
    tabela->Append();
    tabela->Pendente() = linha;
    tabela->Post();
  }
  return tabela;
}

// The FakeJanela with two more places to look from: when the summary is asked and after
// every gauge step.
class Janela : public testsupport::FakeJanela {
 public:
  std::function<void()> aoConfirmar;
  std::function<void()> aoAvancar;

  bool Confirma(const std::string& texto) override {
    if (aoConfirmar) aoConfirmar();
    return FakeJanela::Confirma(texto);
  }
  void ProgressStepBy(int32_t passo) override {
    FakeJanela::ProgressStepBy(passo);
    if (aoAvancar) aoAvancar();
  }
};

// The error files beside the test executable, removed before and after the test.
class ArquivosDeErro {
 public:
  ArquivosDeErro() { Remove(); }
  ~ArquivosDeErro() { Remove(); }
  ArquivosDeErro(const ArquivosDeErro&) = delete;
  ArquivosDeErro& operator=(const ArquivosDeErro&) = delete;

  // Their names, sorted.
  static std::vector<std::string> Nomes() {
    std::vector<std::string> nomes;
    for (const auto& entrada : std::filesystem::directory_iterator(runtime::ExecutableFolder())) {
      std::string nome = entrada.path().filename().string();
      if (nome.starts_with("ARQERRO_QUIRAVEL_")) nomes.push_back(nome);
    }
    std::sort(nomes.begin(), nomes.end());
    return nomes;
  }

  static void Remove() {
    std::error_code ignorado;
    for (const std::string& nome : Nomes()) std::filesystem::remove(runtime::ExecutableFolder() + nome, ignorado);
  }
};

// The stamp an error file written at that moment carries, e.g. "20240305_093007".
inline std::string Carimbo(std::time_t momento) {
  std::tm local{};
  localtime_r(&momento, &local);
  char texto[32];
  std::strftime(texto, sizeof texto, "%Y%m%d_%H%M%S", &local);
  return texto;
}

// descfabric, every column as text, in key order.
inline std::vector<std::vector<std::optional<std::string>>> Descfabric() {
  return testsupport::Rows(
      "select fornece_id, fabricantes_id, desconto, validade, lojas_leram, apagado, grupo_descfabric_id "
      "from descfabric order by fornece_id, fabricantes_id");
}

}  // namespace importa
