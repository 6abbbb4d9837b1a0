// The Positions view's passes: solution type filter, the Pos/Vel choice with its zero test on the
// value drawn, the DOP chart, and the ways a pass stops.
#include "engine/views/positions_series.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// An epoch with position, velocity, RMS and DOP values, every one distinct.
EpochRec Full(uint8_t type) {
  EpochRec r{};
  PosBlock& p = r.pos;
  p.positionPresent = p.velocityPresent = p.rmsPresent = p.dopPresent = 1;
  p.solutionType = type;
  p.x = 11, p.y = 12, p.z = 13;
  p.vx = 0.5f, p.vy = 0.25f, p.vz = -0.75f;
  p.positionSigma = 1.5f, p.velocitySigma = 0.125f;
  p.hpos = 2.5f, p.vpos = 3.5f, p.hvel = 0.0625f, p.vvel = 0.03125f;
  p.hdop = 1.1f, p.vdop = 1.2f, p.tdop = 1.3f, p.pdop = 1.4f, p.gdop = 1.5f;
  return r;
}

std::string Dir(const TempDir& dir, const std::vector<EpochRec>& epochs) {
  std::string bytes;
  for (const EpochRec& r : epochs) bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
  dir.Write("DataEpochs.dat", bytes);
  return dir.path() + "/";
}

SolutionRequest Request(SolutionItem item, bool velocity,
                        std::array<bool, kSolutionTypeCount> types = {true, true, true, true}) {
  return {item, velocity, types};
}

TEST(PositionsSeries, EachTypeGoesToItsSeriesWhileItsBoxIsChecked) {
  TempDir dir;
  std::vector<EpochRec> epochs;
  for (uint8_t type : {0, 1, 2, 3, 4, 5, 2}) epochs.push_back(Full(type));
  const std::string d = Dir(dir, epochs);
  const SolutionChart all = SolutionSeries(d, 7, Request(SolutionItem::X, false));
  EXPECT_THAT(all.message, IsEmpty());
  EXPECT_THAT(all.series[0].x, ElementsAre(2));
  EXPECT_THAT(all.series[1].x, ElementsAre(3, 7));
  EXPECT_THAT(all.series[2].x, ElementsAre(4));
  EXPECT_THAT(all.series[3].x, ElementsAre(5));
  EXPECT_THAT(all.series[1].y, ElementsAre(11, 11));

  const SolutionChart two =
      SolutionSeries(d, 7, Request(SolutionItem::X, false, {false, true, false, false}));
  EXPECT_TRUE(two.series[0].empty());
  EXPECT_THAT(two.series[1].x, ElementsAre(3, 7));
  EXPECT_TRUE(two.series[3].empty());
}

TEST(PositionsSeries, EveryItemPlotsItsValueForPosAndVel) {
  TempDir dir;
  const std::string d = Dir(dir, {Full(1)});
  struct Case {
    SolutionItem item;
    double pos, vel;
  } cases[] = {{SolutionItem::X, 11, 0.5},           {SolutionItem::Y, 12, 0.25},
               {SolutionItem::Z, 13, -0.75},         {SolutionItem::RmsHor, 2.5, 0.0625},
               {SolutionItem::RmsVer, 3.5, 0.03125}, {SolutionItem::Sep, 1.5, 0.125}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.item));
    EXPECT_THAT(SolutionSeries(d, 1, Request(c.item, false)).series[0].y, ElementsAre(c.pos));
    EXPECT_THAT(SolutionSeries(d, 1, Request(c.item, true)).series[0].y, ElementsAre(c.vel));
  }
}

TEST(PositionsSeries, ZeroTestIsMadeOnTheValueDrawn) {
  TempDir dir;
  EpochRec zeroVelocity = Full(1);  // velocity X and its RMS exactly 0: not given
  zeroVelocity.pos.vx = 0;
  zeroVelocity.pos.hvel = 0;
  EpochRec zeroPosition = Full(1);  // position X exactly 0, velocity non-zero
  zeroPosition.pos.x = 0;
  zeroPosition.pos.hpos = 0;
  EpochRec tiny = Full(1);
  tiny.pos.x = 1e-13;
  EpochRec velocityOnly = Full(1);  // a log with velocities and no positions
  velocityOnly.pos.positionPresent = 0;
  velocityOnly.pos.x = velocityOnly.pos.positionSigma = 0;
  const std::string d = Dir(dir, {zeroVelocity, zeroPosition, tiny, velocityOnly});
  EXPECT_THAT(SolutionSeries(d, 4, Request(SolutionItem::X, false)).series[0].x, ElementsAre(1));
  EXPECT_THAT(SolutionSeries(d, 4, Request(SolutionItem::X, true)).series[0].x,
              ElementsAre(2, 3, 4));
  EXPECT_THAT(SolutionSeries(d, 4, Request(SolutionItem::Sep, true)).series[0].x,
              ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(SolutionSeries(d, 4, Request(SolutionItem::RmsHor, true)).series[0].x,
              ElementsAre(2, 3, 4));
  EXPECT_THAT(SolutionSeries(d, 4, Request(SolutionItem::RmsHor, false)).series[0].x,
              ElementsAre(1, 3, 4));
}

TEST(PositionsSeries, EachItemNeedsItsPresenceFlag) {
  TempDir dir;
  EpochRec noVelocity = Full(1);
  noVelocity.pos.velocityPresent = 0;
  EpochRec noPosition = Full(1);
  noPosition.pos.positionPresent = 0;
  EpochRec noRms = Full(1);
  noRms.pos.rmsPresent = 0;
  const std::string d = Dir(dir, {noVelocity, noPosition, noRms});
  struct Case {
    SolutionItem item;
    bool velocity;
    std::vector<double> epochs;
  } cases[] = {
      {SolutionItem::X, false, {1, 3}},      {SolutionItem::X, true, {2, 3}},
      {SolutionItem::Sep, false, {1, 3}},    {SolutionItem::Sep, true, {2, 3}},
      {SolutionItem::RmsHor, false, {1, 2}}, {SolutionItem::RmsVer, true, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.item)) + (c.velocity ? " Vel" : " Pos"));
    EXPECT_EQ(SolutionSeries(d, 3, Request(c.item, c.velocity)).series[0].x, c.epochs);
  }
}

TEST(PositionsSeries, DopChartDrawsTheCheckedNonZeroValues) {
  TempDir dir;
  EpochRec noDop = Full(1);
  noDop.pos.dopPresent = 0;
  EpochRec zeroH = Full(0);  // the solution type plays no part here
  zeroH.pos.hdop = 0;
  const std::string d = Dir(dir, {Full(1), noDop, zeroH});
  const DopChart all = DopSeries(d, 3, {true, true, true, true, true});
  EXPECT_THAT(all.message, IsEmpty());
  EXPECT_THAT(all.series[kHdop].x, ElementsAre(1));
  EXPECT_THAT(all.series[kVdop].x, ElementsAre(1, 3));
  EXPECT_THAT(all.series[kTdop].y, ElementsAre(1.3f, 1.3f));
  EXPECT_THAT(all.series[kPdop].y, ElementsAre(1.4f, 1.4f));
  EXPECT_THAT(all.series[kGdop].y, ElementsAre(1.5f, 1.5f));
  const DopChart h = DopSeries(d, 3, {true, false, false, false, false});
  EXPECT_THAT(h.series[kHdop].y, ElementsAre(1.1f));
  for (int k = kVdop; k < kDopCount; ++k) EXPECT_TRUE(h.series[k].empty());
}

TEST(PositionsSeries, FailureMessages) {
  TempDir dir;
  const std::string d = dir.path() + "/";
  const SolutionRequest x = Request(SolutionItem::X, false);
  const std::array<bool, kDopCount> hdop{true};
  EXPECT_THAT(SolutionSeries(d, 0, x).message, IsEmpty());
  EXPECT_EQ(SolutionSeries(d, 2, x).message, "Error Opening File DataEpochs.dat ! ");
  EXPECT_EQ(DopSeries(d, 2, hdop).message, "Error Opening File DataEpochs.dat ! ");
  Dir(dir, {});
  EXPECT_EQ(SolutionSeries(d, 2, x).message, "Unexpected end of file");
  EXPECT_EQ(DopSeries(d, 2, hdop).message, "Unexpected end of file");
  // A file that ends after some records stops the chart too, keeping what was drawn.
  Dir(dir, {Full(1), Full(1)});
  const SolutionChart s = SolutionSeries(d, 3, x);
  EXPECT_EQ(s.message, "Unexpected end of file");
  EXPECT_THAT(s.series[0].x, ElementsAre(1, 2));
  const DopChart p = DopSeries(d, 3, hdop);
  EXPECT_EQ(p.message, "Unexpected end of file");
  EXPECT_THAT(p.series[kHdop].x, ElementsAre(1, 2));
}

}  // namespace
}  // namespace vnx::test
