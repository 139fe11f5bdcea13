#include <gtest/gtest.h>

#include <chrono>

#include "import/UCargaDescontos.h"
#include "import/UImportaDescontos.h"
#include "runtime/Failure.h"
#include "runtime/Regional.h"
#include "tests/import_run/ImportaFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

using importa::ArquivosDeErro;
using Linhas = std::vector<std::vector<std::optional<std::string>>>;

// A file as an operator picks it: good lines, unknown CNPJs, a blank line, a discount that
// is no number and carries a Windows-1252 byte.
const std::string kArquivo =
    "CNPJ Fornecedor;CNPJ Fabricante;Desconto;Validade\r\n"
    "11.111.111/0001-11;22.222.222/0001-22;10.5%;31/12/2099\r\n"
    "11.111.111/0001-11;44.444.444/0001-44;12.5%;01/01/2030\r\n"
    "\r\n"
    "99;88;5;01/01/2030\r\n"
    "11.111.111/0001-11;33.333.333/0001-33;7,25;15/03/2031\r\n"
    "11.111.111/0001-11;22.222.222/0001-22;1\xE7;01/01/2030\r\n";

std::string Entrada(int linha, const std::string& fornecedor, const std::string& fabricante,
                    const std::string& desconto, const std::string& tipo) {
  return "Linha: " + std::to_string(linha) + "\r\nCNPJ Fornecedor: " + fornecedor + "\r\nCNPJ Fabricante: " +
         fabricante + "\r\nDesconto: " + desconto + "\r\nTipo Erro: " + tipo + "\r\n";
}

TEST(CargaEImportacao, AFileOfGoodAndBadLinesEndsInDescfabricTheErrorFileAndTheSummary) {
  testsupport::CleanTables limpa;
  testsupport::FileBesideExecutable ini("sistema_qel.ini", "[FilialMatriz]\r\nCodLogica=7\r\n");
  ArquivosDeErro arquivos;
  testsupport::Sql("insert into fornece values (1, '11.111.111/0001-11', 'N');"
                   "insert into fabricantes values (10, '22.222.222/0001-22', 'N'), (20, '33.333.333/0001-33', 'N')");
  testsupport::TempDir pasta;
  const std::string caminho = pasta.file("descontos.csv");
  testsupport::WriteBytes(caminho, kArquivo);

  importa::Janela janela;
  TDadosDescontos dados;
  dados.oConexao = testsupport::ConnectTest();
  janela.arquivos = {caminho};
  TCargaDescontos(dados, janela, runtime::Regional::brazilian()).btnSelArquivoClick();
  ASSERT_EQ(janela.status, "Descontos carregados! Aguardando importação...");

  std::string bytesNaPergunta;
  janela.aoConfirmar = [&] {
    auto nomes = ArquivosDeErro::Nomes();
    if (nomes.size() == 1) bytesNaPergunta = testsupport::ReadBytes(runtime::ExecutableFolder() + nomes[0]);
  };
  janela.caixas.clear();
  janela.respostas = {true};
  TImportaDescontos(dados, janela).btnImportarClick();

  EXPECT_EQ(testsupport::Rows("select fornece_id, fabricantes_id, desconto, validade, lojas_leram, apagado, "
                              "grupo_descfabric_id from descfabric order by fabricantes_id"),
            (Linhas{{"1", "10", "10.5000", "2099-12-31", "7", "N", "0"},
                    {"1", "20", "7.2500", "2031-03-15", "7", "N", "0"}}));
  const runtime::LineList erros = {
      Entrada(2, "11.111.111/0001-11", "44.444.444/0001-44", "12,5", "Fabricante não encontrado de acordo com CNPJ"),
      "",
      Entrada(4, "99", "88", "5", "Fornecedor não encontrado de acordo com CNPJ"),
      "",
      Entrada(4, "99", "88", "5", "Fabricante não encontrado de acordo com CNPJ"),
      "",
      Entrada(6, "11.111.111/0001-11", "22.222.222/0001-22", "1ç", "Dados inválidos"),
  };
  EXPECT_EQ(bytesNaPergunta,
            Entrada(2, "11.111.111/0001-11", "44.444.444/0001-44", "12,5",
                    "Fabricante n\xE3o encontrado de acordo com CNPJ") +
                "\r\n\r\n" + Entrada(4, "99", "88", "5", "Fornecedor n\xE3o encontrado de acordo com CNPJ") +
                "\r\n\r\n" + Entrada(4, "99", "88", "5", "Fabricante n\xE3o encontrado de acordo com CNPJ") +
                "\r\n\r\n" + Entrada(6, "11.111.111/0001-11", "22.222.222/0001-22", "1\xE7", "Dados inv\xE1lidos") +
                "\r\n");
  EXPECT_EQ(janela.caixas,
            (std::vector<std::string>{"confirma: Importação realizada com sucesso!\r\n\r\nTotal de descontos: 6\r\n"
                                      "Descontos importados: 2\r\nDescontos não importados: 3\r\n\r\n"
                                      "Deseja exibir o relatório detalhado dos erros?",
                                      "exibir: 7 itens"}));
  ASSERT_EQ(janela.exibidos.size(), 1u);
  EXPECT_EQ(janela.exibidos[0], erros);

  EXPECT_EQ(janela.status, "Importação concluída!");
  EXPECT_EQ(janela.posicao, 0);
  EXPECT_TRUE(janela.importarHabilitado);
  EXPECT_EQ(janela.edArquivo, caminho);
  EXPECT_FALSE(dados.oArquivo.has_value());
  EXPECT_EQ(dados.oDescontos, nullptr);
  EXPECT_TRUE(dados.oErros.empty());
  EXPECT_EQ(dados.LinhasRejeitadas, 0);

  janela.caixas.clear();
  EXPECT_THROW(TImportaDescontos(dados, janela).btnImportarClick(), runtime::SilentAbort);
  EXPECT_EQ(janela.caixas, std::vector<std::string>{"erro: Não existem descontos a serem importados! "
                                                    "Selecione o arquivo de descontos novamente."});
}

}  // namespace
