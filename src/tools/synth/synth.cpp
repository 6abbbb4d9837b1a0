#include "tools/synth/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

#include "engine/time/gps_time.h"
#include "tools/synth/epoch_source.h"
#include "tools/synth/frames.h"
#include "tools/synth/obs_encoding.h"
#include "tools/synth/platform.h"
#include "tools/synth/sky.h"

namespace vnx::synth {
namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kMsPerWeek = 604800000;
constexpr int kMaxSlots = 69;

int DefaultLeapSeconds(double gpsTime) {
  if (gpsTime >= GpsSecondsFromCalendar(2017, 1, 1, 0, 0, 0)) return 18;
  if (gpsTime >= GpsSecondsFromCalendar(2015, 7, 1, 0, 0, 0)) return 17;
  if (gpsTime >= GpsSecondsFromCalendar(2012, 7, 1, 0, 0, 0)) return 16;
  return 15;
}

// The universal satellite index of the log format; 0 when the satellite has none.
uint8_t UniversalIndex(const SatEpoch& s) {
  switch (s.id.sys) {
    case Gnss::Gps:
      return s.id.prn >= 1 && s.id.prn <= 32 ? s.id.prn : 0;
    case Gnss::Glonass:
      return s.id.prn >= 1 && s.id.prn <= 24 && s.channel >= -7 && s.channel <= 25
                 ? static_cast<uint8_t>(s.channel + 45)
                 : 0;
    case Gnss::Galileo:
      return s.id.prn >= 1 && s.id.prn <= 32 ? 70 + s.id.prn : 0;
    case Gnss::Sbas:
      return s.id.prn >= 120 && s.id.prn <= 138 ? s.id.prn : 0;
    default:
      break;
  }
  return 0;
}

// "NE" as the receiver writes it: the reference time tb and the frame time tk on the Moscow
// scale (UTC + 3 h), the day within the four-year period taken from the receiver's GPS date.
std::string GlonassEphemerisFrame(const GloEph& e, int leap, double shift, double tauSys) {
  double utc = e.tocUtc + shift;
  auto moscow = [](double utcSeconds) {
    return static_cast<int32_t>(
        std::llround(std::fmod(std::fmod(utcSeconds, 86400.0) + 10800.0, 86400.0)));
  };
  TGPSTime gps(static_cast<uint32_t>(std::llround(utc + leap)));
  int year = gps.Year();
  TGPSTime date = TGPSTime::FromCalendar(year, gps.Month(), gps.Day(), 0, 0, 0);
  TGPSTime period = TGPSTime::FromCalendar(year - year % 4, 1, 1, 0, 0, 0);
  int dayNumber = static_cast<int>((date.Seconds() - period.Seconds()) / 86400) + 1;
  // Files differ in how they count the frame time; one that is not within a quarter of an
  // hour of the reference time is replaced by the usual quarter of an hour before it.
  double frameOfDay = std::fmod(e.frameTime, 86400.0);
  double lead = std::remainder(std::fmod(e.tocUtc, 86400.0) - frameOfDay, 86400.0);
  double frameUtc = std::fabs(lead) <= 900 ? utc - lead : utc - 900;
  return FrameGlonassEph(e, tauSys, dayNumber, moscow(utc), moscow(frameUtc));
}

const std::set<std::string>& DamageableIds() {
  static const std::set<std::string> ids = {
      "PO", "VE", "DP", "SG", "EL", "AZ", "RC", "R1", "R2", "R3", "R5", "rc", "r1", "r2", "r3",
      "r5", "1R", "2R", "3R", "5R", "1r", "2r", "3r", "5r", "PC", "P1", "P2", "P3", "P5", "pc",
      "p1", "p2", "p3", "p5", "CP", "1P", "2P", "3P", "5P", "cp", "1p", "2p", "3p", "5p", "DC",
      "D1", "D2", "D3", "D5", "EC", "E1", "E2", "E3", "E5", "CE", "1E", "2E", "3E", "5E"};
  return ids;
}

struct DamagePlan {
  int64_t gapStart = -1, gapLength = 0;
  int64_t stepBack = -1;
  uint32_t stepBackMs = 9000;
  std::map<int64_t, FaultKind> frameFaults;
};

class Synthesizer {
 public:
  Synthesizer(const ObsData& obs, NavData nav, const SynthOptions& options, std::ostream& out);
  SynthResult Run();

 private:
  void Emit(const std::vector<std::string>& frames);
  void WriteHeader();
  void WriteEpoch(int64_t k);
  void PlanDamage();
  void TimeFrames(int64_t k, int64_t logMs, std::vector<std::string>& frames);
  void SatelliteFrames(const EpochData& ep, int64_t k, std::vector<std::string>& frames);
  void SolutionFrames(const EpochData& ep, double dt, std::vector<std::string>& frames);
  void EventFrames(int64_t logMs, std::vector<std::string>& frames);
  void EphemerisFrames(const EpochData& ep, std::vector<std::string>& frames);
  void ParameterFrames(int64_t logMs, std::vector<std::string>& frames);
  void DamageFrames(FaultKind kind, std::vector<std::string>& frames, uint32_t msOfDay);
  void Inject(EpochData& ep, double elapsed) const;
  bool TryFrameFault(FaultKind kind, size_t victim, std::vector<std::string>& frames,
                     uint32_t msOfDay);
  std::string GarbageRun();
  std::vector<SatEpoch> AntennaView(const std::vector<SatEpoch>& sats, int antenna, double t) const;

  const ObsData& obs_;
  SynthOptions options_;
  std::ostream& out_;
  Sky sky_;
  EpochSource source_;
  Platform platform_;
  int leap_;
  int64_t periodMs_;
  int64_t firstMs_;  // log time of the first epoch, ms since the GPS epoch
  int64_t count_;
  int64_t shiftMs_;
  DamagePlan plan_;
  Rng damageRng_{0};
  SynthResult result_;
  int64_t lastDay_ = -1;
  int64_t lastWrittenMs_ = -1;
  std::map<int, const void*> lastEphemeris_;
  Vec3 noise_{};  // east, north, up of the position solution, metres
  float zaOffset_ = 0, zbOffset_ = 0;
  int userEvents_ = 0;
};

Synthesizer::Synthesizer(const ObsData& obs, NavData nav, const SynthOptions& options,
                         std::ostream& out)
    : obs_(obs),
      options_(options),
      out_(out),
      sky_(nav, nav.header.leap >= 0          ? nav.header.leap
                : obs.header.leapSeconds >= 0 ? obs.header.leapSeconds
                                              : DefaultLeapSeconds(obs.epochs.front().time)),
      source_(obs_, sky_, SourceOptions{options.fill, options.fill, options.seed}),
      platform_(source_.StationGeodetic()) {
  leap_ = sky_.LeapSeconds();
  double rate = options.rate > 0 ? options.rate : 1.0 / obs.header.interval;
  periodMs_ = std::llround(1000.0 / rate);
  if (periodMs_ < 1) throw std::runtime_error("rate above 1000 epochs per second");
  shiftMs_ = static_cast<int64_t>(options.shiftDays) * kMsPerDay;
  firstMs_ = std::llround(source_.FirstTime() * 1000) + shiftMs_;
  double spanMs = options.hours > 0 ? options.hours * 3600000.0
                                    : (source_.LastTime() - source_.FirstTime()) * 1000.0 + 1;
  count_ = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(spanMs / periodMs_)));
  if (options.antennas < 1 || options.antennas > 26) throw std::runtime_error("1..26 antennas");
  if (source_.Station() == Vec3{}) throw std::runtime_error("observation file has no position");
}

void Synthesizer::Emit(const std::vector<std::string>& frames) {
  for (const std::string& f : frames) {
    out_.write(f.data(), static_cast<std::streamsize>(f.size()));
    out_.write("\r\n", 2);
    result_.bytes += f.size() + 2;
  }
}

void Synthesizer::WriteHeader() {
  std::vector<std::string> frames;
  frames.push_back(FrameIdentifier());
  frames.push_back(FrameParameter("rcvid=\"VNXSYNTH-0001\""));
  frames.push_back(FrameParameter("version/main=\"1.2 synthetic\""));
  frames.push_back(FrameParameter("rcv/ver/board=\"SYN-3\""));
  int32_t ms = static_cast<int32_t>(firstMs_ % kMsPerDay);
  std::string site = options_.siteName.empty() ? obs_.header.markerName : options_.siteName;
  if (site.empty()) site = "SITE";
  char height[32];
  std::snprintf(height, sizeof height, "%.4f", obs_.header.antennaHeight);
  frames.push_back(FrameEvent(ms, 0, "_SIT=" + site.substr(0, 20)));
  frames.push_back(FrameEvent(ms, 0, "_ANT=" + options_.antennaName.substr(0, 20)));
  frames.push_back(FrameEvent(ms, 0, std::string("_ANH=") + height));
  frames.push_back(FrameEvent(ms, 0, "_DYM=STATIC"));
  ParameterFrames(firstMs_, frames);
  Emit(frames);
}

void Synthesizer::ParameterFrames(int64_t logMs, std::vector<std::string>& frames) {
  const NavHeader& h = sky_.Header();
  uint16_t week = static_cast<uint16_t>(logMs / kMsPerWeek);
  uint32_t sow = static_cast<uint32_t>(logMs % kMsPerWeek / 1000);
  if (h.hasIon) frames.push_back(FrameIono(sow / 4096 * 4096, week, h.alpha, h.beta));
  UtcParameters u;
  u.a0 = h.a0;
  u.a1 = h.a1;
  int wnt = h.hasUtc ? h.wnt + options_.shiftDays / 7 : week;
  u.tot = h.hasUtc ? static_cast<uint32_t>(h.tot) : sow / 4096 * 4096;
  u.wnt = static_cast<uint16_t>(wnt % 1024);
  u.dtls = static_cast<int8_t>(leap_);
  bool future = h.leapWeek > 0;
  u.wnlsf = static_cast<uint16_t>((future ? h.leapWeek : 1929) % 1024);
  u.dn = static_cast<uint8_t>(future ? h.leapDay : 7);
  u.dtlsf = static_cast<int8_t>(future ? h.leapFuture : std::max(leap_, 18));
  frames.push_back(FrameUtc(u));
}

void Synthesizer::TimeFrames(int64_t k, int64_t logMs, std::vector<std::string>& frames) {
  uint32_t tod = static_cast<uint32_t>(logMs % kMsPerDay);
  if (options_.gpsTimeTags) {
    frames.push_back(FrameGpsTime(static_cast<uint32_t>(logMs % kMsPerWeek),
                                  static_cast<uint16_t>(logMs / kMsPerWeek)));
  } else {
    frames.push_back(FrameReceiverTime(tod));
  }
  int64_t day = logMs / kMsPerDay;
  if (day != lastDay_) {
    // The date follows the first time of a new day, so the day before closes with its own date.
    TGPSTime t(static_cast<uint32_t>(day * 86400));
    frames.push_back(FrameDate(t.Year(), t.Month(), t.Day()));
    lastDay_ = day;
  }
  if (k == plan_.stepBack) {
    Fault f;
    f.kind = FaultKind::TimeStepBack;
    f.offset = result_.bytes;
    f.length = plan_.stepBackMs;
    f.frameId = options_.gpsTimeTags ? "GT" : "~~";
    f.timeText = TimeText(tod);
    uint64_t end = f.offset + frames.front().size() - 1;
    f.expectedErrors.push_back(DecoderErrorLine(
        f.offset, end, f.timeText, f.frameId,
        "Bad Receiver Time: " + f.timeText +
            " < preceding: " + TimeText(static_cast<uint32_t>(lastWrittenMs_ % kMsPerDay))));
    result_.faults.push_back(f);
  }
}

std::vector<SatEpoch> Synthesizer::AntennaView(const std::vector<SatEpoch>& sats, int antenna,
                                               double t) const {
  std::vector<SatEpoch> view = sats;
  if (antenna == 0) return view;
  Vec3 offset = platform_.AntennaOffsetEcef(antenna, t);
  for (SatEpoch& s : view) {
    if (!s.hasAngles) continue;
    double projection = -(s.lineOfSight[0] * offset[0] + s.lineOfSight[1] * offset[1] +
                          s.lineOfSight[2] * offset[2]);
    for (int k = 0; k < kSignals; ++k) {
      SignalValues& v = s.sig[k];
      double lambda = kLightSpeed / CarrierFrequency(s.id.sys, k, s.channel);
      double ambiguity =
          std::round(200 * (UniformNoise(NoiseKey(options_.seed, s.id.Key(), antenna, k)) - 0.5));
      v.code += projection;
      v.phase += projection / lambda + ambiguity;
      v.snr += 1.5 * (UniformNoise(NoiseKey(options_.seed, s.id.Key(), antenna, 9)) - 0.5);
    }
  }
  return view;
}

void Synthesizer::SatelliteFrames(const EpochData& ep, int64_t k,
                                  std::vector<std::string>& frames) {
  std::vector<SatEpoch> sats;
  for (const SatEpoch& s : ep.sats)
    if (UniversalIndex(s) != 0) sats.push_back(s);
  size_t perAntenna = static_cast<size_t>(kMaxSlots / options_.antennas);
  if (sats.size() > perAntenna) {
    std::stable_sort(sats.begin(), sats.end(), [](const SatEpoch& a, const SatEpoch& b) {
      return (a.hasAngles ? a.elevation : 45) > (b.hasAngles ? b.elevation : 45);
    });
    sats.resize(perAntenna);
  }
  std::vector<uint8_t> usi, gloSlots;
  std::vector<double> el, az;
  std::string letters;
  std::vector<std::vector<SatEpoch>> views;
  for (int a = 0; a < options_.antennas; ++a) views.push_back(AntennaView(sats, a, ep.time));
  std::vector<SlotSignals> slots;
  for (int a = 0; a < options_.antennas; ++a) {
    for (const SatEpoch& s : views[a]) {
      usi.push_back(UniversalIndex(s));
      if (s.id.sys == Gnss::Glonass) gloSlots.push_back(static_cast<uint8_t>(s.id.prn));
      el.push_back(s.hasAngles ? s.elevation : NAN);
      az.push_back(s.hasAngles ? s.azimuth : NAN);
      letters.push_back(static_cast<char>('a' + a));
      slots.push_back({s.id.sys, s.channel, &s.sig});
    }
  }
  // The antenna letters go first: a reader that keeps one antenna needs them for the list.
  if (options_.antennas > 1) frames.push_back(FrameAntennas(letters));
  frames.push_back(FrameSatIndex(usi));
  if (!gloSlots.empty()) frames.push_back(FrameGloNumbers(gloSlots));
  frames.push_back(FrameElevations(el));
  frames.push_back(FrameAzimuths(az));
  EncodeObservables(slots, SchemeForEpoch(k), frames);
}

void Synthesizer::SolutionFrames(const EpochData& ep, double dt, std::vector<std::string>& frames) {
  Dops dops;
  if (!ComputeDops(ep.sats, dops)) return;
  Vec3 before = noise_;
  double a = std::exp(-dt / 120.0);
  double b = std::sqrt(1 - a * a);
  static const double kSigma[3] = {0.6, 0.8, 1.4};
  uint64_t ms = static_cast<uint64_t>(std::llround(ep.time * 1000));
  for (int i = 0; i < 3; ++i)
    noise_[i] = a * noise_[i] + b * kSigma[i] * GaussianNoise(NoiseKey(options_.seed, 77, i, ms));
  Solution s;
  Vec3 ecef = EnuToEcef(source_.StationGeodetic(), noise_);
  const Vec3& station = source_.Station();
  s.x = station[0] + ecef[0];
  s.y = station[1] + ecef[1];
  s.z = station[2] + ecef[2];
  s.sigma = static_cast<float>(std::sqrt(dops.hdop * dops.hdop + dops.vdop * dops.vdop) * 0.9);
  Vec3 rate = EnuToEcef(
      source_.StationGeodetic(),
      {(noise_[0] - before[0]) / dt, (noise_[1] - before[1]) / dt, (noise_[2] - before[2]) / dt});
  s.vx = static_cast<float>(rate[0]);
  s.vy = static_cast<float>(rate[1]);
  s.vz = static_cast<float>(rate[2]);
  s.vSigma = static_cast<float>(0.02 * dops.hdop);
  s.hdop = static_cast<float>(dops.hdop);
  s.vdop = static_cast<float>(dops.vdop);
  s.tdop = static_cast<float>(dops.tdop);
  s.hpos = static_cast<float>(0.9 * dops.hdop);
  s.vpos = static_cast<float>(1.4 * dops.vdop);
  s.hvel = static_cast<float>(0.015 * dops.hdop);
  s.vvel = static_cast<float>(0.025 * dops.vdop);
  frames.push_back(FramePosition(s));
  frames.push_back(FrameVelocity(s));
  frames.push_back(FrameDops(s));
  frames.push_back(FrameRms(s));
}

void Synthesizer::EventFrames(int64_t logMs, std::vector<std::string>& frames) {
  int64_t before = logMs - periodMs_;
  auto crossed = [&](int64_t every, int64_t at) {
    return (logMs - at) / every != (before - at) / every && logMs > at;
  };
  uint32_t tod = static_cast<uint32_t>(logMs % kMsPerDay);
  uint64_t key = static_cast<uint64_t>(logMs);
  // A pulse on input A every ten minutes (GPS time), on input B every quarter hour (UTC).
  if (crossed(600000, 137)) {
    int64_t ms = ((logMs - 137) / 600000 * 600000 + 137) % kMsPerDay;
    frames.push_back(FrameExternalEvent(true, static_cast<int32_t>(ms),
                                        static_cast<int32_t>(UniformNoise(key) * 999999), 0));
  }
  if (crossed(900000, 250)) {
    int64_t ms = ((logMs - 250) / 900000 * 900000 + 250 - leap_ * 1000) % kMsPerDay;
    if (ms < 0) ms += kMsPerDay;
    frames.push_back(FrameExternalEvent(false, static_cast<int32_t>(ms),
                                        static_cast<int32_t>(UniformNoise(key + 1) * 999999), 1));
  }
  zaOffset_ = std::clamp(zaOffset_ + static_cast<float>(GaussianNoise(key + 2)), -25.0f, 25.0f);
  zbOffset_ = std::clamp(zbOffset_ + static_cast<float>(GaussianNoise(key + 3)), -25.0f, 25.0f);
  frames.push_back(FramePpsOffset(true, zaOffset_));
  frames.push_back(FramePpsOffset(false, zbOffset_));
  if (crossed(1200000, 0)) {
    char text[24];
    std::snprintf(text, sizeof text, "MARK %03d", ++userEvents_);
    frames.push_back(FrameEvent(static_cast<int32_t>(tod), 1, text));
    if (userEvents_ % 3 == 0)
      frames.push_back(FrameEvent(static_cast<int32_t>(tod), 0, "_FEA=POLE"));
  }
}

void Synthesizer::EphemerisFrames(const EpochData& ep, std::vector<std::string>& frames) {
  const NavHeader& h = sky_.Header();
  double shift = static_cast<double>(shiftMs_) / 1000.0;
  for (const SatEpoch& s : ep.sats) {
    if (UniversalIndex(s) == 0) continue;
    if (s.id.sys == Gnss::Glonass) {
      const GloEph* e = sky_.Glonass(s.id.prn, ep.time);
      if (e == nullptr || lastEphemeris_[s.id.Key()] == e) continue;
      lastEphemeris_[s.id.Key()] = e;
      frames.push_back(GlonassEphemerisFrame(*e, leap_, shift, h.tauC));
    } else if (s.id.sys != Gnss::Sbas) {
      const KeplerEph* e = sky_.Kepler(s.id, ep.time);
      if (e == nullptr || lastEphemeris_[s.id.Key()] == e) continue;
      lastEphemeris_[s.id.Key()] = e;
      frames.push_back(FrameKepler(shift != 0 ? ShiftKepler(*e, shift, true) : *e, h.galIon));
    }
  }
}

std::string Synthesizer::GarbageRun() {
  // Noise of a line that dropped out: no separators, and a first byte that neither starts a
  // comment line nor a frame identifier, so the reader has to search.
  std::string garbage;
  size_t n = 5 + damageRng_.Below(36);
  for (size_t i = 0; i < n; ++i) {
    uint8_t b;
    do {
      b = static_cast<uint8_t>(damageRng_.Below(256));
    } while (b == 0 || b == 10 || b == 13 || (i == 0 && b >= 0x21 && b <= 0x7E));
    garbage.push_back(static_cast<char>(b));
  }
  return garbage;
}

bool Synthesizer::TryFrameFault(FaultKind kind, size_t victim, std::vector<std::string>& frames,
                                uint32_t msOfDay) {
  std::vector<std::string> trial = frames;
  std::string garbage = kind == FaultKind::Garbage ? GarbageRun() : "";
  if (kind == FaultKind::Garbage) {
    trial[victim + 1] = garbage + trial[victim + 1];
  } else if (kind == FaultKind::BadChecksum) {
    trial[victim].back() = static_cast<char>(trial[victim].back() ^ (1 + damageRng_.Below(255)));
  } else {
    trial[victim].resize(5 + std::max<size_t>(1, (trial[victim].size() - 5) / 2));
  }
  std::string chunk;
  std::vector<size_t> starts;
  for (const std::string& f : trial) {
    starts.push_back(chunk.size());
    chunk += f + "\r\n";
  }
  size_t frameAt = starts[victim];
  size_t declared = frames[victim].size() - 5;
  // The reader searches from the body of a refused frame, or from the end of the one before
  // the garbage, and must land on the next frame of the epoch.
  size_t cursor = kind == FaultKind::Garbage ? starts[victim + 1] - 2 : frameAt + 5;
  ResyncResult r = FindNextFrame(chunk, cursor);
  if (!LandsCleanly(chunk, r, starts[victim + 1] + garbage.size())) return false;
  if (kind == FaultKind::Truncated && !ChecksumFails(chunk, frameAt, declared)) return false;
  Fault f;
  f.kind = kind;
  f.frameId = frames[victim].substr(0, 2);
  f.timeText = TimeText(msOfDay);
  uint64_t base = result_.bytes;
  f.offset = base + (kind == FaultKind::Garbage ? r.start : frameAt);
  f.length = kind == FaultKind::Garbage ? garbage.size() : declared + 5 - trial[victim].size();
  if (kind != FaultKind::Garbage) {
    f.expectedErrors.push_back(DecoderErrorLine(base + frameAt, base + frameAt + 5 + declared - 1,
                                                f.timeText, f.frameId, " Bad Checksum   "));
  }
  uint64_t skipped = r.target - r.start;
  f.expectedErrors.push_back(OtherTextLine(base + r.start, skipped, f.timeText));
  f.expectedErrors.push_back(HexBytesLine(std::string_view(chunk).substr(r.start, skipped)));
  result_.faults.push_back(f);
  frames = trial;
  return true;
}

void Synthesizer::DamageFrames(FaultKind kind, std::vector<std::string>& frames, uint32_t msOfDay) {
  std::vector<size_t> victims;
  for (size_t i = 1; i + 2 < frames.size(); ++i)
    if (DamageableIds().count(frames[i].substr(0, 2))) victims.push_back(i);
  for (int attempt = 0; attempt < 40 && !victims.empty(); ++attempt) {
    size_t pick = victims[damageRng_.Below(victims.size())];
    if (TryFrameFault(kind, pick, frames, msOfDay)) return;
  }
  throw std::runtime_error("no frame of the epoch could carry the fault");
}

void Synthesizer::WriteEpoch(int64_t k) {
  int64_t logMs = firstMs_ + k * periodMs_;
  if (k == plan_.stepBack) logMs -= plan_.stepBackMs;
  double t = static_cast<double>(logMs - shiftMs_) / 1000.0;
  EpochData ep = source_.At(t);
  if (ep.sats.empty()) return;
  Inject(ep, static_cast<double>(k * periodMs_) / 1000.0);
  std::vector<std::string> frames;
  if (plan_.gapStart >= 0 && k == plan_.gapStart + plan_.gapLength) {
    Fault f;
    f.kind = FaultKind::Gap;
    f.offset = result_.bytes;
    f.length = static_cast<uint64_t>(plan_.gapLength);
    f.timeText = TimeText(static_cast<uint32_t>(logMs % kMsPerDay));
    result_.faults.push_back(f);
  }
  TimeFrames(k, logMs, frames);
  SatelliteFrames(ep, k, frames);
  double dt = lastWrittenMs_ < 0 ? periodMs_ / 1000.0
                                 : std::max<double>(0.001, (logMs - lastWrittenMs_) / 1000.0);
  SolutionFrames(ep, dt, frames);
  if (options_.attitude) {
    Attitude a = platform_.AttitudeAt(ep.time, options_.seed);
    a.ms = static_cast<uint32_t>(logMs % kMsPerDay);
    frames.push_back(FrameAttitude(a));
    frames.push_back(FrameBaselines(a));
  }
  if (options_.events) EventFrames(logMs, frames);
  EphemerisFrames(ep, frames);
  if (k > 0 && (logMs / 3600000) != ((logMs - periodMs_) / 3600000)) ParameterFrames(logMs, frames);
  auto fault = plan_.frameFaults.find(k);
  if (fault != plan_.frameFaults.end())
    DamageFrames(fault->second, frames, static_cast<uint32_t>(logMs % kMsPerDay));
  Emit(frames);
  if (result_.epochs == 0) result_.firstTime = logMs / 1000.0;
  result_.lastTime = logMs / 1000.0;
  ++result_.epochs;
  lastWrittenMs_ = logMs;
}

// Slips and clock jumps asked for: from their time on, every epoch carries them.
void Synthesizer::Inject(EpochData& ep, double elapsed) const {
  double jumpMetres = 0;
  for (const ClockJumpInjection& j : options_.clockJumps)
    if (elapsed >= j.seconds) jumpMetres += j.milliseconds * 1e-3 * kLightSpeed;
  for (SatEpoch& s : ep.sats) {
    for (SignalValues& v : s.sig)
      if (v.has & kHasCode) v.code += jumpMetres;
    for (const SlipInjection& slip : options_.slips) {
      if (!(slip.sat == s.id) || elapsed < slip.seconds) continue;
      const double cycles[kSignals] = {slip.cyclesL1, slip.cyclesL1, slip.cyclesL2, slip.cyclesL2,
                                       slip.cyclesL5};
      for (int k = 0; k < kSignals; ++k)
        if (s.sig[k].has & kHasPhase) s.sig[k].phase += cycles[k];
    }
  }
}

void Synthesizer::PlanDamage() {
  if (!options_.damageSeed) return;
  damageRng_ = Rng(*options_.damageSeed);
  if (count_ < 60) throw std::runtime_error("a damaged log needs at least 60 epochs");
  int64_t lo = count_ / 10, span = count_ * 8 / 10;
  std::vector<int64_t> taken;
  auto pick = [&](int64_t width) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      int64_t k = lo + static_cast<int64_t>(damageRng_.Below(static_cast<uint64_t>(span)));
      bool clear = true;
      for (int64_t t : taken) clear = clear && (k + width + 3 < t || k > t + 3 + width);
      int64_t ms = (firstMs_ + k * periodMs_) % kMsPerDay;
      clear = clear && ms > 600000 && ms < kMsPerDay - 600000 - width * periodMs_;
      if (clear) {
        for (int64_t i = 0; i <= width; ++i) taken.push_back(k + i);
        return k;
      }
    }
    throw std::runtime_error("log too short for its faults");
  };
  plan_.gapLength = std::clamp<int64_t>(90000 / periodMs_, 2, std::max<int64_t>(2, count_ / 20));
  plan_.gapStart = pick(plan_.gapLength);
  plan_.stepBack = pick(0);
  plan_.stepBackMs = static_cast<uint32_t>(std::max<int64_t>(9000, 2 * periodMs_));
  const FaultKind kinds[] = {FaultKind::Garbage, FaultKind::BadChecksum, FaultKind::Truncated,
                             FaultKind::Garbage, FaultKind::BadChecksum};
  for (FaultKind kind : kinds) plan_.frameFaults[pick(0)] = kind;
}

SynthResult Synthesizer::Run() {
  PlanDamage();
  WriteHeader();
  for (int64_t k = 0; k < count_; ++k) {
    if (plan_.gapStart >= 0 && k >= plan_.gapStart && k < plan_.gapStart + plan_.gapLength)
      continue;
    WriteEpoch(k);
  }
  std::sort(result_.faults.begin(), result_.faults.end(),
            [](const Fault& a, const Fault& b) { return a.offset < b.offset; });
  return result_;
}

}  // namespace

SlipInjection ParseSlip(const std::string& text) {
  SlipInjection s;
  char letter = 0;
  int number = 0;
  const int n = std::sscanf(text.c_str(), "%c%d:%lf:%lf:%lf:%lf", &letter, &number, &s.seconds,
                            &s.cyclesL1, &s.cyclesL2, &s.cyclesL5);
  const std::string systems = "GRES";
  if (n < 5 || systems.find(letter) == std::string::npos || number < 1)
    throw std::runtime_error("--slip wants SAT:SECONDS:L1:L2[:L5], for example G05:1800:3:0");
  const Gnss sys[] = {Gnss::Gps, Gnss::Glonass, Gnss::Galileo, Gnss::Sbas};
  s.sat.sys = sys[systems.find(letter)];
  s.sat.prn = s.sat.sys == Gnss::Sbas && number < 100 ? number + 100 : number;
  return s;
}

ClockJumpInjection ParseClockJump(const std::string& text) {
  ClockJumpInjection j;
  const int n = std::sscanf(text.c_str(), "%lf:%d", &j.seconds, &j.milliseconds);
  if (n < 1 || j.milliseconds == 0)
    throw std::runtime_error("--clock-jump wants SECONDS[:MS], MS not 0");
  return j;
}

int DaysBetween(int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay) {
  double a = GpsSecondsFromCalendar(fromYear, fromMonth, fromDay, 0, 0, 0);
  double b = GpsSecondsFromCalendar(toYear, toMonth, toDay, 0, 0, 0);
  return static_cast<int>(std::llround((b - a) / kSecondsPerDay));
}

SynthResult Synthesize(const ObsData& obs, NavData nav, const SynthOptions& options,
                       std::ostream& out) {
  Synthesizer s(obs, std::move(nav), options, out);
  return s.Run();
}

}  // namespace vnx::synth
