#pragma once
// Satellite positions from broadcast ephemerides and the station geometry: GPS and Galileo
// Keplerian orbits as the public GPS interface document IS-GPS-200 gives them, GLONASS by
// Runge-Kutta integration of the broadcast state vector in PZ-90, SBAS from its broadcast
// state, elevation and azimuth, and the broadcast ionosphere and a simple troposphere.
#include <array>

#include "engine/orbits/geodesy.h"

namespace vnx {

inline constexpr double kGpsPi = 3.1415926535898;  // the value the GPS orbit algorithm prescribes
inline constexpr double kEarthRotationRate = 7.2921151467e-5;  // rad/s, WGS-84
inline constexpr double kGpsGm = 3.986005e14;                  // m^3/s^2, as GPS broadcasts use it
inline constexpr double kGalileoGm = 3.986004418e14;           // m^3/s^2, as Galileo uses it

// Broadcast orbit and clock of a GPS or Galileo satellite. Angles in radians, times in GPS
// seconds since 1980-01-06 (week and time of week joined).
struct KeplerOrbit {
  double gm = kGpsGm;  // the gravitational constant of the system's orbit algorithm
  double toc = 0;
  double af0 = 0, af1 = 0, af2 = 0;
  double crs = 0, deltaN = 0, m0 = 0;
  double cuc = 0, ecc = 0, cus = 0, sqrtA = 0;
  double toe = 0;
  double cic = 0, omega0 = 0, cis = 0;
  double i0 = 0, crc = 0, omega = 0, omegaDot = 0;
  double idot = 0;
};

struct SatState {
  Vec3 pos{};        // ECEF, metres
  double clock = 0;  // satellite clock offset, seconds (relativistic term included)
};

// Position at GPS time `t` (seconds) in the ECEF frame of that instant.
SatState KeplerPosition(const KeplerOrbit& eph, double t);

// Broadcast state vector of a GLONASS satellite in PZ-90: km, km/s, km/s^2.
struct GloOrbit {
  double tocUtc = 0;     // the reference time tb on the UTC scale, counted like GPS seconds
  double clockBias = 0;  // -TauN, seconds
  double gammaN = 0;
  Vec3 pos{}, vel{}, acc{};
};

// A GLONASS state in PZ-90: km and km/s, at `t` GPS seconds.
struct GloOrbitState {
  double t = 0;
  Vec3 pos{}, vel{};
};

// The broadcast state of `eph` at its reference time; `leapSeconds` turns its UTC reference
// into GPS time.
GloOrbitState GloInitialState(const GloOrbit& eph, int leapSeconds);
// Integrates `state` to `t` (forwards or backwards) with steps of at most 30 s, using the
// luni-solar accelerations of `eph`.
GloOrbitState GloPropagate(const GloOrbit& eph, GloOrbitState state, double t);
double GloClock(const GloOrbit& eph, int leapSeconds, double t);

// Broadcast state of an SBAS satellite in ECEF: m, m/s, m/s^2 at `t0` GPS seconds.
struct SbasOrbit {
  double t0 = 0;
  Vec3 pos{}, vel{}, acc{};
  double af0 = 0, af1 = 0;
};
SatState SbasPosition(const SbasOrbit& eph, double t);

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

}  // namespace vnx
