#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/IJanelaDescontos.h"
#include "import/TDadosDescontos.h"
#include "import/TTabelaDescontos.h"
#include "runtime/LineList.h"
#include "runtime/Regional.h"
#include "runtime/Value.h"

// Error kinds of the error list.
inline constexpr uint8_t kErroFornecedor = 0;
inline constexpr uint8_t kErroFabricante = 1;
inline constexpr uint8_t kErroDados = 2;

// The fields of a line whose spaces are already removed.
std::vector<std::string> SeparaCampos(const std::string& linha);

// The discount text as it is read and reported: every "." as "," and every "%" dropped.
std::string TextoDesconto(const std::string& campo);

// The discount percentage in ten-thousandths, rounded half to even on the exact decimal
// digits. Throws runtime::Failure when the text is no number or the result leaves 64 bits.
runtime::Currency ConverteDesconto(const std::string& campo, const runtime::Regional& regional);

// The same, or nothing where ConverteDesconto throws: the load meets a bad number on many
// lines, and a thrown exception costs more than the rest of a line's own work.
std::optional<runtime::Currency> LeDesconto(const std::string& campo, const runtime::Regional& regional);

// The validity date in the regional short-date order. Throws runtime::Failure when the
// text is no date or the date does not exist.
std::chrono::year_month_day ConverteValidade(const std::string& campo, const runtime::Regional& regional,
                                             int anoAtual);
// The same, or nothing where ConverteValidade throws.
std::optional<std::chrono::year_month_day> LeValidade(const std::string& campo, const runtime::Regional& regional,
                                                      int anoAtual);

// The text of an error kind; "" for an unknown kind.
std::string DescricaoErro(uint8_t tipo);

// Appends a five-line entry, with an empty separator item before it when the list is not empty.
void AdicionaErro(std::vector<std::string>& erros, int32_t linha, uint8_t tipo,
                  const std::string& cnpjFornecedor, const std::string& cnpjFabricante,
                  const std::string& desconto);

// The lines of a discount file (Windows-1252, converted to UTF-8; a NUL ends the text).
// Throws runtime::Failure "Cannot open file ...".
runtime::LineList LeArquivoDescontos(const std::string& caminho);

// The work of the file button on the main window's state.
class TCargaDescontos {
 public:
  TCargaDescontos(TDadosDescontos& dados, IJanelaDescontos& janela, const runtime::Regional& regional);

  // Handles the load's own failures; lets out only the failure to read the chosen file and
  // the silent abort after a No to the question.
  void btnSelArquivoClick();

  std::string SelecionaArquivo();
  std::unique_ptr<TTabelaDescontos> CriaTabelaDescontos() const;
  bool CarregaDescontos(TTabelaDescontos& tabela, std::string& motivo);
  int32_t BuscaFornecedor(const std::string& cnpj);
  int32_t BuscaFabricante(const std::string& cnpj);

 private:
  TDadosDescontos& dados_;
  IJanelaDescontos& janela_;
  runtime::Regional regional_;
};
