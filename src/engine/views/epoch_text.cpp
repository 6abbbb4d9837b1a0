#include "engine/views/epoch_text.h"

#include <cstdio>

#include "engine/time/gps_time.h"

namespace vnx {

std::string EpochTimeText(const TimeRec& rec) {
  const TGPSTimeNS t = TGPSTimeNS::FromTimeRec(rec);
  char buf[80];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d  %02d:%02d:%02d.%03lld", t.Day(), t.Month(),
                t.Year(), t.Hour(), t.Minute(), t.Second(),
                static_cast<long long>(t.Nanoseconds() / 1000000));
  return buf;
}

std::string EpochLine(const TimeRec& rec, int32_t epochNumber) {
  char number[16];
  std::snprintf(number, sizeof number, "%05d", static_cast<int>(epochNumber));
  return EpochTimeText(rec) + "     " + number;
}

}  // namespace vnx
