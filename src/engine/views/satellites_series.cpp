#include "engine/views/satellites_series.h"

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/epoch/scan_result.h"

namespace vnx {

namespace {

constexpr int kEpochsPerProgress = 2000;

// The system code of the satellite records.
uint8_t RecordSystem(SatSystem s) {
  return static_cast<uint8_t>(s);
}

struct EpochFiles {
  explicit EpochFiles(const std::string& dir)
      : epochs(dir + WorkFileName(WorkFile::DataEpochs), sizeof(EpochRec)),
        svs(dir + WorkFileName(WorkFile::SVRecs), sizeof(SvRec)) {}
  RecordReader epochs;
  RecordReader svs;
};

// Reads epochs 1..count with their satellite records and hands each epoch to `visit`. Returns
// the message of an early end, empty when every epoch was read.
template <class Visit>
std::string ForEachEpoch(EpochFiles& f, int32_t count, Visit visit) {
  EpochRec rec;
  std::vector<SvRec> sats;
  for (int32_t i = 1; i <= count; ++i) {
    if (!f.epochs.Read(&rec)) return kUnexpectedEnd;
    sats.clear();
    SvRec sv;
    for (int32_t k = 0; k < rec.satsWritten; ++k) {
      if (!f.svs.Read(&sv)) return kUnexpectedEnd;
      sats.push_back(sv);
    }
    visit(i, sats);
  }
  return {};
}

}  // namespace

SatelliteFiles SatelliteFilesOf(const ScanResult& ctx) {
  return {ctx.Files().Dir(), ctx.EpochCount()};
}

SatelliteChart CountSatellites(const SatelliteFiles& files, int32_t mask,
                               const ProgressCallback& progress) {
  SatelliteChart chart;
  if (files.epochCount == 0) return chart;
  EpochFiles f(files.dir);
  if (!f.epochs.IsOpen()) return {{}, OpeningFailure(WorkFile::DataEpochs)};
  if (!f.svs.IsOpen()) return {{}, OpeningFailure(WorkFile::SVRecs)};
  // An elevation counts when it is at or above the mask.
  const double lowest = mask - 1e-8;
  // Satellites met without an elevation, by system code and number.
  std::vector<bool> unplaced((kSatSystemCount + 1) * 256, false);
  chart.message = ForEachEpoch(f, files.epochCount, [&](int32_t i, const std::vector<SvRec>& sats) {
    if (progress && i % kEpochsPerProgress == 0)
      progress(static_cast<int>(static_cast<double>(i) / files.epochCount * 100));
    std::array<int, kSatSystemCount + 1> count{};
    for (const SvRec& sv : sats) {
      if (sv.system < 1 || sv.system > kSatSystemCount) continue;
      if (!HasElevation(sv)) {
        ++chart.recordsWithoutElevation;
        auto seen = unplaced[static_cast<size_t>(sv.system) * 256 + sv.number];
        if (!seen) ++chart.satellitesWithoutElevation;
        seen = true;
        continue;
      }
      if (sv.elevation > lowest) ++count[sv.system];
    }
    const double x = i;
    chart.series[0].Add(x, count[1] + count[2] + count[3] + count[4]);
    chart.series[1].Add(x, count[1]);
    chart.series[2].Add(x, count[2] + 0.01);
    chart.series[3].Add(x, count[3] + 0.02);
    chart.series[4].Add(x, count[4] + 0.03);
  });
  if (chart.message.empty() && progress) progress(100);
  return chart;
}

SatelliteChart SatelliteTrack(const SatelliteFiles& files, SatSystem system, int label,
                              TrackKind kind) {
  SatelliteChart chart;
  if (files.epochCount == 0) return chart;
  EpochFiles f(files.dir);
  if (!f.svs.IsOpen()) return {{}, OpeningFailure(WorkFile::SVRecs)};
  if (!f.epochs.IsOpen()) return {{}, OpeningFailure(WorkFile::DataEpochs)};
  const uint8_t code = RecordSystem(system);
  const int number = SatelliteNumber(system, label);
  PointSeries& track = chart.series[0];
  chart.message = ForEachEpoch(f, files.epochCount, [&](int32_t i, const std::vector<SvRec>& sats) {
    for (const SvRec& sv : sats) {
      if (sv.system != code || sv.number != number) continue;
      if (kind == TrackKind::Elevation && !HasElevation(sv)) continue;
      // The azimuth is stored in 16 bits and read unsigned.
      const double value = kind == TrackKind::Elevation
                               ? static_cast<double>(sv.elevation)
                               : static_cast<double>(static_cast<uint16_t>(sv.azimuth));
      track.Add(i, value);
    }
  });
  return chart;
}

std::string WithoutElevationNote(const SatelliteChart& chart) {
  if (chart.recordsWithoutElevation == 0) return {};
  const int32_t n = chart.satellitesWithoutElevation;
  return "Not counted: " + std::to_string(n) + (n == 1 ? " satellite" : " satellites") +
         " without elevation (" + std::to_string(chart.recordsWithoutElevation) +
         " satellite records)";
}

int SatelliteItemCount(SatSystem system) {
  return InfoOf(system).LabelCount();
}

int SatelliteItemLabel(SatSystem system, int item) {
  return InfoOf(system).firstLabel + item;
}

int SatelliteNumber(SatSystem system, int label) {
  return InfoOf(system).numberOffset + label;
}

std::vector<std::string> SatelliteItemTexts(const ScanResult& ctx, SatSystem system) {
  std::vector<std::string> texts;
  const int n = SatelliteItemCount(system);
  for (int item = 0; item < n; ++item) {
    const int label = SatelliteItemLabel(system, item);
    bool seen = false;
    switch (system) {
      case SatSystem::Gps:
        seen = ctx.Seen(SatSystem::Gps)[label];
        break;
      case SatSystem::Glonass:
        seen = ctx.Seen(SatSystem::Glonass)[label];
        break;
      case SatSystem::Sbas:
        seen = ctx.Seen(SatSystem::Sbas)[label];
        break;
      case SatSystem::Galileo:
        seen = ctx.Seen(SatSystem::Galileo)[label];
        break;
      default:
        break;
    }
    texts.push_back(seen ? std::to_string(label) : "N");
  }
  return texts;
}

}  // namespace vnx
