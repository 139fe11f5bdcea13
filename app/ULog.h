#pragma once

#include <QDialog>
#include <QString>

#include <optional>
#include <string>

#include "runtime/LineList.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Writes the text in Windows-1252, byte for byte (no byte-order mark, no added line break),
// replacing an existing file; ".txt" is added to a file name without extension. Returns the
// path written. Throws runtime::Failure when the file cannot be created or written.
std::string GravaLog(const std::string& caminho, const std::string& texto);

// The error log window: the text form of a list in a read-only box, which can be saved.
class TFLog : public QDialog {
  Q_OBJECT

 public:
  // Shows the list's text form modally and returns once the window is closed.
  static void Exibir(const runtime::LineList& lista);

  explicit TFLog(const runtime::LineList& lista);

  void btnSalvarClick();
  void btnFecharClick();

  // The box's text with CR LF line breaks, as it is saved.
  std::string TextoMemo() const;
  // Saves the box's text; a failure shows "Erro ao salvar arquivo." and goes no further.
  void SalvaEm(const std::string& caminho);

 protected:
  void resizeEvent(QResizeEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  QLabel* Label1;
  QPlainTextEdit* oMemo;
  QFrame* Bevel1;
  QPushButton* btnSalvar;
  QPushButton* btnFechar;
  // The save dialog offers the executable's folder and "Log.txt" until a path is chosen.
  std::optional<QString> oUltimoCaminho;
};
