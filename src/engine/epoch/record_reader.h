#pragma once
// Reads a working file back from its first record, one fixed-size record at a time. The file is
// mapped read-only: a chart pass goes through millions of records, and copying each from the
// mapped pages is far cheaper than reading them through the file system.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vnx {

class RecordReader {
 public:
  RecordReader(const std::string& path, size_t recordSize);
  ~RecordReader();
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  bool IsOpen() const { return open_; }
  // True when no whole record is left.
  bool AtEnd();
  // Reads the next record into `out`; false at the end of the file.
  bool Read(void* out);

 private:
  bool open_ = false;
  const unsigned char* data_ = nullptr;  // the mapping; null for an empty file
  size_t size_ = 0;
  size_t next_ = 0;  // offset of the next record
  size_t recordSize_;
};

}  // namespace vnx
