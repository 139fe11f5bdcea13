#pragma once

#include <QWidget>

#include <cstdint>

// The progress gauge: a one-pixel border, white ground and a black bar filling the whole
// percentage reached, no text. Minimum fixed at 0; its enabled state changes nothing on screen.
class TGauge : public QWidget {
 public:
  explicit TGauge(QWidget* parent = nullptr);

  // Limited to 0..maximum; repaints at once only when the whole percentage changes.
  void SetPosition(int32_t posicao);
  // Below 0 counts as 0; a position above the new maximum is lowered to it; repaints at once.
  void SetMax(int32_t maximo);
  // Limited as SetPosition; always repaints at once, so that progress shows while a
  // handler keeps the user-interface thread busy.
  void StepBy(int32_t passo);

  int32_t Position() const { return posicao_; }
  int32_t Max() const { return maximo_; }
  // trunc(position * 100 / maximum); 0 when the maximum is 0.
  int Percentage() const;
  // The bar's width in pixels at the gauge's current size.
  int BarWidth() const;
  // How often the gauge has been painted.
  int PaintCount() const { return pinturas_; }

 protected:
  void paintEvent(QPaintEvent* evento) override;

 private:
  void RepaintNow();

  int32_t posicao_ = 0;
  int32_t maximo_ = 100;
  int pinturas_ = 0;
  int larguraPintada_ = -1;
};
