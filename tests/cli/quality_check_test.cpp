// vnx-check --qc, run as users run it: on one log, and on several at once.
#include "cli/quality_check.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "reports/quality_output.h"
#include "support/command_run.h"
#include "support/scan_fixture.h"
#include "tools/synth/real_data.h"

namespace vnx::test {
namespace {

using CheckRun = CommandRun;

CheckRun Check(const std::string& args) {
  return RunCommand(std::string(VNX_CHECK_BINARY) + " " + args);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Twenty minutes at 1 Hz from the real observations; G21 slips 3 cycles on L1 at 10 minutes.
class QualityCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    synth::SynthOptions o;
    o.hours = 1.0 / 3;
    o.rate = 1;
    o.slips = {synth::ParseSlip("G21:600:3:0")};
    log_ = new std::string(dir_->Write("opec.vnx", synth::test::MakeLog(synth::test::Opec(), o)));
  }
  static void TearDownTestSuite() {
    delete log_;
    delete dir_;
  }
  static TempDir* dir_;
  static std::string* log_;
};
TempDir* QualityCheck::dir_ = nullptr;
std::string* QualityCheck::log_ = nullptr;

TEST_F(QualityCheck, JsonCarriesTheQcObjectWithItsNames) {
  const CheckRun r = Check("--qc --json --mask 12.5 " + *log_);
  ASSERT_EQ(r.status, 0) << r.out;
  const auto j = nlohmann::json::parse(r.out);
  const auto& qc = j.at("qc");
  for (const char* key :
       {"mask_deg", "completeness_pct", "mp1_rms_m", "mp2_rms_m", "slips", "clock_jumps"})
    EXPECT_TRUE(qc.contains(key)) << key;
  EXPECT_EQ(qc["mask_deg"], 12.5);
  EXPECT_EQ(qc["slips"], 1);
  EXPECT_EQ(qc["clock_jumps"], 0);
  bool g21 = false, galileo = false;
  for (const auto& s : qc.at("satellites")) {
    for (const char* key : {"sat", "observed", "expected", "completeness_pct", "mp1_rms_m",
                            "mp2_rms_m", "slips", "slip_epochs", "snr_mean_dbhz"})
      EXPECT_TRUE(s.contains(key)) << key;
    if (s["sat"] == "G21") {
      g21 = true;
      EXPECT_EQ(s["slip_epochs"], nlohmann::json::array({601}));
      EXPECT_GT(s["snr_mean_dbhz"]["CA/S1"].get<double>(), 30);
    }
    // The log has no Galileo ephemeris: no completeness can be formed.
    if (s["sat"].get<std::string>()[0] == 'E') {
      galileo = true;
      EXPECT_TRUE(s["completeness_pct"].is_null());
    }
  }
  EXPECT_TRUE(g21);
  EXPECT_TRUE(galileo);
}

// Without --qc nothing changes: the report with --qc begins with exactly the plain one.
TEST_F(QualityCheck, TextReportFollowsThePlainReport) {
  const CheckRun plain = Check(*log_);
  const CheckRun qc = Check("--qc " + *log_);
  EXPECT_EQ(qc.status, plain.status);
  ASSERT_EQ(qc.out.rfind(plain.out, 0), 0u);
  const std::string tail = qc.out.substr(plain.out.size());
  EXPECT_EQ(tail.rfind("\n[Quality]\nElevation mask: 10 deg\n", 0), 0u) << tail;
  EXPECT_NE(tail.find("\nSat   Observed  Expected  Compl%   MP1 m   MP2 m   MP5 m  Slips"),
            std::string::npos);
  EXPECT_NE(tail.find("\nG21 "), std::string::npos);
  EXPECT_NE(tail.find("Cycle slips: 1 "), std::string::npos);
}

TEST_F(QualityCheck, HtmlReportIsOneSelfContainedFile) {
  const std::string html = dir_->path() + "/report.html";
  ASSERT_EQ(Check("--qc --qc-html " + html + " " + *log_).status, 0);
  const std::string page = ReadAll(html);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<svg"), std::string::npos);
  EXPECT_NE(page.find("Skyplot"), std::string::npos);
  EXPECT_NE(page.find("<td>G21</td>"), std::string::npos);
  for (const char* outside : {"<script", "src=", "href=", "<link", "url("})
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
}

TEST_F(QualityCheck, ManyLogsInParallelGiveJsonLinesCsvAndTheWorstStatus) {
  const std::string csv = dir_->path() + "/many.csv";
  const std::string missing = dir_->path() + "/missing.vnx";
  const CheckRun r =
      Check("--qc --json --jobs 2 --csv " + csv + " " + *log_ + " " + missing + " " + *log_);
  EXPECT_EQ(r.status, 2);  // the missing file cannot be scanned
  std::istringstream lines(r.out);
  std::string line;
  std::vector<nlohmann::json> docs;
  while (std::getline(lines, line)) docs.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(docs.size(), 3u);
  EXPECT_EQ(docs[0]["file"], *log_);
  EXPECT_EQ(docs[1]["file"], missing);
  EXPECT_EQ(docs[0]["qc"], docs[2]["qc"]);
  EXPECT_EQ(docs[0]["qc"]["slips"], 1);
  std::istringstream rows(ReadAll(csv));
  std::vector<std::string> table;
  while (std::getline(rows, line)) table.push_back(line);
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(
      table[0],
      "file,epochs,completeness_pct,mp1_rms_m,mp2_rms_m,slips,clock_jumps,errors,exit_status");
  EXPECT_EQ(table[1].rfind(*log_ + ",1200,100.00,", 0), 0u) << table[1];
  EXPECT_EQ(table[2], missing + ",0,,,,0,0,0,2");
}

TEST_F(QualityCheck, BadValuesAreRefused) {
  for (const char* args : {"--qc --mask 95", "--position 1,2", "--jobs 0", "--mask"})
    EXPECT_EQ(Check(std::string(args) + " " + *log_).status, 2) << args;
  // Several files only with --qc.
  EXPECT_EQ(Check(*log_ + " " + *log_).status, 2);
}

TEST(QualityCsv, RowsQuoteFileNamesAndLeaveMissingFiguresEmpty) {
  QualityCsvRow row;
  row.file = "logs/a,\"b\".vnx";
  row.epochs = 10;
  row.mp1RmsM = 0.123456;
  row.slips = 2;
  EXPECT_EQ(QualityCsvLine(row), "\"logs/a,\"\"b\"\".vnx\",10,,0.1235,,2,0,0,0");
  EXPECT_EQ(HtmlPathFor("r.html", "/x/day1.vnx", 1), "r.html");
  EXPECT_EQ(HtmlPathFor("r.html", "/x/day1.vnx", 2), "r-day1.html");
}

}  // namespace
}  // namespace vnx::test
