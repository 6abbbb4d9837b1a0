#pragma once
// The observables of the log format: five signals (0 C/A L1, 1 P L1, 2 P L2, 3 C/A L2, 4 L5;
// E1 and E5a for Galileo) times the kinds a signal block holds. One table gives each its
// caption and unit; the decoders, the indicators, the summary and the charts read it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vnx {

inline constexpr int kSignalCount = 5;

// What a signal block of a satellite record holds; the index of its presence flag.
enum ObsKind : int { kRange = 0, kSmoothing = 1, kPhase = 2, kDoppler = 3, kSnr = 4 };

// The observables a scan lights and counts, in the order of the summary.
enum class Observable : uint8_t {
  C1,
  P1,
  P2,
  C2,
  C5,
  L1_CA,
  L1,
  L2,
  L2_CA,
  L5,
  D1_CA,
  D1,
  D2,
  D2_CA,
  D5,
  S1_CA,
  S1,
  S2,
  S2_CA,
  S5,
};
inline constexpr int kObservableCount = 20;

struct ObservableInfo {
  Observable id;
  int signal;
  ObsKind kind;
  const char* caption;  // "C1", "CA/L1", ...
  const char* unit;     // "[m]", "[cycles]", "[Hz]", "[dB*Hz]"
};

inline constexpr std::array<ObservableInfo, kObservableCount> kObservables{{
    {Observable::C1, 0, kRange, "C1", "[m]"},
    {Observable::P1, 1, kRange, "P1", "[m]"},
    {Observable::P2, 2, kRange, "P2", "[m]"},
    {Observable::C2, 3, kRange, "C2", "[m]"},
    {Observable::C5, 4, kRange, "C5", "[m]"},
    {Observable::L1_CA, 0, kPhase, "CA/L1", "[cycles]"},
    {Observable::L1, 1, kPhase, "L1", "[cycles]"},
    {Observable::L2, 2, kPhase, "L2", "[cycles]"},
    {Observable::L2_CA, 3, kPhase, "CA/L2", "[cycles]"},
    {Observable::L5, 4, kPhase, "L5", "[cycles]"},
    {Observable::D1_CA, 0, kDoppler, "CA/D1", "[Hz]"},
    {Observable::D1, 1, kDoppler, "D1", "[Hz]"},
    {Observable::D2, 2, kDoppler, "D2", "[Hz]"},
    {Observable::D2_CA, 3, kDoppler, "CA/D2", "[Hz]"},
    {Observable::D5, 4, kDoppler, "D5", "[Hz]"},
    {Observable::S1_CA, 0, kSnr, "CA/S1", "[dB*Hz]"},
    {Observable::S1, 1, kSnr, "S1", "[dB*Hz]"},
    {Observable::S2, 2, kSnr, "S2", "[dB*Hz]"},
    {Observable::S2_CA, 3, kSnr, "CA/S2", "[dB*Hz]"},
    {Observable::S5, 4, kSnr, "S5", "[dB*Hz]"},
}};

constexpr const ObservableInfo& InfoOf(Observable o) {
  return kObservables[static_cast<size_t>(o)];
}

// The observable of `signal` and `kind`; the smoothing correction has none of its own (it is
// shown against the code of its signal).
constexpr Observable ObservableOf(int signal, ObsKind kind) {
  const int row = kind == kSmoothing ? kRange : kind == kRange ? 0 : kind - 1;
  return static_cast<Observable>(row * kSignalCount + signal);
}

}  // namespace vnx
