#pragma once
// What vnx-check reports about a scan, as text lines and as one JSON document.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/session.h"

namespace vnx {

struct CheckReport {
  std::string file;
  bool mapped = false;
  bool processed = false;
  std::vector<std::string> errors;    // the error list, heading first
  std::vector<std::string> messages;  // what the window would show in message boxes
  int32_t epochs = 0;
  int32_t intervalMs = 0;
  std::string firstEpoch, lastEpoch;
  std::vector<int> gps, glonass, sbas, galileo;  // PRN, slot, PRN - 100, PRN
  std::string writeFailure;
};

CheckReport BuildCheckReport(Session& session, const std::string& file, bool mapped,
                             std::vector<std::string> messages);
std::vector<std::string> ReportLines(const CheckReport& r);
nlohmann::json ReportJson(const CheckReport& r);
// 0 no errors, 1 errors found, 2 the file could not be scanned.
int ReportExitStatus(const CheckReport& r);

}  // namespace vnx
