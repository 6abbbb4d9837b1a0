#pragma once
// The receiver's positions as east, north and up deviations from a reference (their mean, or a
// point the user types in as XYZ or as latitude, longitude and height on WGS-84), with the
// horizontal scatter figures: mean, standard deviation and 2DRMS in metres.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/orbits/geodesy.h"
#include "engine/views/point_series.h"
#include "engine/views/positions_series.h"

namespace vnx {

struct DeviationRequest {
  std::optional<Vec3> reference;  // ECEF metres; none: the mean of the positions
  std::array<bool, kSolutionTypeCount> types{true, true, true, true};
};

struct AxisFigures {
  double mean = 0, sd = 0;  // metres
};

struct PositionDeviations {
  PointSeries east, north, up;  // against the epoch number, metres
  Vec3 reference{};             // the reference used, ECEF
  Geodetic referenceGeodetic;
  std::array<AxisFigures, 3> figures;  // east, north, up
  double drms2 = 0;                    // 2DRMS: twice the root of the horizontal variances
  std::string message;                 // empty when every epoch was read
  size_t Count() const { return east.size(); }
};

// Reads the positions of `epochCount` epochs of DataEpochs.dat (those with a position of a
// checked solution type) and turns them into deviations.
PositionDeviations DeviationSeries(const std::string& dataEpochsPath, int32_t epochCount,
                                   const DeviationRequest& request);
PositionDeviations DeviationSeries(const ScanResult& ctx, const DeviationRequest& request);

// The deviations of positions `xyz` (with their epochs) from `reference`, and their figures.
PositionDeviations Deviations(const std::vector<Vec3>& xyz, const std::vector<int32_t>& epochs,
                              const std::optional<Vec3>& reference);

// Parses a reference typed as "X Y Z" (metres) or "lat lon h" (degrees, degrees, metres),
// separated by blanks or commas; nullopt when the text is not three numbers in range.
std::optional<Vec3> ParseReference(const std::string& text, bool geodetic);

}  // namespace vnx
