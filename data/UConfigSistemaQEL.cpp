#include "data/UConfigSistemaQEL.h"

#include "runtime/IntText.h"
#include "runtime/Paths.h"
#include "runtime/ProfileFile.h"

namespace {

// Built once: the import run asks for every row, and the executable does not move.
const std::string& CaminhoIni() {
  static const std::string caminho = runtime::ExecutableFolder() + "sistema_qel.ini";
  return caminho;
}

}  // namespace

std::string TConfigSistemaQEL::ArquivoIni() { return CaminhoIni(); }

std::string TConfigSistemaQEL::LeIni(const std::string& secao, const std::string& chave, const std::string& padrao) {
  return runtime::ReadProfileString(CaminhoIni(), secao, chave, padrao);
}

std::string TConfigSistemaQEL::GetCodLogica() {
  // The same key of the same file for every imported row: read anew only when it changed.
  thread_local runtime::ProfileValue codigo(CaminhoIni(), "FilialMatriz", "CodLogica", "0");
  // Through the integer and back, so the stored code reaches the database in one spelling.
  return std::to_string(runtime::ToInt32(codigo.Read(), 0));
}
