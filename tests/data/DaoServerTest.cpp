#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/UDao.h"
#include "db/Error.h"
#include "runtime/Failure.h"
#include "tests/data/DescontoFields.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

using runtime::FieldType;
using testsupport::TestServer;

const std::string kServidorCentral = "srv-central";

// A settings file pointing at the test server with the test login.
class ArquivoDoServidor {
 public:
  explicit ArquivoDoServidor(int32_t porta = TestServer().port, const std::string& senha = TestServer().password) {
    const auto& s = TestServer();
    testsupport::WriteBytes(caminho(), "[ip]\r\nlocal=" + s.host + "\r\ncentral=" + kServidorCentral +
                                           "\r\ndatabase=" + s.database + "\r\nusuario=" + s.user +
                                           "\r\nPorta=" + std::to_string(porta) +
                                           "\r\nsenha=" + Embaralha("E", senha, "KZQ") + "\r\n");
  }
  std::string caminho() const { return pasta_.file("sistema_qel.ini"); }

 private:
  testsupport::TempDir pasta_;
};

// What local mode reads from ArquivoDoServidor, with the central key as server.
TConfiguracaoConexao CentralSemRegistro(int32_t porta = TestServer().port) {
  const auto& s = TestServer();
  return {kServidorCentral, s.database, s.user, s.password, porta};
}

void ExpectSettings(const TConfiguracaoConexao& lida, const TConfiguracaoConexao& esperada) {
  EXPECT_EQ(lida.servidor, esperada.servidor);
  EXPECT_EQ(lida.banco, esperada.banco);
  EXPECT_EQ(lida.usuario, esperada.usuario);
  EXPECT_EQ(lida.senha, esperada.senha);
  EXPECT_EQ(lida.porta, esperada.porta);
}

std::string MissingTable(const std::string& tabela) {
  return "Table '" + TestServer().database + "." + tabela + "' doesn't exist";
}

template <class Call>
std::string FailureOf(Call call) {
  try {
    call();
  } catch (const runtime::Failure& falha) {
    return falha.what();
  }
  return "(no runtime::Failure)";
}

// config_central without one of its columns, as older installations have it.
class SemColuna {
 public:
  SemColuna(std::string coluna, std::string definicao)
      : coluna_(std::move(coluna)), definicao_(std::move(definicao)) {
    testsupport::Sql("alter table config_central drop column " + coluna_);
  }
  ~SemColuna() {
    try {
      testsupport::Sql("alter table config_central add column " + coluna_ + " " + definicao_);
    } catch (...) {
    }
  }
  SemColuna(const SemColuna&) = delete;
  SemColuna& operator=(const SemColuna&) = delete;

 private:
  std::string coluna_;
  std::string definicao_;
};

TEST(LeConfiguracaoCentral, RecordOverridesAllButThePort) {
  testsupport::CleanTables limpas;
  const auto& s = TestServer();
  struct Case {
    std::string registro;  // values of config_central's row, none when empty
    TConfiguracaoConexao esperada;
  };
  const Case cases[] = {
      {"", CentralSemRegistro()},
      {"('10.0.0.5', 'base2', 'user2', null)", {"10.0.0.5", "base2", "user2", "", s.port}},
      {"('10.0.0.5', 'base2', 'user2', '" + Embaralha("E", "segredo", "KZQ") + "')",
       {"10.0.0.5", "base2", "user2", "segredo", s.port}},
      {"('10.0.0.5', 'base2', 'user2', '2A')", {"10.0.0.5", "base2", "user2", "741852qwe", s.port}},
      {"(null, null, null, null)", {"", "", "", "", s.port}},
  };
  ArquivoDoServidor arquivo;
  const int antes = testsupport::TestLoginSessions();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.registro);
    testsupport::Sql("delete from config_central");
    if (!c.registro.empty())
      testsupport::Sql("insert into config_central (ip_central, banco_dados, usuario, senha) values " + c.registro);
    ExpectSettings(TDao::LeConfiguracao(arquivo.caminho(), "ip", true), c.esperada);
  }
  // The auxiliary connection went with each call.
  EXPECT_LE(testsupport::TestLoginSessionsSettledAt(antes), antes);
}

TEST(LeConfiguracaoCentral, MissingBancoDadosKeepsWhatWasReadBeforeIt) {
  testsupport::CleanTables limpas;
  SemColuna semColuna("banco_dados", "varchar(100) null after ip_central");
  testsupport::Sql("insert into config_central (ip_central, usuario, senha) values ('10.0.0.5', 'user2', null)");
  ArquivoDoServidor arquivo;
  TConfiguracaoConexao esperada = CentralSemRegistro();
  esperada.servidor = "10.0.0.5";
  ExpectSettings(TDao::LeConfiguracao(arquivo.caminho(), "ip", true), esperada);
}

TEST(LeConfiguracaoCentral, MissingSenhaGivesTheFallbackPassword) {
  testsupport::CleanTables limpas;
  SemColuna semColuna("senha", "varchar(200) null");
  testsupport::Sql("insert into config_central values ('10.0.0.5', 'base2', 'user2')");
  ArquivoDoServidor arquivo;
  ExpectSettings(TDao::LeConfiguracao(arquivo.caminho(), "ip", true),
                 {"10.0.0.5", "base2", "user2", "741852qwe", TestServer().port});
}

TEST(LeConfiguracaoCentral, FailingAuxiliaryConnectionIsSilent) {
  testsupport::CleanTables limpas;
  testsupport::Sql("insert into config_central values ('10.0.0.5', 'base2', 'user2', null)");
  const int antes = testsupport::TestLoginSessions();
  {
    SCOPED_TRACE("closed port");
    const int32_t porta = testsupport::ClosedPort();
    ArquivoDoServidor arquivo(porta);
    ExpectSettings(TDao::LeConfiguracao(arquivo.caminho(), "ip", true), CentralSemRegistro(porta));
  }
  {
    SCOPED_TRACE("wrong password");
    ArquivoDoServidor arquivo(TestServer().port, "errada");
    TConfiguracaoConexao esperada = CentralSemRegistro();
    esperada.senha = "errada";
    ExpectSettings(TDao::LeConfiguracao(arquivo.caminho(), "ip", true), esperada);
  }
  EXPECT_LE(testsupport::TestLoginSessionsSettledAt(antes), antes);
}

TEST(Conecta, FailureCarriesTheClientMessageAndLeavesNoConnection) {
  const auto& s = TestServer();
  const int antes = testsupport::TestLoginSessions();
  EXPECT_EQ(FailureOf([&] { TDao::Conecta(s.host, s.database, s.user, "errada", s.port); }),
            "Access denied for user '" + s.user + "'@'127.0.0.1' (using password: YES)");
  const int32_t fechada = testsupport::ClosedPort();
  std::string doCliente;
  try {
    db::Connection direta({"127.0.0.1", s.database, s.user, s.password, fechada});
  } catch (const db::Error& erro) {
    doCliente = erro.what();
  }
  EXPECT_TRUE(doCliente.starts_with("Can't connect to MySQL server on '127.0.0.1' (")) << doCliente;
  EXPECT_EQ(FailureOf([&] { TDao::Conecta("127.0.0.1", s.database, s.user, s.password, fechada); }), doCliente);
  EXPECT_LE(testsupport::TestLoginSessionsSettledAt(antes), antes);
}

TEST(Conecta, ConectaIniLogsInWithTheUnscrambledPassword) {
  ArquivoDoServidor arquivo;
  auto conexao = TDao::ConectaIni(arquivo.caminho(), "ip");
  ASSERT_NE(conexao, nullptr);
  EXPECT_EQ(TDao::BuscaValor(*conexao, "select current_user()", runtime::Value(), true),
            runtime::Value(TestServer().user + "@%"));
}

TEST(AbreConsulta, OpensOnTheFirstRowOrFails) {
  auto conexao = testsupport::ConnectTest();
  auto consulta = TDao::AbreConsulta(*conexao, "select 'a' as letra union all select 'b'", true, false);
  ASSERT_NE(consulta, nullptr);
  EXPECT_EQ(consulta->FieldAsText("letra"), "a");

  EXPECT_EQ(FailureOf([&] { TDao::AbreConsulta(*conexao, "select * from nada", true, false); }), MissingTable("nada"));
  EXPECT_EQ(TDao::AbreConsulta(*conexao, "select * from nada", false, false), nullptr);
  // The connection stays usable after the failures.
  EXPECT_NE(TDao::AbreConsulta(*conexao, "select 1", true, true), nullptr);
}

TEST(BuscaValor, FirstColumnOfTheFirstRowOrTheDefault) {
  testsupport::CleanTables limpas;
  testsupport::Sql("insert into fornece values (3, '333', 'N'), (1, '111', 'N'), (2, null, 'N')");
  auto conexao = testsupport::ConnectTest();
  struct Case {
    std::string sql;
    runtime::Value padrao;
    runtime::Value esperado;
  };
  const Case cases[] = {
      {"select fornece_id from fornece where cgc = '999'", int64_t{0}, int64_t{0}},
      {"select fornece_id from fornece where cgc = '999'", std::string("nenhum"), std::string("nenhum")},
      {"select cgc from fornece where fornece_id = 2", int64_t{0}, int64_t{0}},
      {"select fornece_id, cgc from fornece order by fornece_id", int64_t{0}, int64_t{1}},
      {"select cgc from fornece where fornece_id = 3", int64_t{0}, std::string("333")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(TDao::BuscaValor(*conexao, c.sql, c.padrao, true), c.esperado);
  }
}

TEST(BuscaValor, RefusedStatement) {
  auto conexao = testsupport::ConnectTest();
  EXPECT_EQ(FailureOf([&] { TDao::BuscaValor(*conexao, "select x from nada", int64_t{0}, true); }),
            MissingTable("nada"));
  // Quietly the empty value, not the default.
  EXPECT_TRUE(runtime::IsEmpty(TDao::BuscaValor(*conexao, "select x from nada", int64_t{0}, false)));
  EXPECT_EQ(TDao::BuscaValor(*conexao, "select 5", int64_t{0}, false), runtime::Value(int64_t{5}));
}

TEST(Executa, SendsTheBuiltStatementWithItsValues) {
  testsupport::CleanTables limpas;
  auto conexao = testsupport::ConnectTest();
  TSqlMount sql(smReplace, "descfabric");
  testsupport::AddDescontoFields(sql);
  const std::string esperado =
      "replace into descfabric ( \r\nfornece_id\r\n,fabricantes_id\r\n,desconto\r\n,validade\r\n,lojas_leram\r\n"
      ",apagado\r\n,grupo_descfabric_id\r\n ) \r\n values ( \r\n"
      "12\r\n,345\r\n,10.5\r\n,'2024-03-31'\r\n,'1'\r\n,'N'\r\n,0\r\n )";
  {
    testsupport::GeneralLog log;
    EXPECT_EQ(TDao::Executa(*conexao, sql, true), 1);
    EXPECT_EQ(log.Statements(), std::vector<std::string>{esperado});
  }
  using Row = std::vector<std::optional<std::string>>;
  const std::vector<Row> linhas{Row{"12", "345", "10.5000", "2024-03-31", "1", "N", "0"}};
  EXPECT_EQ(testsupport::Rows("select * from descfabric"), linhas);
  // Replacing the row with another discount deletes and inserts: two affected rows.
  sql.Limpa();
  sql.AddCampo("fornece_id", int64_t{12}, FieldType::Integer);
  sql.AddCampo("fabricantes_id", int64_t{345}, FieldType::Integer);
  sql.AddCampo("desconto", runtime::Currency{200000}, FieldType::Currency);
  EXPECT_EQ(TDao::Executa(*conexao, sql, true), 2);
  EXPECT_EQ(testsupport::Scalar("select concat(desconto, ' ', coalesce(validade, 'null')) from descfabric"),
            "20.0000 null");
}

TEST(Executa, BuilderFailuresPassWhateverTheFlag) {
  auto conexao = testsupport::ConnectTest();
  TSqlMount semCampos(smReplace, "descfabric");
  TSqlMount tipoInvalido(static_cast<TSQLMountType>(7), "descfabric");
  tipoInvalido.AddCampo("x", int64_t{1}, FieldType::Integer);
  testsupport::GeneralLog log;
  for (const bool levantaErro : {false, true}) {
    SCOPED_TRACE(levantaErro);
    EXPECT_EQ(FailureOf([&] { TDao::Executa(*conexao, semCampos, levantaErro); }),
              "Nao ha campos para gerar a instrucao sql.");
    EXPECT_EQ(FailureOf([&] { TDao::Executa(*conexao, tipoInvalido, levantaErro); }), "SQLMountType inválido.");
  }
  EXPECT_TRUE(log.Statements().empty());
}

TEST(Executa, RefusedStatementGivesMinus1OrTheMessage) {
  testsupport::CleanTables limpas;
  auto conexao = testsupport::ConnectTest();
  TSqlMount semTabela(smInsert, "nada");
  semTabela.AddCampo("x", int64_t{1}, FieldType::Integer);
  EXPECT_EQ(TDao::Executa(*conexao, semTabela, false), -1);
  EXPECT_EQ(FailureOf([&] { TDao::Executa(*conexao, semTabela, true); }), MissingTable("nada"));

  TSqlMount duplicada(smInsert, "descfabric");
  testsupport::AddDescontoFields(duplicada);
  EXPECT_EQ(TDao::Executa(*conexao, duplicada, true), 1);
  EXPECT_EQ(TDao::Executa(*conexao, duplicada, false), -1);
  EXPECT_EQ(FailureOf([&] { TDao::Executa(*conexao, duplicada, true); }),
            "Duplicate entry '12-345' for key 'PRIMARY'");
  EXPECT_EQ(testsupport::Scalar("select count(*) from descfabric"), "1");
}

}  // namespace
