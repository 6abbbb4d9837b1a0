#include "engine/quality/quality_report.h"

#include <cmath>
#include <cstdio>

#include "engine/time/gps_time.h"

namespace vnx {

std::string QualityTimeText(double gpsSeconds) {
  const double whole = std::floor(gpsSeconds);
  const TGPSTime t(static_cast<uint32_t>(whole));
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%06.3f", t.Year(), t.Month(), t.Day(),
                t.Hour(), t.Minute(), t.Second() + (gpsSeconds - whole));
  return text;
}

const char* SnrCaption(int signal) {
  return InfoOf(ObservableOf(signal, kSnr)).caption;
}

std::vector<int> SnrSignalsOf(const QualityReport& r) {
  std::vector<int> out;
  for (int s = 0; s < kSignalCount; ++s)
    for (const QualitySatellite& q : r.satellites)
      if (q.snr[s].count > 0) {
        out.push_back(s);
        break;
      }
  return out;
}

}  // namespace vnx
