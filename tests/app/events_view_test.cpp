// The External events view driven through its check boxes after a scan.
#include "app/events_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <cstdio>

#include "view_test_fixture.h"

namespace vnx::app {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

class EventsViewTest : public ViewTest {
 protected:
  void ScanAndOpen() {
    ChooseAndScan(RichLog());
    ASSERT_TRUE(Trigger("Externalevents1"));
  }
  Chart* intervals() { return Find<Chart>("ChartEvents"); }
  Chart* offsets() { return Find<Chart>("ChartZAZB"); }
  QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }
};

TEST_F(EventsViewTest, OpensOnXaIntervalsAndZaOffsets) {
  ScanAndOpen();
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(Front(), "PEvents");
  EXPECT_EQ(intervals()->Title(), "External Events   (T[i+1]-T[i]) [ms]");
  EXPECT_EQ(offsets()->Title(), "PPS time offset");
  EXPECT_EQ(offsets()->LeftTitle(), "Offset [nanoseconds]");
  EXPECT_THAT(Names(intervals()), ElementsAre("XA", "XB"));
  EXPECT_THAT(Names(offsets()), ElementsAre("ZA", "ZB"));
  EXPECT_EQ(intervals()->SeriesColor(0), QColor(0, 128, 0));
  EXPECT_EQ(offsets()->SeriesColor(1), QColor(128, 0, 128));
  EXPECT_TRUE(Box("CBXA")->isChecked());
  EXPECT_FALSE(Box("CBXB")->isChecked());
  EXPECT_THAT(Xs(intervals(), 0), ElementsAre(2, 3, 4));
  EXPECT_THAT(Ys(intervals(), 0), Each(1000));
  EXPECT_EQ(intervals()->PointCount(1), 0);
  EXPECT_FALSE(intervals()->LeftAutomatic());
  EXPECT_EQ(intervals()->LeftMin(), 999);
  EXPECT_EQ(intervals()->LeftMax(), 1001);
  EXPECT_THAT(Xs(offsets(), 0), ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(Ys(offsets(), 0), ElementsAre(-3.375, -3.5, -3.625, -3.75));
  EXPECT_FALSE(offsets()->LeftAutomatic());
  EXPECT_EQ(offsets()->LeftMin(), -4);
  EXPECT_EQ(offsets()->LeftMax(), -2);
}

TEST_F(EventsViewTest, CheckBoxesRedrawTheirChart) {
  ScanAndOpen();
  Box("CBXB")->click();
  EXPECT_THAT(Ys(intervals(), 1), ElementsAre(1300, 1500, 1700));
  // One axis over both inputs: XA's steady 1000 ms stay in view beside XB.
  EXPECT_THAT(Ys(intervals(), 0), Each(1000));
  EXPECT_TRUE(intervals()->LeftAutomatic());
  Box("CBXA")->click();
  EXPECT_EQ(intervals()->PointCount(0), 0);
  Box("CBZB")->click();
  EXPECT_THAT(Ys(offsets(), 1), ElementsAre(10, 20));
  EXPECT_TRUE(offsets()->LeftAutomatic());
  EXPECT_EQ(offsets()->PointCount(0), 4);
}

TEST_F(EventsViewTest, MenuItemNeedsEventsAndCloseReturns) {
  test::LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5}).Time(2000).Sats({5});
  ChooseAndScan(b.str());
  EXPECT_FALSE(Trigger("Externalevents1"));
  ScanAndOpen();
  Find<QPushButton>("BBCloseEE")->click();
  EXPECT_EQ(Front(), "PView");
}

TEST_F(EventsViewTest, PpsOffsetsAloneOpenTheView) {
  test::LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5}).Frame("ZB", Payload().F32(12.5f));
  b.Time(2000).Sats({5});
  ChooseAndScan(b.str());
  ASSERT_TRUE(Trigger("Externalevents1"));
  Box("CBZB")->click();
  EXPECT_THAT(Ys(offsets(), 1), ElementsAre(12.5));  // a single offset is drawn
  EXPECT_EQ(intervals()->PointCount(0), 0);
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(EventsViewTest, MissingXbFileIsReportedAfterXa) {
  ChooseAndScan(RichLog());
  std::remove(WorkPath(vnx::WorkFile::ExtEventXB).c_str());
  ASSERT_TRUE(Trigger("Externalevents1"));
  EXPECT_TRUE(messages.isEmpty());  // XB is not drawn until its box is checked
  Box("CBXB")->click();
  EXPECT_THAT(messages, ElementsAre("Error Opening File ExtEventRecsXB.dat ! "));
  EXPECT_EQ(intervals()->PointCount(0), 3);
}

}  // namespace
}  // namespace vnx::app
