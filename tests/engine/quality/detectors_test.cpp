#include "engine/quality/detectors.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/quality/dual_frequency.h"

namespace vnx {
namespace {

constexpr double kLambda1 = 299792458.0 / 1575.42e6;  // 0.190293673 m
constexpr double kLambda2 = 299792458.0 / 1227.60e6;  // 0.244210213 m

// An arc of ten points at a multipath offset of 5 m with noise +-0.1, +-0.2, +-0.3, 0, 0,
// +-0.1: the mean goes, the squares add to 0.30, RMS = sqrt(0.30 / 10).
TEST(Detectors, ArcRmsRemovesTheArcMean) {
  const double noise[] = {0.1, -0.1, 0.2, -0.2, 0.3, -0.3, 0, 0, 0.1, -0.1};
  ArcSums arc;
  for (int i = 0; i < 10; ++i) arc.Add(5.0 + noise[i], i < 4 ? 2 : 7);
  EXPECT_NEAR(arc.Mean(), 5.0, 1e-12);
  EXPECT_EQ(arc.Total().count, 10);
  EXPECT_NEAR(*arc.Total().Rms(), std::sqrt(0.30 / 10), 1e-12);
  // Bins keep the arc's mean: the first four points (0.01 + 0.01 + 0.04 + 0.04).
  EXPECT_NEAR(arc.Bin(2).sum, 0.10, 1e-12);
  EXPECT_NEAR(arc.Bin(7).sum, 0.20, 1e-12);
  EXPECT_EQ(arc.Bin(3).count, 0);
  SquareSum both = arc.Total();
  both.Add(arc.Total());
  EXPECT_NEAR(*both.Rms(), std::sqrt(0.30 / 10), 1e-12);
  EXPECT_FALSE(SquareSum{}.Rms());
}

TEST(Detectors, SlipThresholds) {
  struct Case {
    double gf, mw;
    bool geometryFree, wideLane;
  } cases[] = {
      {0.149, 3.99, false, false}, {0.151, 0, true, false}, {-0.151, 0, true, false},
      {0, 4.01, false, true},      {0, -4.01, false, true}, {0.2, 5, true, true},
  };
  for (const Case& c : cases) {
    const SlipTest t = TestSlip(10.0, 10.0 + c.gf, -3.0, -3.0 + c.mw);
    EXPECT_EQ(t.geometryFree, c.geometryFree) << c.gf;
    EXPECT_EQ(t.wideLane, c.wideLane) << c.mw;
  }
}

TEST(Detectors, ClockJumpNeedsOneWholeMillisecondOnEverySatellite) {
  const double ms = kMillisecondOfLight;
  struct Case {
    std::vector<double> steps;
    std::optional<int> k;
  } cases[] = {
      {{ms + 3, ms - 12, ms + 400}, 1},
      {{-2 * ms + 900, -2 * ms - 900}, -2},
      {{ms + 1001, ms}, std::nullopt},  // one beyond a kilometre
      {{ms, 2 * ms}, std::nullopt},     // not together
      {{ms}, std::nullopt},             // a single satellite proves nothing
      {{12, -30, 5}, std::nullopt},     // no jump
  };
  for (const Case& c : cases) EXPECT_EQ(TestClockJump(c.steps), c.k);
}

TEST(Detectors, ElevationBinsAndMeans) {
  EXPECT_EQ(ElevationBin(-3, 5), 0);
  EXPECT_EQ(ElevationBin(9.99, 5), 1);
  EXPECT_EQ(ElevationBin(10, 10), 1);
  EXPECT_EQ(ElevationBin(90, 10), 8);
  MeanStd m;
  for (double v : {40.0, 42.0, 44.0, 46.0}) m.Add(v);
  EXPECT_DOUBLE_EQ(*m.Mean(), 43.0);
  EXPECT_NEAR(*m.Std(), std::sqrt(5.0), 1e-9);
  EXPECT_FALSE(MeanStd{}.Mean());
}

SvRec GpsRecord(double range, double codeError1, double codeError2) {
  SvRec sv{};
  sv.number = 5;
  sv.system = 1;
  sv.sig[0].present[kRange] = sv.sig[0].present[kPhase] = 1;
  sv.sig[2].present[kRange] = sv.sig[2].present[kPhase] = 1;
  sv.sig[0].range = range + codeError1;
  sv.sig[2].range = range + codeError2;
  sv.sig[0].phase = range / kLambda1;
  sv.sig[2].phase = range / kLambda2;
  return sv;
}

// With phases that follow the range exactly, the multipath combinations leave each code's own
// error: MP1 = PR1 - range, MP2 = P2 - range.
TEST(DualFrequency, MultipathLeavesTheCodeErrors) {
  const auto d = DualFrequencyOf(GpsRecord(21e6, 0.7, -0.3));
  ASSERT_TRUE(d);
  EXPECT_EQ(d->pair, FrequencyPair::L1L2);
  const DualFrequencyValues v = ValuesOf(*d);
  EXPECT_NEAR(v.mp1, 0.7, 1e-6);
  EXPECT_NEAR(v.mp2, -0.3, 1e-6);
  EXPECT_NEAR(v.geometryFree, 0, 1e-6);
}

// Slips of (n1, n2) cycles move the geometry-free phase by n1 l1 - n2 l2 and the
// Melbourne-Wuebbena combination by n1 - n2 wide-lane cycles: (3, 0) is seen by the first test
// (0.571 m), (22, 17) only by the second (0.035 m, 5 cycles).
TEST(DualFrequency, SlipsMoveTheCombinationsByHandValues) {
  struct Case {
    int n1, n2;
    double gf, mw;
  } cases[] = {{3, 0, 3 * kLambda1, 3}, {22, 17, 22 * kLambda1 - 17 * kLambda2, 5}};
  for (const Case& c : cases) {
    SvRec sv = GpsRecord(21e6, 0.4, 0.2);
    const DualFrequencyValues before = ValuesOf(*DualFrequencyOf(sv));
    sv.sig[0].phase += c.n1;
    sv.sig[2].phase += c.n2;
    const DualFrequencyValues after = ValuesOf(*DualFrequencyOf(sv));
    EXPECT_NEAR(after.geometryFree - before.geometryFree, c.gf, 1e-6);
    EXPECT_NEAR(after.melbourneWuebbena - before.melbourneWuebbena, c.mw, 1e-6);
    const SlipTest t = TestSlip(before.geometryFree, after.geometryFree, before.melbourneWuebbena,
                                after.melbourneWuebbena);
    EXPECT_EQ(t.geometryFree, c.n1 == 3);
    EXPECT_TRUE(t.wideLane || c.n1 == 3);
  }
}

TEST(DualFrequency, GalileoTakesTheL1L5Pair) {
  SvRec sv{};
  sv.system = 4;
  sv.number = 75;
  sv.sig[0].present[kRange] = sv.sig[0].present[kPhase] = 1;
  sv.sig[4].present[kRange] = sv.sig[4].present[kPhase] = 1;
  const double lambda5 = 299792458.0 / kL5Hz;
  sv.sig[0].range = 23e6 + 0.5;
  sv.sig[4].range = 23e6 - 0.25;
  sv.sig[0].phase = 23e6 / kLambda1;
  sv.sig[4].phase = 23e6 / lambda5;
  const auto d = DualFrequencyOf(sv);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->pair, FrequencyPair::L1L5);
  EXPECT_NEAR(ValuesOf(*d).mp1, 0.5, 1e-6);
  EXPECT_NEAR(ValuesOf(*d).mp2, -0.25, 1e-6);
  sv.sig[4].present[kPhase] = 0;
  EXPECT_FALSE(DualFrequencyOf(sv));
  EXPECT_FALSE(GpsL5PairOf(sv));  // Galileo's L5 is in its own pair
}

// A GPS record with L5 keeps L1-L2 as its pair and gives the L5 code's multipath apart.
TEST(DualFrequency, GpsL5GivesTheL5CodeMultipath) {
  SvRec sv = GpsRecord(21e6, 0.7, -0.3);
  sv.sig[4].present[kRange] = sv.sig[4].present[kPhase] = 1;
  sv.sig[4].range = 21e6 + 0.45;
  sv.sig[4].phase = 21e6 / (299792458.0 / kL5Hz);
  EXPECT_EQ(DualFrequencyOf(sv)->pair, FrequencyPair::L1L2);
  const auto l5 = GpsL5PairOf(sv);
  ASSERT_TRUE(l5);
  EXPECT_NEAR(ValuesOf(*l5).mp1, 0.7, 1e-6);
  EXPECT_NEAR(ValuesOf(*l5).mp2, 0.45, 1e-6);
}

}  // namespace
}  // namespace vnx
