#include "engine/time/gps_time.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vnx {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, worked out independently of the tables.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

const int64_t kEpochCivilDay = DaysFromCivil(1980, 1, 6);

struct Calendar {
  int32_t year, month, day, hour, minute, second;
};

void ExpectBreakdown(const TGPSTime& t, const Calendar& c) {
  EXPECT_EQ(t.Year(), c.year);
  EXPECT_EQ(t.Month(), c.month);
  EXPECT_EQ(t.Day(), c.day);
  EXPECT_EQ(t.Hour(), c.hour);
  EXPECT_EQ(t.Minute(), c.minute);
  EXPECT_EQ(t.Second(), c.second);
}

TimeRec RecWithSeconds(const Calendar& c, const Extended80& seconds) {
  TimeRec rec{};
  rec.year = c.year;
  rec.month = c.month;
  rec.day = c.day;
  rec.hour = c.hour;
  rec.minute = c.minute;
  std::memcpy(rec.seconds, seconds.data(), seconds.size());
  return rec;
}

TEST(GpsTime, EpochIsSecondZero) {
  const TGPSTime t = TGPSTime::FromCalendar(1980, 1, 6, 0, 0, 0);
  EXPECT_EQ(t.Seconds(), 0u);
  ExpectBreakdown(TGPSTime(0), {1980, 1, 6, 0, 0, 0});
  EXPECT_EQ(TGPSTime(0).DayOfWeek(), 0);
  // Week 0 is unwrapped past the first roll-over like any other week below 513.
  EXPECT_EQ(TGPSTime(0).Week().Week(), 1024);
  EXPECT_EQ(TGPSTime(0).WeekNumber10(), 0u);
  EXPECT_EQ(TGPSTime(0).DayCount(), 1024 * 7);
}

TEST(GpsTime, KnownDayCountAndWeek) {
  const TGPSTime t = TGPSTime::FromCalendar(2009, 6, 23, 12, 0, 0);
  EXPECT_EQ(t.DayCount(), 10761);
  EXPECT_EQ(t.Week().Week(), 1537);
  EXPECT_EQ(t.WeekNumber10(), 1537u - 1024u);
  EXPECT_EQ(t.DayOfWeek(), 2);
  EXPECT_EQ(t.Seconds(), 10761u * 86400u + 12u * 3600u);
  ExpectBreakdown(t, {2009, 6, 23, 12, 0, 0});
}

TEST(GpsTime, InvalidDatesGiveZero) {
  // clang-format off
  const std::vector<Calendar> invalid = {
      {2009, 13, 1, 0, 0, 0}, {2009, 0, 1, 0, 0, 0}, {2009, 6, 0, 0, 0, 0},
      {2009, 1, 32, 0, 0, 0}, {2009, 6, 31, 0, 0, 0}, {2009, 6, 23, 24, 0, 0},
      {2009, 6, 23, 0, 60, 0}, {2009, 6, 23, 0, 0, 60}, {1979, 12, 31, 0, 0, 0},
      {2117, 1, 1, 0, 0, 0}, {2009, -1, 1, 0, 0, 0}, {2009, 6, -3, 0, 0, 0},
      {2009, 6, 23, -1, 0, 0}, {2009, 6, 23, 0, -1, 0}, {2009, 6, 23, 0, 0, -1},
      // Before the epoch inside January 1980, and past the 30 days that month counts.
      {1980, 1, 1, 0, 0, 0}, {1980, 1, 5, 23, 59, 59}, {1980, 1, 31, 0, 0, 0},
  };
  // clang-format on
  for (const Calendar& c : invalid) {
    EXPECT_EQ(TGPSTime::FromCalendar(c.year, c.month, c.day, c.hour, c.minute, c.second).Seconds(),
              0u)
        << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
        << c.second;
  }
  EXPECT_NE(TGPSTime::FromCalendar(2116, 1, 1, 0, 0, 0).Seconds(), 0u);
  EXPECT_NE(TGPSTime::FromCalendar(1980, 1, 30, 23, 59, 59).Seconds(), 0u);
}

TEST(GpsTime, LeapDays) {
  EXPECT_NE(TGPSTime::FromCalendar(2008, 2, 29, 0, 0, 0).Seconds(), 0u);
  EXPECT_NE(TGPSTime::FromCalendar(2000, 2, 29, 0, 0, 0).Seconds(), 0u);
  EXPECT_EQ(TGPSTime::FromCalendar(2009, 2, 29, 0, 0, 0).Seconds(), 0u);
  EXPECT_EQ(TGPSTime::FromCalendar(2100, 2, 29, 0, 0, 0).Seconds(), 0u);
  EXPECT_EQ(TGPSTime::DaysInYear(1980), 360);
  EXPECT_EQ(TGPSTime::DaysInYear(2000), 366);
  EXPECT_EQ(TGPSTime::DaysInYear(2100), 365);
  EXPECT_EQ(TGPSTime::DaysInMonth(1980, 1), 24);
  EXPECT_EQ(TGPSTime::DaysInMonth(1980, 2), 29);
  EXPECT_EQ(TGPSTime::DaysInMonth(1984, 1), 31);
  EXPECT_EQ(TGPSTime::DaysInMonth(2009, 13), 0);
  EXPECT_EQ(TGPSTime::DaysInMonth(2009, 0), 0);
}

TEST(GpsTime, WeekUnwrap) {
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {500, 1524}, {1000, 2024}, {1537, 1537}, {-1, 2047},   {0, 1024},
      {512, 1536}, {513, 1537},  {1023, 2047}, {1024, 1024}, {-2000, 48},
  };
  for (const auto& [raw, unwrapped] : cases) EXPECT_EQ(TGPSWeek(raw).Week(), unwrapped) << raw;
  const TGPSTime t = TGPSTime::FromWeek(TGPSWeek(513), 2 * 86400 + 43200);
  ExpectBreakdown(t, {2009, 6, 23, 12, 0, 0});
}

TEST(GpsTime, CalendarAgreesWithCivilDatesFrom1981) {
  // Every day from 1981 to the last whole year of the 32-bit count, at a moving time of day.
  const int64_t first = DaysFromCivil(1981, 1, 1);
  const int64_t last = DaysFromCivil(2115, 12, 31);
  int32_t y = 1981, m = 1, d = 1;
  for (int64_t civil = first; civil <= last; ++civil) {
    const int64_t days = civil - kEpochCivilDay;
    const int32_t hour = static_cast<int32_t>(civil % 24);
    const int32_t minute = static_cast<int32_t>(civil % 60);
    const int32_t second = static_cast<int32_t>((civil * 7) % 60);
    const TGPSTime t = TGPSTime::FromCalendar(y, m, d, hour, minute, second);
    ASSERT_EQ(t.Seconds(), static_cast<uint32_t>(days * 86400 + hour * 3600 + minute * 60 + second))
        << y << "-" << m << "-" << d;
    ExpectBreakdown(t, {y, m, d, hour, minute, second});
    EXPECT_EQ(t.DayOfWeek(), static_cast<int32_t>(days % 7));
    const int64_t monthLength = DaysFromCivil(y, m + 1, 1) - DaysFromCivil(y, m, 1);
    if (++d > monthLength) {
      d = 1;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
  }
  EXPECT_EQ(TGPSTime::FromCalendar(1981, 1, 1, 0, 0, 0).Seconds(), 361u * 86400u);
}

TEST(GpsTime, The1980TablesRoundTrip) {
  // The first year keeps its own count: dates convert to seconds and back unchanged.
  for (int32_t m = 1; m <= 12; ++m) {
    const int32_t firstDay = m == 1 ? 6 : 1;
    const int32_t lastDay = m == 1 ? 30 : TGPSTime::DaysInMonth(1980, m);
    for (int32_t d = firstDay; d <= lastDay; ++d) {
      const TGPSTime t = TGPSTime::FromCalendar(1980, m, d, 5, 6, 7);
      ExpectBreakdown(t, {1980, m, d, 5, 6, 7});
    }
  }
  EXPECT_EQ(TGPSTime::FromCalendar(1980, 1, 30, 0, 0, 0).Seconds(), 24u * 86400u);
  EXPECT_EQ(TGPSTime::FromCalendar(1980, 2, 1, 0, 0, 0).Seconds(), 25u * 86400u);
  // Day 360 of the year's count lies behind its last month.
  ExpectBreakdown(TGPSTime(360 * 86400), {1980, 13, 1, 0, 0, 0});
}

TEST(GpsTime, OffsetMinutesShiftTheCalendar) {
  const TGPSTime t = TGPSTime::FromCalendar(2009, 12, 31, 23, 30, 0);
  EXPECT_EQ(t.Year(45), 2010);
  EXPECT_EQ(t.Month(45), 1);
  EXPECT_EQ(t.Day(45), 1);
  EXPECT_EQ(t.Hour(45), 0);
  EXPECT_EQ(t.Minute(45), 15);
  EXPECT_EQ(t.DayOfWeek(45), (t.DayOfWeek() + 1) % 7);
  EXPECT_EQ(t.Hour(-60), 22);
}

TEST(GpsTime, TimeRecFromTimeNSCarriesTheFraction) {
  const TimeRec rec = TimeRecFromTimeNS(TGPSTimeNS(100, 250000000));
  EXPECT_EQ(rec.year, 1980);
  EXPECT_EQ(rec.month, 1);
  EXPECT_EQ(rec.day, 6);
  EXPECT_EQ(rec.hour, 0);
  EXPECT_EQ(rec.minute, 1);
  EXPECT_EQ(Ext80ToDouble(rec.seconds), 40.25);
  const Extended80 expected = Ext80FromDouble(40.25);
  EXPECT_EQ(std::memcmp(rec.seconds, expected.data(), expected.size()), 0);
  for (uint8_t b : rec.reserved20) EXPECT_EQ(b, 0);
  for (uint8_t b : rec.reserved34) EXPECT_EQ(b, 0);
}

TEST(GpsTime, TimeRecRoundTrips) {
  const TGPSTime t = TGPSTime::FromCalendar(2011, 3, 14, 15, 9, 26);
  const TimeRec whole = TimeRecFromTime(t);
  EXPECT_EQ(whole.year, 2011);
  EXPECT_EQ(whole.month, 3);
  EXPECT_EQ(whole.day, 14);
  EXPECT_EQ(whole.hour, 15);
  EXPECT_EQ(whole.minute, 9);
  EXPECT_EQ(Ext80ToDouble(whole.seconds), 26.0);
  EXPECT_EQ(TGPSTime::FromTimeRec(whole).Seconds(), t.Seconds());

  for (int64_t ns : {int64_t{0}, int64_t{1}, int64_t{535897932}, int64_t{999999999}}) {
    const TGPSTimeNS withNs(t.Seconds(), ns);
    const TGPSTimeNS back = TGPSTimeNS::FromTimeRec(TimeRecFromTimeNS(withNs));
    EXPECT_EQ(back.Seconds(), t.Seconds());
    EXPECT_EQ(back.Nanoseconds(), ns);
  }
}

TEST(GpsTime, FromTimeRecTruncatesAndRefuses) {
  const Calendar date{2009, 6, 23, 12, 0, 0};
  const uint32_t noon = TGPSTime::FromCalendar(2009, 6, 23, 12, 0, 0).Seconds();

  // Whole seconds are truncated, not rounded; 59.9996 stays in second 59.
  const TGPSTimeNS late = TGPSTimeNS::FromTimeRec(RecWithSeconds(date, Ext80FromDouble(59.9996)));
  EXPECT_EQ(late.Seconds(), noon + 59);
  EXPECT_EQ(late.Nanoseconds(), 999600000);
  // A fraction that rounds to a whole second is not carried into the seconds.
  const TGPSTimeNS edge =
      TGPSTimeNS::FromTimeRec(RecWithSeconds(date, Ext80FromDouble(0.9999999999)));
  EXPECT_EQ(edge.Seconds(), noon);
  EXPECT_EQ(edge.Nanoseconds(), 1000000000);
  // The tie of 1/1024 s goes to the even nanosecond.
  const TGPSTimeNS tie =
      TGPSTimeNS::FromTimeRec(RecWithSeconds(date, Ext80FromDouble(7.0 + 1.0 / 1024)));
  EXPECT_EQ(tie.Seconds(), noon + 7);
  EXPECT_EQ(tie.Nanoseconds(), 976562);

  TimeRec badMonth = RecWithSeconds(date, Ext80FromDouble(1.0));
  badMonth.month = 13;
  EXPECT_EQ(TGPSTime::FromTimeRec(badMonth).Seconds(), 0u);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double s : {60.0, -1.5, 1e30, 4294967301.0, nan, inf}) {
    EXPECT_EQ(TGPSTime::FromTimeRec(RecWithSeconds(date, Ext80FromDouble(s))).Seconds(), 0u) << s;
  }
  // A small negative value truncates to second 0.
  EXPECT_EQ(TGPSTime::FromTimeRec(RecWithSeconds(date, Ext80FromDouble(-0.25))).Seconds(), noon);
}

}  // namespace
}  // namespace vnx
