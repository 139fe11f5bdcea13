#include "import/ArquivoErros.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "runtime/Failure.h"
#include "tests/support/TempDir.h"

namespace {

std::time_t Local(int ano, int mes, int dia, int hora, int minuto, int segundo) {
  std::tm t{};
  t.tm_year = ano - 1900;
  t.tm_mon = mes - 1;
  t.tm_mday = dia;
  t.tm_hour = hora;
  t.tm_min = minuto;
  t.tm_sec = segundo;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

const runtime::LineList kErros = {
    "Linha: 1\r\nCNPJ Fornecedor: 11\r\nCNPJ Fabricante: 22\r\nDesconto: 10,5\r\n"
    "Tipo Erro: Fornecedor não encontrado de acordo com CNPJ\r\n",
    "",
    "Linha: 4\r\nCNPJ Fornecedor: 11\r\nCNPJ Fabricante: 23\r\nDesconto: 1ç\r\nTipo Erro: Dados inválidos\r\n",
};

TEST(GravaArquivoErros, NamesTheFileAfterTheLocalDateAndTimeWithLeadingZeros) {
  struct Caso {
    std::time_t momento;
    const char* nome;
  };
  const Caso casos[] = {
      {Local(2024, 3, 5, 9, 30, 7), "ARQERRO_QUIRAVEL_20240305_093007.txt"},
      {Local(1999, 12, 31, 23, 59, 59), "ARQERRO_QUIRAVEL_19991231_235959.txt"},
      {Local(2030, 1, 1, 0, 0, 0), "ARQERRO_QUIRAVEL_20300101_000000.txt"},
  };
  testsupport::TempDir pasta;
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(GravaArquivoErros(pasta.path().string() + "/", kErros, caso.momento), pasta.file(caso.nome));
  }
}

TEST(GravaArquivoErros, WritesEveryItemWithCrLfInWindows1252WithoutBom) {
  testsupport::TempDir pasta;
  const std::string caminho = GravaArquivoErros(pasta.path().string() + "/", kErros, Local(2024, 3, 5, 9, 30, 7));
  EXPECT_EQ(testsupport::ReadBytes(caminho),
            "Linha: 1\r\nCNPJ Fornecedor: 11\r\nCNPJ Fabricante: 22\r\nDesconto: 10,5\r\n"
            "Tipo Erro: Fornecedor n\xE3o encontrado de acordo com CNPJ\r\n\r\n"
            "\r\n"
            "Linha: 4\r\nCNPJ Fornecedor: 11\r\nCNPJ Fabricante: 23\r\nDesconto: 1\xE7\r\n"
            "Tipo Erro: Dados inv\xE1lidos\r\n\r\n");
}

// A list as long as a large load leaves, many times the writer's buffer, with characters
// of two and three UTF-8 bytes and some the code page cannot hold.
TEST(GravaArquivoErros, ALongListArrivesWhole) {
  testsupport::TempDir pasta;
  runtime::LineList erros;
  std::string esperado;
  for (int i = 0; i < 3000; ++i) {
    if (i > 0) {
      erros.push_back("");
      esperado += "\r\n";
    }
    const std::string n = std::to_string(i);
    erros.push_back("Linha: " + n + "\r\nDesconto: " + n + "ç€日\r\nTipo Erro: Fornecedor não encontrado\r\n");
    esperado += "Linha: " + n + "\r\nDesconto: " + n + "\xE7\x80?\r\nTipo Erro: Fornecedor n\xE3o encontrado\r\n\r\n";
  }
  const std::string caminho = GravaArquivoErros(pasta.path().string() + "/", erros, Local(2024, 3, 5, 9, 30, 7));
  EXPECT_EQ(testsupport::ReadBytes(caminho), esperado);
}

TEST(GravaArquivoErros, NeverReplacesAnEarlierFileOfTheSameSecond) {
  testsupport::TempDir pasta;
  const std::string dir = pasta.path().string() + "/";
  const std::time_t momento = Local(2024, 3, 5, 9, 30, 7);
  testsupport::WriteBytes(pasta.file("ARQERRO_QUIRAVEL_20240305_093007.txt"), "anterior");

  EXPECT_EQ(GravaArquivoErros(dir, kErros, momento), pasta.file("ARQERRO_QUIRAVEL_20240305_093007_2.txt"));
  EXPECT_EQ(GravaArquivoErros(dir, {"outro"}, momento), pasta.file("ARQERRO_QUIRAVEL_20240305_093007_3.txt"));

  EXPECT_EQ(testsupport::ReadBytes(pasta.file("ARQERRO_QUIRAVEL_20240305_093007.txt")), "anterior");
  EXPECT_EQ(testsupport::ReadBytes(pasta.file("ARQERRO_QUIRAVEL_20240305_093007_3.txt")), "outro\r\n");
}

TEST(GravaArquivoErros, PassesOverNamesTakenByAFolderOrADanglingLink) {
  testsupport::TempDir pasta;
  const std::time_t momento = Local(2024, 3, 5, 9, 30, 7);
  std::filesystem::create_directory(pasta.file("ARQERRO_QUIRAVEL_20240305_093007.txt"));
  std::filesystem::create_symlink(pasta.file("nada"), pasta.file("ARQERRO_QUIRAVEL_20240305_093007_2.txt"));

  EXPECT_EQ(GravaArquivoErros(pasta.path().string() + "/", kErros, momento),
            pasta.file("ARQERRO_QUIRAVEL_20240305_093007_3.txt"));
  EXPECT_FALSE(std::filesystem::exists(pasta.file("nada")));
}

TEST(GravaArquivoErros, AFolderWhereNothingCanBeCreatedFailsWithThePathAndTheReason) {
  // /proc takes no new files, also for root, whom permissions would not stop.
  try {
    GravaArquivoErros("/proc/", kErros, Local(2024, 3, 5, 9, 30, 7));
    FAIL() << "no failure";
  } catch (const runtime::Failure& falha) {
    EXPECT_EQ(std::string(falha.what()), std::string("Cannot create file \"/proc/ARQERRO_QUIRAVEL_20240305_093007.txt\". ") +
                                             std::strerror(ENOENT));
  }
}

}  // namespace
