// vnx-check: scans one log exactly as the viewer does and prints its error list, its summary
// and, on request, its epochs list.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/check_report.h"
#include "cli/ephemeris_report.h"
#include "cli/quality_check.h"
#include "engine/stream/working_files.h"

namespace {

constexpr const char* kUsage =
    "usage: vnx-check [--workdir DIR] [--antenna LETTER] [--json] [--epochs] FILE\n"
    "       vnx-check --qc [--mask DEG] [--position X,Y,Z] [--qc-html OUT.html] [--jobs N]\n"
    "                 [--csv OUT.csv] [--json] FILE...\n"
    "  --workdir DIR     keep the working files in DIR (created if needed)\n"
    "  --antenna LETTER  answer the antenna question of multi-antenna logs with LETTER\n"
    "  --json            print the report as one JSON document\n"
    "  --epochs          also print the epochs list with its gap and time-reversal lines\n"
    "  --ephemerides     list the distinct ephemerides per system and satellite\n"
    "  --ephemeris X:N   print ephemeris N of satellite X (G5, R3, S22, E11)\n"
    "  --qc              add the quality report (completeness, multipath, slips, signal\n"
    "                    strength, clock jumps); with --qc several FILEs may be given\n"
    "  --mask DEG        elevation mask of the quality report (default 10)\n"
    "  --position X,Y,Z  receiver position in metres (default: mean of the log's positions)\n"
    "  --qc-html OUT     also write the quality report as one HTML file\n"
    "  --jobs N          check N logs at a time, each in its own working directory\n"
    "  --csv OUT         one CSV row per log: file, epochs, completeness, MP1/MP2 RMS, slips,\n"
    "                    clock jumps, errors\n"
    "  --help            this text\n"
    "  --version         print the version\n"
    "exit status: 0 no errors, 1 errors found, 2 the file could not be scanned\n"
    "(the worst of all files with several)\n";

struct Options {
  std::string workdir;
  char antenna = '0';
  bool json = false;
  bool epochs = false;
  vnx::EphemerisQuery ephemerides;  // --ephemerides, --ephemeris
  std::string file;
  vnx::QualityCheckOptions quality;  // --qc and its options
  std::vector<std::string> moreFiles;
  bool help = false;
  bool version = false;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    std::string error;
    if (vnx::ParseQualityOption(argc, argv, i, o.quality, error)) {
      if (!error.empty()) {
        std::fprintf(stderr, "vnx-check: %s\n", error.c_str());
        return false;
      }
    } else if (a == "--workdir" && i + 1 < argc) {
      o.workdir = argv[++i];
    } else if (a == "--antenna" && i + 1 < argc && std::strlen(argv[i + 1]) == 1) {
      o.antenna = argv[++i][0];
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--epochs") {
      o.epochs = true;
    } else if (a == "--ephemerides") {
      o.ephemerides.counts = true;
    } else if (a == "--ephemeris" && i + 1 < argc) {
      o.ephemerides.selector = argv[++i];
    } else if (a == "-h" || a == "--help") {
      o.help = true;
      return true;
    } else if (a == "--version") {
      o.version = true;
      return true;
    } else if (!a.empty() && a[0] != '-' && o.file.empty()) {
      o.file = a;
    } else if (!a.empty() && a[0] != '-') {
      o.moreFiles.push_back(a);
    } else {
      return false;
    }
  }
  if (!o.moreFiles.empty() && !o.quality.enabled) return false;
  if (o.quality.enabled && (o.ephemerides.counts || !o.ephemerides.selector.empty())) return false;
  return !o.file.empty();
}

// Message boxes of the scan, kept for the report instead of being shown.
class CheckUi : public vnx::HeadlessUi {
 public:
  explicit CheckUi(char antenna) : HeadlessUi(antenna) {}
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

std::string WorkingDirectory(const Options& o) {
  if (!o.workdir.empty()) {
    ::mkdir(o.workdir.c_str(), 0755);
    return o.workdir;
  }
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return "TempVNX_V/";
  return vnx::ChooseWorkingDirectory(cwd);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (o.help || o.version) {
    std::fputs(o.help ? kUsage : "vnx-check " VNX_VERSION "\n", stdout);
    return 0;
  }
  if (o.quality.enabled) {
    std::vector<std::string> files{o.file};
    files.insert(files.end(), o.moreFiles.begin(), o.moreFiles.end());
    return vnx::RunQualityChecks(files, {o.workdir, o.antenna, o.json, o.epochs}, o.quality);
  }
  CheckUi ui(o.antenna);
  vnx::Session session(&ui);
  if (!session.CreateWorkingFiles(WorkingDirectory(o))) {
    for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.c_str());
    return 2;
  }
  const bool mapped = session.Scan(o.file);
  if (mapped && session.ResultCode() == 0) ui.messages.push_back("Processed   false");
  if (o.ephemerides.counts || !o.ephemerides.selector.empty()) {
    o.ephemerides.json = o.json;
    const int status = vnx::RunEphemerisQuery(session, mapped, o.ephemerides, o.file, ui.messages,
                                              std::cout, std::cerr);
    if (o.workdir.empty()) session.RemoveWorkingFiles();
    return status;
  }
  const vnx::CheckReport report = vnx::BuildCheckReport(session, o.file, mapped, ui.messages);
  if (o.workdir.empty()) session.RemoveWorkingFiles();

  if (o.json) {
    std::cout << vnx::ReportJson(report, o.epochs).dump(2) << '\n';
  } else {
    for (const auto& m : report.messages) std::fprintf(stderr, "%s\n", m.c_str());
    for (const auto& line : vnx::ReportLines(report, o.epochs)) std::cout << line << '\n';
  }
  return vnx::ReportExitStatus(report);
}
