#include "engine/views/chart_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vnx {

std::vector<uint32_t> DecimateColumns(std::span<const double> x, std::span<const double> y,
                                      ValueSpan keys, int columns) {
  std::vector<uint32_t> kept;
  const size_t n = std::min(x.size(), y.size());
  if (n == 0 || columns < 1) return kept;
  const size_t first =
      static_cast<size_t>(std::lower_bound(x.begin(), x.begin() + n, keys.lower) - x.begin());
  const size_t end = static_cast<size_t>(
      std::upper_bound(x.begin() + first, x.begin() + n, keys.upper) - x.begin());
  kept.reserve(static_cast<size_t>(columns) * 2 + 2);
  if (first > 0) kept.push_back(static_cast<uint32_t>(first - 1));
  const double width = keys.upper - keys.lower;
  const double perKey = width > 0 ? columns / width : 0;
  size_t i = first;
  while (i < end) {
    // One column: the points whose keys fall in the same pixel.
    const int column =
        std::min(columns - 1, static_cast<int>(std::floor((x[i] - keys.lower) * perKey)));
    size_t lo = i, hi = i;
    size_t j = i + 1;
    for (; j < end; ++j) {
      if (std::min(columns - 1, static_cast<int>(std::floor((x[j] - keys.lower) * perKey))) !=
          column)
        break;
      if (y[j] < y[lo]) lo = j;
      if (y[j] > y[hi]) hi = j;
    }
    kept.push_back(static_cast<uint32_t>(std::min(lo, hi)));
    if (hi != lo) kept.push_back(static_cast<uint32_t>(std::max(lo, hi)));
    i = j;
  }
  if (end < n) kept.push_back(static_cast<uint32_t>(end));
  return kept;
}

std::vector<uint32_t> DecimateCells(std::span<const double> x, std::span<const double> y,
                                    ValueSpan keys, ValueSpan values, int columns, int rows) {
  std::vector<uint32_t> kept;
  const size_t n = std::min(x.size(), y.size());
  if (columns < 1 || rows < 1) return kept;
  const double kw = keys.upper - keys.lower, vw = values.upper - values.lower;
  const double kx = kw > 0 ? columns / kw : 0, vy = vw > 0 ? rows / vw : 0;
  std::vector<bool> taken(static_cast<size_t>(columns) * static_cast<size_t>(rows));
  for (size_t i = 0; i < n; ++i) {
    if (!keys.Contains(x[i]) || !values.Contains(y[i])) continue;
    const int c = std::min(columns - 1, static_cast<int>((x[i] - keys.lower) * kx));
    const int r = std::min(rows - 1, static_cast<int>((y[i] - values.lower) * vy));
    const size_t cell =
        static_cast<size_t>(r) * static_cast<size_t>(columns) + static_cast<size_t>(c);
    if (taken[cell]) continue;
    taken[cell] = true;
    kept.push_back(static_cast<uint32_t>(i));
  }
  return kept;
}

int64_t NearestPoint(std::span<const double> x, std::span<const double> y, bool sorted, double key,
                     double value, double keyPerPixel, double valuePerPixel, double radius) {
  const size_t n = std::min(x.size(), y.size());
  if (n == 0 || !(keyPerPixel > 0) || !(valuePerPixel > 0)) return -1;
  size_t first = 0, end = n;
  if (sorted) {
    const double reach = radius * keyPerPixel;
    first =
        static_cast<size_t>(std::lower_bound(x.begin(), x.begin() + n, key - reach) - x.begin());
    end = static_cast<size_t>(std::upper_bound(x.begin() + first, x.begin() + n, key + reach) -
                              x.begin());
  }
  int64_t best = -1;
  double bestDistance = radius * radius;
  for (size_t i = first; i < end; ++i) {
    const double dx = (x[i] - key) / keyPerPixel, dy = (y[i] - value) / valuePerPixel;
    const double d = dx * dx + dy * dy;
    if (d <= bestDistance) {
      bestDistance = d;
      best = static_cast<int64_t>(i);
    }
  }
  return best;
}

namespace {

std::string Number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

// A field quoted when it holds a separator or a quote.
std::string Field(const std::string& s) {
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string VisibleCsv(const std::vector<CsvSeries>& series, const CsvKeyAxis& axis,
                       const EpochClock& clock) {
  const bool times = !clock.Empty();
  const bool utc = clock.Offers(ChartTimeAxis::Utc);
  const bool withDate = true;
  std::string out = "series,epoch";
  if (times) out += ",time (GPS)";
  if (utc) out += ",time (UTC)";
  if (!axis.isEpoch) out += "," + Field(axis.name);
  out += ",value,unit\n";
  for (const CsvSeries& s : series) {
    const size_t n = std::min(s.x.size(), s.y.size());
    for (size_t i = 0; i < n; ++i) {
      if (!axis.keys.Contains(s.x[i]) || !s.values.Contains(s.y[i])) continue;
      const double epoch = axis.isEpoch ? s.x[i] : (i < s.epochs.size() ? s.epochs[i] : 0);
      out += Field(s.name);
      out += ',' + Number(epoch);
      if (times) {
        out += ',' + clock.Text(clock.AxisValue(epoch, ChartTimeAxis::GpsTime), withDate, 3);
        if (utc) out += ',' + clock.Text(clock.AxisValue(epoch, ChartTimeAxis::Utc), withDate, 3);
      }
      if (!axis.isEpoch) out += ',' + Number(s.x[i]);
      out += ',' + Number(s.y[i]) + ',' + Field(s.unit) + '\n';
    }
  }
  return out;
}

std::string UnitOfTitle(const std::string& title) {
  const size_t close = title.rfind(']');
  if (close == std::string::npos) return {};
  const size_t open = title.rfind('[', close);
  if (open == std::string::npos) return {};
  return title.substr(open + 1, close - open - 1);
}

}  // namespace vnx
