// The observable and smoothing charts of one satellite read back from the working files.
#include "engine/views/measurements_series.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/views/record_files.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

constexpr uint8_t kGps = 1, kGlo = 2, kSbas = 3, kGal = 4;
const SelectedSatellite kGpsPrn1{SatSystem::Gps, 1};

// Every value of every signal block distinct: value = 1000 * (signal + 1) + kind.
void FillAllSignals(SvRec& sv) {
  for (int s = 0; s < kSignalCount; ++s) {
    SignalBlock& b = sv.sig[s];
    for (int k = 0; k < 5; ++k) b.present[k] = 1;
    const double base = 1000.0 * (s + 1);
    b.range = base + int{kRange};
    b.smoothing = static_cast<float>(base + int{kSmoothing});
    b.phase = base + int{kPhase};
    b.doppler = static_cast<float>(base + int{kDoppler});
    b.snr = static_cast<float>(base + int{kSnr});
  }
}

struct ItemCase {
  int item;
  const char* title;
  double value;  // from FillAllSignals: the signal block and the quantity of the item
};

TEST(MeasurementsSeriesTest, EveryObservableItemTakesItsSignalAndQuantity) {
  RecordFiles files;
  files.AddEpoch();
  FillAllSignals(files.AddSat(1, kGps));
  files.Write();
  // Blocks: 0 C/A L1, 1 P L1, 2 P L2, 3 C/A L2, 4 L5.
  const ItemCase cases[] = {
      {0, "C1 [m]", 1000},         {1, "C2 [m]", 4000},         {2, "C5 [m]", 5000},
      {3, "P1 [m]", 2000},         {4, "P2 [m]", 3000},         {5, "CA/L1 [cycles]", 1002},
      {6, "L1 [cycles]", 2002},    {7, "CA/L2 [cycles]", 4002}, {8, "L2 [cycles]", 3002},
      {9, "L5 [cycles]", 5002},    {10, "CA/D1 [Hz]", 1003},    {11, "D1 [Hz]", 2003},
      {12, "CA/D2 [Hz]", 4003},    {13, "D2 [Hz]", 3003},       {14, "D5 [Hz]", 5003},
      {15, "CA/S1 [dB*Hz]", 1004}, {16, "S1 [dB*Hz]", 2004},    {17, "CA/S2 [dB*Hz]", 4004},
      {18, "S2 [dB*Hz]", 3004},    {19, "S5 [dB*Hz]", 5004},
  };
  for (const ItemCase& c : cases) {
    const MeasurementChart chart = DrawObservableChart(files.Source(), kGpsPrn1, c.item);
    EXPECT_EQ(chart.title, c.title);
    EXPECT_EQ(ObservableItems()[static_cast<size_t>(c.item)].Title(), std::string(c.title));
    EXPECT_THAT(chart.values.y, ElementsAre(c.value)) << c.title;
    EXPECT_EQ(chart.rightTitle, "");
    EXPECT_TRUE(chart.drawn && chart.complete);
  }
}

TEST(MeasurementsSeriesTest, SmoothingItemsTakeTheCorrectionOfTheirPseudorange) {
  RecordFiles files;
  files.AddEpoch();
  FillAllSignals(files.AddSat(1, kGps));
  files.Write();
  const ItemCase cases[] = {{0, "C1 smoothing correction [m]", 1001},
                            {1, "C2 smoothing correction [m]", 4001},
                            {2, "C5 smoothing correction [m]", 5001},
                            {3, "P1 smoothing correction [m]", 2001},
                            {4, "P2 smoothing correction [m]", 3001}};
  for (const ItemCase& c : cases) {
    const MeasurementChart chart = DrawSmoothingChart(files.Source(), kGpsPrn1, c.item);
    EXPECT_EQ(chart.title, c.title);
    EXPECT_THAT(chart.values.y, ElementsAre(c.value)) << c.title;
  }
}

TEST(MeasurementsSeriesTest, PointsOnlyWhereTheSatelliteIsSeenWithItsFlag) {
  RecordFiles files;
  for (int i = 1; i <= 6; ++i) {
    files.AddEpoch();
    files.AddSat(7, kGps);
    if (i == 2 || i == 5 || i == 6) {
      SvRec& sv = files.AddSat(1, kGps);
      sv.sig[0].present[kRange] = i != 6;  // epoch 6: seen without C1
      sv.sig[0].range = 2e7 + i;
    }
    files.AddSat(1, kGlo).sig[0].present[kRange] = 1;  // GLONASS slot 1: another satellite
  }
  files.Write();
  const MeasurementChart chart = DrawObservableChart(files.Source(), kGpsPrn1, 0);
  EXPECT_THAT(chart.values.x, ElementsAre(2, 5));
  EXPECT_THAT(chart.values.y, ElementsAre(2e7 + 2, 2e7 + 5));
  EXPECT_TRUE(chart.elevations.empty());
  EXPECT_EQ(chart.message, "");
}

TEST(MeasurementsSeriesTest, ItemsStandForTheirSystemsNumbers) {
  EXPECT_EQ(SelectedSatellite::OfItem(SatSystem::Gps, 0).number, 1);
  EXPECT_EQ(SelectedSatellite::OfItem(SatSystem::Glonass, 23).number, 24);
  EXPECT_EQ(SelectedSatellite::OfItem(SatSystem::Sbas, 0).number, 120);  // item "20"
  EXPECT_EQ(SelectedSatellite::OfItem(SatSystem::Sbas, 18).number, 138);
  EXPECT_EQ(SelectedSatellite::OfItem(SatSystem::Galileo, 0).number, 71);  // item "1"

  RecordFiles files;
  files.AddEpoch();
  for (uint8_t sys : {kGps, kGlo, kSbas, kGal}) {
    for (uint8_t number : {1, 20, 71, 120}) {
      SvRec& sv = files.AddSat(number, sys);
      sv.sig[0].present[kSnr] = 1;
      sv.sig[0].snr = sys * 1000.0f + number;
    }
  }
  files.Write();
  auto snr = [&](SatSystem g, int index) {
    return DrawObservableChart(files.Source(), SelectedSatellite::OfItem(g, index), 15).values.y;
  };
  EXPECT_THAT(snr(SatSystem::Sbas, 0), ElementsAre(3120));
  EXPECT_THAT(snr(SatSystem::Galileo, 0), ElementsAre(4071));
  EXPECT_THAT(snr(SatSystem::Glonass, 19), ElementsAre(2020));
}

TEST(MeasurementsSeriesTest, NoItemGivesNoTitleAndNoPoints) {
  RecordFiles files;
  files.AddEpoch();
  FillAllSignals(files.AddSat(1, kGps));
  files.Write();
  const MeasurementChart chart = DrawObservableChart(files.Source(), kGpsPrn1, -1);
  EXPECT_TRUE(chart.drawn);
  EXPECT_EQ(chart.title, "");
  EXPECT_TRUE(chart.values.empty());
}

TEST(MeasurementsSeriesTest, GaugeEveryTwoThousandEpochs) {
  RecordFiles files;
  for (int i = 0; i < 4001; ++i) files.AddEpoch();
  files.Write();
  std::vector<int> gauge;
  const MeasurementChart chart =
      DrawObservableChart(files.Source(), kGpsPrn1, 0, [&](int p) { gauge.push_back(p); });
  EXPECT_THAT(gauge, ElementsAre(49, 99));  // truncated: 2000/4001, 4000/4001
  EXPECT_TRUE(chart.complete);
  EXPECT_FALSE(chart.rightTitle.has_value());  // no satellite record was read
}

TEST(MeasurementsSeriesTest, RecordsBehindTheScansCountAreNotRead) {
  RecordFiles files;
  for (int i = 0; i < 3; ++i) files.AddEpoch().satsWritten = 0;
  for (int i = 0; i < 3; ++i) files.AddSat(1, kGps).sig[0].present[kRange] = 1;
  files.Write();
  const MeasurementChart chart = DrawObservableChart(files.Source(2), kGpsPrn1, 0);
  EXPECT_TRUE(chart.values.empty());  // the third epoch belongs to an earlier scan
  EXPECT_TRUE(chart.complete);
}

class MeasurementsFailureTest : public ::testing::Test {
 protected:
  MeasurementsFailureTest() {
    for (int i = 1; i <= 4; ++i) {
      files.AddEpoch();
      files.AddSat(1, kGps).sig[0].present[kRange] = 1;
      files.AddSat(2, kGps);
    }
    files.Write();
  }
  RecordFiles files;
};

TEST_F(MeasurementsFailureTest, NoEpochsDrawsNothing) {
  const MeasurementChart chart = DrawObservableChart(files.Source(0), kGpsPrn1, 0);
  EXPECT_FALSE(chart.drawn);
  EXPECT_EQ(chart.message, "");
}

TEST_F(MeasurementsFailureTest, MissingFilesLeaveTheChart) {
  ChartSource noSv = files.Source();
  noSv.svRecsPath += ".gone";
  MeasurementChart chart = DrawObservableChart(noSv, kGpsPrn1, 0);
  EXPECT_EQ(chart.message, "Error Opening File SVRecs.dat ! ");
  EXPECT_FALSE(chart.drawn);
  EXPECT_EQ(chart.title, "");

  ChartSource noEpochs = files.Source();
  noEpochs.dataEpochsPath += ".gone";
  chart = DrawSmoothingChart(noEpochs, kGpsPrn1, 0);
  EXPECT_EQ(chart.message, "Error Opening File DataEpochs.dat ! ");
  EXPECT_FALSE(chart.drawn);
}

TEST_F(MeasurementsFailureTest, EmptyEpochFileDrawsNothing) {
  files.Truncate(files.EpochsPath(), 0);
  const MeasurementChart chart = DrawObservableChart(files.Source(), kGpsPrn1, 0);
  EXPECT_EQ(chart.message, "Unexpected end of file Epochs");
  EXPECT_FALSE(chart.drawn);
  EXPECT_EQ(chart.title, "");
}

TEST_F(MeasurementsFailureTest, ShortFilesKeepThePointsSoFar) {
  files.Truncate(files.EpochsPath(), 2 * sizeof(EpochRec) + 100);
  MeasurementChart chart = DrawObservableChart(files.Source(), kGpsPrn1, 0);
  EXPECT_EQ(chart.message, "Unexpected end of file Epochs");
  EXPECT_TRUE(chart.drawn);
  EXPECT_FALSE(chart.complete);
  EXPECT_EQ(chart.title, "C1 [m]");
  EXPECT_THAT(chart.values.x, ElementsAre(1, 2));

  files.Write();
  files.Truncate(files.SvPath(), 5 * sizeof(SvRec));  // epoch 3 has its first record only
  chart = DrawObservableChart(files.Source(), kGpsPrn1, 0);
  EXPECT_EQ(chart.message, "Unexpected end of file SVs");
  EXPECT_FALSE(chart.complete);
  EXPECT_THAT(chart.values.x, ElementsAre(1, 2, 3));
}

}  // namespace
}  // namespace vnx::test
