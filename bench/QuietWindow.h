#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "import/IJanelaDescontos.h"

namespace bench {

// A main window that shows nothing and answers No: the dialog gives the file to load, and
// the boxes are only kept so a run that went wrong can say why.
class QuietWindow : public IJanelaDescontos {
 public:
  explicit QuietWindow(std::string arquivo = "") : arquivo_(std::move(arquivo)) {}

  std::vector<std::string> erros;  // texts of MsgErro, in order

  void AtualizaStatus(const std::string&) override {}
  void ProgressPosition(int32_t) override {}
  void ProgressMax(int32_t) override {}
  void ProgressStepBy(int32_t) override {}
  void ProgressEnabled(bool) override {}
  void ImportarEnabled(bool) override {}
  void EdArquivoText(const std::string&) override {}
  void ProcessaMensagens() override {}
  std::optional<std::string> AbreArquivo(const std::string&, const std::string&) override { return arquivo_; }
  bool Confirma(const std::string&) override { return false; }
  void MsgErro(const std::string& texto) override { erros.push_back(texto); }
  void MsgInformacao(const std::string&) override {}
  void Exibir(const runtime::LineList&) override {}

 private:
  std::string arquivo_;
};

}  // namespace bench
