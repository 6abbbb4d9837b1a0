// XA and XB: dating on the running day, UTC to GPS with its leap-second rule, the records.
#include "engine/decoders/external_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/epoch/record_reader.h"
#include "engine/time/gps_time.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct Utc {
  double a0 = 0;
  float a1 = 0;
  uint32_t tot = 0;
  uint16_t wnt = 513;  // 2009-06-23 lies in week 1537, 513 in ten bits
  int8_t dtls = 15, dtlsf = 15;
  uint8_t dn = 3;  // end of Tuesday
  uint16_t wnlsf = 513;
};

std::string UoFrame(const Utc& u) {
  return BuildFrame("UO", Payload()
                              .F64(u.a0)
                              .F32(u.a1)
                              .U32(u.tot)
                              .U16(u.wnt)
                              .I8(u.dtls)
                              .U8(u.dn)
                              .U16(u.wnlsf)
                              .I8(u.dtlsf)) +
         "\r\n";
}

std::string EventFrame(const char* id, int32_t ms, int32_t ns, uint8_t scale) {
  return BuildFrame(id, Payload().I32(ms).I32(ns).U8(scale)) + "\r\n";
}

// Seconds since the GPS epoch of a calendar time, as a TimeRec of the records reads back.
uint32_t At(int y, int mo, int d, int h, int mi, int s) {
  return TGPSTime::FromCalendar(y, mo, d, h, mi, s).Seconds();
}

class ExternalEventsTest : public ScanFixture {
 protected:
  static LogBuilder Start(uint32_t timeOfDayMs = 3600000, int day = 23) {
    LogBuilder b;
    b.Header().Date(2009, 6, day).Time(timeOfDayMs).Sats({5});
    return b;
  }
  std::vector<ExtEventRec> Records(const char* file, int32_t count) const {
    RecordReader reader(WorkFile(file), sizeof(ExtEventRec));
    std::vector<ExtEventRec> out(static_cast<size_t>(count));
    for (auto& r : out) EXPECT_TRUE(reader.Read(&r));
    return out;
  }
  std::vector<ExtEventRec> XA() const { return Records("ExtEventRecsXA.dat", ctx.xaCount); }
  std::vector<ExtEventRec> XB() const { return Records("ExtEventRecsXB.dat", ctx.xbCount); }
};

void ExpectTime(const ExtEventRec& r, uint32_t seconds, int64_t ns) {
  const TGPSTimeNS t = TGPSTimeNS::FromTimeRec(r.time);
  EXPECT_EQ(t.Seconds(), seconds) << "day " << r.time.day << " " << r.time.hour << ":"
                                  << r.time.minute;
  EXPECT_EQ(t.Nanoseconds(), ns);
}

TEST_F(ExternalEventsTest, XaIsDatedOnTheRunningDay) {
  LogBuilder b = Start();
  b.Bytes(EventFrame("XA", 3600000, 250, 0));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorLines(), IsEmpty());
  ASSERT_EQ(ctx.xaCount, 1);
  EXPECT_EQ(ctx.xbCount, 0);
  const ExtEventRec r = XA()[0];
  EXPECT_EQ(r.time.year, 2009);
  EXPECT_EQ(r.time.month, 6);
  EXPECT_EQ(r.time.day, 23);
  EXPECT_EQ(r.time.hour, 1);
  EXPECT_EQ(r.time.minute, 0);
  ExpectTime(r, At(2009, 6, 23, 1, 0, 0), 250);
  EXPECT_EQ(r.isXA, 1);
  EXPECT_EQ(r.timeScale, 0);
  EXPECT_TRUE(ui.lit[static_cast<int>(Indicator::ExternalEvents)]);
}

TEST_F(ExternalEventsTest, XbGoesToItsOwnFile) {
  LogBuilder b = Start();
  b.Bytes(EventFrame("XB", 3600000, 250, 7)).Bytes(EventFrame("XB", 3601000, 0, 0));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ctx.xaCount, 0);
  ASSERT_EQ(ctx.xbCount, 2);
  const auto r = XB();
  EXPECT_EQ(r[0].isXA, 0);
  EXPECT_EQ(r[0].timeScale, 7);  // stored as received
  ExpectTime(r[1], At(2009, 6, 23, 1, 0, 1), 0);
}

TEST_F(ExternalEventsTest, EventTimes) {
  Utc tenth;  // a0 of -250 ns: the sub-millisecond part borrows from the milliseconds
  tenth.a0 = -250e-9;
  Utc drift;  // a1 over 1000 s since tot: +1.5 us
  drift.a1 = 1.5e-9f;
  drift.tot = 2 * 86400 + 3600 - 1000;
  struct Case {
    const char* name;
    bool withUtc;
    Utc utc;
    int32_t ms, ns;
    uint8_t scale;
    uint32_t seconds;
    int64_t nanoseconds;
    uint8_t storedScale;
  };
  const Case cases[] = {
      {"GPS time as is", false, {}, 7200000, 1, 0, At(2009, 6, 23, 2, 0, 0), 1, 0},
      {"UTC plus 15 s", true, {}, 7200000, 0, 1, At(2009, 6, 23, 2, 0, 15), 0, 0},
      {"UTC before any UO", false, {}, 7200000, 0, 1, At(2009, 6, 23, 2, 0, 0), 0, 1},
      {"UTC past midnight stays on the day",
       true,
       {},
       86385500,
       0,
       1,
       At(2009, 6, 23, 0, 0, 0),
       500000000,
       0},
      {"GPS past midnight stays on the day",
       false,
       {},
       86400500,
       0,
       0,
       At(2009, 6, 23, 0, 0, 0),
       500000000,
       0},
      {"negative time lies on the day before",
       false,
       {},
       -500,
       250,
       0,
       At(2009, 6, 22, 23, 59, 59),
       500000250,
       0},
      {"negative nanoseconds borrow",
       false,
       {},
       0,
       -1,
       0,
       At(2009, 6, 22, 23, 59, 59),
       999999999,
       0},
      {"a0 borrows", true, tenth, 7200000, 0, 1, At(2009, 6, 23, 2, 0, 14), 999999750, 0},
      {"a1 over time", true, drift, 7200000, 100, 1, At(2009, 6, 23, 2, 0, 15), 1600, 0},
  };
  for (const Case& c : cases) {
    LogBuilder b = Start();
    if (c.withUtc) b.Bytes(UoFrame(c.utc));
    b.Bytes(EventFrame("XA", c.ms, c.ns, c.scale));
    ASSERT_TRUE(ScanLog(b));
    EXPECT_THAT(ErrorLines(), IsEmpty()) << c.name;
    ASSERT_EQ(ctx.xaCount, 1) << c.name;
    const ExtEventRec r = XA()[0];
    SCOPED_TRACE(c.name);
    ExpectTime(r, c.seconds, c.nanoseconds);
    EXPECT_EQ(r.timeScale, c.storedScale);
  }
}

TEST_F(ExternalEventsTest, NineByteBodyHasUnknownScale) {
  LogBuilder b = Start();
  b.Frame("XA", Payload().I32(3600000).I32(5));
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(ErrorLines().size(), 1u);
  EXPECT_THAT(ErrorLines()[0],
              HasSubstr("Error in XA message : Length of message = 9 but must be >= 10"
                        " Time scale = Unknown"));
  ASSERT_EQ(ctx.xaCount, 1);
  EXPECT_EQ(XA()[0].timeScale, 15);
  ExpectTime(XA()[0], At(2009, 6, 23, 1, 0, 0), 5);
}

TEST_F(ExternalEventsTest, DroppedWithoutDateOrTimeOrChecksum) {
  std::string bad = EventFrame("XA", 1000, 0, 0);
  bad[bad.size() - 3] ^= 1;
  struct Case {
    const char* name;
    std::string log;
    std::string error;
  };
  LogBuilder noDate;
  noDate.Header().Time(1000).Sats({5}).Bytes(EventFrame("XA", 1000, 0, 0));
  LogBuilder shortBody = Start();
  shortBody.Frame("XB", Payload().I32(1000).U16(0).U8(0));  // 8 bytes: no whole time
  LogBuilder badChecksum = Start();
  badChecksum.Bytes(bad);
  const Case cases[] = {
      {"no date yet", noDate.str(), "There are no epochs!"},
      {"eight bytes", shortBody.str(), "Length of message = 8 but must be >= 10"},
      {"bad checksum", badChecksum.str(), "Error in XA message :  Bad Checksum   "},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(ScanLog(c.log));
    EXPECT_EQ(ctx.xaCount + ctx.xbCount, 0) << c.name;
    EXPECT_FALSE(ui.lit[static_cast<int>(Indicator::ExternalEvents)]) << c.name;
    ASSERT_FALSE(ErrorLines().empty()) << c.name;
    EXPECT_THAT(ErrorLines()[0], HasSubstr(c.error)) << c.name;
  }
}

// The leap second at the end of Tuesday 2009-06-23 (day 3 of week 513), 15 -> 16.
UtcBlock LeapAtEndOfTuesday() {
  UtcBlock u{};
  u.dtls = 15;
  u.dtlsf = 16;
  u.dn = 3;
  u.wnlsf = 513;
  return u;
}

TEST(LeapSecondsForEvent, FarFromTheInstantTheEpochDecides) {
  const UtcBlock u = LeapAtEndOfTuesday();
  struct Case {
    int32_t wk, dow;
    int64_t epochMs, eventMs;
    int32_t leap;
  };
  const Case cases[] = {
      {513, 2, 64799000, 64799000, 15},  // 18:00 Tuesday: more than six hours before
      {513, 3, 21601000, 21600000, 16},  // 06:00 Wednesday: more than six hours after
      {512, 6, 1000, 1000, 15},          // the week before
      {514, 0, 1000, 1000, 16},          // the week after
  };
  for (const Case& c : cases)
    EXPECT_EQ(LeapSecondsForEvent(u, c.wk, c.dow, c.epochMs, c.eventMs), c.leap)
        << c.dow << " " << c.epochMs;
  // Ten-bit weeks: 1023 -> 1 is two weeks later, 1 -> 1023 two weeks earlier.
  UtcBlock wrapped = u;
  wrapped.wnlsf = 1023;
  EXPECT_EQ(LeapSecondsForEvent(wrapped, 1, 0, 1000, 1000), 16);
  wrapped.wnlsf = 1;
  EXPECT_EQ(LeapSecondsForEvent(wrapped, 1023, 0, 1000, 1000), 15);
}

TEST(LeapSecondsForEvent, InsideSixHoursTheEventDecides) {
  const UtcBlock u = LeapAtEndOfTuesday();
  struct Case {
    const char* name;
    int32_t dow;
    int64_t epochMs, eventMs;
    int32_t leap;
  };
  const Case cases[] = {
      {"an hour before", 2, 82815000, 82800000, 15},
      {"last second of the day", 2, 86399000, 86384000, 15},
      {"GPS past midnight, UTC still before", 3, 14500, 86399500, 15},
      {"inside the inserted second", 3, 15500, 86400500, 15},
      {"first second after it", 3, 16500, 500, 16},
      {"five hours after", 3, 18016000, 18000000, 16},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LeapSecondsForEvent(u, 513, c.dow, c.epochMs, c.eventMs), c.leap) << c.name;
}

TEST_F(ExternalEventsTest, AcrossTheLeapSecondEventsStayOneSecondApart) {
  Utc u;
  u.dtlsf = 16;
  LogBuilder b;
  b.Header().Date(2009, 6, 24).Bytes(UoFrame(u));
  b.Time(14500).Sats({5}).Bytes(EventFrame("XA", 86399500, 0, 1));
  b.Time(15500).Sats({5}).Bytes(EventFrame("XA", 86400500, 0, 1));
  b.Time(16500).Sats({5}).Bytes(EventFrame("XA", 500, 0, 1));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorLines(), IsEmpty());
  ASSERT_EQ(ctx.xaCount, 3);
  const auto r = XA();
  ExpectTime(r[0], At(2009, 6, 24, 0, 0, 14), 500000000);
  ExpectTime(r[1], At(2009, 6, 24, 0, 0, 15), 500000000);
  ExpectTime(r[2], At(2009, 6, 24, 0, 0, 16), 500000000);
}

}  // namespace
}  // namespace vnx::test
