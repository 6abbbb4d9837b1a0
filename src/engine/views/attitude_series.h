#pragma once
// The Attitude view's charts: from the attitude ("AR") or baseline ("mr", "MR") blocks that the
// scan copied into the epoch records, the time of day of each message, its validity, the fixed
// or float state of the chosen baseline, and the angles, Q matrix, baselines or RMS.
#include <array>
#include <cstdint>
#include <string>

#include "engine/views/point_series.h"

namespace vnx {

class ScanResult;

enum class AttitudeMessage : int { kAR = 0, kMr73 = 1, kMr37 = 2 };  // "AR", "mr", "MR"
enum class BaselineChart : int { kBaselines = 0, kQMatrix = 1, kRms = 2 };

struct AttitudeChoice {
  AttitudeMessage message = AttitudeMessage::kAR;
  BaselineChart chart = BaselineChart::kBaselines;  // for "mr" and "MR"
  int baseline = 0;                                 // 0..2: M-S1, M-S2, M-S3
};

// Which attitude messages the scan stored at least once.
struct AttitudeSeen {
  bool ar = false, mr73 = false, mr37 = false;
};

struct AttitudeCharts {
  PointSeries timeOfDay;                 // seconds of day
  PointSeries valid, notValid;           // at 1 and 0
  PointSeries fixed, floating;           // the chosen baseline's solution type: at 1 and 0
  std::array<PointSeries, 3> angles;     // pitch, roll, heading
  std::array<PointSeries, 4> q;          // q00, q01, q02, q12
  std::array<PointSeries, 3> baselines;  // the chosen baseline's three components
  std::array<PointSeries, 3> rms;        // M-S1, M-S2, M-S3
  std::string message;                   // the message to show, empty when none
};

AttitudeCharts DrawAttitudeCharts(const std::string& dataEpochsPath, int32_t epochCount,
                                  AttitudeSeen seen, const AttitudeChoice& choice);
AttitudeCharts DrawAttitudeCharts(const ScanResult& ctx, const AttitudeChoice& choice);

}  // namespace vnx
