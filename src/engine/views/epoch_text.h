#pragma once
#include <cstdint>
#include <string>

#include "engine/time/time_rec.h"

namespace vnx {

// "03/03/2009  10:05:30.250": the date and time of an epoch as the epochs list shows it
// (milliseconds truncated from the stored nanoseconds).
std::string EpochTimeText(const TimeRec& rec);

// "03/03/2009  10:05:30.250     00007": one line of the epochs list; the epoch number has at
// least five digits.
std::string EpochLine(const TimeRec& rec, int32_t epochNumber);

}  // namespace vnx
