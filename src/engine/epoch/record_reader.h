#pragma once
// Reads a working file back from its first record, one fixed-size record at a time.
#include <cstdint>
#include <cstdio>
#include <string>

namespace vnx {

class RecordReader {
 public:
  RecordReader(const std::string& path, size_t recordSize);
  ~RecordReader();
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // True when no whole record is left.
  bool AtEnd();
  // Reads the next record into `out`; false at the end of the file.
  bool Read(void* out);

 private:
  std::FILE* file_ = nullptr;
  size_t recordSize_;
};

}  // namespace vnx
