#include "app/ULog.h"

#include <algorithm>

#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

#include "app/Figuras.h"
#include "app/Utils.h"
#include "runtime/Cp1252.h"
#include "runtime/Paths.h"
#include "runtime/TextFile.h"

namespace {

constexpr QSize kTamanhoProjeto(564, 279);  // client area at design size
constexpr QRect kMemo(5, 32, 561, 213);
constexpr QRect kBevel(5, 247, 561, 3);
constexpr QRect kSalvar(407, 252, 75, 25);
constexpr QRect kFechar(487, 252, 75, 25);

QFont Fonte(const char* familia, int pixels) {
  QFont fonte(QString::fromLatin1(familia));
  fonte.setPixelSize(pixels);
  return fonte;
}

QPushButton* Botao(QWidget* pai, const char* objeto, const char* texto, const QPixmap& figura) {
  auto* botao = new QPushButton(QIcon(figura), QString::fromUtf8(texto), pai);
  botao->setObjectName(QString::fromLatin1(objeto));
  botao->setIconSize(QSize(16, 16));
  // No default button: Enter presses only the button that has the focus.
  botao->setAutoDefault(false);
  botao->setDefault(false);
  return botao;
}

}  // namespace

std::string GravaLog(const std::string& caminho, const std::string& texto) {
  std::string destino = caminho;
  const auto inicioNome = destino.find_last_of(runtime::kFolderSeparators);
  const std::string_view nome =
      std::string_view(destino).substr(inicioNome == std::string::npos ? 0 : inicioNome + 1);
  if (nome.find('.') == std::string_view::npos) destino += ".txt";
  runtime::WriteFileBytes(destino, runtime::Utf8ToCp1252(texto));
  return destino;
}

void TFLog::Exibir(const runtime::LineList& lista) {
  TFLog janela(lista);
  janela.exec();
}

TFLog::TFLog(const runtime::LineList& lista) : QDialog(nullptr) {
  setObjectName(QStringLiteral("FLog"));
  setWindowTitle(QStringLiteral("  Log de Erros"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(IconeLog());
  setFont(Fonte("MS Sans Serif", 11));

  Label1 = new QLabel(QStringLiteral("Log de Erros"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont titulo = Fonte("Arial", 24);
  titulo.setBold(true);
  titulo.setItalic(true);
  Label1->setFont(titulo);
  // A substitute for Arial may run wider; the title must not be cut off.
  Label1->setGeometry(5, 3, std::max(146, Label1->sizeHint().width()), 28);

  oMemo = new QPlainTextEdit(this);
  oMemo->setObjectName(QStringLiteral("oMemo"));
  oMemo->setFont(Fonte("Courier New", 11));
  oMemo->setReadOnly(true);
  oMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  oMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  oMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  oMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  oMemo->setTabChangesFocus(true);
  oMemo->setPlainText(QString::fromStdString(runtime::TextOf(lista)));

  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);

  btnSalvar = Botao(this, "btnSalvar", "&Salvar", FiguraDisquete());
  btnFechar = Botao(this, "btnFechar", "&Fechar", FiguraPorta());
  connect(btnSalvar, &QPushButton::clicked, this, [this] { ExecutaHandler([this] { btnSalvarClick(); }); });
  connect(btnFechar, &QPushButton::clicked, this, [this] { ExecutaHandler([this] { btnFecharClick(); }); });

  setTabOrder(oMemo, btnFechar);
  setTabOrder(btnFechar, btnSalvar);
  resize(kTamanhoProjeto);
  oMemo->setFocus();
}

void TFLog::btnFecharClick() { close(); }

void TFLog::btnSalvarClick() {
  QFileDialog oSave(this);
  oSave.setAcceptMode(QFileDialog::AcceptSave);
  oSave.setNameFilter(QStringLiteral("(*.txt)"));
  oSave.setDefaultSuffix(QStringLiteral("txt"));
  oSave.setOption(QFileDialog::DontConfirmOverwrite);
  if (oUltimoCaminho) {
    oSave.selectFile(*oUltimoCaminho);
  } else {
    oSave.setDirectory(QString::fromStdString(runtime::ExecutableFolder()));
    oSave.selectFile(QStringLiteral("Log.txt"));
  }
  if (oSave.exec() != QDialog::Accepted || oSave.selectedFiles().isEmpty()) return;
  oUltimoCaminho = oSave.selectedFiles().constFirst();
  SalvaEm(oUltimoCaminho->toStdString());
}

std::string TFLog::TextoMemo() const {
  // The raw text, not toPlainText(): that one turns a no-break space into a plain one.
  QString texto = oMemo->document()->toRawText();
  texto.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  return texto.toStdString();
}

void TFLog::SalvaEm(const std::string& caminho) {
  try {
    GravaLog(caminho, TextoMemo());
  } catch (const std::exception&) {
    MsgErro("Erro ao salvar arquivo.");
  }
}

// Anchors: the text box grows with the window, the line stretches along the bottom, the
// buttons keep the lower right corner.
void TFLog::resizeEvent(QResizeEvent* evento) {
  QDialog::resizeEvent(evento);
  const int dx = width() - kTamanhoProjeto.width();
  const int dy = height() - kTamanhoProjeto.height();
  oMemo->setGeometry(kMemo.x(), kMemo.y(), std::max(kMemo.width() + dx, 0), std::max(kMemo.height() + dy, 0));
  Bevel1->setGeometry(kBevel.x(), kBevel.y() + dy, std::max(kBevel.width() + dx, 0), kBevel.height());
  btnSalvar->setGeometry(kSalvar.translated(dx, dy));
  btnFechar->setGeometry(kFechar.translated(dx, dy));
}

// Esc must not close the log: the window has no cancel button.
void TFLog::keyPressEvent(QKeyEvent* evento) {
  if (evento->key() == Qt::Key_Escape) {
    evento->accept();
    return;
  }
  QDialog::keyPressEvent(evento);
}
