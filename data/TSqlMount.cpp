#include "data/UDao.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/Failure.h"

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Appending a piece to the list's text form and setting the result back as the list.
// The text form always ends in a line break, so this is the same as appending the piece's
// own lines to the list once the list has been through its text form.
void AppendToTextForm(runtime::LineList& linhas, const std::string& pedaco) {
  // A piece without line breaks (every field name, every placeholder) is one line, or none
  // when empty: spared the split, which builds a list for every piece of every row.
  if (pedaco.find('\r') == std::string::npos && pedaco.find('\n') == std::string::npos) {
    if (!pedaco.empty()) linhas.push_back(pedaco);
    return;
  }
  for (std::string& linha : runtime::LinesOf(pedaco)) linhas.push_back(std::move(linha));
}

}  // namespace

TSqlMount::TSqlMount(TSQLMountType tipo, const std::string& tabela) : Tabela(tabela), SQLMountType(tipo) {}

void TSqlMount::AddCampo(const std::string& nome, const runtime::Value& valor, runtime::FieldType tipo) {
  Params.push_back({nome, tipo, valor});
  Campos.push_back(nome);
}

runtime::LineList TSqlMount::GetSQL() const {
  if (Campos.empty()) throw runtime::Failure("Nao ha campos para gerar a instrucao sql.");
  switch (SQLMountType) {
    case smInsert:
    case smReplace:
      return MontaInsert();
    case smUpdate:
      return MontaUpdate();
  }
  throw runtime::Failure("SQLMountType inválido.");
}

std::string TSqlMount::ValorCampo(const std::string& nome) const {
  for (const std::string& linha : Valores) {
    const std::size_t igual = linha.find('=');
    if (igual == std::string::npos || !SameNameIgnoringCase(std::string_view(linha).substr(0, igual), nome)) continue;
    std::string expressao = linha.substr(igual + 1);
    if (!expressao.empty()) return expressao;
    break;
  }
  return ":" + nome;
}

runtime::LineList TSqlMount::MontaInsert() const {
  const std::string cabecalho = (SQLMountType == smInsert ? "insert into " : "replace into ") + Tabela + " ( ";
  // The head line goes through the text form with the first name, which splits a table
  // name holding line breaks.
  runtime::LineList linhas = runtime::LinesOf(runtime::TextOf({cabecalho}));
  for (std::size_t i = 0; i < Campos.size(); ++i) AppendToTextForm(linhas, (i == 0 ? "" : ",") + Campos[i]);
  linhas.push_back(" ) ");
  linhas.push_back(" values ( ");
  for (std::size_t i = 0; i < Campos.size(); ++i)
    AppendToTextForm(linhas, (i == 0 ? "" : ",") + ValorCampo(Campos[i]));
  linhas.push_back(" ) ");
  return linhas;
}

runtime::LineList TSqlMount::MontaUpdate() const {
  runtime::LineList linhas{" update " + Tabela + " set "};
  for (std::size_t i = 0; i < Campos.size(); ++i)
    linhas.push_back((i == 0 ? "" : ",") + Campos[i] + " = " + ValorCampo(Campos[i]));
  linhas.push_back(Condicao);
  return linhas;
}

bool TSqlMount::MontadaServe() const {
  return montada_ && montada_->tipo == SQLMountType && montada_->tabela == Tabela && montada_->condicao == Condicao &&
         montada_->campos == Campos && montada_->valores == Valores;
}

std::shared_ptr<const db::StatementText> TSqlMount::Instrucao() const {
  // Built once for the import run's first row and compared for every other: the search for
  // placeholders and the line list cost more than the rest of a row's work in the client.
  if (!MontadaServe()) {
    auto instrucao = std::make_shared<const db::StatementText>(runtime::TextOf(GetSQL()));
    montada_ = Montada{SQLMountType, Tabela, Condicao, Campos, Valores, std::move(instrucao)};
  }
  return montada_->instrucao;
}

const std::vector<db::Param>& TSqlMount::GetParams() {
  ParamsBanco = Params;
  return ParamsBanco;
}

void TSqlMount::Limpa() {
  Params.clear();
  Valores.clear();
  Campos.clear();
}
