// "==": the event record of every frame, the eight keys, the site information and the
// antenna height.
#include "engine/decoders/event_message.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/epoch/record_reader.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string EventPayload(std::string_view text, uint8_t type = 0, int32_t time = 5000) {
  return Payload().I32(time).U8(type).Bytes(text).str();
}

std::string S(const ShortString20& s) {
  return std::string(s.View());
}

class EventMessageTest : public ScanFixture {
 protected:
  static LogBuilder Start() {
    LogBuilder b;
    b.Header().Date(2009, 6, 23).Time(1000).Sats({5});
    return b;
  }
  std::vector<EventRec> Events() const {
    RecordReader reader(WorkFile("EventRecs.dat"), sizeof(EventRec));
    std::vector<EventRec> out(static_cast<size_t>(ctx.eventCount));
    for (auto& r : out) EXPECT_TRUE(reader.Read(&r));
    return out;
  }
  // Scans one epoch with one event; returns its record.
  EventRec OneEvent(std::string_view text, uint8_t type = 0) {
    LogBuilder b = Start();
    b.Frame("==", EventPayload(text, type));
    EXPECT_TRUE(ScanLog(b));
    const auto ev = Events();
    EXPECT_EQ(ev.size(), 1u);
    return ev.empty() ? EventRec{} : ev[0];
  }
  // The site information of the last written epoch.
  SiteInfo Site() const {
    const auto e = Epochs();
    return e.empty() ? SiteInfo{} : e.back().site;
  }
};

TEST_F(EventMessageTest, TextKeysFillTheirFields) {
  struct Case {
    std::string text;
    std::string key;
    ShortString20 EventRec::*field;
    std::string value;
    uint8_t type = 0;
  };
  const Case cases[] = {
      {"_SIT=BASE1", "_SIT=", &EventRec::siteName, "BASE1"},
      {"_ANT=CHOKE RING 7", "_ANT=", &EventRec::antennaName, "CHOKE RING 7"},
      {"_CAN=can value", "_CAN=", &EventRec::can, "can value"},
      {"_SAV=saved", "_SAV=", &EventRec::sav, "saved"},
      {"_DSC=a description longer than twenty", "_DSC=", &EventRec::dsc, "a description longer"},
      {"_FEA=feature code is long", "_FEA=", &EventRec::fea, "feature code is lo"},
      {"hello world", "USER_", &EventRec::user, "hello world"},
      {"a user text longer than twenty", "USER_", &EventRec::user, "a user text longer t"},
      // A key with an empty value, in an event of a type that may be that short (the
      // sanitizer build caught a null copy here).
      {"_ANT=", "_ANT=", &EventRec::antennaName, "", 1},
      {"_SIT=", "_SIT=", &EventRec::siteName, "", 1},
      {"_CAN=", "_CAN=", &EventRec::can, "", 1},
      {"_SAV=", "_SAV=", &EventRec::sav, "", 1},
      {"_DSC=", "_DSC=", &EventRec::dsc, "", 1},
      {"_FEA=", "_FEA=", &EventRec::fea, "", 1},
  };
  for (const Case& c : cases) {
    const EventRec ev = OneEvent(c.text, c.type);
    EXPECT_THAT(ErrorLines(), IsEmpty()) << c.text;
    EXPECT_EQ(ev.time, 5000) << c.text;
    EXPECT_EQ(S(ev.key), c.key) << c.text;
    EXPECT_EQ(S(ev.*c.field), c.value) << c.text;
    EXPECT_EQ(S(ev.text), c.text.substr(0, 20)) << c.text;
  }
}

TEST_F(EventMessageTest, SiteAndAntennaReachTheEpochs) {
  LogBuilder b = Start();
  b.Frame("==", EventPayload("_SIT=BASE1")).Frame("==", EventPayload("_ANT=ANT7"));
  b.Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 2u);
  for (const EpochRec& rec : e) {
    EXPECT_EQ(S(rec.site.siteName), "BASE1");
    EXPECT_EQ(S(rec.site.siteText2), "");
    EXPECT_EQ(S(rec.site.antennaName), "ANT7");
    EXPECT_EQ(S(rec.site.antennaText), "-Unknown-");
  }
  EXPECT_EQ(e[0].eventCount, 2);
  EXPECT_EQ(e[1].eventCount, 0);
  EXPECT_EQ(ctx.eventCount, 2);
}

TEST_F(EventMessageTest, DynamicOrStatic) {
  struct Case {
    std::string text;
    uint8_t dynamic, isStatic;
    std::string error;
  };
  const Case cases[] = {
      {"_DYM=DYNAMIC", 1, 0, ""},
      {"_DYM=STATIC", 0, 1, ""},
      {"_DYM=XX", 0, 1, ""},  // shorter than 17: static
      {"_DYM=KINEMATIC", 0, 1, "_DYM= with not DINAMIC and not STATIC "},
  };
  for (const Case& c : cases) {
    LogBuilder b = Start();
    if (c.isStatic) b.Frame("==", EventPayload("_DYM=DYNAMIC"));  // static must be set again
    b.Frame("==", EventPayload(c.text));
    ASSERT_TRUE(ScanLog(b));
    const EventRec ev = Events().back();
    EXPECT_EQ(S(ev.key), "_DYM=") << c.text;
    EXPECT_EQ(ev.dynamic, c.dynamic) << c.text;
    const uint8_t expectedStatic = c.error.empty() ? c.isStatic : 0;  // left as it was
    EXPECT_EQ(Site().isStatic, expectedStatic) << c.text;
    if (c.error.empty()) {
      EXPECT_THAT(ErrorLines(), IsEmpty()) << c.text;
    } else {
      ASSERT_EQ(ErrorLines().size(), 1u) << c.text;
      EXPECT_THAT(ErrorLines()[0], HasSubstr("Error in Event message : " + c.error));
    }
  }
}

TEST_F(EventMessageTest, AntennaHeight) {
  struct Case {
    std::string text;
    uint8_t type;
    std::string heightText;
    double height;
    uint8_t slant;
  };
  const Case cases[] = {
      {"_ANH=1.534s", 0, "1.534", 1.534, 1},
      {"_ANH=1.534S", 0, "1.534", 1.534, 1},
      {"_ANH=1.534", 0, "1.534", 1.534, 0},  // the checksum follows: no slant
      {"_ANH= 2.5 m", 0, " 2.5 ", 2.5, 0},
      {"_ANH=1.2.3s", 0, "1.2.3", 1.2, 1},  // two points: the number before the second
      {"_ANH=-s", 0, "-", 0.0, 1},          // a lone minus sign
      {"_ANH=s", 0, "", 0.0, 0},            // nothing collected: no slant
      {"_ANH=0.25s", 1, "0.25", 0.25, 1},   // other event types read the same way
      {"at _ANH=3.0", 0, "3.0", 3.0, 0},    // after the key, wherever it stands
  };
  for (const Case& c : cases) {
    const EventRec ev = OneEvent(c.text, c.type);
    EXPECT_THAT(ErrorLines(), IsEmpty()) << c.text;
    EXPECT_EQ(S(ev.key), "_ANH=") << c.text;
    EXPECT_EQ(S(ev.antennaHeightText), c.heightText) << c.text;
    EXPECT_DOUBLE_EQ(Site().antennaHeight, c.height) << c.text;
    EXPECT_EQ(Site().slant, c.slant) << c.text;
  }
}

TEST_F(EventMessageTest, OtherEventsClearTheSlantFlag) {
  LogBuilder b = Start();
  b.Frame("==", EventPayload("_ANH=1.534s")).Time(2000).Sats({5});
  b.Frame("==", EventPayload("_CAN=x")).Time(3000).Sats({5});
  b.Frame("==", EventPayload("_ANH=2s")).Frame("==", EventPayload("_SIT=S2"));
  ASSERT_TRUE(ScanLog(b));
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].site.slant, 1);
  EXPECT_EQ(e[1].site.slant, 0);
  EXPECT_DOUBLE_EQ(e[1].site.antennaHeight, 1.534);  // the height stays
  EXPECT_EQ(e[2].site.slant, 1);                     // "_SIT=" leaves the flag alone
}

TEST_F(EventMessageTest, EveryFrameAppendsARecord) {
  std::string bad = BuildFrame("==", EventPayload("_SIT=LOST"));
  bad.back() ^= 1;
  LogBuilder b = Start();
  b.Bytes(bad + "\r\n");
  b.Frame("==", "abcd");                    // five bytes
  b.Frame("==", EventPayload("_SIT="));     // type 0, eleven bytes
  b.Frame("==", EventPayload("ab", 2, 7));  // other types may be short
  b.Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const auto ev = Events();
  ASSERT_EQ(ev.size(), 4u);
  EXPECT_EQ(ev[0].time, 0);  // checksum failed: cleared record
  EXPECT_EQ(S(ev[0].text), "");
  EXPECT_EQ(S(ev[1].key), "");
  EXPECT_EQ(S(ev[2].text), "_SIT=");
  EXPECT_EQ(S(ev[2].key), "");
  EXPECT_EQ(ev[3].time, 7);
  EXPECT_EQ(ev[3].type, 2);
  EXPECT_EQ(S(ev[3].key), "USER_");
  EXPECT_EQ(S(ev[3].user), "ab");
  ASSERT_EQ(Epochs().size(), 2u);
  EXPECT_EQ(Epochs()[0].eventCount, 4);
  EXPECT_EQ(S(Epochs()[0].site.siteName), "-Unknown-");
  const auto lines = ErrorLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_THAT(lines[0], HasSubstr("Error in Event message :  Bad Checksum   "));
  EXPECT_THAT(lines[lines.size() - 2], HasSubstr("Error in Event message :  Very short message "));
  EXPECT_THAT(lines.back(), HasSubstr("Error in Event message :  Very short message "));
}

TEST(LeadingNumber, LongestValidLeadingNumber) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"1.534", 1.534}, {"  -2.5", -2.5}, {"1.2.3", 1.2}, {"-", 0.0},   {"", 0.0},
      {"   ", 0.0},     {"1e", 1.0},      {"1e-", 1.0},   {".5", 0.5},  {"5.", 5.0},
      {"1 2", 1.0},     {"e5", 0.0},      {"1e999", 0.0}, {"inf", 0.0}, {"nan", 0.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace vnx::test
