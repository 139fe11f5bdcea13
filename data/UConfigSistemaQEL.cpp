#include "data/UConfigSistemaQEL.h"

#include "runtime/IntText.h"
#include "runtime/Paths.h"
#include "runtime/ProfileFile.h"

std::string TConfigSistemaQEL::ArquivoIni() { return runtime::ExecutableFolder() + "sistema_qel.ini"; }

std::string TConfigSistemaQEL::LeIni(const std::string& secao, const std::string& chave, const std::string& padrao) {
  return runtime::ReadProfileString(ArquivoIni(), secao, chave, padrao);
}

std::string TConfigSistemaQEL::GetCodLogica() {
  // Through the integer and back, so the stored code reaches the database in one spelling.
  return std::to_string(runtime::ToInt32(LeIni("FilialMatriz", "CodLogica", "0"), 0));
}
