#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// How a line of a generated file is made. Every kind but Good is one way the load rejects
// or skips a line; each takes one line in ten.
enum class LineKind { UnknownSupplier, UnknownManufacturer, UnknownBoth, BadNumber, BadDate, Blank, Good };
inline constexpr std::size_t kLineKinds = 7;

// What the load and the import must make of a generated file.
struct FileFacts {
  int32_t lines = 0;          // after the header
  int32_t rows = 0;           // lines that become discount rows
  int32_t entries = 0;        // error entries (a line with both CNPJs unknown gives two)
  int32_t lookups = 0;        // two per line that is not blank
  int32_t distinctPairs = 0;  // rows of descfabric after the import: replace folds equal keys
  std::array<int32_t, kLineKinds> perKind{};
};

// Line 0 is the header; index >= 1.
LineKind KindOfLine(int32_t index);

// Known CNPJs belong to ids 1..ids of fornece and fabricantes; the same id gives different
// texts in the two tables.
std::string SupplierCnpj(int32_t id);
std::string ManufacturerCnpj(int32_t id);

// Writes a header and `lines` discount lines (ASCII, CR LF) with known ids drawn from
// 1..ids and unknown ones above. The same arguments always give the same file.
FileFacts WriteDiscountFile(const std::string& path, int32_t lines, int32_t ids);

// Empties fornece, fabricantes and descfabric and gives the first two ids 1..ids. The cgc
// indexes keep the server's share of a lookup small, so that what the client spends shows.
std::vector<std::string> FillStatements(int32_t ids);

// Leaves the tables empty and drops the indexes again.
std::vector<std::string> CleanupStatements();

}  // namespace bench
