#include "tools/synth/sky.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/synth/platform.h"
#include "tools/synth/real_data.h"

namespace vnx::synth {
namespace {

double Distance(const Vec3& a, const Vec3& b) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                   (a[2] - b[2]) * (a[2] - b[2]));
}

TEST(Sky, CarriedOnGpsRecordsKeepTheOrbit) {
  NavData nav = ReadNavFile(test::RealFile(test::kOpecGpsNav));
  const KeplerEph& e = nav.kepler.front();
  // Moved two days on along its orbit: the same place and clock at any time.
  KeplerEph later = ShiftKepler(e, 2 * 86400, false);
  double t = e.toe + 2 * 86400 + 3000;
  EXPECT_LT(Distance(KeplerPosition(e, t).pos, KeplerPosition(later, t).pos), 0.01);
  EXPECT_NEAR(KeplerPosition(e, t).clock, KeplerPosition(later, t).clock, 1e-12);
  // Relabelled five days later (another week): the same ECEF track, five days on.
  KeplerEph moved = ShiftKepler(e, 5 * 86400, true);
  double u = e.toe + 1234;
  EXPECT_LT(Distance(KeplerPosition(e, u).pos, KeplerPosition(moved, u + 5 * 86400).pos), 0.01);
}

TEST(Platform, DopsOfFourSatellitesAroundTheZenith) {
  std::vector<SatEpoch> sats(4);
  const double el[] = {90, 30, 30, 30}, az[] = {0, 0, 120, 240};
  for (int i = 0; i < 4; ++i) {
    sats[i].hasAngles = true;
    sats[i].elevation = el[i];
    sats[i].azimuth = az[i];
  }
  Dops d;
  ASSERT_TRUE(ComputeDops(sats, d));
  // Worked out by hand from the normal matrix: east and north 9/8 each, up/clock block
  // [[7/4, -5/2], [-5/2, 4]] with determinant 3/4.
  EXPECT_NEAR(d.hdop, std::sqrt(16.0 / 9.0), 1e-9);
  EXPECT_NEAR(d.vdop, std::sqrt(16.0 / 3.0), 1e-9);
  EXPECT_NEAR(d.tdop, std::sqrt(7.0 / 3.0), 1e-9);
  sats.pop_back();
  EXPECT_FALSE(ComputeDops(sats, d));
}

}  // namespace
}  // namespace vnx::synth
