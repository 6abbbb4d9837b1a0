// The Positions view driven through its controls after a scan: solution types, Pos and Vel,
// the DOP panel and its check boxes.
#include "app/positions_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include "app/item_radio_group.h"
#include "view_test_fixture.h"

namespace vnx::app {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

class PositionsViewTest : public ViewTest {
 protected:
  void ScanAndOpen() {
    ChooseAndScan(RichLog());
    ASSERT_TRUE(Trigger("Positions1"));
  }
  Chart* chart() { return Find<Chart>("ChartPos"); }
  Chart* dops() { return Find<Chart>("ChDops"); }
  ItemRadioGroup* Group(const char* name) { return Find<ItemRadioGroup>(name); }
  QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }
};

TEST_F(PositionsViewTest, OpensOnXOfStandAloneSolutions) {
  ScanAndOpen();
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(Front(), "PPos");
  EXPECT_THAT(Names(chart()),
              ElementsAre("STAND_ALONE", "CODE_DIFF", "PHASE_DIFF_FLOAT", "PHASE_DIFF_FIXED"));
  EXPECT_THAT(Names(dops()), ElementsAre("HDOP", "VDOP", "TDOP", "PDOP", "GDOP"));
  EXPECT_EQ(chart()->SeriesColor(3), QColor(128, 0, 128));
  EXPECT_EQ(dops()->SeriesColor(1), QColor(0, 128, 128));
  EXPECT_EQ(chart()->Title(), "Solutions");
  EXPECT_EQ(Group("RGXYZ")->ItemIndex(), 0);
  EXPECT_EQ(Group("RGPosVel")->ItemIndex(), 0);
  EXPECT_TRUE(Box("CBSolTyp1")->isChecked());
  EXPECT_FALSE(Box("CBSolTyp2")->isChecked());
  EXPECT_TRUE(Find("PDops")->isHidden());
  EXPECT_FALSE(chart()->isHidden());
  EXPECT_THAT(Xs(chart(), 0), ElementsAre(1, 4));
  EXPECT_THAT(Ys(chart(), 0), ElementsAre(101, 104));
  for (int s = 1; s < 4; ++s) EXPECT_EQ(chart()->PointCount(s), 0);
}

TEST_F(PositionsViewTest, TypeBoxesAndVelocity) {
  ScanAndOpen();
  Box("CBSolTyp2")->click();
  Box("CBSolTyp3")->click();
  EXPECT_THAT(Xs(chart(), 1), ElementsAre(2));
  EXPECT_THAT(Xs(chart(), 2), ElementsAre(3));
  Box("CBSolTyp1")->click();
  EXPECT_EQ(chart()->PointCount(0), 0);
  Box("CBSolTyp1")->click();
  Group("RGPosVel")->Click(1);
  // The zero test is on the velocity drawn: epoch 1's X velocity of exactly 0 is not given.
  EXPECT_THAT(Xs(chart(), 0), ElementsAre(4));
  EXPECT_THAT(Ys(chart(), 0), ElementsAre(0.5));
  Group("RGXYZ")->Click(3);
  EXPECT_THAT(Ys(chart(), 1), ElementsAre(static_cast<double>(0.1f)));
  Group("RGXYZ")->Click(5);
  EXPECT_THAT(Ys(chart(), 2), ElementsAre(static_cast<double>(0.1f)));
}

TEST_F(PositionsViewTest, DopHidesTheSolutionControlsUntilAnotherItem) {
  ScanAndOpen();
  Box("CBSolTyp2")->click();
  Group("RGXYZ")->Click(6);
  EXPECT_FALSE(Find("PDops")->isHidden());
  EXPECT_FALSE(Find("GBDops")->isHidden());
  EXPECT_TRUE(chart()->isHidden());
  EXPECT_TRUE(Find("GBSolTyp")->isHidden());
  EXPECT_TRUE(Find("PPosVel")->isHidden());
  EXPECT_TRUE(Box("CBhdop")->isChecked());
  EXPECT_FALSE(Box("CBvdop")->isChecked());
  EXPECT_THAT(Ys(dops(), 0), Each(1.5));
  EXPECT_EQ(dops()->PointCount(2), 0);
  Box("CBtdop")->click();
  EXPECT_THAT(Xs(dops(), 2), ElementsAre(1, 2, 4));  // a zero TDOP is left out
  Box("CBpdop")->click();
  EXPECT_THAT(Ys(dops(), 3), Each(2.5));

  Group("RGXYZ")->Click(1);
  EXPECT_TRUE(Find("PDops")->isHidden());
  EXPECT_FALSE(Find("GBSolTyp")->isHidden());
  EXPECT_TRUE(Box("CBSolTyp2")->isChecked());
  EXPECT_THAT(Ys(chart(), 1), ElementsAre(200));
}

TEST_F(PositionsViewTest, ReopeningResetsTheChoicesAndCloseReturns) {
  ScanAndOpen();
  Box("CBSolTyp2")->click();
  Group("RGXYZ")->Click(6);
  Find<QPushButton>("BBClosePos")->click();
  EXPECT_EQ(Front(), "PView");
  ASSERT_TRUE(Trigger("Positions1"));
  EXPECT_FALSE(Box("CBSolTyp2")->isChecked());
  EXPECT_EQ(Group("RGXYZ")->ItemIndex(), 0);
  EXPECT_TRUE(Find("PDops")->isHidden());
  EXPECT_FALSE(chart()->isHidden());
  EXPECT_EQ(chart()->PointCount(0), 2);
}

}  // namespace
}  // namespace vnx::app
