#pragma once
// Dual-frequency combinations of one satellite's code and carrier-phase observables, epoch by
// epoch: geometry-free code and phase, and the code multipath of P1 and P2 with the satellite's
// elevation beside them. Raw combinations only: no cycle-slip detection, no ambiguity or mean
// removal.
#include <array>
#include <optional>

#include "engine/gnss/physics.h"
#include "engine/views/measurements_series.h"

namespace vnx {

inline constexpr double kGpsL1Hz = 1575420000.0;
inline constexpr double kGpsL2Hz = 1227600000.0;

// The items of the combinations radio group.
enum class Combination : int {
  kCodeGeometryFree = 0,
  kPhaseGeometryFree = 1,
  kMultipathP1 = 2,
  kMultipathP2 = 3,
};
inline constexpr int kCombinationCount = 4;
const std::array<const char*, kCombinationCount>& CombinationItemTexts();
const char* CombinationTitle(Combination c);

struct CarrierPair {
  double f1 = 0, f2 = 0;  // Hz
};
// GLONASS carriers of frequency channel k (-7..+6).
CarrierPair GlonassCarriers(int channel);
// The stored channel's low byte as a signed number: 249..255 are channels -7..-1.
int SignedChannel(int32_t storedChannel);
// GPS and GLONASS satellites only; the other systems have no carriers here.
std::optional<CarrierPair> CarriersOf(const SvRec& sv);

// The observables a combination takes from one satellite record: the C/A code (else P code)
// and phase on L1, the P code and phase on L2.
struct CombinationObservables {
  std::optional<double> pr1, p2;     // metres
  std::optional<double> phi1, phi2;  // cycles
};
CombinationObservables TakeObservables(const SvRec& sv);

// The value of one combination, or nothing when an observable (or, except for the code
// combination, the carriers) is missing.
std::optional<double> CombinationValue(Combination c, const CombinationObservables& obs,
                                       const std::optional<CarrierPair>& carriers);

// The combination chart of one satellite; the multipath charts also put the elevation of every
// record of the satellite on the right axis.
MeasurementChart DrawCombinationChart(const ChartSource& src, SelectedSatellite sat, Combination c,
                                      const ProgressCallback& gauge = {});

}  // namespace vnx
