#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "db/Connection.h"
#include "import/TTabelaDescontos.h"
#include "runtime/LineList.h"

// The state the main window owns and the loading and the import run share.
struct TDadosDescontos {
  std::unique_ptr<db::Connection> oConexao;       // opened once at start, kept for the run
  std::optional<runtime::LineList> oArquivo;      // the loaded file, header first
  runtime::LineList oErros;                       // error entries and their separators
  int32_t LinhasRejeitadas = 0;                   // lines behind oErros's entries; emptied with it
  std::unique_ptr<TTabelaDescontos> oDescontos;   // null or empty: nothing loaded

  void LimpaErros() {
    oErros.clear();
    LinhasRejeitadas = 0;
  }
};
