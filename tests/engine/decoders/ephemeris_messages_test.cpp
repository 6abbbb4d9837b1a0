// Ephemeris messages GE, EN, NE and WE: fields, reference times, the date they supply, the
// UTC week, satellite checks and short or damaged bodies.
#include "engine/decoders/ephemeris_messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "engine/epoch/record_reader.h"
#include "engine/time/gps_time.h"
#include "support/ephemeris_frames.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int16_t kWeek = 1537;  // starts Sunday 2009-06-21
constexpr uint32_t kWeekStart = 1537u * 604800;

uint32_t At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return TGPSTime::FromCalendar(y, mo, d, h, mi, s).Seconds();
}

std::string Uo(uint16_t wnt, int8_t dtls) {
  return Payload()
      .F64(1e-9)
      .F32(2e-12f)
      .U32(61440)
      .U16(wnt)
      .I8(dtls)
      .U8(7)
      .U16(1929)
      .I8(dtls)
      .str();
}

class EphemerisMessagesTest : public ScanFixture {
 protected:
  template <class Rec>
  std::vector<Rec> Records(vnx::WorkFile f) {
    RecordReader reader(ctx.files.PathOf(f), sizeof(Rec));
    std::vector<Rec> out;
    Rec r;
    while (reader.Read(&r)) out.push_back(r);
    return out;
  }
  std::vector<EphemGPSRec> GpsRecords() { return Records<EphemGPSRec>(vnx::WorkFile::EphemGPS); }
  std::vector<EphemGLORec> GloRecords() { return Records<EphemGLORec>(vnx::WorkFile::EphemGLO); }
  std::vector<EphemGEORec> GeoRecords() { return Records<EphemGEORec>(vnx::WorkFile::EphemGEO); }
  std::vector<EphemGALRec> GalRecords() { return Records<EphemGALRec>(vnx::WorkFile::EphemGAL); }

  // The texts after "message : " of every error line.
  std::vector<std::string> ErrorTexts() {
    std::vector<std::string> out;
    for (const auto& line : ErrorLines()) {
      const auto p = line.find("message : ");
      out.push_back(p == std::string::npos ? line : line.substr(p + 10));
    }
    return out;
  }
  static uint32_t Seconds(const TimeRec& t) { return TGPSTime::FromTimeRec(t).Seconds(); }
  static LogBuilder Dated(int y = 2009, int m = 6, int d = 23) {
    LogBuilder b;
    b.Header().Date(y, m, d).Time(1000).Sats({5});
    return b;
  }
};

// ---- GE and EN ----

TEST_F(EphemerisMessagesTest, EveryGeFieldReachesTheRecord) {
  KeplerEphFields k = SampleKepler(7, kWeek, 200000, 201600);
  k.flags = 0x3F;
  k.iodc = -3;
  k.toc = 201592;
  k.ura = -2;
  k.health = 200;
  k.af2 = 1e-20f;
  k.af1 = -2e-12f;
  k.inc0 = 0.3;
  k.omega0 = -0.5;
  k.per = 0.25;
  k.deln = 1.5e-9f;
  k.omDot = -2.5e-9f;
  k.iDot = 3.5e-10f;
  k.crs = -12.5f;
  k.cuc = 1e-6f;
  k.cus = 2e-6f;
  k.cic = 3e-7f;
  k.cis = -4e-7f;
  LogBuilder b = Dated();
  b.Frame("GE", GePayload(k));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const auto recs = GpsRecords();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].sv, 7);
  EXPECT_EQ(std::memcmp(&recs[0].body.k, &k, sizeof k), 0);
  EXPECT_EQ(Seconds(recs[0].time), kWeekStart + 201600);
  EXPECT_TRUE(ui.lit[static_cast<int>(Indicator::EphGps)]);
  EXPECT_FALSE(ui.lit[static_cast<int>(Indicator::EphGal)]);
}

TEST_F(EphemerisMessagesTest, EveryEnFieldReachesTheRecord) {
  GalEphBody g{};
  g.k = SampleKepler(11, kWeek, 200000, 201600);
  g.k.health = 0xFE;
  g.bcdA = 1.5e-9f;
  g.bcdB = -2.5e-9f;
  g.ai0 = 40.25f;
  g.ai1 = 0.125f;
  g.ai2 = -0.0625f;
  g.sfi = 5;
  LogBuilder b = Dated();
  b.Frame("EN", EnPayload(g));
  ASSERT_TRUE(ScanLog(b));
  const auto recs = GalRecords();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].sv, 11);
  EXPECT_EQ(std::memcmp(&recs[0].body, &g, sizeof g), 0);
  EXPECT_TRUE(GpsRecords().empty());
  EXPECT_TRUE(ui.lit[static_cast<int>(Indicator::EphGal)]);
}

struct ToeCase {
  uint32_t tow;
  int32_t toe;
  int32_t storedToe;
};

class ToeNormalisation : public EphemerisMessagesTest,
                         public ::testing::WithParamInterface<ToeCase> {};

TEST_P(ToeNormalisation, ToeIsBroughtNearTow) {
  const ToeCase c = GetParam();
  LogBuilder b = Dated();
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, c.tow, c.toe)));
  ASSERT_TRUE(ScanLog(b));
  const auto recs = GpsRecords();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].body.k.toe, c.storedToe);
  EXPECT_EQ(Seconds(recs[0].time), kWeekStart + c.storedToe);
  EXPECT_EQ(recs[0].body.k.wn, kWeek);  // the week stays as received
  EXPECT_EQ(NormaliseToe(kWeek, c.tow, c.toe).toe, c.storedToe);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToeNormalisation,
    ::testing::Values(ToeCase{604000, 0, 604800},       // start of the next week
                      ToeCase{100, 604000, -800},       // end of the previous week
                      ToeCase{100000, 300000, 300000},  // both steps fire
                      ToeCase{300000, 100000, 704800},  // only the second step fires
                      ToeCase{200000, 300000, 300000},  // exactly 100000 apart: kept
                      ToeCase{300000, 200000, 200000}));

TEST_F(EphemerisMessagesTest, NormalisedTimeOfNextWeekStartsThatWeek) {
  LogBuilder b = Dated();
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, 604000, 0)));
  ASSERT_TRUE(ScanLog(b));
  const TimeRec t = GpsRecords().at(0).time;
  EXPECT_EQ(t.year, 2009);
  EXPECT_EQ(t.month, 6);
  EXPECT_EQ(t.day, 28);  // Sunday
  EXPECT_EQ(t.hour, 0);
}

// The receiver time of day 00:01:40 and an ephemeris sent at 23:53:20 of Tuesday: the log's
// first epoch lies after midnight, on Wednesday.
LogBuilder UndatedLog(uint32_t receiverMs) {
  LogBuilder b;
  b.Header().Time(receiverMs).Sats({5});
  return b;
}
constexpr uint32_t kTuesdayLate = 2 * 86400 + 86000;

TEST_F(EphemerisMessagesTest, GpsEphemerisDatesTheLogAcrossMidnightForward) {
  LogBuilder b = UndatedLog(100000);
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, kTuesdayLate, 2 * 86400 + 86400)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ui.dateLabels, ElementsAre("24/06/2009"));
  EXPECT_EQ(ctx.epoch.DayNumber, At(2009, 6, 24) / 86400);
  EXPECT_TRUE(ErrorLines().empty());
}

TEST_F(EphemerisMessagesTest, GpsEphemerisDatesTheLogAcrossMidnightBackward) {
  LogBuilder b = UndatedLog(86340000);  // 23:59:00
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, 3 * 86400 + 600, 3 * 86400 + 7200)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ui.dateLabels, ElementsAre("23/06/2009"));  // the day before the ephemeris day
}

TEST_F(EphemerisMessagesTest, EphemerisFromMemoryDatesOnlyAsGalileo) {
  KeplerEphFields k = SampleKepler(3, kWeek, kTuesdayLate, 2 * 86400 + 86400);
  k.flags = 0x40;
  LogBuilder gps = UndatedLog(100000);
  gps.Frame("GE", GePayload(k));
  ASSERT_TRUE(ScanLog(gps));
  EXPECT_TRUE(ui.dateLabels.empty());
  EXPECT_EQ(ctx.epoch.DayNumber, 0);
  EXPECT_EQ(GpsRecords().size(), 1u);  // stored all the same

  GalEphBody g{};
  g.k = k;
  LogBuilder gal = UndatedLog(100000);
  gal.Frame("EN", EnPayload(g));
  ASSERT_TRUE(ScanLog(gal));
  EXPECT_THAT(ui.dateLabels, ElementsAre("24/06/2009"));
}

TEST_F(EphemerisMessagesTest, NoDateBeforeAnyReceiverTime) {
  LogBuilder b;
  b.Header().Frame("GE", GePayload(SampleKepler(3, kWeek, kTuesdayLate, 3 * 86400)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ui.dateLabels.empty());
  EXPECT_EQ(ctx.epoch.DayNumber, 0);
}

TEST_F(EphemerisMessagesTest, BadSatelliteStillDatesTheLog) {
  LogBuilder b = UndatedLog(100000);
  b.Frame("GE", GePayload(SampleKepler(33, kWeek, kTuesdayLate, 3 * 86400)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ui.dateLabels, ElementsAre("24/06/2009"));
  EXPECT_THAT(ErrorTexts(), ElementsAre(" Erroneous N Satellite = 33"));
  EXPECT_THAT(ErrorLines()[0], HasSubstr("Error in GE message"));
  EXPECT_TRUE(GpsRecords().empty());
  EXPECT_FALSE(ui.lit[static_cast<int>(Indicator::EphGps)]);
}

TEST_F(EphemerisMessagesTest, GeneratedDateReportsUnderItsOwnName) {
  session.SetToday({2009, 6, 1});  // the ephemeris day lies in the future
  LogBuilder b = UndatedLog(100000);
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, kTuesdayLate, 3 * 86400)));
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(ErrorLines().size(), 1u);
  EXPECT_THAT(ErrorLines()[0],
              HasSubstr("Error in RD message :  RD is greater then current date: 2009 6 24"));
  EXPECT_EQ(GpsRecords().size(), 1u);
}

TEST_F(EphemerisMessagesTest, Satellite0IsRefused) {
  GalEphBody g{};
  g.k = SampleKepler(0, kWeek, 100, 200);
  LogBuilder b = Dated();
  b.Frame("EN", EnPayload(g));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorTexts(), ElementsAre(" Erroneous N Satellite = 0"));
  EXPECT_TRUE(GalRecords().empty());
}

TEST_F(EphemerisMessagesTest, UtcWeekIsTakenOnceFromTheFirstEphemerisAfterUo) {
  LogBuilder b = Dated();
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, 100000, 100000)));  // before any UO
  b.Frame("UO", Uo(99, 15));
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, 100000, 108000)));
  b.Frame("GE", GePayload(SampleKepler(4, kWeek + 1, 100000, 108000)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(int{ctx.utc.wnt}, kWeek);
  EXPECT_TRUE(ctx.utcWeekFromEphemeris);
  ASSERT_EQ(Epochs().size(), 1u);
  EXPECT_EQ(Epochs()[0].utc.wnt, kWeek);  // the epoch carries the replaced week
}

TEST_F(EphemerisMessagesTest, LaterUoKeepsItsWeek) {
  GalEphBody g{};
  g.k = SampleKepler(5, kWeek, 100000, 108000);
  LogBuilder b = Dated();
  b.Frame("UO", Uo(99, 15)).Frame("EN", EnPayload(g)).Frame("UO", Uo(98, 15));
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, 200000, 208000)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(int{ctx.utc.wnt}, 98);
  // A new scan starts without the replacement done.
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(int{ctx.utc.wnt}, 98);
  EXPECT_EQ(GalRecords().size(), 1u);
}

TEST_F(EphemerisMessagesTest, RepeatedEphemerisIsStoredOncePerSatellite) {
  LogBuilder b = Dated();
  for (int i = 0; i < 10; ++i) {
    b.Frame("GE", GePayload(SampleKepler(3, kWeek, 100000 + 6 * i, 108000)));
    b.Frame("GE", GePayload(SampleKepler(4, kWeek, 100000 + 6 * i, 108000)));
  }
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, 110000, 115200)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(GpsRecords().size(), 3u);
  EXPECT_EQ(ctx.ephemerides.Count(SatSystem::Gps, 3), 2);
  EXPECT_EQ(ctx.ephemerides.Count(SatSystem::Gps, 4), 1);
  ASSERT_TRUE(ScanLog(Dated()));  // counts belong to one scan
  EXPECT_EQ(ctx.ephemerides.Count(SatSystem::Gps, 3), 0);
}

// ---- short and damaged bodies ----

struct ShortCase {
  const char* id;
  int minLength;
};

class ShortEphemeris : public EphemerisMessagesTest,
                       public ::testing::WithParamInterface<ShortCase> {};

TEST_P(ShortEphemeris, StoresNothingAndGoesOn) {
  const ShortCase c = GetParam();
  LogBuilder b = UndatedLog(100000);
  b.Frame(c.id, std::string(20, '\x05'));
  b.Frame("GE", GePayload(SampleKepler(3, kWeek, kTuesdayLate, 3 * 86400)));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorTexts(),
              ElementsAre("Length of message = 21 but must be >= " + std::to_string(c.minLength)));
  EXPECT_EQ(GpsRecords().size(), 1u);  // the frame after it is decoded
  EXPECT_EQ(ctx.ephemerides.Count(SatSystem::Gps, 5), 0);
  EXPECT_THAT(ui.dateLabels, ElementsAre("24/06/2009"));  // dated by the good GE only
}

INSTANTIATE_TEST_SUITE_P(Messages, ShortEphemeris,
                         ::testing::Values(ShortCase{"GE", 123}, ShortCase{"EN", 144},
                                           ShortCase{"NE", 80}, ShortCase{"WE", 71}));

TEST_F(EphemerisMessagesTest, BadChecksumRejectsTheFrame) {
  for (const char* id : {"GE", "NE", "WE"}) {
    std::string payload = id[0] == 'G'   ? GePayload(SampleKepler(3, kWeek, 100, 200))
                          : id[0] == 'N' ? NePayload(SampleGlonass(3, 100, 43200))
                                         : WePayload(SampleSbas(122, 100000, 100, 1537));
    std::string frame = BuildFrame(id, payload);
    frame.back() ^= 0x55;
    LogBuilder b = Dated();
    b.Bytes(frame + "\r\n");
    ASSERT_TRUE(ScanLog(b));
    EXPECT_THAT(ErrorTexts(), ElementsAre(" Bad Checksum   ")) << id;
    EXPECT_TRUE(GpsRecords().empty() && GloRecords().empty() && GeoRecords().empty()) << id;
  }
}

// ---- NE ----

TEST_F(EphemerisMessagesTest, EveryNeFieldReachesTheRecord) {
  GloEphBody g = SampleGlonass(8, 732, 11700);
  g.health = 0x1F;
  g.age = 6;
  g.flags = 0x7F;
  g.tk = 11670;
  g.v[2] = 1.75f;
  g.w[0] = 1.86e-9f;
  g.w[2] = -9.3e-10f;
  g.tauSys = 9.3132257462e-10;
  g.gamma = 1.8e-12f;
  LogBuilder b = Dated(2022, 1, 1);
  b.Frame("NE", NePayload(g));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const auto recs = GloRecords();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].sv, 8);
  EXPECT_EQ(std::memcmp(&recs[0].body, &g, sizeof g), 0);
  EXPECT_EQ(Seconds(recs[0].time), At(2022, 1, 1, 0, 15));  // 03:15 GLONASS time is 00:15 UTC
  EXPECT_TRUE(ui.lit[static_cast<int>(Indicator::EphGlo)]);
}

struct GloTimeCase {
  int year, month, day;  // receiver date
  int16_t dne;
  int32_t tb;
  int8_t dtls;
  uint32_t expected;
};

class GlonassTime : public ::testing::TestWithParam<GloTimeCase> {};

TEST_P(GlonassTime, DayOfThePeriodAndTimeOfDay) {
  const GloTimeCase c = GetParam();
  const int64_t dayNumber = At(c.year, c.month, c.day) / 86400;
  EXPECT_EQ(GlonassReferenceTime(dayNumber, c.dne, c.tb, c.dtls), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GlonassTime,
    ::testing::Values(
        // 2008 starts a period; day 367 belongs to the previous one: 1 January 2005.
        GloTimeCase{2008, 5, 1, 367, 43200, 15, At(2005, 1, 1, 9)},
        GloTimeCase{2008, 5, 1, 122, 43200, 15, At(2008, 5, 1, 9)},
        // 31 December 2011, day 1 lies in the next period: 1 January 2012.
        GloTimeCase{2011, 12, 31, 1, 43200, 15, At(2012, 1, 1, 9)},
        GloTimeCase{2011, 12, 31, 1461, 43200, 15, At(2011, 12, 31, 9)},
        // Before 3 h less the leap seconds the time belongs to the next day.
        GloTimeCase{2009, 6, 23, 540, 3600, 15, At(2009, 6, 23, 22)},
        GloTimeCase{2009, 6, 23, 540, 10800, 15, At(2009, 6, 23)},
        GloTimeCase{2009, 6, 23, 540, 10790, 15, At(2009, 6, 22, 23, 59, 50)},
        GloTimeCase{2009, 6, 23, 540, 10790, 0, At(2009, 6, 23, 23, 59, 50)}));

TEST_F(EphemerisMessagesTest, LeapSecondsOfTheLastUoMoveTheDayLimit) {
  // tb = 10790 is before 3 h without leap seconds, after 2:59:45 with 15 of them.
  LogBuilder b = Dated(2009, 6, 23);
  b.Frame("NE", NePayload(SampleGlonass(1, 540, 10790)));
  b.Frame("UO", Uo(1537, 15));
  b.Frame("NE", NePayload(SampleGlonass(2, 540, 10790)));
  ASSERT_TRUE(ScanLog(b));
  const auto recs = GloRecords();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(Seconds(recs[0].time), At(2009, 6, 23, 23, 59, 50));
  EXPECT_EQ(Seconds(recs[1].time), At(2009, 6, 22, 23, 59, 50));
}

TEST_F(EphemerisMessagesTest, GlonassNeedsTheReceiverDate) {
  LogBuilder b;
  b.Header().Frame("NE", NePayload(SampleGlonass(1, 540, 43200)));
  b.Date(2009, 6, 23).Frame("NE", NePayload(SampleGlonass(1, 540, 43200)));
  b.Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(GloRecords().size(), 1u);
}

TEST_F(EphemerisMessagesTest, GlonassMissingSlotOrDayAndBadSlots) {
  LogBuilder b;
  b.Header();
  b.Frame("NE", NePayload(SampleGlonass(255, 540, 43200)));  // reported even without a date
  b.Date(2009, 6, 23);
  b.Frame("NE", NePayload(SampleGlonass(3, 32767, 43200)));
  b.Frame("NE", NePayload(SampleGlonass(0, 540, 43200)));
  b.Frame("NE", NePayload(SampleGlonass(25, 540, 43200)));
  b.Frame("NE", NePayload(SampleGlonass(24, 540, 43200)));
  b.Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorTexts(), ElementsAre(" Bad GLONASS ephemeris. Missing SV number or day.",
                                        " Bad GLONASS ephemeris. Missing SV number or day.",
                                        "Errneous N Satellite", "Errneous N Satellite"));
  ASSERT_EQ(GloRecords().size(), 1u);
  EXPECT_EQ(ctx.ephemerides.Count(SatSystem::Glonass, 24), 1);
}

// ---- WE ----

TEST_F(EphemerisMessagesTest, EveryWeFieldReachesTheRecord) {
  GeoEphBody g = SampleSbas(122, 172800500, 43200, 1537);
  g.r[1] = -1234.5;
  g.r[2] = 7.25;
  g.v[1] = -0.5f;
  g.w[2] = 1e-3f;
  g.aGf1 = -9e-12f;
  LogBuilder b = Dated();
  b.Frame("WE", WePayload(g));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  const auto recs = GeoRecords();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].sv, 122);
  EXPECT_EQ(recs[0].svAux, 1);
  EXPECT_EQ(recs[0].zero, 0);
  EXPECT_EQ(std::memcmp(&recs[0].body, &g, sizeof g), 0);
  // 172800.5 s rounds to the even 172800: Tuesday, plus the reference time of day 12:00.
  EXPECT_EQ(Seconds(recs[0].time), kWeekStart + 216000);
  EXPECT_EQ(ctx.ephemerides.Count(SatSystem::Sbas, 22), 1);
  EXPECT_TRUE(ui.lit[static_cast<int>(Indicator::EphSbas)]);
}

TEST(SbasTime, TimeOfWeekIsRoundedToEvenSeconds) {
  EXPECT_EQ(SbasReferenceTime(172800500, 43200, 1537), kWeekStart + 216000);
  EXPECT_EQ(SbasReferenceTime(172801500, 43200, 1537), kWeekStart + 216000);
  EXPECT_EQ(SbasReferenceTime(259199500, 0, 1537), kWeekStart + 259200);  // rounds into Wednesday
  EXPECT_EQ(SbasReferenceTime(1000, 100, 513), 1537u * 604800 + 100);     // week unwrapped
}

TEST_F(EphemerisMessagesTest, SbasBeforeTheDateIsDroppedAndBadNumbersReported) {
  LogBuilder b;
  b.Header().Frame("WE", WePayload(SampleSbas(122, 100000, 100, 1537)));
  b.Date(2009, 6, 23).Frame("WE", WePayload(SampleSbas(122, 100000, 100, 1537)));
  b.Frame("WE", WePayload(SampleSbas(119, 100000, 100, 1537)));
  b.Frame("WE", WePayload(SampleSbas(139, 100000, 100, 1537)));
  b.Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorTexts(),
              ElementsAre(" Erroneous N Satellite = 119", " Erroneous N Satellite = 139"));
  EXPECT_EQ(GeoRecords().size(), 1u);
}

}  // namespace
}  // namespace vnx::test
