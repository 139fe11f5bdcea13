// A QApplication around the whole test run, with the program's translations, as main() has.
#include <QApplication>

#include <gtest/gtest.h>

#include "app/Utils.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  CarregaTraducoes();
  return RUN_ALL_TESTS();
}
