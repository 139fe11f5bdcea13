// Texts built to break statements go through a load and an import: the server receives
// each as plain data, escaped as it must be, and only descfabric changes, by exactly the
// rows expected. The stored password never shows, whatever fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "data/UDao.h"
#include "fuzz/ReferenceEscape.h"
#include "import/UCargaDescontos.h"
#include "import/UImportaDescontos.h"
#include "runtime/Cp1252.h"
#include "runtime/Failure.h"
#include "runtime/Regional.h"
#include "tests/faults/FaultSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

const std::string kFornecedor = "11.111.111/0001-11";
const std::string kFabricante = "22.222.222/0001-22";

// As they stand in the file (Windows-1252). Spaces and line breaks cannot survive a line,
// so comments and keywords are run together the way a hostile file would have them.
const std::vector<std::string> kHostileCnpjs = {
    "12'34", "12\"34", "12`34", "x\\", "\\'", "\\\"", "\\\\'", "'or'1'='1", "\";droptablefornece;--",
    "x\"/**/or/**/\"1\"=\"1", "1;2", "--", "#", "/*", "*/", "%_", ":cgc", "?", "1\\0", "\\Z",
    "\x1a\t\x01\x7f", "\x80\x81\x8d\xa0\xe7\xff", std::string(39, '\\') + "'", std::string(3000, '\''),
    std::string(3000, '\\'),
};
const std::vector<std::string> kHostileDiscounts = {
    "1'2", "\"1;2\"", "1\\2", "--1", "#1", "1/*", "\x80\xff", "\"1);deletefromfornece;--\"", "'%.--",
    std::string(3000, '\''),
};

// How the error entry shows a discount: quotes resolved, "." as ",", no "%".
std::string Shown(const std::string& discount) {
  std::string field = discount.starts_with('"') ? discount.substr(1, discount.size() - 2) : discount;
  std::string shown;
  for (char c : field) {
    if (c == '.') shown += ',';
    else if (c != '%') shown += c;
  }
  return runtime::Cp1252ToUtf8(shown);
}

std::string Quoted(const std::string& field) {
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::size_t Characters(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string Lookup(const std::string& table, const std::string& cnpj) {
  const std::string id = table == "fornece" ? "fornece_id" : "fabricantes_id";
  return "select " + id + " from " + table + " where cgc = \"" + reference::EscapeText(cnpj) +
         "\" and apagado = \"N\"";
}

std::string Row(int fornece, int fabricante, const std::string& desconto) {
  return std::to_string(fornece) + "|" + std::to_string(fabricante) + "|" + desconto + "|2099-12-31|0|N|0";
}

// Every table of the test database with its checksum, descfabric left out.
std::vector<std::string> OtherTables() {
  std::vector<std::string> tables;
  for (const auto& row : testsupport::Rows(
           "select table_name from information_schema.tables where table_schema = database() and "
           "table_name <> 'descfabric' order by table_name")) {
    const std::string name = row[0].value_or("");
    tables.push_back(name + "=" + testsupport::Rows("checksum table `" + name + "`")[0][1].value_or("NULL"));
  }
  return tables;
}

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    faults::AddSupplier(1, kFornecedor);
    faults::AddManufacturer(2, kFabricante);
    for (std::size_t i = 0; i < kHostileCnpjs.size(); ++i) {
      const std::string cgc = runtime::Cp1252ToUtf8(kHostileCnpjs[i]);
      if (Characters(cgc) > 40) continue;  // longer than the column: never found
      faults::AddSupplier(static_cast<int32_t>(100 + i), cgc);
      faults::AddManufacturer(static_cast<int32_t>(200 + i), cgc);
    }
    dados.oConexao = testsupport::ConnectTest();
  }

  testsupport::CleanTables clean;
  testsupport::TempDir dir;
  TDadosDescontos dados;
  faults::Janela janela;
};

TEST_F(HostileInput, ReachesTheServerAsPlainDataAndChangesOnlyTheExpectedRows) {
  std::vector<std::string> lines = {"fornecedor;fabricante;desconto;validade"};
  std::vector<std::string> lookups;
  std::set<std::string> rows;
  auto line = [&](const std::string& fornecedor, const std::string& fabricante, const std::string& desconto) {
    lines.push_back(Quoted(fornecedor) + ";" + Quoted(fabricante) + ";" + desconto + ";31/12/2099");
    lookups.push_back(Lookup("fornece", runtime::Cp1252ToUtf8(fornecedor)));
    lookups.push_back(Lookup("fabricantes", runtime::Cp1252ToUtf8(fabricante)));
  };
  std::size_t notFound = 0;
  for (std::size_t i = 0; i < kHostileCnpjs.size(); ++i) {
    const bool found = Characters(runtime::Cp1252ToUtf8(kHostileCnpjs[i])) <= 40;
    line(kHostileCnpjs[i], kFabricante, "1,5");
    if (found) rows.insert(Row(static_cast<int>(100 + i), 2, "1.5000"));
    line(kFornecedor, kHostileCnpjs[i], "2,5");
    if (found) rows.insert(Row(1, static_cast<int>(200 + i), "2.5000"));
    notFound += found ? 0 : 2;
  }
  for (const std::string& desconto : kHostileDiscounts) line(kFornecedor, kFabricante, desconto);

  const std::vector<std::string> tablesBefore = OtherTables();
  testsupport::GeneralLog log;
  janela.arquivos.push_back(faults::DiscountFile(dir, lines));
  janela.respostas.push_back(false);
  TCargaDescontos(dados, janela, runtime::Regional::brazilian()).btnSelArquivoClick();
  ASSERT_EQ(dados.oDescontos->RecordCount(), rows.size());
  ASSERT_EQ(dados.LinhasRejeitadas, static_cast<int32_t>(notFound + kHostileDiscounts.size()));
  for (std::size_t k = 0; k < kHostileDiscounts.size(); ++k) {
    SCOPED_TRACE(kHostileDiscounts[k]);
    const std::string shown = Shown(kHostileDiscounts[k]);
    EXPECT_NE(dados.oErros.at(dados.oErros.size() - 2 * (kHostileDiscounts.size() - k) + 1)
                  .find("\r\nDesconto: " + shown + "\r\nTipo Erro: Dados inválidos\r\n"),
              std::string::npos);
  }
  TImportaDescontos(dados, janela).btnImportarClick();

  const std::vector<std::string> statements = log.Statements();
  ASSERT_EQ(statements.size(), lookups.size() + rows.size());
  for (std::size_t s = 0; s < lookups.size(); ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(statements[s], lookups[s]);
  }
  for (std::size_t s = lookups.size(); s < statements.size(); ++s) {
    EXPECT_TRUE(statements[s].starts_with("replace into descfabric")) << statements[s];
    // The three quoted literals of a row: validade, lojas_leram and apagado.
    EXPECT_EQ(std::count(statements[s].begin(), statements[s].end(), '\''), 6) << statements[s];
  }
  const std::vector<std::string> stored = faults::StoredDiscounts();
  EXPECT_EQ(std::set<std::string>(stored.begin(), stored.end()), rows);
  EXPECT_EQ(stored.size(), rows.size());
  EXPECT_EQ(OtherTables(), tablesBefore);
}

// Whatever a wrong password holds, the failure names the login, never the password; and
// through every load, import and failure above, neither a box nor anything the server
// logged holds the right one.
TEST_F(HostileInput, PasswordNeverShows) {
  const testsupport::ServerInfo& server = testsupport::TestServer();
  const std::vector<std::string> wrong = {
      "'; drop table fornece; --", "\\", "\x80\xff\xe7", std::string(2000, 'x'), server.password + "x", "%s%n",
  };
  testsupport::GeneralLog log;
  for (const std::string& senha : wrong) {
    SCOPED_TRACE(senha.substr(0, 30));
    try {
      TDao::Conecta(server.host, server.database, server.user, senha, server.port);
      ADD_FAILURE() << "connected with a wrong password";
    } catch (const runtime::Failure& falha) {
      const std::string message = falha.what();
      EXPECT_EQ(message, "Access denied for user '" + server.user + "'@'127.0.0.1' (using password: YES)");
      EXPECT_EQ(message.find(senha), std::string::npos);
    }
  }

  // A load cut short on a lost connection, then one that works.
  janela.arquivos.push_back(faults::DiscountFile(dir, {"h", kFornecedor + ";" + kFabricante + ";1;1/1/2030"}));
  janela.respostas.push_back(true);
  testsupport::KillSession(testsupport::SessionOf(*dados.oConexao));
  TCargaDescontos carga(dados, janela, runtime::Regional::brazilian());
  carga.btnSelArquivoClick();
  try {
    TImportaDescontos(dados, janela).btnImportarClick();
  } catch (const std::exception& falha) {
    janela.caixas.push_back(falha.what());
  }

  ASSERT_FALSE(janela.caixas.empty());
  for (const std::string& caixa : janela.caixas) EXPECT_EQ(caixa.find(server.password), std::string::npos) << caixa;
  for (const auto& row : testsupport::Rows("select argument from mysql.general_log")) {
    const std::string logged = row[0].value_or("");
    EXPECT_EQ(logged.find(server.password), std::string::npos) << logged;
  }
}

}  // namespace
