// Code, smoothing, phase, Doppler, SNR and the per-slot status messages.
#include "engine/decoders/observables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

constexpr long double kC = 299792458.0L;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Msg {
  std::string id;
  std::string payload;
};

// One-entry messages.
Msg F64(const char* id, double v) {
  return {id, Payload().F64(v).str()};
}
Msg F32(const char* id, float v) {
  return {id, Payload().F32(v).str()};
}
Msg I32(const char* id, int32_t v) {
  return {id, Payload().I32(v).str()};
}
Msg I16(const char* id, int16_t v) {
  return {id, Payload().I16(v).str()};
}
Msg U32(const char* id, uint32_t v) {
  return {id, Payload().U32(v).str()};
}
Msg U8(const char* id, uint8_t v) {
  return {id, Payload().U8(v).str()};
}
Msg RC(double seconds) {
  return F64("RC", seconds);
}

// A smoothing correction added to a code of `seconds` as SVRecs.dat holds it: the sum kept in
// float32, then in metres.
float SmoothingMetres(long double seconds) {
  return static_cast<float>(static_cast<double>(static_cast<float>(seconds)) * 299792458.0);
}

class ObservablesTest : public ScanFixture {
 protected:
  // One epoch of the given satellites; GLONASS ones get slot numbers 1, 2, ...
  static LogBuilder Epoch(const std::vector<uint8_t>& sats, uint32_t ms = 1000) {
    LogBuilder b;
    if (ms == 1000) b.Header().Date(2009, 6, 23);
    b.Time(ms).Sats(sats);
    std::string nn;
    for (uint8_t u : sats)
      if (u >= 38 && u <= 70) nn += static_cast<char>(nn.size() + 1);
    if (!nn.empty()) b.Frame("NN", nn);
    return b;
  }
  static void Add(LogBuilder& b, const std::vector<Msg>& msgs) {
    for (const Msg& m : msgs) b.Frame(m.id, m.payload);
  }
  std::string RawEpoch(size_t n) {
    return ReadFileBytes(WorkFile("DataEpochs.dat")).substr(n * sizeof(EpochRec), sizeof(EpochRec));
  }
  bool Lit(Indicator i) const { return ui.lit[static_cast<int>(i)]; }
  std::string FirstErrorText() {
    const auto lines = ErrorLines();
    if (lines.empty()) return "";
    return lines[0].substr(lines[0].find("message : ") + 10);
  }
  static double Stored(const SignalBlock& s, ObsKind kind) {
    switch (kind) {
      case kRange:
        return s.range;
      case kSmoothing:
        return s.smoothing;
      case kPhase:
        return s.phase;
      case kDoppler:
        return s.doppler;
      case kSnr:
        return s.snr;
    }
    return 0;
  }
};

// Values as SVRecs.dat holds them: code and smoothing in metres, phase in cycles.
TEST_F(ObservablesTest, ValuesReadBackFromTheSatelliteRecords) {
  const long double f1 = 1575420000.0L, glo1 = 1598062500.0L, glo2 = 1242937500.0L;
  const float corr = 1e-9f, rel = 1e-6f;
  const Msg cc{"CC", Payload().F32(corr).U16(10).str()};
  const float ccMetres = SmoothingMetres(static_cast<long double>(0.07) + corr);
  const float c2Metres = SmoothingMetres(static_cast<long double>(0.08) - 300 * 1e-11L);
  // "cp" counts 2^-40 s: 2^30 of them are 2^-10 s.
  const long double cpTime = 0x1p-10L + 0.07L;
  const long double p3 = (0.07L - 0x1p-10L) * 1227600000.0L;
  struct Case {
    const char* what;
    std::vector<uint8_t> sats;
    std::vector<Msg> msgs;
    size_t sat;
    int signal;
    ObsKind kind;
    long double expected;
    std::optional<Indicator> label;
  };
  const Case cases[] = {
      {"RC 0.1", {5}, {RC(0.1)}, 0, 0, kRange, 0.1L * kC, IndicatorOf(Observable::C1)},
      {"RC 0.03", {5}, {RC(0.03)}, 0, 0, kRange, 0.03L * kC, IndicatorOf(Observable::C1)},
      {"R3", {5}, {F64("R3", 0.07)}, 0, 3, kRange, 0.07L * kC, IndicatorOf(Observable::C2)},
      {"rc 0", {5}, {I32("rc", 0)}, 0, 0, kRange, 0.075L * kC, IndicatorOf(Observable::C1)},
      {"rc 1e8", {5}, {I32("rc", 100000000)}, 0, 0, kRange, 0.076L * kC, {}},
      {"rc SBAS", {5, 125}, {{"rc", std::string(8, '\0')}}, 1, 0, kRange, 0.115L * kC, {}},
      {"r5",
       {5},
       {I32("r5", -5)},
       0,
       4,
       kRange,
       (0.075L - 5e-11L) * kC,
       IndicatorOf(Observable::C5)},
      {"1r",
       {5},
       {RC(0.07), I16("1r", 0)},
       0,
       1,
       kRange,
       (0.07L + 2e-7L) * kC,
       IndicatorOf(Observable::P1)},
      {"2R",
       {5},
       {RC(0.07), F32("2R", rel)},
       0,
       2,
       kRange,
       (0.07L + rel) * kC,
       IndicatorOf(Observable::P2)},
      {"CC", {5}, {RC(0.07), cc}, 0, 0, kSmoothing, ccMetres, {}},
      {"c2", {5}, {F64("R2", 0.08), I16("c2", -300)}, 0, 2, kSmoothing, c2Metres, {}},
      {"PC", {5}, {F64("PC", 12345.5)}, 0, 0, kPhase, 12345.5L, IndicatorOf(Observable::L1_CA)},
      {"p1", {5}, {U32("p1", 1024)}, 0, 1, kPhase, 1.0L, IndicatorOf(Observable::L1)},
      {"CP",
       {5},
       {RC(0.07), F32("CP", rel)},
       0,
       0,
       kPhase,
       (0.07L + rel) * f1,
       IndicatorOf(Observable::L1_CA)},
      {"2P GLONASS -7",
       {38},
       {RC(0.07), F32("2P", 0)},
       0,
       2,
       kPhase,
       0.07L * glo2,
       IndicatorOf(Observable::L2)},
      {"cp", {5}, {RC(0.07), I32("cp", 1 << 30)}, 0, 0, kPhase, cpTime * f1, {}},
      {"cp GLONASS -7", {38}, {RC(0.07), I32("cp", 1 << 30)}, 0, 0, kPhase, cpTime * glo1, {}},
      {"3p",
       {5},
       {RC(0.07), I32("3p", -(1 << 30))},
       0,
       3,
       kPhase,
       p3,
       IndicatorOf(Observable::L2_CA)},
      {"5p",
       {75},
       {RC(0.07), I32("5p", 0)},
       0,
       4,
       kPhase,
       0.07L * 1176450000.0L,
       IndicatorOf(Observable::L5)},
      {"D5", {5}, {I32("D5", 25000)}, 0, 4, kDoppler, 2.5L, IndicatorOf(Observable::D5)},
      {"D2", {5}, {I32("D2", -1)}, 0, 2, kDoppler, -1e-4L, IndicatorOf(Observable::D2)},
      {"EC", {5}, {U8("EC", 42)}, 0, 0, kSnr, 42.0L, IndicatorOf(Observable::S1_CA)},
      {"CE", {5}, {U8("CE", 170)}, 0, 0, kSnr, 42.5L, IndicatorOf(Observable::S1_CA)},
      {"3E", {5}, {U8("3E", 1)}, 0, 3, kSnr, 0.25L, IndicatorOf(Observable::S2_CA)},
      {"E5", {5}, {U8("E5", 30)}, 0, 4, kSnr, 30.0L, IndicatorOf(Observable::S5)},
  };
  for (const Case& c : cases) {
    ui = RecordingUi{};
    LogBuilder b = Epoch(c.sats);
    Add(b, c.msgs);
    ASSERT_TRUE(ScanLog(b)) << c.what;
    EXPECT_TRUE(ErrorLines().empty()) << c.what;
    const auto sv = SatRecords();
    ASSERT_EQ(sv.size(), 1u) << c.what;
    ASSERT_GT(sv[0].size(), c.sat) << c.what;
    const SignalBlock& s = sv[0][c.sat].sig[c.signal];
    EXPECT_EQ(s.present[c.kind], 1) << c.what;
    const double expected = c.kind == kRange || c.kind == kPhase ? static_cast<double>(c.expected)
                                                                 : static_cast<float>(c.expected);
    EXPECT_NEAR(Stored(s, c.kind), expected, std::fabs(expected) * 1e-14) << c.what;
    // Bytes 32..36: code, smoothing, phase, Doppler, SNR stored in the epoch.
    EXPECT_EQ(RawEpoch(0)[32 + c.kind], 1) << c.what;
    if (c.label) {
      EXPECT_TRUE(Lit(*c.label)) << c.what;
    }
  }
}

TEST_F(ObservablesTest, MissingMarkersAndImplausibleCodesStoreNothing) {
  struct Case {
    std::vector<Msg> msgs;
    int signal;
    ObsKind kind;
    std::optional<Indicator> label;
  };
  double pattern;
  const uint64_t bits = 9221120237041090560ull;
  std::memcpy(&pattern, &bits, 8);
  const Case cases[] = {
      {{RC(kNaN)}, 0, kRange, IndicatorOf(Observable::C1)},
      {{RC(pattern)}, 0, kRange, IndicatorOf(Observable::C1)},
      {{RC(0.02)}, 0, kRange, IndicatorOf(Observable::C1)},
      {{RC(0.25)}, 0, kRange, IndicatorOf(Observable::C1)},
      {{RC(0.2)}, 0, kRange, IndicatorOf(Observable::C1)},
      {{I32("rc", 0x7FFFFFFF)}, 0, kRange, IndicatorOf(Observable::C1)},
      {{RC(0.07), F32("1R", kInf)}, 1, kRange, IndicatorOf(Observable::P1)},
      {{RC(0.07), I16("5r", 0x7FFF)}, 4, kRange, IndicatorOf(Observable::C5)},
      {{RC(0.07), {"CC", Payload().F32(kInf).U16(1).str()}}, 0, kSmoothing, {}},
      {{RC(0.07), {"CC", Payload().F32(1e-9f).U16(0xFFFF).str()}}, 0, kSmoothing, {}},
      {{RC(0.07), I16("cc", 0x7FFF)}, 0, kSmoothing, {}},
      {{F64("PC", kNaN)}, 0, kPhase, IndicatorOf(Observable::L1_CA)},
      {{U32("p2", 0xFFFFFFFF)}, 2, kPhase, IndicatorOf(Observable::L2)},
      {{RC(0.07), F32("CP", -kInf)}, 0, kPhase, IndicatorOf(Observable::L1_CA)},
      {{RC(0.07), I32("cp", 0x7FFFFFFF)}, 0, kPhase, IndicatorOf(Observable::L1_CA)},
      {{I32("DC", 0x7FFFFFFF)}, 0, kDoppler, IndicatorOf(Observable::D1_CA)},
      {{U8("EC", 255)}, 0, kSnr, IndicatorOf(Observable::S1_CA)},
      {{U8("1E", 255)}, 1, kSnr, IndicatorOf(Observable::S1)},
  };
  for (const Case& c : cases) {
    const std::string what = c.msgs.back().id + " " + std::to_string(&c - cases);
    ui = RecordingUi{};
    LogBuilder b = Epoch({5});
    Add(b, c.msgs);
    ASSERT_TRUE(ScanLog(b)) << what;
    EXPECT_TRUE(ErrorLines().empty()) << what;
    EXPECT_EQ(SatRecords().at(0).at(0).sig[c.signal].present[c.kind], 0) << what;
    if (c.label) {
      EXPECT_FALSE(Lit(*c.label)) << what;
    }
  }
}

// Relative code and phase need the C/A code of this epoch, sent before them; smoothing
// corrections need the code of their own signal.
TEST_F(ObservablesTest, ReferenceMustComeEarlierInTheEpoch) {
  struct Case {
    Msg before, msg;
    int signal;
    ObsKind kind;
  };
  const Msg none{"GP", ""};
  const Case cases[] = {
      {none, F32("1R", 0), 1, kRange},
      {none, I16("2r", 0), 2, kRange},
      {none, F32("CP", 0), 0, kPhase},
      {none, I32("cp", 0), 0, kPhase},
      {none, {"CC", Payload().F32(0).U16(1).str()}, 0, kSmoothing},
      {F64("R1", 0.07), I32("1p", 0), 1, kPhase},
      {RC(0.07), I16("c1", 0), 1, kSmoothing},
  };
  for (const Case& c : cases) {
    // The C/A code of the previous epoch and one sent after the member do not count.
    LogBuilder b = Epoch({5});
    b.Frame("RC", RC(0.07).payload);
    b.Time(2000).Sats({5}).Frame(c.before.id, c.before.payload).Frame(c.msg.id, c.msg.payload);
    b.Frame("rc", Payload().I32(0));
    ASSERT_TRUE(ScanLog(b)) << c.msg.id;
    const auto sv = SatRecords();
    ASSERT_EQ(sv.size(), 2u);
    EXPECT_EQ(sv[1].at(0).sig[c.signal].present[c.kind], 0) << c.msg.id;
  }
}

TEST_F(ObservablesTest, LengthMismatchTexts) {
  struct Case {
    const char* id;
    size_t bytes;  // before the checksum
    const char* text;
  };
  const Case cases[] = {
      {"RC", 80, "    Error Len! Expected:11 arrived: 10"},
      {"rc", 43, "    Error Len! Expected:11 arrived: 10"},
      {"1r", 21, "    Error Len! Expected:11 arrived: 10"},
      {"CC", 66 + 6, "    Error Len! Expected:11 arrived: 12"},
      {"D5", 40, "    Error Len! Expected:11 arrived: 10"},
      {"EC", 12, "    Error Len! Expected:11 arrived: 12"},
      {"SS", 11, "    Error Len! Expected:11 arrived: 12"},
      {"TC", 20, "    Error Len! Expected:11 arrived: 10"},
      {"F2", 23, "    Error Len! Expected:11 arrived: 11"},
  };
  std::vector<uint8_t> sats;
  for (uint8_t u = 1; u <= 11; ++u) sats.push_back(u);
  for (const Case& c : cases) {
    LogBuilder b = Epoch(sats);
    b.Frame(c.id, std::string(c.bytes, '\0'));
    b.Frame("EC", std::string(11, '\x07'));  // the frame was accepted: the scan goes on
    ASSERT_TRUE(ScanLog(b)) << c.id;
    EXPECT_EQ(FirstErrorText(), c.text) << c.id;
    EXPECT_EQ(ErrorLines().size(), 1u) << c.id;
    const SvRec sv = SatRecords().at(0).at(0);
    const SignalBlock* s = sv.sig;
    for (int k = 0; k < kSignalCount; ++k)
      for (int kind = kRange; kind < kSnr; ++kind) EXPECT_EQ(s[k].present[kind], 0) << c.id;
    EXPECT_EQ(s[0].snr, 7.0f) << c.id;
  }
}

TEST_F(ObservablesTest, StatusMessagesAreOnlyChecked) {
  LogBuilder b = Epoch({5, 6});
  b.Frame("SS", "\x01\x02\x03").Frame("TC", Payload().U16(1).U16(2)).Frame("F5", "abcd");
  b.Frame("FC", Payload().U16(1).U16(2)).Frame("TT", Payload().U32(77));
  b.Frame("TT", "ab");
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(FirstErrorText(), "Length of message = 3 but must be >= 5");
  EXPECT_EQ(ErrorLines().size(), 1u);
  const std::string r = RawEpoch(0);
  for (int f = kFlagRange; f <= kFlagSnr; ++f) EXPECT_EQ(r[f], 0);
  const auto sv = SatRecords().at(0);
  for (const SvRec& s : sv)
    for (const SignalBlock& sig : s.sig)
      for (uint8_t p : sig.present) EXPECT_EQ(p, 0);
}

TEST_F(ObservablesTest, CaDopplerIsCopiedIntoSignalOneUntilD1Comes) {
  LogBuilder b = Epoch({5, 6});
  b.Frame("DC", Payload().I32(-12345).I32(100));
  b.Time(2000).Sats({5, 6}).Frame("DC", Payload().I32(-12345).I32(100));
  b.Frame("D1", Payload().I32(500).I32(0x7FFFFFFF));
  ASSERT_TRUE(ScanLog(b));
  const auto sv = SatRecords();
  ASSERT_EQ(sv.size(), 2u);
  for (int k : {0, 1}) {
    EXPECT_EQ(sv[0][0].sig[k].present[kDoppler], 1);
    EXPECT_FLOAT_EQ(sv[0][0].sig[k].doppler, -1.2345f);
    EXPECT_FLOAT_EQ(sv[0][1].sig[k].doppler, 0.01f);
  }
  EXPECT_FLOAT_EQ(sv[1][0].sig[0].doppler, -1.2345f);
  EXPECT_FLOAT_EQ(sv[1][0].sig[1].doppler, 0.05f);  // D1 replaced the copy
  EXPECT_FLOAT_EQ(sv[1][1].sig[1].doppler, 0.01f);  // a missing D1 leaves it
  EXPECT_TRUE(Lit(IndicatorOf(Observable::D1_CA)));
  EXPECT_TRUE(Lit(IndicatorOf(Observable::D1)));
}

TEST_F(ObservablesTest, SlotsOfOtherAntennasAreSteppedOver) {
  ui.antennaAnswer = {true, 'a'};
  LogBuilder b = Epoch({5, 6, 7});
  b.Antennas("aba").Time(2000).Sats({5, 6, 7});
  b.Frame("RC", Payload().F64(0.07).F64(0.08).F64(0.09));
  b.Frame("CE", "\x04\x08\x0c");
  // A value for the other antenna's slot alone: nothing was stored in the epoch.
  b.Frame("PC", Payload().F64(kNaN).F64(1.0).F64(kNaN));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(RawEpoch(1)[34], 0);
  EXPECT_FALSE(Lit(IndicatorOf(Observable::L1_CA)));
  const auto sv = SatRecords();
  ASSERT_EQ(sv.size(), 2u);
  ASSERT_EQ(sv[1].size(), 2u);
  EXPECT_EQ(sv[1][0].number, 5);
  EXPECT_DOUBLE_EQ(sv[1][0].sig[0].range, 0.07 * 299792458.0);
  EXPECT_EQ(sv[1][0].sig[0].snr, 1.0f);
  EXPECT_EQ(sv[1][1].number, 7);
  EXPECT_DOUBLE_EQ(sv[1][1].sig[0].range, 0.09 * 299792458.0);
  EXPECT_EQ(sv[1][1].sig[0].snr, 3.0f);
}

TEST_F(ObservablesTest, UnusableEpochStoresNothing) {
  // GLONASS without slot numbers: the epoch is not written, and whatever was stored in it
  // would reach the next written epoch.
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5, 40});
  Add(b, {RC(0.07),
          {"CC", Payload().F32(0).U16(1).F32(0).U16(1).str()},
          {"PC", Payload().F64(1).F64(1).str()},
          {"DC", Payload().I32(1).I32(1).str()},
          {"EC", "\x01\x01"}});
  b.Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(ctx.epochCount, 1);
  const std::string r = RawEpoch(0);
  for (int f = kFlagRange; f <= kFlagSnr; ++f) EXPECT_EQ(r[f], 0);
  const SvRec sv = SatRecords().at(0).at(0);
  for (const SignalBlock& sig : sv.sig)
    for (uint8_t p : sig.present) EXPECT_EQ(p, 0);
  EXPECT_FALSE(Lit(IndicatorOf(Observable::C1)));
}

TEST_F(ObservablesTest, BadChecksumRejectsTheFrame) {
  std::string pc = BuildFrame("PC", Payload().F64(5.0));
  pc.back() ^= 1;
  LogBuilder b = Epoch({5});
  b.Bytes(pc + "\r\n");
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(FirstErrorText(), " Bad Checksum   ");
  EXPECT_EQ(SatRecords().at(0).at(0).sig[0].present[kPhase], 0);
}

}  // namespace
}  // namespace vnx::test
