#include "import/UCargaDescontos.h"

#include "runtime/Cp1252.h"
#include "runtime/TextFile.h"

runtime::LineList LeArquivoDescontos(const std::string& caminho) {
  std::string texto;
  {
    // The bytes go as soon as they are converted: a large file is held twice at most.
    std::string bytes = runtime::ReadFileBytes(caminho);
    if (const auto nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
    texto = runtime::Cp1252ToUtf8(bytes);
  }
  return runtime::LinesOf(texto);
}
