#pragma once
// The External events view's passes: the time between consecutive XA and XB events in
// milliseconds, and the ZA and ZB PPS offsets in nanoseconds, each with the left-axis range the
// chart takes from its spread.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/views/point_series.h"

namespace vnx {

class ScanResult;

// The left axis of a chart: automatic, or fixed to [min, max].
struct AxisRange {
  bool automatic = true;
  double min = 0, max = 0;
};

// Series 0 is input A (XA or ZA), series 1 input B (XB or ZB).
struct EventChart {
  std::array<PointSeries, 2> series;
  // Spans every input drawn; absent when nothing was drawn or an input stopped early (the chart
  // then keeps its axis).
  std::optional<AxisRange> axis;
  std::string message;  // an opening failure; an early end of file stops the chart silently
};

// One input of a chart: how many records this scan wrote and whether its box is checked.
struct EventInput {
  int32_t count = 0;
  bool drawn = false;
};

// Intervals T[k] - T[k-1] in ms for k = 2..count (an input needs two events), read from
// ExtEventRecsXA/XB.dat under `dir`.
EventChart IntervalSeries(const std::string& dir, EventInput xa, EventInput xb);
EventChart IntervalSeries(const ScanResult& ctx, bool drawXA, bool drawXB);

// Offsets for k = 1..count (a single offset too), read from ZARecs/ZBRecs.dat under `dir`.
EventChart OffsetSeries(const std::string& dir, EventInput za, EventInput zb);
EventChart OffsetSeries(const ScanResult& ctx, bool drawZA, bool drawZB);

// A spread of 1 or more scales itself; a smaller one gets Trunc(smallest) - 1 ..
// Trunc(largest) + 1, so 1000 ms intervals show from 999 to 1001.
AxisRange AxisRule(double smallest, double largest);

}  // namespace vnx
