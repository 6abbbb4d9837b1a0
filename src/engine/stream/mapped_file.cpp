#include "engine/stream/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/ui/scan_ui.h"

namespace vnx {

namespace {
constexpr const char* kNoMemory = "Not enough memory for this file";
}

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
  if (params.FileName.empty()) {
    size_ = params.MaxSize;
    ui.ShowMessage("Empty filename");
    return;
  }
  fd_ = ::open(params.FileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    Fail(ui, "ERROR INVALID HANDLE VALUE (CreateFile)" + std::to_string(error), error);
    return;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    Fail(ui, kNoMemory, errno);
    return;
  }
  size_ = params.MaxSize != 0 ? params.MaxSize : static_cast<uint64_t>(st.st_size);
  if (size_ == 0 || !S_ISREG(st.st_mode) || size_ > static_cast<uint64_t>(st.st_size)) {
    Fail(ui, kNoMemory, EINVAL);
    return;
  }
  void* p = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, fd_, 0);
  if (p == MAP_FAILED) {
    Fail(ui, kNoMemory, errno);
    return;
  }
  ::madvise(p, size_, MADV_SEQUENTIAL);
  view_ = static_cast<const uint8_t*>(p);
}

TMappedFile::TMappedFile(const uint8_t* bytes, uint64_t size)
    : view_(size != 0 ? bytes : nullptr), size_(size), borrowed_(true) {}

TMappedFile::~TMappedFile() {
  if (view_ && !borrowed_) ::munmap(const_cast<uint8_t*>(view_), size_);
  if (fd_ >= 0) ::close(fd_);
}

TOpenMappedFile::TOpenMappedFile(const std::string& fileName, ScanUi& ui)
    : FileName(fileName), mapped_(std::make_unique<TMappedFile>(TParameters(fileName), ui)) {
  Opened = mapped_->Ok() ? 1 : 0;
  if (Opened) Cursor = mapped_->View();
}

TOpenMappedFile::TOpenMappedFile(const uint8_t* bytes, uint64_t size)
    : mapped_(std::make_unique<TMappedFile>(bytes, size)) {
  Opened = mapped_->Ok() ? 1 : 0;
  if (Opened) Cursor = mapped_->View();
}

void TOpenMappedFile::ReleaseBefore(uint64_t upTo) {
  static const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
  upTo -= upTo % page;
  // Borrowed memory is not ours to drop: it may have no file behind it.
  if (!mapped_ || !mapped_->Ok() || mapped_->Borrowed() || upTo <= released_) return;
  ::madvise(const_cast<uint8_t*>(View()) + released_, upTo - released_, MADV_DONTNEED);
  released_ = upTo;
}

}  // namespace vnx
