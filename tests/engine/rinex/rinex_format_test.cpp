// The layout of exported files: header lines, epoch lines, event records, GLONASS channels,
// RINEX 2.11 continuation lines, occupation changes and the receiver clock, and the numbers.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <sstream>

#include "engine/rinex/rinex_export.h"
#include "engine/rinex/rinex_text.h"
#include "support/ephemeris_frames.h"
#include "support/scan_fixture.h"
#include "tools/synth/real_data.h"

namespace vnx::rinex {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

// Lines up to and including END OF HEADER.
size_t HeaderEnd(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].size() >= 73 && lines[i].compare(60, 13, "END OF HEADER") == 0) return i + 1;
  return 0;
}

TEST(RinexText, NumbersFillTheirColumns) {
  struct Case {
    double v;
    int width, decimals;
    const char* text;
  };
  const Case cases[] = {
      {24850337.3124, 14, 3, "  24850337.312"}, {-0.0004, 14, 3, "         0.000"},
      {-1648.8629, 14, 3, "     -1648.863"},    {0.5, 5, 1, "  0.5"},
      {1e12, 14, 3, "              "},          {NAN, 14, 3, "              "}};
  for (const Case& c : cases) {
    char buf[32] = {};
    std::memset(buf, ' ', static_cast<size_t>(c.width));
    PutFixed(buf, c.width, c.decimals, c.v);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(c.width)), c.text) << c.v;
  }
  char d[20] = {};
  PutD19(d, -5.035293288529e-4, 'E');
  EXPECT_EQ(std::string(d, 19), "-5.035293288529E-04");
  PutD19(d, 5153.595811844, 'D');
  EXPECT_EQ(std::string(d, 19), " 5.153595811844D+03");
  PutD19(d, 0.0, 'D');
  EXPECT_EQ(std::string(d, 19), " 0.000000000000D+00");
  PutD19(d, 1e-120, 'E');  // too small for two exponent digits: zero
  EXPECT_EQ(std::string(d, 19), " 0.000000000000E+00");
}

class RinexFormat : public test::ScanFixture {
 protected:
  std::map<std::string, std::string> ExportLog(const std::string& log, Version v,
                                               ExportResult* result = nullptr) {
    EXPECT_TRUE(ScanLog(log));
    ExportOptions o;
    o.version = v;
    std::map<std::string, std::string> files;
    ExportResult r =
        ExportRinexToMemory(ExportInputFromScan(ctx, dir.path() + "/site.vnx"), o, files);
    EXPECT_TRUE(r.ok) << r.error;
    if (result != nullptr) *result = r;
    return files;
  }
  static std::string OpecLog() {
    synth::SynthOptions o;
    o.events = true;
    o.hours = 0.5;
    return synth::test::MakeLog(synth::test::Opec(), o);
  }
};

TEST_F(RinexFormat, HeaderLinesAreEightyColumnsWithTheirLabelAtSixtyOne) {
  const std::set<std::string> labels = {"RINEX VERSION / TYPE",
                                        "PGM / RUN BY / DATE",
                                        "MARKER NAME",
                                        "MARKER NUMBER",
                                        "OBSERVER / AGENCY",
                                        "REC # / TYPE / VERS",
                                        "ANT # / TYPE",
                                        "APPROX POSITION XYZ",
                                        "ANTENNA: DELTA H/E/N",
                                        "SYS / # / OBS TYPES",
                                        "SIGNAL STRENGTH UNIT",
                                        "INTERVAL",
                                        "TIME OF FIRST OBS",
                                        "TIME OF LAST OBS",
                                        "SYS / PHASE SHIFT",
                                        "GLONASS SLOT / FRQ #",
                                        "GLONASS COD/PHS/BIS",
                                        "LEAP SECONDS",
                                        "END OF HEADER",
                                        "WAVELENGTH FACT L1/2",
                                        "# / TYPES OF OBSERV",
                                        "IONOSPHERIC CORR",
                                        "TIME SYSTEM CORR",
                                        "ION ALPHA",
                                        "ION BETA",
                                        "DELTA-UTC: A0,A1,T,W",
                                        "CORR TO SYSTEM TIME",
                                        "COMMENT"};
  const std::string log = OpecLog();
  for (Version v : {Version::V304, Version::V211}) {
    for (const auto& [name, text] : ExportLog(log, v)) {
      const std::vector<std::string> lines = Lines(text);
      const size_t end = HeaderEnd(lines);
      ASSERT_GE(end, 4u) << name;
      for (size_t i = 0; i < end; ++i) {
        ASSERT_EQ(lines[i].size(), 80u) << name << ": " << lines[i];
        std::string label = lines[i].substr(60);
        label.erase(label.find_last_not_of(' ') + 1);
        EXPECT_TRUE(labels.count(label)) << name << ": " << lines[i];
      }
    }
  }
}

TEST_F(RinexFormat, EpochLinesEventsAndGlonassChannels) {
  ExportResult r;
  const auto files = ExportLog(OpecLog(), Version::V304, &r);
  const std::vector<std::string> lines = Lines(files.at(dir.path() + "/site.obs"));
  const std::regex epoch(R"(> \d{4} \d\d \d\d \d\d \d\d [ \d]\d\.\d{7}  ([0-6])([ \d]{3}))");
  int epochs = 0, events = 0;
  for (size_t i = HeaderEnd(lines); i < lines.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, epoch)) << lines[i];
    const int flag = std::stoi(m[1]), n = std::stoi(m[2]);
    if (flag == 5) {
      ++events;
      ASSERT_EQ(n, 1);
      EXPECT_EQ(lines[i + 1].substr(0, 21), "EXTERNAL EVENT INPUT ");
      EXPECT_EQ(lines[i + 1].substr(60), "COMMENT             ");
    } else {
      ++epochs;
      for (int k = 1; k <= n; ++k)
        EXPECT_TRUE(std::strchr("GRES", lines[i + k][0])) << lines[i + k];
    }
    i += static_cast<size_t>(n);
  }
  EXPECT_EQ(epochs, ctx.epochCount);
  EXPECT_EQ(events, ctx.xaCount + ctx.xbCount);
  EXPECT_EQ(r.events, events);
  // The channels of the GLONASS satellites are those of the original file.
  const synth::ObsData original = synth::test::Opec().obs;
  int listed = 0;
  for (size_t i = 0; i < HeaderEnd(lines); ++i) {
    if (lines[i].compare(60, 20, "GLONASS SLOT / FRQ #") != 0) continue;
    for (size_t at = 4; at + 6 <= 60 && lines[i][at] == 'R'; at += 7, ++listed)
      EXPECT_EQ(std::stoi(lines[i].substr(at + 4, 2)),
                original.header.glonassChannel.at(std::stoi(lines[i].substr(at + 1, 2))));
  }
  EXPECT_GE(listed, 6);
}

TEST_F(RinexFormat, TwoElevenWrapsObservablesAndSatellites) {
  const auto files = ExportLog(OpecLog(), Version::V211);
  const std::vector<std::string> lines = Lines(files.at(dir.path() + "/site.22o"));
  const size_t end = HeaderEnd(lines);
  int types = 0;
  for (size_t i = 0; i < end; ++i)
    if (lines[i].compare(60, 19, "# / TYPES OF OBSERV") == 0 && lines[i][5] != ' ')
      types = std::stoi(lines[i].substr(0, 6));
  ASSERT_GT(types, 5);
  const size_t perSat = static_cast<size_t>((types + 4) / 5);
  bool wrappedSats = false;
  for (size_t i = end; i < lines.size();) {
    const std::string& e = lines[i];
    const int flag = e[28] - '0', n = std::stoi(e.substr(29, 3));
    ++i;
    if (flag == 5) {
      i += static_cast<size_t>(n);
      continue;
    }
    ASSERT_EQ(flag, 0) << e;
    EXPECT_LE(e.size(), 68u + (e.size() > 68 ? 12u : 0u));
    for (int more = (n - 1) / 12; more > 0; --more, ++i) {
      wrappedSats = true;
      ASSERT_EQ(lines[i].substr(0, 32), std::string(32, ' '));
      ASSERT_TRUE(std::strchr("GRES", lines[i][32])) << lines[i];
    }
    i += perSat * static_cast<size_t>(n);
  }
  EXPECT_TRUE(wrappedSats);
}

TEST_F(RinexFormat, OccupationChangesAndReceiverClock) {
  auto event = [](int32_t ms, const std::string& text) {
    std::string p(reinterpret_cast<const char*>(&ms), 4);
    return p + '\0' + text;
  };
  auto range = [](double s) { return std::string(reinterpret_cast<const char*>(&s), 8); };
  const double offset = 1.25e-4;
  test::LogBuilder b;
  b.Header().Date(2022, 1, 1);
  b.Frame("==", event(0, "_SIT=ALPHA")).Frame("==", event(0, "_ANH=1.5"));
  const char* const texts[] = {"", "_DYM=DYNAMIC", "_DYM=STATIC", "_SIT=BRAVO", "_ANH=2.0"};
  for (int k = 0; k < 5; ++k) {
    b.Time(1000 * (k + 1)).Sats({5}).Frame("RC", range(0.07)).Frame("TO", range(offset));
    if (*texts[k]) b.Frame("==", event(1000 * (k + 1), texts[k]));
  }
  const auto files = ExportLog(b.str(), Version::V304);
  const std::vector<std::string> lines = Lines(files.at(dir.path() + "/site.obs"));
  std::vector<std::string> body(lines.begin() + static_cast<long>(HeaderEnd(lines)), lines.end());
  auto has = [&](const std::string& s) {
    for (const auto& l : lines)
      if (l.find(s) != std::string::npos) return true;
    return false;
  };
  EXPECT_TRUE(has("ALPHA                                                       MARKER NAME"));
  EXPECT_TRUE(
      has("        1.5000        0.0000        0.0000                  ANTENNA: DELTA H/E/N"));
  // Each change shows at the epoch whose frames carried it: moving (2), standing still again
  // is a new occupation (3), a new site (3), a new height at the same site (4).
  const std::string epoch = "  0  1      -0.000125000000";
  const std::string sat = "G05  20985472.060";
  const std::vector<std::string> want = {
      "> 2022 01 01 00 00  1.0000000" + epoch,
      sat,
      "> 2022 01 01 00 00  2.0000000  2  0",
      "> 2022 01 01 00 00  2.0000000" + epoch,
      sat,
      "> 2022 01 01 00 00  3.0000000  3  4",
      "ALPHA                                                       MARKER NAME         ",
      "                                                            MARKER NUMBER       ",
      "                                                            ANT # / TYPE        ",
      "        1.5000        0.0000        0.0000                  ANTENNA: DELTA H/E/N",
      "> 2022 01 01 00 00  3.0000000" + epoch,
      sat,
      "> 2022 01 01 00 00  4.0000000  3  4",
      "BRAVO                                                       MARKER NAME         ",
      "                                                            MARKER NUMBER       ",
      "                                                            ANT # / TYPE        ",
      "        1.5000        0.0000        0.0000                  ANTENNA: DELTA H/E/N",
      "> 2022 01 01 00 00  4.0000000" + epoch,
      sat,
      "> 2022 01 01 00 00  5.0000000  4  3",
      "BRAVO                                                       MARKER NAME         ",
      "                                                            ANT # / TYPE        ",
      "        2.0000        0.0000        0.0000                  ANTENNA: DELTA H/E/N",
      "> 2022 01 01 00 00  5.0000000" + epoch,
      sat,
  };
  EXPECT_EQ(body, want);
}

TEST_F(RinexFormat, GalileoAndSbasNavigationRecords) {
  auto range = [](double v) { return std::string(reinterpret_cast<const char*>(&v), 8); };
  GalEphBody gal{};
  gal.k = test::SampleKepler(11, 2190, 518400, 525600);
  gal.bcdA = 1.5e-9f;
  gal.bcdB = 2.5e-9f;
  const GeoEphBody geo = test::SampleSbas(120, 518400000, 3600, 2190);
  test::LogBuilder b;
  b.Header().Date(2022, 1, 1).Time(1000).Sats({5}).Frame("RC", range(0.07));
  b.Frame("EN", test::EnPayload(gal)).Frame("WE", test::WePayload(geo));
  b.Frame("GE", test::GePayload(test::SampleKepler(5, 2190, 518400, 525600)));
  const auto v3 = ExportLog(b.str(), Version::V304);
  const std::vector<std::string> nav = Lines(v3.at(dir.path() + "/site.nav"));
  auto field = [](const std::string& line, int i) {
    return std::stod(line.substr(4 + 19 * i, 19));
  };
  size_t e = 0, sbas = 0;
  for (size_t i = HeaderEnd(nav); i < nav.size(); ++i) {
    if (nav[i].rfind("E11 2022 01 01 02 00 00", 0) == 0) e = i;
    if (nav[i].rfind("S20 2022 01 01 01 00 00", 0) == 0) sbas = i;
  }
  ASSERT_GT(e, 0u);
  EXPECT_EQ(field(nav[e + 5], 1), 517);   // data sources: I/NAV
  EXPECT_EQ(field(nav[e + 5], 2), 2190);  // Galileo week, aligned to GPS weeks
  EXPECT_FLOAT_EQ(field(nav[e + 6], 2), 1.5e-9f);
  EXPECT_FLOAT_EQ(field(nav[e + 6], 3), 2.5e-9f);
  EXPECT_EQ(e + 8 < nav.size() ? nav[e + 8].substr(0, 1) : "", "S");  // eight lines a record
  ASSERT_GT(sbas, 0u);
  EXPECT_FLOAT_EQ(std::stod(nav[sbas].substr(23, 19)), 1.5e-7f);
  EXPECT_EQ(std::stod(nav[sbas].substr(61, 19)), 518400);
  EXPECT_EQ(field(nav[sbas + 1], 0), 40000);  // kilometres
  EXPECT_FLOAT_EQ(field(nav[sbas + 1], 1), 0.0015f);
  EXPECT_EQ(field(nav[sbas + 2], 3), 3);  // accuracy code
  EXPECT_EQ(field(nav[sbas + 3], 3), 7);  // IODN
  // RINEX 2.11: one file per system, each with its type letter.
  const auto v2 = ExportLog(b.str(), Version::V211);
  EXPECT_EQ(v2.at(dir.path() + "/site.22l").substr(20, 20), "L: GALILEO NAV DATA ");
  EXPECT_EQ(v2.at(dir.path() + "/site.22h").substr(20, 20), "H: GEO NAV MSG DATA ");
  EXPECT_EQ(v2.at(dir.path() + "/site.22n").substr(20, 20), "N: GPS NAV DATA     ");
}

}  // namespace
}  // namespace vnx::rinex
