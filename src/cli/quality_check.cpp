#include "cli/quality_check.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "cli/check_report.h"
#include "cli/quality_html.h"
#include "cli/quality_output.h"
#include "engine/quality/quality_analysis.h"
#include "engine/stream/working_files.h"

namespace vnx {
namespace {

namespace fs = std::filesystem;

class QualityCheckUi : public HeadlessUi {
 public:
  explicit QualityCheckUi(char antenna) : HeadlessUi(antenna) {}
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

bool ParsePosition(const std::string& text, Vec3& p) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%lf,%lf,%lf%c", &p[0], &p[1], &p[2], &tail) == 3;
}

// What one file's check leaves for the parent: its printed report and its CSV row.
struct FileResult {
  std::string output;    // text or one JSON document
  std::string messages;  // message-box texts, for standard error
  QualityCsvRow row;
};

FileResult CheckFile(const std::string& file, const std::string& workdir, bool keepWorkdir,
                     const CheckSettings& s, const QualityCheckOptions& qc, size_t fileCount,
                     bool jsonLines) {
  FileResult out;
  out.row.file = file;
  QualityCheckUi ui(s.antenna);
  Session session(&ui);
  if (!session.CreateWorkingFiles(workdir)) {
    for (const auto& m : ui.messages) out.messages += m + "\n";
    out.row.exitStatus = 2;
    return out;
  }
  const bool mapped = session.Scan(file);
  if (mapped && session.ResultCode() == 0) ui.messages.push_back("Processed   false");
  const CheckReport report = BuildCheckReport(session, file, mapped, ui.messages);
  QualityReport quality;
  if (mapped && report.epochs > 0) {
    QualityOptions options;
    options.maskDeg = qc.maskDeg;
    options.position = qc.position;
    quality = AnalyseQuality(QualitySourceOf(session.Result()), options);
  } else {
    quality.message = mapped ? "No epochs" : "The file could not be scanned";
    quality.maskDeg = qc.maskDeg;
  }
  if (!keepWorkdir) session.RemoveWorkingFiles();

  out.row.exitStatus = ReportExitStatus(report);
  out.row.epochs = report.epochs;
  out.row.completenessPct = quality.total.CompletenessPct();
  out.row.mp1RmsM = quality.total.mp1.Rms();
  out.row.mp2RmsM = quality.total.mp2.Rms();
  out.row.slips = quality.total.slips;
  out.row.clockJumps = static_cast<int64_t>(quality.clockJumps.size());
  out.row.errors = static_cast<int64_t>(report.errors.size());
  if (!qc.html.empty()) {
    const std::string path = HtmlPathFor(qc.html, file, fileCount);
    std::ofstream html(path, std::ios::binary);
    html << QualityHtml(quality, report);
    if (!html) out.messages += "Cannot write " + path + "\n";
  }
  if (s.json) {
    nlohmann::json j = ReportJson(report, s.epochs);
    j["qc"] = QualityJson(quality);
    out.output = jsonLines ? j.dump() + "\n" : j.dump(2) + "\n";
  } else {
    for (const auto& m : report.messages) out.messages += m + "\n";
    std::string text;
    for (const auto& line : ReportLines(report, s.epochs)) text += line + "\n";
    for (const auto& line : QualityLines(quality)) text += line + "\n";
    out.output = text;
  }
  return out;
}

std::string DefaultWorkdir() {
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return "TempVNX_V/";
  return ChooseWorkingDirectory(cwd);
}

// Results travel from a child to the parent through a file in the child's directory.
void SaveResult(const FileResult& r, const std::string& path) {
  nlohmann::json j = {{"output", r.output},
                      {"messages", r.messages},
                      {"epochs", r.row.epochs},
                      {"completeness", r.row.completenessPct ? *r.row.completenessPct : -1.0},
                      {"mp1", r.row.mp1RmsM ? *r.row.mp1RmsM : -1.0},
                      {"mp2", r.row.mp2RmsM ? *r.row.mp2RmsM : -1.0},
                      {"slips", r.row.slips},
                      {"jumps", r.row.clockJumps},
                      {"errors", r.row.errors},
                      {"status", r.row.exitStatus}};
  std::ofstream(path, std::ios::binary) << j.dump();
}

FileResult LoadResult(const std::string& path, const std::string& file) {
  FileResult r;
  r.row.file = file;
  r.row.exitStatus = 2;
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const auto j = nlohmann::json::parse(text.str(), nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    r.messages = "vnx-check: the check of " + file + " did not finish\n";
    return r;
  }
  auto opt = [&](const char* key) -> std::optional<double> {
    const double v = j[key].get<double>();
    return v < 0 ? std::nullopt : std::optional<double>(v);
  };
  r.output = j["output"].get<std::string>();
  r.messages = j["messages"].get<std::string>();
  r.row.epochs = j["epochs"].get<int32_t>();
  r.row.completenessPct = opt("completeness");
  r.row.mp1RmsM = opt("mp1");
  r.row.mp2RmsM = opt("mp2");
  r.row.slips = j["slips"].get<int64_t>();
  r.row.clockJumps = j["jumps"].get<int64_t>();
  r.row.errors = j["errors"].get<int64_t>();
  r.row.exitStatus = j["status"].get<int>();
  return r;
}

void Print(const FileResult& r) {
  std::fputs(r.messages.c_str(), stderr);
  std::fputs(r.output.c_str(), stdout);
  std::fflush(stdout);
}

// Runs the checks in child processes, at most `jobs` at once, and prints each result as soon
// as every earlier file's is printed.
std::vector<FileResult> RunInParallel(const std::vector<std::string>& files, const CheckSettings& s,
                                      const QualityCheckOptions& qc) {
  std::string base = s.workdir;
  const bool ownBase = base.empty();
  if (ownBase) {
    char cwd[4096];
    std::string pattern =
        std::string(::getcwd(cwd, sizeof cwd) ? cwd : ".") + "/TempVNX_V_jobs_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) pattern = "TempVNX_V_jobs";
    base = pattern;
  } else {
    ::mkdir(base.c_str(), 0755);
  }
  const size_t n = files.size();
  std::vector<FileResult> results(n);
  std::vector<bool> done(n, false);
  std::map<pid_t, size_t> running;
  size_t next = 0, printed = 0;
  auto dirOf = [&](size_t i) { return base + "/" + std::to_string(i + 1) + "/"; };
  while (printed < n) {
    while (next < n && static_cast<int>(running.size()) < qc.jobs) {
      const std::string dir = dirOf(next);
      ::mkdir(dir.c_str(), 0755);
      std::fflush(nullptr);
      const pid_t pid = ::fork();
      if (pid == 0) {
        SaveResult(CheckFile(files[next], dir, !s.workdir.empty(), s, qc, n, s.json),
                   base + "/result-" + std::to_string(next + 1) + ".json");
        std::_Exit(0);
      }
      if (pid < 0) {
        results[next] = CheckFile(files[next], dir, !s.workdir.empty(), s, qc, n, s.json);
        done[next] = true;
      } else {
        running[pid] = next;
      }
      ++next;
    }
    while (printed < n && done[printed]) Print(results[printed++]);
    if (running.empty()) continue;
    int status = 0;
    const pid_t pid = ::wait(&status);
    auto it = running.find(pid);
    if (it == running.end()) continue;
    const size_t i = it->second;
    running.erase(it);
    const std::string path = base + "/result-" + std::to_string(i + 1) + ".json";
    results[i] = LoadResult(path, files[i]);
    std::remove(path.c_str());
    done[i] = true;
    while (printed < n && done[printed]) Print(results[printed++]);
  }
  if (ownBase) {
    std::error_code ec;
    fs::remove_all(base, ec);
  }
  return results;
}

}  // namespace

bool ParseQualityOption(int argc, char** argv, int& i, QualityCheckOptions& o, std::string& error) {
  const std::string a = argv[i];
  const bool hasValue = i + 1 < argc;
  if (a == "--qc") {
    o.enabled = true;
    return true;
  }
  if (a != "--mask" && a != "--position" && a != "--qc-html" && a != "--csv" && a != "--jobs")
    return false;
  o.enabled = true;  // every quality option asks for the report
  if (!hasValue) {
    error = a + " needs a value";
    return true;
  }
  const std::string v = argv[++i];
  if (a == "--mask") {
    char* end = nullptr;
    o.maskDeg = std::strtod(v.c_str(), &end);
    if (end == v.c_str() || *end != '\0' || o.maskDeg < -90 || o.maskDeg > 90)
      error = "--mask wants degrees, -90..90";
  } else if (a == "--position") {
    Vec3 p;
    if (ParsePosition(v, p))
      o.position = p;
    else
      error = "--position wants X,Y,Z in metres";
  } else if (a == "--qc-html") {
    o.html = v;
  } else if (a == "--csv") {
    o.csv = v;
  } else {
    o.jobs = std::atoi(v.c_str());
    if (o.jobs < 1) error = "--jobs wants a number of at least 1";
  }
  return true;
}

std::string HtmlPathFor(const std::string& html, const std::string& file, size_t fileCount) {
  if (fileCount <= 1) return html;
  const std::string stem = fs::path(file).stem().string();
  const std::string ext = ".html";
  if (html.size() > ext.size() && html.compare(html.size() - ext.size(), ext.size(), ext) == 0)
    return html.substr(0, html.size() - ext.size()) + "-" + stem + ext;
  return html + "-" + stem + ext;
}

int RunQualityChecks(const std::vector<std::string>& files, const CheckSettings& s,
                     const QualityCheckOptions& qc) {
  std::vector<FileResult> results;
  if (files.size() == 1 && qc.jobs <= 1) {
    const std::string dir = s.workdir.empty() ? DefaultWorkdir() : s.workdir;
    if (!s.workdir.empty()) ::mkdir(dir.c_str(), 0755);
    results.push_back(CheckFile(files[0], dir, !s.workdir.empty(), s, qc, 1, false));
    Print(results.back());
  } else {
    results = RunInParallel(files, s, qc);
  }
  int worst = 0;
  for (const FileResult& r : results) worst = std::max(worst, r.row.exitStatus);
  if (!qc.csv.empty()) {
    std::ofstream csv(qc.csv, std::ios::binary);
    csv << QualityCsvHeader() << "\n";
    for (const FileResult& r : results) csv << QualityCsvLine(r.row) << "\n";
    if (!csv) {
      std::fprintf(stderr, "vnx-check: cannot write %s\n", qc.csv.c_str());
      worst = 2;
    }
  }
  return worst;
}

}  // namespace vnx
