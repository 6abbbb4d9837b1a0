// The Satellites view driven through its controls after a scan: the count pass at the summary's
// mask, the relabelled satellite items, the mask entry, the tracks and the mode changes.
#include "app/satellites_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "app/item_radio_group.h"
#include "app/pie_gauge.h"
#include "view_test_fixture.h"

namespace vnx::app {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

class SatellitesViewTest : public ViewTest {
 protected:
  void ScanAndOpen() {
    ChooseAndScan(RichLog());
    ASSERT_TRUE(Trigger("Satellites1"));
  }
  Chart* chart() { return Find<Chart>("ChartSat"); }
  SatellitesView* view() { return Find<SatellitesView>("PSats"); }
  ItemRadioGroup* Group(const char* name) { return Find<ItemRadioGroup>(name); }
  QLineEdit* mask() { return Find<QLineEdit>("EElMask"); }
};

TEST_F(SatellitesViewTest, OpensOnTheCountsAtTheSummarysMask) {
  ScanAndOpen();
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(Front(), "PSats");
  EXPECT_EQ(Group("RGSats")->ItemIndex(), 0);
  EXPECT_EQ(mask()->text(), "-2");  // the lowest elevation seen
  EXPECT_THAT(Names(chart()), ElementsAre("ALL", "GPS", "GLO", "GEO", "GAL"));
  EXPECT_EQ(chart()->SeriesColor(3), QColor(128, 0, 255));
  EXPECT_EQ(chart()->SeriesColor(4), QColor(0xE0, 0x80, 0x00));  // readable on white
  EXPECT_THAT(Xs(chart(), 0), ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(Ys(chart(), 0), Each(4));
  EXPECT_THAT(Ys(chart(), 1), Each(2));
  EXPECT_THAT(Ys(chart(), 2), Each(0.01));
  EXPECT_THAT(Ys(chart(), 3), Each(1.02));
  EXPECT_THAT(Ys(chart(), 4), Each(1.03));
  EXPECT_EQ(chart()->LeftTitle(), "Number of satellites");
  EXPECT_TRUE(Find("PSatGroups")->isHidden());  // the counts chart takes their room
  EXPECT_TRUE(chart()->LegendVisible());
  EXPECT_FALSE(Find<PieGauge>("GAzEl")->isHidden());
  EXPECT_EQ(Find<PieGauge>("GAzEl")->Value(), 0);
  EXPECT_FALSE(Find("PElMask")->isHidden());
  EXPECT_TRUE(Find("UDElMask")->isEnabled());
  EXPECT_TRUE(Find("BBElMask")->isEnabled());
  EXPECT_FALSE(Find("BBVTimeAzEl")->isHidden());
  for (const char* g : {"RGSatGPS", "RGSatGLO", "RGSatGEO", "RGSatGAL"}) {
    EXPECT_FALSE(Group(g)->isEnabled()) << g;
    EXPECT_FALSE(Group(g)->isHidden()) << g;
  }
}

TEST_F(SatellitesViewTest, ItemsOfSatellitesNotSeenReadN) {
  ScanAndOpen();
  EXPECT_EQ(Group("RGSatGPS")->ItemText(4), "5");
  EXPECT_EQ(Group("RGSatGPS")->ItemText(11), "12");
  EXPECT_EQ(Group("RGSatGPS")->ItemText(0), "N");
  EXPECT_EQ(Group("RGSatGPS")->ItemText(31), "N");
  EXPECT_EQ(Group("RGSatGLO")->Count(), 24);
  EXPECT_EQ(Group("RGSatGLO")->ItemText(0), "N");
  EXPECT_EQ(Group("RGSatGEO")->Count(), 19);
  EXPECT_EQ(Group("RGSatGEO")->ItemText(0), "20");
  EXPECT_EQ(Group("RGSatGEO")->ItemText(18), "N");
  EXPECT_EQ(Group("RGSatGAL")->ItemText(4), "5");
  EXPECT_EQ(Group("RGSatGAL")->ItemText(5), "N");
}

TEST_F(SatellitesViewTest, AcceptRecountsAtTheNewMaskOnlyInAll) {
  ScanAndOpen();
  auto* updown = Find<MaskUpDown>("UDElMask");
  updown->Step(-1);  // the summary's mask below the horizon stays reachable
  EXPECT_EQ(mask()->text(), "-3");
  updown->Step(1);
  updown->Step(2);
  EXPECT_EQ(mask()->text(), "0");
  updown->Step(-200);
  EXPECT_EQ(mask()->text(), "-90");
  updown->Step(100);
  EXPECT_EQ(mask()->text(), "10");
  Find<QPushButton>("BBElMask")->click();
  EXPECT_EQ(window.scan().ElevationMask(), 10);
  EXPECT_THAT(Ys(chart(), 0), Each(2));  // 30 and 15 degrees

  Group("RGSats")->Click(1);
  Group("RGSatGPS")->Click(4);
  const std::vector<double> track = Ys(chart(), 0);
  view()->AcceptClick();  // "Elev": the mask changes, nothing is redrawn
  EXPECT_EQ(Ys(chart(), 0), track);
}

TEST_F(SatellitesViewTest, ElevationAndAzimuthTracks) {
  ScanAndOpen();
  Group("RGSats")->Click(1);
  EXPECT_TRUE(Find("PSatGroups")->isVisibleTo(view()));
  EXPECT_FALSE(chart()->LegendVisible());
  EXPECT_TRUE(Find("GAzEl")->isHidden());
  EXPECT_TRUE(Find("PElMask")->isHidden());
  EXPECT_FALSE(Find("UDElMask")->isEnabled());
  EXPECT_FALSE(Find("BBElMask")->isEnabled());
  EXPECT_TRUE(Group("RGSatGEO")->isEnabled());
  EXPECT_EQ(chart()->LeftTitle(), "Elevation [degrees]");
  EXPECT_EQ(chart()->PointCount(0), 0);  // no satellite chosen yet

  Group("RGSatGEO")->Click(0);  // "20" is PRN 120
  EXPECT_EQ(view()->SelectedSystem(), SatSystem::Sbas);
  EXPECT_THAT(Ys(chart(), 0), Each(15));
  Group("RGSatGAL")->Click(4);  // "5" is the Galileo satellite 75
  EXPECT_EQ(Group("RGSatGEO")->ItemIndex(), -1);
  EXPECT_THAT(Xs(chart(), 0), ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(Ys(chart(), 0), Each(5));
  Group("RGSats")->Click(2);
  EXPECT_EQ(chart()->LeftTitle(), "Azimuth [degrees]");
  EXPECT_THAT(Ys(chart(), 0), Each(358));
  Group("RGSatGPS")->Click(1);  // "N": nothing to draw
  EXPECT_EQ(chart()->PointCount(0), 0);
  Group("RGSatGPS")->Click(11);
  EXPECT_THAT(Ys(chart(), 0), Each(100));
  Group("RGSats")->Click(1);
  EXPECT_THAT(Ys(chart(), 0), Each(-2));  // the mask does not apply to tracks

  Group("RGSats")->Click(0);
  EXPECT_TRUE(Find("PSatGroups")->isHidden());
  EXPECT_TRUE(chart()->LegendVisible());
  EXPECT_FALSE(Group("RGSatGPS")->isEnabled());
  EXPECT_EQ(chart()->PointCount(4), 4);
}

TEST_F(SatellitesViewTest, CloseReturnsToTheStartPanel) {
  ScanAndOpen();
  Find<QPushButton>("BBCloseSat")->click();
  EXPECT_EQ(Front(), "PView");
  EXPECT_EQ(chart()->PointCount(0), 0);
  ASSERT_TRUE(Trigger("Satellites1"));  // reopening counts again
  EXPECT_EQ(chart()->PointCount(0), 4);
}

TEST_F(SatellitesViewTest, WithoutElevationsTheSummaryDisablesTheMaskEdit) {
  test::LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (int i = 1; i <= 3; ++i) b.Time(i * 1000).Sats({5, 12});
  ChooseAndScan(b.str());
  EXPECT_FALSE(mask()->isEnabled());
  EXPECT_FALSE(Find("UDElMask")->isEnabled());
  ASSERT_TRUE(Trigger("Satellites1"));
  EXPECT_EQ(mask()->text(), "0");
  // Satellites without an elevation are never counted above any mask; the view says how many.
  EXPECT_THAT(Ys(chart(), 0), Each(0));
  EXPECT_EQ(Find<QLabel>("STWithoutElevation")->text(),
            "Not counted: 2 satellites without elevation (6 satellite records)");
}

TEST_F(SatellitesViewTest, MissingElevationIsNeitherCountedNorDrawn) {
  test::LogBuilder b;
  b.Header().Date(2009, 6, 23);
  // GPS 12's elevation is the "missing" value in epoch 2; GPS 7 never has one.
  b.Time(1000).Sats({5, 12, 7}).Elevations({30, 20, 127});
  b.Time(2000).Sats({5, 12, 7}).Elevations({31, 127, 127});
  b.Time(3000).Sats({5, 12, 7}).Elevations({32, 22, 127});
  ChooseAndScan(b.str());
  ASSERT_TRUE(Trigger("Satellites1"));
  EXPECT_EQ(mask()->text(), "20");
  EXPECT_THAT(Ys(chart(), 0), ElementsAre(2, 1, 2));
  EXPECT_EQ(Find<QLabel>("STWithoutElevation")->text(),
            "Not counted: 2 satellites without elevation (4 satellite records)");
  Group("RGSats")->Click(1);
  Group("RGSatGPS")->Click(11);  // GPS 12
  EXPECT_THAT(Xs(chart(), 0), ElementsAre(1, 3));
  EXPECT_THAT(Ys(chart(), 0), ElementsAre(20, 22));
  EXPECT_EQ(Find<QLabel>("STWithoutElevation")->text(), "");
  Group("RGSatGPS")->Click(6);  // GPS 7: no elevation at all
  EXPECT_EQ(chart()->PointCount(0), 0);
}

TEST_F(SatellitesViewTest, MissingWorkingFileIsReported) {
  ChooseAndScan(RichLog());
  std::remove(WorkPath(vnx::WorkFile::SVRecs).c_str());
  ASSERT_TRUE(Trigger("Satellites1"));
  EXPECT_THAT(messages, ElementsAre("Error Opening File SVRecs.dat ! "));
  EXPECT_EQ(chart()->PointCount(0), 0);
}

}  // namespace
}  // namespace vnx::app
