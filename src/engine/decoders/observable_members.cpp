#include "engine/decoders/observable_members.h"

#include <array>

namespace vnx {

namespace {

using enum ObsEntry;
using I = Indicator;

constexpr Indicator kCodeLabels[5] = {I::C1, I::P1, I::P2, I::C2, I::C5};
constexpr Indicator kPhaseLabels[5] = {I::L1_CA, I::L1, I::L2, I::L2_CA, I::L5};
constexpr Indicator kDopplerLabels[5] = {I::D1_CA, I::D1, I::D2, I::D2_CA, I::D5};
constexpr Indicator kSnrLabels[5] = {I::S1_CA, I::S1, I::S2, I::S2_CA, I::S5};

constexpr ObsReference kL1 = ObsReference::CodeL1;
constexpr ObsReference kOwn = ObsReference::OwnCode;

// Integer code counts in units of 10 ps; the compressed forms carry an offset that keeps
// their counts small (0.075 s, or 0.115 s for the farther SBAS satellites).
constexpr long double kCodeUnit = 1e-11L;

constexpr std::array<ObservableMember, static_cast<size_t>(ObsMember::Count)> kMembers{{
    // RC: full pseudorange; values outside the plausible travel times are dropped.
    {.width = 8, .entry = Float64, .lowest = 0.03, .below = 0.2, .labels = kCodeLabels},
    // rc
    {.width = 4,
     .entry = Int32,
     .missing = 0x7FFFFFFF,
     .scale = kCodeUnit,
     .offset = 0.075L,
     .sbasOffset = 0.115L,
     .labels = kCodeLabels},
    // 1R..5R
    {.width = 4, .entry = Float32, .reference = kL1, .labels = kCodeLabels},
    // 1r..5r
    {.width = 2,
     .entry = Int16,
     .missing = 0x7FFF,
     .scale = kCodeUnit,
     .offset = 2e-7L,
     .reference = kL1,
     .labels = kCodeLabels},
    // CC, C1, C2: smoothing correction and its interval.
    {.width = 6,
     .entry = Float32Interval,
     .missing = 0xFFFF,
     .reference = kOwn,
     .target = kSmoothing,
     .flag = kFlagSmoothing},
    // cc, c1, c2
    {.width = 2,
     .entry = Int16,
     .missing = 0x7FFF,
     .scale = kCodeUnit,
     .reference = kOwn,
     .target = kSmoothing,
     .flag = kFlagSmoothing},
    // PC: full carrier phase in cycles.
    {.width = 8, .entry = Float64, .target = kPhase, .flag = kFlagPhase, .labels = kPhaseLabels},
    // pc: 1/1024 cycle.
    {.width = 4,
     .entry = UInt32,
     .missing = 0xFFFFFFFF,
     .scale = 1.0L / 1024,
     .target = kPhase,
     .flag = kFlagPhase,
     .labels = kPhaseLabels},
    // CP: phase as a travel time relative to the C/A code.
    {.width = 4,
     .entry = Float32,
     .reference = kL1,
     .timesCarrier = true,
     .target = kPhase,
     .flag = kFlagPhase,
     .labels = kPhaseLabels},
    // cp: the same in units of 2^-40 s.
    {.width = 4,
     .entry = Int32,
     .missing = 0x7FFFFFFF,
     .scale = 0x1p-40L,
     .reference = kL1,
     .timesCarrier = true,
     .target = kPhase,
     .flag = kFlagPhase,
     .labels = kPhaseLabels},
    // DC: Doppler in 0.1 mHz.
    {.width = 4,
     .entry = Int32,
     .missing = 0x7FFFFFFF,
     .scale = 1e-4L,
     .target = kDoppler,
     .flag = kFlagDoppler,
     .labels = kDopplerLabels,
     .alsoSignal1 = true},
    // EC: SNR in dB-Hz.
    {.width = 1,
     .entry = UInt8,
     .missing = 0xFF,
     .target = kSnr,
     .flag = kFlagSnr,
     .labels = kSnrLabels},
    // CE: SNR in 0.25 dB-Hz.
    {.width = 1,
     .entry = UInt8,
     .missing = 0xFF,
     .scale = 0.25L,
     .target = kSnr,
     .flag = kFlagSnr,
     .labels = kSnrLabels},
    // SS: a status per slot, then the solution type.
    {.width = 1, .trailer = 2, .wholeLength = true},
    // TC
    {.width = 2},
    // FC
    {.width = 2},
}};

}  // namespace

const ObservableMember& MemberOf(ObsMember member) {
  return kMembers[static_cast<size_t>(member)];
}

}  // namespace vnx
