#include "engine/orbits/geodesy.h"

#include <cmath>

namespace vnx {

Geodetic ToGeodetic(const Vec3& p) {
  // Iterated in a form that stays finite on the polar axis, where the distance from the axis
  // is zero and the usual height formula divides by the cosine of the latitude.
  const double rho = std::hypot(p[0], p[1]);
  Geodetic g;
  g.lon = std::atan2(p[1], p[0]);
  double lat = std::atan2(p[2], rho * (1 - kWgsE2));
  double n = kWgsA;
  for (int i = 0; i < 10; ++i) {
    const double sl = std::sin(lat);
    n = kWgsA / std::sqrt(1 - kWgsE2 * sl * sl);
    lat = std::atan2(p[2] + kWgsE2 * n * sl, rho);
  }
  const double sl = std::sin(lat), cl = std::cos(lat);
  n = kWgsA / std::sqrt(1 - kWgsE2 * sl * sl);
  g.lat = lat;
  g.height = rho * cl + (p[2] + kWgsE2 * n * sl) * sl - n;
  return g;
}

Vec3 FromGeodetic(const Geodetic& g) {
  const double sl = std::sin(g.lat), cl = std::cos(g.lat);
  const double n = kWgsA / std::sqrt(1 - kWgsE2 * sl * sl);
  return {(n + g.height) * cl * std::cos(g.lon), (n + g.height) * cl * std::sin(g.lon),
          (n * (1 - kWgsE2) + g.height) * sl};
}

Vec3 EnuToEcef(const Geodetic& geo, const Vec3& enu) {
  const double sl = std::sin(geo.lat), cl = std::cos(geo.lat);
  const double so = std::sin(geo.lon), co = std::cos(geo.lon);
  return {-so * enu[0] - sl * co * enu[1] + cl * co * enu[2],
          co * enu[0] - sl * so * enu[1] + cl * so * enu[2], cl * enu[1] + sl * enu[2]};
}

Vec3 EcefToEnu(const Geodetic& geo, const Vec3& d) {
  const double sl = std::sin(geo.lat), cl = std::cos(geo.lat);
  const double so = std::sin(geo.lon), co = std::cos(geo.lon);
  return {-so * d[0] + co * d[1], -sl * co * d[0] - sl * so * d[1] + cl * d[2],
          cl * co * d[0] + cl * so * d[1] + sl * d[2]};
}

}  // namespace vnx
