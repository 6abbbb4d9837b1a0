#include "tools/synth/obs_encoding.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace vnx::synth {
namespace {

struct Sat {
  Gnss sys;
  int channel;
  std::array<SignalValues, kSignals> sig{};
};

// A satellite with C/A and P2 code and phase of a realistic size (phase near code / lambda).
Sat Realistic(Gnss sys, double rangeM, int channel = 0) {
  Sat s{sys, channel};
  for (int k : {0, 2}) {
    SignalValues& v = s.sig[k];
    v.code = rangeM + (k == 2 ? 3.2 : 0.0);
    v.phase = (rangeM - 1.7) / (kLightSpeed / CarrierFrequency(sys, k, channel));
    v.doppler = -1234.5678;
    v.snr = 44.25;
    v.has = kHasCode | kHasPhase | kHasDoppler | kHasSnr;
  }
  return s;
}

std::vector<std::string> Ids(std::vector<Sat>& sats, int64_t epoch) {
  std::vector<SlotSignals> slots;
  for (Sat& s : sats) slots.push_back({s.sys, s.channel, &s.sig});
  std::vector<std::string> frames;
  EncodeObservables(slots, SchemeForEpoch(epoch), frames);
  std::vector<std::string> ids;
  for (const std::string& f : frames) {
    ids.push_back(f.substr(0, 2));
    // One entry per slot and a checksum: the length the readers insist on.
    size_t body = std::stoul(f.substr(2, 3), nullptr, 16);
    EXPECT_EQ(body + 5, f.size());
  }
  return ids;
}

TEST(ObsEncoding, EpochsRotateThroughTheEncodings) {
  std::vector<Sat> sats{Realistic(Gnss::Gps, 21.5e6), Realistic(Gnss::Glonass, 20.1e6, -7)};
  using V = std::vector<std::string>;
  // The compressed phase holds at most 4194304 cycles, far less than these: it falls back.
  EXPECT_EQ(Ids(sats, 0), (V{"RC", "R2", "PC", "P2", "DC", "D2", "EC", "E2"}));
  EXPECT_EQ(Ids(sats, 1), (V{"rc", "r2", "PC", "P2", "DC", "D2", "CE", "2E"}));
  EXPECT_EQ(Ids(sats, 2), (V{"rc", "2R", "CP", "2P", "DC", "D2", "EC", "E2"}));
  EXPECT_EQ(Ids(sats, 3), (V{"RC", "2r", "cp", "2p", "DC", "D2", "CE", "2E"}));
  EXPECT_EQ(Ids(sats, 7), Ids(sats, 3));
}

TEST(ObsEncoding, SmallPhasesUseTheCompressedPhase) {
  std::vector<Sat> sats{Realistic(Gnss::Gps, 21.5e6)};
  sats[0].sig[0].phase = 1234567.25;
  sats[0].sig[2].phase = 7654.5;
  std::vector<std::string> ids = Ids(sats, 1);
  EXPECT_EQ(ids[2], "pc");
  EXPECT_EQ(ids[3], "p2");
}

TEST(ObsEncoding, ValuesOutsideAnEncodingFallBackToTheFullOne) {
  // A low Galileo satellite (29 500 km) lies beyond the compressed code's 0.0965 s.
  std::vector<Sat> far{Realistic(Gnss::Galileo, 29.5e6)};
  EXPECT_EQ(Ids(far, 1)[0], "RC");
  // A geostationary SBAS satellite is within reach of its own compressed base.
  std::vector<Sat> geo{Realistic(Gnss::Sbas, 37.5e6)};
  EXPECT_EQ(Ids(geo, 1)[0], "rc");
  // Without a C/A code there is nothing for the relative forms to refer to.
  std::vector<Sat> noCa{Realistic(Gnss::Gps, 22e6)};
  noCa[0].sig[0].has = kHasSnr;
  std::vector<std::string> ids = Ids(noCa, 2);
  EXPECT_EQ(ids[0], "R2");
  EXPECT_EQ(ids[1], "P2");
  // A phase far from its code (an old ambiguity) does not fit the relative phase.
  std::vector<Sat> drifted{Realistic(Gnss::Gps, 22e6)};
  drifted[0].sig[0].phase += 5e6;
  EXPECT_EQ(Ids(drifted, 3)[2], "PC");
}

TEST(ObsEncoding, MissingValuesOnlyWhereASatelliteHasNone) {
  std::vector<Sat> sats{Realistic(Gnss::Gps, 21.5e6), Realistic(Gnss::Gps, 23.5e6)};
  sats[1].sig[2].has = 0;  // no L2 on the second satellite
  std::vector<SlotSignals> slots;
  for (Sat& s : sats) slots.push_back({s.sys, s.channel, &s.sig});
  std::vector<std::string> frames;
  EncodeObservables(slots, SchemeForEpoch(1), frames);
  // "r2": two int32 entries, the second the missing marker 0x7FFFFFFF.
  ASSERT_EQ(frames[1].substr(0, 5), "r2009");
  EXPECT_EQ(frames[1].substr(9, 4), std::string("\xFF\xFF\xFF\x7F", 4));
}

}  // namespace
}  // namespace vnx::synth
