#pragma once
// The quality report's figures as the Quality view and the HTML report show them: the summary
// as captioned texts, the system and satellite tables as rows of cells, each with the number
// it sorts by, and the lines and scale of the charts against elevation.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/quality/quality_report.h"

namespace vnx {

// What a table shows where a figure cannot be formed.
inline constexpr const char* kNoFigure = "\u2013";

struct QualityCell {
  std::string text;
  std::optional<double> number;  // what the column sorts by; none: a missing figure
};

struct QualityTable {
  std::vector<std::string> columns;
  std::vector<std::vector<QualityCell>> rows;
};

// Systems with satellites, in the report's order, then "All": satellites, observed,
// expected, completeness %, MP1, MP2 (and MP5 where the log has it) RMS in metres, slips.
QualityTable QualitySystemTable(const QualityReport& r);
// One row per satellite seen or expected, in the report's order (the Sat column sorts by it):
// observed, expected, completeness %, MP RMS, slips, the epochs of the slips, and the mean
// signal strength of every signal the log has.
QualityTable QualitySatelliteTable(const QualityReport& r);
// The rows of a table sorted by one column, as indices into its rows: by number, missing
// figures last in either direction, equal ones in the table's order.
std::vector<size_t> SortedRows(const QualityTable& t, size_t column, bool ascending);

// The summary: epochs, mask, receiver position, completeness, multipath, slips, clock jumps,
// satellites without ephemeris, and why the analysis stopped when it did.
std::vector<std::pair<std::string, std::string>> QualitySummaryFigures(const QualityReport& r);

// A line drawn over a scatter against elevation: at each bin's middle, the RMS of MP1 or MP2
// over the log (5-degree bins, series 0 and 1) or the mean signal strength of a signal block
// (10-degree bins, series = the block). Bins of fewer than kMinBinPoints points are left out.
inline constexpr int64_t kMinBinPoints = 20;
struct QualityBinLine {
  std::string label;
  int series = 0;
  std::vector<std::pair<double, double>> points;  // elevation in degrees, value
};
std::vector<QualityBinLine> MultipathBinLines(const QualityReport& r);
std::vector<QualityBinLine> SnrBinLines(const QualityReport& r);
// The multipath charts' value range, +-scale: three times the RMS of the chart's points, at
// least 0.5 m, rounded up to a whole number of ticks; and that tick.
struct ChartScale {
  double scale = 0.5, tick = 0.2;
};
ChartScale MultipathChartScale(const QualityReport& r);

}  // namespace vnx
