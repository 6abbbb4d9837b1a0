// Chart-pass benchmark: writes the working files of a 24-hour 1 Hz log with 30 satellites per
// epoch (86 400 epoch records, 2 592 000 satellite records) and times the passes the chart views
// run over them: the observable and combination charts of one satellite and the Satellites
// view's count pass.
//   vnx-views-bench [DIR] [EPOCHS]
// The files are kept in DIR (default: a directory under the system's temporary directory) and
// written again only when their sizes do not match.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/stream/working_files.h"
#include "engine/views/combinations.h"
#include "engine/views/measurements_series.h"
#include "engine/views/satellites_series.h"

namespace {

using namespace vnx;

constexpr int kSatsPerEpoch = 30;
constexpr double kC = 299792458.0;

// The satellites of epoch e: 12 GPS, 8 GLONASS, 8 Galileo, 2 SBAS, the constellation turning
// slowly so that each satellite comes and goes over the day.
struct SatId {
  uint8_t number, system;
};
std::vector<SatId> SatellitesOf(int e) {
  std::vector<SatId> ids;
  const int turn = e / 2700;  // a new set every 45 minutes
  for (int k = 0; k < 12; ++k) ids.push_back({static_cast<uint8_t>((turn + k * 3) % 32 + 1), 1});
  for (int k = 0; k < 8; ++k) ids.push_back({static_cast<uint8_t>((turn + k * 3) % 24 + 1), 2});
  for (int k = 0; k < 8; ++k) ids.push_back({static_cast<uint8_t>((turn + k * 4) % 32 + 71), 4});
  ids.push_back({120, 3});
  ids.push_back({124, 3});
  return ids;
}

void FillSignals(SvRec& sv, int e, int k) {
  const double range = 2.0e7 + 3.0e6 * std::sin(e * 7.3e-5 + k);
  const double f1 = sv.system == 2 ? 1602e6 : 1575.42e6;
  const double f2 = sv.system == 2 ? 1246e6 : 1227.6e6;
  const double frequency[kSignalCount] = {f1, f1, f2, f2, 1176.45e6};
  for (int s = 0; s < kSignalCount; ++s) {
    SignalBlock& b = sv.sig[s];
    const bool present = s < 3 || (sv.system == 1 && k % 3 == 0);
    for (int q = 0; q < 5; ++q) b.present[q] = present && (q != kSmoothing || s == 0);
    b.range = range + 2.5 * s;
    b.phase = range / (kC / frequency[s]) + 1000.0 * k;
    b.doppler = static_cast<float>(-2500.0 + 37.0 * k + s);
    b.snr = static_cast<float>(38 + (e + k) % 12);
    b.smoothing = static_cast<float>(0.01 * ((e + k) % 7));
  }
}

void WriteFiles(const std::string& dir, int epochs) {
  std::ofstream ep(dir + WorkFileName(WorkFile::DataEpochs), std::ios::binary | std::ios::trunc);
  std::ofstream sv(dir + WorkFileName(WorkFile::SVRecs), std::ios::binary | std::ios::trunc);
  std::vector<SvRec> sats(kSatsPerEpoch);
  for (int e = 0; e < epochs; ++e) {
    EpochRec rec{};
    rec.satsWritten = kSatsPerEpoch;
    const std::vector<SatId> ids = SatellitesOf(e);
    for (int k = 0; k < kSatsPerEpoch; ++k) {
      SvRec& s = sats[static_cast<size_t>(k)];
      s = SvRec{};
      s.number = ids[static_cast<size_t>(k)].number;
      s.system = ids[static_cast<size_t>(k)].system;
      s.elevation = static_cast<int8_t>(5 + (e / 60 + k * 7) % 80);
      s.azimuth = static_cast<int16_t>((e / 30 + k * 40) % 360);
      s.channel = s.system == 2 ? ((k % 14) - 7) & 0xFF : 0;
      FillSignals(s, e, k);
    }
    ep.write(reinterpret_cast<const char*>(&rec), sizeof rec);
    sv.write(reinterpret_cast<const char*>(sats.data()),
             static_cast<std::streamsize>(sats.size() * sizeof(SvRec)));
  }
}

bool FilesMatch(const std::string& dir, int epochs) {
  std::error_code ec;
  const auto e = std::filesystem::file_size(dir + WorkFileName(WorkFile::DataEpochs), ec);
  if (ec) return false;
  const auto s = std::filesystem::file_size(dir + WorkFileName(WorkFile::SVRecs), ec);
  return !ec && e == static_cast<uintmax_t>(epochs) * sizeof(EpochRec) &&
         s == static_cast<uintmax_t>(epochs) * kSatsPerEpoch * sizeof(SvRec);
}

// Asks the kernel to forget the cached pages of one of our files, so that the next pass reads
// it from the disk as after a scan whose files no longer fit in memory.
void DropFromCache(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fdatasync(fd);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

double ProcessCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Wall-clock seconds; `cpu` gets the processor seconds, which other work on a shared machine
// does not inflate.
double Seconds(const std::function<void()>& pass, double* cpu = nullptr) {
  const double c0 = ProcessCpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  pass();
  if (cpu) *cpu = ProcessCpuSeconds() - c0;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Runs a pass three times; prints the wall-clock times, the best processor time and what the
// pass found.
void Time(const char* name, const std::function<std::string()>& pass) {
  std::string what;
  double bestCpu = 1e9;
  std::printf("%-44s", name);
  for (int run = 0; run < 3; ++run) {
    double cpu = 0;
    const double s = Seconds([&] { what = pass(); }, &cpu);
    bestCpu = std::min(bestCpu, cpu);
    std::printf(" %6.3f s", s);
  }
  std::printf("   cpu %.3f s   %s\n", bestCpu, what.c_str());
}

std::string Describe(const MeasurementChart& c) {
  return std::to_string(c.values.size()) + " points" +
         (c.elevations.empty() ? "" : " + " + std::to_string(c.elevations.size()) + " elevations") +
         (c.message.empty() ? "" : ", \"" + c.message + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir =
      argc > 1 ? std::string(argv[1]) + "/"
               : (std::filesystem::temp_directory_path() / "vnx-views-bench").string() + "/";
  const int epochs = argc > 2 ? std::atoi(argv[2]) : 86400;
  std::filesystem::create_directories(dir);
  if (!FilesMatch(dir, epochs)) {
    const double w = Seconds([&] { WriteFiles(dir, epochs); });
    std::printf("wrote %d epoch records and %d satellite records in %.1f s\n", epochs,
                epochs * kSatsPerEpoch, w);
  }
  std::printf("DataEpochs.dat %.1f MB, SVRecs.dat %.1f MB\n",
              static_cast<double>(epochs) * sizeof(EpochRec) / 1048576.0,
              static_cast<double>(epochs) * kSatsPerEpoch * sizeof(SvRec) / 1048576.0);

  const ChartSource src{dir + WorkFileName(WorkFile::DataEpochs),
                        dir + WorkFileName(WorkFile::SVRecs), epochs};
  int gaugeCalls = 0;
  auto gauge = [&](int) { ++gaugeCalls; };

  Time("read every record (RecordReader)", [&] {
    RecordReader e(src.dataEpochsPath, sizeof(EpochRec)), s(src.svRecsPath, sizeof(SvRec));
    EpochRec rec;
    SvRec sv;
    long n = 0;
    while (e.Read(&rec)) ++n;
    while (s.Read(&sv)) ++n;
    return std::to_string(n) + " records";
  });
  Time("observable chart C1, GPS PRN 1", [&] {
    return Describe(DrawObservableChart(src, {SatSystem::Gps, 1}, 0, gauge));
  });
  Time("smoothing chart C1, GPS PRN 1", [&] {
    return Describe(DrawSmoothingChart(src, {SatSystem::Gps, 1}, 0, gauge));
  });
  Time("combination MP1, GPS PRN 1", [&] {
    return Describe(
        DrawCombinationChart(src, {SatSystem::Gps, 1}, Combination::kMultipathP1, gauge));
  });
  Time("combination geometry-free phase, GLONASS 5", [&] {
    return Describe(
        DrawCombinationChart(src, {SatSystem::Glonass, 5}, Combination::kPhaseGeometryFree, gauge));
  });
  Time("Satellites \"All\" count pass", [&] {
    const SatelliteChart c = CountSatellites({dir, epochs}, 0, gauge);
    return std::to_string(c.series[0].size()) + " epochs counted" +
           (c.message.empty() ? "" : ", \"" + c.message + "\"");
  });
  Time("Satellites elevation track, GPS PRN 1", [&] {
    const SatelliteChart c = SatelliteTrack({dir, epochs}, SatSystem::Gps, 1, TrackKind::Elevation);
    return std::to_string(c.series[0].size()) + " points";
  });
  auto cold = [&](const char* name, const std::function<std::string()>& pass) {
    DropFromCache(src.dataEpochsPath);
    DropFromCache(src.svRecsPath);
    std::string what;
    const double s = Seconds([&] { what = pass(); });
    std::printf("%-44s %7.3f s   %s\n", name, s, what.c_str());
  };
  cold("observable chart C1, GPS PRN 1, not cached", [&] {
    return Describe(DrawObservableChart(src, {SatSystem::Gps, 1}, 0, gauge));
  });
  cold("Satellites \"All\" count pass, not cached", [&] {
    return std::to_string(CountSatellites({dir, epochs}, 0, gauge).series[0].size()) + " epochs";
  });
  std::printf("gauge updates: %d\n", gaugeCalls);
  return 0;
}
