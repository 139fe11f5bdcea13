#include "bench/Report.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace bench {
namespace {

// What must hold on the 2-core machine; the benchmark reports, it does not enforce.
constexpr double kMaxRatio = 1.10;             // ours / floor, load and import
constexpr int32_t kRatioFromLines = 10000;     // the ratio is judged from this size on
constexpr int64_t kMaxPeakKb = 100 * 1024;     // at 100 000 lines
constexpr int32_t kPeakUpToLines = 100000;
constexpr double kLinearSlack = 1.10;          // growth factor against the lines factor
constexpr double kMaxGaugeShare = 0.05;        // added to a load, per line

struct Summary {
  const SizeRuns* runs;
  double loadOursUs, loadFloorUs, loadRatio;
  double importOursUs, importFloorUs, importRatio;
  double loadOursCpuUs, loadFloorCpuUs, importOursCpuUs, importFloorCpuUs;
  int64_t loadBaseKb, loadPeakKb, importBaseKb, importPeakKb;
};

int64_t Max(const std::vector<int64_t>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double PerUnitUs(const std::vector<int64_t>& ns, int32_t units) {
  return units > 0 ? static_cast<double>(Median(ns)) / 1000.0 / units : 0.0;
}

// Each repetition ran ours and the floor back to back; the ratio of such a pair is spared
// most of what else the machine was doing at the time.
double Ratio(const std::vector<int64_t>& ours, const std::vector<int64_t>& floor) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < ours.size() && i < floor.size(); ++i) {
    if (floor[i] > 0) ratios.push_back(static_cast<double>(ours[i]) / static_cast<double>(floor[i]));
  }
  return Median(ratios);
}

Summary Summarize(const SizeRuns& runs) {
  return {&runs,
          PerUnitUs(runs.loadOursNs, runs.lines), PerUnitUs(runs.loadFloorNs, runs.lines),
          Ratio(runs.loadOursNs, runs.loadFloorNs),
          PerUnitUs(runs.importOursNs, runs.rows), PerUnitUs(runs.importFloorNs, runs.rows),
          Ratio(runs.importOursNs, runs.importFloorNs),
          PerUnitUs(runs.loadOursCpuNs, runs.lines), PerUnitUs(runs.loadFloorCpuNs, runs.lines),
          PerUnitUs(runs.importOursCpuNs, runs.rows), PerUnitUs(runs.importFloorCpuNs, runs.rows),
          Median(runs.loadBaseKb), Max(runs.loadPeakKb), Median(runs.importBaseKb), Max(runs.importPeakKb)};
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Mb(int64_t kb) { return Fixed(static_cast<double>(kb) / 1024.0, 1); }

// Peak growth of the load between two sizes, over what the process held before the load.
struct Growth {
  const Summary* from;
  const Summary* to;
  double factor;       // of the memory the load added
  double linesFactor;  // of the lines
};

std::optional<Growth> GrowthOf(const std::vector<Summary>& summaries) {
  if (summaries.size() < 2) return std::nullopt;
  const Summary& from = summaries[summaries.size() - 2];
  const Summary& to = summaries.back();
  const int64_t before = from.loadPeakKb - from.loadBaseKb;
  if (before <= 0) return std::nullopt;
  return Growth{&from, &to, static_cast<double>(to.loadPeakKb - to.loadBaseKb) / static_cast<double>(before),
                static_cast<double>(to.runs->lines) / from.runs->lines};
}

struct Verdict {
  std::string what;
  std::string figure;
  bool holds;
};

}  // namespace

double LoadAverage() {
  std::ifstream in("/proc/loadavg");
  double average = 0;
  in >> average;
  return in ? average : 0.0;
}

void WriteReport(std::ostream& out, const RunSetting& setting, const std::vector<SizeRuns>& sizes,
                 const std::optional<GaugeRuns>& gauge) {
  std::vector<Summary> summaries;
  for (const SizeRuns& runs : sizes) summaries.push_back(Summarize(runs));
  const std::optional<Growth> growth = GrowthOf(summaries);

  std::optional<double> gaugeWithUs, gaugeWithoutUs, gaugeShare;
  if (gauge && gauge->steps > 0) {
    gaugeWithUs = static_cast<double>(Median(gauge->withNs)) / 1000.0 / gauge->steps;
    gaugeWithoutUs = static_cast<double>(Median(gauge->withoutNs)) / 1000.0 / gauge->steps;
    if (!summaries.empty() && summaries.back().loadOursUs > 0)
      gaugeShare = (*gaugeWithUs - *gaugeWithoutUs) / summaries.back().loadOursUs;
  }

  out << "\nQuiravel benchmark: MariaDB " << setting.server << " on loopback TCP, " << setting.ids
      << " suppliers and manufacturers, " << setting.cores << " cores, " << setting.placement
      << ";\nmedians of the repetitions, ratios of ours and the floor run back to back; machine load average "
      << Fixed(setting.loadAverageBefore, 1) << " before, " << Fixed(setting.loadAverageAfter, 1) << " after\n";
  if (std::max(setting.loadAverageBefore, setting.loadAverageAfter) > setting.cores)
    out << "(other work shared the machine: the times are noisy, the ratios less so)\n";
  out << "\n";
  out << "   lines    rows reps |   load us/line ours  floor  ratio |  import us/row ours  floor  ratio |"
         " peak MB load import\n";
  for (const Summary& s : summaries) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "%8d %7d %4zu | %18.2f %6.2f %6.3f | %18.2f %6.2f %6.3f | %12s %6s\n", s.runs->lines,
                  s.runs->rows, s.runs->loadOursNs.size(), s.loadOursUs, s.loadFloorUs, s.loadRatio,
                  s.importOursUs, s.importFloorUs, s.importRatio, Mb(s.loadPeakKb).c_str(),
                  Mb(s.importPeakKb).c_str());
    out << line;
  }
  out << "\nthe client's own processor time within those times:\n";
  for (const Summary& s : summaries) {
    char line[256];
    std::snprintf(line, sizeof line, "%8d              | %18.2f %6.2f        | %18.2f %6.2f\n", s.runs->lines,
                  s.loadOursCpuUs, s.loadFloorCpuUs, s.importOursCpuUs, s.importFloorCpuUs);
    out << line;
  }
  if (growth)
    out << "\nload memory over its start (" << Mb(growth->from->loadBaseKb) << " MB): "
        << Mb(growth->from->loadPeakKb - growth->from->loadBaseKb) << " MB at " << growth->from->runs->lines
        << " lines, " << Mb(growth->to->loadPeakKb - growth->to->loadBaseKb) << " MB at "
        << growth->to->runs->lines << " lines: x" << Fixed(growth->factor, 2) << " for x"
        << Fixed(growth->linesFactor, 0) << " the lines\n";
  if (gaugeWithUs)
    out << "gauge over " << gauge->steps << " advances: " << Fixed(*gaugeWithUs, 3) << " us/step shown, "
        << Fixed(*gaugeWithoutUs, 3) << " us/step without (" << gauge->paints << " paints)\n";

  std::vector<Verdict> verdicts;
  for (const Summary& s : summaries) {
    if (s.runs->lines < kRatioFromLines) continue;
    const std::string at = " at " + std::to_string(s.runs->lines) + " lines";
    verdicts.push_back({"load <= " + Fixed(kMaxRatio, 2) + " x floor" + at, Fixed(s.loadRatio, 3),
                        s.loadRatio <= kMaxRatio});
    verdicts.push_back({"import <= " + Fixed(kMaxRatio, 2) + " x floor" + at, Fixed(s.importRatio, 3),
                        s.importRatio <= kMaxRatio});
  }
  for (const Summary& s : summaries) {
    if (s.runs->lines != kPeakUpToLines) continue;
    const int64_t peak = std::max(s.loadPeakKb, s.importPeakKb);
    verdicts.push_back({"peak memory < 100 MB at " + std::to_string(s.runs->lines) + " lines", Mb(peak) + " MB",
                        peak < kMaxPeakKb});
  }
  if (growth)
    verdicts.push_back({"load memory grows at most linearly", "x" + Fixed(growth->factor, 2) + " for x" +
                        Fixed(growth->linesFactor, 0), growth->factor <= growth->linesFactor * kLinearSlack});
  if (gaugeShare)
    verdicts.push_back({"gauge adds < 5% to a load of " + std::to_string(gauge->steps) + " lines",
                        Fixed(*gaugeShare * 100.0, 2) + "%", *gaugeShare < kMaxGaugeShare});
  if (!verdicts.empty()) out << "\n";
  for (const Verdict& v : verdicts) out << (v.holds ? "  holds   " : "  MISSES  ") << v.what << ": " << v.figure << "\n";

  std::ostringstream json;
  json << "{\"server\":\"" << setting.server << "\",\"ids\":" << setting.ids << ",\"cores\":" << setting.cores
       << ",\"placement\":\"" << setting.placement << "\",\"load_average\":[" << Fixed(setting.loadAverageBefore, 2) << "," << Fixed(setting.loadAverageAfter, 2)
       << "],\"sizes\":[";
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    const Summary& s = summaries[i];
    json << (i ? "," : "") << "{\"lines\":" << s.runs->lines << ",\"rows\":" << s.runs->rows
         << ",\"reps\":" << s.runs->loadOursNs.size()
         << ",\"load\":{\"ours_us_per_line\":" << Fixed(s.loadOursUs, 3)
         << ",\"floor_us_per_line\":" << Fixed(s.loadFloorUs, 3) << ",\"ratio\":" << Fixed(s.loadRatio, 4)
         << ",\"ours_cpu_us_per_line\":" << Fixed(s.loadOursCpuUs, 3)
         << ",\"floor_cpu_us_per_line\":" << Fixed(s.loadFloorCpuUs, 3)
         << "},\"import\":{\"ours_us_per_row\":" << Fixed(s.importOursUs, 3)
         << ",\"floor_us_per_row\":" << Fixed(s.importFloorUs, 3) << ",\"ratio\":" << Fixed(s.importRatio, 4)
         << ",\"ours_cpu_us_per_row\":" << Fixed(s.importOursCpuUs, 3)
         << ",\"floor_cpu_us_per_row\":" << Fixed(s.importFloorCpuUs, 3)
         << "},\"memory_kb\":{\"load_base\":" << s.loadBaseKb << ",\"load_peak\":" << s.loadPeakKb
         << ",\"import_base\":" << s.importBaseKb << ",\"import_peak\":" << s.importPeakKb << "}}";
  }
  json << "]";
  if (growth)
    json << ",\"load_memory_growth\":{\"from_lines\":" << growth->from->runs->lines
         << ",\"to_lines\":" << growth->to->runs->lines << ",\"factor\":" << Fixed(growth->factor, 3)
         << ",\"lines_factor\":" << Fixed(growth->linesFactor, 3) << "}";
  if (gaugeWithUs) {
    json << ",\"gauge\":{\"steps\":" << gauge->steps << ",\"with_us_per_step\":" << Fixed(*gaugeWithUs, 4)
         << ",\"without_us_per_step\":" << Fixed(*gaugeWithoutUs, 4) << ",\"paints\":" << gauge->paints;
    if (gaugeShare) json << ",\"share_of_load\":" << Fixed(*gaugeShare, 4);
    json << "}";
  }
  json << ",\"verdicts\":[";
  for (std::size_t i = 0; i < verdicts.size(); ++i)
    json << (i ? "," : "") << "{\"what\":\"" << verdicts[i].what << "\",\"holds\":"
         << (verdicts[i].holds ? "true" : "false") << "}";
  json << "]}";
  out << "\n" << json.str() << "\n";
}

}  // namespace bench
