#pragma once
// vnx-check --qc: the quality report of one log or of many, the many checked in parallel
// processes, each with its own working directory.
#include <optional>
#include <string>
#include <vector>

#include "engine/orbits/orbit.h"

namespace vnx {

struct QualityCheckOptions {
  bool enabled = false;  // --qc
  double maskDeg = 10;
  std::optional<Vec3> position;
  std::string html;  // --qc-html OUT.html
  std::string csv;   // --csv OUT.csv
  int jobs = 1;
};

// Takes the quality option at argv[i] (with its value, advancing i); false when argv[i] is not
// one. `error` is set when the option is one but its value is wrong.
bool ParseQualityOption(int argc, char** argv, int& i, QualityCheckOptions& o, std::string& error);

struct CheckSettings {
  std::string workdir;  // empty: a fresh working directory under the current one
  char antenna = '0';
  bool json = false;
  bool epochs = false;
};

// Checks every file with its quality report and prints the reports in file order: text, one
// JSON document for one file, JSON Lines for several. Returns the worst exit status.
int RunQualityChecks(const std::vector<std::string>& files, const CheckSettings& settings,
                     const QualityCheckOptions& qc);

// The HTML report's path for one of several logs: the log's name goes before ".html".
std::string HtmlPathFor(const std::string& html, const std::string& file, size_t fileCount);

}  // namespace vnx
