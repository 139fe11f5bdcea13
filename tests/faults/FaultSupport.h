#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/TDadosDescontos.h"
#include "tests/support/FakeJanela.h"
#include "tests/support/TempDir.h"

namespace faults {

// The scripted window with two more hooks: one right after the file dialog has answered
// (before the file is read), one after every step of the gauge.
class Janela : public testsupport::FakeJanela {
 public:
  std::function<void(const std::string& arquivo)> aoEscolher;
  std::function<void(int32_t passos)> aoAvancar;

  std::optional<std::string> AbreArquivo(const std::string& descricao, const std::string& padrao) override;
  void ProgressStepBy(int32_t n) override;
};

// A discount file of the given lines (bytes as written in the file), ended by CR LF.
std::string DiscountFile(const testsupport::TempDir& dir, const std::vector<std::string>& lines,
                         const std::string& name = "descontos.csv");

// fornece and fabricantes rows (id, cgc, apagado 'N'); cgc is UTF-8 and written as hex, so
// no text of a test is ever read as SQL by the admin login either.
void AddSupplier(int32_t id, const std::string& cgc);
void AddManufacturer(int32_t id, const std::string& cgc);

// Every row of descfabric ordered by its key, each column as text ("NULL" for null).
std::vector<std::string> StoredDiscounts();

// The state a window keeps: one connection to the server the test support names.
TDadosDescontos ConnectedState();

// Error files (ARQERRO_QUIRAVEL_*.txt) in a folder, removed by RemoveErrorFiles.
std::vector<std::string> ErrorFiles(const std::string& folder);
void RemoveErrorFiles(const std::string& folder);

// The system's reason for an error number as it words it, in the process's locale.
std::string Reason(int error);

// Root passes every permission check. While this lives, the calling thread has no
// CAP_DAC_OVERRIDE nor CAP_DAC_READ_SEARCH in effect, so mode bits stop it as anyone.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride();
  ~WithoutPermissionOverride();
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

 private:
  uint32_t saved_[2][3] = {};
};

}  // namespace faults
