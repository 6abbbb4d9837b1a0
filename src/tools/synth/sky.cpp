#include "tools/synth/sky.h"

#include <algorithm>
#include <cmath>

namespace vnx::synth {
namespace {

constexpr double kGpsUpload = 7200;   // seconds between GPS uploads
constexpr double kGloUpload = 1800;   // seconds between GLONASS reference times
constexpr double kGloValidity = 900;  // half the GLONASS interval of use

}  // namespace

KeplerEph ShiftKepler(const KeplerEph& eph, double dt, bool sameGeometry) {
  KeplerEph e = eph;
  double weekBefore = std::floor(eph.toe / kSecondsPerWeek);
  e.toe += dt;
  e.toc += dt;
  e.transmitTime += dt;
  double weeks = std::floor(e.toe / kSecondsPerWeek) - weekBefore;
  double toeShift = dt - weeks * kSecondsPerWeek;  // change of the time of week
  if (sameGeometry) {
    // Relabelled: the orbit evaluated at t + dt is the old one at t. Only the node, which is
    // counted from the start of the week, needs the Earth's turn over the change of week time.
    e.omega0 += kEarthRotation * toeShift;
  } else {
    double a = eph.sqrtA * eph.sqrtA;
    double n = std::sqrt(eph.gm / (a * a * a)) + eph.deltaN;
    e.m0 = std::remainder(eph.m0 + n * dt, 2 * kPi);
    e.omega0 = eph.omega0 + eph.omegaDot * dt - kEarthRotation * weeks * kSecondsPerWeek;
    e.i0 = eph.i0 + eph.idot * dt;
    e.af0 = eph.af0 + eph.af1 * dt + eph.af2 * dt * dt;
    e.af1 = eph.af1 + 2 * eph.af2 * dt;
  }
  e.omega0 = std::remainder(e.omega0, 2 * kPi);
  return e;
}

Sky::Sky(NavData nav, int leapSeconds) : nav_(std::move(nav)), leap_(leapSeconds) {
  // Navigation files repeat a record for every frame that carried it; one copy is enough.
  for (const KeplerEph& e : nav_.kepler) {
    auto& list = kepler_[e.id.Key()];
    if (list.empty() || list.back()->toe != e.toe || list.back()->iode != e.iode)
      list.push_back(&e);
  }
  for (const GloEph& e : nav_.glonass) {
    auto& list = glonass_[e.slot];
    if (list.empty() || list.back()->tocUtc != e.tocUtc) list.push_back(&e);
  }
}

bool Sky::HasOrbit(SatId id) const {
  if (id.sys == Gnss::Glonass) return glonass_.count(id.prn) > 0;
  return kepler_.count(id.Key()) > 0;
}

bool Sky::GloChannel(int slot, int& channel) const {
  auto it = glonass_.find(slot);
  if (it == glonass_.end()) return false;
  channel = it->second.back()->channel;
  return true;
}

std::vector<SatId> Sky::Satellites() const {
  std::vector<SatId> out;
  for (const auto& [key, list] : kepler_) out.push_back(list.front()->id);
  for (const auto& [slot, list] : glonass_) out.push_back({Gnss::Glonass, slot});
  return out;
}

const KeplerEph* Sky::ContinuedKepler(const KeplerEph& last, int step) {
  auto key = std::make_pair(last.id.Key(), step);
  auto it = continuedKepler_.find(key);
  if (it != continuedKepler_.end()) return it->second.get();
  auto e = std::make_unique<KeplerEph>(ShiftKepler(last, step * kGpsUpload, false));
  e->iode = std::fmod(last.iode + step, 256.0);
  if (e->id.sys == Gnss::Gps) e->iodc = std::floor(last.iodc / 256) * 256 + e->iode;
  return continuedKepler_.emplace(key, std::move(e)).first->second.get();
}

const KeplerEph* Sky::Kepler(SatId id, double t) {
  auto it = kepler_.find(id.Key());
  if (it == kepler_.end()) return nullptr;
  const auto& list = it->second;
  const KeplerEph* last = list.back();
  if (t > last->toe + kGpsUpload) {
    int step = static_cast<int>(std::floor((t - last->toe) / kGpsUpload)) + 1;
    return ContinuedKepler(*last, step);
  }
  // Records are sorted by reference time, and so, in practice, by transmission time.
  auto after = std::upper_bound(list.begin(), list.end(), t,
                                [](double at, const KeplerEph* e) { return at < e->transmitTime; });
  return after == list.begin() ? list.front() : *(after - 1);
}

const GloEph* Sky::ContinuedGlonass(const GloEph& last, int step) {
  auto key = std::make_pair(last.slot, step);
  auto it = continuedGlonass_.find(key);
  if (it != continuedGlonass_.end()) return it->second.get();
  double dt = step * kGloUpload;
  GloOrbitState s = GloPropagate(last, GloInitialState(last, leap_), last.tocUtc + leap_ + dt);
  auto e = std::make_unique<GloEph>(last);
  e->tocUtc += dt;
  e->frameTime += dt;
  e->clockBias += last.gammaN * dt;
  e->pos = s.pos;
  e->vel = s.vel;
  return continuedGlonass_.emplace(key, std::move(e)).first->second.get();
}

const GloEph* Sky::Glonass(int slot, double t) {
  auto it = glonass_.find(slot);
  if (it == glonass_.end()) return nullptr;
  const auto& list = it->second;
  const GloEph* last = list.back();
  double lastTb = last->tocUtc + leap_;
  if (t > lastTb + kGloValidity) {
    int step = static_cast<int>(std::lround((t - lastTb) / kGloUpload));
    return ContinuedGlonass(*last, step);
  }
  auto after = std::lower_bound(list.begin(), list.end(), t - leap_,
                                [](const GloEph* e, double utc) { return e->tocUtc < utc; });
  if (after == list.end()) return list.back();
  if (after == list.begin()) return *after;
  const GloEph* before = *(after - 1);
  return t - (before->tocUtc + leap_) <= (*after)->tocUtc + leap_ - t ? before : *after;
}

bool Sky::GloPosition(int slot, double t, SatState& out) {
  const GloEph* eph = Glonass(slot, t);
  if (eph == nullptr) return false;
  GloCache& cache = gloCache_[slot];
  if (cache.eph != eph || std::fabs(t - cache.state.t) > 600) {
    cache.eph = eph;
    cache.state = GloInitialState(*eph, leap_);
  }
  cache.state = GloPropagate(*eph, cache.state, t);
  for (int i = 0; i < 3; ++i) out.pos[i] = cache.state.pos[i] * 1000.0;
  out.clock = GloClock(*eph, leap_, t);
  return true;
}

bool Sky::Position(SatId id, double t, SatState& out) {
  if (id.sys == Gnss::Glonass) return GloPosition(id.prn, t, out);
  const KeplerEph* eph = Kepler(id, t);
  if (eph == nullptr) return false;
  out = KeplerPosition(*eph, t);
  return true;
}

}  // namespace vnx::synth
