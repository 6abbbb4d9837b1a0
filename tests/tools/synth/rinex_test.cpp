#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tools/synth/real_data.h"
#include "tools/synth/rinex_nav.h"
#include "tools/synth/rinex_obs.h"

namespace vnx::synth {
namespace {

using test::RealFile;

const SatObs* FindSat(const ObsEpoch& e, Gnss sys, int prn) {
  for (const SatObs& s : e.sats)
    if (s.id.sys == sys && s.id.prn == prn) return &s;
  return nullptr;
}

TEST(RinexObs, Version3KeepsCodePhaseDopplerAndSnrPerSignal) {
  ObsData d = ReadObsFile(RealFile("pdel0010.21o"));
  EXPECT_EQ(d.epochs.size(), 67u);
  EXPECT_DOUBLE_EQ(d.header.interval, 30.0);
  EXPECT_EQ(d.header.markerName, "PDEL");
  EXPECT_DOUBLE_EQ(d.header.position[0], 4551596.0624);
  EXPECT_EQ(d.header.glonassChannel.at(10), -7);
  EXPECT_EQ(d.header.glonassChannel.at(24), 2);
  EXPECT_DOUBLE_EQ(d.epochs[0].time, GpsSecondsFromCalendar(2021, 1, 1, 0, 0, 0));
  const SatObs* g01 = FindSat(d.epochs[0], Gnss::Gps, 1);
  ASSERT_NE(g01, nullptr);
  const SignalValues& l1 = g01->sig[0];
  EXPECT_EQ(l1.has, kHasCode | kHasPhase | kHasDoppler | kHasSnr);
  EXPECT_DOUBLE_EQ(l1.code, 23304001.080);
  EXPECT_DOUBLE_EQ(l1.phase, 122463355.107);
  EXPECT_DOUBLE_EQ(l1.doppler, 3646.410);
  EXPECT_DOUBLE_EQ(l1.snr, 43.250);
  const SignalValues& l2 = g01->sig[2];  // C2W/L2W: P code on L2
  EXPECT_DOUBLE_EQ(l2.code, 23304002.300);
  EXPECT_DOUBLE_EQ(l2.phase, 95426008.500);
  EXPECT_DOUBLE_EQ(l2.doppler, 2841.359);
  EXPECT_EQ(g01->sig[1].has | g01->sig[3].has | g01->sig[4].has, 0);
}

TEST(RinexObs, Version2ReadsContinuedSatelliteListsAndObservationLines) {
  ObsData d = ReadObsFile(RealFile("slac1180.21o"));
  EXPECT_EQ(d.epochs.size(), 241u);
  EXPECT_EQ(d.epochs[0].sats.size(), 25u);
  EXPECT_DOUBLE_EQ(d.epochs.back().time, GpsSecondsFromCalendar(2021, 4, 28, 21, 0, 0));
  const SatObs* g15 = FindSat(d.epochs[0], Gnss::Gps, 15);
  ASSERT_NE(g15, nullptr);
  EXPECT_DOUBLE_EQ(g15->sig[0].phase, 122610995.213);  // L1
  EXPECT_DOUBLE_EQ(g15->sig[0].code, 23332073.875);    // C1
  EXPECT_DOUBLE_EQ(g15->sig[0].snr, 42.2);             // S1
  EXPECT_DOUBLE_EQ(g15->sig[2].phase, 95540973.904);   // L2 goes with P2 when the file has P2
  EXPECT_DOUBLE_EQ(g15->sig[2].code, 23332083.105);    // P2
  EXPECT_DOUBLE_EQ(g15->sig[2].snr, 37.8);             // S2
  EXPECT_DOUBLE_EQ(g15->sig[3].code, 23332082.176);    // C2
  EXPECT_EQ(g15->sig[1].has, 0);                       // P1 blank
  EXPECT_NE(FindSat(d.epochs[0], Gnss::Galileo, 30), nullptr);
  EXPECT_NE(FindSat(d.epochs[0], Gnss::Glonass, 15), nullptr);
}

TEST(RinexObs, CodesLandOnTheSignalsOfTheLog) {
  struct Case {
    Gnss sys;
    const char* code;
    bool hasP2;
    int signal;
    uint8_t kind;
  };
  const Case cases[] = {
      {Gnss::Gps, "C1C", false, 0, kHasCode},      {Gnss::Gps, "L1W", false, 1, kHasPhase},
      {Gnss::Gps, "C2W", false, 2, kHasCode},      {Gnss::Gps, "C2X", false, 3, kHasCode},
      {Gnss::Gps, "D5Q", false, 4, kHasDoppler},   {Gnss::Gps, "C1L", false, -1, kHasCode},
      {Gnss::Glonass, "C1P", false, 1, kHasCode},  {Gnss::Glonass, "S2P", false, 2, kHasSnr},
      {Gnss::Glonass, "L2C", false, 3, kHasPhase}, {Gnss::Galileo, "C1X", false, 0, kHasCode},
      {Gnss::Galileo, "L5Q", false, 4, kHasPhase}, {Gnss::Galileo, "C7X", false, -1, kHasCode},
      {Gnss::Gps, "L2", true, 2, kHasPhase},       {Gnss::Gps, "L2", false, 3, kHasPhase},
      {Gnss::Gps, "C2", true, 3, kHasCode},        {Gnss::Gps, "P1", true, 1, kHasCode},
      {Gnss::Galileo, "C5", false, 4, kHasCode},   {Gnss::Galileo, "C6", false, -1, kHasCode},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ObsSlot slot = MapObsCode(c.sys, c.code, c.hasP2);
    EXPECT_EQ(slot.signal, c.signal);
    if (c.signal >= 0) {
      EXPECT_EQ(slot.kind, c.kind);
    }
  }
}

TEST(RinexObs, RefusesANavigationFile) {
  EXPECT_THROW(ReadObsFile(RealFile("brdc1180.21n")), std::runtime_error);
}

TEST(RinexNav, Version3GpsHeaderAndRecords) {
  NavData n = ReadNavFile(RealFile(test::kOpecGpsNav));
  EXPECT_TRUE(n.header.hasIon);
  EXPECT_DOUBLE_EQ(n.header.alpha[0], 1.2107E-08);
  EXPECT_DOUBLE_EQ(n.header.beta[3], 1.1141E+06);
  EXPECT_TRUE(n.header.hasUtc);
  EXPECT_DOUBLE_EQ(n.header.a0, 2.7939677238E-09);
  EXPECT_DOUBLE_EQ(n.header.a1, 7.993605777E-15);
  EXPECT_EQ(n.header.tot, 147456);
  EXPECT_EQ(n.header.wnt, 2191);
  EXPECT_EQ(n.header.leap, 18);
  const KeplerEph* g10 = nullptr;
  for (const KeplerEph& e : n.kepler)
    if (e.id.prn == 10 && e.toc == GpsSecondsFromCalendar(2022, 1, 1, 2, 0, 0)) g10 = &e;
  ASSERT_NE(g10, nullptr);
  EXPECT_DOUBLE_EQ(g10->af0, -2.823597751558E-04);
  EXPECT_DOUBLE_EQ(g10->toe, 2190 * 604800.0 + 525600.0);
  EXPECT_DOUBLE_EQ(g10->omega0, -4.183748212763E-03);
  EXPECT_DOUBLE_EQ(g10->idot, 4.793056792911E-10);
  EXPECT_DOUBLE_EQ(g10->iodc, 71);
  EXPECT_DOUBLE_EQ(g10->transmitTime, 2190 * 604800.0 + 518418.0);
}

TEST(RinexNav, Version2UtcParametersThatRunTogether) {
  NavData n = ReadNavFile(RealFile("brdc1180.21n"));
  EXPECT_DOUBLE_EQ(n.header.a0, -0.279396772385E-08);
  EXPECT_DOUBLE_EQ(n.header.a1, -0.266453525910E-14);
  EXPECT_EQ(n.header.tot, 503808);
  EXPECT_EQ(n.header.wnt, 2155);
  EXPECT_DOUBLE_EQ(n.header.alpha[3], -0.1192E-06);
  ASSERT_FALSE(n.kepler.empty());
  EXPECT_EQ(n.kepler.front().id.sys, Gnss::Gps);
}

TEST(RinexNav, GlonassRecordsOfBothVersions) {
  NavData v2 = ReadNavFile(RealFile("dlf10010.21g"));
  ASSERT_EQ(v2.glonass.size(), 7u);
  auto it = std::find_if(v2.glonass.begin(), v2.glonass.end(),
                         [](const GloEph& e) { return e.slot == 3; });
  ASSERT_NE(it, v2.glonass.end());
  const GloEph& r03 = *it;
  EXPECT_EQ(r03.channel, 5);
  EXPECT_DOUBLE_EQ(r03.tocUtc, GpsSecondsFromCalendar(2020, 12, 31, 23, 45, 0));
  EXPECT_DOUBLE_EQ(r03.clockBias, 2.833176404238e-05);
  EXPECT_DOUBLE_EQ(r03.pos[0], 1.997111425781e+04);
  EXPECT_DOUBLE_EQ(r03.vel[2], 3.197331428528);
  EXPECT_DOUBLE_EQ(r03.age, 0);

  NavData v3 = ReadNavFile(RealFile(test::kOpecGloNav));
  EXPECT_TRUE(v3.header.hasGloCorr);
  EXPECT_DOUBLE_EQ(v3.header.tauC, 9.3132257462E-10);
  bool found = false;
  for (const GloEph& e : v3.glonass) {
    if (e.slot != 8 || e.tocUtc != GpsSecondsFromCalendar(2022, 1, 1, 0, 15, 0)) continue;
    found = true;
    EXPECT_DOUBLE_EQ(e.pos[1], 1.374886572266E+04);
    EXPECT_EQ(e.channel, 6);
  }
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace vnx::synth
