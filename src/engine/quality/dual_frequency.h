#pragma once
// The dual-frequency figures of one satellite record that the quality analysis works on: the
// code multipath of both frequencies as the Combinations chart defines them, the
// geometry-free phase and the Melbourne-Wuebbena combination: from the L1-L2 pair for GPS and
// GLONASS, from the L1-L5 pair (E1-E5a) for Galileo and SBAS.
#include <cstdint>
#include <optional>

#include "engine/epoch/records.h"
#include "engine/views/combinations.h"

namespace vnx {

// The L5 (and E5a) carrier. To be taken from the signal table once it carries the carriers.
inline constexpr double kL5Hz = 1176450000.0;

enum class FrequencyPair : uint8_t { L1L2 = 0, L1L5 = 1 };

struct DualFrequency {
  FrequencyPair pair = FrequencyPair::L1L2;
  CarrierPair carriers;
  CombinationObservables obs;  // p2 and phi2 hold the second frequency of the pair
};

// The carriers of the first frequency and of L5 of a satellite record; nothing for a system
// without them. Until one signal table serves every part of the program, the L5 carriers
// live here.
std::optional<CarrierPair> L1L5CarriersOf(const SvRec& sv);

// The pair of a record's system, when the record has code and phase on both of its
// frequencies (L2: the P code and phase).
std::optional<DualFrequency> DualFrequencyOf(const SvRec& sv);
// The same with the record's observables already taken (TakeObservables).
std::optional<DualFrequency> DualFrequencyOf(const SvRec& sv, const CombinationObservables& obs);

struct DualFrequencyValues {
  double mp1 = 0, mp2 = 0;       // metres
  double geometryFree = 0;       // PHI1 - PHI2, metres
  double melbourneWuebbena = 0;  // wide-lane cycles
  double phase1 = 0;             // PHI1, metres
};
DualFrequencyValues ValuesOf(const DualFrequency& d);

// The factors of the combinations for one pair of carriers, worked out once: MP1 = PR1 +
// (2u - 1) PHI1 - 2u PHI2 and MP2 = P2 + 2ru PHI1 - (2ru + 1) PHI2 with r = (f1 / f2)^2 and
// u = 1 / (1 - r), as the Combinations chart has them; the wide-lane phase and narrow-lane code
// of the Melbourne-Wuebbena combination.
struct PairCoefficients {
  CarrierPair carriers;
  double lambda1 = 0, lambda2 = 0;
  double mp1Phase1 = 0, mp1Phase2 = 0, mp2Phase1 = 0, mp2Phase2 = 0;
  double wide1 = 0, wide2 = 0, narrow1 = 0, narrow2 = 0;
  double perWideLaneCycle = 0;  // 1 / wide-lane wavelength
};
PairCoefficients CoefficientsOf(const CarrierPair& f);
DualFrequencyValues ValuesOf(const DualFrequency& d, const PairCoefficients& k);

// The L1-L5 pair of a GPS record that has code and phase on L1 and L5, for the multipath of
// the L5 code (MP5, in `mp2` of its values); nothing for other systems, whose L5 is already in
// their own pair.
std::optional<DualFrequency> GpsL5PairOf(const SvRec& sv);
std::optional<DualFrequency> GpsL5PairOf(const SvRec& sv, const CombinationObservables& obs);

// The first-frequency code of a record (C/A, else P on L1), as the Combinations chart takes it.
std::optional<double> FirstCodeOf(const SvRec& sv);
// The first-frequency phase in metres; nothing without the phase or the carrier.
std::optional<double> FirstPhaseMetresOf(const SvRec& sv);
std::optional<double> FirstPhaseMetresOf(const SvRec& sv, const CombinationObservables& obs);

}  // namespace vnx
