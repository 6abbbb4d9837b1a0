#include "tools/synth/gnss.h"

#include <cmath>
#include <cstdio>

#include "engine/time/gps_time.h"

namespace vnx::synth {

std::string SatId::Name() const {
  char text[8];
  std::snprintf(text, sizeof text, "%c%02d", InfoOf(sys).letter,
                sys == Gnss::Sbas ? prn - 100 : prn);
  return text;
}

double CarrierFrequency(Gnss sys, int signal, int channel) {
  if (sys != Gnss::Glonass) {
    static const double kFreq[kSignals] = {1575420000.0, 1575420000.0, 1227600000.0, 1227600000.0,
                                           1176450000.0};
    return kFreq[signal];
  }
  static const double kBase[kSignals] = {1602000000.0, 1602000000.0, 1246000000.0, 1246000000.0,
                                         1176450000.0};
  static const double kStep[kSignals] = {562500.0, 562500.0, 437500.0, 437500.0, 437500.0};
  return kBase[signal] + channel * kStep[signal];
}

uint64_t Mix64(uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  return x;
}

double UniformNoise(uint64_t key) {
  return static_cast<double>(Mix64(key) >> 11) * 0x1p-53;
}

double GaussianNoise(uint64_t key) {
  double u1 = UniformNoise(key);
  double u2 = UniformNoise(key ^ 0x5851F42D4C957F2Dull);
  if (u1 < 1e-300) u1 = 1e-300;
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * 3.14159265358979323846 * u2);
}

double GpsSecondsFromCalendar(int year, int month, int day, int hour, int minute, double second) {
  double whole = std::floor(second);
  TGPSTime t = TGPSTime::FromCalendar(year, month, day, hour, minute, static_cast<int>(whole));
  return static_cast<double>(t.Seconds()) + (second - whole);
}

}  // namespace vnx::synth
