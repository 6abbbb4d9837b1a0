#pragma once
// The Summary panel as data: every text it shows after a scan, computed from the scan's
// counters, the epoch analysis and one pass over DataEpochs.dat and SVRecs.dat. A step that
// fails stops the build; the texts of the later steps are then absent (the window leaves those
// controls as they were).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/views/epoch_analysis.h"

namespace vnx {

class ScanResult;

// Ephemeris records written per satellite in this scan. Index 0 is satellite 1: GPS PRN,
// GLONASS slot, SBAS PRN - 100 (only 20..38 occur), Galileo PRN.
struct EphemerisCounts {
  std::array<int32_t, 32> gps{};
  std::array<int32_t, 24> glo{};
  std::array<int32_t, 38> sbas{};
  std::array<int32_t, 32> gal{};
};

// One value text of the Solutions group: epochs whose solution type is `type`.
struct SolutionRow {
  const char* caption;
  uint8_t type;
};
inline constexpr int kSolutionCount = 4;
extern const std::array<SolutionRow, kSolutionCount> kSolutionRows;

enum class SummaryColour { Red, Yellow };

// The Errors group: "Yes" on red or " No" on yellow, and whether "Show Errors" and
// "View Errors" are enabled (left as they were when there was no epoch at all).
struct SummaryErrorFlag {
  std::string text;
  SummaryColour colour = SummaryColour::Red;
  std::optional<bool> showErrorsEnabled;
};

// Satellites by number (GPS PRN, GLONASS slot, SBAS PRN - 100, Galileo PRN) and their text:
// " " + number for each, or " No".
struct SatelliteList {
  std::vector<int> numbers;
  std::string text;
};

// What the counters and the epochs list give, before the files are read.
struct SummaryEpochFigures {
  std::string start;                  // STSumStartEp
  std::string finish;                 // STSumFinish
  std::string epochs;                 // STSumNumEp
  std::string interval;               // STSumInterval
  std::string gaps;                   // STSumGap
  std::string xa, xb;                 // STSumXA, STSumXB
  std::string elevationMaskText;      // STSumElMask
  std::string azimuths;               // STSumAzim
  bool elevationMaskEnabled = false;  // EElMask and UDElMask of the Satellites view
  bool azimuthsPresent = false;
  int32_t elevationMask = 0;  // the new elevation mask of the Satellites view
  // Seen (ESumGPS, ESumGLO, ESumGEO, ESumGAL) and with ephemerides (EGPSEph, EGLOEph,
  // EGEOEph, EGALEph).
  SatelliteList gps, glo, geo, gal;
  SatelliteList gpsEph, gloEph, geoEph, galEph;
};

// What the pass over the epoch and satellite records gives.
struct SummaryRecordFigures {
  int32_t maxSats = 0, minSats = 100;
  std::string maxSatsText, minSatsText;                 // STSumMaxSat, STSumMinSat
  std::array<int32_t, kSolutionCount> solutions{};      // in kSolutionRows order
  std::array<int32_t, kObservableCount> observables{};  // by Observable
  std::string file;                                     // ESumFile

  // The value texts: the count in decimal, nothing else.
  std::string SolutionText(int row) const { return std::to_string(solutions[row]); }
  std::string ObservableText(int row) const { return std::to_string(observables[row]); }
};

struct Summary {
  std::string message;  // the message box text of a failed step, else empty
  SummaryErrorFlag errorFlag;
  std::optional<SummaryEpochFigures> epochs;    // absent when there was no epoch line
  std::optional<SummaryRecordFigures> records;  // absent when a file could not be read through
};

// Builds the summary of the scan in `ctx`. `analysis` is the epoch analysis of the same scan,
// `inputFile` the scanned path. The elevation mask figure is the lowest elevation of the
// satellite records written (0, with the mask controls disabled, when none carries one); the
// caller starts the Satellites view's mask with it.
Summary BuildSummary(const ScanResult& ctx, const EpochAnalysis& analysis,
                     const std::string& inputFile, const EphemerisCounts& ephemerides = {});

}  // namespace vnx
