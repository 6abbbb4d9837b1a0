// The command-line checker, run as users run it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/command_run.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using CheckRun = CommandRun;

CheckRun Check(const std::string& args) {
  return RunCommand(std::string(VNX_CHECK_BINARY) + " " + args);
}

// Runs a shell line with stdout and stderr together; the status is -1 when a signal ended it.
CheckRun Shell(const std::string& line) {
  return RunCommand("(" + line + ") 2>&1");
}

LogBuilder Clean() {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5, 40}).GloNumbers({3});
  b.Time(2000).Sats({5, 40}).GloNumbers({3});
  return b;
}

TEST(VnxCheck, CleanLogExitsZeroAndKeepsFilesInWorkdir) {
  TempDir dir;
  const std::string log = dir.Write("clean.vnx", Clean().str());
  const CheckRun r = Check("--workdir " + dir.path() + "/w " + log);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("     Errors:\n\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\nEpochs           2\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nStart   23/06/2009  00:00:01.000     00001\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nFinish 23/06/2009  00:00:02.000     00002\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nGLO: 3\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n Elevation Mask =  0\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nC1: 0\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n[Errors]\n No\n"), std::string::npos);
  EXPECT_EQ(r.out.find("#Epoch"), std::string::npos);  // the epochs list only on request
  EXPECT_EQ(std::filesystem::file_size(dir.path() + "/w/DataEpochs.dat"), 2048u);
}

TEST(VnxCheck, ErrorsExitOneAndKeepTrailingBlanks) {
  TempDir dir;
  LogBuilder b = Clean();
  b.Bytes("junk").Time(3000).Sats({5, 40}).GloNumbers({3});
  const CheckRun r = Check(dir.Write("bad.vnx", b.str()));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\n6a 75 6e 6b \n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n[Errors]\nYes\n"), std::string::npos);
}

TEST(VnxCheck, UnscannableFilesExitTwo) {
  TempDir dir;
  EXPECT_EQ(Check(dir.path() + "/missing.vnx").status, 2);
  EXPECT_EQ(Check(dir.Write("short.vnx", "VN055")).status, 2);
  EXPECT_EQ(Check("").status, 2);
}

// The fault table: every file that cannot be checked gives exit 2 and a message naming it and
// the reason.
TEST(VnxCheck, FilesThatCannotBeCheckedSayWhy) {
  TempDir dir;
  const std::string log = dir.Write("clean.vnx", Clean().str());
  const std::string plain = dir.Write("plain", "x");
  const std::string bin = VNX_CHECK_BINARY;
  const struct {
    std::string line, text;
  } cases[] = {
      {bin + " " + dir.Write("empty.vnx", ""), "The file is empty: " + dir.path() + "/empty.vnx"},
      {bin + " " + dir.path(), dir.path() + " is a directory"},
      {bin + " " + dir.path() + "/missing.vnx", "ERROR INVALID HANDLE VALUE (CreateFile)2 " +
                                                    dir.path() +
                                                    "/missing.vnx: No such file or directory"},
      {bin + " --workdir " + plain + "/w " + log,
       "Error Opening File DataEpochs.dat ! Not a directory (" + plain + "/w)"},
      {"cd " + plain + "/.. && chmod 555 . && " + bin + " " + log + "; s=$?; chmod 755 .; exit $s",
       geteuid() == 0 ? "" : "Error Opening File DataEpochs.dat ! Permission denied"},
      // A full disk: the writes fail, the scan stops with the file's name (never a signal).
      {"ulimit -f 64; " + bin + " --workdir " + dir.path() + "/full " +
           dir.Write("big.vnx",
                     [] {
                       LogBuilder b = Clean();
                       for (uint32_t t = 3000; t < 400000; t += 1000)
                         b.Time(t).Sats({5, 40}).GloNumbers({3});
                       return b.str();
                     }()),
       "Error Writing File DataEpochs.dat ! File too large"},
  };
  for (const auto& c : cases) {
    const CheckRun r = Shell(c.line);
    if (c.text.empty()) continue;  // as root nothing is unwritable
    EXPECT_EQ(r.status, 2) << c.line << "\n" << r.out;
    EXPECT_NE(r.out.find(c.text), std::string::npos) << c.line << "\n" << r.out;
  }
  // A working directory whose parents are missing is made like mkdir -p.
  const CheckRun deep = Shell(bin + " --workdir " + dir.path() + "/a/b/c " + log);
  EXPECT_EQ(deep.status, 0) << deep.out;
  EXPECT_TRUE(std::filesystem::exists(dir.path() + "/a/b/c/DataEpochs.dat"));
}

TEST(VnxCheck, JsonIsValidUtf8WhateverThePathAndTheLogHold) {
  // A Latin-1 file name and antenna letters that are no UTF-8 reach the report; the bytes that
  // are not UTF-8 come out as U+FFFD.
  TempDir dir;
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Antennas("\xE9\xFF").Time(1000).Sats({5, 40}).GloNumbers({3});
  b.Time(2000).Sats({5, 40}).GloNumbers({3});
  const std::string log = dir.Write("caf\xE9.vnx", b.str());
  for (const char* options : {"--json", "--ephemerides --json"}) {
    const CheckRun r = Check(std::string(options) + " '" + log + "'");
    ASSERT_GE(r.status, 0) << options;
    ASSERT_LE(r.status, 2) << options;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["file"], dir.path() + "/caf\xEF\xBF\xBD.vnx") << options;
  }
}

TEST(VnxCheck, JsonReport) {
  TempDir dir;
  const CheckRun r = Check("--json " + dir.Write("clean.vnx", Clean().str()));
  ASSERT_EQ(r.status, 0);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["epochs"], 2);
  EXPECT_EQ(j["errors"].size(), 0u);
  EXPECT_EQ(j["satellites"]["gps"], nlohmann::json::array({5}));
  EXPECT_EQ(j["interval_ms"], 1000);
  EXPECT_EQ(j["start_epoch"], "23/06/2009  00:00:01.000     00001");
  EXPECT_EQ(j["gaps"], 0);
  EXPECT_EQ(j["max_sats"], 2);
  EXPECT_EQ(j["solutions"]["stand_alone"], 0);
  EXPECT_EQ(j["observables"].size(), 20u);
  EXPECT_EQ(j["errors_flag"]["text"], " No");
  EXPECT_EQ(j["errors_flag"]["colour"], "yellow");
  EXPECT_EQ(j["texts"]["STSumNumEp"], "Epochs           2");
  EXPECT_EQ(j["texts"]["ESumGLO"], " 3");
  EXPECT_FALSE(j.contains("epochs_list"));
}

TEST(VnxCheck, JsonErrorEntriesBesideTheirTexts) {
  TempDir dir;
  LogBuilder b = Clean();
  const size_t junk = b.Offset();
  b.Bytes("junk").Time(3000).Sats({5, 40}).GloNumbers({3});
  const CheckRun r = Check("--json " + dir.Write("bad.vnx", b.str()));
  ASSERT_EQ(r.status, 1);
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j["errors"].size(), 2u);  // the texts: the range line and the bytes
  ASSERT_EQ(j["error_entries"].size(), 1u);
  const auto& e = j["error_entries"][0];
  EXPECT_EQ(e["kind"], "unframed_bytes");
  EXPECT_EQ(e["first_byte"], junk);
  EXPECT_EQ(e["last_byte"], junk + 3);
  EXPECT_EQ(e["time"], " 0h0m2.0s");
  EXPECT_EQ(e["lines"], nlohmann::json::array({"6a 75 6e 6b "}));
  EXPECT_EQ(j["errors"][1], "6a 75 6e 6b ");
}

TEST(VnxCheck, EpochsListWithGapLines) {
  TempDir dir;
  LogBuilder b = Clean();
  b.Time(5000).Sats({5, 40}).GloNumbers({3});
  const std::string log = dir.Write("gap.vnx", b.str());
  const CheckRun r = Check("--epochs " + log);
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string at(62, '@');
  EXPECT_NE(r.out.find("\n     Epoch Date/Time            #Epoch\n"
                       "23/06/2009  00:00:01.000     00001\n"
                       "23/06/2009  00:00:02.000     00002\n" +
                       at + "\n@@@@@@@ 2 epochs missing " + std::string(22, '@') + "\n" + at +
                       "\n23/06/2009  00:00:05.000     00003\n"),
            std::string::npos)
      << r.out;
  const auto j = nlohmann::json::parse(Check("--json --epochs " + log).out);
  EXPECT_EQ(j["epochs_list"].size(), 6u);
  EXPECT_EQ(j["gaps"], 1);
}

TEST(VnxCheck, LogWithoutEpochsHasNoSummaryFigures) {
  TempDir dir;
  LogBuilder b;
  b.Header().Time(1000).Sats({5});
  const CheckRun r = Check("--json " + dir.Write("none.vnx", b.str()));
  EXPECT_EQ(r.status, 1);  // "There are no epochs!"
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["summary_message"], "There was no epochs with measurements!");
  EXPECT_EQ(j["errors_flag"]["text"], "Yes");
  EXPECT_TRUE(j["start_epoch"].is_null());
  EXPECT_TRUE(j["observables"].is_null());
  EXPECT_EQ(j["texts"].size(), 1u);  // STSumErr only
}

TEST(VnxCheck, WithoutWorkdirTheWorkingDirectoryIsRemoved) {
  TempDir dir;
  const std::string log = dir.Write("clean.vnx", Clean().str());
  const std::string cmd =
      "cd " + dir.path() + " && " + VNX_CHECK_BINARY + " " + log + " > /dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/TempVNX_V"));
}

}  // namespace
}  // namespace vnx::test
