#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace testapp {

// How long a helper waits for a window the code under test opens. The first file dialog
// of a fresh build on a busy machine (icons, fonts, the directory model) can take seconds.
inline constexpr int kEsperaJanelaMs = 20000;

// Runs `acao` on the next modal window once the code under test has opened it and waits
// in its loop; `acao` must close it. `esperado` names the window for the failure message
// when none has opened within kEsperaJanelaMs; the test's watchdog then closes whatever
// opens later, so nothing can be left waiting for an answer.
inline void QuandoModal(std::string esperado, std::function<void(QWidget*)> acao) {
  auto* timer = new QTimer;
  auto relogio = std::make_shared<QElapsedTimer>();
  relogio->start();
  QObject::connect(timer, &QTimer::timeout,
                   [timer, relogio, esperado = std::move(esperado), acao = std::move(acao)] {
                     QWidget* janela = QApplication::activeModalWidget();
                     if (!janela && relogio->elapsed() < kEsperaJanelaMs) return;
                     timer->stop();
                     timer->deleteLater();
                     if (janela) {
                       acao(janela);
                     } else {
                       ADD_FAILURE() << "waited " << kEsperaJanelaMs / 1000 << " s for " << esperado
                                     << " and no modal window opened";
                     }
                   });
  timer->start(10);
}

}  // namespace testapp
