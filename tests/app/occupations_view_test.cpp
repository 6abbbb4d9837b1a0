// The Occupations view after a scan: the list, the static/kinematic band and the failure that
// keeps the view closed.
#include "app/occupations_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>
#include <cstdio>

#include "view_test_fixture.h"

namespace vnx::app {
namespace {

using ::testing::ElementsAre;

class OccupationsViewTest : public ViewTest {
 protected:
  Chart* chart() { return Find<Chart>("ChOccup"); }
  // Each row's cells joined with "|", after the headings' row.
  QStringList Lines() {
    auto* table = Find<QTableWidget>("LBOccup");
    QStringList headings, l;
    for (int c = 0; c < table->columnCount(); ++c)
      headings << table->horizontalHeaderItem(c)->text();
    l << headings.join("|");
    for (int r = 0; r < table->rowCount(); ++r) {
      QStringList cells;
      for (int c = 0; c < table->columnCount(); ++c) cells << table->item(r, c)->text();
      l << cells.join("|");
    }
    return l;
  }
};

TEST_F(OccupationsViewTest, ListsTheChangesAndDrawsTheBand) {
  ChooseAndScan(RichLog());
  ASSERT_TRUE(Trigger("Occupations1"));
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(Front(), "POccup");
  EXPECT_THAT(
      Lines(),
      ElementsAre("#|Marker Name|Marker Number|Antenna Offset|Is Slant|Is Static|Epoch number",
                  "1|-Unknown-|-Unknown-|0.0000|no|yes|1", "2|BASE1|Unknown|0.0000|no|yes|2",
                  "3|BASE1|Unknown|0.0000|no|no|3"));
  EXPECT_THAT(Names(chart()), ElementsAre("Static", "Kinematic"));
  EXPECT_EQ(chart()->SeriesColor(0), QColor(0, 150, 150));
  EXPECT_THAT(Xs(chart(), 0), ElementsAre(1, 2));
  EXPECT_THAT(Xs(chart(), 1), ElementsAre(3, 4));
  EXPECT_THAT(Ys(chart(), 1), ElementsAre(0, 0));
  EXPECT_FALSE(chart()->LeftAutomatic());
  EXPECT_EQ(chart()->LeftMin(), -1);
  EXPECT_EQ(chart()->LeftMax(), 1);
  EXPECT_EQ(chart()->LeftTitle(), "-Unknown-");  // no receiver ID in the log

  Find<QPushButton>("BBCloseOcc")->click();
  EXPECT_EQ(Front(), "PView");
}

TEST_F(OccupationsViewTest, UnreadableEpochFileKeepsTheViewClosed) {
  ChooseAndScan(RichLog());
  std::remove(WorkPath(vnx::WorkFile::DataEpochs).c_str());
  ASSERT_TRUE(Trigger("Occupations1"));
  EXPECT_THAT(messages, ElementsAre("Error Opening File DataEpochs.dat ! "));
  EXPECT_NE(Front(), "POccup");
}

TEST_F(OccupationsViewTest, CalculatorButtonsOfTheFourViewsOpenTheCalculator) {
  ChooseAndScan(RichLog());
  struct Case {
    const char* item;
    const char* button;
  } cases[] = {{"Satellites1", "BBVTimeAzEl"},
               {"Positions1", "BitBtn30"},
               {"Externalevents1", "BitBtn32"},
               {"Occupations1", "BitBtn31"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Trigger(c.item)) << c.item;
    auto* button = Find<QPushButton>(c.button);
    EXPECT_EQ(button->toolTip(), "Epoch number --> time calculator");
    button->click();
    QWidget* calculator = Find("FormTime");
    EXPECT_TRUE(calculator->isVisible()) << c.button;
    calculator->hide();
  }
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

}  // namespace
}  // namespace vnx::app
