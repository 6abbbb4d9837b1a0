// vnx-rinex as users run it, and the safety of the export: files appear under their final names
// only when complete, the log is never overwritten, and failures name the file and the reason.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/rinex/rinex_export.h"
#include "support/command_run.h"
#include "support/scan_fixture.h"
#include "tools/synth/real_data.h"

namespace vnx::test {
namespace {

namespace fs = std::filesystem;

using RinexRun = CommandRun;  // `out`: standard output and standard error together

RinexRun Rinex(const std::string& args) {
  return RunCommand(std::string(VNX_RINEX_BINARY) + " " + args + " 2>&1");
}

std::string OpecLog(const TempDir& dir, const std::string& name = "opec.vnx") {
  synth::SynthOptions o;
  o.hours = 0.25;
  return dir.Write(name, synth::test::MakeLog(synth::test::Opec(), o));
}

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(VnxRinex, WritesNextToTheLogUnderTheDefaultNames) {
  TempDir dir;
  const std::string log = OpecLog(dir);
  RinexRun r = Rinex(log);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"opec.nav", "opec.obs", "opec.vnx"}));
  EXPECT_NE(r.out.find(" epochs, "), std::string::npos);
  r = Rinex("--version 2.11 --systems GR " + log);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"opec.22g", "opec.22n", "opec.22o",
                                                         "opec.nav", "opec.obs", "opec.vnx"}));
  r = Rinex("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string("vnx-rinex ") + VNX_VERSION + "\n");
  EXPECT_EQ(Rinex("--help").status, 0);
  EXPECT_EQ(Rinex("--mask x " + log).status, 2);
}

TEST(VnxRinex, ScanErrorsExitOneWithTheFilesWritten) {
  TempDir dir;
  synth::SynthOptions o;
  o.hours = 0.25;
  o.damageSeed = 3;
  o.rate = 1;
  const std::string log = dir.Write("bad.vnx", synth::test::MakeLog(synth::test::Opec(), o));
  const RinexRun r = Rinex(log);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_TRUE(fs::exists(dir.path() + "/bad.obs"));
}

TEST(VnxRinex, FailuresNameTheFileAndLeaveNothingBehind) {
  TempDir dir;
  const std::string log = OpecLog(dir);
  const auto before = fs::file_size(log);
  // The log itself, by another spelling of its path.
  RinexRun r = Rinex("--obs " + dir.path() + "/./opec.vnx " + log);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("will not overwrite the log"), std::string::npos) << r.out;
  EXPECT_EQ(fs::file_size(log), before);
  // A directory that does not exist.
  r = Rinex("--obs " + dir.path() + "/none/x.obs " + log);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find(dir.path() + "/none/x.obs: No such file or directory"), std::string::npos)
      << r.out;
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"opec.vnx"});
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The committed examples are what vnx-rinex makes of the short sample today: a change of the
// output shows here, and examples/regenerate.sh brings them up to date.
TEST(VnxRinex, CommittedExamplesAreTheExportsOfTheShortSample) {
  TempDir dir;
  const std::string examples = std::string(VNX_SOURCE_DIR) + "/examples/";
  const std::string log = examples + "sample-10min.vnx";
  ::setenv("SOURCE_DATE_EPOCH", "1640995200", 1);  // the date regenerate.sh gives them
  const int v3 =
      Rinex("--obs " + dir.path() + "/a.obs --nav " + dir.path() + "/a.nav " + log).status;
  const int v2 =
      Rinex("--version 2.11 --obs " + dir.path() + "/a.22o --nav " + dir.path() + "/a.22n " + log)
          .status;
  ::unsetenv("SOURCE_DATE_EPOCH");
  ASSERT_EQ(v3, 0);
  ASSERT_EQ(v2, 0);
  EXPECT_EQ(Names(dir.path()),
            (std::vector<std::string>{"a.22g", "a.22n", "a.22o", "a.nav", "a.obs"}));
  for (const std::string ext : {".obs", ".nav", ".22o", ".22n", ".22g"})
    EXPECT_TRUE(Read(dir.path() + "/a" + ext) == Read(examples + "sample-10min" + ext)) << ext;
}

class ExportSafety : public ScanFixture {};

TEST_F(ExportSafety, StopLeavesNoFileAndProgressReachesTheEnd) {
  synth::SynthOptions o;
  o.hours = 0.5;
  o.rate = 1;
  ASSERT_TRUE(ScanLog(synth::test::MakeLog(synth::test::Opec(), o)));
  TempDir out;
  rinex::ExportOptions eo;
  eo.obsPath = out.path() + "/x.obs";
  eo.navPath = out.path() + "/x.nav";
  std::atomic<bool> stop{false};
  std::vector<int> seen;
  eo.stop = &stop;
  eo.progress = [&](int percent) {
    seen.push_back(percent);
    if (percent >= 40) stop = true;
  };
  const rinex::ExportInput in = rinex::ExportInputFromScan(ctx, dir.path() + "/log.vnx");
  rinex::ExportResult r = rinex::ExportRinex(in, eo);
  EXPECT_TRUE(r.stopped);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.files.empty());
  EXPECT_TRUE(Names(out.path()).empty());
  stop = false;
  seen.clear();
  eo.progress = [&](int percent) { seen.push_back(percent); };
  r = rinex::ExportRinex(in, eo);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Names(out.path()), (std::vector<std::string>{"x.nav", "x.obs"}));
  ASSERT_EQ(r.files.size(), 2u);
  EXPECT_EQ(r.files[0].bytes, fs::file_size(out.path() + "/x.obs"));
  EXPECT_EQ(r.epochs, ctx.epochCount);
  EXPECT_GT(r.satellites, 20);
  EXPECT_EQ(seen.back(), 100);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST_F(ExportSafety, FullDiskNamesTheFileAndLeavesNoHalfFile) {
  ASSERT_TRUE(ScanLog(synth::test::MakeLog(synth::test::Opec(), synth::SynthOptions{})));
  TempDir out;
  rinex::ExportOptions eo;
  eo.obsPath = out.path() + "/x.obs";
  const rinex::ExportInput in = rinex::ExportInputFromScan(ctx, dir.path() + "/log.vnx");
  // The disk fills up in a child: a file-size limit makes writes fail with EFBIG.
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{256 * 1024, 256 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const rinex::ExportResult r = rinex::ExportRinex(in, eo);
    const std::string text = (r.ok ? "ok " : "failed ") + r.error;
    (void)!::write(fds[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string text;
  char buf[512];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
    text.append(buf, static_cast<size_t>(n));
  ::close(fds[0]);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(text, "failed cannot write " + out.path() + "/x.obs: File too large");
  EXPECT_TRUE(Names(out.path()).empty());
}

}  // namespace
}  // namespace vnx::test
