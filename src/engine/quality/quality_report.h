#pragma once
// What the quality analysis of one log finds: per satellite, per system and for the whole log
// (completeness, multipath, cycle slips, signal strength), the receiver clock jumps, the
// epochs, and the series of its charts. Everything a report or a view shows is here, computed;
// they only present it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/gnss/satellite_system.h"
#include "engine/gnss/signals.h"
#include "engine/orbits/orbit.h"
#include "engine/quality/detectors.h"

namespace vnx {

struct SlipMark {
  int32_t epoch = 0;  // epoch number 1..EpochCount, as the charts count
  double time = 0;    // GPS seconds
  bool geometryFree = false, wideLane = false;
};

struct ClockJumpMark {
  int32_t epoch = 0;
  double time = 0;
  int milliseconds = 0;  // the whole milliseconds the codes jumped by
};

struct QualitySatellite {
  SatSystem system = SatSystem::None;
  int number = 0;             // GPS and Galileo PRN, GLONASS slot, SBAS PRN
  std::string name;           // "G01", "R07", "E11", "S20" (SBAS PRN 120)
  bool hasEphemeris = false;  // the log holds at least one ephemeris of it
  int64_t epochsSeen = 0;     // epochs with a record of it
  // Epochs at or above the mask with a valid ephemeris, and those of them with its
  // first-frequency code.
  int64_t expected = 0, observed = 0;
  // Epochs in which each observable is present, by Observable.
  std::array<int64_t, kObservableCount> observations{};
  SquareSum mp1, mp2;                     // about each arc's mean, arcs of at least 10 points
  SquareSum mp5;                          // GPS: the L5 code's multipath from the L1-L5 pair
  std::vector<SlipMark> slips;            // found by the analysis, in time order
  std::array<MeanStd, kSignalCount> snr;  // by signal block, dB-Hz
  double firstTime = 0, lastTime = 0;     // of its records

  std::optional<double> CompletenessPct() const;
};

// The figures of a group of satellites: one system, or the whole log.
struct QualityGroup {
  int satellites = 0;  // satellites observed
  int64_t expected = 0, observed = 0;
  SquareSum mp1, mp2;
  SquareSum mp5;  // GPS L5 code, L1-L5 pair
  std::array<SquareSum, kMultipathBins> mp1Bins{}, mp2Bins{};
  int64_t slips = 0;
  // Signal strength per signal block and 10-degree elevation bin.
  std::array<std::array<MeanStd, kSnrBins>, kSignalCount> snrBins{};

  std::optional<double> CompletenessPct() const;
};

struct QualityEpochs {
  int32_t count = 0;           // epochs present
  double first = 0, last = 0;  // GPS seconds
  double intervalS = 0;
  int64_t expected = 0;  // over the span at the interval
  int32_t gaps = 0;      // counted as the Times view counts them
};

// Chart series, thinned to at most a few hundred samples per satellite over the log.
struct SkyPoint {
  float azimuthDeg = 0, elevationDeg = 0;
  float mp1 = 0;           // metres about its arc's mean; NaN where the point has none
  uint16_t satellite = 0;  // index into QualityReport::satellites
};
struct ElevationPoint {
  float elevationDeg = 0, value = 0;
  uint16_t satellite = 0;
  uint8_t series = 0;  // multipath: 0 MP1, 1 MP2; signal strength: the signal block
};
struct AvailabilityBar {
  uint16_t satellite = 0;
  std::vector<std::pair<double, double>> runs;  // GPS seconds, from and to
};
struct QualityCharts {
  std::vector<SkyPoint> sky;
  std::vector<ElevationPoint> multipath;
  std::vector<ElevationPoint> snr;
  std::vector<AvailabilityBar> availability;
};

struct QualityReport {
  bool ok = false;
  std::string message;  // why the analysis stopped, when it did
  double maskDeg = 10;
  std::optional<Vec3> position;  // the receiver; none: no elevations from ephemerides
  std::string positionSource;    // "given", "mean of the log's positions" or "none"
  int positionCount = 0;         // positions of the log averaged
  int leapSeconds = 18;
  QualityEpochs epochs;
  std::vector<QualitySatellite> satellites;             // GPS, GLONASS, Galileo, SBAS, by number
  std::array<QualityGroup, kSatSystemCount> systems{};  // by SystemIndex
  QualityGroup& System(SatSystem s) { return systems[static_cast<size_t>(SystemIndex(s))]; }
  const QualityGroup& System(SatSystem s) const {
    return systems[static_cast<size_t>(SystemIndex(s))];
  }
  QualityGroup total;
  std::vector<ClockJumpMark> clockJumps;
  std::vector<std::string> withoutEphemeris;  // observed, but the log has no ephemeris of them
  QualityCharts charts;

  // The satellite of a satellite record (`System` code and record `Number`), or null.
  const QualitySatellite* FindRecord(SatSystem system, int recordNumber) const;
  // Epoch numbers of the slips found on a satellite, for marking them on its charts.
  std::vector<int32_t> SlipEpochs(SatSystem system, int recordNumber) const;
};

// "G", "R", "S", "E" and the name of a satellite ("S20" for SBAS PRN 120).
std::string QualitySatelliteName(SatSystem system, int number);
// The system's short name: "GPS", "GLO", "GEO", "GAL".
const char* QualitySystemName(SatSystem system);
// The order systems are listed in: GPS, GLONASS, Galileo, SBAS.
inline constexpr std::array<SatSystem, kSatSystemCount> kQualitySystemOrder = {
    SatSystem::Gps, SatSystem::Glonass, SatSystem::Galileo, SatSystem::Sbas};

}  // namespace vnx
