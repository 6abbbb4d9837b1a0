#include "cli/quality_html.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/quality_output.h"
#include "engine/quality/quality_analysis.h"

namespace vnx {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Bins with fewer points are left out of the lines drawn over the scatters.
constexpr int64_t kMinBinPoints = 20;
// Colours of the signal blocks and of MP1 / MP2 in the charts.
constexpr const char* kSeriesColours[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd"};

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Num(double v, int decimals = 1) {
  if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals)) v = 0;  // no "-0.0"
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string Cell(std::optional<double> v, int decimals) {
  return v ? Num(*v, decimals) : "&ndash;";
}

// Green at 0 through yellow to red at `full` and beyond.
std::string HeatColour(double v, double full) {
  double x = std::clamp(std::fabs(v) / full, 0.0, 1.0);
  int r = static_cast<int>(std::lround(x < 0.5 ? 510 * x : 255));
  int g = static_cast<int>(std::lround(x < 0.5 ? 170 + 170 * x : 255 - 2 * 255 * (x - 0.5)));
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x30", std::clamp(r, 0, 255), std::clamp(g, 0, 255));
  return text;
}

struct Axis {
  double lo, hi, from, to;  // value range onto pixel range
  double operator()(double v) const { return from + (v - lo) / (hi - lo) * (to - from); }
};

std::string Text(double x, double y, const std::string& s, const char* anchor = "middle",
                 int size = 11) {
  return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" text-anchor=\"" + anchor +
         "\" font-size=\"" + std::to_string(size) + "\">" + Escape(s) + "</text>";
}

std::string Line(double x1, double y1, double x2, double y2, const char* stroke,
                 const char* extra = "") {
  return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
         Num(y2) + "\" stroke=\"" + stroke + "\"" + extra + "/>";
}

std::string Dot(double x, double y, double r, const std::string& fill) {
  return "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" + Num(r) + "\" fill=\"" + fill +
         "\"/>";
}

// A scale that shows the bulk of the values: three times their RMS, at least `floor`.
double ScaleOf(const std::vector<ElevationPoint>& pts, double floor) {
  double s2 = 0;
  for (const auto& p : pts) s2 += static_cast<double>(p.value) * p.value;
  const double rms = pts.empty() ? 0 : std::sqrt(s2 / static_cast<double>(pts.size()));
  return std::max(floor, std::ceil(3 * rms * 10) / 10);
}

std::string Skyplot(const QualityReport& r, double mpFull) {
  const double cx = 215, cy = 215, radius = 180;
  std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"510\" height=\"440\">";
  for (int el = 0; el < 90; el += 30) {
    const double rr = radius * (90 - el) / 90.0;
    s += "<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" + Num(rr) +
         "\" fill=\"none\" stroke=\"#bbb\"/>";
    s += Text(cx + 3, cy - rr + 12, std::to_string(el) + "\u00b0", "start", 9);
  }
  if (r.maskDeg > 0) {
    s += "<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" +
         Num(radius * (90 - r.maskDeg) / 90.0) +
         "\" fill=\"none\" stroke=\"#888\" stroke-dasharray=\"4 3\"/>";
  }
  s += Line(cx - radius, cy, cx + radius, cy, "#ddd") +
       Line(cx, cy - radius, cx, cy + radius, "#ddd");
  s += Text(cx, cy - radius - 8, "N") + Text(cx + radius + 10, cy + 4, "E") +
       Text(cx, cy + radius + 16, "S") + Text(cx - radius - 10, cy + 4, "W");
  for (const SkyPoint& p : r.charts.sky) {
    if (p.elevationDeg < 0) continue;
    const double rr = radius * (90 - p.elevationDeg) / 90.0;
    const double az = p.azimuthDeg * kPi / 180;
    const std::string colour = std::isnan(p.mp1) ? "#bbbbbb" : HeatColour(p.mp1, mpFull);
    s += Dot(cx + rr * std::sin(az), cy - rr * std::cos(az), 1.8, colour);
  }
  // The colour scale.
  for (int i = 0; i <= 20; ++i) {
    const double v = mpFull * i / 20.0;
    s += "<rect x=\"450\" y=\"" + Num(380 - i * 15) + "\" width=\"16\" height=\"15\" fill=\"" +
         HeatColour(v, mpFull) + "\"/>";
  }
  s += Text(480, 392, "0 m", "start", 9) +
       Text(480, 83, "\u2265" + Num(mpFull, 1) + " m", "start", 9);
  s += Text(458, 70, "|MP1|", "middle", 10);
  return s + "</svg>";
}

// A scatter of values against elevation with the per-bin RMS or mean drawn over it.
struct BinLine {
  std::vector<std::pair<double, double>> points;  // elevation, value
  std::string colour;
  std::string label;
};

std::string ElevationScatter(const std::vector<ElevationPoint>& pts, double lo, double hi,
                             double tick, const std::string& yTitle,
                             const std::vector<std::string>& colours,
                             const std::vector<BinLine>& lines) {
  const Axis x{0, 90, 60, 600}, y{lo, hi, 300, 20};
  std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"350\">";
  s += "<rect x=\"60\" y=\"20\" width=\"540\" height=\"280\" fill=\"#fafafa\" stroke=\"#999\"/>";
  for (int el = 0; el <= 90; el += 10) {
    s += Line(x(el), 20, x(el), 300, "#e4e4e4") + Text(x(el), 316, std::to_string(el));
  }
  for (double v = lo; v <= hi + 1e-9; v += tick)
    s += Line(60, y(v), 600, y(v), "#e4e4e4") + Text(55, y(v) + 4, Num(v, tick < 1 ? 1 : 0), "end");
  s += Text(330, 340, "Elevation [degrees]");
  s += "<text x=\"16\" y=\"160\" font-size=\"11\" text-anchor=\"middle\" "
       "transform=\"rotate(-90 16 160)\">" +
       Escape(yTitle) + "</text>";
  for (const ElevationPoint& p : pts) {
    const double v = std::clamp(static_cast<double>(p.value), lo, hi);
    s += Dot(x(p.elevationDeg), y(v), 1.4, colours[p.series % colours.size()]);
  }
  double legendX = 70;
  for (const BinLine& l : lines) {
    std::string path;
    for (const auto& [el, v] : l.points)
      path += (path.empty() ? "M" : " L") + Num(x(el)) + " " + Num(y(std::clamp(v, lo, hi)));
    if (!path.empty())
      s += "<path d=\"" + path + "\" fill=\"none\" stroke=\"" + l.colour +
           "\" stroke-width=\"2.5\"/>";
    s += "<rect x=\"" + Num(legendX) + "\" y=\"26\" width=\"10\" height=\"10\" fill=\"" + l.colour +
         "\"/>" + Text(legendX + 14, 35, l.label, "start", 10);
    legendX += 24 + 6.5 * static_cast<double>(l.label.size());
  }
  return s + "</svg>";
}

std::string Availability(const QualityReport& r) {
  const double t0 = r.epochs.first, t1 = std::max(r.epochs.last, r.epochs.first + 1);
  const int rows = static_cast<int>(r.charts.availability.size());
  const double rowH = 14, top = 20, height = top + rows * rowH + 40;
  const Axis x{t0, t1, 50, 900};
  std::string s =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"920\" height=\"" + Num(height, 0) + "\">";
  const double hours = (t1 - t0) / 3600;
  const double step = hours > 12 ? 3 * 3600 : hours > 4 ? 3600 : hours > 1 ? 900 : 300;
  for (double t = std::ceil(t0 / step) * step; t <= t1; t += step) {
    s += Line(x(t), top, x(t), top + rows * rowH, "#e4e4e4");
    s += Text(x(t), top + rows * rowH + 14, QualityTimeText(t).substr(11, 5));
  }
  for (const ClockJumpMark& j : r.clockJumps)
    s += Line(x(j.time), top, x(j.time), top + rows * rowH, "#7a00cc",
              " stroke-dasharray=\"3 2\" stroke-width=\"1.5\"");
  for (int i = 0; i < rows; ++i) {
    const AvailabilityBar& bar = r.charts.availability[static_cast<size_t>(i)];
    const QualitySatellite& q = r.satellites[bar.satellite];
    const double y = top + i * rowH;
    s += Text(44, y + 10, q.name, "end", 10);
    for (const auto& [from, to] : bar.runs)
      s += "<rect x=\"" + Num(x(from)) + "\" y=\"" + Num(y + 2) + "\" width=\"" +
           Num(std::max(1.0, x(to) - x(from))) + "\" height=\"" + Num(rowH - 4) +
           "\" fill=\"#4a90d9\"/>";
    for (const SlipMark& m : q.slips)
      s += Line(x(m.time), y, x(m.time), y + rowH, "#d62728", " stroke-width=\"2\"");
  }
  s += Text(475, height - 8,
            "GPS time; blue: records present, red: cycle slips, purple: clock jumps");
  return s + "</svg>";
}

std::string SummaryTable(const QualityReport& r, const CheckReport& c) {
  auto row = [](const std::string& k, const std::string& v) {
    return "<tr><th>" + k + "</th><td>" + v + "</td></tr>";
  };
  std::string jumps = std::to_string(r.clockJumps.size());
  for (const ClockJumpMark& j : r.clockJumps)
    jumps += "; epoch " + std::to_string(j.epoch) + " (" + QualityTimeText(j.time) + ", " +
             std::to_string(j.milliseconds) + " ms)";
  std::string position = "none (no positions in the log)";
  if (r.position)
    position = Num((*r.position)[0], 3) + ", " + Num((*r.position)[1], 3) + ", " +
               Num((*r.position)[2], 3) + " m (" + Escape(r.positionSource) + ")";
  const QualityEpochs& e = r.epochs;
  std::string s = "<table class=\"summary\">";
  s += row("File", Escape(c.file));
  s += row("Errors in the log", std::to_string(c.errors.size()));
  s += row("Epochs", QualityTimeText(e.first) + " &ndash; " + QualityTimeText(e.last) +
                         "; interval " + Num(e.intervalS, 3) + " s; " + std::to_string(e.count) +
                         " present of " + std::to_string(e.expected) + " expected; " +
                         std::to_string(e.gaps) + " gaps");
  s += row("Elevation mask", Num(r.maskDeg, 1) + "&deg;");
  s += row("Receiver position", position);
  s += row("Completeness", Cell(r.total.CompletenessPct(), 2) + " % (" +
                               std::to_string(r.total.observed) + " of " +
                               std::to_string(r.total.expected) + ")");
  s += row("MP1 RMS / MP2 RMS",
           Cell(r.total.mp1.Rms(), 3) + " m / " + Cell(r.total.mp2.Rms(), 3) + " m");
  s += row("Cycle slips", std::to_string(r.total.slips));
  s += row("Receiver clock jumps", jumps);
  if (!r.withoutEphemeris.empty()) {
    std::string list;
    for (const auto& n : r.withoutEphemeris) list += n + " ";
    s += row("Observed without ephemeris", list);
  }
  if (!r.ok) s += row("Analysis stopped", Escape(r.message));
  return s + "</table>";
}

std::string SystemTable(const QualityReport& r) {
  std::string s =
      "<table><tr><th>System</th><th>Satellites</th><th>Completeness %</th><th>MP1 RMS m</th>"
      "<th>MP2 RMS m</th><th>Slips</th></tr>";
  auto row = [&](const char* name, const QualityGroup& g) {
    s += "<tr><td>" + std::string(name) + "</td><td>" + std::to_string(g.satellites) + "</td><td>" +
         Cell(g.CompletenessPct(), 2) + "</td><td>" + Cell(g.mp1.Rms(), 3) + "</td><td>" +
         Cell(g.mp2.Rms(), 3) + "</td><td>" + std::to_string(g.slips) + "</td></tr>";
  };
  for (SatSystem sys : kQualitySystemOrder)
    if (r.System(sys).satellites > 0) row(QualitySystemName(sys), r.System(sys));
  row("All", r.total);
  return s + "</table>";
}

std::string SatelliteTable(const QualityReport& r) {
  const std::vector<int> snr = SnrSignalsOf(r);
  std::string s =
      "<table><tr><th>Sat</th><th>Observed</th><th>Expected</th><th>Completeness %</th>"
      "<th>MP1 RMS m</th><th>MP2 RMS m</th>";
  const bool mp5 = r.total.mp5.count > 0;
  if (mp5) s += "<th>MP5 RMS m</th>";
  s += "<th>Slips</th>";
  for (int k : snr) s += "<th>" + std::string(SnrCaption(k)) + " dB-Hz</th>";
  s += "</tr>";
  for (const QualitySatellite& q : r.satellites) {
    if (q.epochsSeen == 0 && q.expected == 0) continue;
    s += "<tr><td>" + q.name + "</td><td>" + std::to_string(q.observed) + "</td><td>" +
         std::to_string(q.expected) + "</td><td>" + Cell(q.CompletenessPct(), 1) + "</td><td>" +
         Cell(q.mp1.Rms(), 3) + "</td><td>" + Cell(q.mp2.Rms(), 3) + "</td><td>" +
         (mp5 ? Cell(q.mp5.Rms(), 3) + "</td><td>" : "") + std::to_string(q.slips.size()) + "</td>";
    for (int k : snr) s += "<td>" + Cell(q.snr[k].Mean(), 1) + "</td>";
    s += "</tr>";
  }
  return s + "</table>";
}

std::vector<BinLine> MultipathLines(const QualityReport& r) {
  BinLine mp1{{}, "#0b3d91", "MP1 RMS per 5\u00b0"}, mp2{{}, "#b35900", "MP2 RMS per 5\u00b0"};
  for (int b = 0; b < kMultipathBins; ++b) {
    const double el = (b + 0.5) * kMultipathBinDeg;
    if (r.total.mp1Bins[b].count < kMinBinPoints) continue;
    mp1.points.emplace_back(el, *r.total.mp1Bins[b].Rms());
    mp2.points.emplace_back(el, *r.total.mp2Bins[b].Rms());
  }
  return {mp1, mp2};
}

std::vector<BinLine> SnrLines(const QualityReport& r) {
  std::vector<BinLine> lines;
  for (int k : SnrSignalsOf(r)) {
    BinLine l{{}, kSeriesColours[k], std::string(SnrCaption(k)) + " mean"};
    for (int b = 0; b < kSnrBins; ++b)
      if (r.total.snrBins[k][b].count >= kMinBinPoints)
        l.points.emplace_back((b + 0.5) * kSnrBinDeg, *r.total.snrBins[k][b].Mean());
    lines.push_back(l);
  }
  return lines;
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:24px;color:#222;max-width:1180px}"
    "h1{font-size:22px}h2{font-size:17px;margin-top:28px;border-bottom:1px solid #ccc}"
    "table{border-collapse:collapse;font-size:13px}th,td{border:1px solid #ccc;padding:3px 8px}"
    "td{text-align:right}table.summary td{text-align:left}th{background:#eef2f7;text-align:left}"
    ".charts{display:flex;flex-wrap:wrap;gap:16px}.note{color:#555;font-size:12px}"
    "pre{font-size:12px;background:#f6f8fa;padding:8px}";

}  // namespace

std::string QualityHtml(const QualityReport& r, const CheckReport& c) {
  double mpScale = ScaleOf(r.charts.multipath, 0.5);
  const double mpTick = mpScale <= 0.8 ? 0.2 : mpScale <= 2 ? 0.5 : 1.0;
  mpScale = std::ceil(mpScale / mpTick - 1e-9) * mpTick;
  double snrLo = 60, snrHi = 0;
  for (const auto& p : r.charts.snr)
    snrLo = std::min<double>(snrLo, p.value), snrHi = std::max<double>(snrHi, p.value);
  if (snrLo > snrHi) snrLo = 20, snrHi = 55;
  snrLo = std::floor(snrLo / 5) * 5, snrHi = std::ceil(snrHi / 5) * 5 + (snrHi == snrLo ? 5 : 0);
  std::string h =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Quality report: " +
      Escape(c.file) + "</title><style>" + kStyle + "</style></head><body>\n";
  h += "<h1>Quality report</h1>\n" + SummaryTable(r, c) + "\n";
  h += "<h2>Systems</h2>\n" + SystemTable(r) + "\n";
  h += "<h2>Satellites</h2>\n" + SatelliteTable(r) + "\n";
  std::string bins;
  for (const std::string& line : ElevationTableLines(r)) bins += Escape(line) + "\n";
  if (!bins.empty())
    h += "<h2>By elevation</h2>\n<p class=\"note\">MP1 and MP2 RMS per 5&deg; bin; signal "
         "strength mean/standard deviation in dB-Hz per 10&deg; bin.</p><pre>" +
         bins + "</pre>\n";
  h += "<h2>Charts</h2>\n<div class=\"charts\"><div><h3>Skyplot coloured by MP1</h3>" +
       Skyplot(r, mpScale) + "</div>";
  h += "<div><h3>Multipath against elevation</h3>" +
       ElevationScatter(r.charts.multipath, -mpScale, mpScale, mpTick, "MP about arc mean [m]",
                        {"#6fa8dc", "#f6b26b"}, MultipathLines(r)) +
       "</div></div>\n";
  h += "<h3>Satellite availability</h3>" + Availability(r) + "\n";
  std::vector<std::string> colours(kSeriesColours, kSeriesColours + kSignalCount);
  h += "<h3>Signal strength against elevation</h3>" +
       ElevationScatter(r.charts.snr, snrLo, snrHi, 5, "Signal strength [dB-Hz]", colours,
                        SnrLines(r)) +
       "\n";
  h += "<p class=\"note\">Definitions: see the Quality page of the manual. Charts show at most " +
       std::to_string(kChartSamplesPerSatellite) + " samples per satellite.</p>\n</body></html>\n";
  return h;
}

}  // namespace vnx
