#pragma once
// Where the export reads the records of a finished scan: the working files on disk, or the
// same bytes held in memory. Every record the export reads goes through this one interface.
#include <array>
#include <memory>
#include <string>

#include "engine/stream/working_files.h"

namespace vnx::rinex {

// The records of one working file, in order from the first.
class RecordStream {
 public:
  explicit RecordStream(size_t recordSize) : recordSize_(recordSize) {}
  virtual ~RecordStream() = default;
  // Copies the next record into `rec`; false when no whole record is left, or when `Rec` is not
  // the file's record.
  template <class Rec>
  bool Next(Rec& rec) {
    return sizeof(Rec) == recordSize_ && Read(&rec);
  }

 protected:
  size_t RecordSize() const { return recordSize_; }
  // Copies the next record of RecordSize() bytes.
  virtual bool Read(void* out) = 0;

 private:
  size_t recordSize_;
};

class RecordSource {
 public:
  virtual ~RecordSource() = default;
  // The records of `f`; null when they cannot be read.
  virtual std::unique_ptr<RecordStream> Open(WorkFile f) const = 0;
  // What the source is, for messages ("the working files in /tmp/w/").
  virtual std::string Describe() const = 0;
};

// The working files in `dir` (with or without its trailing slash).
std::shared_ptr<const RecordSource> WorkingFileSource(std::string dir);

// The bytes of each working file as the scan wrote them, held in memory.
class MemoryRecordSource : public RecordSource {
 public:
  void Set(WorkFile f, std::string bytes) { files_[static_cast<int>(f)] = std::move(bytes); }
  std::unique_ptr<RecordStream> Open(WorkFile f) const override;
  std::string Describe() const override { return "the records in memory"; }

 private:
  std::array<std::string, kWorkFileCount> files_;
};

}  // namespace vnx::rinex
