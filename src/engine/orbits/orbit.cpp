#include "engine/orbits/orbit.h"

#include <cmath>

namespace vnx {
namespace {

constexpr double kSecondsOfWeek = 604800.0;
constexpr double kSecondsOfDay = 86400.0;
constexpr double kRelativityF = -4.442807633e-10;

// PZ-90 constants of the GLONASS interface document (km, s).
constexpr double kGloMu = 398600.4418;
constexpr double kGloAe = 6378.136;
constexpr double kGloJ2 = 1082625.75e-9;
constexpr double kGloOmega = 7.292115e-5;

double EccentricAnomaly(double m, double ecc) {
  double e = m;
  for (int i = 0; i < 12; ++i) {
    double step = (e - ecc * std::sin(e) - m) / (1.0 - ecc * std::cos(e));
    e -= step;
    if (std::fabs(step) < 1e-14) break;
  }
  return e;
}

struct GloDerivative {
  Vec3 dpos, dvel;
};

GloDerivative GloEquations(const Vec3& p, const Vec3& v, const Vec3& acc) {
  double r2 = p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
  double r = std::sqrt(r2);
  double mu = kGloMu / (r2 * r);
  double j2 = 1.5 * kGloJ2 * kGloMu * kGloAe * kGloAe / (r2 * r2 * r);
  double z2 = 5.0 * p[2] * p[2] / r2;
  double w2 = kGloOmega * kGloOmega;
  GloDerivative d;
  d.dpos = v;
  d.dvel[0] = -mu * p[0] - j2 * p[0] * (1.0 - z2) + w2 * p[0] + 2 * kGloOmega * v[1] + acc[0];
  d.dvel[1] = -mu * p[1] - j2 * p[1] * (1.0 - z2) + w2 * p[1] - 2 * kGloOmega * v[0] + acc[1];
  d.dvel[2] = -mu * p[2] - j2 * p[2] * (3.0 - z2) + acc[2];
  return d;
}

void GloStep(const Vec3& acc, GloOrbitState& s, double h) {
  auto shifted = [](const Vec3& a, const Vec3& d, double k) {
    return Vec3{a[0] + d[0] * k, a[1] + d[1] * k, a[2] + d[2] * k};
  };
  GloDerivative k1 = GloEquations(s.pos, s.vel, acc);
  GloDerivative k2 =
      GloEquations(shifted(s.pos, k1.dpos, h / 2), shifted(s.vel, k1.dvel, h / 2), acc);
  GloDerivative k3 =
      GloEquations(shifted(s.pos, k2.dpos, h / 2), shifted(s.vel, k2.dvel, h / 2), acc);
  GloDerivative k4 = GloEquations(shifted(s.pos, k3.dpos, h), shifted(s.vel, k3.dvel, h), acc);
  for (int i = 0; i < 3; ++i) {
    s.pos[i] += h / 6 * (k1.dpos[i] + 2 * k2.dpos[i] + 2 * k3.dpos[i] + k4.dpos[i]);
    s.vel[i] += h / 6 * (k1.dvel[i] + 2 * k2.dvel[i] + 2 * k3.dvel[i] + k4.dvel[i]);
  }
  s.t += h;
}

}  // namespace

SatState KeplerPosition(const KeplerOrbit& eph, double t) {
  double mu = eph.gm;
  double a = eph.sqrtA * eph.sqrtA;
  double n = std::sqrt(mu / (a * a * a)) + eph.deltaN;
  double tk = t - eph.toe;
  double e = EccentricAnomaly(eph.m0 + n * tk, eph.ecc);
  double nu = std::atan2(std::sqrt(1 - eph.ecc * eph.ecc) * std::sin(e), std::cos(e) - eph.ecc);
  double phi = nu + eph.omega;
  double s2 = std::sin(2 * phi), c2 = std::cos(2 * phi);
  double u = phi + eph.cus * s2 + eph.cuc * c2;
  double r = a * (1 - eph.ecc * std::cos(e)) + eph.crs * s2 + eph.crc * c2;
  double i = eph.i0 + eph.cis * s2 + eph.cic * c2 + eph.idot * tk;
  double toeOfWeek = std::fmod(eph.toe, kSecondsOfWeek);
  double omega =
      eph.omega0 + (eph.omegaDot - kEarthRotationRate) * tk - kEarthRotationRate * toeOfWeek;
  double xp = r * std::cos(u), yp = r * std::sin(u);
  SatState s;
  s.pos = {xp * std::cos(omega) - yp * std::cos(i) * std::sin(omega),
           xp * std::sin(omega) + yp * std::cos(i) * std::cos(omega), yp * std::sin(i)};
  double dt = t - eph.toc;
  s.clock =
      eph.af0 + eph.af1 * dt + eph.af2 * dt * dt + kRelativityF * eph.ecc * eph.sqrtA * std::sin(e);
  return s;
}

GloOrbitState GloInitialState(const GloOrbit& eph, int leapSeconds) {
  return {eph.tocUtc + leapSeconds, eph.pos, eph.vel};
}

GloOrbitState GloPropagate(const GloOrbit& eph, GloOrbitState state, double t) {
  while (std::fabs(t - state.t) > 1e-9) {
    double h = t - state.t;
    if (h > 30) h = 30;
    if (h < -30) h = -30;
    GloStep(eph.acc, state, h);
  }
  return state;
}

double GloClock(const GloOrbit& eph, int leapSeconds, double t) {
  return eph.clockBias + eph.gammaN * (t - (eph.tocUtc + leapSeconds));
}

SatState SbasPosition(const SbasOrbit& eph, double t) {
  double dt = t - eph.t0;
  SatState s;
  for (int i = 0; i < 3; ++i) s.pos[i] = eph.pos[i] + eph.vel[i] * dt + 0.5 * eph.acc[i] * dt * dt;
  s.clock = eph.af0 + eph.af1 * dt;
  return s;
}

LookAngles Look(const Vec3& station, const Geodetic& geo, const Vec3& sat) {
  Vec3 d{sat[0] - station[0], sat[1] - station[1], sat[2] - station[2]};
  double range = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  double sl = std::sin(geo.lat), cl = std::cos(geo.lat);
  double so = std::sin(geo.lon), co = std::cos(geo.lon);
  double east = -so * d[0] + co * d[1];
  double north = -sl * co * d[0] - sl * so * d[1] + cl * d[2];
  double up = cl * co * d[0] + cl * so * d[1] + sl * d[2];
  LookAngles a;
  a.range = range;
  a.elevation = std::asin(up / range);
  a.azimuth = std::atan2(east, north);
  if (a.azimuth < 0) a.azimuth += 2 * 3.14159265358979323846;
  a.unit = {d[0] / range, d[1] / range, d[2] / range};
  return a;
}

double KlobucharDelay(const std::array<double, 4>& alpha, const std::array<double, 4>& beta,
                      const Geodetic& geo, double elevation, double azimuth, double gpsTime) {
  double el = elevation / kGpsPi;  // semi-circles
  double psi = 0.0137 / (el + 0.11) - 0.022;
  double phiU = geo.lat / kGpsPi, lamU = geo.lon / kGpsPi;
  double phiI = phiU + psi * std::cos(azimuth);
  if (phiI > 0.416) phiI = 0.416;
  if (phiI < -0.416) phiI = -0.416;
  double lamI = lamU + psi * std::sin(azimuth) / std::cos(phiI * kGpsPi);
  double phiM = phiI + 0.064 * std::cos((lamI - 1.617) * kGpsPi);
  double t = std::fmod(43200.0 * lamI + gpsTime, kSecondsOfDay);
  if (t < 0) t += kSecondsOfDay;
  double f = 1.0 + 16.0 * std::pow(0.53 - el, 3);
  double amp = alpha[0] + phiM * (alpha[1] + phiM * (alpha[2] + phiM * alpha[3]));
  double per = beta[0] + phiM * (beta[1] + phiM * (beta[2] + phiM * beta[3]));
  if (amp < 0) amp = 0;
  if (per < 72000) per = 72000;
  double x = 2 * kGpsPi * (t - 50400.0) / per;
  if (std::fabs(x) >= 1.57) return f * 5e-9;
  return f * (5e-9 + amp * (1 - x * x / 2 + x * x * x * x / 24));
}

double TroposphereDelay(double elevation) {
  double s = std::sin(elevation);
  return 2.4 * 1.001 / std::sqrt(0.002001 + s * s);
}

}  // namespace vnx
