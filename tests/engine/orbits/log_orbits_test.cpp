// The orbits the quality analysis takes from a log's ephemeris records put the satellites where
// the navigation files the log was made from put them.
#include "engine/orbits/log_orbits.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/quality/quality_analysis.h"
#include "engine/time/gps_time.h"
#include "support/scan_fixture.h"
#include "tools/synth/real_data.h"
#include "tools/synth/sky.h"

namespace vnx {
namespace {

class LogOrbitsTest : public test::ScanFixture {};

TEST_F(LogOrbitsTest, RecordsOfTheLogMatchTheNavigationFiles) {
  auto set = synth::test::Opec();
  ASSERT_TRUE(ScanLog(synth::test::MakeLog(set, synth::SynthOptions{})));
  const QualitySource src = QualitySourceOf(session.Result());
  LogOrbits orbits(src.ephemerides, 18);
  synth::Sky sky(set.nav, 18);
  const double start = set.obs.epochs.front().time, end = set.obs.epochs.back().time;
  int gps = 0, glonass = 0;
  for (double t = start; t <= end; t += 600) {
    orbits.Advance(t);
    for (const auto& [system, number] : orbits.Known()) {
      Vec3 pos;
      if (!orbits.Position(system, number, t, pos)) continue;
      SatState s;
      const synth::SatId id{system, number};
      ASSERT_TRUE(sky.Position(id, t, s));
      const double d = std::hypot(pos[0] - s.pos[0], pos[1] - s.pos[1], pos[2] - s.pos[2]);
      // GPS records hand over to one another within metres; a GLONASS state integrated from
      // the neighbouring reference time lands within a few hundred.
      EXPECT_LT(d, system == SatSystem::Glonass ? 300.0 : 10.0) << id.Name() << " at " << t - start;
      ++(system == SatSystem::Glonass ? glonass : gps);
    }
  }
  EXPECT_GT(gps, 150);
  EXPECT_GT(glonass, 100);
  // Past its validity a record gives no position.
  Vec3 pos;
  orbits.Advance(end + 5 * 3600);
  EXPECT_FALSE(orbits.Position(SatSystem::Gps, orbits.Known().front().second, end + 5 * 3600, pos));
}

// The record fields in their stored units: angles in semi-circles, toc a time of week placed in
// the week of the normalised toe (nearer side), GLONASS clock as -tau.
TEST(OrbitOfRecords, UnitsAndReferenceTimes) {
  EphemGPSRec gps{};
  gps.time = TimeRecFromTime(TGPSTime(2 * 604800 + 604000));  // toe late in week 2
  gps.body.k.toc = 400;                                       // early in the week: the next week's
  gps.body.k.m0 = 0.5;
  gps.body.k.deln = 1e-9f;
  gps.body.k.rootA = 5153.7;
  const KeplerOrbit k = OrbitOfGps(gps);
  EXPECT_EQ(k.toe, 2 * 604800 + 604000);
  EXPECT_EQ(k.toc, 3 * 604800 + 400);
  EXPECT_DOUBLE_EQ(k.m0, 0.5 * kGpsPi);
  EXPECT_DOUBLE_EQ(k.deltaN, static_cast<double>(1e-9f) * kGpsPi);
  EXPECT_EQ(k.gm, kGpsGm);
  EXPECT_EQ(OrbitOfGalileo(EphemGALRec{}).gm, kGalileoGm);
  EphemGLORec glo{};
  glo.body.tau = 2e-5f;
  glo.body.r[0] = 12000.5;
  EXPECT_NEAR(OrbitOfGlonass(glo).clockBias, -2e-5, 1e-12);
  EXPECT_EQ(OrbitOfGlonass(glo).pos[0], 12000.5);
  // SBAS: position, velocity and acceleration carried to t0 + 10 s.
  SbasOrbit sbas;
  sbas.t0 = 100;
  sbas.pos = {1, 2, 3};
  sbas.vel = {10, 0, 0};
  sbas.acc = {0, 2, 0};
  const SatState s = SbasPosition(sbas, 110);
  EXPECT_EQ(s.pos, (Vec3{101, 102, 3}));
}

}  // namespace
}  // namespace vnx
