// The External events view's passes: XA/XB intervals numbered from the second event, ZA/ZB
// offsets numbered from the first, the left-axis rule, and the ways a chart stops.
#include "engine/views/events_series.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/time/gps_time.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// 2009-06-23 00:00:00 GPS time.
const uint32_t kDay = TGPSTime::FromCalendar(2009, 6, 23, 0, 0, 0).Seconds();

struct At {
  uint32_t seconds;
  int64_t ns = 0;
};

void WriteEvents(const TempDir& dir, const char* name, const std::vector<At>& times) {
  std::string bytes;
  for (const At& t : times) {
    ExtEventRec r{};
    r.time = TimeRecFromTimeNS(TGPSTimeNS(t.seconds, t.ns));
    bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
  }
  dir.Write(name, bytes);
}

void WriteOffsets(const TempDir& dir, const char* name, const std::vector<float>& offsets) {
  std::string bytes;
  for (float v : offsets) {
    ZOffsetRec r{};
    r.offset = v;
    bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
  }
  dir.Write(name, bytes);
}

// Every second, starting at `from`.
std::vector<At> EverySecond(uint32_t from, int n) {
  std::vector<At> t;
  for (int i = 0; i < n; ++i) t.push_back({from + static_cast<uint32_t>(i)});
  return t;
}

void ExpectFixed(const EventChart& c, double min, double max) {
  ASSERT_TRUE(c.axis.has_value());
  EXPECT_FALSE(c.axis->automatic);
  EXPECT_EQ(c.axis->min, min);
  EXPECT_EQ(c.axis->max, max);
}

void ExpectAutomatic(const EventChart& c) {
  ASSERT_TRUE(c.axis.has_value());
  EXPECT_TRUE(c.axis->automatic);
}

class EventsSeries : public ::testing::Test {
 protected:
  std::string Dir() const { return dir.path() + "/"; }
  TempDir dir;
};

TEST_F(EventsSeries, OneSecondIntervalsShowOnAnAxisFrom999To1001) {
  WriteEvents(dir, "ExtEventRecsXA.dat", EverySecond(kDay + 100, 4));
  const EventChart c = IntervalSeries(Dir(), {4, true}, {0, true});
  EXPECT_THAT(c.message, IsEmpty());
  EXPECT_THAT(c.series[0].x, ElementsAre(2, 3, 4));
  EXPECT_THAT(c.series[0].y, ElementsAre(1000, 1000, 1000));
  EXPECT_TRUE(c.series[1].empty());
  ExpectFixed(c, 999, 1001);
}

TEST_F(EventsSeries, IntervalsUseNanosecondsAndFullTimesAcrossBoundaries) {
  const uint32_t weekEnd = TGPSTime::FromCalendar(2009, 6, 28, 0, 0, 0).Seconds();  // a Sunday
  WriteEvents(dir, "ExtEventRecsXA.dat",
              {{kDay, 0}, {kDay, 250000}, {weekEnd - 1, 500000000}, {weekEnd, 500000000}});
  const EventChart c = IntervalSeries(Dir(), {4, true}, {0, false});
  ASSERT_EQ(c.series[0].size(), 3u);
  EXPECT_DOUBLE_EQ(c.series[0].y[0], 0.25);
  EXPECT_DOUBLE_EQ(c.series[0].y[1], (weekEnd - 1 - kDay) * 1000.0 + 500 - 0.25);
  EXPECT_DOUBLE_EQ(c.series[0].y[2], 1000);
  ExpectAutomatic(c);
}

TEST_F(EventsSeries, OneEventDrawsNothing) {
  WriteEvents(dir, "ExtEventRecsXA.dat", EverySecond(kDay, 1));
  const EventChart c = IntervalSeries(Dir(), {1, true}, {0, true});
  EXPECT_TRUE(c.series[0].empty());
  EXPECT_FALSE(c.axis.has_value());
  EXPECT_THAT(c.message, IsEmpty());
}

TEST_F(EventsSeries, AxisSpansEveryInputDrawn) {
  WriteEvents(dir, "ExtEventRecsXA.dat", EverySecond(kDay, 3));
  WriteEvents(dir, "ExtEventRecsXB.dat", {{kDay}, {kDay + 1}, {kDay + 3}});
  const EventChart both = IntervalSeries(Dir(), {3, true}, {3, true});
  EXPECT_THAT(both.series[1].x, ElementsAre(2, 3));
  EXPECT_THAT(both.series[1].y, ElementsAre(1000, 2000));
  ExpectAutomatic(both);
  const EventChart onlyXa = IntervalSeries(Dir(), {3, true}, {3, false});
  EXPECT_TRUE(onlyXa.series[1].empty());
  ExpectFixed(onlyXa, 999, 1001);
  const EventChart onlyXb = IntervalSeries(Dir(), {3, false}, {3, true});
  EXPECT_TRUE(onlyXb.series[0].empty());
  ExpectAutomatic(onlyXb);

  // Two steady inputs far apart: the fixed axis reaches from XB's 200 ms to XA's 1000 ms...
  WriteEvents(dir, "ExtEventRecsXB.dat", {{kDay, 0}, {kDay, 200000000}, {kDay, 400000000}});
  ExpectAutomatic(IntervalSeries(Dir(), {3, true}, {3, true}));
  // ...and two steady inputs close together share one fixed axis.
  WriteEvents(dir, "ExtEventRecsXB.dat", {{kDay, 0}, {kDay, 999500000}, {kDay + 1, 999000000}});
  ExpectFixed(IntervalSeries(Dir(), {3, true}, {3, true}), 998, 1001);
}

TEST_F(EventsSeries, OffsetsAreNumberedFromOne) {
  WriteOffsets(dir, "ZARecs.dat", {-3.5f, -3.25f, -3.75f});
  WriteOffsets(dir, "ZBRecs.dat", {12, 40});
  const EventChart c = OffsetSeries(Dir(), {3, true}, {2, true});
  EXPECT_THAT(c.message, IsEmpty());
  EXPECT_THAT(c.series[0].x, ElementsAre(1, 2, 3));
  EXPECT_THAT(c.series[0].y, ElementsAre(-3.5, -3.25, -3.75));
  EXPECT_THAT(c.series[1].x, ElementsAre(1, 2));
  ExpectAutomatic(c);
  // Truncation is toward zero: -3.75 .. -3.25 gives -4 .. -2.
  ExpectFixed(OffsetSeries(Dir(), {3, true}, {2, false}), -4, -2);
  // A single offset is drawn.
  const EventChart one = OffsetSeries(Dir(), {1, true}, {1, true});
  EXPECT_THAT(one.series[0].y, ElementsAre(-3.5));
  EXPECT_THAT(one.series[1].y, ElementsAre(12));
}

TEST_F(EventsSeries, AxisRule) {
  const AxisRange small = AxisRule(0.2, 0.7);
  EXPECT_FALSE(small.automatic);
  EXPECT_EQ(small.min, -1);
  EXPECT_EQ(small.max, 1);
  EXPECT_TRUE(AxisRule(0, 1).automatic);  // a spread of exactly 1 scales itself
}

TEST_F(EventsSeries, FailureMessages) {
  // Nothing to draw, nothing opened.
  EXPECT_THAT(IntervalSeries(Dir(), {1, true}, {0, true}).message, IsEmpty());
  EXPECT_THAT(IntervalSeries(Dir(), {5, false}, {5, false}).message, IsEmpty());
  EXPECT_EQ(IntervalSeries(Dir(), {2, true}, {2, true}).message,
            "Error Opening File ExtEventRecsXA.dat ! ");
  EXPECT_EQ(OffsetSeries(Dir(), {2, true}, {2, true}).message, "Error Opening File ZARecs.dat ! ");
  WriteEvents(dir, "ExtEventRecsXA.dat", EverySecond(kDay, 3));
  WriteOffsets(dir, "ZARecs.dat", {1, 2});
  const EventChart xb = IntervalSeries(Dir(), {3, true}, {2, true});
  EXPECT_EQ(xb.message, "Error Opening File ExtEventRecsXB.dat ! ");
  EXPECT_EQ(xb.series[0].size(), 2u);  // what XA drew stays
  const EventChart zb = OffsetSeries(Dir(), {2, true}, {2, true});
  EXPECT_EQ(zb.message, "Error Opening File ZBRecs.dat ! ");
  EXPECT_EQ(zb.series[0].size(), 2u);
}

TEST_F(EventsSeries, FileEndingBeforeItsCountStopsTheChartSilently) {
  WriteEvents(dir, "ExtEventRecsXA.dat", EverySecond(kDay, 3));
  WriteEvents(dir, "ExtEventRecsXB.dat", EverySecond(kDay, 3));
  const EventChart c = IntervalSeries(Dir(), {5, true}, {3, true});
  EXPECT_THAT(c.message, IsEmpty());
  EXPECT_EQ(c.series[0].size(), 2u);
  EXPECT_TRUE(c.series[1].empty());  // XB is not drawn after XA stopped
  EXPECT_FALSE(c.axis.has_value());
  WriteEvents(dir, "ExtEventRecsXA.dat", {});
  EXPECT_TRUE(IntervalSeries(Dir(), {2, true}, {3, true}).series[1].empty());
  WriteOffsets(dir, "ZARecs.dat", {1});
  WriteOffsets(dir, "ZBRecs.dat", {1, 2});
  const EventChart z = OffsetSeries(Dir(), {2, true}, {2, true});
  EXPECT_FALSE(z.axis.has_value());
  EXPECT_THAT(z.series[0].y, ElementsAre(1));
  EXPECT_TRUE(z.series[1].empty());
  EXPECT_THAT(z.message, IsEmpty());
}

}  // namespace
}  // namespace vnx::test
