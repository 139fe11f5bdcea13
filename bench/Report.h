#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace bench {

// Figures of one file size, one entry per repetition.
struct SizeRuns {
  int32_t lines = 0;
  int32_t rows = 0;
  std::vector<int64_t> loadOursNs, loadFloorNs, importOursNs, importFloorNs;
  std::vector<int64_t> loadOursCpuNs, loadFloorCpuNs, importOursCpuNs, importFloorCpuNs;  // the client's own
  std::vector<int64_t> loadBaseKb, loadPeakKb, importBaseKb, importPeakKb;
};

struct GaugeRuns {
  int32_t steps = 0;
  int64_t paints = 0;  // of one repetition: the gauge skips a repaint that draws the same bar
  std::vector<int64_t> withNs, withoutNs;
};

struct RunSetting {
  std::string server;  // version
  int32_t ids = 0;
  unsigned cores = 0;
  double loadAverageBefore = 0;  // 1-minute averages: above the cores, other work shared the machine
  double loadAverageAfter = 0;
  std::string placement;  // where client and server ran
};

// The 1-minute load average of the machine; 0 where it cannot be read.
double LoadAverage();

// The middle value; the mean of the two middle ones for an even count; 0 for none.
template <typename T>
T Median(std::vector<T> values) {
  if (values.empty()) return T{};
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The table and the verdicts for people, then the same figures as one JSON line (the last
// line of the output).
void WriteReport(std::ostream& out, const RunSetting& setting, const std::vector<SizeRuns>& sizes,
                 const std::optional<GaugeRuns>& gauge);

}  // namespace bench
