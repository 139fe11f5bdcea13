// The one Qt part of the benchmark: the real gauge in a shown window.
#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdlib>

#include "app/Gauge.h"
#include "bench/Measurements.h"
#include "bench/QuietWindow.h"

namespace bench {
namespace {

// The quiet window with the main window's gauge wiring.
class GaugeWindow : public QuietWindow {
 public:
  explicit GaugeWindow(TGauge& gauge) : gauge_(gauge) {}
  void ProgressPosition(int32_t posicao) override { gauge_.SetPosition(posicao); }
  void ProgressMax(int32_t maximo) override { gauge_.SetMax(maximo); }
  void ProgressStepBy(int32_t passo) override { gauge_.StepBy(passo); }
  void ProgressEnabled(bool habilitado) override { gauge_.setEnabled(habilitado); }

 private:
  TGauge& gauge_;
};

// What the load does to the gauge: a maximum, then one advance per line.
int64_t AdvanceLoop(IJanelaDescontos& janela, int32_t steps) {
  const auto start = std::chrono::steady_clock::now();
  janela.ProgressEnabled(true);
  janela.ProgressPosition(0);
  janela.ProgressMax(steps);
  for (int32_t i = 0; i < steps; ++i) janela.ProgressStepBy(1);
  janela.ProgressPosition(0);
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

Figures MeasureGauge(int32_t steps) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int argc = 1;
  char name[] = "quiravel_bench";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  // The main window's footer, at the main window's size.
  QWidget window;
  window.resize(489, 125);
  TGauge gauge(&window);
  gauge.setGeometry(16, 104, 457, 17);
  window.show();
  for (int wait = 0; wait < 1000 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++wait)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  if (!window.windowHandle() || !window.windowHandle()->isExposed())
    throw std::runtime_error("the gauge's window was never shown");
  QApplication::processEvents();

  QuietWindow without;
  GaugeWindow with(gauge);
  const int paintsBefore = gauge.PaintCount();
  Figures figures;
  figures["without_ns"] = std::to_string(AdvanceLoop(without, steps));
  figures["with_ns"] = std::to_string(AdvanceLoop(with, steps));
  figures["paints"] = std::to_string(gauge.PaintCount() - paintsBefore);
  if (gauge.PaintCount() == paintsBefore) throw std::runtime_error("the gauge never painted: nothing was measured");
  return figures;
}

}  // namespace bench
