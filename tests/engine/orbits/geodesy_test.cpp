// WGS-84 conversions against published values: the equator and pole points of the ellipsoid's
// defining and derived constants, a point of the geodesy library documentation, round trips,
// and the local east/north/up axes.
#include "engine/orbits/geodesy.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vnx {
namespace {

struct Published {
  double latDeg, lonDeg, height;
  Vec3 xyz;
};

// Semi-minor axis b = 6356752.3142 m; 33.3 N 44.4 E 6000 m as the conversion tool of a
// published geodesy library prints it.
const Published kPoints[] = {
    {0, 0, 0, {6378137.0, 0, 0}},
    {0, 90, 0, {0, 6378137.0, 0}},
    {90, 0, 0, {0, 0, 6356752.3142}},
    {-90, 0, 100, {0, 0, -6356852.3142}},
    {33.3, 44.4, 6000, {3816209.60347, 3737108.55323, 3485109.57273}},
};

TEST(GeodesyTest, ConvertsPublishedPointsBothWays) {
  for (const Published& p : kPoints) {
    const Vec3 xyz = FromGeodetic({p.latDeg * kDegree, p.lonDeg * kDegree, p.height});
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(xyz[k], p.xyz[k], 0.005) << p.latDeg << " " << k;
    const Geodetic g = ToGeodetic(p.xyz);
    EXPECT_NEAR(g.lat / kDegree, p.latDeg, 1e-7);  // about a centimetre
    if (std::fabs(p.latDeg) < 90) {
      EXPECT_NEAR(g.lon / kDegree, p.lonDeg, 1e-7);
    }
    EXPECT_NEAR(g.height, p.height, 0.005);
  }
}

TEST(GeodesyTest, LocalAxesPointEastNorthAndUp) {
  // At 0 N 0 E, east is +Y, north +Z, up +X; at the north pole, up is +Z.
  const Geodetic origin{0, 0, 0};
  const Vec3 east = EcefToEnu(origin, {0, 1, 0}), north = EcefToEnu(origin, {0, 0, 1}),
             up = EcefToEnu(origin, {1, 0, 0});
  EXPECT_NEAR(east[0], 1, 1e-12);
  EXPECT_NEAR(north[1], 1, 1e-12);
  EXPECT_NEAR(up[2], 1, 1e-12);
  EXPECT_NEAR(EcefToEnu({90 * kDegree, 0, 0}, {0, 0, 1})[2], 1, 1e-12);
  // The two rotations undo each other anywhere.
  const Geodetic g{48.1 * kDegree, 11.6 * kDegree, 520};
  const Vec3 v = EnuToEcef(g, EcefToEnu(g, {3, -4, 12}));
  EXPECT_NEAR(v[0], 3, 1e-9);
  EXPECT_NEAR(v[1], -4, 1e-9);
  EXPECT_NEAR(v[2], 12, 1e-9);
}

}  // namespace
}  // namespace vnx
