#pragma once
// Shared vocabulary of the log synthesiser: satellites, the five signals of the log format,
// physical constants and a reproducible noise source.
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/gnss/physics.h"
#include "engine/gnss/satellite_system.h"
#include "engine/orbits/orbit.h"

namespace vnx::synth {

inline constexpr double kLightSpeed = kSpeedOfLight;
inline constexpr double kPi = vnx::kGpsPi;
inline constexpr double kEarthRotation = vnx::kEarthRotationRate;
inline constexpr double kSecondsPerWeek = 604800.0;
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kDeg = 3.14159265358979323846 / 180.0;

using Gnss = SatSystem;

// The order the generator has always kept its satellites in (GPS, GLONASS, Galileo, SBAS);
// the noise of a satellite is keyed by it, so a log stays the same from build to build.
constexpr int SynthOrder(Gnss sys) {
  return sys == Gnss::Galileo ? 2 : sys == Gnss::Sbas ? 3 : static_cast<int>(sys) - 1;
}
constexpr Gnss SystemInSynthOrder(int order) {
  constexpr Gnss kOrder[] = {Gnss::Gps, Gnss::Glonass, Gnss::Galileo, Gnss::Sbas};
  return kOrder[order];
}

// A satellite as RINEX names it: GPS/Galileo PRN, GLONASS slot, SBAS PRN (120..138).
struct SatId {
  Gnss sys = Gnss::Gps;
  int prn = 0;
  bool operator==(const SatId&) const = default;
  bool operator<(const SatId& o) const {
    return sys != o.sys ? SynthOrder(sys) < SynthOrder(o.sys) : prn < o.prn;
  }
  std::string Name() const;  // "G05", "R12", "E30", "S20"
  int Key() const { return SynthOrder(sys) * 256 + prn; }
};

// Signals of the log format: 0 C/A L1, 1 P L1, 2 P L2, 3 C/A L2, 4 L5 (E1 and E5a for Galileo).
inline constexpr int kSignals = 5;

enum ObsBit : uint8_t { kHasCode = 1, kHasPhase = 2, kHasDoppler = 4, kHasSnr = 8 };

struct SignalValues {
  double code = 0;     // metres
  double phase = 0;    // cycles
  double doppler = 0;  // Hz
  double snr = 0;      // dB-Hz
  uint8_t has = 0;     // ObsBit
  bool slip = false;   // loss-of-lock indicator on the phase
};

// Carrier frequency in Hz of a signal; `channel` is the GLONASS frequency number.
double CarrierFrequency(Gnss sys, int signal, int channel);

// Reproducible noise: the same key always gives the same number, whatever the order in which
// values are asked for, so a log does not depend on how it was cut into pieces.
uint64_t Mix64(uint64_t x);
double UniformNoise(uint64_t key);   // [0, 1)
double GaussianNoise(uint64_t key);  // mean 0, sigma 1
inline uint64_t NoiseKey(uint64_t a, uint64_t b, uint64_t c = 0, uint64_t d = 0) {
  return Mix64(Mix64(Mix64(a * 0x9E3779B97F4A7C15ull + b) ^ c) + d * 0xBF58476D1CE4E5B9ull);
}

// Sequential generator for choices that follow an order (fault positions).
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next() { return Mix64(state_ += 0x9E3779B97F4A7C15ull); }
  // Uniform in [0, n); n > 0.
  uint64_t Below(uint64_t n) { return Next() % n; }

 private:
  uint64_t state_;
};

// GPS seconds (since 1980-01-06 00:00:00) of a calendar instant; whole days and seconds.
double GpsSecondsFromCalendar(int year, int month, int day, int hour, int minute, double second);

}  // namespace vnx::synth
