#include "app/Utils.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <utility>

#include "runtime/Failure.h"
#include "runtime/Paths.h"

namespace {

TGanchoCaixas& Gancho() {
  static TGanchoCaixas gancho;
  return gancho;
}

QMessageBox::Icon IconeQt(TIconeCaixa icone) {
  switch (icone) {
    case TIconeCaixa::Pergunta: return QMessageBox::Question;
    case TIconeCaixa::Erro: return QMessageBox::Critical;
    case TIconeCaixa::Informacao: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// A QLabel would read "<" as the start of rich text and ignores CR, so the text goes in as
// plain text with every line break made a LF.
QString TextoDaCaixa(const std::string& texto) {
  QString q = QString::fromStdString(texto);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return q;
}

bool MostraCaixa(const TCaixaMensagem& caixa) {
  if (Gancho()) return Gancho()(caixa);
  QMessageBox::StandardButtons botoes = caixa.simNao ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
  QMessageBox box(IconeQt(caixa.icone), QString::fromStdString(caixa.titulo), TextoDaCaixa(caixa.texto), botoes,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  if (caixa.simNao) box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool Confirma(const std::string& texto) {
  return MostraCaixa({"Confirmação", texto, TIconeCaixa::Pergunta, true});
}

void MsgErro(const std::string& texto) { MostraCaixa({"Erro", texto, TIconeCaixa::Erro, false}); }

void MsgInformacao(const std::string& texto) {
  MostraCaixa({"Informação", texto, TIconeCaixa::Informacao, false});
}

void DefineGanchoCaixas(TGanchoCaixas gancho) { Gancho() = std::move(gancho); }

std::string TituloPrograma(std::string_view caminhoExecutavel) {
  std::string_view nome = caminhoExecutavel;
  if (auto separador = nome.find_last_of(runtime::kFolderSeparators); separador != std::string_view::npos)
    nome.remove_prefix(separador + 1);
  if (auto ponto = nome.rfind('.'); ponto != std::string_view::npos) nome = nome.substr(0, ponto);
  const QString q = QString::fromUtf8(nome.data(), static_cast<qsizetype>(nome.size()));
  if (q.isEmpty()) return {};
  // Lowering a whole code point, not a byte, keeps an accented name valid UTF-8.
  const qsizetype primeiro = q.at(0).isHighSurrogate() && q.size() > 1 ? 2 : 1;
  return (q.left(primeiro) + q.mid(primeiro).toLower()).toStdString();
}

std::string TituloPrograma() { return TituloPrograma(runtime::ExecutablePath()); }

std::string TextoFalha(std::string_view mensagem) {
  std::string texto(mensagem);
  if (!texto.empty() && static_cast<unsigned char>(texto.back()) > static_cast<unsigned char>('.')) texto += '.';
  return texto;
}

void ExibeFalha(std::exception_ptr falha) {
  std::string mensagem;
  try {
    std::rethrow_exception(falha);
  } catch (const runtime::SilentAbort&) {
    return;
  } catch (const std::exception& e) {
    mensagem = e.what();
  } catch (...) {
    // A failure without a message still gets its box: the operator must see that the
    // handler stopped.
  }
  MostraCaixa({TituloPrograma(), TextoFalha(mensagem), TIconeCaixa::Erro, false});
}

bool ExecutaHandler(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (...) {
    ExibeFalha(std::current_exception());
    return false;
  }
}

bool CarregaTraducoes() {
  static QTranslator traducao;
  return traducao.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
         QCoreApplication::installTranslator(&traducao);
}
