#include "engine/decoders/observable_members.h"

namespace vnx {

namespace {

using enum ObsEntry;

constexpr ObsReference kL1 = ObsReference::CodeL1;
constexpr ObsReference kOwn = ObsReference::OwnCode;

// Integer code counts in units of 10 ps; the compressed forms carry an offset that keeps
// their counts small (0.075 s, or 0.115 s for the farther SBAS satellites).
constexpr long double kCodeUnit = 1e-11L;

}  // namespace

// Full pseudorange; values outside the plausible travel times are dropped.
constexpr ObservableMember kFullCode{
    .width = 8, .entry = Float64, .lowest = 0.03, .below = 0.2, .lights = true};
constexpr ObservableMember kCompactCode{.width = 4,
                                        .entry = Int32,
                                        .missing = 0x7FFFFFFF,
                                        .scale = kCodeUnit,
                                        .offset = 0.075L,
                                        .sbasOffset = 0.115L,
                                        .lights = true};
constexpr ObservableMember kRelativeCode{
    .width = 4, .entry = Float32, .reference = kL1, .lights = true};
constexpr ObservableMember kCompactRelativeCode{.width = 2,
                                                .entry = Int16,
                                                .missing = 0x7FFF,
                                                .scale = kCodeUnit,
                                                .offset = 2e-7L,
                                                .reference = kL1,
                                                .lights = true};
// Smoothing correction and its interval.
constexpr ObservableMember kSmoothingCorrection{.width = 6,
                                                .entry = Float32Interval,
                                                .missing = 0xFFFF,
                                                .reference = kOwn,
                                                .target = kSmoothing,
                                                .flag = kFlagSmoothing};
constexpr ObservableMember kCompactSmoothingCorrection{.width = 2,
                                                       .entry = Int16,
                                                       .missing = 0x7FFF,
                                                       .scale = kCodeUnit,
                                                       .reference = kOwn,
                                                       .target = kSmoothing,
                                                       .flag = kFlagSmoothing};
constexpr ObservableMember kFullPhase{
    .width = 8, .entry = Float64, .target = kPhase, .flag = kFlagPhase, .lights = true};
constexpr ObservableMember kCompactPhase{.width = 4,
                                         .entry = UInt32,
                                         .missing = 0xFFFFFFFF,
                                         .scale = 1.0L / 1024,
                                         .target = kPhase,
                                         .flag = kFlagPhase,
                                         .lights = true};
// Phase as a travel time relative to the C/A code.
constexpr ObservableMember kRelativePhase{.width = 4,
                                          .entry = Float32,
                                          .reference = kL1,
                                          .timesCarrier = true,
                                          .target = kPhase,
                                          .flag = kFlagPhase,
                                          .lights = true};
constexpr ObservableMember kCompactRelativePhase{.width = 4,
                                                 .entry = Int32,
                                                 .missing = 0x7FFFFFFF,
                                                 .scale = 0x1p-40L,
                                                 .reference = kL1,
                                                 .timesCarrier = true,
                                                 .target = kPhase,
                                                 .flag = kFlagPhase,
                                                 .lights = true};
// The C/A L1 Doppler also fills signal 1.
constexpr ObservableMember kDopplerCount{.width = 4,
                                         .entry = Int32,
                                         .missing = 0x7FFFFFFF,
                                         .scale = 1e-4L,
                                         .target = kDoppler,
                                         .flag = kFlagDoppler,
                                         .lights = true,
                                         .alsoSignal1 = true};
constexpr ObservableMember kSnrWhole{
    .width = 1, .entry = UInt8, .missing = 0xFF, .target = kSnr, .flag = kFlagSnr, .lights = true};
constexpr ObservableMember kSnrQuarter{.width = 1,
                                       .entry = UInt8,
                                       .missing = 0xFF,
                                       .scale = 0.25L,
                                       .target = kSnr,
                                       .flag = kFlagSnr,
                                       .lights = true};
constexpr ObservableMember kSlotStatus{.width = 1, .trailer = 2, .wholeLength = true};
constexpr ObservableMember kSlotWords{.width = 2};

}  // namespace vnx
