#include "engine/epoch/record_reader.h"

namespace vnx {

RecordReader::RecordReader(const std::string& path, size_t recordSize)
    : file_(std::fopen(path.c_str(), "rb")), recordSize_(recordSize) {
  if (file_) std::setvbuf(file_, nullptr, _IOFBF, 1 << 18);
}

RecordReader::~RecordReader() {
  if (file_) std::fclose(file_);
}

bool RecordReader::AtEnd() {
  if (!file_) return true;
  const int c = std::fgetc(file_);
  if (c == EOF) return true;
  std::ungetc(c, file_);
  return false;
}

bool RecordReader::Read(void* out) {
  return file_ && std::fread(out, recordSize_, 1, file_) == 1;
}

}  // namespace vnx
