#pragma once
// The quality analysis of a scanned log: one pass over its epoch and satellite records, with
// the ephemeris records read in step, keeping per-satellite state only (and the slip lists and
// thinned chart series).
#include <optional>
#include <string>

#include "engine/epoch/scan_result.h"
#include "engine/orbits/log_orbits.h"
#include "engine/quality/quality_report.h"
#include "engine/views/point_series.h"

namespace vnx {

// Where the analysis reads from: the working files of a scan and its counts.
struct QualitySource {
  std::string dataEpochsPath, svRecsPath;
  EphemerisPaths ephemerides;
  int32_t epochCount = 0;
  int32_t intervalMs = 0;  // the scan's epoch interval
};
QualitySource QualitySourceOf(const ScanResult& scan);

struct QualityOptions {
  double maskDeg = 10;
  std::optional<Vec3> position;  // the receiver; default: the mean of the log's positions
};

// Seconds between two evaluations of a satellite's orbit; angles are interpolated between them.
inline constexpr double kElevationStepS = 60;
// Samples per satellite that the chart series keep over the whole log.
inline constexpr int kChartSamplesPerSatellite = 480;

QualityReport AnalyseQuality(const QualitySource& src, const QualityOptions& options,
                             const ProgressCallback& progress = {});

}  // namespace vnx
