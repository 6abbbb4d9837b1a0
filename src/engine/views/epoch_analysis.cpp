#include "engine/views/epoch_analysis.h"

#include <cmath>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/epoch/scan_result.h"
#include "engine/time/gps_time.h"
#include "engine/views/epoch_text.h"

namespace vnx {

namespace {

const std::string kMarkerLine(62, '@');
const std::string kMissingHead = "@@@@@@@ ";
const std::string kMissingText = " epochs missing ";
const std::string kMissingTail(22, '@');
const std::string kReversalText = "@ Current Time < preceding @@@@@@";

// The epoch time in whole milliseconds; the sub-millisecond part is dropped.
int64_t EpochMs(const EpochRec& rec) {
  const TGPSTimeNS t = TGPSTimeNS::FromTimeRec(rec.time);
  return static_cast<int64_t>(t.Seconds()) * 1000 + t.Nanoseconds() / 1000000;
}

void AddGapMarkers(EpochAnalysis& a, int64_t stepMs, int32_t intervalMs) {
  // Rounds to nearest with ties to even (the default rounding mode).
  const long double ratio = static_cast<long double>(stepMs) / intervalMs;
  const long long missing = std::llrint(ratio) - 1;
  a.lines.push_back(kMarkerLine);
  a.lines.push_back(kMissingHead + std::to_string(missing) + kMissingText + kMissingTail);
  a.lines.push_back(kMarkerLine);
}

void AddReversalMarkers(EpochAnalysis& a) {
  for (int k = 0; k < 3; ++k) a.lines.push_back(kMarkerLine);
  a.lines.push_back(kReversalText);
  for (int k = 0; k < 3; ++k) a.lines.push_back(kMarkerLine);
}

// Charts the step into epoch `i` and adds its marker lines. False when the interval is 0, which
// leaves no scale for the gap test.
bool CheckStep(EpochAnalysis& a, int32_t i, int64_t stepMs, int32_t intervalMs) {
  const double seconds = static_cast<double>(stepMs) / 1000.0;
  a.steps.push_back({i, seconds});
  if (intervalMs == 0) {
    a.message = "Interval = 0";
    return false;
  }
  const long double limit = (static_cast<long double>(intervalMs) + 1e-6L) * 1.1L;
  if (static_cast<long double>(stepMs) > limit) {
    ++a.gapCount;
    AddGapMarkers(a, stepMs, intervalMs);
  }
  if (seconds < -1e-4) AddReversalMarkers(a);
  return true;
}

EpochAnalysis Fail(EpochAnalysis a, const char* message) {
  a.ok = false;
  a.message = message;
  return a;
}

}  // namespace

EpochAnalysis RunEpochAnalysis(const std::string& dataEpochsPath, int32_t epochCount,
                               int32_t intervalMs, const ProgressCallback& progress) {
  EpochAnalysis a;
  RecordReader reader(dataEpochsPath, sizeof(EpochRec));
  if (!reader.IsOpen()) return Fail(std::move(a), "Error Opening File DataEpochs.dat ! ");
  EpochRec rec;
  int64_t previousMs = 0;
  for (int32_t i = 1; i <= epochCount; ++i) {
    if (!reader.Read(&rec)) return Fail(std::move(a), "Unexpected end of file");
    const int64_t ms = EpochMs(rec);
    if (i > 1) {
      if (i % 100 == 0 && progress)
        progress(static_cast<int>(static_cast<double>(i) / epochCount * 100));
      if (!CheckStep(a, i, ms - previousMs, intervalMs)) return a;
    }
    a.lines.push_back(EpochLine(rec.time, i));
    previousMs = ms;
  }
  if (progress) progress(0);
  a.ok = true;
  return a;
}

EpochAnalysis RunEpochAnalysis(const ScanResult& ctx, const ProgressCallback& progress) {
  return RunEpochAnalysis(ctx.Files().PathOf(WorkFile::DataEpochs), ctx.EpochCount(),
                          ctx.EpochInterval(), progress);
}

}  // namespace vnx
