// The commands' --help and --version, run as users run them, and the viewer's command line.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/viewer_command_line.h"
#include "support/command_run.h"

namespace vnx::app {
namespace {

using test::CommandRun;

CommandRun Command(const std::string& binary, const std::string& args) {
  return test::RunCommand(binary + " " + args);
}

const struct {
  const char* name;
  const char* binary;
} kCommands[] = {
    {"vnx-viewer", VNX_VIEWER_BINARY},
    {"vnx-check", VNX_CHECK_BINARY},
    {"vnx-synth", VNX_SYNTH_BINARY},
    {"vnx-rinex", VNX_RINEX_BINARY},
};

TEST(Commands, HelpAndVersionGoToStandardOutput) {
  for (const auto& c : kCommands) {
    const CommandRun help = Command(c.binary, "--help");
    EXPECT_EQ(help.status, 0) << c.name;
    EXPECT_EQ(help.out.rfind(std::string("usage: ") + c.name + " ", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "") << c.name;
    const CommandRun version = Command(c.binary, "--version");
    EXPECT_EQ(version.status, 0) << c.name;
    EXPECT_EQ(version.out, std::string(c.name) + " " VNX_VERSION "\n");
  }
  // A command line that cannot be used still gets the usage on standard error.
  for (const char* args : {"--bogus", "a.vnx b.vnx"}) {
    const CommandRun bad = Command(VNX_VIEWER_BINARY, std::string("-platform offscreen ") + args);
    EXPECT_EQ(bad.status, 2) << args;
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("usage: vnx-viewer"), std::string::npos) << bad.err;
  }
  EXPECT_EQ(Command(VNX_CHECK_BINARY, "--bogus").status, 2);
}

TEST(ViewerCommandLine, Arguments) {
  const struct {
    QStringList args;
    QString log, error;
  } cases[] = {
      {{"vnx-viewer"}, "", ""},
      {{"vnx-viewer", "a.vnx"}, "/home/u/a.vnx", ""},
      {{"vnx-viewer", "../logs/./b.vnx"}, "/home/logs/b.vnx", ""},
      {{"vnx-viewer", "/data/c.vnx"}, "/data/c.vnx", ""},
      {{"vnx-viewer", "--", "-odd.vnx"}, "/home/u/-odd.vnx", ""},
      {{"vnx-viewer", "--open", "a.vnx"}, "", "unknown option --open"},
      {{"vnx-viewer", "a.vnx", "b.vnx"}, "/home/u/a.vnx", "only one log can be opened"},
  };
  for (const auto& c : cases) {
    const ViewerArguments a = ParseViewerArguments(c.args, "/home/u");
    EXPECT_EQ(a.error, c.error) << c.args.join(' ').toStdString();
    if (c.error.isEmpty()) {
      EXPECT_EQ(a.log, c.log) << c.args.join(' ').toStdString();
    }
  }
}

}  // namespace
}  // namespace vnx::app
