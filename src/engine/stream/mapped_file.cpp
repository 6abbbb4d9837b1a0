#include "engine/stream/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/ui/scan_ui.h"

namespace vnx {

namespace {

constexpr const char* kNoMemory = "Not enough memory for this file";

// " /path/log.vnx: No such file or directory": what failed and why, after the message.
std::string Reason(const std::string& path, int error) {
  return " " + path + ": " + std::strerror(error);
}

}  // namespace

bool TMappedFile::Fail(ScanUi& ui, const std::string& message, int error) {
  lastError_ = error;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ui.ShowMessage(message);
  return false;
}

TMappedFile::TMappedFile(const TParameters& params, ScanUi& ui) {
  if ((params.DesiredAccess & 0x80000000u) == 0) {
    Fail(ui, kNoMemory, 87);
    return;
  }
  const std::string& path = params.FileName;
  if (path.empty()) {
    size_ = params.MaxSize;
    ui.ShowMessage("Empty filename");
    return;
  }
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) {
    const int error = errno;
    Fail(ui,
         "ERROR INVALID HANDLE VALUE (CreateFile)" + std::to_string(error) + Reason(path, error),
         error);
    return;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    const int error = errno;
    Fail(ui, kNoMemory + Reason(path, error), error);
    return;
  }
  if (S_ISDIR(st.st_mode)) {
    Fail(ui, path + " is a directory", EISDIR);
    return;
  }
  if (!S_ISREG(st.st_mode)) {
    Fail(ui, path + " is not a regular file", EINVAL);
    return;
  }
  size_ = params.MaxSize != 0 ? params.MaxSize : static_cast<uint64_t>(st.st_size);
  if (st.st_size == 0) {
    Fail(ui, "The file is empty: " + path, EINVAL);
    return;
  }
  if (size_ > static_cast<uint64_t>(st.st_size)) {
    Fail(ui, kNoMemory, EINVAL);
    return;
  }
  void* p = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, fd_, 0);
  if (p == MAP_FAILED) {
    const int error = errno;
    Fail(ui, kNoMemory + Reason(path, error), error);
    return;
  }
  ::madvise(p, size_, MADV_SEQUENTIAL);
  view_ = static_cast<const uint8_t*>(p);
}

TMappedFile::~TMappedFile() {
  if (view_) ::munmap(const_cast<uint8_t*>(view_), size_);
  if (fd_ >= 0) ::close(fd_);
}

TOpenMappedFile::TOpenMappedFile(const std::string& fileName, ScanUi& ui)
    : FileName(fileName), mapped_(std::make_unique<TMappedFile>(TParameters(fileName), ui)) {
  Opened = mapped_->Ok() ? 1 : 0;
  view_ = mapped_->View();
  size_ = mapped_->Size();
  if (Opened) Cursor = view_;
}

TOpenMappedFile::TOpenMappedFile(const std::string& name, const uint8_t* data, uint64_t size)
    : FileName(name), view_(data), size_(size) {
  Opened = 1;
  Cursor = view_;
}

void TOpenMappedFile::ReleaseBefore(uint64_t upTo) {
  static const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
  upTo -= upTo % page;
  if (!Releasable() || upTo <= released_) return;
  ::madvise(const_cast<uint8_t*>(View()) + released_, upTo - released_, MADV_DONTNEED);
  released_ = upTo;
}

void TOpenMappedFile::ReleaseRange(uint64_t from, uint64_t to) {
  static const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
  from += (page - from % page) % page;
  to -= to % page;
  if (!Releasable() || to <= from) return;
  ::madvise(const_cast<uint8_t*>(View()) + from, to - from, MADV_DONTNEED);
}

}  // namespace vnx
