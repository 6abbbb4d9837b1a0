// Ionosphere parameters, the checked-only GA and NA, and the receiver texts of PM.
#include "engine/decoders/parameter_messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class ParameterMessagesTest : public ScanFixture {
 protected:
  static LogBuilder Start() {
    LogBuilder b;
    b.Header().Date(2009, 6, 23).Time(1000).Sats({5});
    return b;
  }
  static std::string IoPayload(uint32_t tot, uint16_t wn) {
    Payload p;
    p.U32(tot).U16(wn);
    for (int i = 0; i < 8; ++i) p.F32(0.5f * static_cast<float>(i + 1));
    return p.str();
  }
};

TEST_F(ParameterMessagesTest, PmKeysFillTheHeaderEntries) {
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  struct Case {
    std::string body;
    int entry;
    std::string expected;
  };
  const Case cases[] = {
      {"rcv/ver/main=\"" + letters + "\"", kHeaderMainVersion, letters.substr(0, 20)},
      {"version/main=\"3.4 Jun,23,2009\" x", kHeaderMainVersion, "3.4 Jun,23,2009"},
      {"rcvid=\"" + letters + "\"", kHeaderReceiverId, letters},
      {"rcv/id=\"R7\"", kHeaderReceiverId, "R7"},
      {"rcv/ver/board=\"" + letters + "\"", kHeaderBoardVersion, letters.substr(0, 20)},
      {"rcv/ver/board=", kHeaderBoardVersion, "-Unknown-"},  // the key alone
      {"rcvid=\"no closing quote", kHeaderReceiverId, "-Unknown-"},
      {"xrcvid=\"R7\"", kHeaderReceiverId, "-Unknown-"},  // keys open the text
      {"RCVID=\"R7\"", kHeaderReceiverId, "-Unknown-"},   // and match case
      {std::string("\0rcvid=\"R7\"", 11), kHeaderReceiverId, "-Unknown-"},
  };
  for (const Case& c : cases) {
    LogBuilder b = Start();
    b.RawFrame("PM", c.body);
    ASSERT_TRUE(ScanLog(b));
    EXPECT_EQ(ctx.headerInfo[c.entry], c.expected) << c.body;
    EXPECT_THAT(ErrorLines(), IsEmpty()) << c.body;
  }
}

TEST_F(ParameterMessagesTest, TaggedPmIsCountedPerEpoch) {
  LogBuilder b = Start();
  b.RawFrame("PM", "t1@rcvid=\"A\"").RawFrame("PM", "@not a tag").RawFrame("PM", "x@");
  b.RawFrame("PM", "plain text");
  b.Time(2000).Sats({5}).RawFrame("PM", "t2@y");
  ASSERT_TRUE(ScanLog(b));
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].taggedPmCount, 2);
  EXPECT_EQ(e[1].taggedPmCount, 1);
  EXPECT_EQ(ctx.headerInfo[kHeaderReceiverId], "-Unknown-");  // the tag hides the key
}

TEST_F(ParameterMessagesTest, PmIsTakenInAnUnusableEpoch) {
  LogBuilder b;
  b.Header()
      .Date(2009, 6, 23)
      .Time(1000)
      .RawFrame("PM", "rcv/id=\"R9\"")
      .RawFrame("PM", "t@x")
      .Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ctx.headerInfo[kHeaderReceiverId], "R9");
  ASSERT_EQ(Epochs().size(), 1u);
  EXPECT_EQ(Epochs()[0].taggedPmCount, 1);
}

TEST_F(ParameterMessagesTest, IoIsStoredRawEvenInAnUnusableEpoch) {
  LogBuilder b;
  // The first epoch has no satellite list and is never written; its IO reaches the next.
  b.Header().Date(2009, 6, 23).Time(1000).Frame("IO", IoPayload(345600, 100));
  b.Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorLines(), IsEmpty());
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].flags[kFlagIO], 1);
  EXPECT_EQ(e[0].iono.tot, 345600u);
  EXPECT_EQ(e[0].iono.wn, 100);  // not unwrapped
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(e[0].iono.alpha[i], 0.5f * static_cast<float>(i + 1));
    EXPECT_FLOAT_EQ(e[0].iono.beta[i], 0.5f * static_cast<float>(i + 5));
  }
  EXPECT_EQ(static_cast<int>(ctx.iono.wn), 100);  // a packed field: read by value
}

TEST_F(ParameterMessagesTest, IoRefusedOnBadChecksumOrShortBody) {
  std::string bad = BuildFrame("IO", IoPayload(1, 2));
  bad.back() ^= 0x55;
  struct Case {
    std::string frame;
    std::string error;
  };
  const Case cases[] = {
      {bad, "Error in IO message :  Bad Checksum   "},
      {BuildFrame("IO", IoPayload(1, 2).substr(0, 37)),
       "Error in IO message : Length of message = 38 but must be >= 39"},
  };
  for (const Case& c : cases) {
    LogBuilder b = Start();
    b.Bytes(c.frame + "\r\n").Time(2000).Sats({5});
    ASSERT_TRUE(ScanLog(b));
    ASSERT_FALSE(ErrorLines().empty());
    EXPECT_THAT(ErrorLines()[0], HasSubstr(c.error));
    for (const EpochRec& e : Epochs()) EXPECT_EQ(e.flags[kFlagIO], 0);
  }
}

TEST_F(ParameterMessagesTest, GaAndNaAreCheckedOnly) {
  std::string badNa = BuildFrame("NA", std::string(45, 'n'));
  badNa.back() ^= 1;
  LogBuilder b = Start();
  b.Frame("GA", std::string(45, 'g'));  // 46 bytes: reported, still consumed
  b.Frame("NA", std::string(45, 'n')).Frame("GA", std::string(46, 'g'));
  b.Bytes(badNa + "\r\n").Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const auto lines = ErrorLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_THAT(lines[0],
              HasSubstr("Error in GA message : Length of message = 46 but must be >= 47"));
  EXPECT_THAT(lines[1], HasSubstr("Error in NA message :  Bad Checksum   "));
  EXPECT_EQ(Epochs().size(), 2u);
}

}  // namespace
}  // namespace vnx::test
