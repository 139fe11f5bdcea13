// The file system working against the program: a discount file that goes away or cannot be
// read after the dialog, very large and odd files, a settings file that is a folder, and an
// executable folder where the error file cannot be created.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "data/UConfigSistemaQEL.h"
#include "data/UDao.h"
#include "import/UCargaDescontos.h"
#include "import/UImportaDescontos.h"
#include "runtime/Failure.h"
#include "runtime/Paths.h"
#include "runtime/Regional.h"
#include "tests/faults/FaultSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

namespace fs = std::filesystem;
using faults::Reason;

// yyyymmdd_hhnnss
bool IsStamp(const std::string& text) {
  if (text.size() != 15 || text[8] != '_') return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i != 8 && (text[i] < '0' || text[i] > '9')) return false;
  return true;
}

const std::string kHeader = "fornecedor;fabricante;desconto;validade";
const std::string kFornecedor = "11.111.111/0001-11";
const std::string kFabricante = "22.222.222/0001-22";
const std::string kBoa = kFornecedor + ";" + kFabricante + ";10,5;31/12/2099";

class FileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    faults::AddSupplier(1, kFornecedor);
    faults::AddManufacturer(2, kFabricante);
    dados.oConexao = testsupport::ConnectTest();
  }
  void TearDown() override { faults::RemoveErrorFiles(runtime::ExecutableFolder()); }

  void Load(const std::string& arquivo) {
    janela.arquivos.push_back(arquivo);
    carga.btnSelArquivoClick();
  }

  testsupport::CleanTables clean;
  testsupport::TempDir dir;
  TDadosDescontos dados;
  faults::Janela janela;
  TCargaDescontos carga{dados, janela, runtime::Regional::brazilian()};
};

// Between the dialog and the read the file is deleted, replaced by a folder, or loses its
// read permission: the read fails with the system's reason, the lines are an empty list,
// and what an earlier load left (table, error list, file box) stays as it was.
TEST_F(FileFaults, FileThatCannotBeReadAfterTheDialogLeavesEarlierStateAlone) {
  struct Case {
    const char* name;
    void (*spoil)(const std::string& path);
    int error;
  };
  const Case cases[] = {
      {"deleted", [](const std::string& path) { fs::remove(path); }, ENOENT},
      {"folder in its place",
       [](const std::string& path) {
         fs::remove(path);
         fs::create_directory(path);
       },
       EISDIR},
      {"no read permission", [](const std::string& path) { chmod(path.c_str(), 0); }, EACCES},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dados.oDescontos = std::make_unique<TTabelaDescontos>(1);
    dados.oDescontos->Append();
    dados.oDescontos->Post();
    dados.oErros = {"anterior"};
    janela.edArquivo = "anterior.csv";
    const std::string arquivo = faults::DiscountFile(dir, {kHeader, kBoa}, std::string(c.name) + ".csv");
    janela.aoEscolher = c.spoil;

    faults::WithoutPermissionOverride asAnyone;
    try {
      Load(arquivo);
      ADD_FAILURE() << "the read did not fail";
    } catch (const runtime::Failure& falha) {
      EXPECT_EQ(std::string(falha.what()), "Cannot open file \"" + arquivo + "\". " + Reason(c.error));
    }
    ASSERT_TRUE(dados.oArquivo);
    EXPECT_TRUE(dados.oArquivo->empty());
    EXPECT_EQ(dados.oDescontos->RecordCount(), 1u);
    EXPECT_EQ(dados.oErros, std::vector<std::string>{"anterior"});
    EXPECT_EQ(janela.edArquivo, "anterior.csv");
  }
}

// 50 MB, nearly all of it lines of ";" that are skipped without a lookup: the load ends,
// and the entry of the last line still carries its true index.
TEST_F(FileFaults, FiftyMegabyteFileLoadsWithTrueLineIndexes) {
  const std::string skipped(98, ';');
  const std::size_t count = 50 * 1000 * 1000 / (skipped.size() + 2);
  std::string bytes = kHeader + "\r\n" + kBoa + "\r\n";
  bytes.reserve(bytes.size() + count * (skipped.size() + 2) + 100);
  for (std::size_t i = 0; i < count; ++i) bytes += skipped + "\r\n";
  bytes += "99.999.999/0001-99;" + kFabricante + ";1;1/1/2030\r\n";
  testsupport::WriteBytes(dir.file("grande.csv"), bytes);

  Load(dir.file("grande.csv"));

  EXPECT_EQ(janela.status, "Descontos carregados! Aguardando importação...");
  EXPECT_EQ(dados.oDescontos->RecordCount(), 1u);
  EXPECT_EQ(dados.oDescontos->TotalLinhas(), static_cast<int32_t>(count + 2));
  ASSERT_EQ(dados.oErros.size(), 1u);
  EXPECT_TRUE(dados.oErros[0].starts_with("Linha: " + std::to_string(count + 2) + "\r\n")) << dados.oErros[0];
}

// Fields of 100 000 characters go through the lookups and the conversions like short ones.
TEST_F(FileFaults, HundredThousandCharacterFields) {
  const std::string longCnpj(100000, '7');
  const std::string longNumber(100000, '1');
  const std::string tinyDiscount = "0," + std::string(99997, '0') + "1";
  const std::string longDate = "1/1/" + std::string(99996, '0');
  Load(faults::DiscountFile(dir, {
                                     kHeader,
                                     longCnpj + ";" + kFabricante + ";1;1/1/2030",
                                     kFornecedor + ";" + kFabricante + ";" + longNumber + ";1/1/2030",
                                     kFornecedor + ";" + kFabricante + ";" + tinyDiscount + ";1/1/2030",
                                     kFornecedor + ";" + kFabricante + ";1;" + longDate,
                                 }));

  ASSERT_TRUE(dados.oDescontos);
  ASSERT_EQ(dados.oDescontos->RecordCount(), 1u);
  dados.oDescontos->First();
  EXPECT_EQ(dados.oDescontos->Atual().desconto, runtime::Currency{0});
  ASSERT_EQ(dados.oErros.size(), 5u);
  EXPECT_EQ(dados.oErros[0], "Linha: 1\r\nCNPJ Fornecedor: " + longCnpj + "\r\nCNPJ Fabricante: " + kFabricante +
                                 "\r\nDesconto: 1\r\nTipo Erro: Fornecedor não encontrado de acordo com CNPJ\r\n");
  EXPECT_EQ(dados.oErros[2], "Linha: 2\r\nCNPJ Fornecedor: " + kFornecedor + "\r\nCNPJ Fabricante: " + kFabricante +
                                 "\r\nDesconto: " + longNumber + "\r\nTipo Erro: Dados inválidos\r\n");
  EXPECT_TRUE(dados.oErros[4].starts_with("Linha: 4\r\n")) << dados.oErros[4].substr(0, 40);
}

// A NUL ends the text: a file of NULs has no line at all, and nothing after a NUL is read.
TEST_F(FileFaults, NulBytesEndTheText) {
  testsupport::WriteBytes(dir.file("nul.csv"), std::string(1 << 20, '\0'));
  janela.respostas.push_back(false);
  EXPECT_THROW(Load(dir.file("nul.csv")), runtime::SilentAbort);
  EXPECT_EQ(janela.caixas[1],
            "erro: Erro ao carregar descontos!\r\nNenhum desconto carregado! Fornecedores e Fabricanetes não "
            "encontrados em seu cadastro! Verifique os CNPJs contidos no arquivo selecionado.");
  EXPECT_TRUE(dados.oArquivo->empty());
  EXPECT_FALSE(janela.progressHabilitado);

  testsupport::WriteBytes(dir.file("meio.csv"), kHeader + "\r\n" + kBoa + std::string("\0junk\r\n", 7) + kBoa + "\r\n");
  janela.caixas.clear();
  Load(dir.file("meio.csv"));
  EXPECT_EQ(janela.caixas, std::vector<std::string>{"abrir: Arquivo Excel|*.csv"});
  EXPECT_EQ(*dados.oArquivo, (runtime::LineList{kHeader, kBoa}));
  EXPECT_EQ(dados.oDescontos->RecordCount(), 1u);
}

// A folder where the settings file should be reads as no file: every default, no failure.
TEST_F(FileFaults, SettingsFileThatIsAFolderGivesTheDefaults) {
  const std::string ini = runtime::ExecutableFolder() + "sistema_qel.ini";
  fs::create_directory(ini);
  struct Removal {
    std::string path;
    ~Removal() { fs::remove_all(path); }
  } removal{ini};

  const TConfiguracaoConexao lida = TDao::LeConfiguracao(TDao::ArquivoConfiguracao(""), "ip", false);
  EXPECT_EQ(lida.servidor, "");
  EXPECT_EQ(lida.banco, "");
  EXPECT_EQ(lida.usuario, "root");
  EXPECT_EQ(lida.porta, 3306);
  EXPECT_EQ(lida.senha, DecodificaSenha("5E19B07C3A8D26F41B90", "KZQ"));
  EXPECT_EQ(TConfigSistemaQEL::GetCodLogica(), "0");
}

// Where the error file cannot be created, the rows are written, the failure is shown, and
// nothing is discarded or claimed: the same rows can be imported again once it can.
TEST_F(FileFaults, ErrorFileThatCannotBeCreatedKeepsTheLoadForAnotherRun) {
  Load(faults::DiscountFile(dir, {kHeader, kBoa, "99.999.999/0001-99;" + kFabricante + ";1;1/1/2030"}));
  ASSERT_EQ(dados.oDescontos->RecordCount(), 1u);
  janela.caixas.clear();
  const std::string folder = runtime::ExecutableFolder();
  TImportaDescontos importa(dados, janela);
  {
    chmod(folder.c_str(), 0555);
    struct Restore {
      std::string path;
      ~Restore() { chmod(path.c_str(), 0755); }
    } restore{folder};
    faults::WithoutPermissionOverride asAnyone;
    try {
      importa.btnImportarClick();
      ADD_FAILURE() << "the error file was created";
    } catch (const runtime::Failure& falha) {
      const std::string prefix = "Cannot create file \"" + folder + "ARQERRO_QUIRAVEL_";
      const std::string suffix = ".txt\". " + Reason(EACCES);
      const std::string message = falha.what();
      ASSERT_TRUE(message.starts_with(prefix) && message.ends_with(suffix)) << message;
      EXPECT_TRUE(IsStamp(message.substr(prefix.size(), message.size() - prefix.size() - suffix.size()))) << message;
    }
  }
  EXPECT_TRUE(janela.caixas.empty());
  EXPECT_EQ(faults::StoredDiscounts(), std::vector<std::string>{"1|2|10.5000|2099-12-31|0|N|0"});
  ASSERT_TRUE(dados.oDescontos);
  EXPECT_EQ(dados.oDescontos->RecordCount(), 1u);
  EXPECT_EQ(dados.oErros.size(), 1u);
  EXPECT_TRUE(faults::ErrorFiles(folder).empty());

  janela.respostas.push_back(false);
  importa.btnImportarClick();
  EXPECT_EQ(faults::ErrorFiles(folder).size(), 1u);
  EXPECT_EQ(faults::StoredDiscounts(), std::vector<std::string>{"1|2|10.5000|2099-12-31|0|N|0"});
  EXPECT_FALSE(dados.oDescontos);
}

}  // namespace
