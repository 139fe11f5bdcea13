#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "import/UCargaDescontos.h"
#include "runtime/Failure.h"

namespace {

using namespace std::chrono;
using runtime::DateOrder;
using Campos = std::vector<std::string>;

TEST(SeparaCampos, SplitsByTheLoaderRules) {
  struct Caso {
    std::string linha;
    Campos esperado;
  };
  const Caso casos[] = {
      {"a;b;c", {"a", "b", "c"}},
      {"", {}},
      {";", {"", ""}},
      {";a", {"", "a"}},
      {"a;", {"a", ""}},
      {"a;;b", {"a", "", "b"}},
      {"a;b;;", {"a", "b", "", ""}},
      {"\x01\x1f\x20" "a;b", {"a", "b"}},
      {"a\tb", {"a", "b"}},
      {"a\t;\tb", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},
      {"a;\t", {"a"}},  // the ";" is not the last character, so no empty field after it
      {"\"a;b\";c", {"a;b", "c"}},
      {"\"a\"\"b\"", {"a\"b"}},
      {"\"a\"\"\"", {"a\""}},
      {"\"\";x", {"", "x"}},
      {"\"a\";", {"a", ""}},
      {"\"abc;d", {"abc;d"}},
      {"\"ab\"cd;e", {"ab", "cd", "e"}},
      {"a\"b;c", {"a\"b", "c"}},
      {"ção;é;\xc2\xa0", {"ção", "é", "\xc2\xa0"}},
      {"\xff\x80;\xa0", {"\xff\x80", "\xa0"}},
      {std::string("a;\0;b", 5), {"a", ""}},
      {std::string("\0a", 2), {}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.linha);
    EXPECT_EQ(SeparaCampos(caso.linha), caso.esperado);
  }
}

TEST(TextoDesconto, ReadsPointsAsCommasAndDropsPercent) {
  EXPECT_EQ(TextoDesconto("%12.5%.1"), "12,5,1");
  EXPECT_EQ(TextoDesconto(""), "");
}

struct CasoDesconto {
  std::string campo;
  std::optional<int64_t> esperado;  // ten-thousandths; nullopt: the text fails
};

void ConfereDescontos(const std::vector<CasoDesconto>& casos, const runtime::Regional& regional) {
  for (const CasoDesconto& caso : casos) {
    SCOPED_TRACE(caso.campo);
    if (caso.esperado) {
      EXPECT_EQ(ConverteDesconto(caso.campo, regional).ticks, *caso.esperado);
    } else {
      EXPECT_THROW(ConverteDesconto(caso.campo, regional), runtime::Failure);
    }
    // The load's form without exceptions reads every text alike.
    const std::optional<runtime::Currency> lido = LeDesconto(caso.campo, regional);
    EXPECT_EQ(lido ? std::optional<int64_t>(lido->ticks) : std::nullopt, caso.esperado);
  }
}

TEST(ConverteDesconto, CommaSeparator) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  ConfereDescontos(
      {
          {"10.5", 105000},
          {"10,5", 105000},
          {"10.5%", 105000},
          {"%10,5", 105000},
          {"10", 100000},
          {"+10", 100000},
          {"-10,25", -102500},
          {"150", 1500000},
          {",5", 5000},
          {"5,", 50000},
          {".", 0},
          {",", 0},
          {"-,", 0},
          {"%", std::nullopt},
          {"", std::nullopt},
          {"+", std::nullopt},
          {"-", std::nullopt},
          {"1.234,56", std::nullopt},
          {"1,2,3", std::nullopt},
          {"abc", std::nullopt},
          {"R$10", std::nullopt},
          {"10a", std::nullopt},
          {"--1", std::nullopt},
          {"1-", std::nullopt},
          // rounding to four places, half to even on the written digits
          {"0.00005", 0},
          {"0.00015", 2},
          {"0.00025", 2},
          {"0.000250001", 3},
          {"0.00035", 4},
          {"0.00004999999999999999999", 0},
          {"-0.00015", -2},
          {"-0.00025", -2},
          {"1,23456", 12346},
          {"0,000049", 0},
          {"000012,50000", 125000},
          // exponents
          {"1E-4", 1},
          {"1e-4", 1},
          {"1,5E3", 15000000},
          {"1,5e+3", 15000000},
          {"25E-1", 25000},
          {",5E1", 50000},
          {",E5", 0},
          {"5E-5", 0},
          {"15E-5", 2},
          {"E5", std::nullopt},
          {"1E", std::nullopt},
          {"1E+", std::nullopt},
          {"1E2,5", std::nullopt},
          {"1E999999999", std::nullopt},
          {"1E99999999999999999999999999", std::nullopt},
          {"0E999999999", 0},
          {"1E-999999999", 0},
          {"1E-99999999999999999999999999", 0},
          {"5E-99999999999999999999999999", 0},
          // the signed 64-bit range of ten-thousandths
          {"922337203685477,5807", kMax},
          {"922337203685477,58074", kMax},
          {"922337203685477,58075", std::nullopt},
          {"922337203685477,5808", std::nullopt},
          {"-922337203685477,5808", kMin},
          {"-922337203685477,58084", kMin},
          {"-922337203685477,5809", std::nullopt},
          {"9223372036854775807E-4", kMax},
          {"99999999999999999999", std::nullopt},
      },
      runtime::Regional::brazilian());
}

TEST(ConverteDesconto, PointSeparatorReadsWholeNumbersOnly) {
  runtime::Regional regional;
  regional.decimalSeparator = '.';
  ConfereDescontos(
      {
          {"10", 100000},
          {"10%", 100000},
          {"-3", -30000},
          {"1E2", 1000000},
          {"10.5", std::nullopt},
          {"10,5", std::nullopt},
          {".", std::nullopt},
          {",", std::nullopt},
      },
      regional);
}

TEST(ConverteDesconto, FailuresNameTheField) {
  const runtime::Regional regional = runtime::Regional::brazilian();
  try {
    ConverteDesconto("abc", regional);
    FAIL() << "no failure";
  } catch (const runtime::Failure& falha) {
    EXPECT_STREQ(falha.what(), "'abc' não é um valor de desconto válido");
  }
  try {
    ConverteDesconto("1E30", regional);
    FAIL() << "no failure";
  } catch (const runtime::Failure& falha) {
    EXPECT_STREQ(falha.what(), "'1E30' está fora dos limites de um valor de desconto");
  }
}

struct CasoData {
  std::string campo;
  DateOrder ordem;
  char separador;
  int anoAtual;
  std::optional<year_month_day> esperado;
};

constexpr auto DMY = DateOrder::DayMonthYear;
constexpr auto MDY = DateOrder::MonthDayYear;
constexpr auto YMD = DateOrder::YearMonthDay;

TEST(ConverteValidade, ReadsShortDates) {
  const std::optional<year_month_day> falha;
  const CasoData casos[] = {
      {"31/12/2099", DMY, '/', 2025, 2099y / 12 / 31},
      {"01/02/2024", DMY, '/', 2025, 2024y / 2 / 1},
      {"29/02/2024", DMY, '/', 2025, 2024y / 2 / 29},
      {"29/02/2023", DMY, '/', 2025, falha},
      {"29/02/2000", DMY, '/', 2025, 2000y / 2 / 29},
      {"29/02/1900", DMY, '/', 2025, falha},
      {"31/04/2024", DMY, '/', 2025, falha},
      {"32/01/2024", DMY, '/', 2025, falha},
      {"0/01/2024", DMY, '/', 2025, falha},
      {"1/13/2024", DMY, '/', 2025, falha},
      {"1/0/2024", DMY, '/', 2025, falha},
      {"257/1/2024", DMY, '/', 2025, falha},
      {"1/257/2024", DMY, '/', 2025, falha},
      {"1/1/9999", DMY, '/', 2025, 9999y / 1 / 1},
      {"1/1/0001", DMY, '/', 2025, 1y / 1 / 1},
      {"1/1/0000", DMY, '/', 2025, falha},
      // only the separator of the regional settings parts the numbers
      {"31-12-2024", DMY, '/', 2025, falha},
      {"31.12.2024", DMY, '.', 2025, 2024y / 12 / 31},
      // two numbers: the current year
      {"15/03", DMY, '/', 2025, 2025y / 3 / 15},
      {"29/02", DMY, '/', 2025, falha},
      {"29/02", DMY, '/', 2024, 2024y / 2 / 29},
      {"03/15", MDY, '/', 2025, 2025y / 3 / 15},
      {"03-15", YMD, '-', 2025, 2025y / 3 / 15},
      // one trailing separator, then nothing
      {"31/12/2024/", DMY, '/', 2025, 2024y / 12 / 31},
      {"31/12/2024//", DMY, '/', 2025, falha},
      {"15/03/", DMY, '/', 2025, falha},
      {"31/12/202410:00", DMY, '/', 2025, falha},
      {"31/12/2024 10:00", DMY, '/', 2025, falha},
      {"31/12/2024x", DMY, '/', 2025, falha},
      {"", DMY, '/', 2025, falha},
      {"15", DMY, '/', 2025, falha},
      {"/1/2024", DMY, '/', 2025, falha},
      {"1//2024", DMY, '/', 2025, falha},
      {"+1/1/2024", DMY, '/', 2025, falha},
      // reading a number stops at the digit that brings it to 1000
      {"1/1/20245", DMY, '/', 2025, falha},
      {"1/1/10000", DMY, '/', 2025, falha},
      {"1/1/09999", DMY, '/', 2025, 9999y / 1 / 1},
      {"1/1/0999", DMY, '/', 2025, 999y / 1 / 1},
      {"1/1/00000024", DMY, '/', 2025, 24y / 1 / 1},
      {"00000000015/03/2024", DMY, '/', 2025, 2024y / 3 / 15},
      // years of one or two digits, in the hundred years from 50 before the current one
      {"31/12/24", DMY, '/', 2025, 2024y / 12 / 31},
      {"1/1/75", DMY, '/', 2025, 1975y / 1 / 1},
      {"1/1/74", DMY, '/', 2025, 2074y / 1 / 1},
      {"1/1/99", DMY, '/', 2025, 1999y / 1 / 1},
      {"1/1/00", DMY, '/', 2025, 2000y / 1 / 1},
      {"1/1/0", DMY, '/', 2025, 2000y / 1 / 1},
      {"1/1/5", DMY, '/', 2025, 2005y / 1 / 1},
      {"1/1/024", DMY, '/', 2025, 24y / 1 / 1},
      {"1/1/49", DMY, '/', 2000, 2049y / 1 / 1},
      {"1/1/50", DMY, '/', 2000, 1950y / 1 / 1},
      {"1/1/29", DMY, '/', 2080, 2129y / 1 / 1},
      {"1/1/30", DMY, '/', 2080, 2030y / 1 / 1},
      // the order of the regional settings
      {"12/31/2024", MDY, '/', 2025, 2024y / 12 / 31},
      {"31/12/2024", MDY, '/', 2025, falha},
      {"2/1/24", MDY, '/', 2025, 2024y / 2 / 1},
      {"2024-03-31", YMD, '-', 2025, 2024y / 3 / 31},
      {"24-03-31", YMD, '-', 2025, 2024y / 3 / 31},
      {"2024-31-03", YMD, '-', 2025, falha},
  };
  for (const CasoData& caso : casos) {
    SCOPED_TRACE(caso.campo + " at " + std::to_string(caso.anoAtual));
    runtime::Regional regional;
    regional.dateOrder = caso.ordem;
    regional.dateSeparator = caso.separador;
    if (caso.esperado) {
      EXPECT_EQ(ConverteValidade(caso.campo, regional, caso.anoAtual), *caso.esperado);
    } else {
      EXPECT_THROW(ConverteValidade(caso.campo, regional, caso.anoAtual), runtime::Failure);
    }
    EXPECT_EQ(LeValidade(caso.campo, regional, caso.anoAtual), caso.esperado);
  }
}

TEST(ConverteValidade, FailureNamesTheField) {
  try {
    ConverteValidade("29/02/2023", runtime::Regional::brazilian(), 2025);
    FAIL() << "no failure";
  } catch (const runtime::Failure& falha) {
    EXPECT_STREQ(falha.what(), "'29/02/2023' não é uma data válida");
  }
}

TEST(DescricaoErro, TextsOfTheKinds) {
  const std::pair<uint8_t, std::string> casos[] = {
      {kErroFornecedor, "Fornecedor não encontrado de acordo com CNPJ"},
      {kErroFabricante, "Fabricante não encontrado de acordo com CNPJ"},
      {kErroDados, "Dados inválidos"},
      {3, ""},
      {255, ""},
  };
  for (const auto& [tipo, texto] : casos) {
    SCOPED_TRACE(int{tipo});
    EXPECT_EQ(DescricaoErro(tipo), texto);
  }
}

TEST(AdicionaErro, FiveLineEntriesPartedByAnEmptyItem) {
  std::vector<std::string> erros;
  AdicionaErro(erros, 3, kErroFornecedor, "11.222.333/0001-44", "55666777000188", "12.5%");
  AdicionaErro(erros, 12, kErroDados, "", "", "");
  AdicionaErro(erros, 0, 7, "a", "b", "c");
  const std::vector<std::string> esperado = {
      "Linha: 3\r\n"
      "CNPJ Fornecedor: 11.222.333/0001-44\r\n"
      "CNPJ Fabricante: 55666777000188\r\n"
      "Desconto: 12,5\r\n"
      "Tipo Erro: Fornecedor não encontrado de acordo com CNPJ\r\n",
      "",
      "Linha: 12\r\n"
      "CNPJ Fornecedor: \r\n"
      "CNPJ Fabricante: \r\n"
      "Desconto: \r\n"
      "Tipo Erro: Dados inválidos\r\n",
      "",
      "Linha: 0\r\n"
      "CNPJ Fornecedor: a\r\n"
      "CNPJ Fabricante: b\r\n"
      "Desconto: c\r\n"
      "Tipo Erro: \r\n",
  };
  EXPECT_EQ(erros, esperado);
}

}  // namespace
