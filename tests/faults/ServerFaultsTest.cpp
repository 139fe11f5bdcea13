// The server taken away in the middle of a load and of an import, and the program's
// connection killed from the server side between two clicks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/UCargaDescontos.h"
#include "import/UImportaDescontos.h"
#include "runtime/Failure.h"
#include "runtime/Paths.h"
#include "runtime/Regional.h"
#include "tests/faults/FaultSupport.h"
#include "tests/faults/PrivateServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

using ::testing::AnyOfArray;

const auto* const kServer = ::testing::AddGlobalTestEnvironment(new faults::PrivateServer);

const std::string kAbrir = "abrir: Arquivo Excel|*.csv";

// What the client says when the server is gone: the statement's answer was lost, or the
// reconnection before it was refused. Which one depends on when the client notices.
const std::vector<std::string> kServerGone = {
    "Lost connection to server during query",
    "Can't connect to server on '127.0.0.1' (115)",
};

std::vector<std::string> Prefixed(const std::string& prefix, const std::vector<std::string>& texts) {
  std::vector<std::string> prefixed;
  for (const std::string& text : texts) prefixed.push_back(prefix + text);
  return prefixed;
}

int Replaces(const testsupport::GeneralLog& log) {
  int replaces = 0;
  for (const std::string& statement : log.Statements()) replaces += statement.starts_with("replace into");
  return replaces;
}

class ServerFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 5; ++i) faults::AddSupplier(i, "1" + std::to_string(i) + ".111.111/0001-11");
    faults::AddManufacturer(7, "22.222.222/0001-22");
    std::vector<std::string> lines = {"fornecedor;fabricante;desconto;validade"};
    for (int i = 1; i <= 5; ++i)
      lines.push_back("1" + std::to_string(i) + ".111.111/0001-11;22.222.222/0001-22;1" + std::to_string(i) +
                      ",5;31/12/2099");
    arquivo = faults::DiscountFile(dir, lines);
    dados.oConexao = testsupport::ConnectTest();
  }
  void TearDown() override {
    faults::RemoveErrorFiles(runtime::ExecutableFolder());
  }

  void Load() {
    janela.arquivos.push_back(arquivo);
    carga.btnSelArquivoClick();
  }
  // The message the operator is shown when the import stops, or "" when it did not.
  std::string Import() {
    try {
      importa.btnImportarClick();
    } catch (const runtime::Failure& falha) {
      return falha.what();
    }
    return "";
  }
  static std::string Row(int fornece, const std::string& desconto) {
    return std::to_string(fornece) + "|7|" + desconto + "|2099-12-31|0|N|0";
  }
  static std::vector<std::string> Rows(int count) {
    std::vector<std::string> rows;
    for (int i = 1; i <= count; ++i) rows.push_back(Row(i, "1" + std::to_string(i) + ".5000"));
    return rows;
  }
  // The program's own session: a session of the same login that an earlier test closed may
  // still be leaving the server.
  std::string ProgramThread() const { return testsupport::SessionOf(*dados.oConexao); }

  testsupport::CleanTables clean;
  testsupport::TempDir dir;
  std::string arquivo;
  TDadosDescontos dados;
  faults::Janela janela;
  TCargaDescontos carga{dados, janela, runtime::Regional::brazilian()};
  TImportaDescontos importa{dados, janela};
};

TEST_F(ServerFaults, ServerStoppedDuringLoadKeepsEarlierRowsAndTheNextLoadWorks) {
  janela.aoAvancar = [](int32_t passos) {
    if (passos == 2) faults::PrivateServer::Stop();
  };
  Load();

  ASSERT_EQ(janela.caixas.size(), 2u);
  EXPECT_EQ(janela.caixas[0], kAbrir);
  EXPECT_THAT(janela.caixas[1], AnyOfArray(Prefixed("erro: Erro ao carregar descontos!\r\n", kServerGone)));
  EXPECT_EQ(janela.status, "Erro ao carregar descontos, tente novamente!");
  ASSERT_TRUE(dados.oDescontos);
  EXPECT_EQ(dados.oDescontos->RecordCount(), 2u);

  janela.aoAvancar = nullptr;
  faults::PrivateServer::Restart();
  janela.caixas.clear();
  Load();
  EXPECT_EQ(janela.caixas, std::vector<std::string>{kAbrir});
  EXPECT_EQ(janela.status, "Descontos carregados! Aguardando importação...");
  ASSERT_TRUE(dados.oDescontos);
  EXPECT_EQ(dados.oDescontos->RecordCount(), 5u);

  EXPECT_EQ(Import(), "");
  EXPECT_EQ(faults::StoredDiscounts(), Rows(5));
}

TEST_F(ServerFaults, ServerStoppedDuringImportWritesEarlierRowsOnceAndClaimsNoSuccess) {
  Load();
  ASSERT_EQ(dados.oDescontos->RecordCount(), 5u);
  janela.caixas.clear();
  testsupport::GeneralLog log;
  janela.aoAvancar = [](int32_t passos) {
    if (passos == 7) faults::PrivateServer::Stop();  // after the second row: the load took five steps
  };

  EXPECT_THAT(Import(), AnyOfArray(kServerGone));
  EXPECT_EQ(janela.status, "Importação interrompida!");
  EXPECT_EQ(janela.caixas,
            std::vector<std::string>{"info: Importação interrompida!\r\nTotal de descontos importados: 2"});
  EXPECT_FALSE(dados.oDescontos);

  faults::PrivateServer::Restart();
  EXPECT_EQ(faults::StoredDiscounts(), Rows(2));
  EXPECT_EQ(Replaces(log), 2);

  janela.aoAvancar = nullptr;
  janela.caixas.clear();
  Load();
  EXPECT_EQ(Import(), "");
  EXPECT_EQ(janela.caixas.back(), "info: Importação realizada com sucesso!\r\nTotal de descontos importados: 5");
  EXPECT_EQ(faults::StoredDiscounts(), Rows(5));
}

// A connection the server killed while the program waited is opened again for the next
// statement, which the killed session never ran: nothing is lost or written twice.
TEST_F(ServerFaults, ConnectionKilledBetweenLoadAndImportIsReopened) {
  Load();
  const std::string killed = ProgramThread();
  testsupport::KillSession(killed);
  janela.caixas.clear();
  testsupport::GeneralLog log;

  EXPECT_EQ(Import(), "");
  EXPECT_EQ(janela.caixas,
            std::vector<std::string>{"info: Importação realizada com sucesso!\r\nTotal de descontos importados: 5"});
  EXPECT_EQ(faults::StoredDiscounts(), Rows(5));
  EXPECT_EQ(Replaces(log), 5);
  EXPECT_NE(ProgramThread(), killed);
}

TEST_F(ServerFaults, ConnectionKilledBetweenTwoLoadsIsReopened) {
  Load();
  testsupport::KillSession(ProgramThread());
  janela.caixas.clear();

  Load();
  EXPECT_EQ(janela.caixas, std::vector<std::string>{kAbrir});
  EXPECT_EQ(janela.status, "Descontos carregados! Aguardando importação...");
  EXPECT_EQ(dados.oDescontos->RecordCount(), 5u);
}

}  // namespace
