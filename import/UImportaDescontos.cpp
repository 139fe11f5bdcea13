#include "import/UImportaDescontos.h"

#include <ctime>
#include <exception>
#include <optional>
#include <utility>

#include "data/UConfigSistemaQEL.h"
#include "data/UDao.h"
#include "import/ArquivoErros.h"
#include "runtime/Failure.h"
#include "runtime/Paths.h"
#include "runtime/Value.h"

namespace {

runtime::Value ValorOuNulo(const std::optional<int32_t>& coluna) {
  if (!coluna) return runtime::Null{};
  return int64_t{*coluna};
}

runtime::Value ValorOuNulo(const std::optional<runtime::Currency>& coluna) {
  if (!coluna) return runtime::Null{};
  return *coluna;
}

runtime::Value ValorOuNulo(const std::optional<std::chrono::year_month_day>& coluna) {
  if (!coluna) return runtime::Null{};
  return runtime::DateTime{*coluna};
}

// The names once for the whole run rather than as new texts for every row.
const std::string kFornece = "fornece_id";
const std::string kFabricantes = "fabricantes_id";
const std::string kDesconto = "desconto";
const std::string kValidade = "validade";
const std::string kLojasLeram = "lojas_leram";
const std::string kApagado = "apagado";
const std::string kGrupo = "grupo_descfabric_id";

void MontaLinha(TSqlMount& sql, const TDesconto& desconto) {
  using runtime::FieldType;
  sql.Limpa();
  sql.AddCampo(kFornece, ValorOuNulo(desconto.fornece_id), FieldType::Integer);
  sql.AddCampo(kFabricantes, ValorOuNulo(desconto.fabricantes_id), FieldType::Integer);
  sql.AddCampo(kDesconto, ValorOuNulo(desconto.desconto), FieldType::Currency);
  sql.AddCampo(kValidade, ValorOuNulo(desconto.validade), FieldType::Date);
  // Read for every row: the settings file may change while a run is written.
  sql.AddCampo(kLojasLeram, TConfigSistemaQEL::GetCodLogica(), FieldType::String);
  sql.AddCampo(kApagado, std::string("N"), FieldType::String);
  sql.AddCampo(kGrupo, int64_t{0}, FieldType::Integer);
}

}  // namespace

TImportaDescontos::TImportaDescontos(TDadosDescontos& dados, IJanelaDescontos& janela)
    : TImportaDescontos(dados, janela, runtime::ExecutableFolder()) {}

TImportaDescontos::TImportaDescontos(TDadosDescontos& dados, IJanelaDescontos& janela, std::string pastaErros)
    : dados_(dados), janela_(janela), pastaErros_(std::move(pastaErros)) {}

void TImportaDescontos::btnImportarClick() {
  if (!dados_.oDescontos || dados_.oDescontos->IsEmpty()) {
    janela_.MsgErro("Não existem descontos a serem importados! Selecione o arquivo de descontos novamente.");
    throw runtime::SilentAbort();
  }

  // The server may have dropped the connection while the operator looked at the loaded file.
  if (dados_.oConexao) dados_.oConexao->CheckOnNextStatement();
  int32_t gravados = 0;
  std::exception_ptr falha;
  try {
    GravaDescontos(*dados_.oDescontos, gravados);
  } catch (...) {
    falha = std::current_exception();
  }
  // A failure here replaces the pending one: the operator sees the later failure only.
  Finaliza(gravados, falha != nullptr);
  if (falha) std::rethrow_exception(falha);
}

void TImportaDescontos::GravaDescontos(TTabelaDescontos& tabela, int32_t& gravados) {
  janela_.AtualizaStatus("Importando descontos...");
  janela_.ProgressPosition(0);
  janela_.ProgressMax(static_cast<int32_t>(tabela.RecordCount()));

  // No transaction around the run: every row written stays written when a later one fails.
  TSqlMount sql(smReplace, "descfabric");
  for (tabela.First(); !tabela.Eof();) {
    MontaLinha(sql, tabela.Atual());
    TDao::Executa(*dados_.oConexao, sql, true);
    ++gravados;
    tabela.Next();
    janela_.ProgressStepBy(1);
  }
}

void TImportaDescontos::Finaliza(int32_t gravados, bool interrompida) {
  janela_.AtualizaStatus(interrompida ? "Importação interrompida!" : "Importação concluída!");
  const std::string desfecho = interrompida ? "Importação interrompida!" : "Importação realizada com sucesso!";

  if (!dados_.oErros.empty()) {
    GravaArquivoErros(pastaErros_, dados_.oErros, std::time(nullptr));
    const std::string resumo = desfecho + "\r\n\r\nTotal de descontos: " +
                               std::to_string(dados_.oDescontos->TotalLinhas()) + "\r\n" +
                               "Descontos importados: " + std::to_string(gravados) + "\r\n" +
                               "Descontos não importados: " + std::to_string(dados_.LinhasRejeitadas) + "\r\n" +
                               "\r\n" + "Deseja exibir o relatório detalhado dos erros?";
    if (janela_.Confirma(resumo)) janela_.Exibir(dados_.oErros);
  } else {
    janela_.MsgInformacao(desfecho + "\r\nTotal de descontos importados: " + std::to_string(gravados));
  }

  janela_.ProgressPosition(0);
  dados_.oArquivo.reset();
  dados_.LimpaErros();
  dados_.oDescontos.reset();
}
