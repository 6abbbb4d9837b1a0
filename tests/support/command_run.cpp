#include "support/command_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace vnx::test {

namespace {

void ReadAll(FILE* f, std::string& into) {
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) into.append(buf, n);
}

}  // namespace

CommandRun RunCommand(const std::string& line) {
  char errPath[] = "/tmp/vnx-stderr-XXXXXX";
  const int fd = ::mkstemp(errPath);
  if (fd >= 0) ::close(fd);
  CommandRun r;
  if (FILE* p = ::popen(("(" + line + ") 2>" + errPath).c_str(), "r")) {
    ReadAll(p, r.out);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  if (FILE* e = std::fopen(errPath, "r")) {
    ReadAll(e, r.err);
    std::fclose(e);
  }
  std::remove(errPath);
  return r;
}

}  // namespace vnx::test
