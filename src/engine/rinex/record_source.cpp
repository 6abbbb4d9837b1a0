#include "engine/rinex/record_source.h"

#include <cstring>
#include <string_view>

#include "engine/epoch/record_reader.h"

namespace vnx::rinex {
namespace {

class FileStream : public RecordStream {
 public:
  FileStream(const std::string& path, size_t recordSize)
      : RecordStream(recordSize), reader_(path, recordSize) {}
  bool IsOpen() const { return reader_.IsOpen(); }

 protected:
  bool Read(void* out) override { return reader_.Read(out); }

 private:
  RecordReader reader_;
};

class FileSource : public RecordSource {
 public:
  explicit FileSource(std::string dir) : dir_(std::move(dir)) {
    if (!dir_.empty() && dir_.back() != '/') dir_ += '/';
  }
  std::unique_ptr<RecordStream> Open(WorkFile f) const override {
    auto stream = std::make_unique<FileStream>(dir_ + WorkFileName(f), WorkFileRecordSize(f));
    if (!stream->IsOpen()) return nullptr;
    return stream;
  }
  std::string Describe() const override { return "the working files in " + dir_; }

 private:
  std::string dir_;
};

class MemoryStream : public RecordStream {
 public:
  MemoryStream(std::string_view bytes, size_t recordSize)
      : RecordStream(recordSize), bytes_(bytes) {}

 protected:
  bool Read(void* out) override {
    if (bytes_.size() - next_ < RecordSize()) return false;
    std::memcpy(out, bytes_.data() + next_, RecordSize());
    next_ += RecordSize();
    return true;
  }

 private:
  std::string_view bytes_;
  size_t next_ = 0;
};

}  // namespace

std::shared_ptr<const RecordSource> WorkingFileSource(std::string dir) {
  return std::make_shared<FileSource>(std::move(dir));
}

std::unique_ptr<RecordStream> MemoryRecordSource::Open(WorkFile f) const {
  return std::make_unique<MemoryStream>(files_[static_cast<int>(f)], WorkFileRecordSize(f));
}

}  // namespace vnx::rinex
