#pragma once
// RINEX 2.11 and 3.x observation files, reduced to what a log can carry: per epoch the GPS,
// GLONASS, Galileo and SBAS satellites with code, phase, Doppler and signal strength on the
// five signals of the log format. Other systems and signals are left out.
#include <array>
#include <istream>
#include <map>
#include <string>
#include <vector>

#include "tools/synth/gnss.h"

namespace vnx::synth {

struct SatObs {
  SatId id;
  std::array<SignalValues, kSignals> sig;
};

struct ObsEpoch {
  double time = 0;  // GPS seconds
  std::vector<SatObs> sats;
};

struct ObsHeader {
  double version = 0;
  std::string markerName;
  std::array<double, 3> position{};  // approximate ECEF position, metres
  double antennaHeight = 0;
  double interval = 0;  // seconds; from the header or the epochs
  int leapSeconds = -1;
  std::map<int, int> glonassChannel;  // slot -> frequency number
};

struct ObsData {
  ObsHeader header;
  std::vector<ObsEpoch> epochs;
};

// Throws std::runtime_error on a file that is not a readable observation file.
ObsData ReadObs(std::istream& in);
ObsData ReadObsFile(const std::string& path);

// Where a RINEX observation code lands in the log: signal 0..4 and one ObsBit; signal -1
// when the log format has no place for it.
struct ObsSlot {
  int signal = -1;
  uint8_t kind = 0;
};
ObsSlot MapObsCode(Gnss sys, const std::string& code, bool hasP2);

}  // namespace vnx::synth
