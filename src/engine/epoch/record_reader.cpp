#include "engine/epoch/record_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace vnx {

RecordReader::RecordReader(const std::string& path, size_t recordSize)
    : recordSize_(recordSize ? recordSize : 1) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) == 0) {
    open_ = true;
    size_ = static_cast<size_t>(st.st_size);
    if (size_ > 0) {
      void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
      if (p == MAP_FAILED) {
        open_ = false;
        size_ = 0;
      } else {
        data_ = static_cast<const unsigned char*>(p);
        ::madvise(p, size_, MADV_SEQUENTIAL);
      }
    }
  }
  // The mapping stays valid without the descriptor.
  ::close(fd);
}

RecordReader::~RecordReader() {
  if (data_) ::munmap(const_cast<unsigned char*>(data_), size_);
}

bool RecordReader::AtEnd() {
  return size_ - next_ < recordSize_ || next_ > size_;
}

bool RecordReader::Read(void* out) {
  if (AtEnd()) return false;
  std::memcpy(out, data_ + next_, recordSize_);
  next_ += recordSize_;
  return true;
}

}  // namespace vnx
