#include "engine/rinex/rinex_sink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vnx::rinex {

FileSink::FileSink(std::string path) : path_(std::move(path)) {}

FileSink::~FileSink() {
  if (!finished_) Abandon();
}

bool FileSink::Fail(const char* what, int err) {
  if (error_.empty()) error_ = std::string(what) + " " + path_ + ": " + std::strerror(err);
  return false;
}

bool FileSink::Open() {
  const size_t slash = path_.find_last_of('/');
  const std::string dir = slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  temp_ = dir + "." + name + ".XXXXXX";
  std::vector<char> tmpl(temp_.begin(), temp_.end());
  tmpl.push_back(0);
  fd_ = ::mkstemp(tmpl.data());
  if (fd_ < 0) {
    temp_.clear();
    return Fail("cannot create", errno);
  }
  temp_.assign(tmpl.data());
  // mkstemp makes the file private; an exported file gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
  return true;
}

bool FileSink::Write(std::string_view data) {
  if (fd_ < 0) return false;
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail("cannot write", errno);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

bool FileSink::Finish() {
  if (fd_ < 0 || !error_.empty()) return false;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail("cannot write", errno);
  if (::rename(temp_.c_str(), path_.c_str()) != 0) return Fail("cannot rename into", errno);
  finished_ = true;
  temp_.clear();
  return true;
}

void FileSink::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace vnx::rinex
