// vnx-synth: writes a receiver log (.vnx) from RINEX observation and navigation files.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/time/gps_time.h"
#include "tools/synth/synth.h"

namespace {

const char kHelp[] =
    "usage: vnx-synth --obs FILE --nav FILE [--gnav FILE] --out FILE [options]\n"
    "\n"
    "Writes a receiver log (.vnx) from a RINEX 2.11/3.x observation file and its GPS\n"
    "(and GLONASS) navigation files.\n"
    "\n"
    "  --obs FILE        RINEX observation file (GPS, GLONASS, Galileo, SBAS are used)\n"
    "  --nav FILE        RINEX navigation file (GPS, or mixed)\n"
    "  --gnav FILE       RINEX GLONASS navigation file; may be given more than once\n"
    "  --out FILE        the log to write\n"
    "  --hours H         length of the log in hours (default: the span of the observations);\n"
    "                    past the end of the file the satellites are carried on along their\n"
    "                    broadcast orbits, joined to their last observed values\n"
    "  --rate HZ         epochs per second (default: the observation interval); between the\n"
    "                    file's epochs the observations are interpolated\n"
    "  --start DATE      move the whole log to start on DATE (YYYY-MM-DD), keeping the time\n"
    "                    of day; ephemerides are moved with it\n"
    "  --damage SEED     inject faults (garbage runs, bad checksums, a truncated frame, a time\n"
    "                    step back, a gap) chosen by SEED; they are listed on standard error\n"
    "                    and in OUT.faults\n"
    "  --antennas N      observations of N antennas of one platform, with \"AN\" (1..26)\n"
    "  --attitude        attitude \"AR\" and baselines \"mr\" of the platform\n"
    "  --events          external events \"XA\"/\"XB\", PPS offsets \"ZA\"/\"ZB\", user events\n"
    "  --gt              \"GT\" (GPS week and time of week) as the epoch time instead of \"~~\"\n"
    "  --no-fill         leave out Doppler and signal strength that the file does not have\n"
    "  --seed N          noise of the synthesised values (default 1)\n"
    "  --site NAME       site name for \"_SIT=\" (default: the marker name)\n"
    "  --antenna-name S  antenna name for \"_ANT=\"\n"
    "  --slip SAT:T:N1:N2[:N5]\n"
    "                    a cycle slip: from T seconds after the first epoch on, the phases of\n"
    "                    SAT (G05, R07, E11, S20) are N1 cycles longer on L1, N2 on L2, N5 on\n"
    "                    L5; may be given more than once\n"
    "  --clock-jump T[:MS]\n"
    "                    a receiver clock jump: from T seconds after the first epoch on, every\n"
    "                    code range is MS (default 1) milliseconds of light longer, phases not;\n"
    "                    may be given more than once\n"
    "  --help            this text\n"
    "  --version         print the version\n";

struct Arguments {
  std::string obs, out;
  std::vector<std::string> navs;
  std::string start;
  vnx::synth::SynthOptions options;
  bool version = false;
};

bool ParseDate(const std::string& text, int& y, int& m, int& d) {
  return std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d) == 3;
}

bool Parse(int argc, char** argv, Arguments& a) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") return false;
    if (arg == "--version") {
      a.version = true;
      return false;
    }
    if (arg == "--obs")
      a.obs = value();
    else if (arg == "--nav" || arg == "--gnav")
      a.navs.push_back(value());
    else if (arg == "--out")
      a.out = value();
    else if (arg == "--hours")
      a.options.hours = std::stod(value());
    else if (arg == "--rate")
      a.options.rate = std::stod(value());
    else if (arg == "--start")
      a.start = value();
    else if (arg == "--damage")
      a.options.damageSeed = std::stoull(value());
    else if (arg == "--antennas")
      a.options.antennas = std::stoi(value());
    else if (arg == "--attitude")
      a.options.attitude = true;
    else if (arg == "--events")
      a.options.events = true;
    else if (arg == "--gt")
      a.options.gpsTimeTags = true;
    else if (arg == "--no-fill")
      a.options.fill = false;
    else if (arg == "--seed")
      a.options.seed = std::stoull(value());
    else if (arg == "--site")
      a.options.siteName = value();
    else if (arg == "--antenna-name")
      a.options.antennaName = value();
    else if (arg == "--slip")
      a.options.slips.push_back(vnx::synth::ParseSlip(value()));
    else if (arg == "--clock-jump")
      a.options.clockJumps.push_back(vnx::synth::ParseClockJump(value()));
    else
      throw std::runtime_error("unknown option " + arg);
  }
  if (a.obs.empty() || a.navs.empty() || a.out.empty())
    throw std::runtime_error("--obs, --nav and --out are required");
  return true;
}

int Run(Arguments& a) {
  using namespace vnx::synth;
  ObsData obs = ReadObsFile(a.obs);
  NavData nav = ReadNavFile(a.navs[0]);
  for (size_t i = 1; i < a.navs.size(); ++i) MergeNav(nav, ReadNavFile(a.navs[i]));
  if (a.options.siteName.empty() && obs.header.markerName.empty()) {
    // Station files are named after their four-character site.
    std::string name = a.obs.substr(a.obs.find_last_of('/') + 1).substr(0, 4);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    a.options.siteName = name;
  }
  if (!a.start.empty()) {
    int y, m, d;
    if (!ParseDate(a.start, y, m, d)) throw std::runtime_error("--start wants YYYY-MM-DD");
    vnx::TGPSTime first(static_cast<uint32_t>(obs.epochs.front().time));
    a.options.shiftDays = DaysBetween(first.Year(), first.Month(), first.Day(), y, m, d);
  }
  std::ofstream out(a.out, std::ios::binary);
  if (!out) throw std::runtime_error("cannot write " + a.out);
  SynthResult r = Synthesize(obs, std::move(nav), a.options, out);
  out.close();
  if (!out) throw std::runtime_error("write to " + a.out + " failed");
  std::fprintf(stderr, "%s: %lld epochs, %llu bytes\n", a.out.c_str(),
               static_cast<long long>(r.epochs), static_cast<unsigned long long>(r.bytes));
  if (a.options.damageSeed) {
    std::string report = FaultReport(r.faults);
    std::fputs(report.c_str(), stderr);
    std::ofstream side(a.out + ".faults");
    side << report;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments a;
  try {
    if (!Parse(argc, argv, a)) {
      std::fputs(a.version ? "vnx-synth " VNX_VERSION "\n" : kHelp, stdout);
      return 0;
    }
    return Run(a);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vnx-synth: %s\n", e.what());
    return 2;
  }
}
