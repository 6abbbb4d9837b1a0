// The dual-frequency combinations of one satellite against values worked out by hand.
#include "engine/views/combinations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/views/record_files.h"

namespace vnx::test {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;

constexpr uint8_t kGps = 1, kGlo = 2, kSbas = 3, kGal = 4;
constexpr int kCaL1 = 0, kPL1 = 1, kPL2 = 2;

void SetRange(SvRec& sv, int signal, double metres) {
  sv.sig[signal].present[kRange] = 1;
  sv.sig[signal].range = metres;
}
void SetPhase(SvRec& sv, int signal, double cycles) {
  sv.sig[signal].present[kPhase] = 1;
  sv.sig[signal].phase = cycles;
}

// C/A code, P2 code, C/A phase and L2 phase.
void FourObservables(SvRec& sv, double pr1, double p2, double phi1, double phi2) {
  SetRange(sv, kCaL1, pr1);
  SetRange(sv, kPL2, p2);
  SetPhase(sv, kCaL1, phi1);
  SetPhase(sv, kPL2, phi2);
}

std::vector<double> Values(const RecordFiles& f, SelectedSatellite sat, Combination c) {
  return DrawCombinationChart(f.Source(), sat, c).values.y;
}

// GPS PRN 3: PR1 = 20 000 000.0 m, P2 = 20 000 003.5 m, phi1 = 105 100 741.25 cycles,
// phi2 = 81 896 702.5 cycles.
//   lambda1 = 299 792 458 / 1 575 420 000 = 0.190 293 672 798 m
//   lambda2 = 299 792 458 / 1 227 600 000 = 0.244 210 213 425 m
//   PHI1 = lambda1 * phi1 = 20 000 006.066 293 m, PHI2 = lambda2 * phi2 = 20 000 011.196 293 m
//   r = (1575.42 / 1227.6)^2 = (154 / 120)^2 = 1.646 944 444, u = 1 / (1 - r) = -1.545 727 780
//   item 0: 20 000 000.0 - 20 000 003.5 = -3.5 m
//   item 1: 105 100 741.25 - (154 / 120) * 81 896 702.5 = 105 100 741.25 - 105 100 768.208 333
//           = -26.958 333 cycles
//   item 2: PR1 + (2u - 1) PHI1 - 2u PHI2 = 20 000 000 - 4.091 455 560 * PHI1
//           + 3.091 455 560 * PHI2 = 9.792 875 m
//   item 3: P2 + 2ru PHI1 - (2ru + 1) PHI2 = 20 000 003.5 - 5.091 455 560 * PHI1
//           + 4.091 455 560 * PHI2 = 18.422 875 m
TEST(CombinationsTest, GpsSatelliteAgainstHandValues) {
  RecordFiles files;
  files.AddEpoch();
  FourObservables(files.AddSat(3, kGps), 20000000.0, 20000003.5, 105100741.25, 81896702.5);
  files.Write();
  const SelectedSatellite sat{SatSystem::Gps, 3};
  EXPECT_THAT(Values(files, sat, Combination::kCodeGeometryFree), ElementsAre(-3.5));
  EXPECT_THAT(Values(files, sat, Combination::kPhaseGeometryFree),
              ElementsAre(DoubleNear(-26.958333333, 1e-6)));
  EXPECT_THAT(Values(files, sat, Combination::kMultipathP1),
              ElementsAre(DoubleNear(9.792874725, 1e-5)));
  EXPECT_THAT(Values(files, sat, Combination::kMultipathP2),
              ElementsAre(DoubleNear(18.422874988, 1e-5)));
}

// GLONASS slot 9 on channel -7 (stored as 249): f1 = 2841 * 0.5625 MHz = 1598.0625 MHz,
// f2 = 2841 * 0.4375 MHz = 1242.9375 MHz, f1 / f2 = 9 / 7, r = 81 / 49, u = -49 / 32,
// 2u - 1 = -4.0625, 2ru = -5.0625.
// PR1 = 21 000 000.25 m, P2 = 21 000 004.75 m, phi1 = 111 941 818.5, phi2 = 87 065 877.5 cycles.
//   lambda1 = 0.187 597 455 043 m, lambda2 = 0.241 196 727 913 m
//   PHI1 = 21 000 000.263 510 m, PHI2 = 21 000 004.765 849 m
//   item 0: -4.5 m
//   item 1: 111 941 818.5 - 9/7 * 87 065 877.5 = 111 941 818.5 - 111 941 842.5 = -24 cycles
//   item 2: 21 000 000.25 - 4.0625 * PHI1 + 3.0625 * PHI2 = 13.774 903 m
//   item 3: 21 000 004.75 - 5.0625 * PHI1 + 4.0625 * PHI2 = 22.777 242 m
// On channel 0 the same values would give 51 628.910 m for item 2: the channel matters.
TEST(CombinationsTest, GlonassSatelliteOnChannelMinusSeven) {
  RecordFiles files;
  files.AddEpoch();
  SvRec& sv = files.AddSat(9, kGlo);
  FourObservables(sv, 21000000.25, 21000004.75, 111941818.5, 87065877.5);
  sv.channel = 249;
  files.Write();
  const SelectedSatellite sat{SatSystem::Glonass, 9};
  EXPECT_THAT(Values(files, sat, Combination::kCodeGeometryFree), ElementsAre(-4.5));
  EXPECT_THAT(Values(files, sat, Combination::kPhaseGeometryFree),
              ElementsAre(DoubleNear(-24.0, 1e-6)));
  EXPECT_THAT(Values(files, sat, Combination::kMultipathP1),
              ElementsAre(DoubleNear(13.774903306, 1e-5)));
  EXPECT_THAT(Values(files, sat, Combination::kMultipathP2),
              ElementsAre(DoubleNear(22.777242227, 1e-5)));
}

TEST(CombinationsTest, GlonassCarriersFollowTheSignedChannel) {
  EXPECT_EQ(SignedChannel(249), -7);
  EXPECT_EQ(SignedChannel(255), -1);
  EXPECT_EQ(SignedChannel(6), 6);
  EXPECT_EQ(SignedChannel(0x1F9), -7);  // only the low byte counts
  EXPECT_DOUBLE_EQ(GlonassCarriers(-7).f1, 1598.0625e6);
  EXPECT_DOUBLE_EQ(GlonassCarriers(-7).f2, 1242.9375e6);
  EXPECT_DOUBLE_EQ(GlonassCarriers(0).f1, 1602e6);
  EXPECT_DOUBLE_EQ(GlonassCarriers(0).f2, 1246e6);
  SvRec sv{};
  sv.system = kGlo;
  sv.channel = 249;
  ASSERT_TRUE(CarriersOf(sv));
  EXPECT_DOUBLE_EQ(CarriersOf(sv)->f1, 1598.0625e6);
  sv.system = kGal;
  EXPECT_FALSE(CarriersOf(sv));
}

TEST(CombinationsTest, GpsMultipathFactors) {
  // MP1 with PHI1 = 1 m and everything else 0 is 2u - 1; with PHI2 = 1 m it is -2u.
  const CarrierPair gps{kGpsL1Hz, kGpsL2Hz};
  const double r = (gps.f1 / gps.f2) * (gps.f1 / gps.f2);
  EXPECT_NEAR(r, 1.6469444444, 1e-9);
  CombinationObservables o{0.0, 0.0, 1.0 / (kSpeedOfLight / gps.f1), 0.0};
  EXPECT_NEAR(*CombinationValue(Combination::kMultipathP1, o, gps), -4.0914555603, 1e-8);
  o = {0.0, 0.0, 0.0, 1.0 / (kSpeedOfLight / gps.f2)};
  EXPECT_NEAR(*CombinationValue(Combination::kMultipathP1, o, gps), 3.0914555603, 1e-8);  // -2u
}

TEST(CombinationsTest, CaCodeAndPhaseArePreferredOverPOnL1) {
  SvRec sv{};
  SetRange(sv, kCaL1, 100.0);
  SetRange(sv, kPL1, 200.0);
  SetPhase(sv, kCaL1, 300.0);
  SetPhase(sv, kPL1, 400.0);
  CombinationObservables o = TakeObservables(sv);
  EXPECT_EQ(o.pr1, 100.0);
  EXPECT_EQ(o.phi1, 300.0);
  sv.sig[kCaL1].present[kRange] = 0;
  sv.sig[kCaL1].present[kPhase] = 0;
  o = TakeObservables(sv);
  EXPECT_EQ(o.pr1, 200.0);
  EXPECT_EQ(o.phi1, 400.0);
  EXPECT_FALSE(o.p2);      // L2 comes only from the P code block
  SetRange(sv, 3, 500.0);  // C/A on L2
  EXPECT_FALSE(TakeObservables(sv).p2);
}

TEST(CombinationsTest, WithoutP2CodeOnlyThePhaseCombinationGivesPoints) {
  RecordFiles files;
  files.AddEpoch();
  SvRec& sv = files.AddSat(3, kGps, 42);
  FourObservables(sv, 2e7, 2e7, 1.05e8, 8.2e7);
  sv.sig[kPL2].present[kRange] = 0;
  files.Write();
  const SelectedSatellite sat{SatSystem::Gps, 3};
  EXPECT_TRUE(Values(files, sat, Combination::kCodeGeometryFree).empty());
  EXPECT_EQ(Values(files, sat, Combination::kPhaseGeometryFree).size(), 1u);
  for (Combination c : {Combination::kMultipathP1, Combination::kMultipathP2}) {
    const MeasurementChart chart = DrawCombinationChart(files.Source(), sat, c);
    EXPECT_TRUE(chart.values.empty());
    EXPECT_THAT(chart.elevations.y, ElementsAre(42));  // the elevation is there all the same
  }
}

TEST(CombinationsTest, SbasAndGalileoGiveOnlyElevationsBesideTheMultipath) {
  RecordFiles files;
  for (int i = 1; i <= 2; ++i) {
    files.AddEpoch();
    FourObservables(files.AddSat(120, kSbas, 20), 2e7, 2e7 + 1, 1.05e8, 8.2e7);
    FourObservables(files.AddSat(71, kGal, 35), 2e7, 2e7 + 2, 1.05e8, 8.2e7);
  }
  files.Write();
  const auto sbas = SelectedSatellite::OfItem(SatSystem::Sbas, 0);
  const auto gal = SelectedSatellite::OfItem(SatSystem::Galileo, 0);
  EXPECT_THAT(Values(files, sbas, Combination::kCodeGeometryFree), ElementsAre(-1, -1));
  EXPECT_TRUE(Values(files, gal, Combination::kPhaseGeometryFree).empty());
  const MeasurementChart mp = DrawCombinationChart(files.Source(), gal, Combination::kMultipathP2);
  EXPECT_TRUE(mp.values.empty());
  EXPECT_THAT(mp.elevations.x, ElementsAre(1, 2));
  EXPECT_THAT(mp.elevations.y, ElementsAre(35, 35));
}

TEST(CombinationsTest, TitlesAndRightAxis) {
  RecordFiles files;
  files.AddEpoch();
  files.AddSat(3, kGps);
  files.Write();
  const SelectedSatellite sat{SatSystem::Gps, 3};
  const struct {
    Combination c;
    const char* title;
    const char* right;
  } cases[] = {
      {Combination::kCodeGeometryFree, "Pseudorange Dual-frequency Ionosphere (Geometry-free) [m]",
       ""},
      {Combination::kPhaseGeometryFree, "Phase Dual-frequency Ionosphere (Geometry-free) [cycles]",
       ""},
      {Combination::kMultipathP1, "Multipath for P1 [m]", "Elevation Angle [degrees]"},
      {Combination::kMultipathP2, "Multipath for P2 [m]", "Elevation Angle [degrees]"},
  };
  for (const auto& k : cases) {
    const MeasurementChart chart = DrawCombinationChart(files.Source(), sat, k.c);
    EXPECT_EQ(chart.title, k.title);
    EXPECT_EQ(chart.rightTitle, k.right);
  }
}

TEST(CombinationsTest, FailuresAsForTheObservableChart) {
  RecordFiles files;
  for (int i = 0; i < 3; ++i) {
    files.AddEpoch();
    FourObservables(files.AddSat(3, kGps), 2e7, 2e7 + 1, 1.05e8, 8.2e7);
  }
  files.Write();
  const SelectedSatellite sat{SatSystem::Gps, 3};
  ChartSource missing = files.Source();
  missing.svRecsPath += ".gone";
  MeasurementChart chart = DrawCombinationChart(missing, sat, Combination::kMultipathP1);
  EXPECT_EQ(chart.message, "Error Opening File SVRecs.dat ! ");
  EXPECT_FALSE(chart.drawn);
  EXPECT_EQ(chart.title, "");
  EXPECT_FALSE(chart.rightTitle);

  files.Truncate(files.SvPath(), 2 * sizeof(SvRec));
  chart = DrawCombinationChart(files.Source(), sat, Combination::kCodeGeometryFree);
  EXPECT_EQ(chart.message, "Unexpected end of file SVs");
  EXPECT_THAT(chart.values.x, ElementsAre(1, 2));

  files.Truncate(files.EpochsPath(), 0);
  chart = DrawCombinationChart(files.Source(), sat, Combination::kCodeGeometryFree);
  EXPECT_EQ(chart.message, "Unexpected end of file Epochs");
  EXPECT_FALSE(chart.drawn);
}

}  // namespace
}  // namespace vnx::test
