#include "app/Gauge.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

TEST(Gauge, StartsEmptyWithMaximumHundred) {
  TGauge gauge;
  EXPECT_EQ(gauge.Position(), 0);
  EXPECT_EQ(gauge.Max(), 100);
  EXPECT_EQ(gauge.Percentage(), 0);
}

TEST(Gauge, PositionStaysWithinZeroAndMaximum) {
  using Passo = std::function<void(TGauge&)>;
  struct Caso {
    std::string nome;
    std::vector<Passo> passos;
    int32_t posicao, maximo;
    int percentual;
  } casos[] = {
      {"position within", {[](TGauge& g) { g.SetPosition(42); }}, 42, 100, 42},
      {"position below 0", {[](TGauge& g) { g.SetPosition(-5); }}, 0, 100, 0},
      {"position above maximum", {[](TGauge& g) { g.SetPosition(150); }}, 100, 100, 100},
      {"advance past maximum", {[](TGauge& g) { g.SetPosition(99); }, [](TGauge& g) { g.StepBy(5); }}, 100, 100, 100},
      {"advance below 0", {[](TGauge& g) { g.StepBy(-3); }}, 0, 100, 0},
      {"advance without overflow", {[](TGauge& g) { g.SetMax(INT32_MAX); }, [](TGauge& g) { g.SetPosition(INT32_MAX - 1); },
                                    [](TGauge& g) { g.StepBy(INT32_MAX); }}, INT32_MAX, INT32_MAX, 100},
      {"maximum lowers the position", {[](TGauge& g) { g.SetPosition(80); }, [](TGauge& g) { g.SetMax(30); }}, 30, 30, 100},
      {"maximum above keeps it", {[](TGauge& g) { g.SetPosition(80); }, [](TGauge& g) { g.SetMax(400); }}, 80, 400, 20},
      {"negative maximum counts as 0", {[](TGauge& g) { g.SetPosition(10); }, [](TGauge& g) { g.SetMax(-1); }}, 0, 0, 0},
      {"maximum 0 is empty", {[](TGauge& g) { g.SetMax(0); }, [](TGauge& g) { g.StepBy(1); }}, 0, 0, 0},
      {"percentage truncates", {[](TGauge& g) { g.SetMax(3); }, [](TGauge& g) { g.SetPosition(2); }}, 2, 3, 66},
      {"large counts", {[](TGauge& g) { g.SetMax(100000); }, [](TGauge& g) { g.SetPosition(99999); }}, 99999, 100000, 99},
      {"position * 100 past 32 bits", {[](TGauge& g) { g.SetMax(2000000000); }, [](TGauge& g) { g.SetPosition(1500000000); }},
       1500000000, 2000000000, 75},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    TGauge gauge;
    for (const auto& passo : caso.passos) passo(gauge);
    EXPECT_EQ(gauge.Position(), caso.posicao);
    EXPECT_EQ(gauge.Max(), caso.maximo);
    EXPECT_EQ(gauge.Percentage(), caso.percentual);
  }
}

// A gauge on screen at the main window's size: 455 pixels inside its border.
class GaugeVisivel : public ::testing::Test {
 protected:
  void SetUp() override {
    gauge.resize(457, 17);
    gauge.show();
    QApplication::processEvents();
    pinturas = gauge.PaintCount();
  }
  int NovasPinturas() {
    const int novas = gauge.PaintCount() - pinturas;
    pinturas = gauge.PaintCount();
    return novas;
  }
  TGauge gauge;
  int pinturas = 0;
};

TEST_F(GaugeVisivel, SetPositionRepaintsAtOnceOnlyWhenThePercentageChanges) {
  gauge.SetMax(1000);
  NovasPinturas();
  gauge.SetPosition(5);  // still 0 %
  EXPECT_EQ(NovasPinturas(), 0);
  gauge.SetPosition(10);  // 1 %
  EXPECT_EQ(NovasPinturas(), 1);
  EXPECT_EQ(gauge.BarWidth(), 4);
  gauge.SetPosition(19);  // still 1 %
  EXPECT_EQ(NovasPinturas(), 0);
  gauge.SetPosition(500);
  EXPECT_EQ(NovasPinturas(), 1);
  EXPECT_EQ(gauge.BarWidth(), 227);
}

TEST_F(GaugeVisivel, AdvanceAndMaximumRepaintAtOnce) {
  gauge.StepBy(1);
  EXPECT_EQ(NovasPinturas(), 1);
  gauge.StepBy(1);
  EXPECT_EQ(NovasPinturas(), 1);
  gauge.SetMax(4);  // 2 of 4
  EXPECT_EQ(NovasPinturas(), 1);
  EXPECT_EQ(gauge.BarWidth(), 227);
  gauge.StepBy(10);
  EXPECT_EQ(NovasPinturas(), 1);
  EXPECT_EQ(gauge.BarWidth(), 455);
}

TEST_F(GaugeVisivel, ARepaintThatDrawsTheSameBarIsSkipped) {
  gauge.SetMax(100000);
  NovasPinturas();
  for (int i = 0; i < 100000; ++i) gauge.StepBy(1);
  // One paint per pixel column the bar grows by, not one per step.
  EXPECT_LE(NovasPinturas(), 455);
  EXPECT_EQ(gauge.BarWidth(), 455);
}

// Counts the black pixels on the middle row inside the border.
int PixelsPretos(const QImage& imagem) {
  int pretos = 0;
  for (int x = 1; x < imagem.width() - 1; ++x) pretos += imagem.pixelColor(x, imagem.height() / 2) == Qt::black;
  return pretos;
}

TEST_F(GaugeVisivel, DrawsABlackBarOnWhiteInsideABorderWhateverItsEnabledState) {
  gauge.SetPosition(50);
  const QImage habilitado = gauge.grab().toImage();
  EXPECT_EQ(habilitado.pixelColor(0, 8), QColor(Qt::black));
  EXPECT_EQ(habilitado.pixelColor(1, 8), QColor(Qt::black));
  EXPECT_EQ(habilitado.pixelColor(455, 8), QColor(Qt::white));
  EXPECT_EQ(PixelsPretos(habilitado), 227);
  gauge.setEnabled(false);
  EXPECT_EQ(gauge.grab().toImage(), habilitado);

  gauge.SetMax(0);
  EXPECT_EQ(PixelsPretos(gauge.grab().toImage()), 0);
}

}  // namespace
