// The time axis of the charts: calendar days, epoch numbers to GPS time and UTC and back, the
// texts with and without the date, and the tick steps.
#include "engine/views/chart_time.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vnx {
namespace {

TimeRec At(int y, int mo, int d, int h, int mi, double s) {
  TimeRec t{};
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi;
  const Extended80 e = Ext80FromDouble(s);
  std::copy(e.begin(), e.end(), t.seconds);
  return t;
}

TEST(ChartTimeTest, CountsCalendarDays) {
  struct Case {
    int y, m, d;
    int64_t days;
  } cases[] = {{1970, 1, 1, 0},
               {1980, 1, 6, 3657},
               {2000, 3, 1, 11017},
               {2024, 2, 29, 19782},
               {1969, 12, 31, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(DaysFromCivil(c.y, c.m, c.d), c.days) << c.y;
    int32_t y = 0, m = 0, d = 0;
    CivilFromDays(c.days, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
  }
}

TEST(ChartTimeTest, MapsEpochsToTimeAndBack) {
  // Three epochs a second apart, a gap, then one past midnight; 18 leap seconds.
  const EpochClock clock({At(2023, 12, 31, 23, 59, 57.5), At(2023, 12, 31, 23, 59, 58.5),
                          At(2023, 12, 31, 23, 59, 59.5), At(2024, 1, 1, 0, 0, 10.5)},
                         18);
  EXPECT_DOUBLE_EQ(clock.AxisValue(2, ChartTimeAxis::GpsTime), 86398.5);
  EXPECT_DOUBLE_EQ(clock.AxisValue(2, ChartTimeAxis::Utc), 86380.5);
  EXPECT_DOUBLE_EQ(clock.AxisValue(2.5, ChartTimeAxis::GpsTime), 86399.0);
  EXPECT_DOUBLE_EQ(clock.AxisValue(3.5, ChartTimeAxis::GpsTime), 86405.0);
  EXPECT_DOUBLE_EQ(clock.AxisValue(0, ChartTimeAxis::GpsTime), 86396.5);  // extended
  EXPECT_DOUBLE_EQ(clock.AxisValue(7, ChartTimeAxis::Epoch), 7);
  for (double e : {1.0, 2.25, 3.5, 4.0})
    for (ChartTimeAxis m : {ChartTimeAxis::GpsTime, ChartTimeAxis::Utc})
      EXPECT_NEAR(clock.EpochAt(clock.AxisValue(e, m), m), e, 1e-9);
  EXPECT_TRUE(clock.SpansDays());
  EXPECT_EQ(clock.Text(86398.5, true, 1), "2023-12-31 23:59:58.5");
  EXPECT_EQ(clock.Text(86410.5, true), "2024-01-01 00:00:11");
  EXPECT_EQ(clock.Text(86410.5, false, 3), "00:00:10.500");
  EXPECT_TRUE(clock.Offers(ChartTimeAxis::Utc));
}

TEST(ChartTimeTest, OffersUtcOnlyWithLeapSeconds) {
  const EpochClock noLeap({At(2009, 6, 23, 10, 0, 1)}, std::nullopt);
  EXPECT_TRUE(noLeap.Offers(ChartTimeAxis::GpsTime));
  EXPECT_FALSE(noLeap.Offers(ChartTimeAxis::Utc));
  EXPECT_FALSE(noLeap.SpansDays());
  EXPECT_DOUBLE_EQ(noLeap.AxisValue(3, ChartTimeAxis::GpsTime), 36003);
  EXPECT_FALSE(EpochClock().Offers(ChartTimeAxis::GpsTime));
}

TEST(ChartTimeTest, PicksRoundTickSteps) {
  struct Case {
    double range;
    double step;
  } cases[] = {{8, 1},
               {40, 5},
               {600, 120},
               {3600, 600},
               {86400, 10800},
               {3 * 86400, 43200},
               {20 * 86400, 3 * 86400},
               {0.4, 0.05}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(TimeTickStep(c.range, 8), c.step) << c.range;
}

}  // namespace
}  // namespace vnx
