#include "import/ArquivoErros.h"

#include <filesystem>

#include "runtime/Cp1252.h"
#include "runtime/TextFile.h"

namespace {

std::string Carimbo(std::time_t momento) {
  std::tm local{};
  localtime_r(&momento, &local);
  char texto[32];
  std::strftime(texto, sizeof texto, "%Y%m%d_%H%M%S", &local);
  return texto;
}

bool NomeOcupado(const std::string& caminho) {
  // symlink_status: a dangling link takes the name as well as a file or a folder does.
  std::error_code ignorado;
  return std::filesystem::exists(std::filesystem::symlink_status(caminho, ignorado));
}

}  // namespace

std::string GravaArquivoErros(const std::string& pasta, const runtime::LineList& erros, std::time_t momento) {
  const std::string base = pasta + "ARQERRO_QUIRAVEL_" + Carimbo(momento);
  int sufixo = 1;
  std::string caminho = base + ".txt";
  // Taken names are passed over beforehand rather than on a failed creation: a creation
  // that fails half-way (disk full) may leave its file behind, and retrying on that would
  // never end. A name taken in between still fails the exclusive creation, visibly.
  while (NomeOcupado(caminho)) caminho = base + "_" + std::to_string(++sufixo) + ".txt";
  // Item by item: the whole text, twice (UTF-8, then converted), cost the import run more
  // in fresh memory than the writing itself.
  runtime::NewFile arquivo(caminho);
  std::string item;
  for (const std::string& erro : erros) {
    item.clear();
    runtime::AppendUtf8ToCp1252(item, erro);
    item += "\r\n";
    arquivo.Write(item);
  }
  arquivo.Close();
  return caminho;
}
