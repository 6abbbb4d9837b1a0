// Scan benchmark: builds a log of the requested size (default 100 MB) with 30 satellites per
// epoch and every observable family, scans it headless and prints the time and peak memory.
//   vnx-scan-bench [MEGABYTES] [LOG_PATH]
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/session.h"
#include "engine/views/error_list.h"
#include "support/log_builder.h"

namespace {

using vnx::Payload;

std::string Epoch(uint32_t ms, int sats) {
  vnx::test::LogBuilder b;
  b.Time(ms);
  std::vector<uint8_t> usi;
  for (int i = 0; i < sats; ++i) usi.push_back(static_cast<uint8_t>(i < 20 ? i + 1 : 71 + i));
  b.Sats(usi);
  Payload el, az, rc, pc, dc, ec, r2;
  for (int i = 0; i < sats; ++i) {
    el.I8(static_cast<int8_t>(10 + i * 2));
    az.U8(static_cast<uint8_t>(i * 5));
    rc.F64(0.07 + i * 1e-4 + ms * 1e-12);
    pc.F64(1.2e8 + i * 1000.0 + ms * 0.1);
    dc.I32(-12345 + i * 100);
    ec.U8(static_cast<uint8_t>(40 + i % 10));
    r2.F32(1e-8f * static_cast<float>(i));
  }
  b.Frame("EL", el).Frame("AZ", az).Frame("RC", rc).Frame("PC", pc).Frame("2R", r2);
  b.Frame("DC", dc).Frame("EC", ec);
  b.Frame("PO", Payload().F64(3e6).F64(1e6).F64(5e6).F32(1.5f).U8(1));
  return b.str();
}

std::string BuildLog(size_t megabytes) {
  vnx::test::LogBuilder b;
  b.Header().Date(2024, 3, 1);
  std::string log = b.str();
  const size_t target = megabytes << 20;
  for (uint32_t ms = 0; log.size() < target; ms += 1000) {
    if (ms == 86400000) {
      ms = 0;
      log += vnx::test::LogBuilder().Date(2024, 3, 2).str();
    }
    log += Epoch(ms, 30);
  }
  return log;
}

long PeakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::string dir = std::filesystem::temp_directory_path() / "vnx-scan-bench";
  std::filesystem::create_directories(dir + "/work");
  const std::string path = argc > 2 ? argv[2] : dir + "/bench.vnx";
  if (argc <= 2 || !std::filesystem::exists(path)) {
    const std::string log = BuildLog(mb);
    std::ofstream(path, std::ios::binary) << log;
  }
  const long rssBefore = PeakRssKb();
  vnx::Session session;
  if (!session.CreateWorkingFiles(dir + "/work/")) return 2;
  const auto t0 = std::chrono::steady_clock::now();
  const bool mapped = session.Scan(path);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("log %s: %.1f MB\n", path.c_str(),
              static_cast<double>(std::filesystem::file_size(path)) / 1048576.0);
  std::printf("mapped %d, result %d, epochs %d, error lines %zu\n", mapped, session.ResultCode(),
              session.Context().epochCount, vnx::ErrorListLines(session.Errors()).size() - 1);
  std::printf("scan: %.3f s (%.1f MB/s)\n", seconds,
              static_cast<double>(std::filesystem::file_size(path)) / 1048576.0 / seconds);
  std::printf("peak RSS: before scan %ld KB, after scan %ld KB\n", rssBefore, PeakRssKb());
  session.RemoveWorkingFiles();
  return 0;
}
