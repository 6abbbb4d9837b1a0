// Programs run as users run them: through the shell, with what they print kept.
#pragma once

#include <string>

namespace vnx::test {

struct CommandRun {
  int status = -1;  // the exit status; -1 when no status came back
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs one shell line; its standard output and standard error are kept apart (a line that
// redirects them itself, "2>&1", gets both in `out`).
CommandRun RunCommand(const std::string& line);

}  // namespace vnx::test
