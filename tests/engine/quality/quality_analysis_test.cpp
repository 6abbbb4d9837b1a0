// The quality analysis of logs made by the synthesiser from the real observations, with slips
// and a clock jump put in where the test wants them.
#include "engine/quality/quality_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>

#include "engine/views/epoch_analysis.h"
#include "engine/views/summary.h"
#include "support/scan_fixture.h"
#include "tools/synth/real_data.h"
#include "tools/synth/sky.h"

namespace vnx {
namespace {

using synth::test::MakeLog;

class QualityAnalysis : public test::ScanFixture {
 protected:
  QualityReport Analyse(const std::string& log, QualityOptions options = {}) {
    EXPECT_TRUE(ScanLog(log));
    return AnalyseQuality(QualitySourceOf(session.Result()), options);
  }

  static const QualitySatellite& Sat(const QualityReport& r, const std::string& name) {
    for (const QualitySatellite& q : r.satellites)
      if (q.name == name) return q;
    ADD_FAILURE() << name << " not in the report";
    static const QualitySatellite none;
    return none;
  }

  // An hour at 1 Hz: G21 slips 3 cycles on L1 at 30 min, G01 22 and 17 cycles on L1 and L2
  // (a slip the geometry-free test cannot see) at 20 min, the receiver clock jumps a
  // millisecond at 40 min.
  static std::string InjectedHour() {
    synth::SynthOptions o;
    o.hours = 1;
    o.rate = 1;
    o.slips = {synth::ParseSlip("G21:1800:3:0"), synth::ParseSlip("G01:1200:22:17")};
    o.clockJumps = {synth::ParseClockJump("2400")};
    return MakeLog(synth::test::Opec(), o);
  }
};

TEST_F(QualityAnalysis, InjectedSlipsAndClockJumpAreFoundAtTheirEpochs) {
  const QualityReport r = Analyse(InjectedHour());
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.epochs.count, 3600);
  EXPECT_EQ(r.epochs.gaps, 0);
  const QualitySatellite& g21 = Sat(r, "G21");
  ASSERT_EQ(g21.slips.size(), 1u);
  EXPECT_EQ(g21.slips[0].epoch, 1801);
  EXPECT_TRUE(g21.slips[0].geometryFree);
  const QualitySatellite& g01 = Sat(r, "G01");
  ASSERT_EQ(g01.slips.size(), 1u);
  EXPECT_EQ(g01.slips[0].epoch, 1201);
  EXPECT_FALSE(g01.slips[0].geometryFree);
  EXPECT_TRUE(g01.slips[0].wideLane);
  EXPECT_EQ(r.SlipEpochs(SatSystem::Gps, 21), std::vector<int32_t>{1801});
  // The jump is counted once and breaks the arcs without counting as a slip anywhere.
  ASSERT_EQ(r.clockJumps.size(), 1u);
  EXPECT_EQ(r.clockJumps[0].epoch, 2401);
  EXPECT_EQ(r.clockJumps[0].milliseconds, 1);
  for (const QualitySatellite& q : r.satellites)
    for (const SlipMark& m : q.slips) EXPECT_NE(m.epoch, 2401) << q.name;
  // The multipath stays that of the file's own data: a jump left in an arc would add
  // hundreds of kilometres.
  ASSERT_TRUE(g21.mp1.Rms());
  EXPECT_LT(*g21.mp1.Rms(), 2.0);
  // The log's ephemerides are GPS and GLONASS: Galileo satellites are listed apart.
  EXPECT_FALSE(r.withoutEphemeris.empty());
  for (const std::string& n : r.withoutEphemeris) EXPECT_EQ(n[0], 'E');
}

// Halfway through, G21 loses its first-frequency code (the records are changed after the scan):
// of the epochs it was expected in, only those of the first half count as observed.
TEST_F(QualityAnalysis, CompletenessCountsOnlyEpochsWithTheFirstCode) {
  synth::SynthOptions o;
  o.hours = 1;
  o.rate = 1;
  ASSERT_TRUE(ScanLog(MakeLog(synth::test::Opec(), o)));
  const QualitySource src = QualitySourceOf(session.Result());
  const QualityReport full = AnalyseQuality(src, {});
  EXPECT_EQ(Sat(full, "G21").expected, 3600);
  EXPECT_EQ(Sat(full, "G21").observed, 3600);
  {
    std::fstream epochs(src.dataEpochsPath, std::ios::in | std::ios::out | std::ios::binary);
    std::fstream svs(src.svRecsPath, std::ios::in | std::ios::out | std::ios::binary);
    EpochRec rec;
    SvRec sv;
    for (int i = 1; i <= src.epochCount; ++i) {
      epochs.read(reinterpret_cast<char*>(&rec), sizeof rec);
      for (int k = 0; k < rec.satsWritten; ++k) {
        const auto at = svs.tellg();
        svs.read(reinterpret_cast<char*>(&sv), sizeof sv);
        if (i <= 1800 || sv.system != 1 || sv.number != 21) continue;
        sv.sig[0].present[kRange] = sv.sig[1].present[kRange] = 0;
        svs.seekp(at);
        svs.write(reinterpret_cast<const char*>(&sv), sizeof sv);
        svs.seekg(svs.tellp());
      }
    }
  }
  const QualityReport cut = AnalyseQuality(src, {});
  EXPECT_EQ(Sat(cut, "G21").expected, 3600);
  EXPECT_EQ(Sat(cut, "G21").observed, 1800);
  EXPECT_DOUBLE_EQ(*Sat(cut, "G21").CompletenessPct(), 50.0);
  // Without its code it has no multipath points in the second half either.
  EXPECT_LT(Sat(cut, "G21").mp1.count, Sat(full, "G21").mp1.count);
}

// A mask that a setting satellite passes halfway through the hour: it is expected only in the
// first half. The crossing is found from the navigation file directly, not from the log.
TEST_F(QualityAnalysis, SatelliteSettingBelowTheMaskIsExpectedWhileAbove) {
  auto set = synth::test::Opec();
  synth::Sky sky(set.nav, 18);
  const Vec3 station = set.obs.header.position;
  const double start = set.obs.epochs.front().time;
  auto elevation = [&](int prn, double t) {
    SatState s;
    if (!sky.Position({synth::Gnss::Gps, prn}, t, s)) return -90.0;
    return Look(station, ToGeodetic(station), s.pos).elevation * 180 / 3.14159265358979;
  };
  int prn = 1;
  while (prn <= 32 && !(elevation(prn, start + 1800) > 15 &&
                        elevation(prn, start) > elevation(prn, start + 1800) + 3))
    ++prn;
  ASSERT_LE(prn, 32) << "a GPS satellite sets during the first hour of the file";
  const double middle = elevation(prn, start + 1800);
  synth::SynthOptions o;
  o.hours = 1;
  o.rate = 1;
  QualityOptions options;
  options.maskDeg = middle;
  options.position = station;
  const QualityReport r = Analyse(MakeLog(set, o), options);
  const QualitySatellite& setting = Sat(r, QualitySatelliteName(SatSystem::Gps, prn));
  EXPECT_NEAR(static_cast<double>(setting.expected), 1801, 2);
  EXPECT_EQ(setting.observed, setting.expected);
  EXPECT_GE(setting.epochsSeen, setting.expected);
}

// The epochs as the Times view counts them, and the observations as the Summary counts them,
// on a damaged log with a gap and a time step back.
TEST_F(QualityAnalysis, EpochsAndObservationsAgreeWithTimesAndSummary) {
  synth::SynthOptions o;
  o.hours = 1;
  o.rate = 1;
  o.damageSeed = 7;
  const QualityReport r = Analyse(MakeLog(synth::test::Opec(), o));
  ASSERT_TRUE(r.ok) << r.message;
  const EpochAnalysis times = RunEpochAnalysis(ctx);
  EXPECT_GE(times.gapCount, 1);
  EXPECT_EQ(r.epochs.gaps, times.gapCount);
  EXPECT_EQ(r.epochs.count, ctx.epochCount);
  EXPECT_EQ(r.epochs.intervalS, 1.0);
  EXPECT_EQ(r.epochs.expected, std::llround(r.epochs.last - r.epochs.first) + 1);
  EXPECT_LT(r.epochs.count, r.epochs.expected);
  const Summary summary = BuildSummary(ctx, times, "log");
  ASSERT_TRUE(summary.records);
  for (int k = 0; k < kObservableCount; ++k) {
    int64_t sum = 0;
    for (const QualitySatellite& q : r.satellites) sum += q.observations[k];
    EXPECT_EQ(sum, summary.records->observables[k]) << kObservables[static_cast<size_t>(k)].caption;
  }
}

// A log without positions, ephemerides or observables: nothing can be expected, the
// satellites are listed apart, and every figure that cannot be formed stays empty.
TEST_F(QualityAnalysis, LogWithoutPositionsOrEphemerides) {
  test::LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5, 40}).GloNumbers({3});
  b.Time(2000).Sats({5, 40}).GloNumbers({3});
  const QualityReport r = Analyse(b.str());
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_FALSE(r.position);
  EXPECT_EQ(r.positionSource, "none");
  EXPECT_EQ(r.epochs.count, 2);
  EXPECT_EQ(r.epochs.expected, 2);
  EXPECT_FALSE(r.total.CompletenessPct());
  EXPECT_FALSE(r.total.mp1.Rms());
  EXPECT_EQ(r.withoutEphemeris, (std::vector<std::string>{"G05", "R03"}));
  EXPECT_EQ(Sat(r, "R03").epochsSeen, 2);
  EXPECT_TRUE(r.clockJumps.empty());
}

// The multipath of each satellite, worked out here straight from the observation file with the
// same definitions, agrees with the analysis of the log made from it.
std::map<std::string, double> Mp1FromObservations(const synth::ObsData& obs) {
  struct Point {
    double t, mp1, gf, mw;
  };
  std::map<std::string, std::vector<Point>> points;
  const double c = 299792458.0;
  for (const synth::ObsEpoch& ep : obs.epochs) {
    for (const synth::SatObs& o : ep.sats) {
      double f1 = 1575.42e6, f2 = 1227.60e6;
      if (o.id.sys == synth::Gnss::Glonass) {
        auto ch = obs.header.glonassChannel.find(o.id.prn);
        if (ch == obs.header.glonassChannel.end()) continue;
        f1 = 1602e6 + ch->second * 0.5625e6;
        f2 = 1246e6 + ch->second * 0.4375e6;
      } else if (o.id.sys != synth::Gnss::Gps) {
        continue;
      }
      const auto& l1 = (o.sig[0].has & synth::kHasCode) ? o.sig[0] : o.sig[1];
      const auto& l1p = (o.sig[0].has & synth::kHasPhase) ? o.sig[0] : o.sig[1];
      const auto& l2 = o.sig[2];
      if (!(l1.has & synth::kHasCode) || !(l1p.has & synth::kHasPhase) ||
          (l2.has & (synth::kHasCode | synth::kHasPhase)) != (synth::kHasCode | synth::kHasPhase))
        continue;
      const double a = (f1 / f2) * (f1 / f2);
      const double phi1 = c / f1 * l1p.phase, phi2 = c / f2 * l2.phase;
      const double mp1 = l1.code - (1 + 2 / (a - 1)) * phi1 + 2 / (a - 1) * phi2;
      const double mw =
          ((f1 * phi1 - f2 * phi2) / (f1 - f2) - (f1 * l1.code + f2 * l2.code) / (f1 + f2)) /
          (c / (f1 - f2));
      points[o.id.Name()].push_back({ep.time, mp1, phi1 - phi2, mw});
    }
  }
  std::map<std::string, double> rms;
  for (const auto& [name, pts] : points) {
    double squares = 0;
    int64_t count = 0;
    std::vector<double> arc;
    auto close = [&] {
      if (arc.size() >= 10) {
        double mean = 0;
        for (double v : arc) mean += v;
        mean /= static_cast<double>(arc.size());
        for (double v : arc) squares += (v - mean) * (v - mean);
        count += static_cast<int64_t>(arc.size());
      }
      arc.clear();
    };
    for (size_t i = 0; i < pts.size(); ++i) {
      if (i > 0 &&
          (pts[i].t - pts[i - 1].t > 2 * obs.header.interval + 1e-3 ||
           std::fabs(pts[i].gf - pts[i - 1].gf) > 0.15 || std::fabs(pts[i].mw - pts[i - 1].mw) > 4))
        close();
      arc.push_back(pts[i].mp1);
    }
    close();
    if (count > 0) rms[name] = std::sqrt(squares / static_cast<double>(count));
  }
  return rms;
}

TEST_F(QualityAnalysis, Mp1AgreesWithAComputationFromTheObservationFile) {
  auto set = synth::test::Opec();
  const QualityReport r = Analyse(MakeLog(set, synth::SynthOptions{}));
  const auto expected = Mp1FromObservations(set.obs);
  int compared = 0;
  for (const QualitySatellite& q : r.satellites) {
    auto it = expected.find(q.name);
    if (it == expected.end() || !q.mp1.Rms()) continue;
    EXPECT_NEAR(*q.mp1.Rms(), it->second, 0.02 * it->second) << q.name;
    ++compared;
  }
  EXPECT_GE(compared, 25);
}

}  // namespace
}  // namespace vnx
