#pragma once

#include <QWidget>

#include <optional>
#include <string>

#include "import/IJanelaDescontos.h"
#include "import/TDadosDescontos.h"
#include "runtime/Regional.h"

class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;
class QPushButton;
class TGauge;

// The main window: owns the connection and the loaded discounts, and gives the loading and
// the import run its status line, gauge, buttons and dialogs.
class TFMain : public QWidget, public IJanelaDescontos {
  Q_OBJECT

 public:
  TFMain();
  ~TFMain() override;

  // Connects and waits for a file. When the connection fails the operator has seen its box:
  // asks the event loop to end the program (exit status 1) and throws runtime::SilentAbort.
  void FormCreate();
  // True when the connection is open and kept; false after the error box.
  bool ConectaBanco();

  void btnSelArquivoClick();
  void btnImportarClick();
  void btnCancelarClick();

  const TDadosDescontos& Dados() const { return dados_; }

  void AtualizaStatus(const std::string& texto) override;
  void ProgressPosition(int32_t posicao) override;
  void ProgressMax(int32_t maximo) override;
  void ProgressStepBy(int32_t passo) override;
  void ProgressEnabled(bool habilitado) override;
  void ImportarEnabled(bool habilitado) override;
  void EdArquivoText(const std::string& texto) override;
  void ProcessaMensagens() override;
  std::optional<std::string> AbreArquivo(const std::string& descricaoFiltro,
                                         const std::string& padraoFiltro) override;
  bool Confirma(const std::string& texto) override;
  void MsgErro(const std::string& texto) override;
  void MsgInformacao(const std::string& texto) override;
  void Exibir(const runtime::LineList& lista) override;

 private:
  TDadosDescontos dados_;
  const runtime::Regional regional_;

  QFrame* pnlCab;
  QLabel* lblSelecaoArquivo;
  QLineEdit* EdArquivo;
  QToolButton* btnSelArquivo;
  QFrame* Bevel1;
  QPushButton* btnImportar;
  QPushButton* btnCancelar;
  QFrame* pnlRodape;
  QLabel* lblStatusImport;
  TGauge* Progress;
};
