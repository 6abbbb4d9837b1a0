// What the charts do with their points: min/max decimation that keeps spikes and gaps, one
// point per cell for scatters, the point under the mouse, and the CSV of the visible points.
#include "engine/views/chart_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace vnx {
namespace {

using ::testing::ElementsAre;

std::vector<double> Ramp(size_t n, double start = 0) {
  std::vector<double> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = start + static_cast<double>(i);
  return v;
}

TEST(ChartDataTest, ColumnDecimationKeepsSpikesGapsAndEdges) {
  // 100 000 flat points with one spike up, one down, and a gap of keys 50 000..59 999.
  std::vector<double> x, y;
  for (int i = 0; i < 100000; ++i) {
    if (i >= 50000 && i < 60000) continue;
    x.push_back(i);
    y.push_back(i == 12345 ? 40 : i == 77777 ? -40 : std::sin(i * 0.001));
  }
  const std::vector<uint32_t> kept = DecimateColumns(x, y, {1000, 99000}, 500);
  EXPECT_LE(kept.size(), 1002u);
  EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
  bool up = false, down = false, inGap = false;
  for (uint32_t i : kept) {
    up |= y[i] == 40;
    down |= y[i] == -40;
    inGap |= x[i] > 50000 && x[i] < 59999;
  }
  EXPECT_TRUE(up);
  EXPECT_TRUE(down);
  EXPECT_FALSE(inGap);
  // The neighbours just outside the range are kept for the edges.
  EXPECT_EQ(x[kept.front()], 999);
  EXPECT_EQ(x[kept.back()], 99001);
  // Fewer points than columns: every point stays.
  const std::vector<double> sx = Ramp(5), sy = Ramp(5, 10);
  EXPECT_THAT(DecimateColumns(sx, sy, {0, 4}, 100), ElementsAre(0, 1, 2, 3, 4));
  EXPECT_TRUE(DecimateColumns({}, {}, {0, 1}, 10).empty());
}

TEST(ChartDataTest, CellDecimationKeepsOnePointPerOccupiedCell) {
  const std::vector<double> x{0.1, 0.2, 5.5, 9.9, 0.15, 20}, y{0.1, 0.1, 5.5, 9.9, 9.0, 1};
  // A 10 x 10 grid over 0..10: points 0 and 1 share a cell, 5 is outside.
  EXPECT_THAT(DecimateCells(x, y, {0, 10}, {0, 10}, 10, 10), ElementsAre(0, 2, 3, 4));
}

TEST(ChartDataTest, FindsTheNearestPointWithinReach) {
  const std::vector<double> x = Ramp(1000), y(1000, 5.0);
  // One key per pixel, 0.1 value per pixel: (500.2, 5.05) is 0.2 and 0.5 pixels from point 500.
  EXPECT_EQ(NearestPoint(x, y, true, 500.2, 5.05, 1, 0.1, 8), 500);
  EXPECT_EQ(NearestPoint(x, y, false, 500.2, 5.05, 1, 0.1, 8), 500);
  EXPECT_EQ(NearestPoint(x, y, true, 500, 7, 1, 0.1, 8), -1);  // 20 pixels above
  EXPECT_EQ(NearestPoint(x, y, true, 2000, 5, 1, 0.1, 8), -1);
}

TEST(ChartDataTest, CsvHoldsExactlyTheVisiblePoints) {
  TimeRec t{};
  t.year = 2024, t.month = 5, t.day = 1, t.hour = 12;
  std::vector<TimeRec> times(6, t);
  for (int i = 0; i < 6; ++i) times[static_cast<size_t>(i)].minute = i;
  const EpochClock clock(times, 18);
  const std::vector<double> x = Ramp(6, 1), a{1, 2, 3, 4, 5, 6}, b{10, 20, 30, 40, 50, 60};
  CsvKeyAxis axis;
  axis.keys = {2, 4.5};
  const std::string csv =
      VisibleCsv({{"C1", "m", x, a, {}, {0, 3}}, {"Elevation, right", "deg", x, b, {}, {0, 100}}},
                 axis, clock);
  EXPECT_EQ(csv,
            "series,epoch,time (GPS),time (UTC),value,unit\n"
            "C1,2,2024-05-01 12:01:00.000,2024-05-01 12:00:42.000,2,m\n"
            "C1,3,2024-05-01 12:02:00.000,2024-05-01 12:01:42.000,3,m\n"
            "\"Elevation, right\",2,2024-05-01 12:01:00.000,2024-05-01 12:00:42.000,20,deg\n"
            "\"Elevation, right\",3,2024-05-01 12:02:00.000,2024-05-01 12:01:42.000,30,deg\n"
            "\"Elevation, right\",4,2024-05-01 12:03:00.000,2024-05-01 12:02:42.000,40,deg\n");
  // A scatter: the key is its own column and the epochs come with the points.
  const std::vector<double> elev{10, 50}, snr{35, 48};
  const std::vector<int32_t> epochs{6, 2};
  CsvKeyAxis scatter{false, "elevation [deg]", {0, 90}};
  EXPECT_EQ(VisibleCsv({{"GPS", "dB-Hz", elev, snr, epochs, {40, 60}}}, scatter, EpochClock()),
            "series,epoch,elevation [deg],value,unit\nGPS,2,50,48,dB-Hz\n");
}

TEST(ChartDataTest, ReadsTheUnitOfAnAxisTitle) {
  EXPECT_EQ(UnitOfTitle("C1 [m]"), "m");
  EXPECT_EQ(UnitOfTitle("Elevation Angle [degrees]"), "degrees");
  EXPECT_EQ(UnitOfTitle("Number of satellites"), "");
}

}  // namespace
}  // namespace vnx
