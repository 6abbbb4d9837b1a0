// A log built from real broadcast ephemerides (OPEC, 2022-01-01, GPS and GLONASS navigation
// files): one record per distinct ephemeris and satellite, and the view's texts show the values
// of the navigation records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "controls/control_names.h"
#include "engine/time/gps_time.h"
#include "engine/views/ephemeris_text.h"
#include "support/ephemeris_frames.h"
#include "support/rinex_nav_frames.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

const std::string kDataDir = std::string(VNX_SOURCE_DIR) + "/tests/data/real/";

class RealNavigationTest : public ScanFixture {
 protected:
  static void SetUpTestSuite() {
    gpsNav = new RinexNav(ReadRinex3Nav(kDataDir + "OPEC00NOR_S_20220010000_01D_GN.rnx"));
    gloNav = new RinexNav(ReadRinex3Nav(kDataDir + "OPEC00NOR_S_20220010000_01D_RN.rnx"));
  }
  static void TearDownTestSuite() {
    delete gpsNav;
    delete gloNav;
  }

  // The receiver repeats each ephemeris: every record is logged three times in a row, the
  // records of each system in the order of their reference times.
  static LogBuilder BuildLog() {
    std::vector<RinexGpsRecord> gps = gpsNav->gps;
    std::stable_sort(gps.begin(), gps.end(),
                     [](const auto& a, const auto& b) { return ToeSeconds(a) < ToeSeconds(b); });
    std::vector<RinexGloRecord> glo = gloNav->glonass;
    std::stable_sort(glo.begin(), glo.end(),
                     [](const auto& a, const auto& b) { return GloKey(a) < GloKey(b); });
    LogBuilder b;
    b.Header().Date(2022, 1, 1).Time(0).Sats({5}).Frame("UO", UoPayload(*gpsNav));
    for (const auto& r : gps)
      for (int i = 0; i < 3; ++i) b.Frame("GE", GePayload(GeFields(r)));
    for (const auto& r : glo)
      for (int i = 0; i < 3; ++i) b.Frame("NE", NePayload(NeFields(r, gloNav->glonassTauC)));
    return b;
  }

  static int64_t GloKey(const RinexGloRecord& r) {
    return TGPSTime::FromCalendar(r.year, r.month, r.day, r.hour, r.minute, r.second).Seconds();
  }

  static std::string Text(const EphemerisPage& page, const std::string& control) {
    for (const auto& [name, text] : NameEphemerisTexts(page.system, page.texts))
      if (name == control) return text;
    return "(none)";
  }
  // The number after the label of a float text.
  static double Value(const EphemerisPage& page, const std::string& control) {
    const std::string t = Text(page, control);
    return std::stod(t.substr(t.find_last_of(' ') + 1));
  }

  static RinexNav* gpsNav;
  static RinexNav* gloNav;
};

RinexNav* RealNavigationTest::gpsNav = nullptr;
RinexNav* RealNavigationTest::gloNav = nullptr;

TEST_F(RealNavigationTest, OneRecordPerDistinctEphemeris) {
  ASSERT_GT(gpsNav->gps.size(), 150u);
  ASSERT_GT(gloNav->glonass.size(), 2000u);
  ASSERT_TRUE(ScanLog(BuildLog()));
  EXPECT_TRUE(ErrorLines().empty());

  std::map<int, std::set<int64_t>> gpsTimes, gloTimes;
  for (const auto& r : gpsNav->gps) gpsTimes[r.prn].insert(ToeSeconds(r));
  for (const auto& r : gloNav->glonass) gloTimes[r.slot].insert(GloKey(r));
  size_t gpsTotal = 0, gloTotal = 0;
  for (int n = 1; n <= 32; ++n) {
    EXPECT_EQ(static_cast<size_t>(ctx.ephemerides.Count(SatSystem::Gps, n)), gpsTimes[n].size())
        << "G" << n;
    gpsTotal += gpsTimes[n].size();
  }
  for (int n = 1; n <= 24; ++n) {
    EXPECT_EQ(static_cast<size_t>(ctx.ephemerides.Count(SatSystem::Glonass, n)), gloTimes[n].size())
        << "R" << n;
    gloTotal += gloTimes[n].size();
  }
  EXPECT_LT(gloTotal, gloNav->glonass.size());  // the file repeats ephemerides itself
  EXPECT_EQ(std::filesystem::file_size(ctx.files.PathOf(vnx::WorkFile::EphemGPS)),
            gpsTotal * sizeof(EphemGPSRec));
  EXPECT_EQ(std::filesystem::file_size(ctx.files.PathOf(vnx::WorkFile::EphemGLO)),
            gloTotal * sizeof(EphemGLORec));
}

// G30 2022 01 01 02 00 00 in the GPS file.
TEST_F(RealNavigationTest, GpsTextsShowTheNavigationRecord) {
  ASSERT_TRUE(ScanLog(BuildLog()));
  const EphemerisPage page = FillEphemerisPage(ctx.files, ctx.ephemerides, SatSystem::Gps, 30, 1);
  ASSERT_EQ(page.outcome, EphPageOutcome::Filled);
  EXPECT_EQ(Text(page, "STDate"), " Date  1\\1\\2022");
  EXPECT_EQ(Text(page, "STTime"), " Time  2:0:0.000");
  EXPECT_EQ(Text(page, "STtoe"), " Ephemeris reference time (toe) [s]     525600");
  EXPECT_EQ(Text(page, "STwn"), " Week number (wn)     2190");
  EXPECT_EQ(Text(page, "STIODE"), " Issue of data, ephemeris (IODE)     94");
  EXPECT_EQ(Text(page, "STIODC"), " Issue of data, clock (IODC)     94");
  EXPECT_EQ(Text(page, "STrootA"),
            " Square root of the semi-major axis [m^0.5]     5153.595811844");
  EXPECT_EQ(Text(page, "STecc"), " Eccentricity     0.005383261595853");
  EXPECT_EQ(Text(page, "STcrc"), " Cosine correction to radius [m]     204.5625");
  EXPECT_EQ(Text(page, "STcrs"), " Sine correction to radius [m]     -8.65625");
  EXPECT_NEAR(Value(page, "STm0") * 3.1415926535898, -2.315157581206E-01, 1e-13);
  EXPECT_NEAR(Value(page, "STaf0"), -5.035293288529E-04, 1e-11);
  EXPECT_NEAR(Value(page, "STcus"), 8.381903171539E-06, 1e-13);
}

// R08 2022 01 01 00 15 00 in the GLONASS file.
TEST_F(RealNavigationTest, GlonassTextsShowTheNavigationRecord) {
  ASSERT_TRUE(ScanLog(BuildLog()));
  const EphemerisPage page =
      FillEphemerisPage(ctx.files, ctx.ephemerides, SatSystem::Glonass, 8, 1);
  ASSERT_EQ(page.outcome, EphPageOutcome::Filled);
  EXPECT_EQ(Text(page, "STEphem"), "GLONASS Ephemeris  sv= 8   N=1");
  EXPECT_EQ(Text(page, "STDateGLO"), " Date  1\\1\\2022");
  EXPECT_EQ(Text(page, "STTimeGLO"), " Time  0:15:0.000  (UTC)");
  EXPECT_EQ(Text(page, "STtb"), " Ephemeris reference time [s]     11700");
  EXPECT_EQ(Text(page, "STfrqNum"), " SV frequency channel number [-7..24]     6");
  EXPECT_EQ(Text(page, "STr1"), " r[1]     7423.335449219");
  EXPECT_EQ(Text(page, "STr2"), " r[2]     13748.86572266");
  EXPECT_EQ(Text(page, "STr3"), " r[3]     20222.99023438");
  EXPECT_NEAR(Value(page, "STv1"), -2.488239288330, 1e-6);
  EXPECT_NEAR(Value(page, "STtau"), 6.282329559326E-05, 1e-12);
  EXPECT_EQ(Text(page, "STtauSys"), " Time correction to GLONASS time scale     9.3132257462E-10");
}

// Every GLONASS ephemeris lands at the UTC time of its navigation record, also those whose
// reference time lies before 03:00 on the GLONASS scale.
TEST_F(RealNavigationTest, GlonassReferenceTimesAreTheRecordTimes) {
  ASSERT_TRUE(ScanLog(BuildLog()));
  std::map<int, std::vector<int64_t>> expected;
  for (const auto& r : gloNav->glonass) expected[r.slot].push_back(GloKey(r));
  for (auto& [slot, times] : expected) {
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    for (size_t i = 0; i < times.size(); i += 7) {
      const EphemerisPage page = FillEphemerisPage(ctx.files, ctx.ephemerides, SatSystem::Glonass,
                                                   slot, static_cast<int32_t>(i + 1));
      const TGPSTime t(static_cast<uint32_t>(times[i]));
      EXPECT_EQ(Text(page, "STTimeGLO"),
                " Time  " + EphTimeText(t.Hour(), t.Minute(), t.Second()) + "  (UTC)")
          << "R" << slot << " N=" << i + 1;
    }
  }
}

}  // namespace
}  // namespace vnx::test
