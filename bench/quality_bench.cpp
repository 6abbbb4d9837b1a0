// Quality benchmark: scans a log headless, then scans it again and runs the quality analysis,
// and prints both times, their ratio and the memory the analysis added.
//   vnx-quality-bench LOG [ROUNDS]
// Make the log with vnx-synth, e.g. 24 h at 1 Hz from the OPEC files:
//   vnx-synth --obs OPEC...MO_3.04_croped.rnx --nav OPEC..._GN.rnx --gnav OPEC..._RN.rnx
//             --hours 24 --rate 1 --out /tmp/day.vnx
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/quality/quality_analysis.h"
#include "engine/session.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

long PeakKb() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

long CurrentKb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vnx-quality-bench LOG [ROUNDS]\n");
    return 2;
  }
  const std::string log = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::string dir = std::filesystem::temp_directory_path() / "vnx-quality-bench/";
  std::filesystem::create_directories(dir);
  vnx::Session session;
  if (!session.CreateWorkingFiles(dir)) return 2;
  double scanBest = 1e9, totalBest = 1e9, analysisBest = 1e9;
  vnx::QualityReport report;
  long before = 0, after = 0;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    if (!session.Scan(log)) return 2;
    scanBest = std::min(scanBest, Seconds(t0));
    t0 = std::chrono::steady_clock::now();
    if (!session.Scan(log)) return 2;
    const auto t1 = std::chrono::steady_clock::now();
    before = CurrentKb();
    report = vnx::AnalyseQuality(vnx::QualitySourceOf(session.Result()), {});
    after = CurrentKb();
    analysisBest = std::min(analysisBest, Seconds(t1));
    totalBest = std::min(totalBest, Seconds(t0));
  }
  size_t slips = 0;
  for (const auto& q : report.satellites) slips += q.slips.size();
  const size_t chartPoints =
      report.charts.sky.size() + report.charts.multipath.size() + report.charts.snr.size();
  std::printf("log %s: %lld MB, %d epochs, %zu satellites\n", log.c_str(),
              static_cast<long long>(std::filesystem::file_size(log) >> 20), report.epochs.count,
              report.satellites.size());
  std::printf("plain scan                  %.2f s\n", scanBest);
  std::printf("scan + quality analysis     %.2f s  (analysis %.2f s)\n", totalBest, analysisBest);
  std::printf("ratio                       %.2f\n", totalBest / scanBest);
  std::printf(
      "report: %zu slips, %zu chart points; resident memory %ld MB -> %ld MB, peak %ld MB\n", slips,
      chartPoints, before >> 10, after >> 10, PeakKb() >> 10);
  session.RemoveWorkingFiles();
  return 0;
}
