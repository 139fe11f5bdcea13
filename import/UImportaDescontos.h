#pragma once

#include "import/IJanelaDescontos.h"
#include "import/TDadosDescontos.h"

// The work of "&Importar" on the main window's state.
class TImportaDescontos {
 public:
  TImportaDescontos(TDadosDescontos& dados, IJanelaDescontos& janela);

  // Throws runtime::SilentAbort when nothing is loaded, the failure that stopped the
  // writing after the finishing steps, or a failure of the finishing steps themselves.
  void btnImportarClick();

 private:
  TDadosDescontos& dados_;
  IJanelaDescontos& janela_;
};
