#include "bench/Measurements.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "bench/PlainClient.h"
#include "bench/ProcessMemory.h"
#include "bench/QuietWindow.h"
#include "bench/StatementFile.h"
#include "data/UDao.h"
#include "import/TDadosDescontos.h"
#include "import/UCargaDescontos.h"
#include "import/UImportaDescontos.h"
#include "runtime/Regional.h"

namespace bench {
namespace {

int64_t CpuNanoseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ns = [](const timeval& t) { return int64_t{t.tv_sec} * 1000000000 + int64_t{t.tv_usec} * 1000; };
  return ns(usage.ru_utime) + ns(usage.ru_stime);
}

// Wall time of the step, and the processor time this process spent in it: the part of the
// wall time that is the client's own work rather than waiting for the server.
template <typename Step>
void Timed(Figures& figures, Step step) {
  const int64_t cpuStart = CpuNanoseconds();
  const auto start = std::chrono::steady_clock::now();
  step();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  figures["cpu_ns"] = std::to_string(CpuNanoseconds() - cpuStart);
  figures["elapsed_ns"] = std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());
}

void Connect(TDadosDescontos& dados, const ServerEnv& server) {
  dados.oConexao = TDao::Conecta(server.host, server.database, server.user, server.password, server.port);
}

void Load(TDadosDescontos& dados, QuietWindow& janela) {
  TCargaDescontos carga(dados, janela, runtime::Regional::brazilian());
  carga.btnSelArquivoClick();
  if (!janela.erros.empty()) throw std::runtime_error("the load failed: " + janela.erros.front());
  if (!dados.oDescontos || dados.oDescontos->IsEmpty()) throw std::runtime_error("the load gave no rows");
}

int64_t Entries(const runtime::LineList& erros) {
  return std::count_if(erros.begin(), erros.end(), [](const std::string& item) { return !item.empty(); });
}

// Starts the peak afresh where the kernel allows it, and notes where it started.
void StartPeak(Figures& figures) {
  figures["base_kb"] = std::to_string(ResidentKb());
  figures["peak_reset"] = std::to_string(ResetPeakResident() ? 1 : 0);
}

}  // namespace

Figures MeasureLoad(const ServerEnv& server, const std::string& file) {
  TDadosDescontos dados;
  Connect(dados, server);
  QuietWindow janela(file);
  Figures figures;
  StartPeak(figures);

  Timed(figures, [&] { Load(dados, janela); });

  figures["peak_kb"] = std::to_string(PeakResidentKb());
  figures["rows"] = std::to_string(dados.oDescontos->RecordCount());
  figures["entries"] = std::to_string(Entries(dados.oErros));
  return figures;
}

Figures MeasureImport(const ServerEnv& server, const std::string& file) {
  TDadosDescontos dados;
  Connect(dados, server);
  QuietWindow janela(file);
  Load(dados, janela);
  Figures figures;
  figures["rows"] = std::to_string(dados.oDescontos->RecordCount());
  StartPeak(figures);

  Timed(figures, [&] { TImportaDescontos(dados, janela).btnImportarClick(); });

  figures["peak_kb"] = std::to_string(PeakResidentKb());
  if (dados.oDescontos) throw std::runtime_error("the import run kept its rows: it did not finish");
  return figures;
}

Figures MeasureFloor(const ServerEnv& server, const std::string& statementsFile) {
  const std::vector<std::string> statements = ReadStatements(statementsFile);
  PlainClient client(server, PlainClient::Login::User);
  Figures figures;

  Timed(figures, [&] { client.RunAll(statements); });

  figures["statements"] = std::to_string(statements.size());
  return figures;
}

}  // namespace bench
