// A QApplication around the whole test run, with the program's translations, as main() has,
// and a watchdog that keeps any one test from waiting forever on a window.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/Utils.h"

namespace {

// A test still running after kLimiteMs fails, and every modal window open then or later
// (until the test ends) is closed, so a box or dialog that nobody answered ends its loop
// instead of holding the run until ctest's time-out.
class VigiaDeModais : public ::testing::EmptyTestEventListener {
 public:
  static constexpr int kLimiteMs = 30000;

  void OnTestStart(const ::testing::TestInfo&) override {
    estourou_ = false;
    timer_.start(kLimiteMs);
  }
  void OnTestEnd(const ::testing::TestInfo&) override { timer_.stop(); }

  VigiaDeModais() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (!estourou_) {
        estourou_ = true;
        ADD_FAILURE() << "the test ran past " << kLimiteMs / 1000
                      << " s; the watchdog closes every modal window still open";
        timer_.start(100);
      }
      // Bounded: a window that refuses to go must not turn the watchdog into the hang.
      for (int i = 0; i < 20; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) break;
        if (!modal->close()) modal->hide();
      }
    });
  }

 private:
  QTimer timer_;
  bool estourou_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  CarregaTraducoes();
  auto& ouvintes = ::testing::UnitTest::GetInstance()->listeners();
  auto* vigia = new VigiaDeModais;
  ouvintes.Append(vigia);
  const int resultado = RUN_ALL_TESTS();
  delete ouvintes.Release(vigia);  // its timer goes before the QApplication does
  return resultado;
}
