#pragma once
// What every chart does with its points besides drawing them: thinning a large series to what
// the screen can show, finding the point under the mouse, and the CSV rows of the points in
// view. The window's chart calls these with its axis ranges and pixel sizes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/views/chart_time.h"

namespace vnx {

// A closed interval of one axis.
struct ValueSpan {
  double lower = 0, upper = 0;
  bool Contains(double v) const { return v >= lower && v <= upper; }
};

// Min/max per pixel column: of the points of `x` (ascending) inside `keys`, keeps per column
// of `columns` the first point with the smallest and the one with the largest value, so that
// spikes and gaps survive; also the nearest point on either side of the range, so that the
// edges stay drawn while panning. Returns the kept indices, ascending.
std::vector<uint32_t> DecimateColumns(std::span<const double> x, std::span<const double> y,
                                      ValueSpan keys, int columns);

// For points in no particular order (scatters): one point per occupied cell of a `columns` x
// `rows` grid over `keys` x `values`; points outside are dropped. Indices ascending.
std::vector<uint32_t> DecimateCells(std::span<const double> x, std::span<const double> y,
                                    ValueSpan keys, ValueSpan values, int columns, int rows);

// The index of the point nearest to (`key`, `value`) measured in pixels, `keyPerPixel` and
// `valuePerPixel` being the axis scales; -1 when none lies within `radius` pixels. `sorted`
// (ascending x) limits the search to the keys within reach.
int64_t NearestPoint(std::span<const double> x, std::span<const double> y, bool sorted, double key,
                     double value, double keyPerPixel, double valuePerPixel, double radius);

// One series as a chart holds it for export: its keys (epoch numbers on epoch charts),
// values, and for scatters the epoch of each point.
struct CsvSeries {
  std::string name;
  std::string unit;  // of the values, e.g. "m"
  std::span<const double> x, y;
  std::span<const int32_t> epochs;  // empty: the keys are the epochs
  ValueSpan values;                 // the visible range of the axis the series is drawn on
};

// What the horizontal axis holds.
struct CsvKeyAxis {
  bool isEpoch = true;  // keys are epoch numbers
  std::string name;     // otherwise the column name and unit, e.g. "elevation [deg]"
  ValueSpan keys;       // visible range in epoch numbers (or the scatter's own unit)
};

// The CSV text of every point inside the visible ranges: a header naming the columns and units,
// then one row per point, series after series in their order: series name, epoch number, time
// (GPS, with the date; UTC too when the clock knows the leap seconds), the key when it is not
// the epoch, the value and its unit. Without epoch times (an empty clock) the time columns are
// left out.
std::string VisibleCsv(const std::vector<CsvSeries>& series, const CsvKeyAxis& keyAxis,
                       const EpochClock& clock);

// Unit of an axis title "name [unit]" (the text between the last brackets), empty if none.
std::string UnitOfTitle(const std::string& title);

}  // namespace vnx
