#pragma once
// RINEX 2 and 3 navigation files: GPS and Galileo Keplerian records, GLONASS state-vector
// records, and the header's ionosphere, UTC and leap-second parameters.
#include <array>
#include <istream>
#include <string>
#include <vector>

#include "engine/orbits/orbit.h"
#include "tools/synth/gnss.h"

namespace vnx::synth {

// Broadcast orbit and clock of a GPS or Galileo satellite with the rest of its record.
struct KeplerEph : KeplerOrbit {
  SatId id;
  double iode = 0;
  double codesL2 = 0, l2pFlag = 0;
  double accuracy = 0, health = 0, tgd = 0,
         iodc = 0;          // Galileo: tgd = BGD E5a/E1, iodc = BGD E5b/E1
  double transmitTime = 0;  // GPS seconds
  double fitInterval = 0;   // hours
};

// Broadcast state vector of a GLONASS satellite with the rest of its record.
struct GloEph : GloOrbit {
  int slot = 0;
  int channel = 0;
  double frameTime = 0;  // message frame time as RINEX gives it
  double health = 0;
  double age = 0;
};

struct NavHeader {
  bool hasIon = false;
  std::array<double, 4> alpha{}, beta{};
  bool hasUtc = false;
  double a0 = 0, a1 = 0;
  int tot = 0, wnt = 0;
  int leap = -1, leapFuture = -1, leapWeek = -1, leapDay = -1;
  bool hasGloCorr = false;
  double tauC = 0;
  bool hasGalIon = false;
  std::array<double, 3> galIon{};
};

struct NavData {
  NavHeader header;
  std::vector<KeplerEph> kepler;
  std::vector<GloEph> glonass;
};

// Throws std::runtime_error when the text is not a navigation file.
NavData ReadNav(std::istream& in);
NavData ReadNavFile(const std::string& path);
// Adds the records of `from`; header items missing in `into` are taken from `from`.
void MergeNav(NavData& into, const NavData& from);

}  // namespace vnx::synth
