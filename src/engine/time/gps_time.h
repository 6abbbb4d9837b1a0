#pragma once
// GPS time on the system's own calendar tables: seconds since 1980-01-06 00:00:00 GPS time,
// no leap seconds, no platform date functions.
#include <cstdint>

#include "engine/time/time_rec.h"

namespace vnx {

inline constexpr uint32_t kSecondsPerWeek = 604800;
inline constexpr uint32_t kSecondsPerDay = 86400;
inline constexpr uint32_t kSecondsPerHour = 3600;
inline constexpr uint32_t kSecondsPerMinute = 60;

// A GPS week brought past the first week-number roll-over: w <= 512 gets 1024 added, and a
// result still below 1024 gets 1024 more (0..1023 -> 1024..2047, -1 -> 2047).
// The scanner's documented name.
class TGPSWeek {
 public:
  explicit TGPSWeek(int32_t w);
  int32_t Week() const { return week_; }

 private:
  int32_t week_;
};

// The scanner's documented name.
class TGPSTime {
 public:
  TGPSTime() = default;
  explicit TGPSTime(uint32_t seconds) : seconds_(seconds) {}
  // Seconds == 0 when the date is invalid (year outside 1980..2116, month 0 or > 12, day 0 or
  // beyond the month, hour > 23, minute or second >= 60).
  static TGPSTime FromCalendar(int32_t year, int32_t month, int32_t day, int32_t hour,
                               int32_t minute, int32_t second);
  static TGPSTime FromWeek(TGPSWeek week, uint32_t secondsOfWeek);
  // Year, month (outside 1..12 becomes 0: invalid), day, hour, minute, whole seconds
  // truncated toward zero.
  static TGPSTime FromTimeRec(const TimeRec& rec);

  uint32_t Seconds() const { return seconds_; }

  int32_t Year(int32_t offsetMinutes = 0) const;
  int32_t Month(int32_t offsetMinutes = 0) const;
  int32_t Day(int32_t offsetMinutes = 0) const;
  int32_t DayOfWeek(int32_t offsetMinutes = 0) const;  // 0 = Sunday, the epoch's weekday
  int32_t Hour(int32_t offsetMinutes = 0) const;
  int32_t Minute(int32_t offsetMinutes = 0) const;
  int32_t Second() const;

  TGPSWeek Week() const;          // TGPSWeek(Seconds div 604800)
  uint32_t WeekNumber10() const;  // (Seconds div 604800) mod 1024
  int64_t DayCount() const;       // DayOfWeek + Week().Week() * 7

  static int32_t DaysInYear(int32_t year);  // 360 for 1980
  static bool IsLeapYear(int32_t year);
  static int32_t DaysInMonth(int32_t year, int32_t month);  // 24 for January 1980

 protected:
  uint32_t seconds_ = 0;
};

// The scanner's documented name.
class TGPSTimeNS : public TGPSTime {
 public:
  TGPSTimeNS() = default;
  TGPSTimeNS(uint32_t seconds, int64_t nanoseconds)
      : TGPSTime(seconds), nanoseconds_(nanoseconds) {}
  // Whole seconds as TGPSTime::FromTimeRec; nanoseconds = round(fraction * 1e9), ties to even.
  static TGPSTimeNS FromTimeRec(const TimeRec& rec);
  int64_t Nanoseconds() const { return nanoseconds_; }

 private:
  int64_t nanoseconds_ = 0;
};

// Calendar breakdown of a time into the stored record; seconds = Second() (+ ns / 1e9).
TimeRec TimeRecFromTime(const TGPSTime& t);
TimeRec TimeRecFromTimeNS(const TGPSTimeNS& t);

}  // namespace vnx
