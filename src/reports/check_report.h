#pragma once
// What vnx-check reports about a scan, as text lines and as one JSON document: the error list,
// then what the viewer's Summary panel shows, and on request the epochs list.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/session.h"
#include "engine/views/epoch_analysis.h"
#include "engine/views/summary.h"

namespace vnx {

struct CheckReport {
  std::string file;
  bool mapped = false;
  bool processed = false;
  std::vector<ScanError> errors;      // the error list
  std::vector<std::string> messages;  // what the window would show in message boxes
  int32_t epochs = 0;
  int32_t intervalMs = 0;
  int32_t xaCount = 0, xbCount = 0;
  std::string writeFailure;
  // The post-scan analysis and the summary; they run whenever the file was mapped.
  EpochAnalysis analysis;
  Summary summary;
};

// Runs the post-scan analysis and the summary of the session's last scan, as the window does
// after a scan, and collects everything the report prints.
CheckReport BuildCheckReport(Session& session, const std::string& file, bool mapped,
                             std::vector<std::string> messages);
// The report of a mapped scan from what the session keeps, leaving the session as it is: the
// window saves the document vnx-check writes for the log it shows. The messages are those a
// mapped scan shows: its write failure and "Processed   false" for a file too short to process.
CheckReport CheckReportOfScan(const Session& session, const std::string& file);
// `withEpochs` adds the epochs list with its marker lines.
std::vector<std::string> ReportLines(const CheckReport& r, bool withEpochs = false);
nlohmann::json ReportJson(const CheckReport& r, bool withEpochs = false);
// The document as printed (indented by `indent`, on one line for -1), every string valid UTF-8:
// a path or a text of the log may hold any bytes, and each byte that is not part of valid UTF-8
// becomes U+FFFD.
std::string JsonText(const nlohmann::json& j, int indent = 2);
// 0 no errors, 1 errors found, 2 the file could not be scanned.
int ReportExitStatus(const CheckReport& r);

}  // namespace vnx
