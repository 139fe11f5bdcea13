#include "app/ULog.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Utils.h"
#include "runtime/Failure.h"
#include "runtime/Paths.h"
#include "tests/app/Modal.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;

QPlainTextEdit* Memo(TFLog& janela) { return janela.findChild<QPlainTextEdit*>("oMemo"); }

TEST(TFLog, ShowsEveryItemAsItsOwnLines) {
  struct Caso {
    std::string nome;
    runtime::LineList lista;
    QString mostrado;
    std::string salvo;
  } casos[] = {
      {"empty list", {}, "", ""},
      {"two words", {"um", "dois"}, "um\ndois\n", "um\r\ndois\r\n"},
      {"an entry and its separator",
       {"Linha: 1\r\nTipo Erro: Dados inválidos\r\n", "", "Linha: 2\r\n"},
       "Linha: 1\nTipo Erro: Dados inválidos\n\n\nLinha: 2\n\n",
       "Linha: 1\r\nTipo Erro: Dados inválidos\r\n\r\n\r\nLinha: 2\r\n\r\n"},
      {"no-break space kept", {"12\u00A0345"}, "12\u00A0345\n", "12\u00A0345\r\n"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    TFLog janela(caso.lista);
    // toPlainText() would turn the no-break space into a plain one.
    EXPECT_EQ(Memo(janela)->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')),
              caso.mostrado);
    EXPECT_EQ(janela.TextoMemo(), caso.salvo);
  }
}

TEST(TFLog, IsAReadOnlyUnwrappedBoxWithBothScrollBars) {
  TFLog janela({std::string(300, 'x')});
  EXPECT_EQ(janela.windowTitle(), QStringLiteral("  Log de Erros"));
  EXPECT_EQ(janela.size(), QSize(564, 279));
  EXPECT_TRUE(janela.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(janela.windowFlags() & Qt::WindowMinimizeButtonHint);
  QPlainTextEdit* memo = Memo(janela);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_TRUE(memo->textInteractionFlags() & Qt::TextSelectableByKeyboard);
  EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  janela.show();
  QApplication::processEvents();
  EXPECT_EQ(memo->document()->blockCount(), 2);
  EXPECT_GT(memo->horizontalScrollBar()->maximum(), 0);
  for (const char* nome : {"btnSalvar", "btnFechar"}) {
    SCOPED_TRACE(nome);
    auto* botao = janela.findChild<QPushButton*>(nome);
    EXPECT_FALSE(botao->isDefault());
    EXPECT_FALSE(botao->autoDefault());
  }
}

TEST(TFLog, EscapeDoesNotCloseIt) {
  TFLog janela({"a"});
  janela.show();
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&janela, &esc);
  EXPECT_TRUE(janela.isVisible());
}

TEST(TFLog, ResizingStretchesTheBoxAndKeepsTheButtonsInTheCorner) {
  TFLog janela({"a"});
  janela.resize(800, 500);
  janela.show();
  QApplication::processEvents();
  EXPECT_EQ(Memo(janela)->geometry(), QRect(5, 32, 561 + 236, 213 + 221));
  EXPECT_EQ(janela.findChild<QFrame*>("Bevel1")->geometry(), QRect(5, 247 + 221, 561 + 236, 3));
  EXPECT_EQ(janela.findChild<QPushButton*>("btnSalvar")->geometry(), QRect(407 + 236, 252 + 221, 75, 25));
  EXPECT_EQ(janela.findChild<QPushButton*>("btnFechar")->geometry(), QRect(487 + 236, 252 + 221, 75, 25));
}

TEST(TFLog, ExibirShowsTheListModallyAndReturnsOnceClosed) {
  QString mostrado;
  bool modal = false;
  testapp::QuandoModal("the log window", [&](QWidget* janela) {
    modal = janela->isModal();
    if (auto* memo = janela->findChild<QPlainTextEdit*>("oMemo")) mostrado = memo->toPlainText();
    if (auto* fechar = janela->findChild<QPushButton*>("btnFechar")) fechar->click();
  });
  TFLog::Exibir({"Linha: 3", "", "Linha: 4"});
  EXPECT_TRUE(modal);
  EXPECT_EQ(mostrado, QStringLiteral("Linha: 3\n\nLinha: 4\n"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(GravaLog, WritesWindows1252BytesAsGiven) {
  TempDir pasta;
  struct Caso {
    std::string nome, texto, bytes;
  } casos[] = {
      {"vazio.txt", "", ""},
      {"dois.txt", "um\r\ndois\r\n", "um\r\ndois\r\n"},
      {"acentos.txt", "Fornecedor não encontrado\r\n", "Fornecedor n\xE3o encontrado\r\n"},
      {"sem-quebra.txt", "fim", "fim"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const std::string caminho = pasta.file(caso.nome);
    EXPECT_EQ(GravaLog(caminho, caso.texto), caminho);
    EXPECT_EQ(ReadBytes(caminho), caso.bytes);
  }
}

TEST(GravaLog, AddsTxtToANameWithoutExtensionOnly) {
  TempDir pasta;
  struct Caso {
    std::string nome, gravado;
  } casos[] = {
      {"relatorio", "relatorio.txt"},
      {"relatorio.log", "relatorio.log"},
      {"relatorio.txt", "relatorio.txt"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(GravaLog(pasta.file(caso.nome), "x"), pasta.file(caso.gravado));
    EXPECT_EQ(ReadBytes(pasta.file(caso.gravado)), "x");
  }
  std::filesystem::create_directory(pasta.path() / "pasta.v2");
  EXPECT_EQ(GravaLog(pasta.file("pasta.v2/log"), "y"), pasta.file("pasta.v2/log.txt"));
}

TEST(GravaLog, ReplacesAnExistingFile) {
  TempDir pasta;
  const std::string caminho = pasta.file("Log.txt");
  testsupport::WriteBytes(caminho, std::string(1000, 'z'));
  GravaLog(caminho, "novo\r\n");
  EXPECT_EQ(ReadBytes(caminho), "novo\r\n");
}

class CaixasGravadas : public ::testing::Test {
 protected:
  void SetUp() override {
    DefineGanchoCaixas([this](const TCaixaMensagem& caixa) {
      caixas.push_back(caixa.titulo + ": " + caixa.texto);
      return true;
    });
  }
  void TearDown() override { DefineGanchoCaixas({}); }
  std::vector<std::string> caixas;
};

TEST_F(CaixasGravadas, SaveFailureShowsOneBoxAndGoesNoFurther) {
  TempDir pasta;
  std::filesystem::create_symlink("/dev/full", pasta.path() / "cheio.txt");
  std::filesystem::create_directory(pasta.path() / "pasta.txt");
  TFLog janela({"erro"});
  for (const std::string& caminho : {pasta.file("nao-existe/Log.txt"), pasta.file("cheio.txt"), pasta.file("pasta.txt")}) {
    SCOPED_TRACE(caminho);
    caixas.clear();
    EXPECT_THROW(GravaLog(caminho, "erro\r\n"), runtime::Failure);
    EXPECT_NO_THROW(janela.SalvaEm(caminho));
    EXPECT_EQ(caixas, std::vector<std::string>{"Erro: Erro ao salvar arquivo."});
  }
  caixas.clear();
  janela.SalvaEm(pasta.file("bom.txt"));
  EXPECT_TRUE(caixas.empty());
  EXPECT_EQ(ReadBytes(pasta.file("bom.txt")), "erro\r\n");
}

// What the save dialog offered when it opened.
struct DialogoVisto {
  QString pasta, nome, filtro, sufixo;
  bool perguntaSobrescrever = true;
};

// Answers the next save dialog: records it, then saves under `caminho` (empty: cancels).
void RespondeSalvar(DialogoVisto& visto, const QString& caminho) {
  testapp::QuandoModal("the save dialog", [&visto, caminho](QWidget* janela) {
    auto* dialogo = qobject_cast<QFileDialog*>(janela);
    if (!dialogo) {
      ADD_FAILURE() << "the modal window is no file dialog";
      janela->close();
      return;
    }
    visto.pasta = dialogo->directory().absolutePath();
    visto.nome = dialogo->selectedFiles().value(0).section(QLatin1Char('/'), -1);
    visto.filtro = dialogo->nameFilters().join(QLatin1Char('|'));
    visto.sufixo = dialogo->defaultSuffix();
    visto.perguntaSobrescrever = !dialogo->testOption(QFileDialog::DontConfirmOverwrite);
    if (caminho.isEmpty()) {
      dialogo->reject();
      return;
    }
    // Typed into the name box, as an operator would: selectFile() leaves the box alone once
    // it has the focus, and when it gets the focus depends on when the dialog is activated.
    auto* nome = dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!nome) {
      ADD_FAILURE() << "the save dialog has no name box";
      dialogo->reject();
      return;
    }
    nome->setText(caminho);
    QMetaObject::invokeMethod(dialogo, "accept");
  });
}

TEST(TFLogSalvar, OffersLogTxtBesideTheProgramThenTheLastPathChosen) {
  TempDir pasta;
  const QString destino = QString::fromStdString(pasta.file("erros"));
  TFLog janela({"a", "b"});

  DialogoVisto primeiro;
  RespondeSalvar(primeiro, destino);
  janela.btnSalvarClick();
  EXPECT_EQ(primeiro.pasta + "/", QString::fromStdString(runtime::ExecutableFolder()));
  EXPECT_EQ(primeiro.nome, QStringLiteral("Log.txt"));
  EXPECT_EQ(primeiro.filtro, QStringLiteral("(*.txt)"));
  EXPECT_EQ(primeiro.sufixo, QStringLiteral("txt"));
  EXPECT_FALSE(primeiro.perguntaSobrescrever);
  EXPECT_EQ(ReadBytes(pasta.file("erros.txt")), "a\r\nb\r\n");

  DialogoVisto segundo;
  RespondeSalvar(segundo, QString());
  janela.btnSalvarClick();
  EXPECT_EQ(segundo.pasta, QString::fromStdString(pasta.path().string()));
  EXPECT_EQ(segundo.nome, QStringLiteral("erros.txt"));

  TFLog outra({"c"});
  DialogoVisto novo;
  RespondeSalvar(novo, QString());
  outra.btnSalvarClick();
  EXPECT_EQ(novo.nome, QStringLiteral("Log.txt"));
  EXPECT_FALSE(std::filesystem::exists(runtime::ExecutableFolder() + "Log.txt"));
}

}  // namespace
