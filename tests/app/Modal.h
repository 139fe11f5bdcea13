#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace testapp {

// Runs `acao` on the next modal window once the code under test has opened it and waits
// in its loop; `acao` must close it. Gives up (failing the test) after five seconds.
inline void QuandoModal(std::function<void(QWidget*)> acao) {
  auto* timer = new QTimer;
  auto relogio = std::make_shared<QElapsedTimer>();
  relogio->start();
  QObject::connect(timer, &QTimer::timeout, [timer, relogio, acao = std::move(acao)] {
    QWidget* janela = QApplication::activeModalWidget();
    if (!janela && relogio->elapsed() < 5000) return;
    timer->stop();
    timer->deleteLater();
    if (janela) {
      acao(janela);
    } else {
      ADD_FAILURE() << "no modal window opened";
    }
  });
  timer->start(10);
}

}  // namespace testapp
