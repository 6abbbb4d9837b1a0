#include "engine/quality/quality_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "engine/epoch/record_reader.h"
#include "engine/quality/dual_frequency.h"
#include "engine/time/gps_time.h"

namespace vnx {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
constexpr double kNever = -std::numeric_limits<double>::infinity();
constexpr int kDefaultLeapSeconds = 18;
constexpr double kSnrSampleFactor = 4;  // in force since 2017; logs without "UO" take it

double EpochSeconds(const EpochRec& rec) {
  const TGPSTimeNS t = TGPSTimeNS::FromTimeRec(rec.time);
  return static_cast<double>(t.Seconds()) + static_cast<double>(t.Nanoseconds()) * 1e-9;
}

// Whole milliseconds, as the epoch analysis compares epoch times.
int64_t EpochMs(const EpochRec& rec) {
  const TGPSTimeNS t = TGPSTimeNS::FromTimeRec(rec.time);
  return static_cast<int64_t>(t.Seconds()) * 1000 + t.Nanoseconds() / 1000000;
}

// The satellite number the ephemerides use for a satellite record: Galileo records carry the
// universal index 71..102.
int NumberOf(const SvRec& sv) {
  const auto system = static_cast<SatSystem>(sv.system);
  return system == SatSystem::Galileo ? sv.number - InfoOf(system).numberOffset : sv.number;
}

// What one pass over the epoch records alone gives: the span, the mean position and the
// leap seconds.
struct FirstLook {
  bool ok = false;
  double first = 0, last = 0;
  Vec3 sum{};
  int positions = 0;
  int leap = kDefaultLeapSeconds;
};

FirstLook LookAtEpochs(const QualitySource& src) {
  FirstLook f;
  RecordReader epochs(src.dataEpochsPath, sizeof(EpochRec));
  if (!epochs.IsOpen()) return f;
  EpochRec rec;
  for (int32_t i = 0; i < src.epochCount; ++i) {
    if (!epochs.Read(&rec)) return f;
    const double t = EpochSeconds(rec);
    if (i == 0) f.first = t;
    f.last = t;
    if (rec.flags[kFlagPosition] && rec.pos.positionPresent && std::isfinite(rec.pos.x) &&
        (rec.pos.x != 0 || rec.pos.y != 0 || rec.pos.z != 0)) {
      f.sum[0] += rec.pos.x, f.sum[1] += rec.pos.y, f.sum[2] += rec.pos.z;
      ++f.positions;
    }
    if (rec.flags[kFlagUO]) f.leap = rec.utc.dtls;
  }
  f.ok = true;
  return f;
}

// Look angles of a satellite from its orbit, degrees.
struct AngleSample {
  double t = 0, elevation = 0, azimuth = 0;
  bool ok = false;
};

struct PendingSample {
  float elevation, azimuth;  // NaN when unknown
  double mp1, mp2;
};

// The running state of one satellite during the pass.
struct SatelliteRun {
  size_t row = 0;  // index into the report's satellites
  // Elevation and azimuth, degrees; from the orbit when there is one, else from the records.
  bool orbitAngles = false;  // this epoch's angles come from the orbit
  AngleSample from, to;      // orbit angles at the two ends of the current step
  double elevation = NAN, azimuth = NAN;
  int32_t seenEpoch = 0;      // the last epoch with a record of the satellite
  int32_t expectedEpoch = 0;  // the last epoch in which it was expected
  // The chain of dual-frequency points.
  bool havePoint = false;
  double pointTime = 0;
  FrequencyPair pair = FrequencyPair::L1L2;
  double gf = 0, mw = 0;
  ArcSums arc1, arc2;
  std::vector<PendingSample> samples;
  PairCoefficients coefficients, l5Coefficients;  // of the carriers last used
  // The L1-L5 chain of a GPS satellite, for MP5; its slips only end its own arcs.
  bool haveL5 = false;
  double l5Time = 0, l5Gf = 0, l5Mw = 0;
  ArcSums arc5;
  double sampleTime = kNever;
  double snrSampleTime = kNever;
  // The first-frequency code and phase of the previous epoch, for the clock-jump test.
  int32_t clockEpoch = 0;
  double code = 0, phase = 0;
  bool hasPhase = false;
  // Availability.
  bool inRun = false;
  double runStart = 0, runEnd = 0;
};

class QualityPass {
 public:
  QualityPass(const QualitySource& src, const QualityOptions& options, const FirstLook& look,
              QualityReport& report);
  bool Run(const ProgressCallback& progress);
  void Finish();

 private:
  SatelliteRun& RunOf(SatSystem system, int number);
  AngleSample AnglesAt(SatSystem system, int number, double t);
  void Angles(int32_t epoch, double t);
  void Satellite(int32_t epoch, double t, const EpochRec& rec, const SvRec& sv,
                 const CombinationObservables& obs, bool jump);
  void Point(int32_t epoch, double t, SatelliteRun& run, const SvRec& sv,
             const CombinationObservables& obs, bool jump);
  void Observations(SatelliteRun& run, QualitySatellite& q, const SvRec& sv, double t);
  bool ClockJump(int32_t epoch, double t, const std::vector<SvRec>& svs);
  std::vector<CombinationObservables> obs_;  // of the epoch's records, taken once
  void CloseArc(SatelliteRun& run);
  void CloseL5Arc(SatelliteRun& run);
  void L5Point(SatelliteRun& run, const SvRec& sv, const CombinationObservables& obs, double t,
               bool jump);
  void CloseRun(SatelliteRun& run);
  double BarGap() const;

  const QualitySource& src_;
  QualityOptions options_;
  QualityReport& r_;
  LogOrbits orbits_;
  std::optional<Geodetic> geo_;
  double sampleStep_;
  double pointGap_;  // a longer step between points ends an arc
  std::array<std::array<int16_t, 256>, kSatSystemCount> index_;
  std::vector<SatelliteRun> runs_;
  std::vector<double> steps_;
};

QualityPass::QualityPass(const QualitySource& src, const QualityOptions& options,
                         const FirstLook& look, QualityReport& report)
    : src_(src), options_(options), r_(report), orbits_(src.ephemerides, look.leap) {
  for (auto& row : index_) row.fill(-1);
  if (r_.position) geo_ = ToGeodetic(*r_.position);
  const double interval = src.intervalMs > 0 ? src.intervalMs / 1000.0 : 1.0;
  sampleStep_ = std::max(interval, (look.last - look.first) / kChartSamplesPerSatellite);
  pointGap_ = 2 * interval + 1e-3;
}

SatelliteRun& QualityPass::RunOf(SatSystem system, int number) {
  int16_t& i = index_[static_cast<size_t>(SystemIndex(system))][number & 0xFF];
  if (i < 0) {
    i = static_cast<int16_t>(runs_.size());
    runs_.emplace_back();
    runs_.back().row = r_.satellites.size();
    QualitySatellite q;
    q.system = system;
    q.number = number;
    q.name = QualitySatelliteName(system, number);
    r_.satellites.push_back(std::move(q));
  }
  return runs_[static_cast<size_t>(i)];
}

// Works out the elevation of every satellite with a valid ephemeris, and counts the expected
// epochs of those at or above the mask.
// The look angles of a satellite from its orbit at `t`; ok false without a valid ephemeris.
AngleSample QualityPass::AnglesAt(SatSystem system, int number, double t) {
  AngleSample a;
  a.t = t;
  Vec3 pos;
  a.ok = orbits_.Position(system, number, t, pos);
  if (a.ok) {
    const LookAngles look = Look(*r_.position, *geo_, pos);
    a.elevation = look.elevation / kDeg;
    a.azimuth = look.azimuth / kDeg;
  }
  return a;
}

// Works out the elevation of every satellite with a valid ephemeris, and counts the expected
// epochs of those at or above the mask. Orbits are evaluated every kElevationStepS seconds
// and the angles interpolated between: within a few thousandths of a degree.
void QualityPass::Angles(int32_t epoch, double t) {
  orbits_.Advance(t);
  if (!geo_) return;
  for (const auto& [system, number] : orbits_.Known()) {
    SatelliteRun& run = RunOf(system, number);
    r_.satellites[run.row].hasEphemeris = true;
    const bool inside = run.from.ok && run.to.ok && t >= run.from.t && t <= run.to.t;
    if (!inside) {
      if (run.to.ok && t >= run.to.t && t - run.to.t < kElevationStepS)
        run.from = run.to;
      else
        run.from = AnglesAt(system, number, t);
      run.to = run.from.ok ? AnglesAt(system, number, run.from.t + kElevationStepS) : AngleSample{};
    }
    run.orbitAngles = run.from.ok && (t == run.from.t || (run.to.ok && t <= run.to.t));
    if (!run.orbitAngles) continue;
    if (run.to.ok && run.to.t > run.from.t) {
      const double f = (t - run.from.t) / (run.to.t - run.from.t);
      run.elevation = run.from.elevation + f * (run.to.elevation - run.from.elevation);
      double turn = run.to.azimuth - run.from.azimuth;  // the short way round
      if (turn > 180) turn -= 360;
      if (turn < -180) turn += 360;
      run.azimuth = run.from.azimuth + f * turn;
      if (run.azimuth < 0) run.azimuth += 360;
      if (run.azimuth >= 360) run.azimuth -= 360;
    } else {
      run.elevation = run.from.elevation;
      run.azimuth = run.from.azimuth;
    }
    if (run.elevation >= options_.maskDeg) {
      ++r_.satellites[run.row].expected;
      run.expectedEpoch = epoch;
    }
  }
}

void QualityPass::Observations(SatelliteRun& run, QualitySatellite& q, const SvRec& sv, double t) {
  if (q.epochsSeen == 0) q.firstTime = t;
  q.lastTime = t;
  ++q.epochsSeen;
  for (int k = 0; k < kObservableCount; ++k) {
    const ObservableInfo& o = kObservables[static_cast<size_t>(k)];
    if (sv.sig[o.signal].present[o.kind]) ++q.observations[k];
  }
  const bool known = std::isfinite(run.elevation);
  // Signal strength has up to five series: it is sampled more thinly.
  const bool sample = known && t - run.snrSampleTime >= kSnrSampleFactor * sampleStep_;
  if (sample) run.snrSampleTime = t;
  QualityGroup& group = r_.System(static_cast<SatSystem>(sv.system));
  const int bin = known ? ElevationBin(run.elevation, kSnrBinDeg) : 0;
  for (int s = 0; s < kSignalCount; ++s) {
    const SignalBlock& b = sv.sig[s];
    if (!b.present[kSnr] || !std::isfinite(b.snr)) continue;
    q.snr[s].Add(b.snr);
    if (!known) continue;
    group.snrBins[s][bin].Add(b.snr);
    r_.total.snrBins[s][bin].Add(b.snr);
    if (sample)
      r_.charts.snr.push_back({static_cast<float>(run.elevation), b.snr,
                               static_cast<uint16_t>(run.row), static_cast<uint8_t>(s)});
  }
  // Availability: a run of presence ends at a gap the chart can show.
  if (run.inRun && t - run.runEnd > BarGap()) CloseRun(run);
  if (!run.inRun) {
    run.inRun = true;
    run.runStart = t;
  }
  run.runEnd = t;
}

double QualityPass::BarGap() const {
  return std::max(pointGap_, (r_.epochs.last - r_.epochs.first) / 1000.0);
}

void QualityPass::CloseRun(SatelliteRun& run) {
  if (!run.inRun) return;
  run.inRun = false;
  auto& bars = r_.charts.availability;
  const auto row = static_cast<uint16_t>(run.row);
  auto it = std::find_if(bars.begin(), bars.end(),
                         [row](const AvailabilityBar& b) { return b.satellite == row; });
  if (it == bars.end()) {
    bars.push_back({row, {}});
    it = bars.end() - 1;
  }
  it->runs.emplace_back(run.runStart, run.runEnd);
}

void QualityPass::CloseArc(SatelliteRun& run) {
  const bool kept = run.arc1.Count() >= kMinArcPoints;
  QualitySatellite& q = r_.satellites[run.row];
  const double mean1 = run.arc1.Mean(), mean2 = run.arc2.Mean();
  if (kept) {
    QualityGroup* groups[] = {&r_.System(q.system), &r_.total};
    q.mp1.Add(run.arc1.Total());
    q.mp2.Add(run.arc2.Total());
    for (QualityGroup* g : groups) {
      g->mp1.Add(run.arc1.Total());
      g->mp2.Add(run.arc2.Total());
      for (int b = 0; b < kMultipathBins; ++b) {
        g->mp1Bins[b].Add(run.arc1.Bin(b));
        g->mp2Bins[b].Add(run.arc2.Bin(b));
      }
    }
  }
  const auto row = static_cast<uint16_t>(run.row);
  for (const PendingSample& s : run.samples) {
    const float mp1 = kept ? static_cast<float>(s.mp1 - mean1) : NAN;
    if (!std::isnan(s.azimuth)) r_.charts.sky.push_back({s.azimuth, s.elevation, mp1, row});
    if (kept && !std::isnan(s.elevation)) {
      r_.charts.multipath.push_back({s.elevation, mp1, row, 0});
      r_.charts.multipath.push_back({s.elevation, static_cast<float>(s.mp2 - mean2), row, 1});
    }
  }
  run.samples.clear();
  run.arc1.Clear();
  run.arc2.Clear();
}

void QualityPass::CloseL5Arc(SatelliteRun& run) {
  if (run.arc5.Count() >= kMinArcPoints) {
    QualitySatellite& q = r_.satellites[run.row];
    q.mp5.Add(run.arc5.Total());
    r_.System(q.system).mp5.Add(run.arc5.Total());
    r_.total.mp5.Add(run.arc5.Total());
  }
  run.arc5.Clear();
}

void QualityPass::L5Point(SatelliteRun& run, const SvRec& sv, const CombinationObservables& obs,
                          double t, bool jump) {
  const auto pair = GpsL5PairOf(sv, obs);
  if (!pair) return;
  if (run.l5Coefficients.carriers.f1 != pair->carriers.f1 ||
      run.l5Coefficients.carriers.f2 != pair->carriers.f2)
    run.l5Coefficients = CoefficientsOf(pair->carriers);
  const DualFrequencyValues v = ValuesOf(*pair, run.l5Coefficients);
  const bool chained = run.haveL5 && !jump && t > run.l5Time && t - run.l5Time <= pointGap_;
  if (!chained || TestSlip(run.l5Gf, v.geometryFree, run.l5Mw, v.melbourneWuebbena).Any())
    CloseL5Arc(run);
  run.haveL5 = true;
  run.l5Time = t;
  run.l5Gf = v.geometryFree;
  run.l5Mw = v.melbourneWuebbena;
  run.arc5.Add(v.mp2, -1);
}

void QualityPass::Point(int32_t epoch, double t, SatelliteRun& run, const SvRec& sv,
                        const CombinationObservables& obs, bool jump) {
  L5Point(run, sv, obs, t, jump);
  const auto dual = DualFrequencyOf(sv, obs);
  const bool sample = t - run.sampleTime >= sampleStep_;
  if (!dual) {
    if (sample && std::isfinite(run.elevation) && std::isfinite(run.azimuth))
      r_.charts.sky.push_back({static_cast<float>(run.azimuth), static_cast<float>(run.elevation),
                               NAN, static_cast<uint16_t>(run.row)});
    return;
  }
  if (run.coefficients.carriers.f1 != dual->carriers.f1 ||
      run.coefficients.carriers.f2 != dual->carriers.f2)
    run.coefficients = CoefficientsOf(dual->carriers);
  const DualFrequencyValues v = ValuesOf(*dual, run.coefficients);
  const bool chained = run.havePoint && !jump && run.pair == dual->pair && t > run.pointTime &&
                       t - run.pointTime <= pointGap_;
  if (chained) {
    const SlipTest slip = TestSlip(run.gf, v.geometryFree, run.mw, v.melbourneWuebbena);
    if (slip.Any()) {
      QualitySatellite& q = r_.satellites[run.row];
      q.slips.push_back({epoch, t, slip.geometryFree, slip.wideLane});
      ++r_.System(q.system).slips;
      ++r_.total.slips;
      CloseArc(run);
    }
  } else {
    CloseArc(run);
  }
  run.havePoint = true;
  run.pointTime = t;
  run.pair = dual->pair;
  run.gf = v.geometryFree;
  run.mw = v.melbourneWuebbena;
  const int bin = std::isfinite(run.elevation) ? ElevationBin(run.elevation, kMultipathBinDeg) : -1;
  run.arc1.Add(v.mp1, bin);
  run.arc2.Add(v.mp2, bin);
  if (sample)
    run.samples.push_back(
        {static_cast<float>(run.elevation), static_cast<float>(run.azimuth), v.mp1, v.mp2});
}

void QualityPass::Satellite(int32_t epoch, double t, const EpochRec& rec, const SvRec& sv,
                            const CombinationObservables& obs, bool jump) {
  SatelliteRun& run = RunOf(static_cast<SatSystem>(sv.system), NumberOf(sv));
  if (run.seenEpoch == epoch) return;  // a satellite counts once per epoch
  run.seenEpoch = epoch;
  if (run.expectedEpoch == epoch && obs.pr1) ++r_.satellites[run.row].observed;
  if (!run.orbitAngles || !geo_) {
    // A satellite without angles in an epoch that has some is stored at 0 and 0.
    const bool none = sv.elevation == 0 && sv.azimuth == 0;
    run.elevation = rec.flags[kFlagEL] && !none ? sv.elevation : NAN;
    run.azimuth = rec.flags[kFlagAZ] && !none ? sv.azimuth : NAN;
  }
  Observations(run, r_.satellites[run.row], sv, t);
  Point(epoch, t, run, sv, obs, jump);
  if (t - run.sampleTime >= sampleStep_) run.sampleTime = t;
}

// The clock-jump test of an epoch against the one before it.
bool QualityPass::ClockJump(int32_t epoch, double t, const std::vector<SvRec>& svs) {
  steps_.clear();
  obs_.resize(svs.size());
  for (size_t k = 0; k < svs.size(); ++k) {
    const SvRec& sv = svs[k];
    obs_[k] = TakeObservables(sv);
    if (!IsSatSystem(static_cast<SatSystem>(sv.system))) continue;
    SatelliteRun& run = RunOf(static_cast<SatSystem>(sv.system), NumberOf(sv));
    const auto& code = obs_[k].pr1;
    const auto phase = FirstPhaseMetresOf(sv, obs_[k]);
    const bool previous = run.clockEpoch == epoch - 1 && run.hasPhase;
    if (code && phase && previous) steps_.push_back((*code - run.code) - (*phase - run.phase));
    if (run.clockEpoch == epoch) continue;
    run.clockEpoch = code ? epoch : 0;
    run.code = code.value_or(0);
    run.phase = phase.value_or(0);
    run.hasPhase = phase.has_value();
  }
  const auto k = TestClockJump(steps_);
  if (k) r_.clockJumps.push_back({epoch, t, *k});
  return k.has_value();
}

bool QualityPass::Run(const ProgressCallback& progress) {
  RecordReader epochs(src_.dataEpochsPath, sizeof(EpochRec));
  RecordReader svRecs(src_.svRecsPath, sizeof(SvRec));
  if (!epochs.IsOpen() || !svRecs.IsOpen()) {
    r_.message = "The working files cannot be opened";
    return false;
  }
  EpochRec rec;
  std::vector<SvRec> svs;
  svs.reserve(kSignalCount * 14);
  int64_t previousMs = 0;
  const double intervalMs = src_.intervalMs;
  int lastPercent = -1;
  for (int32_t i = 1; i <= src_.epochCount; ++i) {
    if (!epochs.Read(&rec)) {
      r_.message = kUnexpectedEnd;
      return false;
    }
    svs.resize(static_cast<size_t>(std::clamp(rec.satsWritten, 0, 70)));
    for (SvRec& sv : svs) {
      if (!svRecs.Read(&sv)) {
        r_.message = kUnexpectedEnd;
        return false;
      }
    }
    const double t = EpochSeconds(rec);
    const int64_t ms = EpochMs(rec);
    if (i > 1 && intervalMs > 0 && ms - previousMs > (intervalMs + 1e-6) * 1.1) ++r_.epochs.gaps;
    previousMs = ms;
    const bool jump = ClockJump(i, t, svs);
    Angles(i, t);
    for (size_t k = 0; k < svs.size(); ++k)
      if (IsSatSystem(static_cast<SatSystem>(svs[k].system)))
        Satellite(i, t, rec, svs[k], obs_[k], jump);
    if (progress) {
      const int percent = static_cast<int>(int64_t{i} * 100 / src_.epochCount);
      if (percent != lastPercent) progress(lastPercent = percent);
    }
  }
  return true;
}

void QualityPass::Finish() {
  for (SatelliteRun& run : runs_) {
    CloseArc(run);
    CloseL5Arc(run);
    CloseRun(run);
  }
  orbits_.ReadRest();
  for (const auto& [system, number] : orbits_.Known())
    r_.satellites[RunOf(system, number).row].hasEphemeris = true;
}

// Sums every satellite into its system and the log, and puts the satellites in report order.
void Summarise(QualityReport& r) {
  std::vector<uint16_t> order(r.satellites.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint16_t>(i);
  auto rank = [&](const QualitySatellite& q) {
    const auto pos = std::find(kQualitySystemOrder.begin(), kQualitySystemOrder.end(), q.system);
    return (pos - kQualitySystemOrder.begin()) * 1000 + q.number;
  };
  std::sort(order.begin(), order.end(),
            [&](uint16_t a, uint16_t b) { return rank(r.satellites[a]) < rank(r.satellites[b]); });
  std::vector<uint16_t> newIndex(order.size());
  std::vector<QualitySatellite> sorted;
  for (size_t i = 0; i < order.size(); ++i) {
    newIndex[order[i]] = static_cast<uint16_t>(i);
    sorted.push_back(std::move(r.satellites[order[i]]));
  }
  r.satellites = std::move(sorted);
  for (auto& p : r.charts.sky) p.satellite = newIndex[p.satellite];
  for (auto& p : r.charts.multipath) p.satellite = newIndex[p.satellite];
  for (auto& p : r.charts.snr) p.satellite = newIndex[p.satellite];
  for (auto& b : r.charts.availability) b.satellite = newIndex[b.satellite];
  std::sort(
      r.charts.availability.begin(), r.charts.availability.end(),
      [](const AvailabilityBar& a, const AvailabilityBar& b) { return a.satellite < b.satellite; });
  for (const QualitySatellite& q : r.satellites) {
    QualityGroup* groups[] = {&r.System(q.system), &r.total};
    for (QualityGroup* g : groups) {
      if (q.epochsSeen > 0) ++g->satellites;
      g->expected += q.expected;
      g->observed += q.observed;
    }
    if (q.epochsSeen > 0 && !q.hasEphemeris) r.withoutEphemeris.push_back(q.name);
  }
}

}  // namespace

std::optional<double> QualitySatellite::CompletenessPct() const {
  if (expected == 0) return std::nullopt;
  return 100.0 * static_cast<double>(observed) / static_cast<double>(expected);
}

std::optional<double> QualityGroup::CompletenessPct() const {
  if (expected == 0) return std::nullopt;
  return 100.0 * static_cast<double>(observed) / static_cast<double>(expected);
}

const QualitySatellite* QualityReport::FindRecord(SatSystem system, int recordNumber) const {
  const int number =
      system == SatSystem::Galileo ? recordNumber - InfoOf(system).numberOffset : recordNumber;
  for (const QualitySatellite& q : satellites)
    if (q.system == system && q.number == number) return &q;
  return nullptr;
}

std::vector<int32_t> QualityReport::SlipEpochs(SatSystem system, int recordNumber) const {
  std::vector<int32_t> out;
  if (const QualitySatellite* q = FindRecord(system, recordNumber))
    for (const SlipMark& s : q->slips) out.push_back(s.epoch);
  return out;
}

QualitySource QualitySourceOf(const ScanResult& scan) {
  QualitySource s;
  const WorkingFiles& files = scan.Files();
  s.dataEpochsPath = files.PathOf(WorkFile::DataEpochs);
  s.svRecsPath = files.PathOf(WorkFile::SVRecs);
  s.ephemerides.gps = files.PathOf(WorkFile::EphemGPS);
  s.ephemerides.glonass = files.PathOf(WorkFile::EphemGLO);
  s.ephemerides.sbas = files.PathOf(WorkFile::EphemGEO);
  s.ephemerides.galileo = files.PathOf(WorkFile::EphemGAL);
  s.epochCount = scan.EpochCount();
  s.intervalMs = scan.EpochInterval();
  return s;
}

QualityReport AnalyseQuality(const QualitySource& src, const QualityOptions& options,
                             const ProgressCallback& progress) {
  QualityReport r;
  r.maskDeg = options.maskDeg;
  const FirstLook look = LookAtEpochs(src);
  if (!look.ok) {
    r.message = src.epochCount == 0 ? "No epochs" : kUnexpectedEnd;
    return r;
  }
  r.leapSeconds = look.leap;
  r.positionCount = look.positions;
  if (options.position) {
    r.position = options.position;
    r.positionSource = "given";
  } else if (look.positions > 0) {
    const double n = look.positions;
    r.position = Vec3{look.sum[0] / n, look.sum[1] / n, look.sum[2] / n};
    r.positionSource = "mean of the log's positions";
  } else {
    r.positionSource = "none";
  }
  r.epochs.count = src.epochCount;
  r.epochs.first = look.first;
  r.epochs.last = look.last;
  r.epochs.intervalS = src.intervalMs / 1000.0;
  // Without an interval (a single epoch, or all at one time) only the epochs present count.
  r.epochs.expected = src.intervalMs > 0
                          ? std::llround((look.last - look.first) / r.epochs.intervalS) + 1
                          : src.epochCount;
  QualityPass pass(src, options, look, r);
  r.ok = pass.Run(progress);
  pass.Finish();
  Summarise(r);
  return r;
}

std::string QualitySatelliteName(SatSystem system, int number) {
  if (!IsSatSystem(system)) return "?" + std::to_string(number);
  const SatSystemInfo& info = InfoOf(system);
  // SBAS satellites go by PRN - 100, as the views number them.
  const int shown = system == SatSystem::Sbas ? number - info.numberOffset : number;
  char text[8];
  std::snprintf(text, sizeof text, "%c%02d", info.letter, shown);
  return text;
}

const char* QualitySystemName(SatSystem system) {
  return IsSatSystem(system) ? InfoOf(system).shortName : "";
}

}  // namespace vnx
