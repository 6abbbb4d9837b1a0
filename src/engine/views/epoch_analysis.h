#pragma once
// The post-scan epoch analysis: reads the epoch records back and builds the epochs list (with
// the marker lines where epochs are missing or time runs backwards), the time steps between
// epochs and the gap count. The window only displays the result; failures come back as the text
// the window shows.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vnx {

class ScanResult;

// One point of the time-difference chart: epoch number, step from the previous epoch in
// seconds.
struct TimeStepPoint {
  int32_t epoch = 0;
  double seconds = 0;
};

struct EpochAnalysis {
  bool ok = false;
  std::string message;               // the message box text when !ok
  std::vector<std::string> lines;    // the epochs list; marker lines precede their epoch's line
  std::vector<TimeStepPoint> steps;  // for epochs 2..EpochCount
  int32_t gapCount = 0;

  // Marker lines always precede an epoch line, so the first and last lines are epoch lines.
  bool HasLines() const { return !lines.empty(); }
  const std::string& FirstLine() const { return lines.front(); }
  const std::string& LastLine() const { return lines.back(); }
};

// Receives the gauge percentage every 100 epochs, and 0 when the pass has ended.
using ProgressCallback = std::function<void(int percent)>;

// Reads `epochCount` records of `dataEpochsPath`; `intervalMs` is the nominal epoch step.
EpochAnalysis RunEpochAnalysis(const std::string& dataEpochsPath, int32_t epochCount,
                               int32_t intervalMs, const ProgressCallback& progress = {});
// The same for the scan held by `ctx`.
EpochAnalysis RunEpochAnalysis(const ScanResult& ctx, const ProgressCallback& progress = {});

}  // namespace vnx
