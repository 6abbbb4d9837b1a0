#include "engine/views/epoch_calculator.h"

#include <cmath>
#include <cstdio>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/time/gps_time.h"

namespace vnx {

std::string CalculatorTimeText(const TimeRec& rec) {
  int64_t whole = 0, ns = 0;
  Ext80SplitSeconds(rec.seconds, whole, ns);
  // Rounded to the millisecond as a whole, so 59.9996 s becomes the next minute's 00.000.
  const int64_t ms = whole * 1000 + (ns + 500000) / 1000000;
  const int64_t second = ms / 1000;
  const long long millis = static_cast<long long>(ms % 1000);
  char buf[96];
  const TGPSTime minute =
      TGPSTime::FromCalendar(rec.year, rec.month, rec.day, rec.hour, rec.minute, 0);
  const bool dated = minute.Seconds() != 0 || (rec.year == 1980 && rec.month == 1 && rec.day == 6);
  if (second < 60 || !dated) {
    // A date the calendar does not know is shown as stored; only the seconds carry.
    std::snprintf(buf, sizeof buf, "%02d/%02d/%d  %02d:%02d:%02lld.%03lld", rec.day, rec.month,
                  rec.year, rec.hour, rec.minute, static_cast<long long>(second), millis);
    return buf;
  }
  const TGPSTime t(minute.Seconds() + static_cast<uint32_t>(second));
  std::snprintf(buf, sizeof buf, "%02d/%02d/%d  %02d:%02d:%02d.%03lld", t.Day(), t.Month(),
                t.Year(), t.Hour(), t.Minute(), t.Second(), millis);
  return buf;
}

std::string EpochTimeTable::Load(const std::string& path, int32_t epochCount,
                                 const std::function<void(int)>& progress) {
  times_.clear();
  RecordReader reader(path, sizeof(EpochRec));
  if (!reader.IsOpen()) return "Error Opening File DataEpochs.dat ! ";
  EpochRec rec;
  // Records past this scan's count belong to an earlier, longer scan.
  while (Loaded() < epochCount && reader.Read(&rec)) {
    if (times_.size() == times_.capacity()) times_.reserve(times_.size() + 200);
    times_.push_back(rec.time);
    if (progress && times_.size() % 200 == 0 && epochCount > 0)
      progress(static_cast<int>(std::lround(times_.size() * 100.0 / epochCount)));
  }
  if (progress) progress(0);
  stale_ = false;
  return {};
}

std::string EpochTimeTable::Text(int32_t k) const {
  if (k < 1 || k > Loaded()) return {};
  return CalculatorTimeText(times_[static_cast<size_t>(k - 1)]);
}

}  // namespace vnx
