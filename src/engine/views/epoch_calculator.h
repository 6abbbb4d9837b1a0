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
  // Loads every record of the file (not only this scan's); `progress` gets a percentage every
  // 200 records. Returns the message to show on failure, empty on success.
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

// The display form of one stored time (milliseconds rounded, so 59.9996 s reads 59.1000).
std::string CalculatorTimeText(const TimeRec& rec);

}  // namespace vnx
