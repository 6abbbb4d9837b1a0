// The skyplot tracks and the signal strength against elevation: records of epochs without
// directions left out, systems and epoch range chosen, repeated directions thinned, segments
// after a gap, the bin means, and the polar mapping.
#include "engine/views/sky_views.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "engine/views/record_files.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

// GPS 5 rising 1 degree every other epoch at azimuth 100; GLONASS 3 fixed at 40 degrees with
// S1 strength 40 + epoch; Galileo 75 without a direction, 76 without an elevation; epoch 4 carries
// no directions; GPS 5 is missing in epochs 6..20.
class SkyViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int e = 1; e <= 24; ++e) {
      EpochRec& rec = files.AddEpoch();
      rec.flags[kFlagEL] = rec.flags[kFlagAZ] = e != 4;
      if (e < 6 || e > 20) {
        SvRec& g = files.AddSat(5, 1, static_cast<int8_t>(10 + e / 2));
        g.azimuth = 100;
        g.sig[0].present[kSnr] = 1;
        g.sig[0].snr = 30 + static_cast<float>(e) / 2;
      }
      SvRec& r = files.AddSat(3, 2, 40);
      r.azimuth = -1;  // read unsigned: 65535, which is 15 degrees around the circle
      r.sig[1].present[kSnr] = 1;
      r.sig[1].snr = 40 + static_cast<float>(e);
      files.AddSat(75, 4, 0).sig[0].present[kSnr] = 1;  // no direction: left out everywhere
      SvRec& m = files.AddSat(76, 4, kNoElevation);     // elevation missing: likewise
      m.azimuth = 200;
      m.sig[0].present[kSnr] = 1;
      m.sig[0].snr = 35;
    }
    files.Write();
  }
  RecordFiles files;
};

TEST_F(SkyViewsTest, TracksThinnedAndSplitAtGaps) {
  SkySelection sel;
  sel.signal = 0;
  const SkyPlot plot = SkyTracks(files.Source(), sel);
  ASSERT_EQ(plot.tracks.size(), 2u);
  const SkyTrack& g = plot.tracks[0];
  EXPECT_EQ(g.Name(), "G05");
  std::vector<int32_t> epochs;
  std::vector<bool> starts;
  for (const SkyTrackPoint& p : g.points) {
    epochs.push_back(p.epoch);
    starts.push_back(p.startsSegment);
  }
  // Epoch 3 repeats 2's direction and its strength rose by only 0.5: dropped; so is 23. 21,
  // after the gap, starts a segment.
  EXPECT_THAT(epochs, ElementsAre(1, 2, 5, 21, 22, 24));
  EXPECT_THAT(starts, ElementsAre(true, false, false, true, false, false));
  const SkyTrack& r = plot.tracks[1];
  EXPECT_EQ(r.Name(), "R03");
  EXPECT_EQ(r.points.size(), 1u);  // never moves, no S1 strength of signal 0
  EXPECT_FLOAT_EQ(r.points[0].azimuth, 15);
  EXPECT_TRUE(std::isnan(r.points[0].snr));
  EXPECT_FLOAT_EQ(plot.snrMin, 30.5f);
  EXPECT_FLOAT_EQ(plot.snrMax, 42);
}

TEST_F(SkyViewsTest, SelectionOfSystemsAndEpochs) {
  SkySelection sel;
  sel.systems = {false, true, false, false};
  sel.firstEpoch = 10;
  sel.lastEpoch = 12;
  sel.signal = 1;
  const SkyPlot plot = SkyTracks(files.Source(), sel);
  ASSERT_EQ(plot.tracks.size(), 1u);
  // Strength changes by 1 dB-Hz each epoch: every point kept.
  ASSERT_EQ(plot.tracks[0].points.size(), 3u);
  EXPECT_EQ(plot.tracks[0].points[2].epoch, 12);
  EXPECT_FLOAT_EQ(plot.snrMax, 52);
}

TEST_F(SkyViewsTest, StrengthAgainstElevationWithBinMeans) {
  SkySelection sel;
  const SnrElevation s = SnrAgainstElevation(files.Source(), sel);
  // GPS 5 in the 8 epochs 1..3, 5, 21..24 with directions: elevations 10..22.
  EXPECT_EQ(s.points[0].size(), 8u);
  EXPECT_EQ(s.epochs[0].front(), 1);
  EXPECT_TRUE(s.points[1].empty());  // GLONASS has no signal-0 strength
  // Bin 10..15 holds epochs 1, 2, 3 and 5; bin 20..25 the rest.
  ASSERT_EQ(s.means[0].size(), 2u);
  EXPECT_DOUBLE_EQ(s.means[0].x[0], 12.5);
  EXPECT_DOUBLE_EQ(s.means[0].y[0], 30 + (1 + 2 + 3 + 5) / 2.0 / 4);
  EXPECT_DOUBLE_EQ(s.means[0].x[1], 22.5);
}

TEST_F(SkyViewsTest, CsvOfEveryPoint) {
  SkySelection sel;
  sel.systems = {false, true, false, false};
  sel.lastEpoch = 2;
  sel.signal = 1;
  EXPECT_EQ(SkyCsv(SkyTracks(files.Source(), sel), EpochClock()),
            "satellite,epoch,azimuth [deg],elevation [deg],strength [dB-Hz]\n"
            "R03,1,15,40,41\nR03,2,15,40,42\n");
}

TEST(SkyPositionTest, StrengthScaleRunsFromVioletToOrange) {
  EXPECT_EQ(StrengthColour(20, 20, 50), 0x440154u);
  EXPECT_EQ(StrengthColour(50, 20, 50), 0xE67800u);
  EXPECT_EQ(StrengthColour(99, 20, 50), 0xE67800u);  // clamped
  EXPECT_EQ(StrengthColour(35, 20, 50), 0x21918Cu);  // the middle stop
}

TEST(SkyPositionTest, NorthUpClockwise) {
  struct Case {
    double az, el, x, y;
  } cases[] = {{0, 0, 0, -1}, {90, 0, 1, 0}, {180, 45, 0, 0.5}, {270, 0, -1, 0}, {123, 90, 0, 0}};
  for (const Case& c : cases) {
    const SkyXY p = SkyPosition(c.az, c.el);
    EXPECT_NEAR(p.x, c.x, 1e-12) << c.az;
    EXPECT_NEAR(p.y, c.y, 1e-12) << c.az;
  }
}

}  // namespace
}  // namespace vnx::test
