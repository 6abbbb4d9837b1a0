// The Ephemeris view's texts: the float, date and time forms, the labels of each page control,
// and the record finder with its messages.
#include "engine/views/ephemeris_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "controls/control_names.h"
#include "engine/time/gps_time.h"
#include "support/ephemeris_frames.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

struct FloatCase {
  double value;
  const char* text;
};

class EphFloat : public ::testing::TestWithParam<FloatCase> {};

TEST_P(EphFloat, GeneralForm) {
  EXPECT_EQ(EphFloatText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EphFloat,
    ::testing::Values(FloatCase{0, "0"}, FloatCase{2.5, "2.5"}, FloatCase{100, "100"},
                      FloatCase{-0.5, "-0.5"}, FloatCase{1.5e-7, "1.5E-7"},
                      FloatCase{1e-5, "0.00001"}, FloatCase{9.9e-6, "9.9E-6"},
                      FloatCase{0.000123, "0.000123"}, FloatCase{1.0 / 3, "0.333333333333333"},
                      FloatCase{5153.595811844, "5153.595811844"},
                      FloatCase{123456789012345.0, "123456789012345"},
                      FloatCase{1234567890123456.0, "1.23456789012346E15"},
                      FloatCase{999999999999999.9, "1E15"},  // rounds up to 16 digits
                      FloatCase{0.99999999999999999, "1"}, FloatCase{1e20, "1E20"},
                      FloatCase{-2.728484105319e-12, "-2.728484105319E-12"},
                      // single floats are widened exactly before formatting
                      FloatCase{static_cast<double>(0.1f), "0.100000001490116"},
                      FloatCase{static_cast<double>(-3.0f / (1 << 28)), "-1.11758708953857E-8"}));

// Sets LC_NUMERIC to a locale with a decimal comma: an installed one, or one compiled into
// `dir` for this test.
bool UseCommaLocale(const TempDir& dir) {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) return true;
  const std::string cmd =
      "localedef -i de_DE -f UTF-8 " + dir.path() + "/de_DE.UTF-8 > /dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return false;
  ::setenv("LOCPATH", dir.path().c_str(), 1);
  const bool ok = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  ::unsetenv("LOCPATH");
  return ok;
}

TEST(EphFloatLocale, DecimalSeparatorFollowsLcNumeric) {
  TempDir dir;
  if (!UseCommaLocale(dir)) GTEST_SKIP() << "no locale with a decimal comma available";
  const std::string comma2_5 = EphFloatText(2.5);
  const std::string comma1_5e7 = EphFloatText(1.5e-7);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(comma2_5, "2,5");
  EXPECT_EQ(comma1_5e7, "1,5E-7");
  EXPECT_EQ(EphFloatText(2.5), "2.5");
}

TEST(EphTexts, DateAndTimeWithoutLeadingZeros) {
  EXPECT_EQ(EphDateText(2009, 3, 5), "5\\3\\2009");
  EXPECT_EQ(EphTimeText(7, 5, 0), "7:5:0.000");
  EXPECT_EQ(EphTimeText(23, 59, 59), "23:59:59.000");
}

EphemGPSRec SampleGpsRecord() {
  EphemGPSRec r{};
  r.sv = 5;
  KeplerEphFields& k = r.body.k;
  k = SampleKepler(5, 1537, 345600, 352800);
  k.flags = 0x55;
  k.toc = 352800;
  k.ura = 2;
  k.tgd = -3.0f / (1 << 28);
  k.af2 = 0;
  k.af1 = -2.728484105319e-12f;
  k.af0 = -5.0352933e-04f;
  k.m0 = -0.0736923;
  k.omega0 = 0.672612;
  k.inc0 = 0.2979;
  k.per = -0.87578;
  k.deln = 1.5e-9f;
  k.omDot = -2.6e-9f;
  k.iDot = 1e-10f;
  k.crs = -8.65625f;
  k.cuc = -4.135072231293e-07f;
  k.cus = 8.381903171539e-06f;
  k.cic = 4.284083843231e-08f;
  k.cis = 1.154839992523e-07f;
  r.time = TimeRecFromTime(TGPSTime(1537u * 604800 + 352800));
  return r;
}

const ControlTexts kGpsTexts{
    {"STEphem", "GPS Ephemeris  sv = 5   N=2"},
    {"STTimeWeek", " Time of week [s]     345600"},
    {"STDate", " Date  25\\6\\2009"},
    {"STTime", " Time  2:0:0.000"},
    {"STCurvFitInt", " Curve fit interval     1"},
    {"STDatFlagL2P", " Data flag for L2 P-code     0"},
    {"STCodeL2P", " Code on L2 channel     1"},
    {"STASFlag", " Anti-spoof flag (from HOW)     1"},
    {"STAlert", " 'Alert' flag (from HOW)     0"},
    {"STFromMem", " Retrieved from non-volatile memory     1"},
    {"STIODC", " Issue of data, clock (IODC)     94"},
    {"STRefTime", " Clock data reference time (toc) [s]     352800"},
    {"STURA", " User range accuracy (URA)     2"},
    {"SThealth", " Satellite health (healthS)     0"},
    {"STwn", " Week number (wn)     1537"},
    {"STGdelay", " Estimated group delay differential (tgd) [s]     -1.11758708953857E-8"},
    {"STaf2", "Af2 [s/(s^2)]     0"},
    {"STaf1", "Af1 [s/s]     -2.72848410531878E-12"},
    {"STaf0", "Af0 [s]     -0.000503529328852892"},
    {"STtoe", " Ephemeris reference time (toe) [s]     352800"},
    {"STIODE", " Issue of data, ephemeris (IODE)     94"},
    {"STrootA", " Square root of the semi-major axis [m^0.5]     5153.595811844"},
    {"STecc", " Eccentricity     0.005383261595853"},
    {"STm0", " Mean anomaly at reference time (wn,toe) [semi-circles]     -0.0736923"},
    {"STomega0", " Longitude of ascending node  [semi-circles]     0.672612"},
    {"STinc0", " Inclination angle at reference time  [semi-circles]     0.2979"},
    {"STPer", " Argument of perigee  [semi-circles]     -0.87578"},
    {"STdeln", " Mean motion difference from computed [semi-circles/s]     1.50000001308825E-9"},
    {"STomDot", " Rate of right ascension [semi-circles/s]     -2.59999999308036E-9"},
    {"STiDot", " Rate of inclination angle [semi-circles/s]     1.00000001335143E-10"},
    {"STcrc", " Cosine correction to radius [m]     204.5625"},
    {"STcrs", " Sine correction to radius [m]     -8.65625"},
    {"STcuc", " Cosine correction to latitude [rad]     -4.13507223129272E-7"},
    {"STcus", " Sine correction to latitude [rad]     8.38190317153931E-6"},
    {"STcic", " Cosine correction to inclination [rad]     4.2840838432312E-8"},
    {"STcis", " Sine correction to inclination [rad]     1.15483999252319E-7"},
};

TEST(EphTexts, GpsPage) {
  EXPECT_EQ(NameEphemerisTexts(SatSystem::Gps, GpsEphemerisTexts(SampleGpsRecord(), 2)), kGpsTexts);
}

TEST(EphTexts, GalileoPageUsesItsOwnControlsAndSignedHealth) {
  EphemGALRec r{};
  const EphemGPSRec g = SampleGpsRecord();
  r.sv = 5;
  r.time = g.time;
  r.body.k = g.body.k;
  r.body.k.health = 0xFF;
  r.body.bcdA = 1.5e-9f;
  r.body.bcdB = 0;
  r.body.ai0 = 40.25f;
  r.body.ai1 = 0.125f;
  r.body.ai2 = -0.0625f;
  r.body.sfi = 200;
  ControlTexts expected{{"STEphem", "GAL Ephemeris  sv = 5   N=2"}};
  for (size_t i = 1; i < kGpsTexts.size(); ++i)
    expected.emplace_back(kGpsTexts[i].first + "E", kGpsTexts[i].second);
  expected[13].second = " Satellite health (healthS)     -1";
  expected.insert(expected.end(),
                  {{"STBCDa", "   Broadcast group delay E1-E5a               1.50000001308825E-9"},
                   {"STBCDb", "   Broadcast group delay E1-E5b               0"},
                   {"STai0", "   Effective ionization level ai0               40.25"},
                   {"STai1", "   Effective ionization level ai1               0.125"},
                   {"STai2", "   Effective ionization level ai2               -0.0625"},
                   {"STSFI", "   Ionospheric disturbance flags               200"}});
  EXPECT_EQ(NameEphemerisTexts(SatSystem::Galileo, GalEphemerisTexts(r, 2)), expected);
}

TEST(EphTexts, GlonassPage) {
  EphemGLORec r{};
  r.sv = 8;
  r.time = TimeRecFromTime(TGPSTime(TGPSTime::FromCalendar(2022, 1, 1, 0, 15, 0)));
  GloEphBody& b = r.body;
  b = SampleGlonass(8, 732, 11700);
  b.tk = 11670;
  b.health = 0x15;
  b.age = 6;
  b.flags = 0x5E;  // p1 2, p2 4, p3 8, Bn LSB 1, from memory 64
  b.v[1] = -1.5f;
  b.v[2] = 0.25f;
  b.w[0] = 1.86e-9f;
  b.w[2] = -1;
  b.tauSys = 9.3132257462e-10;
  b.gamma = 1.8e-12f;
  EXPECT_EQ(NameEphemerisTexts(SatSystem::Glonass, GloEphemerisTexts(r, 1)),
            (ControlTexts{
                {"STEphem", "GLONASS Ephemeris  sv= 8   N=1"},
                {"STtk", " Frame start time within current day [s]     11670"},
                {"STfrqNum", " SV frequency channel number [-7..24]     -7"},
                {"STdne", " Day number within 4-year period     732"},
                {"STHeal0", " MSB taken from Bn word     1"},
                {"STHeal1", " 'tau' and 'gamma' may be wrong     0"},
                {"STHeal2", " 'r[3]' 'v[3]' may be wrong     1"},
                {"STHeal3", " SV health status from almanac     0"},
                {"STHeal4", " SV health status from almanac is available     1"},
                {"STtb", " Ephemeris reference time [s]     11700"},
                {"STDateGLO", " Date  1\\1\\2022"},
                {"STTimeGLO", " Time  0:15:0.000  (UTC)"},
                {"STw1", " w[1]     1.86000004287479E-9"},
                {"STw2", " w[2]     0"},
                {"STw3", " w[3]     -1"},
                {"STv1", " v[1]     -2.48823928833008"},
                {"STv2", " v[2]     -1.5"},
                {"STv3", " v[3]     0.25"},
                {"STr1", " r[1]     7423.335449219"},
                {"STr2", " r[2]     13748.86572266"},
                {"STr3", " r[3]     20222.99023438"},
                {"STage", " Age of operational information [days]     6"},
                {"STFlag01", " p1 word     2"},
                {"STFlag2", " p2 word     4"},
                {"STFlag3", " p3 word     8"},
                {"STFlag45", " LSB taken from Bn word     1"},
                {"STFlag6", "Retrieved from non-volatile memory     64"},
                {"STtauSys", " Time correction to GLONASS time scale     9.3132257462E-10"},
                {"STtau", " Correction to satellite clock [s]     0.0000628232955932617"},
                {"STgamma", " Rate of satellite clock offset [s/s]     1.80000003617564E-12"},
            }));
}

TEST(EphTexts, SbasPage) {
  EphemGEORec r{};
  r.sv = 122;
  r.svAux = 1;
  r.time = TimeRecFromTime(TGPSTime(1537u * 604800 + 216000));
  GeoEphBody& b = r.body;
  b = SampleSbas(122, 172800500, -1, 1537);
  b.r[1] = -1234.5;
  b.v[2] = -0.5f;
  b.w[2] = 1e-3f;
  b.aGf1 = -9e-12f;
  EXPECT_EQ(NameEphemerisTexts(SatSystem::Sbas, GeoEphemerisTexts(r, 3)),
            (ControlTexts{
                {"STEphem", "GEO Ephemeris  sv= 22   N=3"},
                {"STtodGEO", " Reference time (seconds of the day) [s]     4294967295"},
                {"STuraGEO", "  Accuracy code (URA)     3"},
                {"STiodGEO", " Issue of data                7"},
                {"STDateGEO", " Date  23\\6\\2009"},
                {"STTimeGEO", " Time  12:0:0.000"},
                {"STaGf0", " SV clock offset factor \"a0\" [s]   1.50000005305628E-7"},
                {"STaGf1", " SV clock offset factor \"a1\" [s/s]  -9.00000039771864E-12"},
                {"STwnGEO", "  GPS week                            1537"},
                {"STtowGEO", "  Time of GPS week                     172800500"},
                {"STw1GEO", " w[1]       0"},
                {"STw2GEO", " w[2]       0"},
                {"STw3GEO", " w[3]       0.00100000004749745"},
                {"STv1GEO", " v[1]       1.5"},
                {"STv2GEO", " v[2]       0"},
                {"STv3GEO", " v[3]       -0.5"},
                {"STr1GEO", " r[1]       40000000"},
                {"STr2GEO", " r[2]       -1234.5"},
                {"STr3GEO", " r[3]       0"},
            }));
}

// ---- the record finder, through a scanned log ----

class EphemerisPageTest : public ScanFixture {
 protected:
  static std::string Text(const EphemerisPage& page, const std::string& control) {
    for (const auto& [name, text] : NameEphemerisTexts(page.system, page.texts))
      if (name == control) return text;
    return "(none)";
  }
  EphemerisPage Fill(SatSystem s, int n, int ordinal) {
    return FillEphemerisPage(ctx.files, ctx.ephemerides, s, n, ordinal);
  }
  // Three ephemerides of GPS 5 (toe 0, 7200 and 14400 s into Tuesday), one of GPS 6, one of
  // SBAS 122.
  LogBuilder ThreeOfFive() {
    LogBuilder b;
    b.Header().Date(2009, 6, 23);
    for (int i = 0; i < 3; ++i) {
      const int32_t toe = 2 * 86400 + 7200 * i;
      b.Frame("GE", GePayload(SampleKepler(5, 1537, toe - 60, toe)));
      if (i == 0) b.Frame("GE", GePayload(SampleKepler(6, 1537, toe - 60, toe)));
      b.Frame("GE", GePayload(SampleKepler(5, 1537, toe - 30, toe)));  // repeated
    }
    b.Frame("WE", WePayload(SampleSbas(122, 172800000, 3600, 1537)));
    return b;
  }
};

TEST_F(EphemerisPageTest, NthEphemerisOfTheSatellite) {
  ASSERT_TRUE(ScanLog(ThreeOfFive()));
  const EphemerisPage page = Fill(SatSystem::Gps, 5, 2);
  EXPECT_EQ(page.outcome, EphPageOutcome::Filled);
  EXPECT_TRUE(page.messages.empty());
  EXPECT_EQ(Text(page, "STEphem"), "GPS Ephemeris  sv = 5   N=2");
  EXPECT_EQ(Text(page, "STtoe"), " Ephemeris reference time (toe) [s]     180000");
  EXPECT_EQ(Text(page, "STTime"), " Time  2:0:0.000");
  EXPECT_EQ(Text(Fill(SatSystem::Gps, 6, 1), "STtoe"),
            " Ephemeris reference time (toe) [s]     172800");
}

TEST_F(EphemerisPageTest, BeyondTheCountNothingIsDone) {
  ASSERT_TRUE(ScanLog(ThreeOfFive()));
  const EphemerisPage page = Fill(SatSystem::Gps, 5, 4);
  EXPECT_EQ(page.outcome, EphPageOutcome::Unchanged);
  EXPECT_TRUE(page.messages.empty());
  EXPECT_TRUE(page.texts.empty());
  EXPECT_EQ(Fill(SatSystem::Gps, 7, 1).outcome, EphPageOutcome::Unchanged);
}

TEST_F(EphemerisPageTest, SbasIsAddressedByButtonNumber) {
  ASSERT_TRUE(ScanLog(ThreeOfFive()));
  const EphemerisPage page = Fill(SatSystem::Sbas, 22, 1);
  EXPECT_EQ(page.outcome, EphPageOutcome::Filled);
  EXPECT_EQ(Text(page, "STEphem"), "GEO Ephemeris  sv= 22   N=1");
  EXPECT_EQ(Text(page, "STTimeGEO"), " Time  1:0:0.000");
  EXPECT_TRUE(EphButtonEnabled(ctx.ephemerides, SatSystem::Sbas, 22));
  EXPECT_FALSE(EphButtonEnabled(ctx.ephemerides, SatSystem::Sbas, 20));
}

TEST_F(EphemerisPageTest, MissingRecordIsReported) {
  ASSERT_TRUE(ScanLog(ThreeOfFive()));
  std::filesystem::resize_file(ctx.files.PathOf(vnx::WorkFile::EphemGPS), 184);
  const EphemerisPage page = Fill(SatSystem::Gps, 5, 2);
  EXPECT_EQ(page.outcome, EphPageOutcome::NotFound);
  EXPECT_THAT(page.messages, ElementsAre("Ephemeris 2 for SV G5  is not found"));
  EXPECT_TRUE(page.texts.empty());

  std::filesystem::resize_file(ctx.files.PathOf(vnx::WorkFile::EphemGEO), 0);
  EXPECT_THAT(Fill(SatSystem::Sbas, 22, 1).messages,
              ElementsAre("Ephemeris 1 for SV S22  is not found"));
}

TEST_F(EphemerisPageTest, FileThatCannotBeOpened) {
  ASSERT_TRUE(ScanLog(ThreeOfFive()));
  ::unlink(ctx.files.PathOf(vnx::WorkFile::EphemGPS).c_str());
  const EphemerisPage page = Fill(SatSystem::Gps, 6, 1);
  EXPECT_EQ(page.outcome, EphPageOutcome::NotFound);
  EXPECT_THAT(page.messages, ElementsAre("Error Opening File EphemGPSRecs.dat ! ",
                                         "Ephemeris 1 for SV G6  is not found"));
}

TEST_F(EphemerisPageTest, RecordsOfAnEarlierScanBehindAreNotShown) {
  ASSERT_TRUE(ScanLog(ThreeOfFive()));
  LogBuilder shorter;
  shorter.Header().Frame("GE", GePayload(SampleKepler(5, 1537, 500000, 500400)));
  ASSERT_TRUE(ScanLog(shorter));
  EXPECT_EQ(Text(Fill(SatSystem::Gps, 5, 1), "STtoe"),
            " Ephemeris reference time (toe) [s]     500400");
  EXPECT_EQ(Fill(SatSystem::Gps, 5, 2).outcome, EphPageOutcome::Unchanged);
  EXPECT_FALSE(EphButtonEnabled(ctx.ephemerides, SatSystem::Gps, 6));
}

TEST_F(EphemerisPageTest, NormalisedToeShowsThePreviousWeek) {
  LogBuilder b;
  b.Header().Frame("GE", GePayload(SampleKepler(9, 1537, 100, 604000)));
  ASSERT_TRUE(ScanLog(b));
  const EphemerisPage page = Fill(SatSystem::Gps, 9, 1);
  EXPECT_EQ(Text(page, "STtoe"), " Ephemeris reference time (toe) [s]     -800");
  EXPECT_EQ(Text(page, "STDate"), " Date  20\\6\\2009");
  EXPECT_EQ(Text(page, "STTime"), " Time  23:46:40.000");
}

TEST_F(EphemerisPageTest, ArrowsAndAutomaticSelection) {
  ASSERT_TRUE(ScanLog(ThreeOfFive()));
  const EphemerisStore& s = ctx.ephemerides;
  EXPECT_TRUE(EphMoreEnabled(s, SatSystem::Gps, 5, 1));
  EXPECT_TRUE(EphMoreEnabled(s, SatSystem::Gps, 5, 2));
  EXPECT_FALSE(EphMoreEnabled(s, SatSystem::Gps, 5, 3));
  EXPECT_FALSE(EphMoreEnabled(s, SatSystem::Gps, 6, 1));
  EXPECT_FALSE(EphLessEnabled(1));
  EXPECT_TRUE(EphLessEnabled(2));
  EXPECT_EQ(EphAutomaticSelection(s), std::make_pair(SatSystem::Gps, 5));

  LogBuilder glonassOnly;
  glonassOnly.Header().Date(2009, 6, 23);
  glonassOnly.Frame("NE", NePayload(SampleGlonass(17, 540, 43200)));
  glonassOnly.Frame("NE", NePayload(SampleGlonass(4, 540, 43200)));
  ASSERT_TRUE(ScanLog(glonassOnly));
  EXPECT_EQ(EphAutomaticSelection(s), std::make_pair(SatSystem::Glonass, 4));

  LogBuilder sbasOnly;
  sbasOnly.Header().Date(2009, 6, 23);
  sbasOnly.Frame("WE", WePayload(SampleSbas(122, 172800000, 3600, 1537)));
  ASSERT_TRUE(ScanLog(sbasOnly));
  EXPECT_EQ(EphAutomaticSelection(s), std::nullopt);
}

}  // namespace
}  // namespace vnx::test
