#include "engine/quality/dual_frequency.h"

#include "engine/gnss/physics.h"
#include "engine/gnss/satellite_system.h"

namespace vnx {
namespace {

constexpr int kSigL2 = 2, kSigL5 = 4;

bool HasCodeAndPhase(const SignalBlock& b) {
  return b.present[kRange] && b.present[kPhase];
}

}  // namespace

std::optional<CarrierPair> L1L5CarriersOf(const SvRec& sv) {
  // GPS, SBAS and Galileo share the L1 (E1) and L5 (E5a) carriers.
  const auto system = static_cast<SatSystem>(sv.system);
  if (system == SatSystem::Gps || system == SatSystem::Sbas || system == SatSystem::Galileo)
    return CarrierPair{kGpsL1Hz, kL5Hz};
  return std::nullopt;
}

std::optional<DualFrequency> DualFrequencyOf(const SvRec& sv) {
  return DualFrequencyOf(sv, TakeObservables(sv));
}

std::optional<DualFrequency> DualFrequencyOf(const SvRec& sv, const CombinationObservables& obs) {
  DualFrequency d;
  d.obs = obs;
  if (!d.obs.pr1 || !d.obs.phi1) return std::nullopt;
  // GPS and GLONASS keep to L1-L2, so that one satellite's arcs never mix two pairs.
  const auto system = static_cast<SatSystem>(sv.system);
  const bool l2System = system == SatSystem::Gps || system == SatSystem::Glonass;
  if (l2System) {
    if (!HasCodeAndPhase(sv.sig[kSigL2])) return std::nullopt;
    auto carriers = CarriersOf(sv);
    if (!carriers) return std::nullopt;
    d.pair = FrequencyPair::L1L2;
    d.carriers = *carriers;
    return d;
  }
  if (HasCodeAndPhase(sv.sig[kSigL5])) {
    auto carriers = L1L5CarriersOf(sv);
    if (!carriers) return std::nullopt;
    d.pair = FrequencyPair::L1L5;
    d.carriers = *carriers;
    d.obs.p2 = sv.sig[kSigL5].range;
    d.obs.phi2 = sv.sig[kSigL5].phase;
    return d;
  }
  return std::nullopt;
}

std::optional<DualFrequency> GpsL5PairOf(const SvRec& sv) {
  return GpsL5PairOf(sv, TakeObservables(sv));
}

std::optional<DualFrequency> GpsL5PairOf(const SvRec& sv, const CombinationObservables& obs) {
  if (static_cast<SatSystem>(sv.system) != SatSystem::Gps || !HasCodeAndPhase(sv.sig[kSigL5]))
    return std::nullopt;
  DualFrequency d;
  d.obs = obs;
  if (!d.obs.pr1 || !d.obs.phi1) return std::nullopt;
  d.pair = FrequencyPair::L1L5;
  d.carriers = {kGpsL1Hz, kL5Hz};
  d.obs.p2 = sv.sig[kSigL5].range;
  d.obs.phi2 = sv.sig[kSigL5].phase;
  return d;
}

PairCoefficients CoefficientsOf(const CarrierPair& f) {
  PairCoefficients k;
  k.carriers = f;
  k.lambda1 = kSpeedOfLight / f.f1;
  k.lambda2 = kSpeedOfLight / f.f2;
  const double ratio = f.f1 / f.f2;
  const double r = ratio * ratio;
  const double u = 1.0 / (1.0 - r);
  k.mp1Phase1 = 2 * u - 1, k.mp1Phase2 = -2 * u;
  k.mp2Phase1 = 2 * r * u, k.mp2Phase2 = -(2 * r * u + 1);
  k.wide1 = f.f1 / (f.f1 - f.f2), k.wide2 = -f.f2 / (f.f1 - f.f2);
  k.narrow1 = f.f1 / (f.f1 + f.f2), k.narrow2 = f.f2 / (f.f1 + f.f2);
  k.perWideLaneCycle = (f.f1 - f.f2) / kSpeedOfLight;
  return k;
}

DualFrequencyValues ValuesOf(const DualFrequency& d, const PairCoefficients& k) {
  DualFrequencyValues v;
  const double phase1 = k.lambda1 * *d.obs.phi1, phase2 = k.lambda2 * *d.obs.phi2;
  v.mp1 = *d.obs.pr1 + k.mp1Phase1 * phase1 + k.mp1Phase2 * phase2;
  v.mp2 = *d.obs.p2 + k.mp2Phase1 * phase1 + k.mp2Phase2 * phase2;
  v.phase1 = phase1;
  v.geometryFree = phase1 - phase2;
  const double wideLane = k.wide1 * phase1 + k.wide2 * phase2;
  const double narrowCode = k.narrow1 * *d.obs.pr1 + k.narrow2 * *d.obs.p2;
  v.melbourneWuebbena = (wideLane - narrowCode) * k.perWideLaneCycle;
  return v;
}

DualFrequencyValues ValuesOf(const DualFrequency& d) {
  return ValuesOf(d, CoefficientsOf(d.carriers));
}

std::optional<double> FirstCodeOf(const SvRec& sv) {
  return TakeObservables(sv).pr1;
}

std::optional<double> FirstPhaseMetresOf(const SvRec& sv) {
  return FirstPhaseMetresOf(sv, TakeObservables(sv));
}

std::optional<double> FirstPhaseMetresOf(const SvRec& sv, const CombinationObservables& obs) {
  const auto& phi1 = obs.phi1;
  if (!phi1) return std::nullopt;
  auto carriers = CarriersOf(sv);
  if (!carriers) carriers = L1L5CarriersOf(sv);
  if (!carriers) return std::nullopt;
  return kSpeedOfLight / carriers->f1 * *phi1;
}

}  // namespace vnx
