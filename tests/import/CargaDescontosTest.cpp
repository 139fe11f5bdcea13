#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "import/UCargaDescontos.h"
#include "runtime/Failure.h"
#include "tests/support/FakeJanela.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

using namespace std::chrono;
using runtime::LineList;

const std::string kAbrir = "abrir: Arquivo Excel|*.csv";
const std::string kStatusCarregando = "Arquivo selecionado, carregando descontos...";
const std::string kStatusCarregados = "Descontos carregados! Aguardando importação...";
const std::string kStatusErro = "Erro ao carregar descontos, tente novamente!";
const std::string kErroSemDescontos =
    "erro: Erro ao carregar descontos!\r\nNenhum desconto carregado! Fornecedores e Fabricanetes não encontrados "
    "em seu cadastro! Verifique os CNPJs contidos no arquivo selecionado.";
const std::string kPergunta = "confirma: Deseja exibir o relatório detalhado dos erros?";

// The main window's stand-in, with a hook at every gauge step so a test can break the
// database in the middle of a load.
struct Janela : testsupport::FakeJanela {
  std::function<void()> aoAvancar;
  void ProgressStepBy(int32_t passo) override {
    FakeJanela::ProgressStepBy(passo);
    if (aoAvancar) aoAvancar();
  }
};

// Takes fabricantes away from the test login until destroyed, so its lookups fail.
class SemFabricantes {
 public:
  void Agora() {
    if (fora_) return;
    testsupport::Sql("rename table fabricantes to fabricantes_fora");
    fora_ = true;
  }
  ~SemFabricantes() {
    if (fora_) testsupport::Sql("rename table fabricantes_fora to fabricantes");
  }

 private:
  bool fora_ = false;
};

// Gives fornece.fornece_id another type until destroyed.
class ColunaFornecedor {
 public:
  explicit ColunaFornecedor(const std::string& tipo) {
    testsupport::Sql("alter table fornece modify fornece_id " + tipo + " null");
  }
  ~ColunaFornecedor() {
    try {
      testsupport::Sql("delete from fornece; alter table fornece modify fornece_id int null");
    } catch (...) {
    }
  }
};

struct Entrada {
  int32_t linha;
  uint8_t tipo;
  std::string fornecedor, fabricante, desconto;
};

LineList Erros(const std::vector<Entrada>& entradas) {
  LineList erros;
  for (const Entrada& e : entradas) AdicionaErro(erros, e.linha, e.tipo, e.fornecedor, e.fabricante, e.desconto);
  return erros;
}

struct Linha {
  std::optional<int32_t> fornece_id, fabricantes_id;
  std::optional<int64_t> desconto;
  std::optional<year_month_day> validade;
  bool operator==(const Linha&) const = default;
};

std::vector<Linha> Linhas(TTabelaDescontos& tabela) {
  std::vector<Linha> linhas;
  for (tabela.First(); !tabela.Eof(); tabela.Next()) {
    const TDesconto& d = tabela.Atual();
    EXPECT_FALSE(d.lojas_leram.has_value());
    linhas.push_back({d.fornece_id, d.fabricantes_id,
                      d.desconto ? std::optional<int64_t>(d.desconto->ticks) : std::nullopt, d.validade});
  }
  return linhas;
}

void PrintTo(const Linha& l, std::ostream* os) {
  *os << "{" << testing::PrintToString(l.fornece_id) << ", " << testing::PrintToString(l.fabricantes_id) << ", "
      << testing::PrintToString(l.desconto) << ", "
      << (l.validade ? std::to_string(static_cast<int>(l.validade->year())) + "-" +
                           std::to_string(static_cast<unsigned>(l.validade->month())) + "-" +
                           std::to_string(static_cast<unsigned>(l.validade->day()))
                     : "null")
      << "}";
}

class CargaDescontos : public testing::Test {
 protected:
  testsupport::CleanTables limpa_;
  testsupport::TempDir pasta_;
  TDadosDescontos dados_;
  Janela janela_;
  TCargaDescontos carga_{dados_, janela_, runtime::Regional::brazilian()};

  CargaDescontos() {
    dados_.oConexao = testsupport::ConnectTest();
    testsupport::Sql(
        "insert into fornece values (10, '111', 'N'), (20, '222', 'N');"
        "insert into fabricantes values (30, '333', 'N'), (40, '444', 'N')");
  }

  std::string Arquivo(const std::string& bytes, const std::string& nome = "descontos.csv") {
    const std::string caminho = pasta_.file(nome);
    testsupport::WriteBytes(caminho, bytes);
    return caminho;
  }

  // Chooses a file with these bytes in the dialog and clicks the file button.
  void Carrega(Janela& janela, const std::string& bytes) {
    janela.arquivos.push_back(Arquivo(bytes));
    TCargaDescontos(dados_, janela, runtime::Regional::brazilian()).btnSelArquivoClick();
  }
  void Carrega(const std::string& bytes) { Carrega(janela_, bytes); }
};

TEST_F(CargaDescontos, GoodLinesBecomeRowsAndBadOnesEntries) {
  Carrega(
      "CNPJ;CNPJ;Desconto;Validade\r\n"
      "111;333;10.5;31/12/2099\r\n"
      " 2 2 2 ; 4 4 4 ;%12,25 ; 01/02/2030;ignorado\n"
      "\"111\";\"444\";\"1,5E1\";\"1/1/2031\"\r"
      "\r\n"
      ";;;\r\n"
      "111;333;abc;31/12/2099\r\n"
      "111;333;10;29/02/2023\r\n"
      "111;333;10\r\n"
      "999;333;7.5%;31/12/2099");

  const std::vector<Linha> esperadas = {
      {10, 30, 105000, 2099y / 12 / 31},
      {20, 40, 122500, 2030y / 2 / 1},
      {10, 40, 150000, 2031y / 1 / 1},
  };
  ASSERT_TRUE(dados_.oDescontos);
  EXPECT_EQ(Linhas(*dados_.oDescontos), esperadas);
  EXPECT_EQ(dados_.oDescontos->TotalLinhas(), 9);
  EXPECT_EQ(dados_.oErros, Erros({{6, kErroDados, "111", "333", "abc"},
                                  {7, kErroDados, "111", "333", "10"},
                                  {8, kErroDados, "111", "333", "10"},
                                  {9, kErroFornecedor, "999", "333", "7.5%"}}));
  EXPECT_EQ(dados_.LinhasRejeitadas, 4);
  ASSERT_TRUE(dados_.oArquivo);
  EXPECT_EQ(dados_.oArquivo->size(), 10u);

  EXPECT_EQ(janela_.caixas, std::vector<std::string>{kAbrir});
  EXPECT_EQ(janela_.edArquivo, pasta_.file("descontos.csv"));
  EXPECT_EQ(janela_.historicoStatus, (std::vector<std::string>{kStatusCarregando, kStatusCarregados}));
  EXPECT_TRUE(janela_.importarHabilitado);
  EXPECT_TRUE(janela_.progressHabilitado);
  EXPECT_EQ(janela_.mensagensProcessadas, 1);
  EXPECT_EQ(janela_.maximo, 9);
  EXPECT_EQ(janela_.passos, 6);  // lines 1, 2, 3, 6, 7 and 8 had both CNPJs found
  EXPECT_EQ(janela_.posicao, 0);
}

TEST_F(CargaDescontos, PathIsTrimmedForTheBoxButReadAsTheDialogGaveIt) {
  const std::string comBrancos = Arquivo("cab\r\nlinha 1\r\nlinha 2", "descontos.csv \t");
  janela_.arquivos.push_back(comBrancos);
  janela_.posicao = 50;

  EXPECT_EQ(carga_.SelecionaArquivo(), pasta_.file("descontos.csv"));
  EXPECT_EQ(dados_.oArquivo, (LineList{"cab", "linha 1", "linha 2"}));
  EXPECT_EQ(janela_.posicao, 0);
  EXPECT_EQ(janela_.maximo, 3);
  EXPECT_EQ(carga_.CriaTabelaDescontos()->TotalLinhas(), 2);
}

TEST_F(CargaDescontos, CancelledDialogEmptiesTheBoxAndDropsTheLinesOnly) {
  Carrega("cab\r\n111;333;1;1/1/2099\r\n999;333;1;1/1/2099");
  ASSERT_EQ(dados_.oDescontos->RecordCount(), 1u);
  const TTabelaDescontos* tabela = dados_.oDescontos.get();
  const LineList erros = dados_.oErros;

  Janela janela;
  janela.edArquivo = "anterior";
  janela.status = "anterior";
  janela.importarHabilitado = true;
  janela.progressHabilitado = true;
  janela.posicao = 7;
  janela.arquivos.push_back(std::nullopt);
  TCargaDescontos(dados_, janela, runtime::Regional::brazilian()).btnSelArquivoClick();

  EXPECT_EQ(janela.edArquivo, "");
  EXPECT_FALSE(dados_.oArquivo.has_value());
  EXPECT_EQ(dados_.oDescontos.get(), tabela);
  EXPECT_EQ(dados_.oDescontos->RecordCount(), 1u);
  EXPECT_EQ(dados_.oErros, erros);
  EXPECT_EQ(dados_.LinhasRejeitadas, 1);
  EXPECT_EQ(janela.caixas, std::vector<std::string>{kAbrir});
  EXPECT_EQ(janela.status, "anterior");
  EXPECT_TRUE(janela.historicoStatus.empty());
  EXPECT_TRUE(janela.importarHabilitado);
  EXPECT_TRUE(janela.progressHabilitado);
  EXPECT_EQ(janela.posicao, 7);
}

TEST_F(CargaDescontos, UnreadableFileLeavesAnEmptyLineListAndFails) {
  Carrega("cab\r\n111;333;1;1/1/2099");
  const TTabelaDescontos* tabela = dados_.oDescontos.get();

  Janela janela;
  janela.edArquivo = "anterior";
  const std::string caminho = pasta_.file("sumiu.csv");
  janela.arquivos.push_back(caminho);
  try {
    TCargaDescontos(dados_, janela, runtime::Regional::brazilian()).btnSelArquivoClick();
    FAIL() << "no failure";
  } catch (const runtime::Failure& falha) {
    EXPECT_EQ(std::string(falha.what()), "Cannot open file \"" + caminho + "\". " + std::strerror(ENOENT));
  }
  ASSERT_TRUE(dados_.oArquivo.has_value());
  EXPECT_TRUE(dados_.oArquivo->empty());
  EXPECT_EQ(dados_.oDescontos.get(), tabela);
  EXPECT_EQ(janela.edArquivo, "anterior");
  EXPECT_EQ(janela.caixas, std::vector<std::string>{kAbrir});
  EXPECT_TRUE(janela.historicoStatus.empty());
}

TEST_F(CargaDescontos, NoRowLoadedAsksAndEmptiesTheList) {
  for (const bool exibir : {true, false}) {
    SCOPED_TRACE(exibir ? "Yes" : "No");
    dados_.oErros = {"de uma carga anterior"};
    dados_.LinhasRejeitadas = 1;
    Janela janela;
    janela.importarHabilitado = true;
    janela.respostas.push_back(exibir);
    janela.aoExibir = [&](const LineList&) { EXPECT_EQ(dados_.LinhasRejeitadas, 2); };

    const std::string arquivo = "cab\r\n999;888;5;1/1/2099\r\n";
    if (exibir) {
      Carrega(janela, arquivo);
    } else {
      EXPECT_THROW(Carrega(janela, arquivo), runtime::SilentAbort);
    }

    std::vector<std::string> caixas = {kAbrir, kErroSemDescontos, kPergunta};
    if (exibir) {
      caixas.push_back("exibir: 5 itens");
      ASSERT_EQ(janela.exibidos.size(), 1u);
      LineList esperado = {"de uma carga anterior"};
      AdicionaErro(esperado, 1, kErroFornecedor, "999", "888", "5");
      AdicionaErro(esperado, 1, kErroFabricante, "999", "888", "5");
      EXPECT_EQ(janela.exibidos[0], esperado);
    }
    EXPECT_EQ(janela.caixas, caixas);
    EXPECT_TRUE(dados_.oErros.empty());
    EXPECT_EQ(dados_.LinhasRejeitadas, 0);
    ASSERT_TRUE(dados_.oDescontos);
    EXPECT_TRUE(dados_.oDescontos->IsEmpty());
    EXPECT_EQ(janela.status, kStatusErro);
    EXPECT_FALSE(janela.importarHabilitado);
    EXPECT_FALSE(janela.progressHabilitado);
    EXPECT_EQ(janela.posicao, 0);
    EXPECT_EQ(janela.edArquivo, pasta_.file("descontos.csv"));
  }
}

TEST_F(CargaDescontos, EmptyFileAndHeaderOnlyLoadNothing) {
  struct Caso {
    std::string bytes;
    int mensagens;  // the gauge is only set up when the file has a line
  };
  for (const Caso& caso : {Caso{"", 0}, Caso{"cab\r\n", 1}}) {
    SCOPED_TRACE(caso.bytes);
    Janela janela;
    janela.respostas.push_back(true);
    Carrega(janela, caso.bytes);
    EXPECT_EQ(janela.caixas, (std::vector<std::string>{kAbrir, kErroSemDescontos, kPergunta, "exibir: 0 itens"}));
    EXPECT_EQ(janela.mensagensProcessadas, caso.mensagens);
    EXPECT_FALSE(janela.progressHabilitado);
  }
}

TEST_F(CargaDescontos, FailedLookupAfterSomeRowsKeepsThemAndAsksNothing) {
  for (const bool importarAntes : {false, true}) {
    SCOPED_TRACE(importarAntes);
    dados_.LimpaErros();
    SemFabricantes semFabricantes;
    Janela janela;
    janela.importarHabilitado = importarAntes;
    janela.aoAvancar = [&] { semFabricantes.Agora(); };

    Carrega(janela,
            "cab\r\n"
            "999;333;1;1/1/2099\r\n"
            "111;333;2;1/1/2099\r\n"
            "111;333;3;1/1/2099\r\n"
            "111;333;4;1/1/2099\r\n");

    const std::string db = testsupport::TestServer().database;
    EXPECT_EQ(janela.caixas, (std::vector<std::string>{
                                 kAbrir, "erro: Erro ao carregar descontos!\r\nTable '" + db +
                                             ".fabricantes' doesn't exist"}));
    ASSERT_TRUE(dados_.oDescontos);
    EXPECT_EQ(Linhas(*dados_.oDescontos), (std::vector<Linha>{{10, 30, 20000, 2099y / 1 / 1}}));
    EXPECT_EQ(dados_.oErros, Erros({{1, kErroFornecedor, "999", "333", "1"}}));
    EXPECT_EQ(dados_.LinhasRejeitadas, 1);
    EXPECT_EQ(janela.status, kStatusErro);
    EXPECT_EQ(janela.importarHabilitado, importarAntes);
    EXPECT_TRUE(janela.progressHabilitado);
    EXPECT_EQ(janela.posicao, 0);
    EXPECT_EQ(janela.passos, 1);
  }
}

TEST_F(CargaDescontos, FailedLookupWithoutRowsAsks) {
  for (const bool exibir : {true, false}) {
    SCOPED_TRACE(exibir ? "Yes" : "No");
    SemFabricantes semFabricantes;
    Janela janela;
    janela.respostas.push_back(exibir);
    janela.aoAvancar = [&] { semFabricantes.Agora(); };
    const std::string arquivo =
        "cab\r\n"
        "111;333;abc;1/1/2099\r\n"
        "111;333;1;1/1/2099\r\n";
    if (exibir) {
      Carrega(janela, arquivo);
    } else {
      EXPECT_THROW(Carrega(janela, arquivo), runtime::SilentAbort);
    }

    const std::string db = testsupport::TestServer().database;
    std::vector<std::string> caixas = {
        kAbrir, "erro: Erro ao carregar descontos!\r\nTable '" + db + ".fabricantes' doesn't exist", kPergunta};
    if (exibir) {
      caixas.push_back("exibir: 1 itens");
      EXPECT_EQ(janela.exibidos, std::vector<LineList>{Erros({{1, kErroDados, "111", "333", "abc"}})});
    }
    EXPECT_EQ(janela.caixas, caixas);
    EXPECT_TRUE(dados_.oErros.empty());
    EXPECT_EQ(dados_.LinhasRejeitadas, 0);
    EXPECT_TRUE(dados_.oDescontos->IsEmpty());
    EXPECT_EQ(janela.status, kStatusErro);
    EXPECT_TRUE(janela.progressHabilitado);
    EXPECT_EQ(janela.posicao, exibir ? 0 : 1);
  }
}

TEST_F(CargaDescontos, LineWithoutTheFieldsItNeedsEndsTheLoad) {
  struct Caso {
    std::string linha;
    int campoQueFalta;
  };
  const Caso casos[] = {
      {"   ", 0},
      {"\t", 0},
      {" \t \t ", 0},
      {"111", 1},
      {"999", 1},
      {"111;333", 2},  // both found: the entry for the unreadable line needs field 2
      {"999;888", 2},
      {"111;888", 2},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.linha);
    Janela janela;
    janela.respostas.push_back(true);
    Carrega(janela, "cab\r\n" + caso.linha + "\r\n111;333;1;1/1/2099\r\n");
    EXPECT_EQ(janela.caixas, (std::vector<std::string>{kAbrir,
                                                       "erro: Erro ao carregar descontos!\r\nList index out of "
                                                       "bounds (" + std::to_string(caso.campoQueFalta) + ")",
                                                       kPergunta, "exibir: 0 itens"}));
    EXPECT_EQ(janela.passos, 0);
    EXPECT_TRUE(dados_.oDescontos->IsEmpty());
  }
}

TEST_F(CargaDescontos, EntriesCountSkippedLinesAndNameSupplierBeforeManufacturer) {
  Carrega(
      "cab\r\n"
      "\r\n"
      ";;;\r\n"
      "999;333;7.5%;1/1/2099\r\n"
      "998;997;\"1;5\";x\r\n"
      "  ;  ;  \r\n"
      "111;333;1;1/1/2099\r\n");

  EXPECT_EQ(dados_.oErros, (LineList{
                               "Linha: 3\r\n"
                               "CNPJ Fornecedor: 999\r\n"
                               "CNPJ Fabricante: 333\r\n"
                               "Desconto: 7,5\r\n"
                               "Tipo Erro: Fornecedor não encontrado de acordo com CNPJ\r\n",
                               "",
                               "Linha: 4\r\n"
                               "CNPJ Fornecedor: 998\r\n"
                               "CNPJ Fabricante: 997\r\n"
                               "Desconto: 1;5\r\n"
                               "Tipo Erro: Fornecedor não encontrado de acordo com CNPJ\r\n",
                               "",
                               "Linha: 4\r\n"
                               "CNPJ Fornecedor: 998\r\n"
                               "CNPJ Fabricante: 997\r\n"
                               "Desconto: 1;5\r\n"
                               "Tipo Erro: Fabricante não encontrado de acordo com CNPJ\r\n",
                               "",
                               // spaces are removed after the skip test: two empty CNPJs
                               "Linha: 5\r\n"
                               "CNPJ Fornecedor: \r\n"
                               "CNPJ Fabricante: \r\n"
                               "Desconto: \r\n"
                               "Tipo Erro: Fornecedor não encontrado de acordo com CNPJ\r\n",
                               "",
                               "Linha: 5\r\n"
                               "CNPJ Fornecedor: \r\n"
                               "CNPJ Fabricante: \r\n"
                               "Desconto: \r\n"
                               "Tipo Erro: Fabricante não encontrado de acordo com CNPJ\r\n",
                           }));
  EXPECT_EQ(dados_.LinhasRejeitadas, 3);
  EXPECT_EQ(dados_.oDescontos->RecordCount(), 1u);
  EXPECT_EQ(janela_.passos, 1);
}

TEST_F(CargaDescontos, SecondLoadReplacesTheRowsAndKeepsTheEntries) {
  Carrega("cab\r\n999;333;1;1/1/2099\r\n111;333;1;1/1/2099\r\n");
  Carrega("cab\r\n222;444;2;2/2/2098\r\n111;333;3;3/3/2097\r\n998;333;4;1/1/2099\r\n");

  EXPECT_EQ(Linhas(*dados_.oDescontos), (std::vector<Linha>{{20, 40, 20000, 2098y / 2 / 2},
                                                            {10, 30, 30000, 2097y / 3 / 3}}));
  EXPECT_EQ(dados_.oErros, Erros({{1, kErroFornecedor, "999", "333", "1"}, {3, kErroFornecedor, "998", "333", "4"}}));
  EXPECT_EQ(dados_.LinhasRejeitadas, 2);
  EXPECT_EQ(dados_.oArquivo->size(), 4u);
  EXPECT_EQ(dados_.oDescontos->TotalLinhas(), 3);
}

TEST_F(CargaDescontos, IdsZeroNullOrDeletedAreNotFoundNegativeOnesAre) {
  testsupport::Sql(
      "insert into fornece values (-5, 'NEG', 'N'), (0, 'ZERO', 'N'), (null, 'NULO', 'N'), (8, 'APAG', 'S')");
  Carrega(
      "cab\r\n"
      "NEG;333;1;1/1/2099\r\n"
      "ZERO;333;1;1/1/2099\r\n"
      "NULO;333;1;1/1/2099\r\n"
      "APAG;333;1;1/1/2099\r\n");

  EXPECT_EQ(Linhas(*dados_.oDescontos), (std::vector<Linha>{{-5, 30, 10000, 2099y / 1 / 1}}));
  EXPECT_EQ(dados_.oErros, Erros({{2, kErroFornecedor, "ZERO", "333", "1"},
                                  {3, kErroFornecedor, "NULO", "333", "1"},
                                  {4, kErroFornecedor, "APAG", "333", "1"}}));
}

TEST_F(CargaDescontos, QuotesAndBackslashesInACnpjStayText) {
  testsupport::Sql("insert into fornece values (7, '1\"2\\\\3''4', 'N')");
  testsupport::GeneralLog log;
  Carrega(
      "cab\r\n"
      "1\"2\\3'4;333;1;1/1/2099\r\n"
      "x\"or\"1\"=\"1;333;1;1/1/2099\r\n");

  EXPECT_EQ(Linhas(*dados_.oDescontos), (std::vector<Linha>{{7, 30, 10000, 2099y / 1 / 1}}));
  EXPECT_EQ(dados_.oErros, Erros({{2, kErroFornecedor, "x\"or\"1\"=\"1", "333", "1"}}));
  EXPECT_EQ(log.Statements(),
            (std::vector<std::string>{
                "select fornece_id from fornece where cgc = \"1\\\"2\\\\3\\'4\" and apagado = \"N\"",
                "select fabricantes_id from fabricantes where cgc = \"333\" and apagado = \"N\"",
                "select fornece_id from fornece where cgc = \"x\\\"or\\\"1\\\"=\\\"1\" and apagado = \"N\"",
                "select fabricantes_id from fabricantes where cgc = \"333\" and apagado = \"N\"",
            }));
}

TEST_F(CargaDescontos, IdOfAnotherColumnTypeMustBeAWhole32BitNumber) {
  struct Caso {
    std::string tipo, valor;
    std::optional<int32_t> id;  // nullopt: the load fails with the message
    std::string mensagem;
  };
  const Caso casos[] = {
      {"bigint", "-2147483648", std::numeric_limits<int32_t>::min(), ""},
      {"bigint", "2147483647", std::numeric_limits<int32_t>::max(), ""},
      {"bigint", "4294967296", std::nullopt, "O código '4294967296' encontrado no cadastro não é um número inteiro de 32 bits"},
      {"bigint", "-2147483649", std::nullopt, "O código '-2147483649' encontrado no cadastro não é um número inteiro de 32 bits"},
      {"decimal(15,4)", "12", 12, ""},
      {"decimal(15,4)", "-0.5", std::nullopt, "O código '-0,5000' encontrado no cadastro não é um número inteiro de 32 bits"},
      {"varchar(20)", "'77'", 77, ""},
      {"varchar(20)", "'+77'", 77, ""},
      {"varchar(20)", "'+-77'", std::nullopt, "O código '+-77' encontrado no cadastro não é um número inteiro de 32 bits"},
      {"varchar(20)", "'7a'", std::nullopt, "O código '7a' encontrado no cadastro não é um número inteiro de 32 bits"},
      {"varchar(20)", "'3000000000'", std::nullopt, "O código '3000000000' encontrado no cadastro não é um número inteiro de 32 bits"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.tipo + " " + caso.valor);
    ColunaFornecedor coluna(caso.tipo);
    testsupport::Sql("insert into fornece values (" + caso.valor + ", 'X', 'N')");
    Janela janela;
    if (!caso.id) janela.respostas.push_back(false);
    const std::string arquivo = "cab\r\nX;333;1;1/1/2099\r\n";
    if (caso.id) {
      Carrega(janela, arquivo);
      EXPECT_EQ(Linhas(*dados_.oDescontos), (std::vector<Linha>{{*caso.id, 30, 10000, 2099y / 1 / 1}}));
    } else {
      EXPECT_THROW(Carrega(janela, arquivo), runtime::SilentAbort);
      EXPECT_EQ(janela.caixas, (std::vector<std::string>{kAbrir, "erro: Erro ao carregar descontos!\r\n" + caso.mensagem,
                                                         kPergunta}));
    }
  }
}

TEST_F(CargaDescontos, LargeFileLoadsEveryLine) {
  constexpr int kLinhas = 100'000;
  std::string bytes = "cab\r\n";
  for (int i = 0; i < kLinhas; ++i) bytes += i % 2 ? "111;333;10,5;31/12/2099\r\n" : "222;444;1.25%;1/1/2098\r\n";
  Carrega(bytes);

  ASSERT_TRUE(dados_.oDescontos);
  EXPECT_EQ(dados_.oDescontos->RecordCount(), std::size_t{kLinhas});
  EXPECT_EQ(janela_.passos, kLinhas);
  EXPECT_TRUE(dados_.oErros.empty());
}

}  // namespace
