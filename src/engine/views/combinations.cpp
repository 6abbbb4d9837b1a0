#include "engine/views/combinations.h"

namespace vnx {

namespace {

constexpr std::array<const char*, kCombinationCount> kItemTexts{
    "Pseudorange Dual-frequency Ionosphere (Geometry-free)",
    "Phase Dual-frequency Ionosphere (Geometry-free)",
    "Multipath for P1",
    "Multipath for P2",
};

constexpr std::array<const char*, kCombinationCount> kTitles{
    "Pseudorange Dual-frequency Ionosphere (Geometry-free) [m]",
    "Phase Dual-frequency Ionosphere (Geometry-free) [cycles]",
    "Multipath for P1 [m]",
    "Multipath for P2 [m]",
};

constexpr int kSigCaL1 = 0, kSigPL1 = 1, kSigPL2 = 2;

std::optional<double> RangeOf(const SignalBlock& b) {
  if (!b.present[kRange]) return std::nullopt;
  return b.range;
}

std::optional<double> PhaseOf(const SignalBlock& b) {
  if (!b.present[kPhase]) return std::nullopt;
  return b.phase;
}

bool IsMultipath(Combination c) {
  return c == Combination::kMultipathP1 || c == Combination::kMultipathP2;
}

// MP1 = PR1 + (2u - 1) PHI1 - 2u PHI2 and MP2 = P2 + 2ru PHI1 - (2ru + 1) PHI2 with the phases
// in metres, r = (f1 / f2)^2 and u = 1 / (1 - r).
double Multipath(Combination c, const CombinationObservables& o, const CarrierPair& f) {
  const double phase1 = kSpeedOfLight / f.f1 * *o.phi1;
  const double phase2 = kSpeedOfLight / f.f2 * *o.phi2;
  const double ratio = f.f1 / f.f2;
  const double r = ratio * ratio;
  const double u = 1.0 / (1.0 - r);
  if (c == Combination::kMultipathP1) return *o.pr1 + (2 * u - 1) * phase1 - 2 * u * phase2;
  return *o.p2 + 2 * r * u * phase1 - (2 * r * u + 1) * phase2;
}

}  // namespace

const std::array<const char*, kCombinationCount>& CombinationItemTexts() {
  return kItemTexts;
}

const char* CombinationTitle(Combination c) {
  return kTitles[static_cast<size_t>(c)];
}

CarrierPair GlonassCarriers(int channel) {
  return {(channel + 2848) * 0.5625e6, (channel + 2848) * 0.4375e6};
}

int SignedChannel(int32_t storedChannel) {
  return static_cast<int8_t>(static_cast<uint8_t>(storedChannel & 0xFF));
}

std::optional<CarrierPair> CarriersOf(const SvRec& sv) {
  if (sv.system == 1) return CarrierPair{kGpsL1Hz, kGpsL2Hz};
  if (sv.system == 2) return GlonassCarriers(SignedChannel(sv.channel));
  return std::nullopt;
}

CombinationObservables TakeObservables(const SvRec& sv) {
  CombinationObservables o;
  o.pr1 = RangeOf(sv.sig[kSigCaL1]);
  if (!o.pr1) o.pr1 = RangeOf(sv.sig[kSigPL1]);
  o.p2 = RangeOf(sv.sig[kSigPL2]);
  o.phi1 = PhaseOf(sv.sig[kSigCaL1]);
  if (!o.phi1) o.phi1 = PhaseOf(sv.sig[kSigPL1]);
  o.phi2 = PhaseOf(sv.sig[kSigPL2]);
  return o;
}

std::optional<double> CombinationValue(Combination c, const CombinationObservables& o,
                                       const std::optional<CarrierPair>& f) {
  if (c == Combination::kCodeGeometryFree) {
    if (!o.pr1 || !o.p2) return std::nullopt;
    return *o.pr1 - *o.p2;
  }
  if (!f) return std::nullopt;
  if (c == Combination::kPhaseGeometryFree) {
    if (!o.phi1 || !o.phi2) return std::nullopt;
    return *o.phi1 - f->f1 / f->f2 * *o.phi2;
  }
  // Both multipath combinations want all four observables, though each uses one code only.
  if (!o.pr1 || !o.p2 || !o.phi1 || !o.phi2) return std::nullopt;
  return Multipath(c, o, *f);
}

MeasurementChart DrawCombinationChart(const ChartSource& src, SelectedSatellite sat, Combination c,
                                      const ProgressCallback& gauge) {
  MeasurementChart chart;
  const bool multipath = IsMultipath(c);
  auto visit = [&](int32_t epoch, const SvRec& sv) {
    // The elevation goes beside the multipath whether or not the combination can be formed.
    if (multipath && HasElevation(sv)) chart.elevations.Add(epoch, sv.elevation);
    if (const auto v = CombinationValue(c, TakeObservables(sv), CarriersOf(sv)))
      chart.values.Add(epoch, *v);
  };
  RunSatellitePass(src, sat, gauge, visit, chart);
  if (chart.drawn) {
    chart.title = CombinationTitle(c);
    chart.rightTitle = multipath ? "Elevation Angle [degrees]" : "";
  }
  return chart;
}

}  // namespace vnx
