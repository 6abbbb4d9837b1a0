#include "cli/quality_output.h"

#include <cmath>
#include <cstdio>

#include "engine/time/gps_time.h"

namespace vnx {
namespace {

using nlohmann::json;

std::string Fixed(std::optional<double> v, int decimals, const char* none = "-") {
  if (!v) return none;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, *v);
  return text;
}

json Rounded(std::optional<double> v, int decimals) {
  if (!v || !std::isfinite(*v)) return nullptr;
  const double scale = std::pow(10.0, decimals);
  return std::round(*v * scale) / scale;
}

std::string Padded(const std::string& s, size_t width, bool right = true) {
  if (s.size() >= width) return s;
  return right ? std::string(width - s.size(), ' ') + s : s + std::string(width - s.size(), ' ');
}

std::string GroupLine(const char* name, const QualityGroup& g) {
  return Padded(name, 9, false) + Padded(std::to_string(g.satellites), 5) +
         Padded(Fixed(g.CompletenessPct(), 1), 9) + Padded(Fixed(g.mp1.Rms(), 3), 9) +
         Padded(Fixed(g.mp2.Rms(), 3), 9) + Padded(std::to_string(g.slips), 7);
}

std::string SatelliteLine(const QualitySatellite& q, bool mp5, const std::vector<int>& snr) {
  std::string line = Padded(q.name, 4, false) + Padded(std::to_string(q.observed), 10) +
                     Padded(std::to_string(q.expected), 10) +
                     Padded(Fixed(q.CompletenessPct(), 1), 8) + Padded(Fixed(q.mp1.Rms(), 3), 8) +
                     Padded(Fixed(q.mp2.Rms(), 3), 8);
  if (mp5) line += Padded(Fixed(q.mp5.Rms(), 3), 8);
  line += Padded(std::to_string(q.slips.size()), 7);
  for (int s : snr) line += Padded(Fixed(q.snr[s].Mean(), 1), 7);
  return line;
}

void SummaryLines(const QualityReport& r, std::vector<std::string>& out) {
  char text[256];
  std::snprintf(text, sizeof text, "Elevation mask: %g deg", r.maskDeg);
  out.push_back(text);
  if (r.position) {
    std::snprintf(text, sizeof text, "Receiver position: %.3f %.3f %.3f m (%s)", (*r.position)[0],
                  (*r.position)[1], (*r.position)[2], r.positionSource.c_str());
  } else {
    std::snprintf(text, sizeof text,
                  "Receiver position: none (the log has no positions; give --position X,Y,Z)");
  }
  out.push_back(text);
  const QualityEpochs& e = r.epochs;
  out.push_back("Epochs: " + QualityTimeText(e.first) + " to " + QualityTimeText(e.last) +
                ", interval " + Fixed(e.intervalS, 3) + " s, expected " +
                std::to_string(e.expected) + ", present " + std::to_string(e.count) + ", gaps " +
                std::to_string(e.gaps));
  const QualityGroup& t = r.total;
  out.push_back("Completeness: " + Fixed(t.CompletenessPct(), 2, "n/a") + " % (" +
                std::to_string(t.observed) + " observed of " + std::to_string(t.expected) +
                " expected)");
  out.push_back("MP1 RMS: " + Fixed(t.mp1.Rms(), 3, "n/a") + " m (" + std::to_string(t.mp1.count) +
                " points), MP2 RMS: " + Fixed(t.mp2.Rms(), 3, "n/a") + " m" +
                (t.mp5.count > 0 ? ", GPS MP5 RMS: " + Fixed(t.mp5.Rms(), 3) + " m" : ""));
  out.push_back("Cycle slips: " + std::to_string(t.slips) +
                " (receiver-flagged: not carried by the scan's records)");
  std::string jumps = "Clock jumps: " + std::to_string(r.clockJumps.size());
  for (const ClockJumpMark& j : r.clockJumps)
    jumps += (&j == &r.clockJumps.front() ? ": " : ", ") + std::string("epoch ") +
             std::to_string(j.epoch) + " (" + QualityTimeText(j.time) + ", " +
             (j.milliseconds > 0 ? "+" : "") + std::to_string(j.milliseconds) + " ms)";
  out.push_back(jumps);
  if (!r.withoutEphemeris.empty()) {
    std::string line = "Observed without ephemeris:";
    for (const auto& n : r.withoutEphemeris) line += " " + n;
    out.push_back(line);
  }
}

bool HasBins(const QualityGroup& g) {
  for (const SquareSum& b : g.mp1Bins)
    if (b.count > 0) return true;
  for (const auto& signal : g.snrBins)
    for (const MeanStd& b : signal)
      if (b.count > 0) return true;
  return false;
}

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Per system: MP1/MP2 RMS per 5-degree bin and signal strength (mean/std) per 10-degree bin,
// shown on the first line of its two 5-degree lines.
void ElevationLines(const QualityReport& r, const std::vector<int>& snr,
                    std::vector<std::string>& out) {
  for (SatSystem sys : kQualitySystemOrder) {
    const QualityGroup& g = r.System(sys);
    if (g.satellites == 0 || !HasBins(g)) continue;
    out.push_back("");
    std::string head = Padded(std::string(QualitySystemName(sys)) + " by elevation", 22, false) +
                       "   MP1 m    MP2 m";
    for (int k : snr) head += Padded(SnrCaption(k), 13);
    out.push_back(head);
    for (int mb = 0; mb < kMultipathBins; ++mb) {
      char range[32];
      std::snprintf(range, sizeof range, "  %2d-%2d deg", mb * kMultipathBinDeg,
                    (mb + 1) * kMultipathBinDeg);
      std::string line = Padded(range, 22, false) + Padded(Fixed(g.mp1Bins[mb].Rms(), 3), 8) +
                         Padded(Fixed(g.mp2Bins[mb].Rms(), 3), 9);
      const int b = mb * kMultipathBinDeg / kSnrBinDeg;
      const bool first = mb * kMultipathBinDeg % kSnrBinDeg == 0;
      for (int k : snr) {
        const MeanStd& m = g.snrBins[k][b];
        const std::string cell = !first        ? ""
                                 : m.count > 0 ? Fixed(m.Mean(), 1) + "/" + Fixed(m.Std(), 1)
                                               : "-";
        line += Padded(cell, 13);
      }
      out.push_back(TrimRight(line));
    }
  }
}

json SatelliteJson(const QualitySatellite& q, const std::vector<int>& snr) {
  json s;
  s["sat"] = q.name;
  s["observed"] = q.observed;
  s["expected"] = q.expected;
  s["completeness_pct"] = Rounded(q.CompletenessPct(), 2);
  s["mp1_rms_m"] = Rounded(q.mp1.Rms(), 4);
  s["mp2_rms_m"] = Rounded(q.mp2.Rms(), 4);
  s["mp5_rms_m"] = Rounded(q.mp5.Rms(), 4);
  s["slips"] = q.slips.size();
  json epochs = json::array();
  for (const SlipMark& m : q.slips) epochs.push_back(m.epoch);
  s["slip_epochs"] = epochs;
  json means = json::object();
  for (int k : snr) means[SnrCaption(k)] = Rounded(q.snr[k].Mean(), 2);
  s["snr_mean_dbhz"] = means;
  s["epochs_seen"] = q.epochsSeen;
  s["has_ephemeris"] = q.hasEphemeris;
  return s;
}

// MP RMS per 5-degree bin and signal strength per 10-degree bin, lowest bin first.
json BinsJson(const QualityGroup& g, const std::vector<int>& snr) {
  json mp1 = json::array(), mp2 = json::array();
  for (int b = 0; b < kMultipathBins; ++b) {
    mp1.push_back(Rounded(g.mp1Bins[b].Rms(), 4));
    mp2.push_back(Rounded(g.mp2Bins[b].Rms(), 4));
  }
  json strength = json::object();
  for (int k : snr) {
    json bins = json::array();
    for (const MeanStd& m : g.snrBins[k])
      bins.push_back(
          {{"mean", Rounded(m.Mean(), 2)}, {"std", Rounded(m.Std(), 2)}, {"count", m.count}});
    strength[SnrCaption(k)] = bins;
  }
  return {{"mp1_rms_m_by_5deg", mp1}, {"mp2_rms_m_by_5deg", mp2}, {"snr_dbhz_by_10deg", strength}};
}

json GroupJson(const QualityGroup& g) {
  return {{"satellites", g.satellites},
          {"observed", g.observed},
          {"expected", g.expected},
          {"completeness_pct", Rounded(g.CompletenessPct(), 2)},
          {"mp1_rms_m", Rounded(g.mp1.Rms(), 4)},
          {"mp2_rms_m", Rounded(g.mp2.Rms(), 4)},
          {"mp5_rms_m", Rounded(g.mp5.Rms(), 4)},
          {"slips", g.slips}};
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

std::string QualityTimeText(double gpsSeconds) {
  const double whole = std::floor(gpsSeconds);
  const TGPSTime t(static_cast<uint32_t>(whole));
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%06.3f", t.Year(), t.Month(), t.Day(),
                t.Hour(), t.Minute(), t.Second() + (gpsSeconds - whole));
  return text;
}

const char* SnrCaption(int signal) {
  return InfoOf(ObservableOf(signal, kSnr)).caption;
}

std::vector<int> SnrSignalsOf(const QualityReport& r) {
  std::vector<int> out;
  for (int s = 0; s < kSignalCount; ++s)
    for (const QualitySatellite& q : r.satellites)
      if (q.snr[s].count > 0) {
        out.push_back(s);
        break;
      }
  return out;
}

std::vector<std::string> ElevationTableLines(const QualityReport& r) {
  std::vector<std::string> out;
  ElevationLines(r, SnrSignalsOf(r), out);
  return out;
}

std::vector<std::string> QualityLines(const QualityReport& r) {
  std::vector<std::string> out{"", "[Quality]"};
  if (!r.ok) out.push_back("Quality analysis stopped: " + r.message);
  SummaryLines(r, out);
  out.push_back("");
  out.push_back("System    Sats  Compl%   MP1 m    MP2 m    Slips");
  for (SatSystem sys : kQualitySystemOrder)
    if (r.System(sys).satellites > 0)
      out.push_back(GroupLine(QualitySystemName(sys), r.System(sys)));
  out.push_back(GroupLine("All", r.total));
  const std::vector<int> snr = SnrSignalsOf(r);
  ElevationLines(r, snr, out);
  out.push_back("");
  const bool mp5 = r.total.mp5.count > 0;
  std::string head = "Sat   Observed  Expected  Compl%   MP1 m   MP2 m";
  head += mp5 ? "   MP5 m  Slips" : "  Slips";
  for (int s : snr) head += Padded(SnrCaption(s), 7);
  out.push_back(head);
  for (const QualitySatellite& q : r.satellites)
    if (q.epochsSeen > 0 || q.expected > 0) out.push_back(SatelliteLine(q, mp5, snr));
  return out;
}

nlohmann::json QualityJson(const QualityReport& r) {
  json j;
  j["ok"] = r.ok;
  j["message"] = r.message;
  j["mask_deg"] = r.maskDeg;
  j["position"] = r.position ? json(*r.position) : json(nullptr);
  j["position_source"] = r.positionSource;
  j["completeness_pct"] = Rounded(r.total.CompletenessPct(), 2);
  j["mp1_rms_m"] = Rounded(r.total.mp1.Rms(), 4);
  j["mp2_rms_m"] = Rounded(r.total.mp2.Rms(), 4);
  j["mp5_rms_m"] = Rounded(r.total.mp5.Rms(), 4);
  j["slips"] = r.total.slips;
  j["receiver_slips"] = nullptr;  // the scan keeps no loss-of-lock flags
  j["clock_jumps"] = r.clockJumps.size();
  json jumps = json::array();
  for (const ClockJumpMark& c : r.clockJumps)
    jumps.push_back(
        {{"epoch", c.epoch}, {"time", QualityTimeText(c.time)}, {"ms", c.milliseconds}});
  j["clock_jump_epochs"] = jumps;
  j["epochs"] = {{"first", QualityTimeText(r.epochs.first)},
                 {"last", QualityTimeText(r.epochs.last)},
                 {"interval_s", r.epochs.intervalS},
                 {"expected", r.epochs.expected},
                 {"present", r.epochs.count},
                 {"gaps", r.epochs.gaps}};
  json systems = json::object();
  for (SatSystem sys : kQualitySystemOrder)
    if (r.System(sys).satellites > 0) {
      json g = GroupJson(r.System(sys));
      g.update(BinsJson(r.System(sys), SnrSignalsOf(r)));
      systems[QualitySystemName(sys)] = g;
    }
  j["systems"] = systems;
  j["without_ephemeris"] = r.withoutEphemeris;
  const std::vector<int> snr = SnrSignalsOf(r);
  json sats = json::array();
  for (const QualitySatellite& q : r.satellites)
    if (q.epochsSeen > 0 || q.expected > 0) sats.push_back(SatelliteJson(q, snr));
  j["satellites"] = sats;
  return j;
}

std::string QualityCsvHeader() {
  return "file,epochs,completeness_pct,mp1_rms_m,mp2_rms_m,slips,clock_jumps,errors,exit_status";
}

std::string QualityCsvLine(const QualityCsvRow& row) {
  return CsvField(row.file) + "," + std::to_string(row.epochs) + "," +
         Fixed(row.completenessPct, 2, "") + "," + Fixed(row.mp1RmsM, 4, "") + "," +
         Fixed(row.mp2RmsM, 4, "") + "," + std::to_string(row.slips) + "," +
         std::to_string(row.clockJumps) + "," + std::to_string(row.errors) + "," +
         std::to_string(row.exitStatus);
}

}  // namespace vnx
