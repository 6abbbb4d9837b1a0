#include "tools/synth/epoch_source.h"

#include <algorithm>
#include <cmath>

namespace vnx::synth {
namespace {

constexpr double kGapFactor = 2.5;  // a step longer than this many intervals is a gap

struct Point {
  double t, v;
};

// Lagrange value and first derivative at `t` through the points.
void Lagrange(const std::vector<Point>& p, double t, double& value, double& slope) {
  value = 0;
  slope = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    double li = 1, dli = 0;
    for (size_t j = 0; j < p.size(); ++j) {
      if (j == i) continue;
      double denom = p[i].t - p[j].t;
      double term = (t - p[j].t) / denom;
      dli = dli * term + li / denom;
      li *= term;
    }
    value += p[i].v * li;
    slope += p[i].v * dli;
  }
}

double ValueOf(const SignalValues& s, uint8_t kind) {
  switch (kind) {
    case kHasCode:
      return s.code;
    case kHasPhase:
      return s.phase;
    case kHasDoppler:
      return s.doppler;
    default:
      return s.snr;
  }
}

void SetValue(SignalValues& s, uint8_t kind, double v) {
  s.has |= kind;
  switch (kind) {
    case kHasCode:
      s.code = v;
      break;
    case kHasPhase:
      s.phase = v;
      break;
    case kHasDoppler:
      s.doppler = v;
      break;
    default:
      s.snr = v;
      break;
  }
}

constexpr uint8_t kKinds[4] = {kHasCode, kHasPhase, kHasDoppler, kHasSnr};

int64_t Millis(double t) {
  return static_cast<int64_t>(std::llround(t * 1000.0));
}

}  // namespace

EpochSource::EpochSource(const ObsData& obs, Sky& sky, SourceOptions options)
    : obs_(obs), sky_(sky), options_(options), station_(obs.header.position) {
  geo_ = ToGeodetic(station_);
  index_.resize(obs_.epochs.size());
  for (size_t e = 0; e < obs_.epochs.size(); ++e) {
    const auto& sats = obs_.epochs[e].sats;
    for (size_t i = 0; i < sats.size(); ++i) {
      index_[e].push_back({sats[i].id.Key(), i});
      if (std::find(systems_.begin(), systems_.end(), sats[i].id.sys) == systems_.end())
        systems_.push_back(sats[i].id.sys);
    }
    std::sort(index_[e].begin(), index_[e].end());
  }
}

bool EpochSource::ChannelOf(SatId id, int& channel) const {
  channel = 0;
  if (id.sys != Gnss::Glonass) return true;
  auto it = obs_.header.glonassChannel.find(id.prn);
  if (it != obs_.header.glonassChannel.end()) {
    channel = it->second;
    return true;
  }
  return sky_.GloChannel(id.prn, channel);
}

const SatObs* EpochSource::Find(size_t epoch, SatId id) const {
  const auto& idx = index_[epoch];
  auto it = std::lower_bound(idx.begin(), idx.end(), std::make_pair(id.Key(), size_t{0}));
  if (it == idx.end() || it->first != id.Key()) return nullptr;
  return &obs_.epochs[epoch].sats[it->second];
}

EpochSource::Geometry EpochSource::GeometryAt(SatId id, double t) {
  Geometry g;
  double tau = 0.075;
  auto rangeAt = [&](double at, double& range, double& clock, LookAngles* look) {
    SatState s;
    for (int i = 0; i < (look != nullptr ? 2 : 1); ++i) {
      if (!sky_.Position(id, at - tau, s)) return false;
      double th = kEarthRotation * tau;
      Vec3 rotated{s.pos[0] * std::cos(th) + s.pos[1] * std::sin(th),
                   -s.pos[0] * std::sin(th) + s.pos[1] * std::cos(th), s.pos[2]};
      LookAngles l = Look(station_, geo_, rotated);
      tau = l.range / kLightSpeed;
      range = l.range;
      if (look != nullptr) *look = l;
    }
    clock = s.clock;
    return true;
  };
  double rPlus, cPlus, rMinus, cMinus;
  if (!rangeAt(t, g.range, g.satClock, &g.look)) return g;
  if (!rangeAt(t + 0.5, rPlus, cPlus, nullptr) || !rangeAt(t - 0.5, rMinus, cMinus, nullptr))
    return g;
  g.rangeRate = rPlus - rMinus;
  g.satClockRate = cPlus - cMinus;
  g.ok = true;
  return g;
}

void EpochSource::Angles(SatEpoch& sat, double t) {
  SatState s;
  if (!sky_.Position(sat.id, t - 0.075, s)) return;
  LookAngles l = Look(station_, geo_, s.pos);
  sat.hasAngles = true;
  sat.elevation = l.elevation / kDeg;
  sat.azimuth = l.azimuth / kDeg;
  sat.lineOfSight = l.unit;
}

bool EpochSource::Interpolate(size_t j, SatId id, double t, SatEpoch& sat) {
  const SatObs* a = Find(j, id);
  const SatObs* b = Find(j + 1, id);
  if (a == nullptr || b == nullptr) return false;
  double interval = obs_.header.interval;
  for (int k = 0; k < kSignals; ++k) {
    for (uint8_t kind : kKinds) {
      if (!(a->sig[k].has & kind) || !(b->sig[k].has & kind)) continue;
      if (kind == kHasPhase && b->sig[k].slip) continue;
      std::vector<Point> p{{obs_.epochs[j].time, ValueOf(a->sig[k], kind)},
                           {obs_.epochs[j + 1].time, ValueOf(b->sig[k], kind)}};
      bool smooth = kind == kHasCode || kind == kHasPhase;
      const SatObs* before = j > 0 && smooth ? Find(j - 1, id) : nullptr;
      if (before != nullptr && (before->sig[k].has & kind) &&
          !(kind == kHasPhase && a->sig[k].slip) &&
          obs_.epochs[j].time - obs_.epochs[j - 1].time < kGapFactor * interval)
        p.insert(p.begin(), {obs_.epochs[j - 1].time, ValueOf(before->sig[k], kind)});
      const SatObs* after = j + 2 < obs_.epochs.size() && smooth ? Find(j + 2, id) : nullptr;
      if (after != nullptr && (after->sig[k].has & kind) &&
          !(kind == kHasPhase && after->sig[k].slip) &&
          obs_.epochs[j + 2].time - obs_.epochs[j + 1].time < kGapFactor * interval)
        p.push_back({obs_.epochs[j + 2].time, ValueOf(after->sig[k], kind)});
      double value, slope;
      Lagrange(p, t, value, slope);
      SetValue(sat.sig[k], kind, value);
    }
  }
  return true;
}

double EpochSource::ModelSnr(const SatEpoch& sat, int signal, double t) const {
  static const double kSignalOffset[kSignals] = {0, -3, -6, -2, 2};
  double el = sat.hasAngles ? std::max(sat.elevation, 0.0) : 45.0;
  double snr = 30 + 20 * std::pow(std::sin(el * kDeg), 0.7) + kSignalOffset[signal];
  if (sat.id.sys == Gnss::Glonass) snr -= 1;
  snr += 0.7 * GaussianNoise(NoiseKey(options_.seed, sat.id.Key(), signal * 8 + 4, Millis(t)));
  return std::clamp(snr, 20.0, 58.0);
}

void EpochSource::FillMissing(SatEpoch& sat, double t, bool real, size_t j) {
  for (int k = 0; k < kSignals; ++k) {
    SignalValues& s = sat.sig[k];
    if (!(s.has & (kHasCode | kHasPhase))) continue;
    if (options_.fillSnr && !(s.has & kHasSnr)) SetValue(s, kHasSnr, ModelSnr(sat, k, t));
    if (!options_.fillDoppler || (s.has & kHasDoppler) || !(s.has & kHasPhase) || !real) continue;
    // The phase rate of the file is what the receiver's Doppler would have shown.
    std::vector<Point> p;
    for (size_t e = (j > 0 ? j - 1 : 0); e <= j + 2 && e < obs_.epochs.size(); ++e) {
      const SatObs* o = Find(e, sat.id);
      if (o == nullptr || !(o->sig[k].has & kHasPhase)) continue;
      if (!p.empty() &&
          (o->sig[k].slip || obs_.epochs[e].time - p.back().t > kGapFactor * obs_.header.interval))
        p.clear();
      p.push_back({obs_.epochs[e].time, o->sig[k].phase});
    }
    if (p.size() < 2 || t < p.front().t - 1e-6 || t > p.back().t + 1e-6) continue;
    double value, slope;
    Lagrange(p, t, value, slope);
    double noise =
        0.01 * GaussianNoise(NoiseKey(options_.seed, sat.id.Key(), k * 8 + 3, Millis(t)));
    SetValue(s, kHasDoppler, -slope + noise);
  }
}

void EpochSource::RealAt(double t, EpochData& out) {
  const auto& epochs = obs_.epochs;
  auto it = std::upper_bound(epochs.begin(), epochs.end(), t + 1e-6,
                             [](double v, const ObsEpoch& e) { return v < e.time; });
  if (it == epochs.begin()) return;
  size_t j = static_cast<size_t>(it - epochs.begin()) - 1;
  bool exact = std::fabs(t - epochs[j].time) < 1e-6;
  if (!exact && (j + 1 >= epochs.size() ||
                 epochs[j + 1].time - epochs[j].time > kGapFactor * obs_.header.interval))
    return;
  for (const SatObs& o : epochs[j].sats) {
    SatEpoch sat;
    sat.id = o.id;
    if (!ChannelOf(o.id, sat.channel)) continue;
    if (exact) {
      sat.sig = o.sig;
    } else if (!Interpolate(j, o.id, t, sat)) {
      continue;
    }
    Angles(sat, t);
    FillMissing(sat, t, true, j);
    bool any = false;
    for (const auto& s : sat.sig) any = any || (s.has & (kHasCode | kHasPhase));
    if (any) out.sats.push_back(sat);
  }
}

SignalValues EpochSource::ModelSignal(const SatEpoch& sat, const Geometry& g, int signal,
                                      double t) const {
  double f = CarrierFrequency(sat.id.sys, signal, sat.channel);
  double lambda = kLightSpeed / f;
  const NavHeader& h = sky_.Header();
  double iono1 =
      h.hasIon
          ? KlobucharDelay(h.alpha, h.beta, geo_, g.look.elevation, g.look.azimuth, t) * kLightSpeed
          : 3.0 / std::max(std::sin(g.look.elevation), 0.15);
  double iono = iono1 * (1575420000.0 / f) * (1575420000.0 / f);
  double tropo = TroposphereDelay(g.look.elevation);
  double clock = kLightSpeed * (receiverClock_ - g.satClock);
  int64_t ms = Millis(t);
  uint64_t key = static_cast<uint64_t>(sat.id.Key());
  double el = g.look.elevation / kDeg;
  double codeSigma = 0.25 + 1.2 * std::exp(-el / 12.0);
  double bias = 0.8 * GaussianNoise(NoiseKey(options_.seed, key, signal * 8 + 7));
  SignalValues s;
  s.code = g.range + clock + tropo + iono + bias +
           codeSigma * GaussianNoise(NoiseKey(options_.seed, key, signal * 8 + 1, ms));
  s.phase = (g.range + clock + tropo - iono) / lambda +
            0.004 * GaussianNoise(NoiseKey(options_.seed, key, signal * 8 + 2, ms));
  s.doppler = -(g.rangeRate - kLightSpeed * g.satClockRate) / lambda +
              0.02 * GaussianNoise(NoiseKey(options_.seed, key, signal * 8 + 3, ms));
  s.has = kHasCode | kHasPhase | kHasDoppler;
  return s;
}

void EpochSource::Calibrate() {
  calibrated_ = true;
  const auto& epochs = obs_.epochs;
  // The lowest elevation the file tracks is the mask for satellites that rise later.
  double lowest = 90;
  size_t step = std::max<size_t>(1, epochs.size() / 40);
  for (size_t e = 0; e < epochs.size(); e += step) {
    for (const SatObs& o : epochs[e].sats) {
      SatEpoch s;
      s.id = o.id;
      Angles(s, epochs[e].time);
      if (s.hasAngles && s.elevation > -5) lowest = std::min(lowest, s.elevation);
    }
  }
  maskDeg_ = std::clamp(std::floor(lowest), 0.0, 15.0);

  double last = LastTime();
  EpochData end;
  RealAt(last, end);
  // Receiver clock: what the codes of the last epoch leave after the modelled terms.
  std::vector<double> clocks;
  std::vector<std::pair<SatEpoch, Geometry>> matched;
  for (const SatEpoch& s : end.sats) {
    Geometry g = GeometryAt(s.id, last);
    if (!g.ok) continue;
    matched.push_back({s, g});
    if (!(s.sig[0].has & kHasCode)) continue;
    SignalValues m = ModelSignal(s, g, 0, last);
    clocks.push_back((s.sig[0].code - m.code) / kLightSpeed);
  }
  if (!clocks.empty()) {
    std::nth_element(clocks.begin(), clocks.begin() + clocks.size() / 2, clocks.end());
    receiverClock_ = clocks[clocks.size() / 2];
  }
  for (const auto& [s, g] : matched) {
    Offsets& off = offsets_[s.id.Key()];
    for (int k = 0; k < kSignals; ++k) {
      SignalValues m = ModelSignal(s, g, k, last);
      m.snr = ModelSnr(s, k, last);
      off.has[k] = s.sig[k].has;
      for (int q = 0; q < 4; ++q) {
        if (s.sig[k].has & kKinds[q])
          off.value[k][q] = ValueOf(s.sig[k], kKinds[q]) - ValueOf(m, kKinds[q]);
      }
      off.value[k][3] = std::clamp(off.value[k][3], -10.0, 10.0);
    }
  }
}

void EpochSource::CarriedOn(double t, EpochData& out) {
  if (!calibrated_) Calibrate();
  // What each system carried in the file: its signals and kinds.
  std::map<Gnss, std::array<uint8_t, kSignals>> pattern;
  for (const auto& [key, off] : offsets_) {
    auto& p = pattern[SystemInSynthOrder(key / 256)];
    for (int k = 0; k < kSignals; ++k) p[k] |= off.has[k];
  }
  for (SatId id : sky_.Satellites()) {
    if (std::find(systems_.begin(), systems_.end(), id.sys) == systems_.end()) continue;
    SatEpoch sat;
    sat.id = id;
    if (!ChannelOf(id, sat.channel)) continue;
    Geometry g = GeometryAt(id, t);
    if (!g.ok || g.look.elevation / kDeg < maskDeg_) continue;
    sat.hasAngles = true;
    sat.elevation = g.look.elevation / kDeg;
    sat.azimuth = g.look.azimuth / kDeg;
    sat.lineOfSight = g.look.unit;
    auto known = offsets_.find(id.Key());
    if (known == offsets_.end()) {
      // A satellite the file never saw: its own ambiguities, its phase kept near its code.
      Offsets fresh;
      for (int k = 0; k < kSignals; ++k) {
        SignalValues m = ModelSignal(sat, g, k, t);
        double lambda = kLightSpeed / CarrierFrequency(id.sys, k, sat.channel);
        double n = std::round((m.code - m.phase * lambda) / lambda) +
                   std::round(100 * (UniformNoise(NoiseKey(options_.seed, id.Key(), k)) - 0.5));
        fresh.value[k][1] = n;
      }
      known = offsets_.emplace(id.Key(), fresh).first;
    }
    const Offsets& off = known->second;
    const auto& kinds = pattern[id.sys];
    for (int k = 0; k < kSignals; ++k) {
      if (!(kinds[k] & (kHasCode | kHasPhase))) continue;
      SignalValues m = ModelSignal(sat, g, k, t);
      m.snr = ModelSnr(sat, k, t);
      for (int q = 0; q < 4; ++q) {
        uint8_t kind = kKinds[q];
        bool wanted = (kinds[k] & kind) || (kind == kHasDoppler && options_.fillDoppler) ||
                      (kind == kHasSnr && options_.fillSnr);
        if (wanted) SetValue(sat.sig[k], kind, ValueOf(m, kind) + off.value[k][q]);
      }
    }
    out.sats.push_back(sat);
  }
}

void EpochSource::DropSharedChannels(EpochData& out) const {
  // Two GLONASS satellites on one frequency channel would share one satellite index; only
  // antipodal pairs do, and of those only the higher one is really in view.
  std::vector<SatEpoch> kept;
  for (const SatEpoch& s : out.sats) {
    auto twin = std::find_if(kept.begin(), kept.end(), [&](const SatEpoch& k) {
      return k.id.sys == Gnss::Glonass && s.id.sys == Gnss::Glonass && k.channel == s.channel;
    });
    if (twin == kept.end()) {
      kept.push_back(s);
    } else if (s.hasAngles && (!twin->hasAngles || s.elevation > twin->elevation)) {
      *twin = s;
    }
  }
  out.sats = std::move(kept);
}

EpochData EpochSource::At(double t) {
  EpochData out;
  out.time = t;
  out.real = t <= LastTime() + 1e-6;
  if (out.real) {
    RealAt(t, out);
  } else {
    CarriedOn(t, out);
  }
  DropSharedChannels(out);
  return out;
}

}  // namespace vnx::synth
