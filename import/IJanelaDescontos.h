#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/LineList.h"

// What the loading and the import run may do with the main window. The window implements
// it; tests replace it with a scripted fake, so no test needs a person or a modal box.
class IJanelaDescontos {
 public:
  virtual ~IJanelaDescontos() = default;

  virtual void AtualizaStatus(const std::string& texto) = 0;

  // The progress gauge: position and maximum clamp as the window's gauge does.
  virtual void ProgressPosition(int32_t posicao) = 0;
  virtual void ProgressMax(int32_t maximo) = 0;
  virtual void ProgressStepBy(int32_t passo) = 0;
  virtual void ProgressEnabled(bool habilitado) = 0;

  virtual void ImportarEnabled(bool habilitado) = 0;
  virtual void EdArquivoText(const std::string& texto) = 0;

  // Lets the event loop handle the messages already waiting, once.
  virtual void ProcessaMensagens() = 0;

  // The file-open dialog with one filter; the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> AbreArquivo(const std::string& descricaoFiltro,
                                                 const std::string& padraoFiltro) = 0;

  virtual bool Confirma(const std::string& texto) = 0;
  virtual void MsgErro(const std::string& texto) = 0;
  virtual void MsgInformacao(const std::string& texto) = 0;

  // The error log window, modal; returns once it is closed.
  virtual void Exibir(const runtime::LineList& lista) = 0;
};
