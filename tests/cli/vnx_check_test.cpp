// The command-line checker, run as users run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

struct CheckRun {
  int status;
  std::string out;
};

CheckRun Check(const std::string& args) {
  const std::string cmd = std::string(VNX_CHECK_BINARY) + " " + args + " 2>/dev/null";
  FILE* p = ::popen(cmd.c_str(), "r");
  CheckRun r{-1, ""};
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
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
  EXPECT_NE(r.out.find("Epochs: 2\n"), std::string::npos);
  EXPECT_NE(r.out.find("First epoch: 23/06/2009  00:00:01.000\n"), std::string::npos);
  EXPECT_NE(r.out.find("GLO: 3\n"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(dir.path() + "/w/DataEpochs.dat"), 2048u);
}

TEST(VnxCheck, ErrorsExitOneAndKeepTrailingBlanks) {
  TempDir dir;
  LogBuilder b = Clean();
  b.Bytes("junk").Time(3000).Sats({5, 40}).GloNumbers({3});
  const CheckRun r = Check(dir.Write("bad.vnx", b.str()));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\n6a 75 6e 6b \n"), std::string::npos) << r.out;
}

TEST(VnxCheck, UnscannableFilesExitTwo) {
  TempDir dir;
  EXPECT_EQ(Check(dir.path() + "/missing.vnx").status, 2);
  EXPECT_EQ(Check(dir.Write("short.vnx", "VN055")).status, 2);
  EXPECT_EQ(Check("").status, 2);
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
