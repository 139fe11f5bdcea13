#include "app/UMain.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Gauge.h"
#include "app/Utils.h"
#include "data/UDao.h"
#include "tests/app/Modal.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestServer.h"

namespace {

using testsupport::FileBesideExecutable;

std::string Ini(const std::string& servidor, int32_t porta) {
  const testsupport::ServerInfo& s = testsupport::TestServer();
  return "[ip]\r\nlocal=" + servidor + "\r\ndatabase=" + s.database + "\r\nusuario=" + s.user +
         "\r\nPorta=" + std::to_string(porta) + "\r\nsenha=" + Embaralha("E", s.password, "KZQ") +
         "\r\n[FilialMatriz]\r\nCodLogica=7\r\n";
}

// Every box the window shows, as "<title>: <text>", answered Yes.
class JanelaPrincipal : public ::testing::Test {
 protected:
  void SetUp() override {
    DefineGanchoCaixas([this](const TCaixaMensagem& caixa) {
      caixas.push_back(caixa.titulo + ": " + caixa.texto);
      return true;
    });
  }
  void TearDown() override { DefineGanchoCaixas({}); }

  template <typename T>
  T* Controle(TFMain& janela, const char* nome) {
    T* controle = janela.findChild<T*>(nome);
    EXPECT_NE(controle, nullptr) << nome;
    return controle;
  }
  QString Status(TFMain& janela) { return Controle<QLabel>(janela, "lblStatusImport")->text(); }

  std::vector<std::string> caixas;
};

TEST_F(JanelaPrincipal, StartsConnectedAndWaitingForAFile) {
  FileBesideExecutable ini("sistema_qel.ini", Ini(testsupport::TestServer().host, testsupport::TestServer().port));
  TFMain janela;
  EXPECT_EQ(Status(janela), QString());
  ASSERT_TRUE(ExecutaHandler([&] { janela.FormCreate(); }));
  EXPECT_TRUE(caixas.empty());
  EXPECT_NE(janela.Dados().oConexao, nullptr);

  EXPECT_EQ(janela.windowTitle(), QStringLiteral("Quiravel"));
  EXPECT_EQ(janela.size(), QSize(489, 125));
  EXPECT_EQ(janela.minimumSize(), janela.maximumSize());
  EXPECT_FALSE(janela.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(janela.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(Status(janela), QStringLiteral("Aguardando seleção de arquivo..."));
  EXPECT_EQ(Controle<QLabel>(janela, "lblStatusImport")->height(), 13);
  EXPECT_FALSE(Controle<QPushButton>(janela, "btnImportar")->isEnabled());
  EXPECT_TRUE(Controle<QPushButton>(janela, "btnCancelar")->isEnabled());
  EXPECT_EQ(Controle<QToolButton>(janela, "btnSelArquivo")->focusPolicy(), Qt::NoFocus);
  auto* edArquivo = Controle<QLineEdit>(janela, "EdArquivo");
  EXPECT_TRUE(edArquivo->text().isEmpty());
  EXPECT_TRUE(edArquivo->isReadOnly());
  auto* gauge = Controle<TGauge>(janela, "Progress");
  EXPECT_EQ(gauge->Position(), 0);
  EXPECT_EQ(gauge->Max(), 100);
  EXPECT_FALSE(gauge->isEnabled());

  janela.show();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), Controle<QPushButton>(janela, "btnCancelar"));
  // Tab runs btnCancelar, EdArquivo and round again: btnImportar is disabled and the file
  // button takes no focus.
  for (QWidget* proximo : std::vector<QWidget*>{edArquivo, Controle<QPushButton>(janela, "btnCancelar")}) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &tab);
    EXPECT_EQ(QApplication::focusWidget(), proximo);
  }
  Controle<QPushButton>(janela, "btnCancelar")->click();
  EXPECT_FALSE(janela.isVisible());
}

TEST_F(JanelaPrincipal, AServerThatCannotBeReachedShowsOneBoxAndEndsTheProgram) {
  const int32_t porta = testsupport::ClosedPort();
  FileBesideExecutable ini("sistema_qel.ini", Ini("127.0.0.1", porta));
  TFMain janela;
  EXPECT_FALSE(ExecutaHandler([&] { janela.FormCreate(); }));
  // The reason's number after the host is the client library's; the rest is the window's.
  ASSERT_EQ(caixas.size(), 1u);
  const std::string esperado = "Erro: Erro ao conectar no banco de dados!\r\nCan't connect to MySQL server on '127.0.0.1' (";
  EXPECT_EQ(caixas[0].substr(0, esperado.size()), esperado);
  EXPECT_EQ(caixas[0].back(), ')');
  EXPECT_EQ(janela.Dados().oConexao, nullptr);
  EXPECT_EQ(Status(janela), QString());

  // The end was asked for before the event loop runs: it stops at once with status 1.
  QTimer salvaguarda;  // dies with the test, so it cannot end a later test's loop
  salvaguarda.setSingleShot(true);
  QObject::connect(&salvaguarda, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  salvaguarda.start(testapp::kEsperaJanelaMs);
  EXPECT_EQ(QApplication::exec(), 1);
  EXPECT_EQ(caixas.size(), 1u);
}

// The main window with the file dialog answered through its own seam: what the load asked
// for is kept, and `escolha` gives the answer. The real dialog's directory model fills in
// the background, at a moment no test should depend on.
class TFMainEscolhe : public TFMain {
 public:
  std::optional<std::string> AbreArquivo(const std::string& descricaoFiltro,
                                         const std::string& padraoFiltro) override {
    pedidos.push_back(descricaoFiltro + "|" + padraoFiltro);
    return escolha();
  }
  std::function<std::optional<std::string>()> escolha = [] { return std::nullopt; };
  std::vector<std::string> pedidos;
};

// A discount file of one good line, picked through the file dialog and then imported.
TEST_F(JanelaPrincipal, LoadsAFileThroughTheDialogAndImportsIt) {
  testsupport::CleanTables limpas;
  testsupport::Sql("insert into fornece values (12, '11.111.111/0001-11', 'N');"
                   "insert into fabricantes values (345, '22.222.222/0001-22', 'N')");
  testsupport::TempDir pasta;
  const std::string arquivo = pasta.file("descontos.csv");
  testsupport::WriteBytes(arquivo, "fornecedor;fabricante;desconto;validade\r\n"
                                   "11.111.111/0001-11;22.222.222/0001-22;10.5%;31/12/2099\r\n");
  FileBesideExecutable ini("sistema_qel.ini", Ini(testsupport::TestServer().host, testsupport::TestServer().port));
  TFMainEscolhe janela;
  ASSERT_TRUE(ExecutaHandler([&] { janela.FormCreate(); }));

  janela.escolha = [&] { return std::optional<std::string>(arquivo); };
  Controle<QToolButton>(janela, "btnSelArquivo")->click();
  EXPECT_EQ(janela.pedidos, std::vector<std::string>{"Arquivo Excel|*.csv"});
  EXPECT_EQ(Controle<QLineEdit>(janela, "EdArquivo")->text().toStdString(), arquivo);
  EXPECT_EQ(Status(janela), QStringLiteral("Descontos carregados! Aguardando importação..."));
  ASSERT_TRUE(Controle<QPushButton>(janela, "btnImportar")->isEnabled());
  EXPECT_TRUE(caixas.empty());

  Controle<QPushButton>(janela, "btnImportar")->click();
  EXPECT_EQ(caixas, std::vector<std::string>{
                        "Informação: Importação realizada com sucesso!\r\nTotal de descontos importados: 1"});
  EXPECT_EQ(Status(janela), QStringLiteral("Importação concluída!"));
  using Linha = std::vector<std::optional<std::string>>;
  EXPECT_EQ(testsupport::Rows("select fornece_id, fabricantes_id, desconto, validade, lojas_leram, apagado, "
                              "grupo_descfabric_id from descfabric"),
            (std::vector<Linha>{Linha{"12", "345", "10.5000", "2099-12-31", "7", "N", "0"}}));

  // Nothing is loaded now: the handler's own box, then its silent abort, which shows nothing.
  caixas.clear();
  Controle<QPushButton>(janela, "btnImportar")->click();
  EXPECT_EQ(caixas, std::vector<std::string>{"Erro: Não existem descontos a serem importados! Selecione o "
                                             "arquivo de descontos novamente."});
}

// The real dialog, opened by the real seam, offers the filter; cancelling empties the box.
TEST_F(JanelaPrincipal, TheFileDialogOffersCsvFilesAndACancelEmptiesTheFileBox) {
  FileBesideExecutable ini("sistema_qel.ini", Ini(testsupport::TestServer().host, testsupport::TestServer().port));
  TFMain janela;
  ASSERT_TRUE(ExecutaHandler([&] { janela.FormCreate(); }));
  janela.EdArquivoText("/anterior.csv");
  QStringList filtros;
  testapp::QuandoModal("the file-open dialog", [&](QWidget* modal) {
    if (auto* dialogo = qobject_cast<QFileDialog*>(modal)) {
      filtros = dialogo->nameFilters();
    } else {
      ADD_FAILURE() << "the modal window is no file dialog";
    }
    modal->close();
  });
  Controle<QToolButton>(janela, "btnSelArquivo")->click();
  EXPECT_EQ(filtros, QStringList{QStringLiteral("Arquivo Excel (*.csv)")});
  EXPECT_TRUE(Controle<QLineEdit>(janela, "EdArquivo")->text().isEmpty());
  EXPECT_EQ(Status(janela), QStringLiteral("Aguardando seleção de arquivo..."));
  EXPECT_TRUE(caixas.empty());
}

// A file that cannot be read leaves the handler and reaches the failure display.
TEST_F(JanelaPrincipal, AFailureLeavingAHandlerIsShownUnderTheProgramTitle) {
  FileBesideExecutable ini("sistema_qel.ini", Ini(testsupport::TestServer().host, testsupport::TestServer().port));
  TFMainEscolhe janela;
  ASSERT_TRUE(ExecutaHandler([&] { janela.FormCreate(); }));
  testsupport::TempDir pasta;
  const std::string sumido = pasta.file("sumido.csv");
  testsupport::WriteBytes(sumido, "x\r\n");
  janela.escolha = [&] {
    std::filesystem::remove(sumido);  // gone between the dialog and the read
    return std::optional<std::string>(sumido);
  };
  Controle<QToolButton>(janela, "btnSelArquivo")->click();
  ASSERT_EQ(caixas.size(), 1u);
  EXPECT_EQ(caixas[0], TituloPrograma() + ": Cannot open file \"" + sumido + "\". No such file or directory.");
  EXPECT_TRUE(janela.findChild<QPushButton*>("btnCancelar")->isEnabled());
}

}  // namespace
