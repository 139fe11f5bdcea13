// Measures the load and the import run against the floor the design allows them (the same
// statements sent by a bare client loop), their peak memory and the gauge's cost. Prints
// a table, the verdicts and one JSON line; it reports and never fails on a slow figure.
//
//   quiravel_bench [--db DIR] [--lines 1000,10000,100000] [--reps 7] [--large-reps 5]
//                  [--gauge-steps 100000] [--ids 5000] [--keep] [--no-pin]
//
// DIR holds the server.env of a server started by scripts/mariadb-local (default: the
// folder in QUIRAVEL_TEST_DB). The tables fornece, fabricantes and descfabric of its
// database are emptied and filled; they are left empty, unless --keep leaves them filled
// and the generated files in bench-work/ beside the executable, for a profiler to replay
// one measurement: quiravel_bench --child load|import --db DIR --file bench-work/10000.csv
// The benchmark and the server share one processor while it runs (SharedProcessor.h);
// --no-pin leaves the placement to the scheduler.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/Child.h"
#include "bench/DiscountFile.h"
#include "bench/Measurements.h"
#include "bench/PlainClient.h"
#include "bench/Report.h"
#include "bench/SharedProcessor.h"
#include "bench/StatementCapture.h"
#include "bench/StatementFile.h"
#include "runtime/Paths.h"
#include "runtime/TextFile.h"

namespace {

using namespace bench;

constexpr int32_t kLargeFromLines = 100000;  // sizes that take --large-reps

struct Options {
  std::string db;
  std::vector<int32_t> sizes{1000, 10000, 100000};
  int reps = 7;
  int largeReps = 5;
  int32_t gaugeSteps = 100000;
  int32_t ids = 5000;
  bool keep = false;
  bool pin = true;
};

int32_t Number(const std::string& text, const std::string& option) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
  }
  if (used != text.size() || value <= 0) throw std::runtime_error(option + " needs a positive number, not \"" + text + "\"");
  return value;
}

std::map<std::string, std::string> ParseArguments(int argc, char** argv, int first) {
  std::map<std::string, std::string> given;
  for (int i = first; i < argc; ++i) {
    const std::string option = argv[i];
    if (option.rfind("--", 0) != 0) throw std::runtime_error("unexpected argument " + option);
    const bool flag = i + 1 >= argc || std::string(argv[i + 1]).rfind("--", 0) == 0;
    given[option] = flag ? "" : argv[++i];
  }
  return given;
}

Options ReadOptions(const std::map<std::string, std::string>& given) {
  Options options;
  if (const char* fromTests = std::getenv("QUIRAVEL_TEST_DB")) options.db = fromTests;
  for (const auto& [option, value] : given) {
    if (option == "--db") options.db = value;
    else if (option == "--lines") {
      options.sizes.clear();
      for (std::size_t start = 0; start <= value.size();) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string::npos) comma = value.size();
        options.sizes.push_back(Number(value.substr(start, comma - start), option));
        start = comma + 1;
      }
    } else if (option == "--reps") options.reps = Number(value, option);
    else if (option == "--large-reps") options.largeReps = Number(value, option);
    else if (option == "--gauge-steps") options.gaugeSteps = Number(value, option);
    else if (option == "--ids") options.ids = Number(value, option);
    else if (option == "--keep") options.keep = true;
    else if (option == "--no-pin") options.pin = false;
    else throw std::runtime_error("unknown option " + option);
  }
  if (options.db.empty()) throw std::runtime_error("no server: give --db DIR or set QUIRAVEL_TEST_DB");
  return options;
}

// The import run stamps rows with the branch code of the settings file beside the executable.
void WriteSettingsFile() {
  runtime::WriteFileBytes(runtime::ExecutableFolder() + "sistema_qel.ini", "[FilialMatriz]\r\nCodLogica=1\r\n");
}

// The import run leaves its error file beside the executable at every run.
void RemoveErrorFiles() {
  for (const auto& entry : std::filesystem::directory_iterator(runtime::ExecutableFolder())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ARQERRO_QUIRAVEL_", 0) == 0) std::filesystem::remove(entry.path());
  }
}

void Expect(int64_t got, int64_t wanted, const std::string& what) {
  if (got != wanted)
    throw std::runtime_error(what + ": " + std::to_string(got) + " where the file calls for " + std::to_string(wanted));
}

class Bench {
 public:
  Bench(const Options& options)
      : options_(options),
        server_(ReadServerEnv(options.db)),
        admin_(server_, PlainClient::Login::Admin),
        work_(runtime::ExecutableFolder() + "bench-work/") {
    std::filesystem::create_directories(work_);
  }

  int Run() {
    const double loadAverageBefore = LoadAverage();
    std::optional<SharedProcessor> shared;
    if (options_.pin) shared.emplace(options_.db + "/mysqld.pid");
    std::string placement = "placed by the scheduler";
    if (shared)
      placement = (shared->pinned() ? "client and server on processor " : "client (not the server) on processor ") +
                  std::to_string(shared->processor());
    WriteSettingsFile();
    RemoveErrorFiles();
    std::cerr << "filling fornece and fabricantes with " << options_.ids << " ids each\n";
    for (const std::string& sql : FillStatements(options_.ids)) admin_.Run(sql);

    std::vector<SizeRuns> sizes;
    for (int32_t lines : options_.sizes) sizes.push_back(MeasureSize(lines));
    const GaugeRuns gauge = MeasureGaugeRuns();

    RemoveErrorFiles();
    if (!options_.keep) {
      for (const std::string& sql : CleanupStatements()) admin_.Run(sql);
      std::filesystem::remove_all(work_);
    }

    shared.reset();
    RunSetting setting{admin_.ServerVersion(), options_.ids, std::thread::hardware_concurrency(),
                       loadAverageBefore, LoadAverage(), placement};
    WriteReport(std::cout, setting, sizes, gauge);
    return 0;
  }

 private:
  struct Files {
    std::string discounts, lookups, replaces;
    FileFacts facts;
  };

  SizeRuns MeasureSize(int32_t lines) {
    const int reps = lines >= kLargeFromLines ? options_.largeReps : options_.reps;
    std::cerr << lines << " lines, " << reps << " repetitions\n";
    const Files files = Prepare(lines);
    SizeRuns runs;
    runs.lines = lines;
    runs.rows = files.facts.rows;

    // Ours and the floor take turns leading, so neither gains from a server warmed by the other.
    for (int rep = 0; rep < reps; ++rep) {
      for (int turn = 0; turn < 2; ++turn) {
        if ((rep + turn) % 2 == 0) {
          const Figures load = RunChild({"--child", "load", "--db", options_.db, "--file", files.discounts});
          Expect(FigureOf(load, "rows"), files.facts.rows, "rows loaded");
          Expect(FigureOf(load, "entries"), files.facts.entries, "error entries");
          runs.loadOursNs.push_back(FigureOf(load, "elapsed_ns"));
          runs.loadOursCpuNs.push_back(FigureOf(load, "cpu_ns"));
          runs.loadBaseKb.push_back(FigureOf(load, "base_kb"));
          runs.loadPeakKb.push_back(FigureOf(load, "peak_kb"));
        } else {
          const Figures floor = FloorRun(files.lookups, files.facts.lookups);
          runs.loadFloorNs.push_back(FigureOf(floor, "elapsed_ns"));
          runs.loadFloorCpuNs.push_back(FigureOf(floor, "cpu_ns"));
        }
      }
    }
    for (int rep = 0; rep < reps; ++rep) {
      for (int turn = 0; turn < 2; ++turn) {
        admin_.Run("truncate table descfabric");
        if ((rep + turn) % 2 == 0) {
          const Figures import = RunChild({"--child", "import", "--db", options_.db, "--file", files.discounts});
          RemoveErrorFiles();
          Expect(FigureOf(import, "rows"), files.facts.rows, "rows imported");
          runs.importOursNs.push_back(FigureOf(import, "elapsed_ns"));
          runs.importOursCpuNs.push_back(FigureOf(import, "cpu_ns"));
          runs.importBaseKb.push_back(FigureOf(import, "base_kb"));
          runs.importPeakKb.push_back(FigureOf(import, "peak_kb"));
        } else {
          const Figures floor = FloorRun(files.replaces, files.facts.rows);
          runs.importFloorNs.push_back(FigureOf(floor, "elapsed_ns"));
          runs.importFloorCpuNs.push_back(FigureOf(floor, "cpu_ns"));
        }
        Expect(admin_.Count("select count(*) from descfabric"), files.facts.distinctPairs, "rows of descfabric");
      }
    }
    return runs;
  }

  Figures FloorRun(const std::string& statements, int64_t wanted) {
    Figures floor = RunChild({"--child", "floor", "--db", options_.db, "--statements", statements});
    Expect(FigureOf(floor, "statements"), wanted, "floor statements");
    return floor;
  }

  // Writes the discount file and, from one untimed load and import through the real code,
  // the statements the floor is to send: exactly the texts the server received.
  Files Prepare(int32_t lines) {
    Files files;
    const std::string stem = work_ + std::to_string(lines);
    files.discounts = stem + ".csv";
    files.lookups = stem + ".lookups";
    files.replaces = stem + ".replaces";
    files.facts = WriteDiscountFile(files.discounts, lines, options_.ids);

    admin_.Run("truncate table descfabric");
    std::vector<StatementCapture::Statement> sent;
    {
      StatementCapture capture(admin_, server_.user);
      RunChild({"--child", "import", "--db", options_.db, "--file", files.discounts});
      sent = capture.Stop();
    }
    RemoveErrorFiles();
    std::vector<std::string> lookups, replaces, others;
    for (auto& statement : sent) {
      const bool query = statement.command == "Query";
      if (query && statement.text.rfind("select ", 0) == 0) lookups.push_back(std::move(statement.text));
      else if (query && statement.text.rfind("replace into ", 0) == 0) replaces.push_back(std::move(statement.text));
      else others.push_back(statement.command + " " + statement.text);
    }
    Expect(static_cast<int64_t>(lookups.size()), files.facts.lookups, "lookups sent by the load");
    Expect(static_cast<int64_t>(replaces.size()), files.facts.rows, "statements sent by the import run");
    // Anything else the program says to the server is a cost the floor does not pay; it shows in the ratios.
    if (!others.empty())
      std::cerr << "  besides those, the program sent " << others.size() << " other statements, the first: "
                << others.front().substr(0, 200) << "\n";
    WriteStatements(files.lookups, lookups);
    WriteStatements(files.replaces, replaces);
    return files;
  }

  GaugeRuns MeasureGaugeRuns() {
    std::cerr << "gauge, " << options_.gaugeSteps << " advances\n";
    GaugeRuns gauge;
    gauge.steps = options_.gaugeSteps;
    for (int rep = 0; rep < options_.reps; ++rep) {
      const Figures figures = RunChild({"--child", "gauge", "--steps", std::to_string(options_.gaugeSteps)});
      gauge.withNs.push_back(FigureOf(figures, "with_ns"));
      gauge.withoutNs.push_back(FigureOf(figures, "without_ns"));
      gauge.paints = FigureOf(figures, "paints");
    }
    return gauge;
  }

  Options options_;
  ServerEnv server_;
  PlainClient admin_;
  std::string work_;
};

int ServeMeasurement(const std::string& mode, const std::map<std::string, std::string>& given) {
  auto option = [&](const std::string& name) {
    auto found = given.find(name);
    if (found == given.end()) throw std::runtime_error("the measurement " + mode + " needs " + name);
    return found->second;
  };
  return ServeChild([&]() -> Figures {
    if (mode == "gauge") return MeasureGauge(Number(option("--steps"), "--steps"));
    const ServerEnv server = ReadServerEnv(option("--db"));
    if (mode == "load") return MeasureLoad(server, option("--file"));
    if (mode == "import") return MeasureImport(server, option("--file"));
    if (mode == "floor") return MeasureFloor(server, option("--statements"));
    throw std::runtime_error("unknown measurement " + mode);
  });
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 3 && std::string(argv[1]) == "--child") return ServeMeasurement(argv[2], ParseArguments(argc, argv, 3));
    return Bench(ReadOptions(ParseArguments(argc, argv, 1))).Run();
  } catch (const std::exception& failure) {
    std::cerr << "quiravel_bench: " << failure.what() << "\n";
    return 1;
  }
}
