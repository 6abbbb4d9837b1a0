// RINEX export benchmark: a log of `hours` at 1 Hz made by the synthesiser from the OPEC files
// (about 30 satellites an epoch), scanned headless, then exported as RINEX 3.04. Prints the
// plain scan time, the export time, and the time to write the same number of bytes in 1 MiB
// blocks to the same directory; the export should take at most twice the scan plus that.
//   vnx-rinex-bench [HOURS] [DIR]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/rinex/rinex_export.h"
#include "engine/session.h"
#include "tools/synth/synth.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Writes `bytes` zero bytes in 1 MiB blocks and closes the file, as `dd bs=1M` would.
double WriteSeconds(const std::string& path, uint64_t bytes) {
  std::vector<char> block(1 << 20, 'x');
  const auto t0 = std::chrono::steady_clock::now();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (uint64_t left = bytes; left > 0;) {
    const size_t n = left < block.size() ? static_cast<size_t>(left) : block.size();
    if (::write(fd, block.data(), n) != static_cast<ssize_t>(n)) break;
    left -= n;
  }
  ::close(fd);
  const double s = Seconds(t0);
  ::unlink(path.c_str());
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const double hours = argc > 1 ? std::atof(argv[1]) : 24;
  const std::string dir = argc > 2 ? argv[2] : std::filesystem::temp_directory_path().string();
  const std::string root = VNX_SOURCE_DIR "/tests/data/real/";
  const std::string log = dir + "/rinex-bench.vnx";
  {
    using namespace vnx::synth;
    ObsData obs = ReadObsFile(root + "OPEC00NOR_S_20220010000_01D_30S_MO_3.04_croped.rnx");
    NavData nav = ReadNavFile(root + "OPEC00NOR_S_20220010000_01D_GN.rnx");
    MergeNav(nav, ReadNavFile(root + "OPEC00NOR_S_20220010000_01D_RN.rnx"));
    SynthOptions o;
    o.hours = hours;
    o.rate = 1;
    std::ofstream out(log, std::ios::binary);
    const auto t0 = std::chrono::steady_clock::now();
    const SynthResult r = Synthesize(obs, nav, o, out);
    std::printf("log: %.1f h, %lld epochs, %.1f MB (made in %.1f s)\n", hours,
                static_cast<long long>(r.epochs), r.bytes / 1e6, Seconds(t0));
  }
  vnx::Session session;
  const std::string work = dir + "/rinex-bench-work/";
  std::filesystem::create_directories(work);
  if (!session.CreateWorkingFiles(work)) return 2;
  auto t0 = std::chrono::steady_clock::now();
  if (!session.Scan(log)) return 2;
  const double scan = Seconds(t0);
  vnx::rinex::ExportOptions eo;
  eo.obsPath = dir + "/rinex-bench.obs";
  eo.navPath = dir + "/rinex-bench.nav";
  t0 = std::chrono::steady_clock::now();
  const vnx::rinex::ExportResult r =
      vnx::rinex::ExportRinex(vnx::rinex::ExportInputFromScan(session.Result(), log), eo);
  const double exported = Seconds(t0);
  if (!r.ok) {
    std::fprintf(stderr, "export failed: %s\n", r.error.c_str());
    return 2;
  }
  uint64_t bytes = 0;
  for (const auto& f : r.files) bytes += f.bytes;
  const double write = WriteSeconds(dir + "/rinex-bench.dd", bytes);
  std::printf("scan   %7.2f s\n", scan);
  std::printf("export %7.2f s  (%lld epochs, %lld satellites, %.1f MB of RINEX)\n", exported,
              static_cast<long long>(r.epochs), static_cast<long long>(r.satellites), bytes / 1e6);
  std::printf("write  %7.2f s  (the same bytes in 1 MiB blocks)\n", write);
  std::printf("budget %7.2f s  (2 x scan + write): %s\n", 2 * scan + write,
              exported <= 2 * scan + write ? "met" : "NOT met");
  session.RemoveWorkingFiles();
  for (const auto& f : r.files) std::filesystem::remove(f.path);
  std::filesystem::remove(log);
  return 0;
}
