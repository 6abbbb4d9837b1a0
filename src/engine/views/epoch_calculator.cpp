#include "engine/views/epoch_calculator.h"

#include <cmath>
#include <cstdio>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"

namespace vnx {

std::string CalculatorTimeText(const TimeRec& rec) {
  int64_t whole = 0, ns = 0;
  Ext80SplitSeconds(rec.seconds, whole, ns);
  const long long ms = std::llround(static_cast<double>(ns) / 1e6);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%d  %02d:%02d:%02lld.%03lld", rec.day, rec.month,
                rec.year, rec.hour, rec.minute, static_cast<long long>(whole), ms);
  return buf;
}

std::string EpochTimeTable::Load(const std::string& path, int32_t epochCount,
                                 const std::function<void(int)>& progress) {
  times_.clear();
  RecordReader reader(path, sizeof(EpochRec));
  if (!reader.IsOpen()) return "Error Opening File DataEpochs.dat ! ";
  EpochRec rec;
  while (reader.Read(&rec)) {
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
