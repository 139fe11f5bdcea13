#pragma once

#include <string>

#include "import/IJanelaDescontos.h"
#include "import/TDadosDescontos.h"

// The work of "&Importar" on the main window's state.
class TImportaDescontos {
 public:
  // Error files go beside the executable.
  TImportaDescontos(TDadosDescontos& dados, IJanelaDescontos& janela);
  // Error files go into pastaErros (a folder ending with its separator).
  TImportaDescontos(TDadosDescontos& dados, IJanelaDescontos& janela, std::string pastaErros);

  // Throws runtime::SilentAbort when nothing is loaded, the failure that stopped the
  // writing after the finishing steps, or a failure of the finishing steps themselves.
  void btnImportarClick();

 private:
  void GravaDescontos(TTabelaDescontos& tabela, int32_t& gravados);
  void Finaliza(int32_t gravados, bool interrompida);

  TDadosDescontos& dados_;
  IJanelaDescontos& janela_;
  std::string pastaErros_;
};
