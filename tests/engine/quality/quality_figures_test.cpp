// The quality report's tables, summary and chart lines as the view and the HTML report show
// them, on reports made by hand.
#include "engine/quality/quality_figures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vnx {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::Pair;

QualitySatellite Sat(SatSystem system, int number, int64_t observed, int64_t expected) {
  QualitySatellite q;
  q.system = system;
  q.number = number;
  q.name = QualitySatelliteName(system, number);
  q.epochsSeen = observed;
  q.observed = observed;
  q.expected = expected;
  return q;
}

// G01 with MP1 0.3 m over 100 points, a slip at epoch 42 and C/A signal strength 40;
// R07 with nothing but its records; E11 never seen nor expected (left out).
QualityReport Report() {
  QualityReport r;
  QualitySatellite g = Sat(SatSystem::Gps, 1, 90, 100);
  g.mp1 = {100, 100 * 0.09};
  g.slips = {{42, 0, true, false}, {77, 0, false, true}};
  g.snr[0].Add(40);
  QualitySatellite glo = Sat(SatSystem::Glonass, 7, 50, 0);
  QualitySatellite e = Sat(SatSystem::Galileo, 11, 0, 0);
  r.satellites = {g, glo, e};
  r.System(SatSystem::Gps).satellites = 1;
  r.System(SatSystem::Glonass).satellites = 1;
  r.total.satellites = 2;
  r.total.slips = 2;
  return r;
}

std::vector<std::string> Column(const QualityTable& t, size_t c) {
  std::vector<std::string> out;
  for (const auto& row : t.rows) out.push_back(row.at(c).text);
  return out;
}

TEST(QualityFigures, SatelliteTableRowsAndMissingFigures) {
  const QualityTable t = QualitySatelliteTable(Report());
  EXPECT_THAT(t.columns, ElementsAre("Sat", "Observed", "Expected", "Completeness %", "MP1 RMS m",
                                     "MP2 RMS m", "Slips", "Slip epochs", "CA/S1 dB-Hz"));
  EXPECT_THAT(Column(t, 0), ElementsAre("G01", "R07"));
  EXPECT_THAT(Column(t, 3), ElementsAre("90.0", kNoFigure));
  EXPECT_THAT(Column(t, 4), ElementsAre("0.300", kNoFigure));
  EXPECT_THAT(Column(t, 6), ElementsAre("2", "0"));
  EXPECT_THAT(Column(t, 7), ElementsAre("42, 77", ""));
  EXPECT_THAT(Column(t, 8), ElementsAre("40.0", kNoFigure));
  EXPECT_FALSE(t.rows[1][4].number.has_value());
}

TEST(QualityFigures, Mp5ColumnOnlyWhenTheLogHasIt) {
  QualityReport r = Report();
  r.total.mp5 = {10, 0.1};
  const QualityTable sats = QualitySatelliteTable(r), systems = QualitySystemTable(r);
  EXPECT_EQ(sats.columns[6], "MP5 RMS m");
  EXPECT_THAT(systems.columns,
              ElementsAre("System", "Satellites", "Observed", "Expected", "Completeness %",
                          "MP1 RMS m", "MP2 RMS m", "MP5 RMS m", "Slips"));
  EXPECT_THAT(Column(systems, 0), ElementsAre("GPS", "GLO", "All"));
}

// Numbers sort as numbers, missing figures last in either direction, ties in table order.
TEST(QualityFigures, SortedRows) {
  QualityTable t;
  t.columns = {"v"};
  for (std::optional<double> v :
       {std::optional<double>(10), std::optional<double>(), {9}, {}, {10}, {-1}})
    t.rows.push_back({{"", v}});
  struct Case {
    bool ascending;
    std::vector<size_t> order;
  } cases[] = {{true, {5, 2, 0, 4, 1, 3}}, {false, {0, 4, 2, 5, 1, 3}}};
  for (const Case& c : cases) EXPECT_EQ(SortedRows(t, 0, c.ascending), c.order) << c.ascending;
}

TEST(QualityFigures, SatColumnSortsInTheReportsOrder) {
  const QualityTable t = QualitySatelliteTable(Report());
  EXPECT_THAT(SortedRows(t, 0, false), ElementsAre(1, 0));
  EXPECT_THAT(SortedRows(t, 7, true), ElementsAre(0, 1));  // slip epochs: none last
}

TEST(QualityFigures, SummaryNamesEveryFigure) {
  QualityReport r = Report();
  r.clockJumps = {{5, 1e9, 1}};
  r.withoutEphemeris = {"E11"};
  r.message = "The working files cannot be opened";
  std::vector<std::string> captions;
  for (const auto& [caption, text] : QualitySummaryFigures(r)) captions.push_back(caption);
  EXPECT_THAT(captions, ElementsAre("Epochs", "Elevation mask", "Receiver position", "Completeness",
                                    "MP1 RMS / MP2 RMS", "Cycle slips", "Receiver clock jumps",
                                    "Observed without ephemeris", "Analysis stopped"));
  EXPECT_EQ(QualitySummaryFigures(r)[6].second.rfind("1; epoch 5 (", 0), 0u);
}

TEST(QualityFigures, BinLinesLeaveOutThinBins) {
  QualityReport r = Report();
  r.total.mp1Bins[2] = {kMinBinPoints, kMinBinPoints * 0.04};
  r.total.mp1Bins[3] = {kMinBinPoints - 1, 1};
  r.total.mp2Bins[2] = {kMinBinPoints, kMinBinPoints * 0.09};
  r.total.snrBins[0][4].Add(40);
  for (int i = 0; i < kMinBinPoints; ++i) r.total.snrBins[0][5].Add(44);
  const auto mp = MultipathBinLines(r);
  ASSERT_EQ(mp.size(), 2u);
  EXPECT_THAT(mp[0].points, ElementsAre(Pair(12.5, DoubleNear(0.2, 1e-12))));
  EXPECT_THAT(mp[1].points, ElementsAre(Pair(12.5, DoubleNear(0.3, 1e-12))));
  const auto snr = SnrBinLines(r);
  ASSERT_EQ(snr.size(), 1u);
  EXPECT_EQ(snr[0].label, "CA/S1 mean");
  EXPECT_THAT(snr[0].points, ElementsAre(std::pair<double, double>(55, 44)));
}

// Three times the points' RMS, at least 0.5 m, up to whole ticks.
TEST(QualityFigures, MultipathChartScale) {
  struct Case {
    float value;
    double scale, tick;
  } cases[] = {{0.1f, 0.6, 0.2}, {0.5f, 1.5, 0.5}, {1.0f, 3.0, 1.0}};
  for (const Case& c : cases) {
    QualityReport r;
    r.charts.multipath = {{30, c.value, 0, 0}, {40, -c.value, 0, 1}};
    const ChartScale s = MultipathChartScale(r);
    EXPECT_NEAR(s.scale, c.scale, 1e-9) << c.value;
    EXPECT_EQ(s.tick, c.tick) << c.value;
  }
}

}  // namespace
}  // namespace vnx
