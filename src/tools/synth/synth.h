#pragma once
// The log synthesiser: RINEX observations and broadcast ephemerides in, a receiver log out.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/synth/damage.h"
#include "tools/synth/rinex_nav.h"
#include "tools/synth/rinex_obs.h"

namespace vnx::synth {

// A cycle slip put into the phases of one satellite from `seconds` after the first epoch on.
struct SlipInjection {
  SatId sat;
  double seconds = 0;
  double cyclesL1 = 0, cyclesL2 = 0, cyclesL5 = 0;
};

// A receiver clock jump: from `seconds` after the first epoch on, every code range is longer
// by `milliseconds` of light travel while the phases run on.
struct ClockJumpInjection {
  double seconds = 0;
  int milliseconds = 1;
};

struct SynthOptions {
  double hours = 0;  // length of the log; 0 = the span of the observation file
  double rate = 0;   // epochs per second; 0 = the rate of the observation file
  std::optional<uint64_t> damageSeed;
  int antennas = 1;          // antennas whose observations the log carries ("AN")
  bool events = false;       // external events, PPS offsets and user events
  bool attitude = false;     // attitude and baselines of a platform of antennas
  bool gpsTimeTags = false;  // "GT" instead of "~~" as the epoch's time message
  int shiftDays = 0;         // whole days added to every time of the log
  bool fill = true;          // Doppler and signal strength where the file has none
  uint64_t seed = 1;         // noise of everything the file does not give
  std::string siteName;      // empty: the marker name of the observation file
  std::string antennaName = "SYNTH-GEODETIC";
  std::vector<SlipInjection> slips;
  std::vector<ClockJumpInjection> clockJumps;
};

// "G05:1800:3:0[:0]" (satellite, seconds, cycles on L1, L2 and L5); throws on a bad text.
SlipInjection ParseSlip(const std::string& text);
// "1800[:1]" (seconds, milliseconds); throws on a bad text.
ClockJumpInjection ParseClockJump(const std::string& text);

struct SynthResult {
  uint64_t bytes = 0;
  int64_t epochs = 0;    // epochs written
  double firstTime = 0;  // GPS seconds of the first and last epoch written (log times)
  double lastTime = 0;
  std::vector<Fault> faults;
};

// Writes the log to `out`. Throws std::runtime_error when the inputs cannot make a log.
SynthResult Synthesize(const ObsData& obs, NavData nav, const SynthOptions& options,
                       std::ostream& out);

// Days between two calendar dates (to - from), for a log that starts on another date.
int DaysBetween(int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay);

}  // namespace vnx::synth
