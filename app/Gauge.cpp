#include "app/Gauge.h"

#include <QPainter>

#include <algorithm>

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
  // Every pixel is drawn by paintEvent: Qt need not clear the ground first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGauge::SetPosition(int32_t posicao) {
  const int antes = Percentage();
  posicao_ = std::clamp(posicao, 0, maximo_);
  if (Percentage() != antes) RepaintNow();
}

void TGauge::SetMax(int32_t maximo) {
  maximo_ = std::max(maximo, 0);
  posicao_ = std::min(posicao_, maximo_);
  RepaintNow();
}

void TGauge::StepBy(int32_t passo) {
  posicao_ = static_cast<int32_t>(std::clamp<int64_t>(int64_t{posicao_} + passo, 0, maximo_));
  RepaintNow();
}

int TGauge::Percentage() const {
  if (maximo_ == 0) return 0;
  // 64 bits: position * 100 leaves 32 bits from about 21 million lines on.
  return static_cast<int>(int64_t{posicao_} * 100 / maximo_);
}

int TGauge::BarWidth() const {
  const int interior = std::max(width() - 2, 0);
  return interior * Percentage() / 100;
}

// A repaint that would draw the same bar is invisible; skipping it keeps a load of a
// hundred thousand lines from spending its time painting.
void TGauge::RepaintNow() {
  if (BarWidth() != larguraPintada_) repaint();
}

void TGauge::paintEvent(QPaintEvent*) {
  ++pinturas_;
  larguraPintada_ = BarWidth();
  QPainter pintor(this);
  pintor.fillRect(rect(), Qt::black);
  const QRect interior = rect().adjusted(1, 1, -1, -1);
  pintor.fillRect(interior, Qt::white);
  pintor.fillRect(QRect(interior.topLeft(), QSize(larguraPintada_, interior.height())), Qt::black);
}
