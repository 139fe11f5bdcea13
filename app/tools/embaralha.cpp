// Prints a password scrambled as the settings file stores it (key "KZQ"), for scripts that
// write sistema_qel.ini.
#include <cstdio>
#include <exception>

#include "data/UDao.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: quiravel-embaralha PASSWORD\n", stderr);
    return 2;
  }
  try {
    std::puts(Embaralha("E", argv[1], "KZQ").c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quiravel-embaralha: %s\n", e.what());
    return 1;
  }
}
