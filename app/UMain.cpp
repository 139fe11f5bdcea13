#include "app/UMain.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "app/Figuras.h"
#include "app/Gauge.h"
#include "app/ULog.h"
#include "app/Utils.h"
#include "data/UDao.h"
#include "import/UCargaDescontos.h"
#include "import/UImportaDescontos.h"
#include "runtime/Failure.h"
#include "runtime/Paths.h"

namespace {

QFont Fonte(int pixels, bool negrito) {
  QFont fonte(QStringLiteral("MS Sans Serif"));
  fonte.setPixelSize(pixels);
  fonte.setBold(negrito);
  return fonte;
}

QFrame* Painel(QWidget* pai, const char* objeto, const QRect& lugar) {
  auto* painel = new QFrame(pai);
  painel->setObjectName(QString::fromLatin1(objeto));
  painel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  painel->setLineWidth(1);
  painel->setGeometry(lugar);
  return painel;
}

QPushButton* Botao(QWidget* pai, const char* objeto, const char* texto, const QRect& lugar) {
  auto* botao = new QPushButton(QString::fromUtf8(texto), pai);
  botao->setObjectName(QString::fromLatin1(objeto));
  botao->setGeometry(lugar);
  return botao;
}

}  // namespace

TFMain::TFMain() : QWidget(nullptr), regional_(runtime::Regional::FromSystemLocale()) {
  setObjectName(QStringLiteral("FMain"));
  setWindowTitle(QStringLiteral("Quiravel"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(Fonte(11, false));
  setFixedSize(489, 125);

  pnlCab = Painel(this, "pnlCab", QRect(0, 0, 489, 84));

  lblSelecaoArquivo = new QLabel(QStringLiteral("Selecione o arquivo:"), pnlCab);
  lblSelecaoArquivo->setObjectName(QStringLiteral("lblSelecaoArquivo"));
  lblSelecaoArquivo->setFont(Fonte(11, true));
  lblSelecaoArquivo->setGeometry(8, 8, 118, 13);

  EdArquivo = new QLineEdit(pnlCab);
  EdArquivo->setObjectName(QStringLiteral("EdArquivo"));
  EdArquivo->setReadOnly(true);
  QPalette faceDoBotao = EdArquivo->palette();
  faceDoBotao.setColor(QPalette::Base, faceDoBotao.color(QPalette::Button));
  EdArquivo->setPalette(faceDoBotao);
  EdArquivo->setGeometry(9, 24, 446, 21);

  btnSelArquivo = new QToolButton(pnlCab);
  btnSelArquivo->setObjectName(QStringLiteral("btnSelArquivo"));
  btnSelArquivo->setIcon(QIcon(FiguraPasta()));
  btnSelArquivo->setIconSize(QSize(14, 11));
  btnSelArquivo->setFocusPolicy(Qt::NoFocus);
  btnSelArquivo->setGeometry(458, 23, 25, 22);

  Bevel1 = new QFrame(pnlCab);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  Bevel1->setGeometry(9, 51, 473, 2);

  btnImportar = Botao(pnlCab, "btnImportar", "&Importar", QRect(161, 55, 75, 25));
  btnImportar->setEnabled(false);
  btnCancelar = Botao(pnlCab, "btnCancelar", "&Cancelar", QRect(241, 55, 75, 25));

  pnlRodape = Painel(this, "pnlRodape", QRect(0, 84, 489, 41));

  lblStatusImport = new QLabel(pnlRodape);
  lblStatusImport->setObjectName(QStringLiteral("lblStatusImport"));
  lblStatusImport->setFont(Fonte(9, true));
  lblStatusImport->setGeometry(16, 4, 0, 13);

  Progress = new TGauge(pnlRodape);
  Progress->setObjectName(QStringLiteral("Progress"));
  Progress->setEnabled(false);
  Progress->setGeometry(16, 20, 457, 17);

  setTabOrder(btnImportar, btnCancelar);
  setTabOrder(btnCancelar, EdArquivo);
  btnCancelar->setFocus();

  connect(btnSelArquivo, &QToolButton::clicked, this, [this] { ExecutaHandler([this] { btnSelArquivoClick(); }); });
  connect(btnImportar, &QPushButton::clicked, this, [this] { ExecutaHandler([this] { btnImportarClick(); }); });
  connect(btnCancelar, &QPushButton::clicked, this, [this] { ExecutaHandler([this] { btnCancelarClick(); }); });

  if (const QScreen* tela = QGuiApplication::primaryScreen())
    move(tela->availableGeometry().center() - rect().center());
}

TFMain::~TFMain() = default;

void TFMain::FormCreate() {
  if (ConectaBanco()) {
    AtualizaStatus("Aguardando seleção de arquivo...");
    return;
  }
  // Queued, so that it ends the event loop once it runs.
  QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
  throw runtime::SilentAbort();
}

bool TFMain::ConectaBanco() {
  try {
    const TConfiguracaoConexao config =
        TDao::LeConfiguracao(runtime::ExecutableFolder() + "sistema_qel.ini", "ip", false);
    dados_.oConexao = TDao::Conecta(config.servidor, config.banco, config.usuario, config.senha, config.porta);
    return true;
  } catch (const std::exception& e) {
    ::MsgErro(std::string("Erro ao conectar no banco de dados!\r\n") + e.what());
    return false;
  }
}

void TFMain::btnSelArquivoClick() { TCargaDescontos(dados_, *this, regional_).btnSelArquivoClick(); }

void TFMain::btnImportarClick() { TImportaDescontos(dados_, *this).btnImportarClick(); }

void TFMain::btnCancelarClick() { close(); }

void TFMain::AtualizaStatus(const std::string& texto) {
  lblStatusImport->setText(QString::fromStdString(texto));
  lblStatusImport->adjustSize();
  lblStatusImport->resize(lblStatusImport->width(), 13);
}

void TFMain::ProgressPosition(int32_t posicao) { Progress->SetPosition(posicao); }
void TFMain::ProgressMax(int32_t maximo) { Progress->SetMax(maximo); }
void TFMain::ProgressStepBy(int32_t passo) { Progress->StepBy(passo); }
void TFMain::ProgressEnabled(bool habilitado) { Progress->setEnabled(habilitado); }
void TFMain::ImportarEnabled(bool habilitado) { btnImportar->setEnabled(habilitado); }
void TFMain::EdArquivoText(const std::string& texto) { EdArquivo->setText(QString::fromStdString(texto)); }
void TFMain::ProcessaMensagens() { QCoreApplication::processEvents(); }

std::optional<std::string> TFMain::AbreArquivo(const std::string& descricaoFiltro, const std::string& padraoFiltro) {
  const QString filtro = QString::fromStdString(descricaoFiltro + " (" + padraoFiltro + ")");
  const QString caminho = QFileDialog::getOpenFileName(this, QString(), QString(), filtro);
  if (caminho.isEmpty()) return std::nullopt;
  return caminho.toStdString();
}

bool TFMain::Confirma(const std::string& texto) { return ::Confirma(texto); }
void TFMain::MsgErro(const std::string& texto) { ::MsgErro(texto); }
void TFMain::MsgInformacao(const std::string& texto) { ::MsgInformacao(texto); }
void TFMain::Exibir(const runtime::LineList& lista) { TFLog::Exibir(lista); }
