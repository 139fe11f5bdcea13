#include "bench/ProcessMemory.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace bench {
namespace {

int64_t StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.compare(0, key.size() + 1, key + ":") == 0) return std::stoll(line.substr(key.size() + 1));
  }
  throw std::runtime_error("/proc/self/status has no " + key);
}

}  // namespace

int64_t ResidentKb() { return StatusKb("VmRSS"); }
int64_t PeakResidentKb() { return StatusKb("VmHWM"); }

bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";  // 5: reset the high water mark (Linux 4.0 on)
  clear.close();
  return static_cast<bool>(clear);
}

}  // namespace bench
