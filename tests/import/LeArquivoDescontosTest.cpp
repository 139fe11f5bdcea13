#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "import/UCargaDescontos.h"
#include "runtime/Failure.h"
#include "tests/support/TempDir.h"

namespace {

using runtime::LineList;

TEST(LeArquivoDescontos, LineEndsNulAndCodePage) {
  struct Caso {
    std::string bytes;
    LineList esperado;
  };
  const Caso casos[] = {
      {"h\r\na;b\r\nc\r\n", {"h", "a;b", "c"}},
      {"h\na\nc\n", {"h", "a", "c"}},
      {"h\ra\rc\r", {"h", "a", "c"}},
      {"h\r\na\nb\rc", {"h", "a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},
      {"h\r\n\r\n\r\nx", {"h", "", "", "x"}},
      {"h\r\nsem quebra", {"h", "sem quebra"}},
      {"", {}},
      {"\r\n", {""}},
      {std::string("h\r\na\0b\r\nc", 10), {"h", "a"}},
      {std::string("\0h\r\na", 5), {}},
      {"Fabrica\xe7\xe3o;\x80\r\n", {"Fabricação;€"}},
      {"\xef\xbb\xbf" "cab\r\n", {"ï»¿cab"}},
  };
  testsupport::TempDir pasta;
  const std::string caminho = pasta.file("descontos.csv");
  for (const Caso& caso : casos) {
    SCOPED_TRACE(testing::PrintToString(caso.bytes));
    testsupport::WriteBytes(caminho, caso.bytes);
    EXPECT_EQ(LeArquivoDescontos(caminho), caso.esperado);
  }
}

TEST(LeArquivoDescontos, MissingFileFailsWithThePathAndTheReason) {
  testsupport::TempDir pasta;
  const std::string caminho = pasta.file("nao_existe.csv");
  try {
    LeArquivoDescontos(caminho);
    FAIL() << "no failure";
  } catch (const runtime::Failure& falha) {
    EXPECT_EQ(std::string(falha.what()), "Cannot open file \"" + caminho + "\". " + std::strerror(ENOENT));
  }
}

TEST(LeArquivoDescontos, LargeFileKeepsEveryLine) {
  constexpr int kLinhas = 1'000'000;  // about 50 MB
  const std::string linha = "11.222.333/0001-44;55.666.777/0001-88;12,5%;31/12/2099\r\n";
  std::string bytes = "cabecalho\r\n";
  bytes.reserve(linha.size() * kLinhas + bytes.size());
  for (int i = 0; i < kLinhas; ++i) bytes += linha;
  testsupport::TempDir pasta;
  const std::string caminho = pasta.file("grande.csv");
  testsupport::WriteBytes(caminho, bytes);
  bytes.clear();
  bytes.shrink_to_fit();

  const LineList linhas = LeArquivoDescontos(caminho);
  ASSERT_EQ(linhas.size(), std::size_t{kLinhas} + 1);
  EXPECT_EQ(linhas.front(), "cabecalho");
  EXPECT_EQ(linhas.back(), linha.substr(0, linha.size() - 2));
}

}  // namespace
