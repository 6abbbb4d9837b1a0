#include "engine/views/position_deviations.h"

#include <cmath>
#include <sstream>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/epoch/scan_result.h"

namespace vnx {

PositionDeviations Deviations(const std::vector<Vec3>& xyz, const std::vector<int32_t>& epochs,
                              const std::optional<Vec3>& reference) {
  PositionDeviations out;
  const size_t n = std::min(xyz.size(), epochs.size());
  Vec3 ref{};
  if (reference) {
    ref = *reference;
  } else if (n > 0) {
    // The mean taken as offsets from the first position, so millions of metres do not swamp
    // the centimetres.
    Vec3 sum{};
    for (size_t i = 0; i < n; ++i)
      for (int k = 0; k < 3; ++k) sum[k] += xyz[i][k] - xyz[0][k];
    for (int k = 0; k < 3; ++k) ref[k] = xyz[0][k] + sum[k] / static_cast<double>(n);
  }
  out.reference = ref;
  out.referenceGeodetic = ToGeodetic(ref);
  std::array<double, 3> sum{}, sumSquares{};
  for (size_t i = 0; i < n; ++i) {
    const Vec3 d{xyz[i][0] - ref[0], xyz[i][1] - ref[1], xyz[i][2] - ref[2]};
    const Vec3 enu = EcefToEnu(out.referenceGeodetic, d);
    const double epoch = epochs[i];
    out.east.Add(epoch, enu[0]);
    out.north.Add(epoch, enu[1]);
    out.up.Add(epoch, enu[2]);
    for (size_t k = 0; k < 3; ++k) sum[k] += enu[k];
  }
  if (n == 0) return out;
  for (size_t k = 0; k < 3; ++k) out.figures[k].mean = sum[k] / static_cast<double>(n);
  const PointSeries* axes[3] = {&out.east, &out.north, &out.up};
  for (size_t k = 0; k < 3; ++k)
    for (double v : axes[k]->y)
      sumSquares[k] += (v - out.figures[k].mean) * (v - out.figures[k].mean);
  for (size_t k = 0; k < 3; ++k)
    out.figures[k].sd = n > 1 ? std::sqrt(sumSquares[k] / static_cast<double>(n - 1)) : 0;
  out.drms2 = 2 * std::hypot(out.figures[0].sd, out.figures[1].sd);
  return out;
}

PositionDeviations DeviationSeries(const std::string& path, int32_t epochCount,
                                   const DeviationRequest& request) {
  std::vector<Vec3> xyz;
  std::vector<int32_t> epochs;
  std::string message;
  if (epochCount > 0) {
    RecordReader reader(path, sizeof(EpochRec));
    if (!reader.IsOpen()) {
      message = OpeningFailure(WorkFile::DataEpochs);
    } else {
      EpochRec rec;
      for (int32_t i = 1; i <= epochCount; ++i) {
        if (!reader.Read(&rec)) {
          message = std::string(kUnexpectedEnd) + " Epochs";
          break;
        }
        const PosBlock& p = rec.pos;
        const int type = p.solutionType;
        if (!p.positionPresent || type < 1 || type > kSolutionTypeCount ||
            !request.types[static_cast<size_t>(type - 1)])
          continue;
        if (p.x == 0 && p.y == 0 && p.z == 0) continue;
        xyz.push_back({p.x, p.y, p.z});
        epochs.push_back(i);
      }
    }
  }
  PositionDeviations out = Deviations(xyz, epochs, request.reference);
  out.message = message;
  return out;
}

PositionDeviations DeviationSeries(const ScanResult& ctx, const DeviationRequest& request) {
  return DeviationSeries(ctx.Files().PathOf(WorkFile::DataEpochs), ctx.EpochCount(), request);
}

std::optional<Vec3> ParseReference(const std::string& text, bool geodetic) {
  std::string s = text;
  for (char& c : s)
    if (c == ',' || c == ';') c = ' ';
  std::istringstream in(s);
  Vec3 v{};
  if (!(in >> v[0] >> v[1] >> v[2])) return std::nullopt;
  std::string rest;
  if (in >> rest) return std::nullopt;
  for (double c : v)
    if (!std::isfinite(c)) return std::nullopt;
  if (!geodetic) return v;
  if (std::fabs(v[0]) > 90 || std::fabs(v[1]) > 360) return std::nullopt;
  return FromGeodetic({v[0] * kDegree, v[1] * kDegree, v[2]});
}

}  // namespace vnx
