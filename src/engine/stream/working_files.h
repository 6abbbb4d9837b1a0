#pragma once
// The working directory and its twelve fixed-size record files. The scan appends records;
// the views reopen the files and read them from the first record. Records go through one
// buffer per file; the epoch and satellite files are committed together at epoch boundaries
// so that, after a failed write, the epoch count never points at incomplete records.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vnx {

enum class WorkFile : int {
  DataEpochs,
  ExtEventXA,
  ExtEventXB,
  ZA,
  ZB,
  EphemGPS,
  EphemGLO,
  SVRecs,
  Events,
  EphemGEO,
  EphemGAL,
  Header,
  Count
};
inline constexpr int kWorkFileCount = static_cast<int>(WorkFile::Count);

// File name and record size of each working file.
const char* WorkFileName(WorkFile f);
size_t WorkFileRecordSize(WorkFile f);

// Chooses the working directory under `startDir` ("TempVNX_V/", then "TempVNX_V_0/", ...)
// and creates it. Returns the path with a trailing slash.
std::string ChooseWorkingDirectory(const std::string& startDir);

// Creates `path` and every missing directory above it, like `mkdir -p`. Returns 0, or the
// system's error number when the path cannot be made a directory.
int MakeDirectories(const std::string& path);

class RecordFile {
 public:
  RecordFile() = default;
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  bool Create(const std::string& path, size_t recordSize);
  // The same file kept in memory only (an anonymous memory file): Path() still opens it, for
  // as long as this object keeps it. Made again, it is emptied.
  bool CreateInMemory(const char* name, size_t recordSize);
  // Reopens for reading and writing at the first record, without truncating.
  bool Reopen();
  // Appends one record to the buffer, writing the buffer out when it is full.
  bool Append(const void* record);
  bool AppendMany(const void* records, size_t count);
  bool Flush();
  void Close();

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  size_t RecordSize() const { return recordSize_; }
  size_t BufferedBytes() const { return buffer_.size(); }
  uint64_t CommittedRecords() const { return committed_; }  // written out in this scan
  int LastErrno() const { return errno_; }
  // A write failed in this scan; nothing more is written until the file is reopened.
  bool Failed() const { return failed_; }

 private:
  bool Fail(int err);

  std::string path_;
  size_t recordSize_ = 1;
  int fd_ = -1;
  bool inMemory_ = false;
  std::vector<uint8_t> buffer_;
  uint64_t committed_ = 0;
  int errno_ = 0;
  bool failed_ = false;
};

class WorkingFiles {
 public:
  // Creates every file empty, in the fixed order; on the first failure shows nothing itself
  // and returns the name of the file that failed in `failedName`.
  bool CreateAll(const std::string& dir, std::string& failedName);
  // Every file in memory: nothing touches the disk (the fuzz targets scan thousands of logs
  // a second this way). The views open the files through PathOf(); Dir() names no directory.
  bool CreateAllInMemory(std::string& failedName);
  bool ReopenAll(std::string& failedName);
  // The system's error number of the last create or reopen that failed.
  int OpenErrno() const { return openErrno_; }
  void CloseAll();
  // Closes, deletes every file that exists, removes the directory.
  void RemoveAll();

  const std::string& Dir() const { return dir_; }
  std::string PathOf(WorkFile f) const;
  RecordFile& File(WorkFile f) { return files_[static_cast<int>(f)]; }

  // Appends a record; a failed write is remembered (see Failed()).
  bool Append(WorkFile f, const void* record);
  bool AppendMany(WorkFile f, const void* records, size_t count);
  // One epoch: its EpochRec and its satellite records, committed together.
  bool AppendEpoch(const void* epochRec, const void* svRecs, size_t svCount);
  // Writes every buffer out; commits pending epochs.
  bool FlushAll();

  // Epochs whose records are complete in both files.
  uint64_t CommittedEpochs() const { return committedEpochs_; }
  void ResetCommitted() {
    committedEpochs_ = 0;
    pendingEpochs_ = 0;
  }
  bool Failed() const { return !failure_.empty(); }
  const std::string& FailureMessage() const { return failure_; }
  void ClearFailure() { failure_.clear(); }

 private:
  // Creates the twelve files where the last CreateAll* chose (disk or memory).
  bool CreateEach(std::string& failedName);
  bool Check(WorkFile f, bool ok);
  bool CommitEpochs();

  std::string dir_;
  std::array<RecordFile, kWorkFileCount> files_;
  uint64_t committedEpochs_ = 0;
  uint64_t pendingEpochs_ = 0;
  std::string failure_;
  bool inMemory_ = false;
  int openErrno_ = 0;
};

}  // namespace vnx
