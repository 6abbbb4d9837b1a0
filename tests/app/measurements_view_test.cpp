// The Measurements view and its combinations panel driven through their controls.
#include "app/measurements_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QPushButton>

#include "app/chart.h"
#include "app/item_radio_group.h"
#include "app/main_window.h"
#include "support/log_builder.h"
#include "support/scan_fixture.h"
#include "view_test_fixture.h"

namespace vnx::app {
namespace {

using test::LogBuilder;

constexpr double kC = 299792458.0;

class MeasurementsViewTest : public ViewTest {
 protected:
  ItemRadioGroup* Group(const char* name) { return Find<ItemRadioGroup>(name); }
  Chart* chart() { return Find<Chart>("ChMeasurs"); }
  MeasurementsView* view() { return Find<MeasurementsView>("PMeasurs"); }
  std::vector<double> Ys(int series) {
    std::vector<double> y;
    for (int i = 0; i < chart()->PointCount(series); ++i) y.push_back(chart()->PointY(series, i));
    return y;
  }
  std::vector<double> Xs(int series) {
    std::vector<double> x;
    for (int i = 0; i < chart()->PointCount(series); ++i) x.push_back(chart()->PointX(series, i));
    return x;
  }

  // GPS PRN 1 and 5 and SBAS PRN 120 with C/A and P2 codes and phases; PRN 1 misses epoch 2.
  static std::string Log() {
    LogBuilder b;
    b.Header().Date(2009, 6, 23);
    for (uint32_t i = 1; i <= 3; ++i) {
      std::vector<uint8_t> usi = {5, 120};
      if (i != 2) usi.insert(usi.begin(), 1);
      b.Time(i * 1000).Sats(usi);
      Payload rc, r2, pc, p2, el;
      for (size_t k = 0; k < usi.size(); ++k) {
        rc.F64(0.07 + usi[k] * 1e-5 + i * 1e-9);
        r2.F64(0.07 + usi[k] * 1e-5 + i * 1e-9 + 1e-8);
        pc.F64(1.0e8 + usi[k] + i);
        p2.F64(0.8e8 + usi[k] + i);
        el.I8(static_cast<int8_t>(10 + usi[k] % 50));
      }
      b.Frame("RC", rc).Frame("R2", r2).Frame("PC", pc).Frame("P2", p2).Frame("EL", el);
    }
    return b.str();
  }

  void ScanAndOpen() {
    chosen = QString::fromStdString(dir.Write("m.vnx", Log()));
    window.ChooseFileByButton();
    window.StartScanByButton();
    ASSERT_TRUE(window.action("Measurements1")->isEnabled());
    window.action("Measurements1")->trigger();
  }
};

TEST_F(MeasurementsViewTest, OpeningDrawsC1OfGpsPrn1) {
  ScanAndOpen();
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(window.frontPanel()->objectName(), "PMeasurs");
  EXPECT_EQ(chart()->Title(), "C1 [m]");
  EXPECT_THAT(Xs(0), ::testing::ElementsAre(1, 3));  // PRN 1 is not in epoch 2
  ASSERT_EQ(chart()->PointCount(0), 2);
  EXPECT_NEAR(chart()->PointY(0, 0), (0.07 + 1e-5 + 1e-9) * kC, 1e-3);
  EXPECT_EQ(chart()->PointCount(1), 0);
  EXPECT_EQ(chart()->SeriesName(0), "CA");
  EXPECT_EQ(chart()->SeriesColor(0), QColor(0, 160, 0));
  EXPECT_EQ(chart()->SeriesName(1), "Elevation");
  EXPECT_EQ(Group("RGMGPS")->ItemIndex(), 0);
  EXPECT_EQ(Group("RGMGLO")->ItemIndex(), -1);
  EXPECT_EQ(Group("RGMeasurs")->ItemText(Group("RGMeasurs")->ItemIndex()), "C1");
  EXPECT_TRUE(view()->MeasurementMode());
  EXPECT_EQ(Find<QPushButton>("BitBtn29")->toolTip(), "Epoch number --> time calculator");
}

TEST_F(MeasurementsViewTest, SatellitesNotInTheFileReadN) {
  ScanAndOpen();
  ItemRadioGroup* gps = Group("RGMGPS");
  EXPECT_EQ(gps->ItemText(0), "1");
  EXPECT_EQ(gps->ItemText(1), "N");
  EXPECT_EQ(gps->ItemText(4), "5");
  EXPECT_EQ(Group("RGMGEO")->ItemText(0), "20");
  EXPECT_EQ(Group("RGMGEO")->ItemText(1), "N");
  EXPECT_EQ(Group("RGMGLO")->ItemText(0), "N");
  // An "N" item clears the chart and draws nothing.
  gps->Click(1);
  EXPECT_EQ(chart()->PointCount(0), 0);
  EXPECT_EQ(gps->ItemIndex(), 1);
}

TEST_F(MeasurementsViewTest, SatelliteClicksAndSwitchingToSmoothing) {
  ScanAndOpen();
  Group("RGMGEO")->Click(0);  // SBAS PRN 120
  EXPECT_EQ(Group("RGMGPS")->ItemIndex(), -1);
  EXPECT_EQ(view()->SelectedSystem(), SatSystem::Sbas);
  EXPECT_THAT(Xs(0), ::testing::ElementsAre(1, 2, 3));
  EXPECT_NEAR(Ys(0)[1], (0.07 + 120e-5 + 2e-9) * kC, 1e-3);

  Group("RGMeasurs")->Click(5);  // CA/L1
  EXPECT_EQ(chart()->Title(), "CA/L1 [cycles]");
  EXPECT_THAT(Ys(0), ::testing::ElementsAre(1.0e8 + 121, 1.0e8 + 122, 1.0e8 + 123));

  Group("RGSmooth")->Click(0);  // "Yes"
  EXPECT_FALSE(Group("RGMeasurs")->isVisibleTo(view()));
  EXPECT_TRUE(Group("RGMeasSmooth")->isVisibleTo(view()));
  EXPECT_EQ(chart()->Title(), "C1 smoothing correction [m]");
  EXPECT_EQ(chart()->PointCount(0), 0);  // no smoothing corrections in the log
  Group("RGSmooth")->Click(1);           // "No"
  EXPECT_TRUE(Group("RGMeasurs")->isVisibleTo(view()));
  EXPECT_FALSE(Group("RGMeasSmooth")->isVisibleTo(view()));
  EXPECT_EQ(chart()->Title(), "CA/L1 [cycles]");
  EXPECT_EQ(chart()->PointCount(0), 3);

  // Reopened while "Yes" was chosen: the raw "C1" drawn, and the controls say so.
  Group("RGSmooth")->Click(0);
  window.action("Measurements1")->trigger();
  EXPECT_EQ(Group("RGSmooth")->ItemIndex(), 1);
  EXPECT_TRUE(Group("RGMeasurs")->isVisibleTo(view()));
  EXPECT_FALSE(Group("RGMeasSmooth")->isVisibleTo(view()));
  EXPECT_EQ(chart()->Title(), "C1 [m]");
}

TEST_F(MeasurementsViewTest, CombinationsOkAndCancel) {
  ScanAndOpen();
  auto* panel = Find<QFrame>("PCombObs");
  EXPECT_FALSE(panel->isVisibleTo(view()));
  Find<QPushButton>("BBComObs")->click();
  EXPECT_TRUE(panel->isVisibleTo(view()));
  Find<QPushButton>("BBCloseComObs")->click();  // Cancel: nothing else changes
  EXPECT_FALSE(panel->isVisibleTo(view()));
  EXPECT_TRUE(view()->MeasurementMode());
  EXPECT_EQ(chart()->Title(), "C1 [m]");
  EXPECT_EQ(chart()->PointCount(0), 2);

  Find<QPushButton>("BBComObs")->click();
  Group("RGComObs")->Click(3);
  Find<QPushButton>("BBOkComObs")->click();
  EXPECT_FALSE(panel->isVisibleTo(view()));
  EXPECT_FALSE(view()->MeasurementMode());
  EXPECT_EQ(Group("RGMeasurs")->ItemIndex(), -1);
  EXPECT_EQ(chart()->Title(), "Multipath for P2 [m]");
  EXPECT_EQ(chart()->RightTitle(), "Elevation Angle [degrees]");
  EXPECT_THAT(Xs(0), ::testing::ElementsAre(1, 3));
  EXPECT_THAT(Ys(1), ::testing::ElementsAre(11, 11));  // PRN 1: elevation 10 + 1

  // In combination mode a satellite click draws the combination of that satellite.
  Group("RGMGPS")->Click(4);
  EXPECT_EQ(chart()->Title(), "Multipath for P2 [m]");
  EXPECT_THAT(Xs(1), ::testing::ElementsAre(1, 2, 3));
  // SBAS: elevations only, no multipath.
  Group("RGMGEO")->Click(0);
  EXPECT_EQ(chart()->PointCount(0), 0);
  EXPECT_EQ(chart()->PointCount(1), 3);

  // An observable click goes back to observables for the same satellite.
  Group("RGMeasurs")->Click(0);
  EXPECT_TRUE(view()->MeasurementMode());
  EXPECT_EQ(chart()->Title(), "C1 [m]");
  EXPECT_EQ(chart()->RightTitle(), "");
  EXPECT_EQ(chart()->PointCount(0), 3);
  EXPECT_EQ(chart()->PointCount(1), 0);
}

TEST_F(MeasurementsViewTest, OkWithSbasSelectedWaitsForASatelliteClick) {
  ScanAndOpen();
  Group("RGMGEO")->Click(0);
  ASSERT_EQ(chart()->PointCount(0), 3);
  Find<QPushButton>("BBComObs")->click();
  Group("RGComObs")->Click(0);
  Find<QPushButton>("BBOkComObs")->click();
  EXPECT_EQ(chart()->PointCount(0), 0);
  EXPECT_EQ(chart()->Title(), "C1 [m]");  // nothing drawn yet
  Group("RGMGEO")->Click(0);
  EXPECT_EQ(chart()->Title(), "Pseudorange Dual-frequency Ionosphere (Geometry-free) [m]");
  ASSERT_EQ(chart()->PointCount(0), 3);
  EXPECT_NEAR(chart()->PointY(0, 0), -1e-8 * kC, 1e-3);
  Find<QPushButton>("BBCloseMeas")->click();
  EXPECT_EQ(window.frontPanel(), window.startPanel());
}

}  // namespace
}  // namespace vnx::app
