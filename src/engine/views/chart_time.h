#pragma once
// The horizontal axis of the charts drawn against the epoch: the epoch number, or the time of
// each epoch in GPS time or UTC. The charts keep epoch numbers; this clock turns them into
// seconds for the time axis and back, and makes the tick steps and the texts of that axis.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/time/time_rec.h"

namespace vnx {

enum class ChartTimeAxis : int { Epoch = 0, GpsTime = 1, Utc = 2 };

class EpochClock {
 public:
  EpochClock() = default;
  // Epoch k (1-based) at times[k - 1]; `leapSeconds` (GPS - UTC) when the log gave it.
  EpochClock(const std::vector<TimeRec>& times, std::optional<int> leapSeconds);

  // Reads the time of the first `epochCount` records of DataEpochs.dat, and the leap seconds of
  // the last epoch that carried UTC parameters. Returns the message to show on failure.
  std::string Load(const std::string& dataEpochsPath, int32_t epochCount);

  int32_t Count() const { return static_cast<int32_t>(seconds_.size()); }
  bool Empty() const { return seconds_.empty(); }
  std::optional<int> LeapSeconds() const { return leapSeconds_; }
  // The modes this log can show: UTC only with known leap seconds, time only with epochs.
  bool Offers(ChartTimeAxis mode) const;

  // Seconds of epoch `epoch` on the axis of `mode`, counted from 00:00:00 of the first epoch's
  // day (GPS time; UTC subtracts the leap seconds). Fractional and outlying epoch numbers are
  // interpolated or extended from the nearest two epochs; the Epoch mode returns `epoch`.
  double AxisValue(double epoch, ChartTimeAxis mode) const;
  // The epoch number at an axis value of `mode`: the inverse of AxisValue where the times rise.
  double EpochAt(double axisValue, ChartTimeAxis mode) const;
  // True when the epochs run over more than one calendar day, so the time texts carry the date.
  bool SpansDays() const;
  // "hh:mm:ss" of an axis value (with ".s" digits when `decimals` > 0), preceded by
  // "yyyy-mm-dd " when `withDate`. Values past midnight roll over to the next dates.
  std::string Text(double axisValue, bool withDate, int decimals = 0) const;

 private:
  std::vector<double> seconds_;  // GPS seconds from 00:00 of the first epoch's date
  int64_t originDay_ = 0;        // days from 1970-01-01 of the first epoch's date
  std::optional<int> leapSeconds_;
};

// Tick spacing in seconds for a time axis spanning `range` seconds with about `ticks` labels:
// 1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h, then whole days; below a
// second, powers of ten times 1, 2 or 5.
double TimeTickStep(double range, int ticks);

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day);
void CivilFromDays(int64_t days, int32_t& year, int32_t& month, int32_t& day);

// The axis titles of the horizontal axis of an epoch chart.
const char* ChartTimeAxisTitle(ChartTimeAxis mode);

}  // namespace vnx
