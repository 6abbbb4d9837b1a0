// A log made by vnx-synth from real RINEX files, scanned, exported and read back by the
// synthesiser's RINEX readers, equals the original files epoch by epoch, satellite by satellite
// and observable by observable, and record by record for the ephemerides.
//
// Tolerances: what the log's encodings keep (obs_encoding.h: code 0.002 m, phase 0.001 cycle,
// Doppler 1e-4 Hz, signal strength 1 dB-Hz for "EC" or 0.25 for "CE"), plus what the records
// keep (Doppler as float32) and half the last digit of the F14.3 fields. Ephemeris parameters
// that the log carries as float32 agree to float32 precision, float64 ones to the 13 digits of
// the D19.12 field; integers exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "engine/rinex/nav_writer.h"
#include "engine/rinex/rinex_export.h"
#include "support/scan_fixture.h"
#include "tools/synth/obs_encoding.h"
#include "tools/synth/real_data.h"

namespace vnx::rinex {
namespace {

using synth::Gnss;
using synth::kHasCode;
using synth::kHasDoppler;
using synth::kHasPhase;
using synth::kHasSnr;

constexpr double kField = 0.0005;  // half the last digit of F14.3
constexpr double kCodeTol = synth::kCodeResolutionM + kField;
constexpr double kPhaseTol = synth::kPhaseResolutionCycles + kField;
constexpr double kSnrTol = 0.5 + kField;

double DopplerTol(double v) {
  return synth::kDopplerResolutionHz + kField + std::fabs(v) * 6e-8;
}

class RinexRoundTrip : public test::ScanFixture {
 protected:
  // Scans a log of the set and exports it to memory.
  std::map<std::string, std::string> Export(const synth::test::RealSet& set, Version v) {
    synth::SynthOptions o;
    o.fill = false;  // only the file's own values
    o.events = true;
    EXPECT_TRUE(ScanLog(synth::test::MakeLog(set, o)));
    EXPECT_EQ(ErrorLines(), std::vector<std::string>{});
    ExportOptions eo;
    eo.version = v;
    std::map<std::string, std::string> files;
    const ExportResult r =
        ExportRinexToMemory(ExportInputFromScan(ctx, dir.path() + "/log.vnx"), eo, files);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.epochs, ctx.epochCount);
    EXPECT_GT(r.events, 0);
    return files;
  }

  static const std::string& FileEnding(const std::map<std::string, std::string>& files,
                                       const std::string& ending) {
    for (const auto& [name, text] : files)
      if (name.size() >= ending.size() &&
          name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
        return text;
    static const std::string none;
    ADD_FAILURE() << "no file ending in " << ending;
    return none;
  }

  // Every observable of `back` equals the original; every original observable that RINEX
  // `v` can name reached `back`, except satellites the log cannot hold.
  static void CompareObs(const synth::ObsData& original, const synth::ObsData& back, Version v) {
    std::map<int64_t, const synth::ObsEpoch*> byTime;
    for (const auto& e : original.epochs) byTime[std::llround(e.time * 1000)] = &e;
    ASSERT_EQ(back.epochs.size(), original.epochs.size());
    int64_t compared = 0, missing = 0;
    for (const synth::ObsEpoch& e : back.epochs) {
      auto it = byTime.find(std::llround(e.time * 1000));
      ASSERT_NE(it, byTime.end()) << "epoch " << e.time;
      const synth::ObsEpoch& o = *it->second;
      std::map<synth::SatId, const synth::SatObs*> sats;
      for (const auto& s : e.sats) sats[s.id] = &s;
      for (const synth::SatObs& os : o.sats) {
        auto found = sats.find(os.id);
        // The log numbers GPS and Galileo 1..32 and knows a GLONASS satellite by its channel.
        const bool loggable = os.id.sys == Gnss::Glonass
                                  ? original.header.glonassChannel.count(os.id.prn) != 0
                              : os.id.sys == Gnss::Sbas ? os.id.prn >= 120 && os.id.prn <= 138
                                                        : os.id.prn >= 1 && os.id.prn <= 32;
        if (found == sats.end()) {
          if (loggable) ++missing;
          if (loggable) ADD_FAILURE() << os.id.Name() << " missing at " << e.time;
          continue;
        }
        for (int k = 0; k < synth::kSignals; ++k) {
          const synth::SignalValues& a = os.sig[k];
          const synth::SignalValues& b = found->second->sig[k];
          for (uint8_t kind : {kHasCode, kHasPhase, kHasDoppler, kHasSnr}) {
            if (!(a.has & kind) || !Representable(os.id.sys, k, kind, v)) continue;
            if (!(b.has & kind)) {
              ++missing;
              ADD_FAILURE() << os.id.Name() << " signal " << k << " kind " << int(kind) << " at "
                            << e.time;
              continue;
            }
            ++compared;
            const double want = kind == kHasCode      ? a.code
                                : kind == kHasPhase   ? a.phase
                                : kind == kHasDoppler ? a.doppler
                                                      : a.snr;
            const double got = kind == kHasCode      ? b.code
                               : kind == kHasPhase   ? b.phase
                               : kind == kHasDoppler ? b.doppler
                                                     : b.snr;
            const double tol = kind == kHasCode      ? kCodeTol
                               : kind == kHasPhase   ? kPhaseTol
                               : kind == kHasDoppler ? DopplerTol(want)
                                                     : kSnrTol;
            EXPECT_NEAR(got, want, tol) << os.id.Name() << " signal " << k << " kind " << int(kind);
          }
        }
      }
      // Nothing appears that the original does not have.
      for (const auto& s : e.sats) {
        bool known = false;
        for (const auto& os : o.sats) known = known || os.id == s.id;
        EXPECT_TRUE(known) << s.id.Name() << " at " << e.time;
      }
    }
    EXPECT_GT(compared, 10000);
    EXPECT_EQ(missing, 0);
  }

  // RINEX 2.11 has one phase, Doppler and strength column per band: the C/A signal on L1 and
  // the P signal on L2 (read back as such) fill them.
  static bool Representable(Gnss sys, int k, uint8_t kind, Version v) {
    if (sys == Gnss::Glonass && k == 4) return false;
    if ((sys == Gnss::Galileo || sys == Gnss::Sbas) && k >= 1 && k <= 3) return false;
    if (v == Version::V304 || kind == kHasCode) return true;
    return k == 0 || k == 2 || k == 4;
  }
};

bool Near(double a, double b, double rel, double abs = 0) {
  return std::fabs(a - b) <= abs + rel * std::max(std::fabs(a), std::fabs(b));
}

constexpr double kF32 = 1.2e-7;  // float32 rounding, relative
constexpr double kF64 = 1e-12;   // 13 significant digits of D19.12

void CompareKepler(const synth::KeplerEph& a, const synth::KeplerEph& b) {
  SCOPED_TRACE(a.id.Name() + " toc " + std::to_string(a.toc));
  EXPECT_TRUE(Near(b.af0, a.af0, kF32, 1e-20));
  EXPECT_TRUE(Near(b.af1, a.af1, kF32, 1e-25));
  EXPECT_TRUE(Near(b.af2, a.af2, kF32, 1e-30));
  EXPECT_EQ(b.iode, a.iode);
  EXPECT_TRUE(Near(b.crs, a.crs, kF32));
  EXPECT_TRUE(Near(b.deltaN, a.deltaN, 2 * kF32));
  EXPECT_TRUE(Near(b.m0, a.m0, kF64));
  EXPECT_TRUE(Near(b.cuc, a.cuc, kF32));
  EXPECT_TRUE(Near(b.ecc, a.ecc, kF64));
  EXPECT_TRUE(Near(b.cus, a.cus, kF32));
  EXPECT_TRUE(Near(b.sqrtA, a.sqrtA, kF64));
  EXPECT_EQ(b.toe, a.toe);
  EXPECT_TRUE(Near(b.cic, a.cic, kF32));
  EXPECT_TRUE(Near(b.omega0, a.omega0, kF64));
  EXPECT_TRUE(Near(b.cis, a.cis, kF32));
  EXPECT_TRUE(Near(b.i0, a.i0, kF64));
  EXPECT_TRUE(Near(b.crc, a.crc, kF32));
  EXPECT_TRUE(Near(b.omega, a.omega, kF64));
  EXPECT_TRUE(Near(b.omegaDot, a.omegaDot, 2 * kF32));
  EXPECT_TRUE(Near(b.idot, a.idot, 2 * kF32));
  EXPECT_EQ(b.codesL2, a.codesL2);
  EXPECT_EQ(b.l2pFlag != 0, a.l2pFlag != 0);
  // The log keeps the accuracy as an index: its nominal value comes back.
  double nominal = UraMetres(15);
  for (int i = 14; i >= 0; --i)
    if (a.accuracy <= UraMetres(i)) nominal = UraMetres(i);
  EXPECT_EQ(b.accuracy, nominal);
  EXPECT_EQ(b.health, a.health);
  EXPECT_TRUE(Near(b.tgd, a.tgd, kF32));
  EXPECT_EQ(b.iodc, a.iodc);
  EXPECT_NEAR(b.transmitTime, a.transmitTime, 0.5);
  EXPECT_EQ(b.fitInterval > 4, a.fitInterval > 4);
}

// The frame time the synthesiser gives the log: the file's, or a quarter of an hour before the
// reference time when the file's is not within a quarter of an hour of it.
double ExpectedFrameOfDay(const synth::GloEph& a) {
  const double lead =
      std::remainder(std::fmod(a.tocUtc, 86400.0) - std::fmod(a.frameTime, 86400.0), 86400.0);
  const double frame = std::fabs(lead) <= 900 ? a.tocUtc - lead : a.tocUtc - 900;
  return std::fmod(std::fmod(frame, 86400.0) + 86400, 86400.0);
}

bool SameFrame(const synth::GloEph& a, const synth::GloEph& b) {
  return std::fmod(b.frameTime, 86400.0) == ExpectedFrameOfDay(a);
}

void CompareGlonass(const synth::GloEph& a, const synth::GloEph& b) {
  SCOPED_TRACE("R" + std::to_string(a.slot) + " toc " + std::to_string(a.tocUtc));
  EXPECT_TRUE(Near(b.clockBias, a.clockBias, kF32));
  EXPECT_TRUE(Near(b.gammaN, a.gammaN, kF32));
  EXPECT_TRUE(SameFrame(a, b)) << b.frameTime;
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Near(b.pos[i], a.pos[i], kF64));
    EXPECT_TRUE(Near(b.vel[i], a.vel[i], kF32));
    EXPECT_TRUE(Near(b.acc[i], a.acc[i], kF32));
  }
  EXPECT_EQ(b.health != 0, a.health != 0);
  EXPECT_EQ(b.channel, a.channel);
  EXPECT_EQ(b.age, a.age);
}

void CompareNav(const synth::NavData& original, const synth::NavData& back) {
  ASSERT_GT(back.kepler.size(), 10u);
  ASSERT_GT(back.glonass.size(), 10u);
  for (const auto& b : back.kepler) {
    const synth::KeplerEph* a = nullptr;
    for (const auto& o : original.kepler)
      if (o.id == b.id && std::fabs(o.toc - b.toc) < 1) a = &o;
    ASSERT_NE(a, nullptr) << b.id.Name() << " toc " << b.toc;
    CompareKepler(*a, b);
  }
  for (const auto& b : back.glonass) {
    // A file may hold one reference time twice, with frame times of two broadcasts.
    const synth::GloEph* a = nullptr;
    for (const auto& o : original.glonass)
      if (o.slot == b.slot && std::fabs(o.tocUtc - b.tocUtc) < 1 &&
          (a == nullptr || SameFrame(o, b)))
        a = &o;
    ASSERT_NE(a, nullptr) << "R" << b.slot << " toc " << b.tocUtc;
    CompareGlonass(*a, b);
  }
  const synth::NavHeader& h = back.header;
  ASSERT_TRUE(h.hasIon && h.hasUtc);
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(Near(h.alpha[i], original.header.alpha[i], 1e-4));
    EXPECT_TRUE(Near(h.beta[i], original.header.beta[i], 1e-4));
  }
  EXPECT_TRUE(Near(h.a0, original.header.a0, kF64));
  EXPECT_TRUE(Near(h.a1, original.header.a1, kF32));
  EXPECT_EQ(h.tot, original.header.tot);
  EXPECT_EQ(h.wnt, original.header.wnt);
  EXPECT_EQ(h.leap, original.header.leap);
}

TEST_F(RinexRoundTrip, OpecThreeOhFour) {
  const synth::test::RealSet set = synth::test::Opec();
  const auto files = Export(set, Version::V304);
  std::istringstream obs(FileEnding(files, ".obs")), nav(FileEnding(files, ".nav"));
  CompareObs(set.obs, synth::ReadObs(obs), Version::V304);
  CompareNav(set.nav, synth::ReadNav(nav));
}

TEST_F(RinexRoundTrip, OpecTwoEleven) {
  const synth::test::RealSet set = synth::test::Opec();
  const auto files = Export(set, Version::V211);
  std::istringstream obs(FileEnding(files, ".22o"));
  CompareObs(set.obs, synth::ReadObs(obs), Version::V211);
  std::istringstream gps(FileEnding(files, ".22n")), glo(FileEnding(files, ".22g"));
  synth::NavData nav = synth::ReadNav(gps);
  synth::MergeNav(nav, synth::ReadNav(glo));
  CompareNav(set.nav, nav);
}

TEST_F(RinexRoundTrip, PdelWithDopplerAndSignalStrength) {
  const synth::test::RealSet set = synth::test::Pdel();
  const auto files = Export(set, Version::V304);
  std::istringstream obs(FileEnding(files, ".obs"));
  CompareObs(set.obs, synth::ReadObs(obs), Version::V304);
}

}  // namespace
}  // namespace vnx::rinex
