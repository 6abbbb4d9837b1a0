#include "engine/views/sky_views.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"

namespace vnx {

namespace {

bool Selected(const SkySelection& s, const SvRec& sv) {
  return sv.system >= 1 && sv.system <= kSatSystemCount && s.systems[sv.system - 1u];
}

// A satellite without an elevation is never placed; one whose "EL" and "AZ" entries were both
// missing keeps the record's zeros, and a real satellite exactly on the horizon due north is
// rare enough to be taken for one of those.
bool DirectionKnown(const SvRec& sv) {
  return HasElevation(sv) && (sv.elevation != 0 || sv.azimuth != 0);
}

// Hands each satellite record of the selected epochs that carried elevations and azimuths to
// `visit`. Returns the message of a failure, empty when every epoch was read.
template <class Visit>
std::string ForEachDirection(const ChartSource& src, const SkySelection& sel, Visit&& visit) {
  if (src.epochCount <= 0) return {};
  RecordReader epochs(src.dataEpochsPath, sizeof(EpochRec));
  if (!epochs.IsOpen()) return OpeningFailure(WorkFile::DataEpochs);
  RecordReader svs(src.svRecsPath, sizeof(SvRec));
  if (!svs.IsOpen()) return OpeningFailure(WorkFile::SVRecs);
  const int32_t last = sel.lastEpoch > 0 ? std::min(sel.lastEpoch, src.epochCount) : src.epochCount;
  EpochRec rec;
  SvRec sv;
  for (int32_t i = 1; i <= last; ++i) {
    if (!epochs.Read(&rec)) return std::string(kUnexpectedEnd) + " Epochs";
    const bool wanted = i >= sel.firstEpoch && rec.flags[kFlagEL] && rec.flags[kFlagAZ];
    for (int32_t k = 0; k < rec.satsWritten; ++k) {
      if (!svs.Read(&sv)) return std::string(kUnexpectedEnd) + " SVs";
      if (wanted && Selected(sel, sv) && DirectionKnown(sv)) visit(i, sv);
    }
  }
  return {};
}

float Strength(const SvRec& sv, int signal) {
  if (signal < 0 || signal >= kSignalCount) return std::numeric_limits<float>::quiet_NaN();
  const SignalBlock& b = sv.sig[signal];
  return b.present[kSnr] ? b.snr : std::numeric_limits<float>::quiet_NaN();
}

int LabelOf(const SvRec& sv) {
  return sv.number - InfoOf(static_cast<SatSystem>(sv.system)).numberOffset;
}

}  // namespace

std::string SkyTrack::Name() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%c%02d", InfoOf(system).letter, label);
  return buf;
}

SkyPlot SkyTracks(const ChartSource& src, const SkySelection& sel) {
  SkyPlot plot;
  // Tracks by system and label, the order of the plot; a flat table, since every satellite
  // record of the log comes through here.
  constexpr int kLabels = 256;
  std::vector<SkyTrack> tracks(kSatSystemCount * kLabels);
  float lo = std::numeric_limits<float>::infinity(), hi = -lo;
  plot.message = ForEachDirection(src, sel, [&](int32_t epoch, const SvRec& sv) {
    const int label = LabelOf(sv);
    if (label < 0 || label >= kLabels) return;
    SkyTrack& t = tracks[static_cast<size_t>((sv.system - 1) * kLabels + label)];
    t.system = static_cast<SatSystem>(sv.system);
    t.label = LabelOf(sv);
    SkyTrackPoint p;
    p.azimuth = static_cast<float>(static_cast<uint16_t>(sv.azimuth) % 360);
    p.elevation = sv.elevation;
    p.snr = Strength(sv, sel.signal);
    p.epoch = epoch;
    if (!std::isnan(p.snr)) {
      lo = std::min(lo, p.snr);
      hi = std::max(hi, p.snr);
    }
    p.startsSegment = t.points.empty() || epoch - t.lastEpoch > kSkyTrackGap;
    t.lastEpoch = epoch;
    if (!p.startsSegment) {
      const SkyTrackPoint& prev = t.points.back();
      const bool sameDirection = p.azimuth == prev.azimuth && p.elevation == prev.elevation;
      const bool sameStrength =
          std::isnan(p.snr) ? std::isnan(prev.snr) : std::fabs(p.snr - prev.snr) < 1;
      if (sameDirection && sameStrength) return;
    }
    t.points.push_back(p);
  });
  for (SkyTrack& t : tracks)
    if (!t.points.empty()) plot.tracks.push_back(std::move(t));
  if (lo <= hi) {
    plot.snrMin = lo;
    plot.snrMax = hi;
  }
  return plot;
}

SkyXY SkyPosition(double azimuthDeg, double elevationDeg) {
  const double r = (90 - std::clamp(elevationDeg, 0.0, 90.0)) / 90;
  const double a = azimuthDeg * 3.14159265358979323846 / 180;
  return {r * std::sin(a), -r * std::cos(a)};
}

uint32_t StrengthColour(double snr, double lo, double hi) {
  static constexpr uint8_t kStops[][3] = {
      {68, 1, 84}, {59, 82, 139}, {33, 145, 140}, {53, 170, 90}, {230, 120, 0}};
  constexpr int kLast = 4;
  const double t = hi > lo ? std::clamp((snr - lo) / (hi - lo), 0.0, 1.0) : 1.0;
  const int i = std::min(static_cast<int>(t * kLast), kLast - 1);
  const double f = t * kLast - i;
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) {
    const double v = kStops[i][c] + (kStops[i + 1][c] - kStops[i][c]) * f;
    out = (out << 8) | static_cast<uint32_t>(std::lround(v));
  }
  return out;
}

std::string SkyCsv(const SkyPlot& plot, const EpochClock& clock) {
  std::string out = "satellite,epoch";
  if (!clock.Empty()) out += ",time (GPS)";
  out += ",azimuth [deg],elevation [deg],strength [dB-Hz]\n";
  char buf[96];
  for (const SkyTrack& t : plot.tracks) {
    for (const SkyTrackPoint& p : t.points) {
      out += t.Name() + ',' + std::to_string(p.epoch);
      if (!clock.Empty())
        out += ',' + clock.Text(clock.AxisValue(p.epoch, ChartTimeAxis::GpsTime), true, 3);
      if (std::isnan(p.snr))
        std::snprintf(buf, sizeof buf, ",%g,%g,\n", p.azimuth, p.elevation);
      else
        std::snprintf(buf, sizeof buf, ",%g,%g,%g\n", p.azimuth, p.elevation, p.snr);
      out += buf;
    }
  }
  return out;
}

SnrElevation SnrAgainstElevation(const ChartSource& src, const SkySelection& sel) {
  SnrElevation out;
  std::array<std::array<double, kSnrBinCount>, kSatSystemCount> sum{};
  std::array<std::array<int, kSnrBinCount>, kSatSystemCount> count{};
  out.message = ForEachDirection(src, sel, [&](int32_t epoch, const SvRec& sv) {
    const float snr = Strength(sv, sel.signal);
    if (std::isnan(snr) || sv.elevation < 0 || sv.elevation > 90) return;
    const size_t s = sv.system - 1u;
    out.points[s].Add(sv.elevation, snr);
    out.epochs[s].push_back(epoch);
    const size_t bin =
        std::min<size_t>(static_cast<size_t>(sv.elevation / kSnrBinWidth), kSnrBinCount - 1);
    sum[s][bin] += snr;
    ++count[s][bin];
  });
  for (size_t s = 0; s < kSatSystemCount; ++s)
    for (size_t b = 0; b < kSnrBinCount; ++b)
      if (count[s][b] > 0)
        out.means[s].Add((static_cast<double>(b) + 0.5) * kSnrBinWidth, sum[s][b] / count[s][b]);
  return out;
}

}  // namespace vnx
