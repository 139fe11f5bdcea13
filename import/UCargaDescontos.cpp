#include "import/UCargaDescontos.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <iterator>
#include <limits>
#include <variant>

#include "data/UDao.h"
#include "runtime/Failure.h"

namespace {

const std::string kMotivoSemDescontos =
    "Fornecedores e Fabricanetes não encontrados em seu cadastro! Verifique os CNPJs contidos no arquivo "
    "selecionado.";

int32_t ComoInt32(std::size_t n) {
  return static_cast<int32_t>(std::min<std::size_t>(n, std::numeric_limits<int32_t>::max()));
}

bool EmBranco(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string SemBrancosNasPontas(const std::string& texto) {
  const auto inicio = std::find_if_not(texto.begin(), texto.end(), EmBranco);
  const auto fim = std::find_if_not(texto.rbegin(), std::string::const_reverse_iterator(inicio), EmBranco).base();
  return std::string(inicio, fim);
}

std::string SemEspacos(const std::string& linha) {
  std::string resultado;
  resultado.reserve(linha.size());
  std::copy_if(linha.begin(), linha.end(), std::back_inserter(resultado), [](char c) { return c != ' '; });
  return resultado;
}

bool SoPontoEVirgula(const std::string& linha) { return linha.find_first_not_of(';') == std::string::npos; }

// The field, or the failure a line without it ends the load with.
const std::string& Campo(const std::vector<std::string>& campos, std::size_t indice) {
  if (indice >= campos.size())
    throw runtime::Failure("List index out of bounds (" + std::to_string(indice) + ")");
  return campos[indice];
}

int AnoAtual() {
  const std::time_t agora = std::time(nullptr);
  std::tm local{};
  localtime_r(&agora, &local);
  return local.tm_year + 1900;
}

bool CabeEmInt32(int64_t valor) {
  return valor >= std::numeric_limits<int32_t>::min() && valor <= std::numeric_limits<int32_t>::max();
}

std::string TextoMoeda(runtime::Currency valor) {
  const bool negativo = valor.ticks < 0;
  const uint64_t magnitude = negativo ? 0 - static_cast<uint64_t>(valor.ticks) : static_cast<uint64_t>(valor.ticks);
  const std::string casas = std::to_string(magnitude % 10000);
  return (negativo ? "-" : "") + std::to_string(magnitude / 10000) + "," + std::string(4 - casas.size(), '0') + casas;
}

// The id a lookup found. Integer columns come as int64; a decimal or a text column is
// accepted when it holds an exact whole number. Anything else is a fault of the data
// that must stop the load, as a database failure does.
int32_t ComoId(const runtime::Value& valor) {
  auto falha = [](const std::string& texto) {
    return runtime::Failure("O código '" + texto + "' encontrado no cadastro não é um número inteiro de 32 bits");
  };
  if (const auto* inteiro = std::get_if<int64_t>(&valor)) {
    if (!CabeEmInt32(*inteiro)) throw falha(std::to_string(*inteiro));
    return static_cast<int32_t>(*inteiro);
  }
  if (const auto* moeda = std::get_if<runtime::Currency>(&valor)) {
    if (moeda->ticks % 10000 != 0 || !CabeEmInt32(moeda->ticks / 10000)) throw falha(TextoMoeda(*moeda));
    return static_cast<int32_t>(moeda->ticks / 10000);
  }
  if (const auto* texto = std::get_if<std::string>(&valor)) {
    const bool comMais = texto->starts_with('+');
    const char* inicio = texto->data() + (comMais ? 1 : 0);
    const char* fim = texto->data() + texto->size();
    int64_t lido = 0;
    const auto [parou, erro] = std::from_chars(inicio, fim, lido);
    if (erro != std::errc() || parou != fim || (comMais && *inicio == '-') || !CabeEmInt32(lido))
      throw falha(*texto);
    return static_cast<int32_t>(lido);
  }
  throw falha(std::holds_alternative<runtime::DateTime>(valor) ? "data" : "nulo");
}

// The CNPJ is escaped for the connection, so quotes and backslashes in it stay text.
int32_t BuscaId(TDadosDescontos& dados, const std::string& consulta, const std::string& cnpj) {
  if (!dados.oConexao) throw runtime::Failure("Sem conexão com o banco de dados");
  db::Connection& conexao = *dados.oConexao;
  const std::string sql = consulta + " where cgc = \"" + conexao.Escape(cnpj, '"') + "\" and apagado = \"N\"";
  return ComoId(TDao::BuscaValor(conexao, sql, runtime::Value{int64_t{0}}, true));
}

}  // namespace

TCargaDescontos::TCargaDescontos(TDadosDescontos& dados, IJanelaDescontos& janela, const runtime::Regional& regional)
    : dados_(dados), janela_(janela), regional_(regional) {}

void TCargaDescontos::btnSelArquivoClick() {
  janela_.EdArquivoText(SelecionaArquivo());
  if (!dados_.oArquivo) return;

  // The server may have dropped the connection since the last click.
  if (dados_.oConexao) dados_.oConexao->CheckOnNextStatement();
  try {
    janela_.AtualizaStatus("Arquivo selecionado, carregando descontos...");
    dados_.oDescontos = CriaTabelaDescontos();
    std::string motivo;
    if (!CarregaDescontos(*dados_.oDescontos, motivo)) {
      janela_.ProgressEnabled(false);
      janela_.ImportarEnabled(false);
      throw runtime::Failure("Nenhum desconto carregado! " + motivo);
    }
    janela_.ImportarEnabled(true);
    janela_.AtualizaStatus("Descontos carregados! Aguardando importação...");
  } catch (const std::exception& falha) {
    janela_.AtualizaStatus("Erro ao carregar descontos, tente novamente!");
    janela_.MsgErro(std::string("Erro ao carregar descontos!\r\n") + falha.what());
    if (!dados_.oDescontos || dados_.oDescontos->IsEmpty()) {
      const bool exibir = janela_.Confirma("Deseja exibir o relatório detalhado dos erros?");
      if (exibir) janela_.Exibir(dados_.oErros);
      dados_.LimpaErros();
      if (!exibir) throw runtime::SilentAbort();
    }
    janela_.ProgressPosition(0);
  }
}

std::string TCargaDescontos::SelecionaArquivo() {
  const std::optional<std::string> escolhido = janela_.AbreArquivo("Arquivo Excel", "*.csv");
  if (!escolhido) {
    dados_.oArquivo.reset();
    return "";
  }
  std::string caminho = SemBrancosNasPontas(*escolhido);
  // The old lines go first, and a file that cannot be read leaves an empty list.
  dados_.oArquivo.emplace();
  *dados_.oArquivo = LeArquivoDescontos(*escolhido);
  janela_.ProgressPosition(0);
  janela_.ProgressMax(ComoInt32(dados_.oArquivo->size()));
  return caminho;
}

std::unique_ptr<TTabelaDescontos> TCargaDescontos::CriaTabelaDescontos() const {
  const std::size_t linhas = dados_.oArquivo ? dados_.oArquivo->size() : 0;
  return std::make_unique<TTabelaDescontos>(linhas > 0 ? ComoInt32(linhas - 1) : 0);
}

bool TCargaDescontos::CarregaDescontos(TTabelaDescontos& tabela, std::string& motivo) {
  static const runtime::LineList kSemLinhas;
  const runtime::LineList& linhas = dados_.oArquivo ? *dados_.oArquivo : kSemLinhas;
  if (!linhas.empty()) {
    janela_.ProgressEnabled(true);
    janela_.ProgressPosition(0);
    janela_.ProgressMax(ComoInt32(linhas.size() - 1));
    janela_.ProcessaMensagens();
  }

  const int anoAtual = AnoAtual();
  for (std::size_t i = 1; i < linhas.size(); ++i) {
    if (SoPontoEVirgula(linhas[i])) continue;
    const std::vector<std::string> campos = SeparaCampos(SemEspacos(linhas[i]));
    const int32_t fornecedor = BuscaFornecedor(Campo(campos, 0));
    const int32_t fabricante = BuscaFabricante(Campo(campos, 1));
    const int32_t indice = ComoInt32(i);

    if (fornecedor != 0 && fabricante != 0) {
      tabela.Append();
      bool gravada = false;
      try {
        TDesconto& desconto = tabela.Pendente();
        desconto.fornece_id = fornecedor;
        desconto.fabricantes_id = fabricante;
        // A number or a date that does not read is told without a throw: one for each such
        // line cost the load more than the rest of the line's own work.
        if (const auto valor = LeDesconto(Campo(campos, 2), regional_)) {
          desconto.desconto = *valor;
          if (const auto validade = LeValidade(Campo(campos, 3), regional_, anoAtual)) {
            desconto.validade = *validade;
            tabela.Post();
            gravada = true;
          }
        }
      } catch (const std::exception&) {
        // A missing field, or a failing post: the line is rejected like a bad value.
      }
      if (!gravada) {
        tabela.Cancel();
        // A missing field 2 escapes from here and ends the load before the entry exists.
        AdicionaErro(dados_.oErros, indice, kErroDados, campos[0], campos[1], Campo(campos, 2));
        ++dados_.LinhasRejeitadas;
      }
      janela_.ProgressStepBy(1);
    } else {
      const std::string& desconto = Campo(campos, 2);
      if (fornecedor == 0) AdicionaErro(dados_.oErros, indice, kErroFornecedor, campos[0], campos[1], desconto);
      if (fabricante == 0) AdicionaErro(dados_.oErros, indice, kErroFabricante, campos[0], campos[1], desconto);
      ++dados_.LinhasRejeitadas;
    }
  }
  janela_.ProgressPosition(0);

  if (tabela.IsEmpty()) {
    motivo = kMotivoSemDescontos;
    return false;
  }
  return true;
}

int32_t TCargaDescontos::BuscaFornecedor(const std::string& cnpj) {
  return BuscaId(dados_, "select fornece_id from fornece", cnpj);
}

int32_t TCargaDescontos::BuscaFabricante(const std::string& cnpj) {
  return BuscaId(dados_, "select fabricantes_id from fabricantes", cnpj);
}
