#pragma once
// The observations of each log epoch. Inside the span of the observation file they are the
// file's own values (interpolated between its epochs when the log runs at a higher rate);
// after its end they are carried on from the broadcast orbits with the broadcast ionosphere,
// a troposphere and noise, joined to the last real values of every satellite so the tracks
// run on without a step. Doppler and signal strength that the file lacks can be filled in.
#include <array>
#include <map>
#include <vector>

#include "tools/synth/rinex_obs.h"
#include "tools/synth/sky.h"

namespace vnx::synth {

struct SatEpoch {
  SatId id;
  int channel = 0;  // GLONASS frequency number
  bool hasAngles = false;
  double elevation = 0, azimuth = 0;  // degrees
  Vec3 lineOfSight{};                 // station to satellite, ECEF unit vector
  std::array<SignalValues, kSignals> sig;
};

struct EpochData {
  double time = 0;   // GPS seconds (of the observation file's time line)
  bool real = true;  // from the observation file rather than carried on
  std::vector<SatEpoch> sats;
};

struct SourceOptions {
  bool fillDoppler = true;
  bool fillSnr = true;
  uint64_t seed = 1;
};

class EpochSource {
 public:
  EpochSource(const ObsData& obs, Sky& sky, SourceOptions options);

  double FirstTime() const { return obs_.epochs.front().time; }
  double LastTime() const { return obs_.epochs.back().time; }
  const Vec3& Station() const { return station_; }
  const Geodetic& StationGeodetic() const { return geo_; }

  EpochData At(double t);

 private:
  struct Offsets {
    std::array<std::array<double, 4>, kSignals> value{};  // code, phase, doppler, snr
    std::array<uint8_t, kSignals> has{};
  };
  struct Geometry {
    bool ok = false;
    double range = 0, rangeRate = 0, satClock = 0, satClockRate = 0;
    LookAngles look;
  };

  bool ChannelOf(SatId id, int& channel) const;
  const SatObs* Find(size_t epoch, SatId id) const;
  Geometry GeometryAt(SatId id, double t);
  void Angles(SatEpoch& sat, double t);
  void RealAt(double t, EpochData& out);
  bool Interpolate(size_t j, SatId id, double t, SatEpoch& sat);
  void FillMissing(SatEpoch& sat, double t, bool real, size_t j);
  void CarriedOn(double t, EpochData& out);
  void Calibrate();
  SignalValues ModelSignal(const SatEpoch& sat, const Geometry& g, int signal, double t) const;
  double ModelSnr(const SatEpoch& sat, int signal, double t) const;
  void DropSharedChannels(EpochData& out) const;

  const ObsData& obs_;
  Sky& sky_;
  SourceOptions options_;
  Vec3 station_;
  Geodetic geo_;
  std::vector<std::vector<std::pair<int, size_t>>> index_;  // per epoch: (key, position)
  std::map<int, Offsets> offsets_;                          // by SatId::Key
  bool calibrated_ = false;
  double receiverClock_ = 0;  // seconds, carried on after the file ends
  double maskDeg_ = 5;
  std::vector<Gnss> systems_;  // systems the file observes
};

}  // namespace vnx::synth
