// Attitude, PPS offsets, position/baseline/status blocks, SE, ">>" and the checked-only
// messages.
#include "engine/decoders/other_epoch_messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/decoders/common.h"
#include "engine/epoch/record_reader.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::string Zeros(size_t n) {
  return std::string(n, '\0');
}

// Bodies with distinct values (checksum not included).
std::string Ar() {
  return Payload().U32(123456).F32(1.5f).F32(-2.5f).F32(359.0f).F32(4).F32(5).F32(6).U8(1).str();
}
std::string Mr73() {
  Payload p;
  p.U32(777).F32(0.1f).F32(0.2f).F32(0.3f).F32(0.4f).F32(0.01f).F32(0.02f).F32(0.03f);
  p.U8(4).U8(4).U8(1).U8(1);
  for (int i = 0; i < 9; ++i) p.F32(10.0f + static_cast<float>(i));
  return p.str();
}
std::string Pg(double lat = 0.9, float sigma = 1.25f, uint8_t type = 2) {
  return Payload().F64(lat).F64(0.5).F64(250.0).F32(sigma).U8(type).str();
}
std::string Vg(float alt = 0.75f, uint8_t type = 1) {
  return Payload().F32(0.25f).F32(0.5f).F32(alt).F32(0.125f).U8(type).str();
}
std::string Bl(uint32_t time = 654321, double alt = 3.0) {
  return Payload().F64(1.0).F64(2.0).F64(alt).F32(0.5f).U8(3).U32(time).str();
}
std::string Bi(uint16_t id = 42, uint8_t type = 5) {
  return Payload().F64(1.0).F64(2.0).F64(3.0).U16(id).U8(type).str();
}
std::string Ps(uint8_t fixProg = 100) {
  return Payload().U8(1).U8(8).U8(6).U8(10).U8(8).U8(7).U8(5).U8(fixProg).str();
}
std::string St(uint32_t time = 5000, uint8_t type = 9) {
  return Payload().U32(time).U8(type).str();
}
std::string Wo() {
  Payload p;
  for (int i = 0; i < 30; ++i) p.U8(static_cast<uint8_t>(i + 1));
  return p.str();
}

// The bytes of an EpochRec field.
std::string RecBytes(const EpochRec& rec, size_t offset, size_t size) {
  return std::string(reinterpret_cast<const char*>(&rec) + offset, size);
}

class OtherEpochMessagesTest : public ScanFixture {
 protected:
  static LogBuilder Start() {
    LogBuilder b;
    b.Header().Date(2009, 6, 23).Time(1000).Sats({5});
    return b;
  }
  // Scans one epoch holding the given frames and returns its record.
  EpochRec OneEpoch(const std::vector<std::pair<std::string, std::string>>& frames) {
    LogBuilder b = Start();
    for (const auto& [id, payload] : frames) b.Frame(id, payload);
    EXPECT_TRUE(ScanLog(b));
    const auto e = Epochs();
    EXPECT_EQ(e.size(), 1u);
    return e.empty() ? EpochRec{} : e[0];
  }
};

TEST_F(OtherEpochMessagesTest, BlocksLandAtTheirOffsets) {
  struct Case {
    const char* id;
    std::string body;
    int flag;
    size_t offset;
    std::string stored;
  };
  const std::string bl = Bl();
  const std::string st = St();
  const Case cases[] = {
      {"AR", Ar(), kFlagAR, 980, Ar() + Zeros(3)},
      {"mr", Mr73(), kFlagMR73, 872, Mr73()},
      {"MR", Mr73().substr(0, 36), kFlagMR37, 944, Mr73().substr(0, 36)},
      {"ZA", Payload().F32(-12.5f).str(), kFlagZA, 1012, Payload().F32(-12.5f).str()},
      {"ZB", Payload().F32(7.0f).str(), kFlagZB, 1016, Payload().F32(7.0f).str()},
      {"LT", "\x11", kFlagLT, 1020, "\x11"},
      {"PG", Pg(), kFlagPG, 600, Pg() + Zeros(3)},
      {"VG", Vg(), kFlagVG, 720, Vg() + Zeros(3)},
      {"BL", bl, kFlagBL, 744, bl.substr(0, 29) + Zeros(3) + bl.substr(29, 4) + Zeros(4)},
      {"BI", Bi(), kFlagBI, 784, Bi() + Zeros(5)},
      {"PS", Ps(), kFlagPS, 816, Ps()},
      {"ST", st, kFlagST, 824, st + Zeros(3)},
      {"PT", Payload().U32(99).str(), kFlagPT, 832, Payload().U32(99).str()},
      {"WO", Wo(), kFlagWO, 840, Wo() + Zeros(2)},
  };
  for (const Case& c : cases) {
    const EpochRec rec = OneEpoch({{c.id, c.body}});
    EXPECT_THAT(ErrorLines(), IsEmpty()) << c.id;
    EXPECT_EQ(rec.flags[c.flag], 1) << c.id;
    EXPECT_EQ(RecBytes(rec, c.offset, c.stored.size()), c.stored) << c.id;
    int flags = 0;
    for (int i = 0; i < 38; ++i) flags += rec.flags[i];
    EXPECT_EQ(flags, 1) << c.id;  // no other message appears present
  }
}

TEST_F(OtherEpochMessagesTest, MovedFieldsAndSeenFlags) {
  const EpochRec rec = OneEpoch({{"AR", Ar()}, {"BL", Bl()}, {"ST", St()}, {"mr", Mr73()}});
  EXPECT_EQ(rec.bl.time, 654321u);
  EXPECT_EQ(rec.stType, 9u);
  EXPECT_TRUE(ctx.arSeen);
  EXPECT_TRUE(ctx.mr73Seen);
  EXPECT_FALSE(ctx.mr37Seen);
}

TEST_F(OtherEpochMessagesTest, MissingValueDropsTheWholeMessage) {
  const double missingDouble = std::bit_cast<double>(kMissingDoubleBits);
  struct Case {
    const char* name;
    const char* id;
    std::string body;
  };
  const Case cases[] = {
      {"PG lat NaN", "PG", Pg(std::nan(""))},
      {"PG lat missing pattern", "PG", Pg(missingDouble)},
      {"PG sigma infinite", "PG", Pg(0.9, kInf)},
      {"PG type", "PG", Pg(0.9, 1.0f, 255)},
      {"VG alt NaN", "VG", Vg(kNaN)},
      {"VG type", "VG", Vg(1.0f, 255)},
      {"BL time", "BL", Bl(0xFFFFFFFF)},
      {"BL alt missing pattern", "BL", Bl(1, missingDouble)},
      {"BI id", "BI", Bi(0xFFFF)},
      {"BI type", "BI", Bi(1, 255)},
      {"PS fixProg", "PS", Ps(255)},
      {"ST time", "ST", St(0xFFFFFFFF)},
      {"ST type", "ST", St(1, 255)},
      {"PT time", "PT", Payload().U32(0xFFFFFFFF).str()},
      {"ZA NaN", "ZA", Payload().F32(kNaN).str()},
      {"ZB infinite", "ZB", Payload().F32(kInf).str()},
  };
  for (const Case& c : cases) {
    const EpochRec rec = OneEpoch({{c.id, c.body}});
    EXPECT_THAT(ErrorLines(), IsEmpty()) << c.name;
    for (int i = 0; i < 38; ++i) EXPECT_EQ(rec.flags[i], 0) << c.name << " flag " << i;
    EXPECT_EQ(RecBytes(rec, 600, 424), Zeros(424)) << c.name;  // every block untouched
  }
  EXPECT_EQ(ctx.zaCount + ctx.zbCount, 0);
  EXPECT_FALSE(ui.lit[static_cast<int>(Indicator::ExternalEvents)]);
}

TEST_F(OtherEpochMessagesTest, SecondMessageOfAnEpochReplacesTheFirst) {
  const std::string first = Pg(0.1, 9.0f, 7);
  const std::string second = Pg(0.2);
  const EpochRec rec = OneEpoch({{"PG", first}, {"PG", second}});
  EXPECT_EQ(RecBytes(rec, 600, 32), second + Zeros(3));
}

TEST_F(OtherEpochMessagesTest, NothingStoredInAnEpochWithoutTime) {
  std::string badTime = BuildFrame("~~", Payload().U32(2000));
  badTime.back() ^= 1;
  LogBuilder b = Start();
  b.Bytes(badTime + "\r\n").Sats({5}).Frame("AR", Ar()).Frame("ZA", Payload().F32(1.0f));
  b.Time(3000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  for (const EpochRec& e : Epochs()) {
    EXPECT_EQ(e.flags[kFlagAR], 0);
    EXPECT_EQ(e.flags[kFlagZA], 0);
  }
  EXPECT_FALSE(ctx.arSeen);
  EXPECT_EQ(ctx.zaCount, 0);
}

TEST_F(OtherEpochMessagesTest, ShortOrDamagedBodiesStoreNothing) {
  std::string bad = BuildFrame("WO", Wo());
  bad.back() ^= 1;
  LogBuilder b = Start();
  b.Frame("AR", Ar().substr(0, 20)).Bytes(bad + "\r\n");
  ASSERT_TRUE(ScanLog(b));
  const auto lines = ErrorLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_THAT(lines[0],
              HasSubstr("Error in AR message : Length of message = 21 but must be >= 30"));
  EXPECT_THAT(lines[1], HasSubstr("Error in WO message :  Bad Checksum   "));
  ASSERT_EQ(Epochs().size(), 1u);
  EXPECT_EQ(Epochs()[0].flags[kFlagAR], 0);
  EXPECT_EQ(Epochs()[0].flags[kFlagWO], 0);
  EXPECT_FALSE(ctx.arSeen);
}

TEST_F(OtherEpochMessagesTest, PpsOffsetsGoToTheirFiles) {
  const EpochRec rec = OneEpoch({{"ZA", Payload().F32(kNaN).str()},
                                 {"ZA", Payload().F32(-3.5f).str()},
                                 {"ZB", Payload().F32(2.25f).str()},
                                 {"ZB", Payload().F32(4.0f).str()}});
  EXPECT_FLOAT_EQ(rec.zaOffset, -3.5f);
  EXPECT_FLOAT_EQ(rec.zbOffset, 4.0f);
  EXPECT_TRUE(ui.lit[static_cast<int>(Indicator::ExternalEvents)]);
  ASSERT_EQ(ctx.zaCount, 1);
  ASSERT_EQ(ctx.zbCount, 2);
  RecordReader za(WorkFile("ZARecs.dat"), sizeof(ZOffsetRec));
  RecordReader zb(WorkFile("ZBRecs.dat"), sizeof(ZOffsetRec));
  ZOffsetRec r{};
  ASSERT_TRUE(za.Read(&r));
  EXPECT_EQ(r.isZA, 1);
  EXPECT_FLOAT_EQ(r.offset, -3.5f);
  ASSERT_TRUE(zb.Read(&r));
  EXPECT_EQ(r.isZA, 0);
  EXPECT_FLOAT_EQ(r.offset, 2.25f);
}

TEST_F(OtherEpochMessagesTest, EchoFramesAreCounted) {
  LogBuilder b = Start();
  b.RawFrame(">>", "echo one").RawFrame(">>", "x").RawFrame(">>", "no checksum here");
  b.Time(2000).Sats({5}).RawFrame(">>", "y");
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorLines(), IsEmpty());
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].echoCount, 3);
  EXPECT_EQ(e[1].echoCount, 1);
}

TEST_F(OtherEpochMessagesTest, CheckedOnlyMessages) {
  std::string badYb = BuildFrame("YB", std::string(9, 'y'));
  badYb.back() ^= 1;
  LogBuilder b = Start();
  b.Frame("YA", std::string(9, 'a')).Frame("WA", std::string(38, 'w')).Frame("ID", "ident");
  b.Frame("WA", "short").Bytes(badYb + "\r\n");
  ASSERT_TRUE(ScanLog(b));
  const auto lines = ErrorLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_THAT(lines[0], HasSubstr("Error in WA message : Length of message = 6 but must be >= 39"));
  EXPECT_THAT(lines[1], HasSubstr("Error in YA message :  Bad Checksum   "));
}

TEST_F(OtherEpochMessagesTest, SeTakesFiveCharacters) {
  LogBuilder b = Start();
  b.Frame("SE", "\1\2\3\4\5HELLO");
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(Epochs().size(), 1u);
  const EpochRec rec = Epochs()[0];
  EXPECT_EQ(rec.flags[kFlagSE], 1);
  EXPECT_EQ(rec.se.length, 5);
  EXPECT_EQ(std::string(rec.se.chars, 5), "HELLO");
}

TEST_F(OtherEpochMessagesTest, ShortSeReadsOnIntoTheLog) {
  const std::string se = BuildFrame("SE", "\1\2\3\4\5");  // six bytes: the sixth is the checksum
  LogBuilder b = Start();
  b.Bytes(se + "\r\n").Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(Epochs().size(), 2u);
  const std::string expected = std::string(1, se.back()) + "\r\n~~";
  EXPECT_EQ(std::string(Epochs()[0].se.chars, 5), expected);
}

TEST_F(OtherEpochMessagesTest, SeAtTheEndOfTheLogIsPaddedWithBlanks) {
  const std::string se = BuildFrame("SE", "\1\2\3\4\5");
  LogBuilder b = Start();
  b.Bytes(se + "\r");  // one byte after the body, the least a frame needs to be read
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(Epochs().size(), 1u);
  const std::string expected = std::string(1, se.back()) + "\r   ";
  EXPECT_EQ(std::string(Epochs()[0].se.chars, 5), expected);
}

TEST_F(OtherEpochMessagesTest, SeErrorsAreNeverReported) {
  std::string bad = BuildFrame("SE", "\1\2\3\4\5HELLO");
  bad.back() ^= 1;
  LogBuilder b = Start();
  b.Bytes(bad + "\r\n").Frame("SE", "ab");
  ASSERT_TRUE(ScanLog(b));
  for (const std::string& line : ErrorLines()) EXPECT_THAT(line, ::testing::Not(HasSubstr("SE")));
  ASSERT_EQ(Epochs().size(), 1u);
  EXPECT_EQ(Epochs()[0].flags[kFlagSE], 0);
}

}  // namespace
}  // namespace vnx::test
