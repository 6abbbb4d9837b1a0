#pragma once
// The Occupations view: the list of epochs at which the site information changed, and the band
// that shows epoch by epoch whether the receiver stood still.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/views/point_series.h"

namespace vnx {

class ScanResult;

extern const char* const kOccupationHeading;

struct OccupationList {
  std::vector<std::string> lines;  // the heading, then one line per change
  std::string message;             // shown when the list stopped early
  bool shown = true;               // false when DataEpochs.dat could not be opened
};

// One line of the list for epoch `epoch` (1-based) with its site information.
std::string OccupationLine(int32_t epoch, const SiteInfo& site);
// The antenna height as the list prints it: 4 decimals of at most 8 significant digits, in
// scientific notation when the whole part needs more than 8 digits.
std::string HeightText(double metres);
// True when `site` differs from `previous` in a way that opens a new line: a text, the static or
// slant flag, or the height by more than a micrometre.
bool SiteChanged(const SiteInfo& previous, const SiteInfo& site);

OccupationList BuildOccupationList(const std::string& dir, int32_t epochCount);
OccupationList BuildOccupationList(const ScanResult& ctx);

// Series 0: static epochs, series 1: kinematic epochs, all at height 0.
struct OccupationBand {
  PointSeries staticEpochs;
  PointSeries kinematicEpochs;
  std::string message;
};

OccupationBand BuildOccupationBand(const std::string& dir, int32_t epochCount);
OccupationBand BuildOccupationBand(const ScanResult& ctx);

}  // namespace vnx
