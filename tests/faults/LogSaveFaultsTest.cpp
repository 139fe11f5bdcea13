// Saving the error log where it cannot go: a full device, a read-only folder, a folder that
// does not exist. The writer fails with the system's reason; the window shows its one box.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ULog.h"
#include "app/Utils.h"
#include "runtime/Failure.h"
#include "tests/faults/FaultSupport.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using faults::Reason;

TEST(LogSaveFaults, WriterFailsWithTheSystemsReason) {
  testsupport::TempDir dir;
  fs::create_symlink("/dev/full", dir.file("cheio.txt"));
  fs::create_directory(dir.file("somente-leitura"));
  chmod(dir.file("somente-leitura").c_str(), 0555);
  struct {
    std::string path;
    std::string reason;
  } const cases[] = {
      {dir.file("cheio.txt"), Reason(ENOSPC)},
      {dir.file("somente-leitura/Log.txt"), Reason(EACCES)},
      {dir.file("nao-existe/Log.txt"), Reason(ENOENT)},
  };
  faults::WithoutPermissionOverride asAnyone;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    try {
      GravaLog(c.path, "Linha: 1\r\n");
      ADD_FAILURE() << "the save did not fail";
    } catch (const runtime::Failure& falha) {
      EXPECT_EQ(std::string(falha.what()), "Cannot create file \"" + c.path + "\". " + c.reason);
    }
  }
  EXPECT_TRUE(fs::is_empty(dir.file("somente-leitura")));
}

TEST(LogSaveFaults, WindowShowsOneBoxAndStaysUsable) {
  std::vector<TCaixaMensagem> caixas;
  DefineGanchoCaixas([&caixas](const TCaixaMensagem& caixa) {
    caixas.push_back(caixa);
    return true;
  });
  testsupport::TempDir dir;
  fs::create_symlink("/dev/full", dir.file("cheio.txt"));
  TFLog janela({"Linha: 1", "Tipo Erro: Dados inválidos"});

  janela.SalvaEm(dir.file("cheio.txt"));
  janela.SalvaEm(dir.file("Log.txt"));
  DefineGanchoCaixas(nullptr);

  ASSERT_EQ(caixas.size(), 1u);
  EXPECT_EQ(caixas[0].titulo, "Erro");
  EXPECT_EQ(caixas[0].texto, "Erro ao salvar arquivo.");
  EXPECT_EQ(testsupport::ReadBytes(dir.file("Log.txt")), "Linha: 1\r\nTipo Erro: Dados inv\xe1lidos\r\n");
}

}  // namespace
