#pragma once
// The broadcast orbits a log carries, read from the ephemeris records of its scan in step with
// the epochs. Records are read ahead only as far as they can be in force, and each satellite
// keeps the few records around the current time, so memory stays with the satellites, not
// with the length of the log.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ephemeris/ephemeris_records.h"
#include "engine/gnss/satellite_system.h"
#include "engine/orbits/orbit.h"

namespace vnx {

// How far from its reference time a record is taken as valid, seconds on either side.
inline constexpr double kGpsValidity = 7200;      // the four-hour fit interval
inline constexpr double kGalileoValidity = 7200;  // records are renewed far more often
inline constexpr double kGlonassValidity = 1800;  // records every 30 minutes; one may be missed
inline constexpr double kSbasValidity = 600;

// The orbit parameters of the ephemeris records; `leapSeconds` turns the GLONASS records' UTC
// reference time into GPS time.
KeplerOrbit OrbitOfGps(const EphemGPSRec& rec);
KeplerOrbit OrbitOfGalileo(const EphemGALRec& rec);
GloOrbit OrbitOfGlonass(const EphemGLORec& rec);
SbasOrbit OrbitOfSbas(const EphemGEORec& rec);

struct EphemerisPaths {
  std::string gps, glonass, sbas, galileo;  // empty: the system has no records
};

class LogOrbits {
 public:
  LogOrbits(const EphemerisPaths& paths, int leapSeconds);
  ~LogOrbits();
  LogOrbits(const LogOrbits&) = delete;
  LogOrbits& operator=(const LogOrbits&) = delete;

  // Reads the records that can be in force at `t` (GPS seconds). Times must not decrease
  // between calls (a time step back of the log only makes records stay a little longer).
  void Advance(double t);
  // Reads every record left, so that Known() lists every satellite the log has records of.
  // Positions are not asked for after this.
  void ReadRest();
  // Satellites (system, number) that have had at least one record so far.
  const std::vector<std::pair<SatSystem, int>>& Known() const { return known_; }
  // Position of a satellite at `t` from its record nearest in time, when one is valid then.
  // `number`: GPS and Galileo PRN, GLONASS slot, SBAS PRN.
  bool Position(SatSystem system, int number, double t, Vec3& pos);

 private:
  struct Satellite;
  struct Reader;
  Satellite& SatelliteOf(SatSystem system, int number);
  void Take(SatSystem system, const void* record);

  int leap_;
  uint64_t serials_ = 0;
  std::vector<std::unique_ptr<Reader>> readers_;
  std::array<std::array<std::unique_ptr<Satellite>, 256>, kSatSystemCount> sats_;
  std::vector<std::pair<SatSystem, int>> known_;
};

}  // namespace vnx
