#include "engine/views/positions_series.h"

#include <cmath>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/epoch/scan_result.h"

namespace vnx {

namespace {

// Values below this are taken as "not given".
constexpr double kZero = 1e-12;

struct SolutionValue {
  bool present = false;
  double plotted = 0;
  double tested = 0;
};

// The plotted value, the value tested against zero and whether the record carries it. The test
// is made on the value drawn, so velocities show in logs without positions.
SolutionValue Pick(const PosBlock& p, SolutionItem item, bool velocity) {
  const bool moving = velocity ? p.velocityPresent != 0 : p.positionPresent != 0;
  auto value = [](bool present, double v) { return SolutionValue{present, v, v}; };
  switch (item) {
    case SolutionItem::X:
      return value(moving, velocity ? p.vx : p.x);
    case SolutionItem::Y:
      return value(moving, velocity ? p.vy : p.y);
    case SolutionItem::Z:
      return value(moving, velocity ? p.vz : p.z);
    case SolutionItem::RmsHor:
      return value(p.rmsPresent != 0, velocity ? p.hvel : p.hpos);
    case SolutionItem::RmsVer:
      return value(p.rmsPresent != 0, velocity ? p.vvel : p.vpos);
    case SolutionItem::Sep:
      return value(moving, velocity ? p.velocitySigma : p.positionSigma);
  }
  return {};
}

std::array<float, kDopCount> Dops(const PosBlock& p) {
  return {p.hdop, p.vdop, p.tdop, p.pdop, p.gdop};
}

// Reads epochs 1..count of DataEpochs.dat; every record goes to `visit`. The message of the
// outcome: opening failure, early end, or empty.
template <class Visit>
std::string ForEachEpochRecord(const std::string& dir, int32_t count, Visit visit) {
  if (count == 0) return {};
  RecordReader reader(dir + WorkFileName(WorkFile::DataEpochs), sizeof(EpochRec));
  if (!reader.IsOpen()) return OpeningFailure(WorkFile::DataEpochs);
  EpochRec rec;
  for (int32_t i = 1; i <= count; ++i) {
    // A file that ends before this scan's count stops the chart, whichever epoch it is.
    if (!reader.Read(&rec)) return kUnexpectedEnd;
    visit(i, rec);
  }
  return {};
}

}  // namespace

std::string SolutionAxisTitle(const SolutionRequest& r) {
  static constexpr const char* kNames[] = {"X", "Y", "Z", "RMS_hor", "RMS_ver", "SEP"};
  const int item = static_cast<int>(r.item);
  const std::string name = kNames[item < 0 || item > 5 ? 0 : item];
  if (!r.velocity) return name + " [m]";
  if (item <= 2) return "V" + std::string(1, static_cast<char>(name[0] + 32)) + " [m/s]";
  return name + " velocity [m/s]";
}

SolutionChart SolutionSeries(const std::string& dir, int32_t epochCount,
                             const SolutionRequest& request) {
  SolutionChart chart;
  chart.message = ForEachEpochRecord(dir, epochCount, [&](int32_t i, const EpochRec& rec) {
    const int type = rec.pos.solutionType;
    if (type < 1 || type > kSolutionTypeCount || !request.types[type - 1]) return;
    const SolutionValue v = Pick(rec.pos, request.item, request.velocity);
    if (v.present && std::fabs(v.tested) > kZero) chart.series[type - 1].Add(i, v.plotted);
  });
  return chart;
}

SolutionChart SolutionSeries(const ScanResult& ctx, const SolutionRequest& request) {
  return SolutionSeries(ctx.Files().Dir(), ctx.EpochCount(), request);
}

DopChart DopSeries(const std::string& dir, int32_t epochCount,
                   const std::array<bool, kDopCount>& shown) {
  DopChart chart;
  chart.message = ForEachEpochRecord(dir, epochCount, [&](int32_t i, const EpochRec& rec) {
    if (!rec.pos.dopPresent) return;
    const std::array<float, kDopCount> dops = Dops(rec.pos);
    for (int d = 0; d < kDopCount; ++d)
      if (shown[d] && std::fabs(dops[d]) > kZero) chart.series[d].Add(i, dops[d]);
  });
  return chart;
}

DopChart DopSeries(const ScanResult& ctx, const std::array<bool, kDopCount>& shown) {
  return DopSeries(ctx.Files().Dir(), ctx.EpochCount(), shown);
}

}  // namespace vnx
