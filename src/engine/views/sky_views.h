#pragma once
// The views drawn from the satellites' directions: the skyplot (each satellite's track of
// azimuth and elevation, coloured by its system or by the signal strength of one signal) and
// the signal strength against elevation with its mean per elevation bin.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/gnss/satellite_system.h"
#include "engine/views/chart_time.h"
#include "engine/views/measurements_series.h"
#include "engine/views/point_series.h"

namespace vnx {

// Which satellite records a pass takes: epochs first..last (1-based, inclusive; 0 for the
// last epoch of the scan) of the systems checked.
struct SkySelection {
  int32_t firstEpoch = 1;
  int32_t lastEpoch = 0;
  std::array<bool, kSatSystemCount> systems{true, true, true, true};
  int signal = 0;  // the signal whose strength is taken, 0..4
};

struct SkyTrackPoint {
  float azimuth = 0, elevation = 0;  // degrees
  float snr = 0;                     // dB-Hz of the chosen signal; NaN when it has none
  int32_t epoch = 0;
  bool startsSegment = false;  // the satellite was out of view before this point
};

struct SkyTrack {
  SatSystem system = SatSystem::Gps;
  int label = 0;  // the number the views give the satellite (PRN, slot, PRN - 100)
  std::vector<SkyTrackPoint> points;
  int32_t lastEpoch = 0;     // the last epoch the satellite was seen in
  std::string Name() const;  // "G05", "R12", "S20", "E11"
};

struct SkyPlot {
  std::vector<SkyTrack> tracks;  // by system, then label
  float snrMin = 0, snrMax = 0;  // over the points that carry a strength; equal when none
  std::string message;           // what the view shows when a file failed; empty otherwise
};

// A satellite record starts a new segment of its track when the last one was more than this
// many epochs earlier.
inline constexpr int32_t kSkyTrackGap = 10;

// The tracks of every satellite in the selection whose epochs carried elevations and azimuths
// (a satellite left at elevation 0 and azimuth 0 had neither).
// A track keeps a point where a segment starts, where its whole-degree direction changes and
// where the strength changes by a decibel or more, so a day at 1 Hz stays small.
SkyPlot SkyTracks(const ChartSource& src, const SkySelection& selection);

// Position of a direction on a skyplot of radius 1: north up, azimuth clockwise, the horizon
// on the rim and the zenith in the middle; y grows downwards as on a screen.
struct SkyXY {
  double x = 0, y = 0;
};
SkyXY SkyPosition(double azimuthDeg, double elevationDeg);

// Colour (0xRRGGBB) of strength `snr` on the skyplot's scale from `lo` to `hi`: dark violet,
// blue, teal, green, orange; every stop readable on white. Outside the range the ends.
uint32_t StrengthColour(double snr, double lo, double hi);

// The CSV of every point of `plot`: satellite, epoch, GPS time (when `clock` has times),
// azimuth, elevation and strength.
std::string SkyCsv(const SkyPlot& plot, const EpochClock& clock);

inline constexpr double kSnrBinWidth = 5;  // degrees of elevation per mean
inline constexpr int kSnrBinCount = 18;    // 0..90 degrees

struct SnrElevation {
  // Per system: x elevation (deg), y strength (dB-Hz), and each point's epoch.
  std::array<PointSeries, kSatSystemCount> points;
  std::array<std::vector<int32_t>, kSatSystemCount> epochs;
  // Per system: the mean strength of each 5-degree bin that has points, at the bin's middle.
  std::array<PointSeries, kSatSystemCount> means;
  std::string message;
};

// The strength of `selection.signal` against elevation of every record with both, at
// elevations 0..90.
SnrElevation SnrAgainstElevation(const ChartSource& src, const SkySelection& selection);

}  // namespace vnx
