#pragma once
// The epoch-number to time calculator: the table of epoch times loaded from DataEpochs.dat and
// the text of one epoch.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/time/time_rec.h"

namespace vnx {

class EpochTimeTable {
 public:
  // Loads the times of this scan's `epochCount` records (a file that ends before them gives
  // fewer); `progress` gets a percentage every 200 records. Returns the message to show on
  // failure, empty on success.
  std::string Load(const std::string& dataEpochsPath, int32_t epochCount,
                   const std::function<void(int)>& progress = {});
  int32_t Loaded() const { return static_cast<int32_t>(times_.size()); }
  bool Stale() const { return stale_; }
  void MarkStale() { stale_ = true; }
  // "dd/mm/yyyy  hh:mm:ss.mmm" of epoch k (1-based); milliseconds rounded.
  std::string Text(int32_t k) const;

 private:
  std::vector<TimeRec> times_;
  bool stale_ = true;
};

// The display form of one stored time, rounded to the millisecond with the carry into the
// seconds, minutes, hours and date (23:59:59.9996 on 31/12 reads 00:00:00.000 of 1 January).
std::string CalculatorTimeText(const TimeRec& rec);

}  // namespace vnx
