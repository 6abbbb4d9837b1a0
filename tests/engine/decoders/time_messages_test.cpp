// Receiver time, date and clock messages.
#include "engine/decoders/time_messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/time/gps_time.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class TimeMessagesTest : public ScanFixture {
 protected:
  LogBuilder Start(int y = 2009, int m = 6, int d = 23) {
    LogBuilder b;
    b.Header().Date(y, m, d);
    return b;
  }
  // The text of the first error line after "message : ".
  std::string FirstErrorText() {
    const auto lines = ErrorLines();
    if (lines.empty()) return "";
    const auto p = lines[0].find("message : ");
    return p == std::string::npos ? lines[0] : lines[0].substr(p + 10);
  }
};

TEST_F(TimeMessagesTest, Texts) {
  EXPECT_EQ(TimeOfDayText(3723004), " 1h2m3.4s");
  EXPECT_EQ(TimeOfDayLabel(3723004), "01:02:03.004");
  EXPECT_EQ(DateLabel(2009, 1, 6), "06/01/2009");
}

TEST_F(TimeMessagesTest, MidnightWithoutDateAdvancesTheDay) {
  LogBuilder b = Start();
  b.Time(86399000).Sats({5}).Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].time.day, 23);
  EXPECT_EQ(e[1].time.day, 24);
  EXPECT_EQ(e[1].time.hour, 0);
  EXPECT_EQ(ctx.epoch.EpochInterval, 2000);
}

TEST_F(TimeMessagesTest, MidnightWithDateBetweenIsNotCountedTwice) {
  LogBuilder b = Start();
  b.Time(86399000).Sats({5}).Date(2009, 6, 24).Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(Epochs()[1].time.day, 24);
}

TEST_F(TimeMessagesTest, StepBackIsReportedAndTheTimeTaken) {
  LogBuilder b = Start();
  b.Time(10000).Sats({5}).Time(9000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(FirstErrorText(), "Bad Receiver Time:  0h0m9.0s < preceding:  0h0m10.0s");
  ASSERT_EQ(Epochs().size(), 2u);
  EXPECT_EQ(TGPSTimeNS::FromTimeRec(Epochs()[1].time).Second(), 9);
}

TEST_F(TimeMessagesTest, EqualTimes) {
  LogBuilder b = Start();
  b.Time(5000).Sats({5}).Time(6000).Sats({5}).Time(6000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(FirstErrorText(), "Interval = 0 ! 0h0m6.0s");
  EXPECT_EQ(ctx.epoch.EpochInterval, 1000);
}

TEST_F(TimeMessagesTest, FirstTimeIsTakenWithoutStepCheck) {
  LogBuilder b = Start();
  b.Time(0).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.epoch.EpochInterval, 0);
}

TEST_F(TimeMessagesTest, SmallestPositiveStepIsTheInterval) {
  LogBuilder b = Start();
  b.Time(1000).Sats({5}).Time(3000).Sats({5}).Time(3500).Sats({5}).Time(9000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ctx.epoch.EpochInterval, 500);
}

TEST_F(TimeMessagesTest, BadChecksumOnTimeClosesEpochAndLosesTheNext) {
  LogBuilder b = Start();
  std::string bad = BuildFrame("~~", Payload().U32(2000));
  bad.back() ^= 1;
  b.Time(1000).Sats({5}).Bytes(bad + "\r\n").Sats({6}).Elevations({10}).Time(3000).Sats({7});
  ASSERT_TRUE(ScanLog(b));
  const auto e = SatRecords();
  ASSERT_EQ(e.size(), 2u);  // the epoch of the bad time is dropped
  EXPECT_EQ(e[0][0].number, 5);
  EXPECT_EQ(e[1][0].number, 7);
  EXPECT_EQ(e[1][0].elevation, kNoElevation);  // the dropped epoch's elevation stays out
}

TEST_F(TimeMessagesTest, GpsTimeGivesTimeOfDayAndDate) {
  LogBuilder b;
  b.Header().GpsTime(345600500, 1500).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].flags[kFlagGT], 1);
  EXPECT_EQ(e[0].gtTow, 345600500u);
  EXPECT_EQ(e[0].gtWn, 1500);
  const TGPSTimeNS t = TGPSTimeNS::FromTimeRec(e[0].time);
  EXPECT_EQ(t.Seconds(), 1500u * 604800 + 4 * 86400);  // Thursday of week 1500
  EXPECT_EQ(t.Nanoseconds(), 500000000);
  EXPECT_THAT(ui.dateLabels, ElementsAre("09/10/2008"));
}

TEST_F(TimeMessagesTest, GpsTimeWithMissingTowChangesNothing) {
  LogBuilder b = Start();
  b.Time(1000).Sats({5}).GpsTime(0xFFFFFFFF, 1500).Sats({6});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.epochCount, 1);  // the running epoch was never closed by the GT
}

TEST_F(TimeMessagesTest, DateErrors) {
  struct Case {
    int y, m, d;
    std::string text;
  };
  const Case cases[] = {
      {2009, 13, 5, " 2009 13 5"},
      {0xFFFF, 1, 1, " 65535 1 1"},
      {2030, 1, 2, " RD is greater then current date: 2030 1 2"},
  };
  for (const Case& c : cases) {
    LogBuilder b = Start();
    b.Time(1000).Sats({5}).Date(c.y, c.m, c.d);
    ASSERT_TRUE(ScanLog(b));
    EXPECT_EQ(FirstErrorText(), c.text) << c.y << "-" << c.m;
  }
}

TEST_F(TimeMessagesTest, EmptyDateFrameIsHeldToItsLengthAndChecksum) {
  // "RD000" once read four bytes beyond its frame: the line break and the next frame's head
  // mid-log (" 2573 126 126"), bytes outside the file at its end.
  for (const bool atEnd : {false, true}) {
    ui.dateLabels.clear();
    LogBuilder b = Start();
    b.Time(1000).Sats({5});
    if (atEnd)
      b.Bytes("RD000\r");
    else
      b.Bytes("RD000\r\n").Time(2000).Sats({5});
    ASSERT_TRUE(ScanLog(b));
    EXPECT_EQ(FirstErrorText(), "Length of message = 0 but must be >= 6 Bad Checksum   ") << atEnd;
    EXPECT_THAT(ui.dateLabels, ElementsAre("23/06/2009")) << atEnd;
  }
}

TEST_F(TimeMessagesTest, DateBeforeTheDayReachedIsReportedAndTaken) {
  LogBuilder b = Start(2009, 6, 23);
  b.Time(1000).Sats({5}).Date(2009, 6, 20).Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(FirstErrorText(),
            " Year =2009 Month =6 Day = 20 Preceding  Date 2009 Month =6 Day = 23");
  EXPECT_EQ(Epochs()[1].time.day, 20);
}

TEST_F(TimeMessagesTest, DateLabelIsSetOnlyWhenItChanges) {
  LogBuilder b = Start();
  b.Date(2009, 6, 23).Time(1000).Sats({5}).Date(2009, 6, 23).Date(2009, 6, 24);
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ui.dateLabels, ElementsAre("23/06/2009", "24/06/2009"));
}

TEST_F(TimeMessagesTest, ClockMessagesStoreTheirFields) {
  LogBuilder b = Start();
  b.Time(1000).Sats({5});
  b.Frame("TO", Payload().F64(1.25e-7));
  b.Frame("DO", Payload().F32(2.5f));
  b.Frame("OO", Payload().F32(-3.5f));
  b.Frame("BP", Payload().F32(0.125f));
  b.Frame("NT", Payload().U32(4000).U16(12));
  b.Frame("NO", Payload().U8(3).I32(-7));
  b.Frame("GO", Payload().U8(4).I32(9));
  b.Frame("UO", Payload().F64(1e-9).F32(2e-12f).U32(61440).U16(2100).I8(18).U8(7).U16(2000).I8(18));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const EpochRec e = Epochs().at(0);
  EXPECT_EQ(e.flags[kFlagTO], 1);
  EXPECT_EQ(e.flags[kFlagTOExtended], 1);
  EXPECT_EQ(e.toValue, 1.25e-7);
  EXPECT_EQ(Ext80ToDouble(e.toExtended), 1.25e-7);
  EXPECT_EQ(e.flags[kFlagDO], 1);
  EXPECT_EQ(e.flags[kFlagPosition], 1);
  EXPECT_EQ(e.doValue, 2.5f);
  EXPECT_EQ(e.pos.doValue, 2.5f);
  EXPECT_EQ(e.ooValue, -3.5f);
  EXPECT_EQ(e.bpValue, 0.125f);
  EXPECT_EQ(e.ntTod, 4000);
  EXPECT_EQ(e.ntDn, 12);
  EXPECT_EQ(e.noSec, 3);
  EXPECT_EQ(e.noNs, -7);
  EXPECT_EQ(e.goSec, 4);
  EXPECT_EQ(e.goNs, 9);
  EXPECT_EQ(e.flags[kFlagUO], 1);
  EXPECT_EQ(e.utc.wnt, 2100);
  EXPECT_EQ(e.utc.dtls, 18);
  EXPECT_TRUE(ctx.epoch.UtcSeen);
  EXPECT_EQ(ctx.epoch.LeapSeconds, 18);
}

TEST_F(TimeMessagesTest, MissingValuesStoreNothing) {
  const float nanf = std::numeric_limits<float>::quiet_NaN();
  LogBuilder b = Start();
  b.Time(1000).Sats({5});
  b.Frame("UO", Payload().F64(1e-9).F32(2e-12f).U32(1).U16(2).I8(18).U8(7).U16(2000).I8(18));
  b.Time(2000).Sats({5});
  b.Frame("UO", Payload().F64(5.0).F32(0).U32(1).U16(2).I8(3).U8(4).U16(5).I8(127));
  b.Frame("NO", Payload().U8(0xFF).I32(1));
  b.Frame("GO", Payload().U8(1).U32(0xFFFFFFFF));
  b.Frame("OO", Payload().F32(nanf));
  b.Frame("TO", Payload().U32(0).U32(0x7FF80000));  // the receiver's missing double
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const EpochRec e = Epochs().at(1);
  EXPECT_EQ(e.flags[kFlagUO], 0);
  EXPECT_EQ(e.flags[kFlagNO], 0);
  EXPECT_EQ(e.flags[kFlagGO], 0);
  EXPECT_EQ(e.flags[kFlagOO], 0);
  EXPECT_EQ(e.flags[kFlagTO], 0);
  EXPECT_EQ(ctx.utc.dtls, 18);  // the last complete UO stays
}

TEST_F(TimeMessagesTest, DoInUnusableEpochStoresNothingOthersDo) {
  LogBuilder b = Start();
  std::string badSi = BuildFrame("SI", std::string(1, '\x05'));
  badSi.back() ^= 1;
  b.Time(1000).Sats({5}).Time(2000).Bytes(badSi + "\r\n");
  b.Frame("DO", Payload().F32(2.5f)).Frame("OO", Payload().F32(1.5f));
  b.Sats({5}).Time(3000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[1].flags[kFlagDO], 0);
  EXPECT_EQ(e[1].flags[kFlagOO], 1);
}

TEST_F(TimeMessagesTest, ShortTimeBodyLosesTheTimeWithoutReadingPastIt) {
  LogBuilder b = Start();
  b.Time(1000).Sats({5}).Frame("~~", "ab").Sats({6}).Time(3000).Sats({7});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(FirstErrorText(), "Length of message = 3 but must be >= 5");
  const auto e = SatRecords();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1][0].number, 7);
}

TEST_F(TimeMessagesTest, TimeLabelEvery500Messages) {
  LogBuilder b = Start();
  for (uint32_t t = 1; t <= 1000; ++t) b.Time(t * 10).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ui.timeLabels, ElementsAre("00:00:05.000", "00:00:10.000"));
}

}  // namespace
}  // namespace vnx::test
