// The Attitude view: message and chart choices, and which panels they show.
#include "app/attitude_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include "app/chart.h"
#include "app/main_window.h"
#include "support/log_builder.h"
#include "support/scan_fixture.h"
#include "view_test_fixture.h"

namespace vnx::app {
namespace {

using test::LogBuilder;

class AttitudeViewTest : public ViewTest {
 protected:
  bool Shown(const char* name) { return Find(name)->isVisibleTo(Find("PAtt")); }
  int Points(const char* chart, int series) { return Find<Chart>(chart)->PointCount(series); }
  QWidget* FrontOfPmr() {
    return Find<QWidget>("PMR")->findChild<QStackedWidget*>()->currentWidget();
  }

  // "AR" in epochs 1..3, "mr" in epochs 2 and 3 with M-S2 fixed then float.
  static std::string Log(bool withMr) {
    LogBuilder b;
    b.Header().Date(2009, 6, 23);
    for (uint32_t i = 1; i <= 3; ++i) {
      b.Time(i * 1000).Sats({5});
      Payload ar;
      ar.U32(i * 1000).F32(1.0f * i).F32(2.0f).F32(90.0f).F32(0).F32(0).F32(0).U8(1);
      b.Frame("AR", ar);
      if (!withMr || i == 1) continue;
      Payload mr;
      mr.U32(i * 1000).F32(0.5f).F32(0.25f).F32(0.125f).F32(1.0f);
      mr.F32(0.01f).F32(0.02f).F32(0.03f).U8(4).U8(i == 2 ? 4 : 2).U8(4).U8(1);
      for (int k = 0; k < 9; ++k) mr.F32(static_cast<float>(k));
      b.Frame("mr", mr);
    }
    return b.str();
  }

  void ScanAndOpen(bool withMr = true) {
    chosen = QString::fromStdString(dir.Write("a.vnx", Log(withMr)));
    window.ChooseFileByButton();
    window.StartScanByButton();
    ASSERT_TRUE(window.action("Attitude1")->isEnabled());
    window.action("Attitude1")->trigger();
  }
};

TEST_F(AttitudeViewTest, OpensOnTheAttitudeAngles) {
  ScanAndOpen();
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(window.frontPanel()->objectName(), "PAtt");
  EXPECT_TRUE(Find<QRadioButton>("RBAR")->isChecked());
  EXPECT_TRUE(Shown("PAR"));
  EXPECT_FALSE(Shown("PMR"));
  EXPECT_FALSE(Shown("GBMR"));
  EXPECT_EQ(Points("ChPRH", 0), 3);
  EXPECT_EQ(Find<Chart>("ChPRH")->PointY(0, 2), 3.0);
  EXPECT_EQ(Points("ChTimeOfDay", 0), 3);
  EXPECT_EQ(Find<Chart>("ChTimeOfDay")->Title(), "Time of day [s]");
  EXPECT_EQ(Points("ChFlag", 0), 3);
  EXPECT_EQ(Points("ChSolTip", 0) + Points("ChSolTip", 1), 0);
  EXPECT_EQ(Find<Chart>("ChFlag")->SeriesName(1), "Not valid components of Q");
  EXPECT_EQ(Find<Chart>("ChSolTip")->SeriesName(1), "Float   solution types");
}

TEST_F(AttitudeViewTest, BaselineMessagesAndTheirCharts) {
  ScanAndOpen();
  Find<QRadioButton>("RBMR73")->click();
  EXPECT_FALSE(Shown("PAR"));
  EXPECT_TRUE(Shown("PMR"));
  EXPECT_TRUE(Shown("GBMR"));
  EXPECT_TRUE(Shown("RBBLs"));
  EXPECT_TRUE(Find<QRadioButton>("RBBLs")->isChecked());
  EXPECT_EQ(FrontOfPmr()->objectName(), "ChBLs");
  EXPECT_EQ(Points("ChBLs", 0), 2);
  EXPECT_EQ(Points("ChPRH", 0), 0);
  EXPECT_EQ(Points("ChTimeOfDay", 0), 2);
  EXPECT_EQ(Points("ChSolTip", 0), 2);  // M-S1 fixed in both epochs

  Find<QRadioButton>("RBMS2")->click();
  EXPECT_EQ(Points("ChSolTip", 0), 1);  // fixed at epoch 2
  EXPECT_EQ(Find<Chart>("ChSolTip")->PointX(0, 0), 2);
  EXPECT_EQ(Points("ChSolTip", 1), 1);  // float at epoch 3
  EXPECT_EQ(Find<Chart>("ChSolTip")->PointY(1, 0), 0);
  EXPECT_EQ(Find<Chart>("ChBLs")->PointY(0, 0), 3.0);  // M-S2 components 3, 4, 5

  Find<QRadioButton>("RBRMS")->click();
  EXPECT_EQ(FrontOfPmr()->objectName(), "ChRMS");
  EXPECT_EQ(Points("ChRMS", 2), 2);
  EXPECT_EQ(Points("ChBLs", 0), 0);

  Find<QRadioButton>("RBMR37")->click();  // never in this log
  EXPECT_FALSE(Shown("RBBLs"));
  EXPECT_TRUE(Find<QRadioButton>("RBQ")->isChecked());
  EXPECT_EQ(FrontOfPmr()->objectName(), "ChQ");
  EXPECT_EQ(Points("ChQ", 0) + Points("ChTimeOfDay", 0) + Points("ChFlag", 0), 0);

  // Reopening shows the angles again, with "AR" checked.
  window.action("Attitude1")->trigger();
  EXPECT_TRUE(Find<QRadioButton>("RBAR")->isChecked());
  EXPECT_EQ(Points("ChPRH", 0), 3);
  Find<QRadioButton>("RBMR73")->click();
  Find<QRadioButton>("RBAR")->click();
  EXPECT_TRUE(Shown("PAR"));
  EXPECT_FALSE(Shown("PMR"));
  EXPECT_FALSE(Shown("GBMR"));
  EXPECT_EQ(Points("ChPRH", 2), 3);
}

TEST_F(AttitudeViewTest, AttitudeOnlyLogGivesEmptyBaselineCharts) {
  ScanAndOpen(false);
  Find<QRadioButton>("RBMR73")->click();
  EXPECT_EQ(Points("ChBLs", 0) + Points("ChTimeOfDay", 0) + Points("ChSolTip", 0), 0);
  EXPECT_TRUE(messages.isEmpty());
  Find<QPushButton>("BBCloseAtt")->click();
  EXPECT_EQ(window.frontPanel(), window.startPanel());
}

}  // namespace
}  // namespace vnx::app
