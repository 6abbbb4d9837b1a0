// The Summary panel's texts after a scan, and the steps at which building it stops.
#include "engine/views/summary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/epoch/close_epoch.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

class SummaryTest : public ScanFixture {
 protected:
  // As the window and vnx-check do: a summary with epochs starts the elevation mask.
  Summary Build(const EphemerisCounts& eph = {}) {
    analysis = RunEpochAnalysis(ctx);
    Summary s = BuildSummary(ctx, analysis, "logs/day1.vnx", eph);
    if (s.epochs) session.SetElevationMask(s.epochs->elevationMask);
    return s;
  }

  // Closes one more epoch a second after the last one, with what the test put in the state.
  void CloseNext() {
    ctx.epoch.TimeLost = false;
    ctx.epoch.TimeOfDayMs += 1000;
    ASSERT_EQ(CloseEpoch(ctx), 1);
  }

  // Two epochs a second apart, each with the given satellite list.
  static LogBuilder TwoEpochs(std::initializer_list<uint8_t> usi) {
    LogBuilder b;
    b.Header().Date(2009, 6, 23).Time(1000).Sats(usi).Time(2000).Sats(usi);
    return b;
  }

  EpochAnalysis analysis;
};

TEST_F(SummaryTest, CleanLogWithoutElevations) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5, 120, 124, 40}).GloNumbers({3});
  b.Time(2000).Sats({5, 120, 124, 40}).GloNumbers({3});
  ASSERT_TRUE(ScanLog(b));
  const Summary s = Build();
  EXPECT_EQ(s.message, "");
  EXPECT_EQ(s.errorFlag.text, " No");
  EXPECT_EQ(s.errorFlag.colour, SummaryColour::Yellow);
  EXPECT_EQ(s.errorFlag.showErrorsEnabled, false);
  ASSERT_TRUE(s.epochs && s.records);
  const SummaryEpochFigures& f = *s.epochs;
  EXPECT_EQ(f.start, "Start   23/06/2009  00:00:01.000     00001");
  EXPECT_EQ(f.finish, "Finish 23/06/2009  00:00:02.000     00002");
  EXPECT_EQ(f.epochs, "Epochs           2");
  EXPECT_EQ(f.interval, "Interval          1000 ms");
  EXPECT_EQ(f.gaps, "Gaps               0");
  EXPECT_EQ(f.xa, " XA   0");
  EXPECT_EQ(f.xb, " XB   0");
  EXPECT_EQ(f.elevationMaskText, " Elevation Mask =  0");
  EXPECT_FALSE(f.elevationMaskEnabled);
  EXPECT_EQ(f.elevationMask, 0);
  EXPECT_EQ(ctx.elevationMask, 0);
  EXPECT_EQ(f.azimuths, " Azimuths not Present");
  EXPECT_EQ(f.gps.text, " 5");
  EXPECT_EQ(f.geo.text, " 20 24");  // SBAS by PRN - 100
  EXPECT_THAT(f.geo.numbers, ElementsAre(20, 24));
  EXPECT_EQ(f.glo.text, " 3");
  EXPECT_EQ(f.gal.text, " No");
  EXPECT_EQ(f.gpsEph.text, " No");
  EXPECT_EQ(f.geoEph.text, " No");
  EXPECT_EQ(s.records->file, "logs/day1.vnx");
}

TEST_F(SummaryTest, ElevationsAzimuthsAndErrors) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5, 7}).Elevations({30, 15}).Azimuths({10, 20});
  b.Time(4000).Sats({5, 7}).Elevations({25, 10});
  b.Bytes("junk").Time(5000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const Summary s = Build();
  EXPECT_EQ(s.errorFlag.text, "Yes");
  EXPECT_EQ(s.errorFlag.colour, SummaryColour::Red);
  EXPECT_EQ(s.errorFlag.showErrorsEnabled, true);
  ASSERT_TRUE(s.epochs);
  EXPECT_EQ(s.epochs->elevationMaskText, " Elevation Mask =  10");
  EXPECT_TRUE(s.epochs->elevationMaskEnabled);
  EXPECT_EQ(ctx.elevationMask, 10);
  EXPECT_EQ(s.epochs->azimuths, " Azimuths  Present");
  EXPECT_EQ(s.epochs->gps.text, " 5 7");
  EXPECT_EQ(s.epochs->interval, "Interval          1000 ms");
  EXPECT_EQ(s.epochs->gaps, "Gaps               1");
  EXPECT_EQ(s.epochs->finish, "Finish 23/06/2009  00:00:05.000     00003");
  ASSERT_TRUE(s.records);
  EXPECT_EQ(s.records->maxSatsText, " Maximum  2");
  EXPECT_EQ(s.records->minSatsText, " Minimum  1");
}

TEST_F(SummaryTest, EpochsWithoutSatellites) {
  ASSERT_TRUE(ScanLog(TwoEpochs({})));
  const Summary s = Build();
  EXPECT_EQ(s.errorFlag.text, "Yes");  // " Haven't satellites in epoch " lines
  ASSERT_TRUE(s.records);
  EXPECT_EQ(s.records->maxSatsText, " Maximum  0");
  EXPECT_EQ(s.records->minSatsText, " Minimum  0");
  EXPECT_EQ(s.epochs->gps.text, " No");
}

TEST_F(SummaryTest, NoEpochLineStopsAtOnce) {
  LogBuilder b;
  b.Header().Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const Summary s = Build();
  EXPECT_EQ(s.message, "There was no epochs with measurements!");
  EXPECT_EQ(s.errorFlag.text, "Yes");
  EXPECT_EQ(s.errorFlag.colour, SummaryColour::Red);
  EXPECT_FALSE(s.errorFlag.showErrorsEnabled.has_value());
  EXPECT_FALSE(s.epochs.has_value());
  EXPECT_FALSE(s.records.has_value());
  EXPECT_EQ(ctx.elevationMask, 90);  // untouched
}

// The twenty Measurements counters: caption, signal block (0 C/A L1, 1 P L1, 2 P L2, 3 C/A L2,
// 4 L5) and presence flag (0 code, 2 phase, 3 Doppler, 4 signal-to-noise), written out here so
// that a wrong row of the production table shows.
struct CounterRow {
  const char* caption;
  int block;
  int flag;
};
constexpr CounterRow kCounterRows[kObservableCount] = {
    {"C1", 0, 0},    {"P1", 1, 0}, {"P2", 2, 0}, {"C2", 3, 0},    {"C5", 4, 0},
    {"CA/L1", 0, 2}, {"L1", 1, 2}, {"L2", 2, 2}, {"CA/L2", 3, 2}, {"L5", 4, 2},
    {"CA/D1", 0, 3}, {"D1", 1, 3}, {"D2", 2, 3}, {"CA/D2", 3, 3}, {"D5", 4, 3},
    {"CA/S1", 0, 4}, {"S1", 1, 4}, {"S2", 2, 4}, {"CA/S2", 3, 4}, {"S5", 4, 4},
};

TEST_F(SummaryTest, SolutionTypesAndTwentyObservables) {
  ASSERT_TRUE(ScanLog(TwoEpochs({5, 6, 7})));
  // Row k is present in slot 1 of the first k + 1 added epochs; smoothing corrections are
  // counted nowhere.
  const uint8_t types[20] = {1, 2, 2, 3, 3, 3, 4, 4, 4, 4, 0, 0, 0, 0, 0, 5, 5, 5, 5, 5};
  for (int e = 0; e < 20; ++e) {
    for (int k = e; k < kObservableCount; ++k)
      ctx.epoch.Obs[1][kCounterRows[k].block].Present[kCounterRows[k].flag] = 1;
    for (int sig = 0; sig < kSignalCount; ++sig) ctx.epoch.Obs[2][sig].Present[1] = 1;
    ctx.epochRec.flags[kFlagPosition] = 1;
    ctx.pos.solutionType = types[e];
    CloseNext();
  }
  ctx.files.FlushAll();
  const Summary s = Build();
  ASSERT_TRUE(s.records) << s.message;
  for (int k = 0; k < kObservableCount; ++k) {
    // The counter shown under the row's caption.
    int shown = -1;
    for (int c = 0; c < kObservableCount; ++c)
      if (std::string(kObservables[c].caption) == kCounterRows[k].caption) shown = c;
    ASSERT_GE(shown, 0) << kCounterRows[k].caption;
    EXPECT_EQ(s.records->observables[shown], k + 1) << kCounterRows[k].caption;
    EXPECT_EQ(s.records->ObservableText(shown), std::to_string(k + 1));
  }
  EXPECT_THAT(s.records->solutions, ElementsAre(1, 2, 3, 4));
  EXPECT_EQ(s.records->SolutionText(3), "4");
  EXPECT_EQ(s.records->maxSatsText, " Maximum  3");
  EXPECT_EQ(s.records->minSatsText, " Minimum  3");
  EXPECT_EQ(s.epochs->epochs, "Epochs           22");
  // A second build starts from zero and reads the same files again.
  const Summary again = Build();
  EXPECT_EQ(again.records->solutions, s.records->solutions);
  EXPECT_EQ(again.records->observables, s.records->observables);
}

// The mask figure comes from the satellite records written: elevations of another antenna's
// satellites, and satellites without any elevation, do not set it.
TEST_F(SummaryTest, ElevationMaskFromTheSatellitesKept) {
  struct Case {
    const char* name;
    char antenna;  // the answer to the antenna question
    const char* text;
    bool enabled;
  };
  for (const Case& c : {Case{"antenna a kept", 'a', " Elevation Mask =  -4", true},
                        Case{"no satellite kept", 'b', " Elevation Mask =  0", false}}) {
    ui.antennaAnswer = {true, c.antenna};
    LogBuilder b;
    b.Header().Date(2009, 6, 23);
    b.Time(1000).Sats({5, 6}).Antennas("aa").Elevations({30, -4});
    b.Time(2000).Sats({5, 6, 7}).Antennas("aaa").Elevations({31, -3, 127});
    ASSERT_TRUE(ScanLog(b)) << c.name;
    const Summary s = Build();
    ASSERT_TRUE(s.epochs) << c.name;
    EXPECT_EQ(s.epochs->elevationMaskText, c.text) << c.name;
    EXPECT_EQ(s.epochs->elevationMaskEnabled, c.enabled) << c.name;
    EXPECT_EQ(ctx.elevationMask, c.enabled ? -4 : 0) << c.name;
  }
}

TEST_F(SummaryTest, EphemerisListsFollowTheCounts) {
  ASSERT_TRUE(ScanLog(TwoEpochs({5})));
  EphemerisCounts eph;
  eph.gps[4] = 2;
  eph.gps[31] = 1;
  eph.sbas[19] = 1;  // PRN 120
  eph.sbas[37] = 3;  // PRN 138
  eph.gal[0] = 1;
  const Summary s = Build(eph);
  ASSERT_TRUE(s.epochs);
  EXPECT_EQ(s.epochs->gpsEph.text, " 5 32");
  EXPECT_EQ(s.epochs->gloEph.text, " No");
  EXPECT_EQ(s.epochs->geoEph.text, " 20 38");
  EXPECT_EQ(s.epochs->galEph.text, " 1");
}

TEST_F(SummaryTest, UnreadableFilesLeaveTheRecordFiguresOut) {
  ASSERT_TRUE(ScanLog(TwoEpochs({5, 6})));
  analysis = RunEpochAnalysis(ctx);
  ASSERT_TRUE(analysis.ok);

  ctx.epochCount = 3;  // more epochs than the file holds
  Summary s = BuildSummary(ctx, analysis, "x.vnx");
  EXPECT_EQ(s.message, "Unexpected end of file");
  EXPECT_TRUE(s.epochs.has_value());
  EXPECT_FALSE(s.records.has_value());
  ctx.epochCount = 2;

  std::filesystem::resize_file(WorkFile("SVRecs.dat"), 3 * sizeof(SvRec) + 10);
  s = BuildSummary(ctx, analysis, "x.vnx");
  EXPECT_EQ(s.message, "Unexpected end of file");
  EXPECT_FALSE(s.records.has_value());

  std::filesystem::remove(WorkFile("DataEpochs.dat"));
  s = BuildSummary(ctx, analysis, "x.vnx");
  EXPECT_EQ(s.message, "Error Opening File DataEpochs.dat ! ");
  EXPECT_FALSE(s.records.has_value());

  std::filesystem::remove(WorkFile("SVRecs.dat"));
  s = BuildSummary(ctx, analysis, "x.vnx");
  EXPECT_EQ(s.message, "Error Opening File SVRecs.dat ! ");
  EXPECT_TRUE(s.epochs.has_value());
  EXPECT_FALSE(s.records.has_value());
}

}  // namespace
}  // namespace vnx::test
