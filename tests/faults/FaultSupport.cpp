#include "tests/faults/FaultSupport.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "tests/support/TestServer.h"

namespace faults {
namespace {

std::string Hex(const std::string& bytes) {
  std::string hex;
  char digits[3];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", c);
    hex += digits;
  }
  return hex;
}

void AddRow(const std::string& table, int32_t id, const std::string& cgc) {
  testsupport::Sql("insert into " + table + " values (" + std::to_string(id) + ", " +
                   (cgc.empty() ? "''" : "X'" + Hex(cgc) + "'") + ", 'N')");
}

}  // namespace

std::optional<std::string> Janela::AbreArquivo(const std::string& descricao, const std::string& padrao) {
  std::optional<std::string> chosen = FakeJanela::AbreArquivo(descricao, padrao);
  if (chosen && aoEscolher) aoEscolher(*chosen);
  return chosen;
}

void Janela::ProgressStepBy(int32_t n) {
  FakeJanela::ProgressStepBy(n);
  if (aoAvancar) aoAvancar(passos);
}

std::string DiscountFile(const testsupport::TempDir& dir, const std::vector<std::string>& lines,
                         const std::string& name) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  testsupport::WriteBytes(dir.file(name), bytes);
  return dir.file(name);
}

void AddSupplier(int32_t id, const std::string& cgc) { AddRow("fornece", id, cgc); }
void AddManufacturer(int32_t id, const std::string& cgc) { AddRow("fabricantes", id, cgc); }

std::vector<std::string> StoredDiscounts() {
  std::vector<std::string> rows;
  for (const auto& row : testsupport::Rows("select * from descfabric order by fornece_id, fabricantes_id")) {
    std::string text;
    for (const auto& column : row) text += (text.empty() ? "" : "|") + column.value_or("NULL");
    rows.push_back(text);
  }
  return rows;
}

TDadosDescontos ConnectedState() {
  TDadosDescontos dados;
  dados.oConexao = testsupport::ConnectTest();
  return dados;
}

std::vector<std::string> ErrorFiles(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("ARQERRO_QUIRAVEL_")) found.push_back(entry.path().string());
  }
  return found;
}

void RemoveErrorFiles(const std::string& folder) {
  for (const std::string& path : ErrorFiles(folder)) std::filesystem::remove_all(path);
}

std::string Reason(int error) { return std::generic_category().message(error); }

WithoutPermissionOverride::WithoutPermissionOverride() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (syscall(SYS_capget, &header, data) != 0) throw std::runtime_error("capget failed");
  for (int i = 0; i < 2; ++i) {
    saved_[i][0] = data[i].effective;
    saved_[i][1] = data[i].permitted;
    saved_[i][2] = data[i].inheritable;
  }
  data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  if (syscall(SYS_capset, &header, data) != 0) throw std::runtime_error("capset failed");
}

WithoutPermissionOverride::~WithoutPermissionOverride() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  for (int i = 0; i < 2; ++i) data[i] = {saved_[i][0], saved_[i][1], saved_[i][2]};
  syscall(SYS_capset, &header, data);
}

}  // namespace faults
