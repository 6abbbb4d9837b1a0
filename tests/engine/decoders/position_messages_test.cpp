// Position, velocity, precision and covariance messages.
#include "engine/decoders/position_messages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class PositionMessagesTest : public ScanFixture {
 protected:
  static LogBuilder Epoch(std::initializer_list<uint8_t> sats = {5}) {
    LogBuilder b;
    b.Header().Date(2009, 6, 23).Time(1000).Sats(sats);
    return b;
  }
  // The bytes of epoch record n as DataEpochs.dat holds them.
  std::string RawEpoch(size_t n) {
    return ReadFileBytes(WorkFile("DataEpochs.dat")).substr(n * sizeof(EpochRec), sizeof(EpochRec));
  }
  template <class T>
  static T At(const std::string& rec, size_t offset) {
    T v;
    std::memcpy(&v, rec.data() + offset, sizeof v);
    return v;
  }
  static bool AllZero(const std::string& rec, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
      if (rec[i] != 0) return false;
    return true;
  }
};

TEST_F(PositionMessagesTest, FieldsReadBackAtTheirOffsets) {
  LogBuilder b = Epoch();
  b.Frame("PO", Payload().F64(9.0).F64(9.0).F64(9.0).F32(9.0f).U8(2));  // overwritten below
  b.Frame("PO", Payload().F64(1.5).F64(-2.5).F64(3.5).F32(0.5f).U8(1));
  b.Frame("VE", Payload().F32(0.1f).F32(0.2f).F32(-0.3f).F32(0.05f).U8(3));
  b.Frame("DP", Payload().F32(3).F32(4).F32(12).U8(1));
  b.Frame("SG", Payload().F32(1).F32(2).F32(3).F32(4).U8(2));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const std::string r = RawEpoch(0);
  EXPECT_EQ(r[0], 1);
  EXPECT_EQ(r[200], 1);  // velocity
  EXPECT_EQ(r[201], 1);  // position
  EXPECT_EQ(r[202], 1);  // RMS
  EXPECT_EQ(r[203], 1);  // DOP
  EXPECT_EQ(r[204], 3);  // tip of the last PO/VE/PV
  EXPECT_EQ(At<double>(r, 208), 1.5);
  EXPECT_EQ(At<double>(r, 216), -2.5);
  EXPECT_EQ(At<double>(r, 224), 3.5);
  EXPECT_EQ(At<float>(r, 232), 0.5f);
  EXPECT_EQ(At<float>(r, 236), 0.05f);
  EXPECT_EQ(At<float>(r, 240), 5.0f);   // PDOP of 3, 4
  EXPECT_EQ(At<float>(r, 244), 13.0f);  // GDOP of 3, 4, 12
  EXPECT_EQ(At<float>(r, 248), 3.0f);
  EXPECT_EQ(At<float>(r, 252), 4.0f);
  EXPECT_EQ(At<float>(r, 256), 12.0f);
  EXPECT_EQ(At<float>(r, 260), 0.1f);
  EXPECT_EQ(At<float>(r, 264), 0.2f);
  EXPECT_EQ(At<float>(r, 268), -0.3f);
  EXPECT_EQ(At<float>(r, 276), 1.0f);
  EXPECT_EQ(At<float>(r, 288), 4.0f);
}

// Each field of each message spoiled in turn: the message leaves nothing in the epoch record.
TEST_F(PositionMessagesTest, FirstMissingFieldEndsDecoding) {
  enum Kind { D, F, Tip };
  struct Msg {
    const char* id;
    std::vector<Kind> fields;
  };
  const Msg msgs[] = {
      {"PO", {D, D, D, F, Tip}},
      {"VE", {F, F, F, F, Tip}},
      {"PV", {D, D, D, F, F, F, F, F, Tip}},  // a PV position alone never reaches the record
      {"DP", {F, F, F, Tip}},
      {"SG", {F, F, F, F, Tip}},
      {"SP", {F, F, F, F, F, F, F, F, F, F, Tip}},
  };
  double missingPattern;
  const uint64_t bits = 9221120237041090560ull;
  std::memcpy(&missingPattern, &bits, 8);
  for (const Msg& m : msgs) {
    for (size_t spoil = 0; spoil < m.fields.size(); ++spoil) {
      Payload p;
      for (size_t j = 0; j < m.fields.size(); ++j) {
        const bool bad = j == spoil;
        if (m.fields[j] == D) p.F64(bad ? (j % 2 ? kNaN : missingPattern) : 1.0);
        if (m.fields[j] == F) p.F32(bad ? (j % 2 ? kInf : -kInf) : 1.0f);
        if (m.fields[j] == Tip) p.U8(bad ? 255 : 1);
      }
      LogBuilder b = Epoch();
      b.Frame(m.id, p);
      ASSERT_TRUE(ScanLog(b));
      EXPECT_TRUE(ErrorLines().empty());
      const std::string r = RawEpoch(0);
      EXPECT_EQ(r[0], 0) << m.id << " field " << spoil;
      EXPECT_EQ(r[14], 0) << m.id << " field " << spoil;
      EXPECT_TRUE(AllZero(r, 200, 296)) << m.id << " field " << spoil;
      EXPECT_TRUE(AllZero(r, 632, 676)) << m.id << " field " << spoil;
    }
  }
}

TEST_F(PositionMessagesTest, PvPositionWaitsForAnotherPositionMessage) {
  const Payload pv = Payload().F64(10).F64(20).F64(30).F32(2).F32(kInf).F32(0).F32(0).F32(0).U8(4);
  LogBuilder b = Epoch();
  b.Frame("PV", pv);
  b.Time(2000).Sats({5}).Frame("PV", pv).Frame("DP", Payload().F32(1).F32(1).F32(1).U8(1));
  ASSERT_TRUE(ScanLog(b));
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].flags[kFlagPosition], 0);
  EXPECT_EQ(e[0].pos.positionPresent, 0);
  EXPECT_EQ(e[1].flags[kFlagPosition], 1);
  EXPECT_EQ(e[1].pos.positionPresent, 1);
  EXPECT_EQ(e[1].pos.velocityPresent, 0);
  EXPECT_EQ(e[1].pos.x, 10.0);
  EXPECT_EQ(e[1].pos.z, 30.0);
  EXPECT_EQ(e[1].pos.positionSigma, 2.0f);
  EXPECT_EQ(e[1].pos.solutionType, 0);  // the PV's tip is kept only with its velocity
}

TEST_F(PositionMessagesTest, CompletePvStoresBoth) {
  LogBuilder b = Epoch();
  b.Frame("PV", Payload().F64(1).F64(2).F64(3).F32(4).F32(5).F32(6).F32(7).F32(8).U8(2));
  ASSERT_TRUE(ScanLog(b));
  const PosBlock p = Epochs().at(0).pos;
  EXPECT_EQ(p.positionPresent, 1);
  EXPECT_EQ(p.velocityPresent, 1);
  EXPECT_EQ(p.y, 2.0);
  EXPECT_EQ(p.positionSigma, 4.0f);
  EXPECT_EQ(p.vz, 7.0f);
  EXPECT_EQ(p.velocitySigma, 8.0f);
  EXPECT_EQ(p.solutionType, 2);
}

TEST_F(PositionMessagesTest, SpIsStoredWithoutAnyOtherPositionMessage) {
  Payload sp;
  for (int i = 1; i <= 10; ++i) sp.F32(i * 0.25f);
  sp.U8(4);
  LogBuilder b = Epoch();
  b.Frame("SP", sp);
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const std::string r = RawEpoch(0);
  EXPECT_EQ(r[0], 0);
  EXPECT_EQ(r[14], 1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(At<float>(r, 632 + 4 * i), (i + 1) * 0.25f);
  EXPECT_EQ(r[672], 4);
  EXPECT_TRUE(AllZero(r, 673, 676));
}

TEST_F(PositionMessagesTest, SvIsOnlyChecked) {
  std::string sv = BuildFrame("SV", Payload().Bytes(std::string(40, '\x01')).U8(1));
  LogBuilder b = Epoch();
  b.Bytes(sv + "\r\n").Time(2000).Sats({5});
  sv.back() ^= 1;
  b.Bytes(sv + "\r\n");
  ASSERT_TRUE(ScanLog(b));
  const auto lines = ErrorLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find("Error in SV message :  Bad Checksum   "), std::string::npos);
  const std::string first = RawEpoch(0), second = RawEpoch(1);
  EXPECT_TRUE(AllZero(first, 0, 38));
  EXPECT_TRUE(AllZero(first, 200, 296));
  EXPECT_TRUE(AllZero(first, 600, 1024));
  EXPECT_TRUE(AllZero(second, 600, 1024));
}

TEST_F(PositionMessagesTest, UnusableEpochStoresNothing) {
  // GLONASS without its slot numbers: the epoch is dropped and its values would pass to the
  // next written one.
  LogBuilder b = Epoch({5, 40});
  b.Frame("PO", Payload().F64(1).F64(2).F64(3).F32(4).U8(1));
  b.Frame("PV", Payload().F64(1).F64(2).F64(3).F32(4).F32(5).F32(6).F32(7).F32(8).U8(2));
  b.Frame("DP", Payload().F32(3).F32(4).F32(12).U8(1));
  b.Frame("SG", Payload().F32(1).F32(2).F32(3).F32(4).U8(2));
  b.Frame("SP", Payload().Bytes(std::string(40, '\0')).U8(1));
  b.Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(ctx.epochCount, 1);
  const std::string r = RawEpoch(0);
  EXPECT_EQ(r[0], 0);
  EXPECT_EQ(r[14], 0);
  EXPECT_TRUE(AllZero(r, 200, 296));
}

TEST_F(PositionMessagesTest, ShortBodyIsReportedAndStoresNothing) {
  LogBuilder b = Epoch();
  b.Frame("PO", Payload().F64(1).F64(2).Bytes("abc"));  // 20 bytes with the checksum
  b.Frame("DP", Payload().F32(3).F32(4).F32(12).U8(1));
  ASSERT_TRUE(ScanLog(b));
  const auto lines = ErrorLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("Error in PO message : Length of message = 20 but must be >= 30"),
            std::string::npos);
  const EpochRec e = Epochs().at(0);
  EXPECT_EQ(e.pos.positionPresent, 0);
  EXPECT_EQ(e.pos.dopPresent, 1);  // the frame was accepted and the scan went on
}

}  // namespace
}  // namespace vnx::test
