#include "engine/views/chart_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"

namespace vnx {

namespace {

constexpr double kDay = 86400;

double SecondsOfMinute(const TimeRec& t) {
  int64_t whole = 0, ns = 0;
  Ext80SplitSeconds(t.seconds, whole, ns);
  return static_cast<double>(whole) + static_cast<double>(ns) * 1e-9;
}

}  // namespace

int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day) {
  // Counted in eras of 400 years starting in March, so the leap day closes each year.
  const int64_t y = static_cast<int64_t>(year) - (month <= 2);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int32_t& year, int32_t& month, int32_t& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int32_t>(yoe + era * 400 + (month <= 2));
}

EpochClock::EpochClock(const std::vector<TimeRec>& times, std::optional<int> leapSeconds)
    : leapSeconds_(leapSeconds) {
  if (times.empty()) return;
  originDay_ = DaysFromCivil(times[0].year, times[0].month, times[0].day);
  seconds_.reserve(times.size());
  for (const TimeRec& t : times) {
    const int64_t day = DaysFromCivil(t.year, t.month, t.day) - originDay_;
    seconds_.push_back(static_cast<double>(day) * kDay + t.hour * 3600.0 + t.minute * 60.0 +
                       SecondsOfMinute(t));
  }
}

std::string EpochClock::Load(const std::string& path, int32_t epochCount) {
  RecordReader reader(path, sizeof(EpochRec));
  if (!reader.IsOpen()) return "Error Opening File DataEpochs.dat ! ";
  std::vector<TimeRec> times;
  times.reserve(static_cast<size_t>(std::max(epochCount, 0)));
  std::optional<int> leap;
  EpochRec rec;
  while (static_cast<int32_t>(times.size()) < epochCount && reader.Read(&rec)) {
    times.push_back(rec.time);
    if (rec.flags[kFlagUO]) leap = rec.utc.dtls;
  }
  *this = EpochClock(times, leap);
  return {};
}

bool EpochClock::Offers(ChartTimeAxis mode) const {
  if (mode == ChartTimeAxis::Epoch) return true;
  if (Empty()) return false;
  return mode == ChartTimeAxis::GpsTime || leapSeconds_.has_value();
}

double EpochClock::AxisValue(double epoch, ChartTimeAxis mode) const {
  if (mode == ChartTimeAxis::Epoch || Empty()) return epoch;
  const double shift = mode == ChartTimeAxis::Utc ? leapSeconds_.value_or(0) : 0;
  if (seconds_.size() == 1) return seconds_[0] + (epoch - 1) - shift;
  // Between epochs k and k + 1 (clamped to the first or last pair outside them).
  const double last = static_cast<double>(seconds_.size());
  const double k = std::clamp(std::floor(epoch), 1.0, last - 1);
  const size_t i = static_cast<size_t>(k) - 1;
  return seconds_[i] + (epoch - k) * (seconds_[i + 1] - seconds_[i]) - shift;
}

double EpochClock::EpochAt(double value, ChartTimeAxis mode) const {
  if (mode == ChartTimeAxis::Epoch || Empty()) return value;
  const double s = value + (mode == ChartTimeAxis::Utc ? leapSeconds_.value_or(0) : 0);
  if (seconds_.size() == 1) return 1 + (s - seconds_[0]);
  const auto it = std::upper_bound(seconds_.begin(), seconds_.end(), s);
  size_t i = static_cast<size_t>(it - seconds_.begin());
  i = std::clamp<size_t>(i, 1, seconds_.size() - 1) - 1;
  const double span = seconds_[i + 1] - seconds_[i];
  return static_cast<double>(i + 1) + (span > 0 ? (s - seconds_[i]) / span : 0);
}

bool EpochClock::SpansDays() const {
  if (Empty()) return false;
  const auto [lo, hi] = std::minmax_element(seconds_.begin(), seconds_.end());
  return std::floor(*lo / kDay) != std::floor(*hi / kDay);
}

std::string EpochClock::Text(double value, bool withDate, int decimals) const {
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(value * scale) / scale;
  const double dayNumber = std::floor(rounded / kDay);
  const double inDay = rounded - dayNumber * kDay;
  const int whole = static_cast<int>(std::floor(inDay));
  char buf[64];
  int n =
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", whole / 3600, whole / 60 % 60, whole % 60);
  if (decimals > 0) {
    const long long fraction = std::llround((inDay - whole) * scale);
    std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), ".%0*lld", decimals, fraction);
  }
  if (!withDate) return buf;
  int32_t y = 0, m = 0, d = 0;
  CivilFromDays(originDay_ + static_cast<int64_t>(dayNumber), y, m, d);
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d ", y, m, d);
  return date + std::string(buf);
}

double TimeTickStep(double range, int ticks) {
  if (!(range > 0) || ticks < 1) return 1;
  const double raw = range / ticks;
  static constexpr double kSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                                      600, 900, 1800, 3600, 7200, 10800, 21600, 43200};
  if (raw < 1) {
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
      if (m * p >= raw) return m * p;
    return 10 * p;
  }
  for (double s : kSteps)
    if (s >= raw) return s;
  return std::ceil(raw / kDay) * kDay;
}

const char* ChartTimeAxisTitle(ChartTimeAxis mode) {
  switch (mode) {
    case ChartTimeAxis::GpsTime:
      return "GPS time";
    case ChartTimeAxis::Utc:
      return "UTC";
    case ChartTimeAxis::Epoch:
      break;
  }
  return "Epoch number";
}

}  // namespace vnx
