#include "engine/quality/quality_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vnx {
namespace {

std::string Fixed(double v, int decimals) {
  if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals)) v = 0;  // no "-0.0"
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

QualityCell Figure(std::optional<double> v, int decimals) {
  if (!v || !std::isfinite(*v)) return {kNoFigure, std::nullopt};
  return {Fixed(*v, decimals), *v};
}

QualityCell Count(int64_t n) {
  return {std::to_string(n), static_cast<double>(n)};
}

std::vector<QualityCell> GroupRow(const std::string& name, double order, const QualityGroup& g,
                                  bool mp5) {
  std::vector<QualityCell> row{{name, order},
                               Count(g.satellites),
                               Count(g.observed),
                               Count(g.expected),
                               Figure(g.CompletenessPct(), 2),
                               Figure(g.mp1.Rms(), 3),
                               Figure(g.mp2.Rms(), 3)};
  if (mp5) row.push_back(Figure(g.mp5.Rms(), 3));
  row.push_back(Count(g.slips));
  return row;
}

QualityCell SlipEpochsCell(const QualitySatellite& q) {
  if (q.slips.empty()) return {"", std::nullopt};
  std::string text;
  for (const SlipMark& m : q.slips) text += (text.empty() ? "" : ", ") + std::to_string(m.epoch);
  return {text, static_cast<double>(q.slips.front().epoch)};
}

}  // namespace

QualityTable QualitySystemTable(const QualityReport& r) {
  const bool mp5 = r.total.mp5.count > 0;
  QualityTable t;
  t.columns = {"System",         "Satellites", "Observed", "Expected",
               "Completeness %", "MP1 RMS m",  "MP2 RMS m"};
  if (mp5) t.columns.push_back("MP5 RMS m");
  t.columns.push_back("Slips");
  double order = 0;
  for (SatSystem sys : kQualitySystemOrder)
    if (r.System(sys).satellites > 0)
      t.rows.push_back(GroupRow(QualitySystemName(sys), order++, r.System(sys), mp5));
  t.rows.push_back(GroupRow("All", order, r.total, mp5));
  return t;
}

QualityTable QualitySatelliteTable(const QualityReport& r) {
  const bool mp5 = r.total.mp5.count > 0;
  const std::vector<int> snr = SnrSignalsOf(r);
  QualityTable t;
  t.columns = {"Sat", "Observed", "Expected", "Completeness %", "MP1 RMS m", "MP2 RMS m"};
  if (mp5) t.columns.push_back("MP5 RMS m");
  t.columns.push_back("Slips");
  t.columns.push_back("Slip epochs");
  for (int k : snr) t.columns.push_back(std::string(SnrCaption(k)) + " dB-Hz");
  double order = 0;
  for (const QualitySatellite& q : r.satellites) {
    if (q.epochsSeen == 0 && q.expected == 0) continue;
    std::vector<QualityCell> row{{q.name, order++},      Count(q.observed),
                                 Count(q.expected),      Figure(q.CompletenessPct(), 1),
                                 Figure(q.mp1.Rms(), 3), Figure(q.mp2.Rms(), 3)};
    if (mp5) row.push_back(Figure(q.mp5.Rms(), 3));
    row.push_back(Count(static_cast<int64_t>(q.slips.size())));
    row.push_back(SlipEpochsCell(q));
    for (int k : snr) row.push_back(Figure(q.snr[k].Mean(), 1));
    t.rows.push_back(std::move(row));
  }
  return t;
}

std::vector<size_t> SortedRows(const QualityTable& t, size_t column, bool ascending) {
  std::vector<size_t> order(t.rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto value = [&](size_t row) -> const std::optional<double>& {
    return t.rows[row].at(column).number;
  };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const std::optional<double>&va = value(a), &vb = value(b);
    if (!va || !vb) return va.has_value() && !vb.has_value();
    return ascending ? *va < *vb : *va > *vb;
  });
  return order;
}

std::vector<std::pair<std::string, std::string>> QualitySummaryFigures(const QualityReport& r) {
  std::vector<std::pair<std::string, std::string>> out;
  const QualityEpochs& e = r.epochs;
  out.emplace_back(
      "Epochs", QualityTimeText(e.first) + " \u2013 " + QualityTimeText(e.last) + "; interval " +
                    Fixed(e.intervalS, 3) + " s; " + std::to_string(e.count) + " present of " +
                    std::to_string(e.expected) + " expected; " + std::to_string(e.gaps) + " gaps");
  out.emplace_back("Elevation mask", Fixed(r.maskDeg, 1) + "\u00b0");
  std::string position = "none (no positions in the log)";
  if (r.position)
    position = Fixed((*r.position)[0], 3) + ", " + Fixed((*r.position)[1], 3) + ", " +
               Fixed((*r.position)[2], 3) + " m (" + r.positionSource + ")";
  out.emplace_back("Receiver position", position);
  const QualityGroup& t = r.total;
  out.emplace_back("Completeness", Figure(t.CompletenessPct(), 2).text + " % (" +
                                       std::to_string(t.observed) + " of " +
                                       std::to_string(t.expected) + ")");
  std::string mp = Figure(t.mp1.Rms(), 3).text + " m / " + Figure(t.mp2.Rms(), 3).text + " m";
  if (t.mp5.count > 0) mp += "; GPS MP5 " + Figure(t.mp5.Rms(), 3).text + " m";
  out.emplace_back("MP1 RMS / MP2 RMS", mp);
  out.emplace_back("Cycle slips", std::to_string(t.slips));
  std::string jumps = std::to_string(r.clockJumps.size());
  for (const ClockJumpMark& j : r.clockJumps)
    jumps += "; epoch " + std::to_string(j.epoch) + " (" + QualityTimeText(j.time) + ", " +
             std::to_string(j.milliseconds) + " ms)";
  out.emplace_back("Receiver clock jumps", jumps);
  if (!r.withoutEphemeris.empty()) {
    std::string list;
    for (const auto& n : r.withoutEphemeris) list += (list.empty() ? "" : " ") + n;
    out.emplace_back("Observed without ephemeris", list);
  }
  if (!r.ok) out.emplace_back("Analysis stopped", r.message);
  return out;
}

std::vector<QualityBinLine> MultipathBinLines(const QualityReport& r) {
  QualityBinLine mp1{"MP1 RMS per 5\u00b0", 0, {}}, mp2{"MP2 RMS per 5\u00b0", 1, {}};
  for (int b = 0; b < kMultipathBins; ++b) {
    const double el = (b + 0.5) * kMultipathBinDeg;
    if (r.total.mp1Bins[b].count >= kMinBinPoints)
      mp1.points.emplace_back(el, *r.total.mp1Bins[b].Rms());
    if (r.total.mp2Bins[b].count >= kMinBinPoints)
      mp2.points.emplace_back(el, *r.total.mp2Bins[b].Rms());
  }
  return {mp1, mp2};
}

std::vector<QualityBinLine> SnrBinLines(const QualityReport& r) {
  std::vector<QualityBinLine> lines;
  for (int k : SnrSignalsOf(r)) {
    QualityBinLine l{std::string(SnrCaption(k)) + " mean", k, {}};
    for (int b = 0; b < kSnrBins; ++b)
      if (r.total.snrBins[k][b].count >= kMinBinPoints)
        l.points.emplace_back((b + 0.5) * kSnrBinDeg, *r.total.snrBins[k][b].Mean());
    lines.push_back(l);
  }
  return lines;
}

ChartScale MultipathChartScale(const QualityReport& r) {
  const auto& pts = r.charts.multipath;
  double s2 = 0;
  for (const auto& p : pts) s2 += static_cast<double>(p.value) * p.value;
  const double rms = pts.empty() ? 0 : std::sqrt(s2 / static_cast<double>(pts.size()));
  const double scale = std::max(0.5, std::ceil(3 * rms * 10) / 10);
  const double tick = scale <= 0.8 ? 0.2 : scale <= 2 ? 0.5 : 1.0;
  return {std::ceil(scale / tick - 1e-9) * tick, tick};
}

}  // namespace vnx
