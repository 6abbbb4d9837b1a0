#include "engine/views/events_series.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/epoch/scan_result.h"
#include "engine/time/gps_time.h"

namespace vnx {

namespace {

// How one input's pass ended.
enum class Outcome { Drawn, Stopped };

struct Spread {
  double smallest = std::numeric_limits<double>::max();
  double largest = std::numeric_limits<double>::lowest();
  void Take(double v) {
    smallest = std::min(smallest, v);
    largest = std::max(largest, v);
  }
};

// Reads the event times of one input and adds the intervals to `series`.
Outcome DrawIntervals(const std::string& dir, WorkFile file, int32_t count, PointSeries& series,
                      Spread& spread, EventChart& chart) {
  RecordReader reader(dir + WorkFileName(file), sizeof(ExtEventRec));
  if (!reader.IsOpen()) {
    chart.message = OpeningFailure(file);
    return Outcome::Stopped;
  }
  ExtEventRec rec;
  if (!reader.Read(&rec)) return Outcome::Stopped;
  TGPSTimeNS previous = TGPSTimeNS::FromTimeRec(rec.time);
  for (int32_t k = 2; k <= count; ++k) {
    if (!reader.Read(&rec)) return Outcome::Stopped;
    const TGPSTimeNS t = TGPSTimeNS::FromTimeRec(rec.time);
    const double ms =
        static_cast<double>(t.Nanoseconds() - previous.Nanoseconds()) / 1000000.0 +
        static_cast<double>(int64_t{t.Seconds()} - int64_t{previous.Seconds()}) * 1000.0;
    series.Add(k, ms);
    spread.Take(ms);
    previous = t;
  }
  return Outcome::Drawn;
}

// Reads the offsets of one input into `series`.
Outcome DrawOffsets(const std::string& dir, WorkFile file, int32_t count, PointSeries& series,
                    Spread& spread, EventChart& chart) {
  RecordReader reader(dir + WorkFileName(file), sizeof(ZOffsetRec));
  if (!reader.IsOpen()) {
    chart.message = OpeningFailure(file);
    return Outcome::Stopped;
  }
  ZOffsetRec rec;
  for (int32_t k = 1; k <= count; ++k) {
    if (!reader.Read(&rec)) return Outcome::Stopped;
    series.Add(k, rec.offset);
    spread.Take(rec.offset);
  }
  return Outcome::Drawn;
}

using DrawInput = Outcome (*)(const std::string&, WorkFile, int32_t, PointSeries&, Spread&,
                              EventChart&);

// Input A, then input B; a stop in A leaves B undrawn. An input needs `least` records. The axis
// spans every input drawn to its end, so neither hides the other.
EventChart DrawBoth(const std::string& dir, EventInput a, EventInput b, WorkFile fileA,
                    WorkFile fileB, int32_t least, DrawInput draw) {
  EventChart chart;
  Spread spread;
  bool drawn = false;
  if (a.drawn && a.count >= least) {
    if (draw(dir, fileA, a.count, chart.series[0], spread, chart) == Outcome::Stopped) return chart;
    drawn = true;
  }
  if (b.drawn && b.count >= least) {
    if (draw(dir, fileB, b.count, chart.series[1], spread, chart) == Outcome::Stopped) return chart;
    drawn = true;
  }
  if (drawn) chart.axis = AxisRule(spread.smallest, spread.largest);
  return chart;
}

}  // namespace

AxisRange AxisRule(double smallest, double largest) {
  if (smallest > largest || std::fabs(largest - smallest) >= 1) return {};
  return {false, std::trunc(smallest) - 1, std::trunc(largest) + 1};
}

EventChart IntervalSeries(const std::string& dir, EventInput xa, EventInput xb) {
  return DrawBoth(dir, xa, xb, WorkFile::ExtEventXA, WorkFile::ExtEventXB, 2, DrawIntervals);
}

EventChart IntervalSeries(const ScanResult& ctx, bool drawXA, bool drawXB) {
  return IntervalSeries(ctx.Files().Dir(), {ctx.XaCount(), drawXA}, {ctx.XbCount(), drawXB});
}

EventChart OffsetSeries(const std::string& dir, EventInput za, EventInput zb) {
  // An offset stands on its own: one record is drawn.
  return DrawBoth(dir, za, zb, WorkFile::ZA, WorkFile::ZB, 1, DrawOffsets);
}

EventChart OffsetSeries(const ScanResult& ctx, bool drawZA, bool drawZB) {
  return OffsetSeries(ctx.Files().Dir(), {ctx.ZaCount(), drawZA}, {ctx.ZbCount(), drawZB});
}

}  // namespace vnx
