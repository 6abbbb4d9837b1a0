#pragma once
// Code, phase, Doppler and signal-strength messages of one epoch. The receiver has four
// encodings for code and phase (full, compressed, relative to the C/A L1 code, compressed
// relative) and two resolutions for the signal strength; the log rotates through them epoch
// by epoch. A message whose values do not all fit the chosen encoding falls back to the full
// one, so nothing is lost beyond the encoding's resolution.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/synth/gnss.h"

namespace vnx::synth {

enum class Form : uint8_t { Full, Int, Rel, RelInt };

struct Scheme {
  Form code = Form::Full;
  Form phase = Form::Full;
  bool quarterSnr = false;  // "CE" family (0.25 dB-Hz) rather than "EC" (1 dB-Hz)
};
Scheme SchemeForEpoch(int64_t epochIndex);

// Largest difference between a value and what a log reader gets back, over all encodings.
inline constexpr double kCodeResolutionM = 0.002;
inline constexpr double kPhaseResolutionCycles = 0.001;
inline constexpr double kDopplerResolutionHz = 0.0001;
double SnrResolution(bool quarterSnr);

struct SlotSignals {
  Gnss sys = Gnss::Gps;
  int channel = 0;  // GLONASS frequency number
  const std::array<SignalValues, kSignals>* sig = nullptr;
};

// Appends the epoch's observable frames to `frames`.
void EncodeObservables(const std::vector<SlotSignals>& slots, Scheme scheme,
                       std::vector<std::string>& frames);

}  // namespace vnx::synth
