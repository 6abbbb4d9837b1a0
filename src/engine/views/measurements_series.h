#pragma once
// The Measurements view's passes over the working files: one observable of one satellite, or
// the smoothing correction of one of its pseudoranges, against the epoch number. The pass that
// reads a satellite's records epoch by epoch is shared with the combinations chart.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/views/point_series.h"
#include "engine/views/satellites_series.h"

namespace vnx {

class ScanResult;

// The satellite chosen in the view's radio groups (groups and items as in the Satellites view).
struct SelectedSatellite {
  SatSystem system = SatSystem::Gps;
  int number = 1;  // the satellite records' `Number`

  // Item `item` of a group: GPS PRN and GLONASS slot item + 1, SBAS PRN item + 120, Galileo
  // satellite index item + 71.
  static SelectedSatellite OfItem(SatSystem s, int item) {
    return {s, SatelliteNumber(s, SatelliteItemLabel(s, item))};
  }
  uint8_t SystemCode() const { return static_cast<uint8_t>(system); }
  bool Matches(const SvRec& sv) const { return sv.number == number && sv.system == SystemCode(); }
};

// Where a pass reads from, and how many epoch records belong to the scan.
struct ChartSource {
  std::string dataEpochsPath;
  std::string svRecsPath;
  int32_t epochCount = 0;
};
ChartSource ChartSourceOf(const ScanResult& ctx);

// What a chart of one satellite gives the window.
struct MeasurementChart {
  // False when the chart is to stay as it was: no epochs, a working file that cannot be
  // opened, or no epoch record at all.
  bool drawn = false;
  // True when every epoch of the scan was read; the window then runs its gauge to 100 and back.
  bool complete = false;
  std::string title;                      // empty: no title row
  std::optional<std::string> rightTitle;  // the right-axis title, when the chart sets one
  PointSeries values;                     // series 0, left axis
  PointSeries elevations;                 // series 1, right axis
  std::string message;                    // the message to show, empty when none
};

// One item of the observable or smoothing radio group.
struct ObservableItem {
  Observable id;  // its signal block, caption and unit
  ObsKind kind;   // the presence flag and value taken: the observable's own, or smoothing
  int Signal() const { return InfoOf(id).signal; }
  const char* Name() const { return InfoOf(id).caption; }  // the radio item's text
  // "C1 [m]"; a smoothing correction says so: "C1 smoothing correction [m]".
  std::string Title() const {
    return std::string(Name()) + (kind == kSmoothing ? " smoothing correction " : " ") +
           InfoOf(id).unit;
  }
};
inline constexpr int kObservableItemCount = 20;
inline constexpr int kSmoothingItemCount = 5;
const std::array<ObservableItem, kObservableItemCount>& ObservableItems();
const std::array<ObservableItem, kSmoothingItemCount>& SmoothingItems();

// `item` indexes ObservableItems() (SmoothingItems()); a negative item (nothing selected) gives
// a chart without title or points.
MeasurementChart DrawObservableChart(const ChartSource& src, SelectedSatellite sat, int item,
                                     const ProgressCallback& gauge = {});
MeasurementChart DrawSmoothingChart(const ChartSource& src, SelectedSatellite sat, int item,
                                    const ProgressCallback& gauge = {});

// The reading every chart of one satellite shares: opens SVRecs.dat, then DataEpochs.dat, and
// hands each record of `sat` to `visit` with its epoch number 1..EpochCount. Fills `drawn`,
// `complete` and `message` of `chart`; returns whether any satellite record was read.
using SatelliteVisitor = std::function<void(int32_t epoch, const SvRec& sv)>;
bool RunSatellitePass(const ChartSource& src, SelectedSatellite sat, const ProgressCallback& gauge,
                      const SatelliteVisitor& visit, MeasurementChart& chart);

}  // namespace vnx
