// vnx-rinex: scans one log as vnx-check does and writes its observations and ephemerides as
// RINEX 3.04 or 2.11 files.
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/rinex/rinex_export.h"
#include "engine/session.h"

namespace {

constexpr const char* kUsage =
    "usage: vnx-rinex [--version 3.04|2.11] [--obs FILE] [--nav FILE] [--antenna LETTER]\n"
    "                 [--mask DEG] [--systems GRES] [--workdir DIR] LOG\n"
    "Writes the observations and ephemerides of a receiver log as RINEX files.\n"
    "  --version V       RINEX version 3.04 (default) or 2.11; alone: print the program version\n"
    "  --obs FILE        observation file (default: next to the log, <stem>.obs for 3.04,\n"
    "                    <stem>.<yy>o for 2.11)\n"
    "  --nav FILE        navigation file (default <stem>.nav for 3.04; for 2.11 one file per\n"
    "                    system, <stem>.<yy>n GPS, .<yy>g GLONASS, .<yy>l Galileo, .<yy>h SBAS;\n"
    "                    a given name gets the system's letter as its last character)\n"
    "  --antenna LETTER  the antenna of a multi-antenna log to export\n"
    "  --mask DEG        leave out satellites below DEG degrees of elevation\n"
    "  --systems GRES    only these systems (G GPS, R GLONASS, E Galileo, S SBAS)\n"
    "  --no-obs, --no-nav  skip the observation or the navigation files\n"
    "  --workdir DIR     keep the scan's working files in DIR (created if needed)\n"
    "exit status: 0 written, 1 written but the scan reported errors, 2 nothing could be written\n";

struct Options {
  vnx::rinex::ExportOptions exp;
  std::string workdir;
  char antenna = '0';
  std::string log;
  bool showVersion = false;
};

bool ParseSystems(const std::string& letters, std::array<bool, vnx::kSatSystemCount>& systems) {
  systems.fill(false);
  for (char c : letters) {
    bool known = false;
    for (vnx::SatSystem s : vnx::kSatSystems) {
      if (vnx::InfoOf(s).letter != c) continue;
      systems[static_cast<size_t>(vnx::SystemIndex(s))] = true;
      known = true;
    }
    if (!known) return false;
  }
  return !letters.empty();
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    const std::string next = hasValue ? argv[i + 1] : "";
    if (a == "--version") {
      if (next == "3.04" || next == "3") {
        o.exp.version = vnx::rinex::Version::V304;
        ++i;
      } else if (next == "2.11" || next == "2") {
        o.exp.version = vnx::rinex::Version::V211;
        ++i;
      } else {
        o.showVersion = true;
        return true;
      }
    } else if (a == "--obs" && hasValue) {
      o.exp.obsPath = argv[++i];
    } else if (a == "--nav" && hasValue) {
      o.exp.navPath = argv[++i];
    } else if (a == "--antenna" && hasValue && next.size() == 1) {
      o.antenna = argv[++i][0];
    } else if (a == "--mask" && hasValue) {
      char* end = nullptr;
      o.exp.maskDegrees = std::strtod(argv[++i], &end);
      if (end == argv[i] || *end != 0) return false;
    } else if (a == "--systems" && hasValue) {
      if (!ParseSystems(argv[++i], o.exp.systems)) return false;
    } else if (a == "--no-obs") {
      o.exp.writeObs = false;
    } else if (a == "--no-nav") {
      o.exp.writeNav = false;
    } else if (a == "--workdir" && hasValue) {
      o.workdir = argv[++i];
    } else if (!a.empty() && a[0] != '-' && o.log.empty()) {
      o.log = a;
    } else {
      return false;
    }
  }
  return !o.log.empty();
}

// Message boxes of the scan, printed instead of shown.
class RinexUi : public vnx::HeadlessUi {
 public:
  explicit RinexUi(char antenna) : HeadlessUi(antenna), antenna_(antenna) {}
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  // One observation file holds one antenna: without --antenna the first one is exported.
  vnx::AntennaChoice AskAntenna(const std::string& letters) override {
    if (antenna_ != '0' || letters.size() < 2) return HeadlessUi::AskAntenna(letters);
    messages.push_back(std::string("vnx-rinex: the log has antennas ") + letters +
                       "; exporting antenna " + letters[0] + " (--antenna chooses another)");
    return {true, letters[0]};
  }
  std::vector<std::string> messages;

 private:
  char antenna_;
};

std::string WorkingDirectory(const std::string& given) {
  if (!given.empty()) {
    ::mkdir(given.c_str(), 0755);
    return given.back() == '/' ? given : given + "/";
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/vnx-rinex.XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back(0);
  if (::mkdtemp(buf.data()) == nullptr) return {};
  return std::string(buf.data()) + "/";
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!Parse(argc, argv, o)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (o.showVersion) {
    std::printf("vnx-rinex %s\n", VNX_VERSION);
    return 0;
  }
  // A file-size limit must turn into a write error with a message, not end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"))
    o.exp.created = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));

  RinexUi ui(o.antenna);
  vnx::Session session(&ui);
  const std::string dir = WorkingDirectory(o.workdir);
  if (dir.empty() || !session.CreateWorkingFiles(dir)) {
    std::fprintf(stderr, "vnx-rinex: cannot create the working files in %s\n",
                 dir.empty() ? "the temporary directory" : dir.c_str());
    for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.c_str());
    return 2;
  }
  auto cleanUp = [&] {
    if (o.workdir.empty()) session.RemoveWorkingFiles();
  };
  const bool mapped = session.Scan(o.log);
  for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.c_str());
  if (!mapped || session.ResultCode() == 0 || !session.WriteFailure().empty()) {
    if (mapped && session.ResultCode() == 0) std::fprintf(stderr, "Processed   false\n");
    cleanUp();
    return 2;
  }
  const vnx::rinex::ExportInput in = vnx::rinex::ExportInputFromScan(session.Result(), o.log);
  const vnx::rinex::ExportResult r = vnx::rinex::ExportRinex(in, o.exp);
  const size_t scanErrors = session.Errors().size();
  cleanUp();
  for (const auto& f : r.files)
    std::printf("%s: %s, %llu bytes\n", f.path.c_str(), f.kind.c_str(),
                static_cast<unsigned long long>(f.bytes));
  std::printf("%lld epochs, %lld satellites, %lld events, %lld ephemerides\n",
              static_cast<long long>(r.epochs), static_cast<long long>(r.satellites),
              static_cast<long long>(r.events), static_cast<long long>(r.ephemerides));
  for (const auto& n : r.notes) std::fprintf(stderr, "vnx-rinex: %s\n", n.c_str());
  if (!r.ok || !r.error.empty()) {
    std::fprintf(stderr, "vnx-rinex: %s\n", r.error.c_str());
    return 2;
  }
  if (scanErrors > 0) {
    std::fprintf(stderr, "vnx-rinex: the scan reported %zu error line(s); vnx-check lists them\n",
                 scanErrors);
    return 1;
  }
  return 0;
}
