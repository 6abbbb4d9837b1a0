#pragma once
// The quality report of vnx-check as text lines, as the "qc" object of its JSON document and as
// one CSV row of a many-log run.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/quality/quality_report.h"

namespace vnx {

// "2022-01-01 00:00:30.000" of GPS seconds.
std::string QualityTimeText(double gpsSeconds);
// The signal blocks whose signal strength any satellite of the report has.
std::vector<int> SnrSignalsOf(const QualityReport& r);
// The caption of a signal block's signal strength ("CA/S1", "S1", "S2", "CA/S2", "S5").
const char* SnrCaption(int signal);

std::vector<std::string> QualityLines(const QualityReport& r);
// Per system: MP1/MP2 RMS per 5-degree and signal strength per 10-degree elevation bin.
std::vector<std::string> ElevationTableLines(const QualityReport& r);
nlohmann::json QualityJson(const QualityReport& r);

// One row of the CSV of many logs.
struct QualityCsvRow {
  std::string file;
  int32_t epochs = 0;
  std::optional<double> completenessPct, mp1RmsM, mp2RmsM;
  int64_t slips = 0;
  int64_t clockJumps = 0;
  int64_t errors = 0;  // lines of the error list
  int exitStatus = 0;
};
std::string QualityCsvHeader();
std::string QualityCsvLine(const QualityCsvRow& row);

}  // namespace vnx
