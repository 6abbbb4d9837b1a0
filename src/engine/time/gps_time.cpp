#include "engine/time/gps_time.h"

#include <algorithm>
#include <array>

namespace vnx {
namespace {

constexpr int32_t kFirstYear = 1980;
constexpr int32_t kLastYear = 2116;
constexpr int32_t kWeekThreshold = 512;
constexpr int32_t kWeeksPerRollOver = 1024;
constexpr uint32_t kWeekMask = 1023;
// The epoch is 1980-01-06: January 1980 is counted from its sixth day.
constexpr int32_t kEpochDayShift = 6;
constexpr std::array<int32_t, 12> kDaysPerMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct CalendarDate {
  int32_t year;
  int32_t month;  // 13 on the last day of 1980: that year counts one day more than its months
  int32_t day;
};

bool IsEpochMonth(int32_t year, int32_t month) {
  return year == kFirstYear && month == 1;
}

CalendarDate Breakdown(uint32_t seconds) {
  int32_t a = static_cast<int32_t>(seconds / kSecondsPerDay);
  int32_t year = kFirstYear;
  while (TGPSTime::DaysInYear(year) < a) {
    a -= TGPSTime::DaysInYear(year);
    ++year;
  }
  int32_t month = 1;
  while (month <= 12 && TGPSTime::DaysInMonth(year, month) < a) {
    a -= TGPSTime::DaysInMonth(year, month);
    ++month;
  }
  return {year, month, IsEpochMonth(year, month) ? a + kEpochDayShift : a};
}

uint32_t Shifted(uint32_t seconds, int32_t offsetMinutes) {
  return seconds + static_cast<uint32_t>(offsetMinutes) * kSecondsPerMinute;
}

bool IsValidDate(int32_t year, int32_t month, int32_t day) {
  if (year < kFirstYear || year > kLastYear) return false;
  if (month < 1 || month > 12) return false;
  // The first five days of 1980 lie before the epoch and would wrap to the far end of the count.
  const int32_t shift = IsEpochMonth(year, month) ? kEpochDayShift : 0;
  const int32_t firstDay = IsEpochMonth(year, month) ? kEpochDayShift : 1;
  return day >= firstDay && day < 32 && day <= TGPSTime::DaysInMonth(year, month) + shift;
}

bool IsValidTimeOfDay(int32_t hour, int32_t minute, int32_t second) {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

// Whole seconds of a stored record; anything that is not a second of a minute becomes 60,
// which the calendar refuses.
int32_t WholeSecond(const TimeRec& rec, int64_t& nanoseconds) {
  int64_t whole = 0;
  nanoseconds = 0;
  if (!Ext80SplitSeconds(rec.seconds, whole, nanoseconds)) return 60;
  if (whole < 0 || whole >= 60) return 60;
  return static_cast<int32_t>(whole);
}

TimeRec CalendarRec(const TGPSTime& t) {
  const CalendarDate date = Breakdown(t.Seconds());
  TimeRec rec{};
  rec.year = date.year;
  rec.month = date.month;
  rec.day = date.day;
  rec.hour = t.Hour();
  rec.minute = t.Minute();
  return rec;
}

}  // namespace

TGPSWeek::TGPSWeek(int32_t w) : week_(w) {
  if (week_ <= kWeekThreshold) week_ += kWeeksPerRollOver;
  if (week_ < kWeeksPerRollOver) week_ += kWeeksPerRollOver;
}

TGPSTime TGPSTime::FromCalendar(int32_t year, int32_t month, int32_t day, int32_t hour,
                                int32_t minute, int32_t second) {
  if (!IsValidDate(year, month, day) || !IsValidTimeOfDay(hour, minute, second)) {
    return TGPSTime();
  }
  int32_t days = day;
  for (int32_t y = kFirstYear; y < year; ++y) days += DaysInYear(y);
  for (int32_t m = 1; m < month; ++m) days += DaysInMonth(year, m);
  if (IsEpochMonth(year, month)) days -= kEpochDayShift;
  // The count wraps like the stored 32-bit value it becomes.
  const uint32_t seconds =
      static_cast<uint32_t>(days) * kSecondsPerDay + static_cast<uint32_t>(hour) * kSecondsPerHour +
      static_cast<uint32_t>(minute) * kSecondsPerMinute + static_cast<uint32_t>(second);
  return TGPSTime(seconds);
}

TGPSTime TGPSTime::FromWeek(TGPSWeek week, uint32_t secondsOfWeek) {
  return TGPSTime(secondsOfWeek + static_cast<uint32_t>(week.Week()) * kSecondsPerWeek);
}

TGPSTime TGPSTime::FromTimeRec(const TimeRec& rec) {
  int64_t nanoseconds = 0;
  const int32_t second = WholeSecond(rec, nanoseconds);
  const int32_t month = rec.month >= 1 && rec.month <= 12 ? rec.month : 0;
  return FromCalendar(rec.year, month, rec.day, rec.hour, rec.minute, second);
}

int32_t TGPSTime::Year(int32_t offsetMinutes) const {
  return Breakdown(Shifted(seconds_, offsetMinutes)).year;
}

int32_t TGPSTime::Month(int32_t offsetMinutes) const {
  return Breakdown(Shifted(seconds_, offsetMinutes)).month;
}

int32_t TGPSTime::Day(int32_t offsetMinutes) const {
  return Breakdown(Shifted(seconds_, offsetMinutes)).day;
}

int32_t TGPSTime::DayOfWeek(int32_t offsetMinutes) const {
  return static_cast<int32_t>((Shifted(seconds_, offsetMinutes) / kSecondsPerDay) % 7);
}

int32_t TGPSTime::Hour(int32_t offsetMinutes) const {
  return static_cast<int32_t>((Shifted(seconds_, offsetMinutes) % kSecondsPerDay) /
                              kSecondsPerHour);
}

int32_t TGPSTime::Minute(int32_t offsetMinutes) const {
  const uint32_t ofDay = Shifted(seconds_, offsetMinutes) % kSecondsPerDay;
  return static_cast<int32_t>((ofDay % kSecondsPerHour) / kSecondsPerMinute);
}

int32_t TGPSTime::Second() const {
  return static_cast<int32_t>(seconds_ % kSecondsPerDay % kSecondsPerHour % kSecondsPerMinute);
}

TGPSWeek TGPSTime::Week() const {
  return TGPSWeek(static_cast<int32_t>(seconds_ / kSecondsPerWeek));
}

uint32_t TGPSTime::WeekNumber10() const {
  return (seconds_ / kSecondsPerWeek) & kWeekMask;
}

int64_t TGPSTime::DayCount() const {
  return DayOfWeek(0) + static_cast<int64_t>(Week().Week()) * 7;
}

int32_t TGPSTime::DaysInYear(int32_t year) {
  if (year == kFirstYear) return 360;
  return IsLeapYear(year) ? 366 : 365;
}

bool TGPSTime::IsLeapYear(int32_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t TGPSTime::DaysInMonth(int32_t year, int32_t month) {
  if (month < 1 || month > 12) return 0;
  if (IsEpochMonth(year, month)) return 24;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDaysPerMonth[static_cast<size_t>(month - 1)];
}

TGPSTimeNS TGPSTimeNS::FromTimeRec(const TimeRec& rec) {
  int64_t nanoseconds = 0;
  WholeSecond(rec, nanoseconds);
  return TGPSTimeNS(TGPSTime::FromTimeRec(rec).Seconds(), nanoseconds);
}

TimeRec TimeRecFromTime(const TGPSTime& t) {
  TimeRec rec = CalendarRec(t);
  const Extended80 seconds = Ext80FromDouble(t.Second());
  std::copy(seconds.begin(), seconds.end(), rec.seconds);
  return rec;
}

TimeRec TimeRecFromTimeNS(const TGPSTimeNS& t) {
  TimeRec rec = CalendarRec(t);
  const Extended80 seconds = Ext80FromSecondsAndNanoseconds(t.Second(), t.Nanoseconds());
  std::copy(seconds.begin(), seconds.end(), rec.seconds);
  return rec;
}

}  // namespace vnx
