#include <QApplication>
#include <QFont>

#include <cstdio>
#include <cstdlib>

#include "app/UMain.h"
#include "app/Utils.h"

namespace {

// Without a display Qt would abort with a message about platform plugins.
bool TemTela() {
  for (const char* variavel : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* valor = std::getenv(variavel);
    if (valor && *valor) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!TemTela()) {
    std::fputs("Quiravel: nenhuma tela gráfica disponível (DISPLAY e WAYLAND_DISPLAY não estão definidos).\n",
               stderr);
    return 1;
  }
  QApplication app(argc, argv);
  // The fonts the windows were drawn for rarely exist here; these keep their metrics.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("Arial"), QStringLiteral("Nimbus Sans")});
  QCoreApplication::setApplicationName(QString::fromStdString(TituloPrograma()));
  CarregaTraducoes();

  TFMain FMain;
  if (ExecutaHandler([&FMain] { FMain.FormCreate(); })) FMain.show();
  return QApplication::exec();
}
