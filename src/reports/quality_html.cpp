#include "reports/quality_html.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/quality/quality_analysis.h"
#include "engine/quality/quality_figures.h"
#include "reports/quality_output.h"

namespace vnx {
namespace {

constexpr double kPi = 3.14159265358979323846;
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

// A scatter of values against elevation with the per-bin RMS or mean drawn over it, each line
// in the colour of its series.
std::string ElevationScatter(const std::vector<ElevationPoint>& pts, double lo, double hi,
                             double tick, const std::string& yTitle,
                             const std::vector<std::string>& colours,
                             const std::vector<QualityBinLine>& lines,
                             const std::vector<std::string>& lineColours) {
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
  for (const QualityBinLine& l : lines) {
    const std::string& colour = lineColours[static_cast<size_t>(l.series) % lineColours.size()];
    std::string path;
    for (const auto& [el, v] : l.points)
      path += (path.empty() ? "M" : " L") + Num(x(el)) + " " + Num(y(std::clamp(v, lo, hi)));
    if (!path.empty())
      s +=
          "<path d=\"" + path + "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2.5\"/>";
    s += "<rect x=\"" + Num(legendX) + "\" y=\"26\" width=\"10\" height=\"10\" fill=\"" + colour +
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
    return "<tr><th>" + Escape(k) + "</th><td>" + Escape(v) + "</td></tr>";
  };
  std::string s = "<table class=\"summary\">";
  s += row("File", c.file);
  s += row("Errors in the log", std::to_string(c.errors.size()));
  for (const auto& [caption, text] : QualitySummaryFigures(r)) s += row(caption, text);
  return s + "</table>";
}

std::string TableHtml(const QualityTable& t) {
  std::string s = "<table><tr>";
  for (const std::string& c : t.columns) s += "<th>" + Escape(c) + "</th>";
  s += "</tr>";
  for (const auto& row : t.rows) {
    s += "<tr>";
    for (const QualityCell& cell : row) s += "<td>" + Escape(cell.text) + "</td>";
    s += "</tr>";
  }
  return s + "</table>";
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:24px;color:#222;max-width:1180px}"
    "h1{font-size:22px}h2{font-size:17px;margin-top:28px;border-bottom:1px solid #ccc}"
    "table{border-collapse:collapse;font-size:13px}th,td{border:1px solid #ccc;padding:3px 8px}"
    "td{text-align:right}table.summary td{text-align:left}th{background:#eef2f7;text-align:left}"
    ".charts{display:flex;flex-wrap:wrap;gap:16px}.note{color:#555;font-size:12px}"
    "pre{font-size:12px;background:#f6f8fa;padding:8px}";

}  // namespace

std::string QualitySkyplotSvg(const QualityReport& r) {
  return Skyplot(r, MultipathChartScale(r).scale);
}

std::string QualityHtml(const QualityReport& r, const CheckReport& c) {
  const auto [mpScale, mpTick] = MultipathChartScale(r);
  double snrLo = 60, snrHi = 0;
  for (const auto& p : r.charts.snr)
    snrLo = std::min<double>(snrLo, p.value), snrHi = std::max<double>(snrHi, p.value);
  if (snrLo > snrHi) snrLo = 20, snrHi = 55;
  snrLo = std::floor(snrLo / 5) * 5, snrHi = std::ceil(snrHi / 5) * 5 + (snrHi == snrLo ? 5 : 0);
  std::string h =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Quality report: " +
      Escape(c.file) + "</title><style>" + kStyle + "</style></head><body>\n";
  h += "<h1>Quality report</h1>\n" + SummaryTable(r, c) + "\n";
  h += "<h2>Systems</h2>\n" + TableHtml(QualitySystemTable(r)) + "\n";
  h += "<h2>Satellites</h2>\n" + TableHtml(QualitySatelliteTable(r)) + "\n";
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
                        {"#6fa8dc", "#f6b26b"}, MultipathBinLines(r), {"#0b3d91", "#b35900"}) +
       "</div></div>\n";
  h += "<h3>Satellite availability</h3>" + Availability(r) + "\n";
  std::vector<std::string> colours(kSeriesColours, kSeriesColours + kSignalCount);
  h += "<h3>Signal strength against elevation</h3>" +
       ElevationScatter(r.charts.snr, snrLo, snrHi, 5, "Signal strength [dB-Hz]", colours,
                        SnrBinLines(r), colours) +
       "\n";
  h += "<p class=\"note\">Definitions: see the Quality page of the manual. Charts show at most " +
       std::to_string(kChartSamplesPerSatellite) + " samples per satellite.</p>\n</body></html>\n";
  return h;
}

}  // namespace vnx
