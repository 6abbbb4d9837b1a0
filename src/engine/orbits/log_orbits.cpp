#include "engine/orbits/log_orbits.h"

#include <cmath>
#include <limits>

#include "engine/epoch/record_reader.h"
#include "engine/time/gps_time.h"

namespace vnx {
namespace {

constexpr double kHalfWeek = 302400.0;

double SecondsOf(const TimeRec& t) {
  return static_cast<double>(TGPSTime::FromTimeRec(t).Seconds());
}

KeplerOrbit OrbitOfKepler(const KeplerEphFields& k, const TimeRec& toeTime, double gm) {
  KeplerOrbit o;
  o.gm = gm;
  o.toe = SecondsOf(toeTime);
  // The clock reference is a time of week: put it in the week of toe, the nearer side.
  const double weekStart = o.toe - std::fmod(o.toe, 604800.0);
  o.toc = weekStart + k.toc;
  if (o.toc - o.toe > kHalfWeek) o.toc -= 604800.0;
  if (o.toe - o.toc > kHalfWeek) o.toc += 604800.0;
  o.af0 = k.af0, o.af1 = k.af1, o.af2 = k.af2;
  o.sqrtA = k.rootA, o.ecc = k.ecc;
  o.m0 = k.m0 * kGpsPi, o.omega0 = k.omega0 * kGpsPi, o.i0 = k.inc0 * kGpsPi;
  o.omega = k.per * kGpsPi;
  o.deltaN = k.deln * kGpsPi, o.omegaDot = k.omDot * kGpsPi, o.idot = k.iDot * kGpsPi;
  o.crc = k.crc, o.crs = k.crs, o.cuc = k.cuc, o.cus = k.cus, o.cic = k.cic, o.cis = k.cis;
  return o;
}

double ValidityOf(SatSystem system) {
  switch (system) {
    case SatSystem::Glonass:
      return kGlonassValidity;
    case SatSystem::Sbas:
      return kSbasValidity;
    case SatSystem::Galileo:
      return kGalileoValidity;
    default:
      return kGpsValidity;
  }
}

}  // namespace

KeplerOrbit OrbitOfGps(const EphemGPSRec& rec) {
  return OrbitOfKepler(rec.body.k, rec.time, kGpsGm);
}

KeplerOrbit OrbitOfGalileo(const EphemGALRec& rec) {
  return OrbitOfKepler(rec.body.k, rec.time, kGalileoGm);
}

GloOrbit OrbitOfGlonass(const EphemGLORec& rec) {
  GloOrbit o;
  o.tocUtc = SecondsOf(rec.time);
  o.clockBias = -static_cast<double>(rec.body.tau);
  o.gammaN = rec.body.gamma;
  for (int i = 0; i < 3; ++i) {
    o.pos[i] = rec.body.r[i];
    o.vel[i] = rec.body.v[i];
    o.acc[i] = rec.body.w[i];
  }
  return o;
}

SbasOrbit OrbitOfSbas(const EphemGEORec& rec) {
  SbasOrbit o;
  o.t0 = SecondsOf(rec.time);
  for (int i = 0; i < 3; ++i) {
    o.pos[i] = rec.body.r[i];
    o.vel[i] = rec.body.v[i];
    o.acc[i] = rec.body.w[i];
  }
  o.af0 = rec.body.aGf0;
  o.af1 = rec.body.aGf1;
  return o;
}

// One record of a satellite, with its reference time on the GPS scale.
struct OrbitEntry {
  double ref = 0;
  uint64_t serial = 0;
  KeplerOrbit kepler;
  GloOrbit glonass;
  SbasOrbit sbas;
};

struct LogOrbits::Satellite {
  std::deque<OrbitEntry> entries;  // sorted by reference time
  uint64_t stateSerial = 0;        // the record the GLONASS state was integrated from
  GloOrbitState state;
};

struct LogOrbits::Reader {
  Reader(const std::string& path, size_t size, SatSystem sys) : file(path, size), system(sys) {}
  RecordReader file;
  SatSystem system;
  alignas(8) uint8_t next[256] = {};
  bool haveNext = false;
  double nextRef = 0;
};

LogOrbits::LogOrbits(const EphemerisPaths& paths, int leapSeconds) : leap_(leapSeconds) {
  auto add = [&](const std::string& path, size_t size, SatSystem system) {
    if (path.empty()) return;
    readers_.push_back(std::make_unique<Reader>(path, size, system));
  };
  add(paths.gps, sizeof(EphemGPSRec), SatSystem::Gps);
  add(paths.glonass, sizeof(EphemGLORec), SatSystem::Glonass);
  add(paths.sbas, sizeof(EphemGEORec), SatSystem::Sbas);
  add(paths.galileo, sizeof(EphemGALRec), SatSystem::Galileo);
}

LogOrbits::~LogOrbits() = default;

LogOrbits::Satellite& LogOrbits::SatelliteOf(SatSystem system, int number) {
  auto& slot = sats_[static_cast<size_t>(SystemIndex(system))][number & 0xFF];
  if (!slot) {
    slot = std::make_unique<Satellite>();
    known_.emplace_back(system, number);
  }
  return *slot;
}

void LogOrbits::Take(SatSystem system, const void* record) {
  OrbitEntry e;
  e.serial = ++serials_;
  int number = 0;
  switch (system) {
    case SatSystem::Gps: {
      const auto& r = *static_cast<const EphemGPSRec*>(record);
      e.kepler = OrbitOfGps(r), e.ref = e.kepler.toe, number = r.sv;
      break;
    }
    case SatSystem::Glonass: {
      const auto& r = *static_cast<const EphemGLORec*>(record);
      e.glonass = OrbitOfGlonass(r), e.ref = e.glonass.tocUtc + leap_, number = r.sv;
      break;
    }
    case SatSystem::Sbas: {
      const auto& r = *static_cast<const EphemGEORec*>(record);
      e.sbas = OrbitOfSbas(r), e.ref = e.sbas.t0, number = r.sv;
      break;
    }
    default: {
      const auto& r = *static_cast<const EphemGALRec*>(record);
      e.kepler = OrbitOfGalileo(r), e.ref = e.kepler.toe, number = r.sv;
      break;
    }
  }
  if (number < 1 || number > 255) return;
  auto& list = SatelliteOf(system, number).entries;
  auto it = list.end();
  while (it != list.begin() && (it - 1)->ref > e.ref) --it;
  // A record with the reference time of one already held replaces it: the later upload wins.
  if (it != list.begin() && (it - 1)->ref == e.ref)
    *(it - 1) = e;
  else
    list.insert(it, e);
}

void LogOrbits::Advance(double t) {
  for (auto& r : readers_) {
    const double validity = ValidityOf(r->system);
    for (;;) {
      if (!r->haveNext) {
        if (!r->file.IsOpen() || !r->file.Read(r->next)) break;
        r->haveNext = true;
        switch (r->system) {
          case SatSystem::Gps:
            r->nextRef = SecondsOf(reinterpret_cast<const EphemGPSRec*>(r->next)->time);
            break;
          case SatSystem::Glonass:
            r->nextRef = SecondsOf(reinterpret_cast<const EphemGLORec*>(r->next)->time) + leap_;
            break;
          case SatSystem::Sbas:
            r->nextRef = SecondsOf(reinterpret_cast<const EphemGEORec*>(r->next)->time);
            break;
          default:
            r->nextRef = SecondsOf(reinterpret_cast<const EphemGALRec*>(r->next)->time);
        }
      }
      if (r->nextRef - validity > t) break;
      Take(r->system, r->next);
      r->haveNext = false;
    }
  }
}

void LogOrbits::ReadRest() {
  Advance(std::numeric_limits<double>::infinity());
}

bool LogOrbits::Position(SatSystem system, int number, double t, Vec3& pos) {
  if (!IsSatSystem(system) || number < 0 || number > 255) return false;
  Satellite* sat = sats_[static_cast<size_t>(SystemIndex(system))][number].get();
  if (sat == nullptr || sat->entries.empty()) return false;
  auto& list = sat->entries;
  while (list.size() >= 2 && std::fabs(t - list[1].ref) <= std::fabs(t - list[0].ref))
    list.pop_front();
  const OrbitEntry& e = list.front();
  if (std::fabs(t - e.ref) > ValidityOf(system)) return false;
  if (system == SatSystem::Glonass) {
    if (sat->stateSerial != e.serial || std::fabs(t - sat->state.t) > 600) {
      sat->stateSerial = e.serial;
      sat->state = GloInitialState(e.glonass, leap_);
    }
    sat->state = GloPropagate(e.glonass, sat->state, t);
    for (int i = 0; i < 3; ++i) pos[i] = sat->state.pos[i] * 1000.0;
  } else if (system == SatSystem::Sbas) {
    pos = SbasPosition(e.sbas, t).pos;
  } else {
    pos = KeplerPosition(e.kepler, t).pos;
  }
  return true;
}

}  // namespace vnx
