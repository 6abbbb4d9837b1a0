#pragma once
// The WGS-84 ellipsoid: Earth-centred Earth-fixed coordinates to latitude, longitude and height
// and back, and local east/north/up vectors at a point. Used by the log generator for station
// geometry and by the position views for deviations from a reference.
#include <array>

namespace vnx {

using Vec3 = std::array<double, 3>;

inline constexpr double kWgsA = 6378137.0;             // semi-major axis, m
inline constexpr double kWgsF = 1.0 / 298.257223563;   // flattening
inline constexpr double kWgsE2 = kWgsF * (2 - kWgsF);  // first eccentricity squared

struct Geodetic {
  double lat = 0, lon = 0, height = 0;  // radians, metres (WGS-84)
};

Geodetic ToGeodetic(const Vec3& ecef);
Vec3 FromGeodetic(const Geodetic& geo);

// East, north, up vector at `geo` turned into ECEF axes, and an ECEF vector into east, north, up.
Vec3 EnuToEcef(const Geodetic& geo, const Vec3& enu);
Vec3 EcefToEnu(const Geodetic& geo, const Vec3& ecef);

inline constexpr double kDegree = 3.14159265358979323846 / 180;

}  // namespace vnx
