#pragma once
// Satellite positions from broadcast ephemerides and the station geometry: GPS and Galileo
// Keplerian orbits as the public GPS interface document IS-GPS-200 gives them, GLONASS by Runge-Kutta
// integration of the broadcast state vector in PZ-90, elevation and azimuth, and the
// broadcast ionosphere and a simple troposphere for synthetic observables.
#include <array>

#include "engine/orbits/geodesy.h"
#include "tools/synth/rinex_nav.h"

namespace vnx::synth {

using Vec3 = std::array<double, 3>;

struct SatState {
  Vec3 pos{};        // ECEF, metres
  double clock = 0;  // satellite clock offset, seconds (relativistic term included)
};

// Position at GPS time `t` (seconds) in the ECEF frame of that instant.
SatState KeplerPosition(const KeplerEph& eph, double t);

// GLONASS state in PZ-90: km and km/s, at `t` GPS seconds.
struct GloOrbitState {
  double t = 0;
  Vec3 pos{}, vel{};
};

// The broadcast state of `eph` at its reference time; `leapSeconds` turns its UTC reference
// into GPS time.
GloOrbitState GloInitialState(const GloEph& eph, int leapSeconds);
// Integrates `state` to `t` (forwards or backwards) with steps of at most 30 s, using the
// luni-solar accelerations of `eph`.
GloOrbitState GloPropagate(const GloEph& eph, GloOrbitState state, double t);
double GloClock(const GloEph& eph, int leapSeconds, double t);

using vnx::Geodetic;
using vnx::ToGeodetic;

struct LookAngles {
  double elevation = 0, azimuth = 0;  // radians; azimuth 0..2 pi from north through east
  double range = 0;                   // metres
  Vec3 unit{};                        // station to satellite, ECEF
};
LookAngles Look(const Vec3& station, const Geodetic& geo, const Vec3& sat);

// Broadcast (Klobuchar) L1 ionospheric delay in seconds.
double KlobucharDelay(const std::array<double, 4>& alpha, const std::array<double, 4>& beta,
                      const Geodetic& geo, double elevation, double azimuth, double gpsTime);
// Slant tropospheric delay in metres at elevation `elevation` (radians).
double TroposphereDelay(double elevation);

}  // namespace vnx::synth
