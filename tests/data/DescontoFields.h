#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "data/UDao.h"
#include "runtime/Value.h"

namespace testsupport {

// The seven fields of one discount row, in the import run's order.
inline void AddDescontoFields(TSqlMount& sql) {
  using namespace std::chrono;
  using runtime::FieldType;
  sql.AddCampo("fornece_id", int64_t{12}, FieldType::Integer);
  sql.AddCampo("fabricantes_id", int64_t{345}, FieldType::Integer);
  sql.AddCampo("desconto", runtime::Currency{105000}, FieldType::Currency);
  sql.AddCampo("validade", runtime::DateTime{year{2024} / March / 31}, FieldType::Date);
  sql.AddCampo("lojas_leram", std::string("1"), FieldType::String);
  sql.AddCampo("apagado", std::string("N"), FieldType::String);
  sql.AddCampo("grupo_descfabric_id", int64_t{0}, FieldType::Integer);
}

}  // namespace testsupport
