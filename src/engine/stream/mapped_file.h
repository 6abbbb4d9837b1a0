#pragma once
// The log file under examination, mapped read-only as a whole. The scanner walks it with a
// plain cursor; nothing in the system writes into it.
#include <cstdint>
#include <memory>
#include <string>

namespace vnx {

class ScanUi;

// Arguments of the open and map calls. On this platform only the name and the size override
// matter; the rest documents what is asked of the system (read access, shared read/write,
// open existing only, whole-file view).
// The scanner's documented name.
struct TParameters {
  explicit TParameters(std::string fileName) : FileName(std::move(fileName)) {}
  std::string FileName;
  uint32_t DesiredAccess = 0x80000000u;  // read
  uint32_t ShareMode = 3;                // others may read and write
  uint32_t CreationDisposition = 3;      // open existing only
  uint64_t MaxSize = 0;                  // overrides the size when non-zero
};

// The scanner's documented name.
class TMappedFile {
 public:
  // Opens and maps; every failure is shown at once through `ui` and leaves View() null.
  TMappedFile(const TParameters& params, ScanUi& ui);
  // Bytes already in memory, scanned in place and left to their owner.
  TMappedFile(const uint8_t* bytes, uint64_t size);
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  const uint8_t* View() const { return view_; }
  int32_t LastError() const { return lastError_; }
  uint64_t Size() const { return size_; }  // the whole size: files of 4 GiB and more scan whole
  bool Ok() const { return view_ != nullptr; }
  bool Borrowed() const { return borrowed_; }

 private:
  bool Fail(ScanUi& ui, const std::string& message, int error);

  const uint8_t* view_ = nullptr;
  int fd_ = -1;
  int32_t lastError_ = 0;
  uint64_t size_ = 0;
  bool borrowed_ = false;
};

// The scanner's documented name.
class TOpenMappedFile {
 public:
  TOpenMappedFile(const std::string& fileName, ScanUi& ui);
  // A log held in memory by the caller (the tests that place a log against an inaccessible
  // page use it).
  TOpenMappedFile(const uint8_t* bytes, uint64_t size);

  uint64_t FileSize() const { return mapped_ ? mapped_->Size() : 0; }
  uint64_t Position() const { return static_cast<uint64_t>(Cursor - View()); }
  const uint8_t* View() const { return mapped_ ? mapped_->View() : nullptr; }
  int32_t LastError() const { return mapped_ ? mapped_->LastError() : 0; }
  // Lets the system drop the pages of [0, upTo) from this process; they are read again from
  // the file if they are touched later. Keeps memory flat on very large logs.
  void ReleaseBefore(uint64_t upTo);

  const uint8_t* Cursor = nullptr;
  std::string FileName;
  uint8_t Opened = 0;  // 1 when mapped; the scanner leaves its own result here

 private:
  std::unique_ptr<TMappedFile> mapped_;
  uint64_t released_ = 0;
};

}  // namespace vnx
