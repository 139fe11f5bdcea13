#include "bench/DiscountFile.h"

#include <cstdio>
#include <random>
#include <set>
#include <utility>

#include "runtime/TextFile.h"

namespace bench {
namespace {

std::string Cnpj(int prefix, int32_t id) {
  char text[24];
  std::snprintf(text, sizeof text, "%02d.%03d.%03d/0001-%02d", prefix, id / 1000 % 1000, id % 1000, id % 97);
  return text;
}

// A few spellings of each, so the conversions see more than one path.
constexpr const char* kGoodDiscounts[] = {"12.5%", "7", "10,25", "%3.5", "0.125 %"};
constexpr const char* kBadDiscounts[] = {"1.234,56", "dez", "10..5"};
constexpr const char* kGoodDates[] = {"31/12/2099", "15/03/30", "01/01/2100", "28/2/2099"};
constexpr const char* kBadDates[] = {"29/02/2023", "2099-12-31", "31/12/2024 10:00", "32/01/2099"};
constexpr const char* kBlankLines[] = {"", ";;;"};

template <std::size_t N>
const char* Pick(const char* const (&choices)[N], int32_t index) {
  return choices[static_cast<std::size_t>(index) % N];
}

std::vector<std::string> TableFill(const std::string& table, const std::string& idColumn,
                                   std::string (*cnpj)(int32_t), int32_t ids) {
  std::vector<std::string> statements;
  constexpr int32_t kChunk = 1000;
  for (int32_t first = 1; first <= ids; first += kChunk) {
    std::string sql = "insert into " + table + " (" + idColumn + ", cgc, apagado) values ";
    for (int32_t id = first; id < first + kChunk && id <= ids; ++id) {
      if (id != first) sql += ",";
      sql += "(" + std::to_string(id) + ",'" + cnpj(id) + "','N')";
    }
    statements.push_back(std::move(sql));
  }
  return statements;
}

}  // namespace

LineKind KindOfLine(int32_t index) {
  switch ((index - 1) % 10) {
    case 0: return LineKind::UnknownSupplier;
    case 1: return LineKind::UnknownManufacturer;
    case 2: return LineKind::UnknownBoth;
    case 3: return LineKind::BadNumber;
    case 4: return LineKind::BadDate;
    case 5: return LineKind::Blank;
    default: return LineKind::Good;
  }
}

std::string SupplierCnpj(int32_t id) { return Cnpj(11, id); }
std::string ManufacturerCnpj(int32_t id) { return Cnpj(22, id); }

FileFacts WriteDiscountFile(const std::string& path, int32_t lines, int32_t ids) {
  std::mt19937 random(20240305);
  std::uniform_int_distribution<int32_t> known(1, ids);
  std::uniform_int_distribution<int32_t> unknown(ids + 1, 2 * ids);
  std::set<std::pair<int32_t, int32_t>> pairs;
  FileFacts facts;
  facts.lines = lines;

  std::string bytes = "CNPJ Fornecedor;CNPJ Fabricante;Desconto;Validade\r\n";
  for (int32_t i = 1; i <= lines; ++i) {
    const LineKind kind = KindOfLine(i);
    ++facts.perKind[static_cast<std::size_t>(kind)];
    if (kind == LineKind::Blank) {
      bytes += Pick(kBlankLines, i / 10);
      bytes += "\r\n";
      continue;
    }
    const bool supplierKnown = kind != LineKind::UnknownSupplier && kind != LineKind::UnknownBoth;
    const bool manufacturerKnown = kind != LineKind::UnknownManufacturer && kind != LineKind::UnknownBoth;
    const int32_t supplier = supplierKnown ? known(random) : unknown(random);
    const int32_t manufacturer = manufacturerKnown ? known(random) : unknown(random);
    const char* discount = kind == LineKind::BadNumber ? Pick(kBadDiscounts, i / 10) : Pick(kGoodDiscounts, i);
    const char* date = kind == LineKind::BadDate ? Pick(kBadDates, i / 10) : Pick(kGoodDates, i / 10);
    bytes += SupplierCnpj(supplier) + ";" + ManufacturerCnpj(manufacturer) + ";" + discount + ";" + date + "\r\n";

    facts.lookups += 2;
    facts.entries += (supplierKnown ? 0 : 1) + (manufacturerKnown ? 0 : 1);
    if (kind == LineKind::BadNumber || kind == LineKind::BadDate) ++facts.entries;
    if (kind == LineKind::Good) {
      ++facts.rows;
      pairs.emplace(supplier, manufacturer);
    }
  }
  facts.distinctPairs = static_cast<int32_t>(pairs.size());
  runtime::WriteFileBytes(path, bytes);
  return facts;
}

std::vector<std::string> FillStatements(int32_t ids) {
  std::vector<std::string> statements = CleanupStatements();
  for (auto& sql : TableFill("fornece", "fornece_id", SupplierCnpj, ids)) statements.push_back(std::move(sql));
  for (auto& sql : TableFill("fabricantes", "fabricantes_id", ManufacturerCnpj, ids)) statements.push_back(std::move(sql));
  statements.push_back("create index bench_fornece_cgc on fornece (cgc)");
  statements.push_back("create index bench_fabricantes_cgc on fabricantes (cgc)");
  return statements;
}

std::vector<std::string> CleanupStatements() {
  return {"drop index if exists bench_fornece_cgc on fornece",
          "drop index if exists bench_fabricantes_cgc on fabricantes",
          "delete from descfabric", "delete from fornece", "delete from fabricantes"};
}

}  // namespace bench
