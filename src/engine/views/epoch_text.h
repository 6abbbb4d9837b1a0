#pragma once
#include <string>

#include "engine/time/time_rec.h"

namespace vnx {

// "03/03/2009  10:05:30.250": the date and time of an epoch as the epochs list shows it
// (milliseconds truncated from the stored nanoseconds).
std::string EpochTimeText(const TimeRec& rec);

}  // namespace vnx
