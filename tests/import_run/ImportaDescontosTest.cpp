#include "import/UImportaDescontos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <deque>

#include "runtime/Failure.h"
#include "tests/import_run/ImportaFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

using namespace std::chrono;
using importa::ArquivosDeErro;
using importa::Carimbo;
using importa::Desconto;
using importa::Descfabric;
using importa::Tabela;
using Linhas = std::vector<std::vector<std::optional<std::string>>>;

const std::string kNadaCarregado =
    "erro: Não existem descontos a serem importados! Selecione o arquivo de descontos novamente.";

// Two error entries of one line whose CNPJs were both unknown, as the load leaves them.
const runtime::LineList kErros = {
    "Linha: 2\r\nCNPJ Fornecedor: 99\r\nCNPJ Fabricante: 88\r\nDesconto: 1ç\r\n"
    "Tipo Erro: Fornecedor não encontrado de acordo com CNPJ\r\n",
    "",
    "Linha: 2\r\nCNPJ Fornecedor: 99\r\nCNPJ Fabricante: 88\r\nDesconto: 1ç\r\n"
    "Tipo Erro: Fabricante não encontrado de acordo com CNPJ\r\n",
};
const std::string kErrosCp1252 =
    "Linha: 2\r\nCNPJ Fornecedor: 99\r\nCNPJ Fabricante: 88\r\nDesconto: 1\xE7\r\n"
    "Tipo Erro: Fornecedor n\xE3o encontrado de acordo com CNPJ\r\n\r\n"
    "\r\n"
    "Linha: 2\r\nCNPJ Fornecedor: 99\r\nCNPJ Fabricante: 88\r\nDesconto: 1\xE7\r\n"
    "Tipo Erro: Fabricante n\xE3o encontrado de acordo com CNPJ\r\n\r\n";

// The statement the server receives for one row.
std::string Replace(const std::string& fornece, const std::string& fabricante, const std::string& desconto,
                    const std::string& validade, const std::string& loja) {
  return "replace into descfabric ( \r\nfornece_id\r\n,fabricantes_id\r\n,desconto\r\n,validade\r\n"
         ",lojas_leram\r\n,apagado\r\n,grupo_descfabric_id\r\n ) \r\n values ( \r\n" +
         fornece + "\r\n," + fabricante + "\r\n," + desconto + "\r\n," + validade + "\r\n," + loja +
         "\r\n,'N'\r\n,0\r\n )";
}

std::unique_ptr<TTabelaDescontos> CincoLinhas() {
  return Tabela({Desconto(1, 10, 10000, 2030y / 1 / 1), Desconto(2, 10, 20000, 2030y / 1 / 2),
                 Desconto(3, 10, 30000, 2030y / 1 / 3), Desconto(4, 10, 40000, 2030y / 1 / 4),
                 Desconto(5, 10, 50000, 2030y / 1 / 5)},
                5);
}

// Refuses the row of one supplier in descfabric, as a server-side rule would.
class RecusaFornecedor {
 public:
  explicit RecusaFornecedor(int32_t fornece) {
    testsupport::Sql("create trigger descfabric_recusa before insert on descfabric for each row begin "
                     "if new.fornece_id = " + std::to_string(fornece) +
                     " then signal sqlstate '45000' set message_text = 'Fornecedor " + std::to_string(fornece) +
                     " recusado'; end if; end");
  }
  ~RecusaFornecedor() {
    try {
      testsupport::Sql("drop trigger if exists descfabric_recusa");
    } catch (...) {
    }
  }
  RecusaFornecedor(const RecusaFornecedor&) = delete;
  RecusaFornecedor& operator=(const RecusaFornecedor&) = delete;
};

class ImportaDescontos : public ::testing::Test {
 protected:
  ImportaDescontos() { dados.oConexao = testsupport::ConnectTest(); }

  // The state a load with rows leaves behind.
  void Carrega(std::unique_ptr<TTabelaDescontos> tabela, runtime::LineList erros = {}, int32_t rejeitadas = 0) {
    dados.oArquivo = runtime::LineList{"fornecedor;fabricante;desconto;validade", "linha"};
    dados.oDescontos = std::move(tabela);
    dados.oErros = std::move(erros);
    dados.LinhasRejeitadas = rejeitadas;
    janela.AtualizaStatus("Descontos carregados! Aguardando importação...");
    janela.historicoStatus.clear();
    janela.importarHabilitado = true;
    janela.progressHabilitado = true;
    janela.edArquivo = "/dados/descontos.csv";
  }

  void EsperaNadaCarregado() {
    EXPECT_FALSE(dados.oArquivo.has_value());
    EXPECT_EQ(dados.oDescontos, nullptr);
    EXPECT_TRUE(dados.oErros.empty());
    EXPECT_EQ(dados.LinhasRejeitadas, 0);
    EXPECT_EQ(janela.posicao, 0);
    EXPECT_TRUE(janela.importarHabilitado);
    EXPECT_EQ(janela.edArquivo, "/dados/descontos.csv");
  }

  testsupport::CleanTables limpa;
  testsupport::FileBesideExecutable ini{"sistema_qel.ini", "[FilialMatriz]\r\nCodLogica=007\r\n"};
  ArquivosDeErro arquivos;
  importa::Janela janela;
  TDadosDescontos dados;
};

TEST_F(ImportaDescontos, NothingLoadedShowsOnlyTheBoxAndLeavesEverythingAsItWas) {
  struct Caso {
    const char* nome;
    bool comTabela;
  };
  for (const Caso caso : {Caso{"no table", false}, Caso{"a table without rows", true}}) {
    SCOPED_TRACE(caso.nome);
    Carrega(caso.comTabela ? Tabela({}, 4) : nullptr, kErros, 1);
    janela.caixas.clear();
    janela.ProgressPosition(3);
    testsupport::GeneralLog log;

    EXPECT_THROW(TImportaDescontos(dados, janela).btnImportarClick(), runtime::SilentAbort);

    EXPECT_EQ(janela.caixas, std::vector<std::string>{kNadaCarregado});
    EXPECT_TRUE(janela.historicoStatus.empty());
    EXPECT_EQ(janela.posicao, 3);
    EXPECT_EQ(janela.maximo, 100);
    EXPECT_EQ(dados.oArquivo, (runtime::LineList{"fornecedor;fabricante;desconto;validade", "linha"}));
    EXPECT_EQ(dados.oDescontos != nullptr, caso.comTabela);
    EXPECT_EQ(dados.oErros, kErros);
    EXPECT_EQ(dados.LinhasRejeitadas, 1);
    EXPECT_TRUE(log.Statements().empty());
    EXPECT_TRUE(ArquivosDeErro::Nomes().empty());
  }
}

TEST_F(ImportaDescontos, GoodRowsAreReplacedInTableOrderAndReportedInTheInformationBox) {
  // More lines than rows: blank lines count in the file but leave no row.
  Carrega(Tabela({Desconto(12, 345, 105000, 2024y / 3 / 31), Desconto(3, 7, 5, 2099y / 12 / 31),
                  Desconto(12, 7, -22500, 2025y / 1 / 1)},
                 4));
  testsupport::GeneralLog log;

  TImportaDescontos(dados, janela).btnImportarClick();

  EXPECT_EQ(log.Statements(), (std::vector<std::string>{
                                  Replace("12", "345", "10.5", "'2024-03-31'", "'7'"),
                                  Replace("3", "7", "0.0005", "'2099-12-31'", "'7'"),
                                  Replace("12", "7", "-2.25", "'2025-01-01'", "'7'"),
                              }));
  EXPECT_EQ(Descfabric(), (Linhas{{"3", "7", "0.0005", "2099-12-31", "7", "N", "0"},
                                  {"12", "7", "-2.2500", "2025-01-01", "7", "N", "0"},
                                  {"12", "345", "10.5000", "2024-03-31", "7", "N", "0"}}));
  EXPECT_EQ(janela.caixas,
            std::vector<std::string>{"info: Importação realizada com sucesso!\r\nTotal de descontos importados: 3"});
  EXPECT_EQ(janela.historicoStatus, (std::vector<std::string>{"Importando descontos...", "Importação concluída!"}));
  EXPECT_EQ(janela.maximo, 3);
  EXPECT_EQ(janela.passos, 3);
  EXPECT_TRUE(ArquivosDeErro::Nomes().empty());
  EsperaNadaCarregado();

  // The run used the data up: another click has nothing to write.
  janela.caixas.clear();
  EXPECT_THROW(TImportaDescontos(dados, janela).btnImportarClick(), runtime::SilentAbort);
  EXPECT_EQ(janela.caixas, std::vector<std::string>{kNadaCarregado});
  EXPECT_EQ(log.Statements().size(), 3u);
  EXPECT_EQ(janela.status, "Importação concluída!");
}

TEST_F(ImportaDescontos, TheBranchCodeIsReadFromTheSettingsFileForEveryRow) {
  // After each row the settings file changes; the next row must carry the new code.
  std::deque<std::string> proximos = {"[FilialMatriz]\r\nCodLogica=$1F\r\n", "[ip]\r\nlocal=x\r\n"};
  janela.aoAvancar = [&] {
    if (proximos.empty()) return;
    testsupport::WriteBytes(ini.path(), proximos.front());
    proximos.pop_front();
  };
  Carrega(Tabela({Desconto(1, 1, 10000, 2030y / 1 / 1), Desconto(2, 1, 10000, 2030y / 1 / 1),
                  Desconto(3, 1, 10000, 2030y / 1 / 1)},
                 3));

  TImportaDescontos(dados, janela).btnImportarClick();

  EXPECT_EQ(testsupport::Rows("select lojas_leram from descfabric order by fornece_id"),
            (Linhas{{"7"}, {"31"}, {"0"}}));
}

TEST_F(ImportaDescontos, NullColumnsAreWrittenAsNullAndTheTablesOwnBranchColumnIsIgnored) {
  Carrega(Tabela({TDesconto{5, 6, std::nullopt, std::nullopt, "99"}}, 1));

  TImportaDescontos(dados, janela).btnImportarClick();

  EXPECT_EQ(Descfabric(), (Linhas{{"5", "6", std::nullopt, std::nullopt, "7", "N", "0"}}));
}

TEST_F(ImportaDescontos, WithErrorEntriesTheFileIsWrittenBeforeTheSummaryAndYesShowsTheList) {
  struct Caso {
    const char* nome;
    bool sim;
  };
  const std::string resumo =
      "confirma: Importação realizada com sucesso!\r\n\r\nTotal de descontos: 3\r\n"
      "Descontos importados: 2\r\nDescontos não importados: 1\r\n\r\n"
      "Deseja exibir o relatório detalhado dos erros?";
  for (const Caso caso : {Caso{"Yes", true}, Caso{"No", false}}) {
    SCOPED_TRACE(caso.nome);
    testsupport::Sql("delete from descfabric");
    ArquivosDeErro::Remove();
    janela.caixas.clear();
    janela.exibidos.clear();
    janela.respostas = {caso.sim};
    Carrega(Tabela({Desconto(1, 1, 10000, 2030y / 1 / 1), Desconto(2, 1, 20000, 2030y / 1 / 1)}, 3), kErros, 1);

    std::vector<std::string> nomesNaPergunta;
    std::string bytesNaPergunta;
    janela.aoConfirmar = [&] {
      nomesNaPergunta = ArquivosDeErro::Nomes();
      if (nomesNaPergunta.size() == 1)
        bytesNaPergunta = testsupport::ReadBytes(runtime::ExecutableFolder() + nomesNaPergunta[0]);
    };
    bool carregadoAoExibir = false;
    int32_t posicaoAoExibir = -1;
    janela.aoExibir = [&](const runtime::LineList&) {
      carregadoAoExibir = dados.oDescontos != nullptr && !dados.oErros.empty();
      posicaoAoExibir = janela.posicao;
    };

    const std::string antes = Carimbo(std::time(nullptr));
    TImportaDescontos(dados, janela).btnImportarClick();
    const std::string depois = Carimbo(std::time(nullptr));

    ASSERT_EQ(nomesNaPergunta.size(), 1u);
    const std::string& nome = nomesNaPergunta[0];
    EXPECT_EQ(nome.size(), std::string("ARQERRO_QUIRAVEL_20240305_093007.txt").size()) << nome;
    EXPECT_TRUE(nome.ends_with(".txt")) << nome;
    const std::string carimbo = nome.substr(17, 15);
    EXPECT_LE(antes, carimbo);
    EXPECT_LE(carimbo, depois);
    EXPECT_EQ(bytesNaPergunta, kErrosCp1252);
    EXPECT_EQ(ArquivosDeErro::Nomes(), nomesNaPergunta);

    if (caso.sim) {
      EXPECT_EQ(janela.caixas, (std::vector<std::string>{resumo, "exibir: 3 itens"}));
      ASSERT_EQ(janela.exibidos.size(), 1u);
      EXPECT_EQ(janela.exibidos[0], kErros);
      // The run finishes only once the log window is closed.
      EXPECT_TRUE(carregadoAoExibir);
      EXPECT_EQ(posicaoAoExibir, 2);
    } else {
      EXPECT_EQ(janela.caixas, std::vector<std::string>{resumo});
    }
    EXPECT_EQ(Descfabric().size(), 2u);
    EXPECT_EQ(janela.status, "Importação concluída!");
    EsperaNadaCarregado();
  }
}

TEST_F(ImportaDescontos, AnErrorFileOfTheSameSecondIsKeptAndTheNewOneGetsASuffix) {
  // Every second the run may fall in already has its file.
  const std::time_t agora = std::time(nullptr);
  std::vector<std::string> anteriores;
  for (int s = 0; s <= 5; ++s) {
    anteriores.push_back("ARQERRO_QUIRAVEL_" + Carimbo(agora + s) + ".txt");
    testsupport::WriteBytes(runtime::ExecutableFolder() + anteriores.back(), "anterior");
  }
  janela.respostas = {false};
  Carrega(Tabela({Desconto(1, 1, 10000, 2030y / 1 / 1)}, 2), kErros, 1);

  TImportaDescontos(dados, janela).btnImportarClick();

  std::vector<std::string> novos;
  for (const std::string& nome : ArquivosDeErro::Nomes()) {
    if (std::find(anteriores.begin(), anteriores.end(), nome) == anteriores.end()) novos.push_back(nome);
  }
  ASSERT_EQ(novos.size(), 1u);
  EXPECT_TRUE(novos[0].ends_with("_2.txt")) << novos[0];
  EXPECT_NE(std::find(anteriores.begin(), anteriores.end(), novos[0].substr(0, 32) + ".txt"), anteriores.end());
  EXPECT_EQ(testsupport::ReadBytes(runtime::ExecutableFolder() + novos[0]), kErrosCp1252);
  for (const std::string& nome : anteriores) EXPECT_EQ(testsupport::ReadBytes(runtime::ExecutableFolder() + nome), "anterior");
}

TEST_F(ImportaDescontos, AFailingStatementKeepsTheRowsBeforeItReportsTheTrueCountAndThenFails) {
  struct Caso {
    const char* nome;
    runtime::LineList erros;
    int32_t rejeitadas;
    std::vector<std::string> caixas;
  };
  const Caso casos[] = {
      {"without error entries", {}, 0,
       {"info: Importação interrompida!\r\nTotal de descontos importados: 2"}},
      {"with error entries", kErros, 1,
       {"confirma: Importação interrompida!\r\n\r\nTotal de descontos: 5\r\nDescontos importados: 2\r\n"
        "Descontos não importados: 1\r\n\r\nDeseja exibir o relatório detalhado dos erros?"}},
  };
  RecusaFornecedor recusa(3);
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    testsupport::Sql("delete from descfabric");
    ArquivosDeErro::Remove();
    janela.caixas.clear();
    janela.passos = 0;
    janela.respostas = {false};
    Carrega(CincoLinhas(), caso.erros, caso.rejeitadas);

    try {
      TImportaDescontos(dados, janela).btnImportarClick();
      ADD_FAILURE() << "the refused row did not fail the run";
    } catch (const runtime::Failure& falha) {
      EXPECT_EQ(std::string(falha.what()), "Fornecedor 3 recusado");
    }

    EXPECT_EQ(testsupport::Rows("select fornece_id from descfabric order by fornece_id"), (Linhas{{"1"}, {"2"}}));
    EXPECT_EQ(janela.caixas, caso.caixas);
    EXPECT_EQ(janela.historicoStatus,
              (std::vector<std::string>{"Importando descontos...", "Importação interrompida!"}));
    EXPECT_EQ(janela.passos, 2);
    EXPECT_EQ(ArquivosDeErro::Nomes().size(), caso.erros.empty() ? 0u : 1u);
    EsperaNadaCarregado();
  }
}

// "Cannot create file" for an error file in /proc, whose stamp lies between antes and depois.
void EsperaFalhaDeCriacao(const std::string& mensagem, const std::string& antes, const std::string& depois) {
  const std::string inicio = "Cannot create file \"/proc/ARQERRO_QUIRAVEL_";
  const std::string fim = std::string(".txt\". ") + std::strerror(ENOENT);
  ASSERT_EQ(mensagem.size(), inicio.size() + 15 + fim.size()) << mensagem;
  EXPECT_TRUE(mensagem.starts_with(inicio)) << mensagem;
  EXPECT_TRUE(mensagem.ends_with(fim)) << mensagem;
  const std::string carimbo = mensagem.substr(inicio.size(), 15);
  EXPECT_LE(antes, carimbo);
  EXPECT_LE(carimbo, depois);
}

TEST_F(ImportaDescontos, AnErrorFileThatCannotBeCreatedStopsTheRunWithEverythingLeftForAnotherTry) {
  Carrega(CincoLinhas(), kErros, 1);
  janela.caixas.clear();

  const std::string antes = Carimbo(std::time(nullptr));
  try {
    // /proc takes no new files, also for root, whom permissions would not stop.
    TImportaDescontos(dados, janela, "/proc/").btnImportarClick();
    ADD_FAILURE() << "no failure";
  } catch (const runtime::Failure& falha) {
    EsperaFalhaDeCriacao(falha.what(), antes, Carimbo(std::time(nullptr)));
  }

  EXPECT_TRUE(janela.caixas.empty());
  EXPECT_EQ(janela.status, "Importação concluída!");
  EXPECT_EQ(janela.posicao, 5);
  ASSERT_NE(dados.oDescontos, nullptr);
  EXPECT_EQ(dados.oDescontos->RecordCount(), 5u);
  EXPECT_TRUE(dados.oArquivo.has_value());
  EXPECT_EQ(dados.oErros, kErros);
  EXPECT_EQ(dados.LinhasRejeitadas, 1);
  EXPECT_EQ(Descfabric().size(), 5u);

  // The same rows can be written again, and this time the run finishes.
  testsupport::Sql("delete from descfabric");
  janela.respostas = {false};
  TImportaDescontos(dados, janela).btnImportarClick();
  EXPECT_EQ(Descfabric().size(), 5u);
  EXPECT_EQ(ArquivosDeErro::Nomes().size(), 1u);
  EXPECT_EQ(janela.caixas.size(), 1u);
  EsperaNadaCarregado();
}

TEST_F(ImportaDescontos, AFailureOfTheFinishingStepsHidesThePendingStatementFailure) {
  RecusaFornecedor recusa(3);
  Carrega(CincoLinhas(), kErros, 1);
  janela.caixas.clear();

  const std::string antes = Carimbo(std::time(nullptr));
  try {
    TImportaDescontos(dados, janela, "/proc/").btnImportarClick();
    ADD_FAILURE() << "no failure";
  } catch (const runtime::Failure& falha) {
    EsperaFalhaDeCriacao(falha.what(), antes, Carimbo(std::time(nullptr)));
  }

  EXPECT_TRUE(janela.caixas.empty());
  EXPECT_EQ(janela.status, "Importação interrompida!");
  EXPECT_EQ(janela.posicao, 2);
  ASSERT_NE(dados.oDescontos, nullptr);
  EXPECT_EQ(dados.oErros, kErros);
  EXPECT_EQ(Descfabric().size(), 2u);
}

}  // namespace
