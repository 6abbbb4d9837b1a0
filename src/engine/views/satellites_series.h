#pragma once
// The Satellites view's passes over DataEpochs.dat and SVRecs.dat: the count of satellites at or
// above the elevation mask per system and epoch, and the elevation or azimuth track of one
// satellite. Each pass reads the files from their first record.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/gnss/satellite_system.h"
#include "engine/views/point_series.h"

namespace vnx {

class ScanResult;

// Series of the satellites chart: ALL, GPS, GLO, GEO, GAL. The tracks use series 0 only.
inline constexpr int kSatSeriesCount = 5;

struct SatelliteChart {
  std::array<PointSeries, kSatSeriesCount> series;
  std::string message;  // what the view shows when the pass stopped early; empty otherwise
  // The count pass: satellite records of systems 1..4 that carry no elevation (never counted,
  // whatever the mask), and how many distinct satellites they belong to.
  int32_t recordsWithoutElevation = 0;
  int32_t satellitesWithoutElevation = 0;
};

// The line under the count chart that accounts for the satellites it cannot count: empty when
// every record had an elevation.
std::string WithoutElevationNote(const SatelliteChart& chart);

// Where the pass reads: the working directory (with its trailing slash) and this scan's epochs.
struct SatelliteFiles {
  std::string dir;
  int32_t epochCount = 0;
};
SatelliteFiles SatelliteFilesOf(const ScanResult& ctx);

// Satellites at or above `mask` degrees per epoch; GLONASS, SBAS and Galileo are lifted by
// 0.01, 0.02 and 0.03 so that equal counts stay apart. `progress` gets a percentage every 2000
// epochs and 100 once the last epoch has been counted.
SatelliteChart CountSatellites(const SatelliteFiles& files, int32_t mask,
                               const ProgressCallback& progress = {});

enum class TrackKind { Elevation, Azimuth };
// Elevation or azimuth of the satellite with radio label `label` of `system`; no mask applies.
// Epochs without an elevation of the satellite have no elevation point.
SatelliteChart SatelliteTrack(const SatelliteFiles& files, SatSystem system, int label,
                              TrackKind kind);

// Number of radio items per group and the label of item `item` (0-based): GPS PRN, GLONASS slot,
// SBAS PRN - 100 (20..38), Galileo PRN.
int SatelliteItemCount(SatSystem system);
int SatelliteItemLabel(SatSystem system, int item);
// The satellite number a record carries for a radio label: PRN or slot for GPS and GLONASS,
// 100 + label for SBAS, 70 + label (the satellite index) for Galileo.
int SatelliteNumber(SatSystem system, int label);
// Item texts after a scan: the label for a satellite seen in the file, "N" for one not seen.
std::vector<std::string> SatelliteItemTexts(const ScanResult& ctx, SatSystem system);

}  // namespace vnx
