#pragma once
// The broadcast ephemerides of a log: which record is in force for a satellite at a time, and
// where the satellite is. Past the end of the navigation files the last record of each
// satellite is carried on along its own orbit, so a log may run for days; the continued
// records get new reference times and issues of data like fresh uploads.
#include <map>
#include <memory>
#include <vector>

#include "engine/orbits/orbit.h"
#include "tools/synth/rinex_nav.h"

namespace vnx::synth {

class Sky {
 public:
  Sky(NavData nav, int leapSeconds);

  const NavHeader& Header() const { return nav_.header; }
  int LeapSeconds() const { return leap_; }
  bool HasOrbit(SatId id) const;
  // GLONASS frequency channel of a slot from the navigation records; false when unknown.
  bool GloChannel(int slot, int& channel) const;

  // The record in force at GPS time `t`; nullptr when the satellite has none.
  const KeplerEph* Kepler(SatId id, double t);
  const GloEph* Glonass(int slot, double t);

  // Position and clock at `t`; false without an orbit.
  bool Position(SatId id, double t, SatState& out);

  // Satellites that have an orbit.
  std::vector<SatId> Satellites() const;

 private:
  struct GloCache {
    const GloEph* eph = nullptr;
    GloOrbitState state;
  };
  const KeplerEph* ContinuedKepler(const KeplerEph& last, int step);
  const GloEph* ContinuedGlonass(const GloEph& last, int step);
  bool GloPosition(int slot, double t, SatState& out);

  NavData nav_;
  int leap_;
  std::map<int, std::vector<const KeplerEph*>> kepler_;  // by SatId::Key
  std::map<int, std::vector<const GloEph*>> glonass_;    // by slot
  std::map<std::pair<int, int>, std::unique_ptr<KeplerEph>> continuedKepler_;
  std::map<std::pair<int, int>, std::unique_ptr<GloEph>> continuedGlonass_;
  std::map<int, GloCache> gloCache_;
};

// A Keplerian record carried `dt` seconds on along its orbit: the same orbit and clock, new
// reference times. Also used to move a record to another date (with `sameGeometry`, the ECEF
// track keeps its shape in time instead of its place in inertial space).
KeplerEph ShiftKepler(const KeplerEph& eph, double dt, bool sameGeometry);

}  // namespace vnx::synth
