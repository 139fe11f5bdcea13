#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Value.h"

// One discount row; every column may be null.
struct TDesconto {
  std::optional<int32_t> fornece_id;
  std::optional<int32_t> fabricantes_id;
  std::optional<runtime::Currency> desconto;
  std::optional<std::chrono::year_month_day> validade;
  std::optional<std::string> lojas_leram;  // at most 50 characters; never filled by the load
};

// The in-memory discount table: rows in posting order, no key, duplicates allowed. A row is
// built as the pending row and only counts once posted.
class TTabelaDescontos {
 public:
  // The lines after the header of the file that built the table (blank lines included).
  explicit TTabelaDescontos(int32_t totalLinhas = 0) : totalLinhas_(totalLinhas) {}

  void Append() { pendente_.emplace(); }
  TDesconto& Pendente() { return pendente_.value(); }
  void Post() {
    linhas_.push_back(std::move(pendente_.value()));
    pendente_.reset();
  }
  void Cancel() noexcept { pendente_.reset(); }

  bool IsEmpty() const noexcept { return linhas_.empty(); }
  std::size_t RecordCount() const noexcept { return linhas_.size(); }
  int32_t TotalLinhas() const noexcept { return totalLinhas_; }

  void First() noexcept { atual_ = 0; }
  void Next() noexcept { ++atual_; }
  bool Eof() const noexcept { return atual_ >= linhas_.size(); }
  const TDesconto& Atual() const { return linhas_.at(atual_); }

 private:
  int32_t totalLinhas_;
  std::vector<TDesconto> linhas_;
  std::optional<TDesconto> pendente_;
  std::size_t atual_ = 0;
};
