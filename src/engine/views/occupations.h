#pragma once
// The Occupations view: the list of epochs at which the site information changed, and the band
// that shows epoch by epoch whether the receiver stood still.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/views/point_series.h"

namespace vnx {

class ScanResult;

// The columns of the list: heading, width in characters, and whether values stand right-aligned.
struct OccupationColumn {
  const char* heading;
  int width;
  bool right;
};
inline constexpr int kOccupationColumnCount = 7;
extern const std::array<OccupationColumn, kOccupationColumnCount> kOccupationColumns;
using OccupationCells = std::array<std::string, kOccupationColumnCount>;

// The headings laid out as the lines are: every column padded to its width, two blanks apart.
extern const std::string kOccupationHeading;

struct OccupationList {
  std::vector<std::string> lines;     // the heading, then one line per change
  std::vector<OccupationCells> rows;  // the same changes, cell by cell
  std::string message;                // shown when the list stopped early
  bool shown = true;                  // false when DataEpochs.dat could not be opened
};

// The cells of epoch `epoch` (1-based) with its site information: number, site name (or
// "Unknown"), second site text (or "Unknown"), height, "yes"/"no" for slant and static, number.
OccupationCells OccupationRow(int32_t epoch, const SiteInfo& site);
// The same as one line of fixed-width columns.
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
