#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "data/UConfigSistemaQEL.h"
#include "data/UDao.h"
#include "runtime/Paths.h"
#include "tests/support/TempDir.h"

namespace {

void ExpectSettings(const TConfiguracaoConexao& lida, const TConfiguracaoConexao& esperada) {
  EXPECT_EQ(lida.servidor, esperada.servidor);
  EXPECT_EQ(lida.banco, esperada.banco);
  EXPECT_EQ(lida.usuario, esperada.usuario);
  EXPECT_EQ(lida.senha, esperada.senha);
  EXPECT_EQ(lida.porta, esperada.porta);
}

TEST(ArquivoConfiguracao, ResolvesAgainstTheFolderUnlessTheNameHasOne) {
  struct Case {
    std::string_view separadores;
    std::string pasta;
    std::string nome;
    std::string esperado;
  };
  const std::string_view windows = runtime::kWindowsFolderSeparators;
  const std::string_view local = runtime::kFolderSeparators;
  const Case cases[] = {
      {windows, "C:\\Loja\\", "", "C:\\Loja\\sistema_qel.ini"},
      {windows, "C:\\Loja\\", "D:\\cfg\\outro.ini", "D:\\cfg\\outro.ini"},
      {windows, "C:\\Loja\\", "D:outro.ini", "D:outro.ini"},
      {windows, "C:\\Loja\\", "cfg\\outro.ini", "cfg\\outro.ini"},
      {windows, "C:\\Loja\\", "outro.ini", "C:\\Loja\\outro.ini"},
      {windows, "C:\\Loja\\", "cfg/outro.ini", "C:\\Loja\\cfg/outro.ini"},
      {local, "/opt/loja/", "", "/opt/loja/sistema_qel.ini"},
      {local, "/opt/loja/", "/etc/outro.ini", "/etc/outro.ini"},
      {local, "/opt/loja/", "cfg/outro.ini", "cfg/outro.ini"},
      {local, "/opt/loja/", "outro.ini", "/opt/loja/outro.ini"},
      {local, "/opt/loja/", "D:outro.ini", "/opt/loja/D:outro.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.separadores) + " " + c.nome);
    EXPECT_EQ(TDao::ArquivoConfiguracao(c.nome, c.separadores, c.pasta), c.esperado);
  }
}

TEST(ArquivoConfiguracao, UsesTheExecutableFolder) {
  const std::string pasta = runtime::ExecutableFolder();
  ASSERT_FALSE(pasta.empty());
  EXPECT_EQ(TDao::ArquivoConfiguracao(""), pasta + "sistema_qel.ini");
  EXPECT_EQ(TDao::ArquivoConfiguracao("outro.ini"), pasta + "outro.ini");
  EXPECT_EQ(TDao::ArquivoConfiguracao("/etc/outro.ini"), "/etc/outro.ini");
  EXPECT_EQ(TConfigSistemaQEL::ArquivoIni(), pasta + "sistema_qel.ini");
}

TEST(GetCodLogica, NormalisesTheStoredInteger) {
  struct Case {
    std::string ini;
    std::string esperado;
  };
  const Case cases[] = {
      {"[FilialMatriz]\r\nCodLogica=12\r\n", "12"},
      {"[FilialMatriz]\r\nCodLogica=007\r\n", "7"},
      {"[FilialMatriz]\r\nCodLogica=$1F\r\n", "31"},
      {"[FilialMatriz]\r\nCodLogica=+5\r\n", "5"},
      {"[FilialMatriz]\r\nCodLogica=-3\r\n", "-3"},
      {"[FilialMatriz]\r\nCodLogica=$FFFFFFFF\r\n", "-1"},
      {"[FilialMatriz]\r\nCodLogica=5x\r\n", "0"},
      {"[FilialMatriz]\r\nCodLogica=1.5\r\n", "0"},
      {"[FilialMatriz]\r\nCodLogica=\r\n", "0"},
      {"[FilialMatriz]\r\nOutra=4\r\n", "0"},
      {"[ip]\r\nCodLogica=4\r\n", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    testsupport::FileBesideExecutable ini("sistema_qel.ini", c.ini);
    EXPECT_EQ(TConfigSistemaQEL::GetCodLogica(), c.esperado);
  }
}

TEST(GetCodLogica, NoSettingsFileGives0) {
  EXPECT_EQ(TConfigSistemaQEL::GetCodLogica(), "0");
  EXPECT_EQ(TConfigSistemaQEL::LeIni("FilialMatriz", "CodLogica", "padrao"), "padrao");
}

TEST(LeConfiguracao, LocalModeFromTheFile) {
  const std::string padrao = DecodificaSenha("5E19B07C3A8D26F41B90", "KZQ");
  struct Case {
    std::string nome;
    std::string ini;  // no file when empty
    TConfiguracaoConexao esperada;
  };
  const Case cases[] = {
      {"no file", "", {"", "", "root", padrao, 3306}},
      {"every key",
       "[ip]\r\nlocal=srv-loja\r\ncentral=srv-central\r\ndatabase=loja\r\nusuario=caixa\r\nPorta=3310\r\n"
       "senha=002AD6\r\n",
       {"srv-loja", "loja", "caixa", "ab", 3310}},
      {"other section only", "[outra]\r\nlocal=x\r\nusuario=y\r\n", {"", "", "root", padrao, 3306}},
      {"empty usuario", "[ip]\r\nusuario=\r\n", {"", "", "", padrao, 3306}},
      {"empty senha", "[ip]\r\nsenha=\r\n", {"", "", "root", "", 3306}},
      {"blank senha", "[ip]\r\nsenha=\"  \"\r\n", {"", "", "root", "", 3306}},
      {"senha of two digits", "[ip]\r\nsenha=2A\r\n", {"", "", "root", "741852qwe", 3306}},
      {"senha not hex", "[ip]\r\nsenha=0G2AD6\r\n", {"", "", "root", "741852qwe", 3306}},
      {"senha read as bytes", "[ip]\r\nsenha=00AC\r\n", {"", "", "root", "\xE7", 3306}},
      {"Porta letters", "[ip]\r\nPorta=abc\r\n", {"", "", "root", padrao, 3306}},
      {"Porta 0x", "[ip]\r\nPorta=0xCEB\r\n", {"", "", "root", padrao, 3307}},
      {"Porta $", "[ip]\r\nPorta=$CEB\r\n", {"", "", "root", padrao, 3307}},
      {"Porta with a trailing word", "[ip]\r\nPorta=3306 x\r\n", {"", "", "root", padrao, 3306}},
      {"Porta empty", "[ip]\r\nPorta=\r\n", {"", "", "root", padrao, 3306}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nome);
    testsupport::TempDir pasta;
    const std::string arquivo = pasta.file("config.ini");
    if (!c.ini.empty()) testsupport::WriteBytes(arquivo, c.ini);
    ExpectSettings(TDao::LeConfiguracao(arquivo, "ip", false), c.esperada);
  }
}

TEST(LeConfiguracao, NamesTheSectionAndFindsBareNamesBesideTheExecutable) {
  testsupport::FileBesideExecutable padrao("sistema_qel.ini", "[ip]\r\nlocal=beside\r\n");
  testsupport::FileBesideExecutable outro("outro.ini", "[ip]\r\nlocal=outro\r\n[Loja2]\r\nlocal=loja2\r\nPorta=1\r\n");
  EXPECT_EQ(TDao::LeConfiguracao("", "ip", false).servidor, "beside");
  EXPECT_EQ(TDao::LeConfiguracao("outro.ini", "ip", false).servidor, "outro");
  const TConfiguracaoConexao loja2 = TDao::LeConfiguracao("outro.ini", "Loja2", false);
  EXPECT_EQ(loja2.servidor, "loja2");
  EXPECT_EQ(loja2.porta, 1);
}

}  // namespace
