#pragma once
// Station geometry of a log: dilutions of precision of the satellites in view, local to ECEF
// vectors, and a synthetic platform of antennas (master plus three slaves on a slowly swaying
// body) for multi-antenna and attitude logs.
#include <vector>

#include "engine/orbits/orbit.h"
#include "tools/synth/epoch_source.h"
#include "tools/synth/frames.h"

namespace vnx::synth {

struct Dops {
  double hdop = 0, vdop = 0, tdop = 0;
};
// False with fewer than four satellites of known direction above the horizon.
bool ComputeDops(const std::vector<SatEpoch>& sats, Dops& out);

using vnx::EnuToEcef;

class Platform {
 public:
  explicit Platform(const Geodetic& geo) : geo_(geo) {}
  // Pitch, roll, heading, the rotation matrix and the baselines at time `t`.
  Attitude AttitudeAt(double t, uint64_t seed) const;
  // Where antenna `antenna` (1, 2, ...) sits from the master antenna 0, ECEF metres.
  Vec3 AntennaOffsetEcef(int antenna, double t) const;

 private:
  struct Angles {
    double pitch, roll, heading;  // degrees
  };
  static Angles AnglesAt(double t);
  static Vec3 BodyOffset(int antenna);
  static void Rotation(const Angles& a, double r[3][3]);  // body to north-east-down

  Geodetic geo_;
};

}  // namespace vnx::synth
