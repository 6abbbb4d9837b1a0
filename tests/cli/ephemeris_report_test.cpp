// vnx-check's ephemeris options: the selector, the counts per satellite and one ephemeris as
// the view shows it, run as users run them.
#include "cli/ephemeris_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "support/command_run.h"
#include "support/ephemeris_frames.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

using CheckRun = CommandRun;

CheckRun Check(const TempDir&, const std::string& args) {
  return RunCommand(std::string(VNX_CHECK_BINARY) + " " + args);
}

// GPS 5 with two ephemerides, GLONASS 8 and SBAS 122 with one each.
std::string Log() {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5});
  b.Frame("GE", GePayload(SampleKepler(5, 1537, 172000, 172800)));
  b.Frame("GE", GePayload(SampleKepler(5, 1537, 172006, 172800)));
  b.Frame("GE", GePayload(SampleKepler(5, 1537, 179000, 180000)));
  b.Frame("NE", NePayload(SampleGlonass(8, 540, 43200)));
  b.Frame("WE", WePayload(SampleSbas(122, 172800000, 3600, 1537)));
  return b.str();
}

TEST(EphemerisSelector, Parsing) {
  EphemerisSelector s;
  ASSERT_TRUE(ParseEphemerisSelector("G5:2", s));
  EXPECT_EQ(s.system, SatSystem::Gps);
  EXPECT_EQ(s.satellite, 5);
  EXPECT_EQ(s.ordinal, 2);
  ASSERT_TRUE(ParseEphemerisSelector("S22:1", s));
  EXPECT_EQ(s.system, SatSystem::Sbas);
  ASSERT_TRUE(ParseEphemerisSelector("e32:10", s));
  EXPECT_EQ(s.system, SatSystem::Galileo);
  for (const char* bad : {"G5", "G:1", "G5:", "G5:0", "G33:1", "R25:1", "S19:1", "S39:1", "X5:1",
                          "G5:1x", "G-5:1", "G5:-1"})
    EXPECT_FALSE(ParseEphemerisSelector(bad, s)) << bad;
}

TEST(EphemerisCheck, CountsPerSatellite) {
  TempDir dir;
  const CheckRun r = Check(dir, "--ephemerides " + dir.Write("e.vnx", Log()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "GPS: 1 satellites, 2 ephemerides\n"
            "  G5 2\n"
            "GLO: 1 satellites, 1 ephemerides\n"
            "  R8 1\n"
            "GEO: 1 satellites, 1 ephemerides\n"
            "  S22 1\n"
            "GAL: 0 satellites, 0 ephemerides\n");
}

TEST(EphemerisCheck, OneEphemerisAsTheViewShowsIt) {
  TempDir dir;
  const CheckRun r = Check(dir, "--ephemeris G5:2 " + dir.Write("e.vnx", Log()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("STEphem\tGPS Ephemeris  sv = 5   N=2\n"
                        "STTimeWeek\t Time of week [s]     179000\n"
                        "STDate\t Date  23\\6\\2009\n"
                        "STTime\t Time  2:0:0.000\n",
                        0),
            0u)
      << r.out;
  EXPECT_NE(r.out.find("\nSTcis\t Sine correction to inclination [rad]     0\n"),
            std::string::npos);
  const CheckRun sbas = Check(dir, "--ephemeris S22:1 " + dir.path() + "/e.vnx");
  EXPECT_EQ(sbas.out.rfind("STEphem\tGEO Ephemeris  sv= 22   N=1\n", 0), 0u);
}

TEST(EphemerisCheck, MissingEphemerisIsReportedOnStandardError) {
  TempDir dir;
  const CheckRun r = Check(dir, "--ephemeris R8:2 " + dir.Write("e.vnx", Log()));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Ephemeris 2 for SV R8  is not found\n");
  EXPECT_EQ(Check(dir, "--ephemeris R25:1 " + dir.path() + "/e.vnx").status, 2);
}

TEST(EphemerisCheck, Json) {
  TempDir dir;
  const CheckRun r =
      Check(dir, "--json --ephemerides --ephemeris E3:1 " + dir.Write("e.vnx", Log()));
  EXPECT_EQ(r.status, 1);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["ephemerides"]["gps"],
            nlohmann::json::parse(R"([{"satellite": 5, "ephemerides": 2}])"));
  EXPECT_EQ(j["ephemerides"]["sbas"][0]["satellite"], 22);
  EXPECT_EQ(j["ephemeris"]["found"], false);
  EXPECT_EQ(j["ephemeris"]["page_control"], "PCEphGAL");
  EXPECT_EQ(j["messages"], nlohmann::json::parse(R"(["Ephemeris 1 for SV E3  is not found"])"));
  EXPECT_EQ(j["exit_status"], 1);

  const CheckRun g = Check(dir, "--json --ephemeris R8:1 " + dir.path() + "/e.vnx");
  const auto page = nlohmann::json::parse(g.out)["ephemeris"];
  EXPECT_EQ(page["found"], true);
  EXPECT_EQ(page["texts"][0]["control"], "STEphem");
  EXPECT_EQ(page["texts"][0]["text"], "GLONASS Ephemeris  sv= 8   N=1");
}

}  // namespace
}  // namespace vnx::test
