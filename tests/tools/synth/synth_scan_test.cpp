// Logs written by the synthesiser, scanned by the engine exactly as the viewer scans them.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "engine/ephemeris/ephemeris_records.h"
#include "engine/epoch/record_reader.h"
#include "engine/time/gps_time.h"
#include "support/scan_fixture.h"
#include "tools/synth/obs_encoding.h"
#include "tools/synth/real_data.h"

namespace vnx::synth {
namespace {

using test::MakeLog;

class SynthScan : public vnx::test::ScanFixture {
 protected:
  // Scans a log and expects it to be read without a single complaint.
  void ExpectCleanScan(const std::string& log, int64_t epochs) {
    ASSERT_TRUE(ScanLog(log));
    EXPECT_EQ(ErrorLines(), std::vector<std::string>{});
    EXPECT_EQ(ctx.epochCount, epochs);
  }

  static uint8_t SystemCode(Gnss sys) { return static_cast<uint8_t>(sys); }
  static int RecordNumber(SatId id) { return id.sys == Gnss::Galileo ? 70 + id.prn : id.prn; }
};

TEST_F(SynthScan, OpecLogOfTheFileSpanScansWithoutErrors) {
  SynthResult r;
  std::string log = MakeLog(test::Opec(), SynthOptions{}, &r);
  EXPECT_EQ(r.epochs, 440);
  ExpectCleanScan(log, 440);
  std::vector<EpochRec> epochs = Epochs();
  // The date of every epoch and the satellites of all three systems came through.
  EXPECT_EQ(epochs.front().time.year, 2022);
  EXPECT_EQ(epochs.back().time.hour, 3);
  EXPECT_EQ(epochs.back().time.minute, 39);
  EXPECT_GT(epochs.front().gpsWritten, 5);
  EXPECT_GT(epochs.front().gloWritten, 4);
  EXPECT_GT(epochs.front().galWritten, 4);
  EXPECT_EQ(epochs.front().pos.positionPresent, 1);
  EXPECT_GT(ctx.eventCount, 3);
}

TEST_F(SynthScan, CarriedOnLogWithGpsTimeAcrossAWeekScansWithoutErrors) {
  // PDEL covers 33 minutes; the rest of the two hours is carried on along the orbits. Moved
  // to Saturday 2021-01-09 the log crosses into the next GPS week at midnight.
  SynthOptions o;
  o.hours = 2;
  o.rate = 0.2;
  o.gpsTimeTags = true;
  o.shiftDays = 8;
  SynthResult r;
  std::string log = MakeLog(test::Pdel(), o, &r);
  EXPECT_EQ(r.epochs, 1440);
  ExpectCleanScan(log, 1440);
  EXPECT_EQ(Epochs().front().time.day, 9);
}

TEST_F(SynthScan, RinexTwoLogAcrossMidnightWithEventsAndAttitudeScansWithoutErrors) {
  // SLAC starts at 19:00: six hours at one epoch a minute run past midnight on "~~" times,
  // with the receiver date given again at the first epoch of the new day.
  SynthOptions o;
  o.events = true;
  o.attitude = true;
  o.hours = 6;
  o.rate = 1.0 / 60;
  SynthResult r;
  std::string log = MakeLog(test::Slac(), o, &r);
  EXPECT_EQ(r.epochs, 360);
  ExpectCleanScan(log, 360);
  EXPECT_EQ(ctx.xaCount, 36);
  EXPECT_EQ(ctx.xbCount, 24);
  EXPECT_EQ(ctx.zaCount, 360);
  std::vector<EpochRec> epochs = Epochs();
  EXPECT_EQ(epochs[299].time.day, 28);
  EXPECT_EQ(epochs[299].time.hour, 23);
  EXPECT_EQ(epochs[300].time.day, 29);
  EXPECT_EQ(epochs[300].time.hour, 0);
  EXPECT_EQ(epochs[5].flags[kFlagAR], 1);
  EXPECT_EQ(epochs[5].flags[kFlagMR73], 1);
  EXPECT_NEAR(epochs[5].mr73.baseline[0][0], 1.6, 0.05);  // the nose antenna
  EXPECT_GT(epochs[359].gpsWritten, 4);
}

TEST_F(SynthScan, DamagedLogReportsExactlyTheInjectedFaults) {
  SynthOptions o;
  o.hours = 0.5;
  o.rate = 1;
  o.damageSeed = 11;
  SynthResult r;
  std::string log = MakeLog(test::Opec(), o, &r);
  std::vector<std::string> expected;
  std::set<FaultKind> kinds;
  int64_t gapEpochs = 0;
  for (const Fault& f : r.faults) {
    kinds.insert(f.kind);
    if (f.kind == FaultKind::Gap) gapEpochs = static_cast<int64_t>(f.length);
    expected.insert(expected.end(), f.expectedErrors.begin(), f.expectedErrors.end());
  }
  EXPECT_EQ(kinds.size(), 5u);
  EXPECT_EQ(r.faults.size(), 7u);
  EXPECT_GT(gapEpochs, 1);
  ASSERT_TRUE(ScanLog(log));
  EXPECT_EQ(ErrorLines(), expected);
  EXPECT_EQ(ctx.epochCount, 1800 - gapEpochs);
  EXPECT_EQ(r.epochs, 1800 - gapEpochs);
}

TEST_F(SynthScan, SatelliteRecordsGiveBackTheRinexValues) {
  test::RealSet pdel = test::Pdel();
  SynthResult r;
  std::string log = MakeLog(pdel, SynthOptions{}, &r);
  ExpectCleanScan(log, 67);
  std::vector<std::vector<SvRec>> records = SatRecords();
  ASSERT_EQ(records.size(), pdel.obs.epochs.size());
  int compared = 0, rinexSats = 0, found = 0;
  for (size_t k = 0; k < records.size(); ++k) {
    double snrTolerance = SnrResolution(SchemeForEpoch(static_cast<int64_t>(k)).quarterSnr);
    for (const SatObs& o : pdel.obs.epochs[k].sats) {
      ++rinexSats;
      for (const SvRec& rec : records[k]) {
        if (rec.system != SystemCode(o.id.sys) || rec.number != RecordNumber(o.id)) continue;
        ++found;
        for (int s : {0, 2}) {  // C1C/L1C/D1C/S1C and C2W/L2W/D2W/S2W
          SCOPED_TRACE(o.id.Name() + " epoch " + std::to_string(k) + " signal " +
                       std::to_string(s));
          const SignalValues& want = o.sig[s];
          const SignalBlock& got = rec.sig[s];
          if (want.has & kHasCode) {
            ASSERT_EQ(got.present[kRange], 1);
            EXPECT_NEAR(got.range, want.code, kCodeResolutionM);
          }
          if (want.has & kHasPhase) {
            ASSERT_EQ(got.present[kPhase], 1);
            EXPECT_NEAR(got.phase, want.phase, kPhaseResolutionCycles);
          }
          if (want.has & kHasDoppler) {
            ASSERT_EQ(got.present[kDoppler], 1);
            // Kept as float32 by the reader: a few ten-thousandths of a hertz at 4 kHz.
            EXPECT_NEAR(got.doppler, want.doppler, kDopplerResolutionHz + 5e-4);
          }
          if (want.has & kHasSnr) {
            ASSERT_EQ(got.present[kSnr], 1);
            EXPECT_NEAR(got.snr, want.snr, snrTolerance + 1e-6);
          }
          compared += 4;
        }
      }
    }
  }
  EXPECT_EQ(found, rinexSats);
  EXPECT_GT(compared, 5000);
}

template <class Rec>
std::vector<Rec> ReadAll(const std::string& path, int32_t limit) {
  RecordReader reader(path, sizeof(Rec));
  std::vector<Rec> out(static_cast<size_t>(limit));
  for (Rec& r : out) reader.Read(&r);
  return out;
}

TEST_F(SynthScan, EphemeridesReadBackWithTheirReferenceTimes) {
  // PDEL's GLONASS records are of 23:45 UTC, 02:45 on the Moscow day after: the day number
  // the log gives them must still date them on 31 December. After a quarter of an hour the
  // log carries them on every half hour (00:15, 00:45).
  std::string log = MakeLog(test::Pdel(), SynthOptions{});
  ExpectCleanScan(log, 67);
  int32_t glo = 0, gps = 0;
  for (int n = 1; n <= 24; ++n) glo += ctx.ephemerides.Count(SatSystem::Glonass, n);
  for (int n = 1; n <= 32; ++n) gps += ctx.ephemerides.Count(SatSystem::Gps, n);
  EXPECT_GT(glo, 8);
  EXPECT_GT(gps, 8);
  int beforeMidnight = 0;
  for (const EphemGLORec& r : ReadAll<EphemGLORec>(WorkFile("EphemGLORecs.dat"), glo)) {
    SCOPED_TRACE(r.sv);
    bool late = r.time.year == 2020;
    beforeMidnight += late;
    EXPECT_EQ(r.time.month, late ? 12 : 1);
    EXPECT_EQ(r.time.day, late ? 31 : 1);
    EXPECT_EQ(r.time.hour, late ? 23 : 0);
    EXPECT_TRUE(r.time.minute == 15 || r.time.minute == 45);
    EXPECT_EQ(r.body.tb, ((late ? -1 : 0) * 3600 + r.time.minute * 60 + 3 * 3600));
  }
  EXPECT_GT(beforeMidnight, 3);
  // GPS records carry their reference time of ephemeris and the orbit in semi-circles.
  NavData nav = test::Pdel().nav;
  for (const EphemGPSRec& r : ReadAll<EphemGPSRec>(WorkFile("EphemGPSRecs.dat"), gps)) {
    const KeplerEph* src = nullptr;
    for (const KeplerEph& e : nav.kepler)
      if (e.id.prn == r.sv && std::fmod(e.toe, 604800.0) == r.body.k.toe) src = &e;
    ASSERT_NE(src, nullptr) << r.sv;
    TGPSTime toe(static_cast<uint32_t>(src->toe));
    EXPECT_EQ(r.time.hour, toe.Hour());
    EXPECT_EQ(r.time.day, toe.Day());
    EXPECT_DOUBLE_EQ(r.body.k.rootA, src->sqrtA);
    EXPECT_DOUBLE_EQ(r.body.k.m0 * 3.1415926535898, src->m0);
    EXPECT_EQ(r.body.k.iode, static_cast<int16_t>(src->iode));
  }
}

TEST_F(SynthScan, ElevationAndAzimuthOfTheLogAgreeWithAHandCalculation) {
  // G10 over OPEC at 2022-01-01 02:00:00, epoch 241 of the file: 22.840 and 62.696 degrees by
  // the independent hand calculation described in orbit_test.cpp. The log carries whole
  // degrees of elevation and two-degree steps of azimuth.
  std::string log = MakeLog(test::Opec(), SynthOptions{});
  ExpectCleanScan(log, 440);
  std::vector<std::vector<SvRec>> records = SatRecords();
  std::vector<EpochRec> epochs = Epochs();
  ASSERT_EQ(epochs[240].time.hour, 2);
  ASSERT_EQ(epochs[240].time.minute, 0);
  bool seen = false;
  for (const SvRec& rec : records[240]) {
    if (rec.system != 1 || rec.number != 10) continue;
    seen = true;
    EXPECT_NEAR(rec.elevation, 22.840, 0.5 + 0.5);
    EXPECT_NEAR(rec.azimuth, 62.696, 0.5 + 1.0);
  }
  EXPECT_TRUE(seen);
}

TEST_F(SynthScan, CarriedOnObservationsJoinTheFileWithoutAStep) {
  SynthOptions o;
  o.hours = 0.75;
  o.rate = 1;
  std::string log = MakeLog(test::Pdel(), o);
  ExpectCleanScan(log, 2700);
  std::vector<std::vector<SvRec>> records = SatRecords();
  // The file ends at 00:33:00, epoch 1980; compare it with the first carried-on epoch.
  std::map<int, const SvRec*> last, next;
  for (const SvRec& s : records[1980]) last[s.system * 256 + s.number] = &s;
  for (const SvRec& s : records[1981]) next[s.system * 256 + s.number] = &s;
  int joined = 0;
  for (const auto& [key, a] : last) {
    auto b = next.find(key);
    if (b == next.end() || !a->sig[0].present[kRange] || !b->second->sig[0].present[kRange])
      continue;
    SCOPED_TRACE(key);
    double codeStep = b->second->sig[0].range - a->sig[0].range;
    double lambda = kLightSpeed / 1575420000.0;
    if (a->system == 2) continue;  // GLONASS wavelengths differ by channel; GPS is enough
    double phaseStep = (b->second->sig[0].phase - a->sig[0].phase) * lambda;
    EXPECT_LT(std::fabs(codeStep), 1000.0);           // a satellite moves < 1 km/s in range
    EXPECT_LT(std::fabs(codeStep - phaseStep), 5.0);  // code and phase move together
    ++joined;
  }
  EXPECT_GT(joined, 5);
  // Satellites that rise later are added from the orbits.
  EXPECT_GT(Epochs().back().gpsWritten, 4);
}

TEST_F(SynthScan, MultiAntennaLogKeepsTheChosenAntenna) {
  SynthOptions o;
  o.hours = 0.25;
  o.antennas = 3;
  o.attitude = true;
  std::string log = MakeLog(test::Opec(), o);
  ui.antennaAnswer.antenna = 'c';
  ExpectCleanScan(log, 30);
  EXPECT_EQ(ui.antennaQuestions, std::vector<std::string>{"abc"});
  std::vector<std::vector<SvRec>> third = SatRecords();

  ui.antennaAnswer.antenna = 'a';
  ASSERT_TRUE(ScanLog(log));
  std::vector<std::vector<SvRec>> master = SatRecords();
  ASSERT_EQ(master.size(), third.size());
  ASSERT_EQ(master[3].size(), third[3].size());
  for (size_t i = 0; i < master[3].size(); ++i) {
    // Antenna c sits 1.4 m from the master: its ranges differ by at most that much.
    EXPECT_EQ(master[3][i].number, third[3][i].number);
    if (master[3][i].sig[0].present[kRange] && third[3][i].elevation != 127) {
      EXPECT_LT(std::fabs(master[3][i].sig[0].range - third[3][i].sig[0].range), 1.5);
    }
  }
}

}  // namespace
}  // namespace vnx::synth
