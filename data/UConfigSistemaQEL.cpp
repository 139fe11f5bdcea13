#include "data/UConfigSistemaQEL.h"

#include <optional>
#include <string>

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
  // The same key of the same file for every imported row: read anew only when it changed,
  // and brought to its one spelling only when the text read differs from the last one.
  struct Codigo {
    runtime::ProfileValue valor{CaminhoIni(), "FilialMatriz", "CodLogica", "0"};
    std::optional<std::string> lido;
    std::string normalizado;
  };
  thread_local Codigo codigo;
  const std::string& texto = codigo.valor.Read();
  if (texto != codigo.lido) {
    // Through the integer and back, so the stored code reaches the database in one spelling.
    codigo.normalizado = std::to_string(runtime::ToInt32(texto, 0));
    codigo.lido = texto;
  }
  return codigo.normalizado;
}
