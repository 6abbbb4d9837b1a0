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
  // Opens and maps; every failure is shown at once through `ui` and leaves View() null. The
  // message names the file and the system's reason.
  TMappedFile(const TParameters& params, ScanUi& ui);
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  const uint8_t* View() const { return view_; }
  int32_t LastError() const { return lastError_; }
  uint64_t Size() const { return size_; }  // the whole size: files of 4 GiB and more scan whole
  bool Ok() const { return view_ != nullptr; }

 private:
  bool Fail(ScanUi& ui, const std::string& message, int error);

  const uint8_t* view_ = nullptr;
  int fd_ = -1;
  int32_t lastError_ = 0;
  uint64_t size_ = 0;
};

// The scanner's documented name.
class TOpenMappedFile {
 public:
  TOpenMappedFile(const std::string& fileName, ScanUi& ui);
  // A log already in memory, exactly `size` bytes at `data` (which must outlive the object):
  // nothing is opened or mapped. The fuzz targets scan their inputs this way, so a read one
  // byte past the end is caught.
  TOpenMappedFile(const std::string& name, const uint8_t* data, uint64_t size);

  uint64_t FileSize() const { return size_; }
  uint64_t Position() const { return static_cast<uint64_t>(Cursor - View()); }
  const uint8_t* View() const { return view_; }
  int32_t LastError() const { return mapped_ ? mapped_->LastError() : 0; }
  // Lets the system drop the pages of [0, upTo) from this process; they are read again from
  // the file if they are touched later. Keeps memory flat on very large logs.
  void ReleaseBefore(uint64_t upTo);
  // The same for the whole pages inside [from, to): a stretch walked far ahead of the cursor.
  void ReleaseRange(uint64_t from, uint64_t to);

  const uint8_t* Cursor = nullptr;
  std::string FileName;
  uint8_t Opened = 0;  // 1 when mapped; the scanner leaves its own result here

 private:
  bool Releasable() const { return mapped_ && mapped_->Ok(); }

  std::unique_ptr<TMappedFile> mapped_;
  const uint8_t* view_ = nullptr;
  uint64_t size_ = 0;
  uint64_t released_ = 0;
};

}  // namespace vnx
