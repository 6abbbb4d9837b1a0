#include "engine/stream/working_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vnx {

namespace {

constexpr size_t kBufferBytes = 1 << 20;
// The epoch pair is committed once either buffer passes this mark; one epoch more always fits.
constexpr size_t kEpochHighWater = kBufferBytes - (64 << 10);

struct FileSpec {
  const char* name;
  size_t recordSize;
};

constexpr std::array<FileSpec, kWorkFileCount> kSpecs{{
    {"DataEpochs.dat", 1024},
    {"ExtEventRecsXA.dat", 56},
    {"ExtEventRecsXB.dat", 56},
    {"ZARecs.dat", 8},
    {"ZBRecs.dat", 8},
    {"EphemGPSRecs.dat", 184},
    {"EphemGLORecs.dat", 128},
    {"SVRecs.dat", 216},
    {"EventRecs.dat", 216},
    {"EphemGEORecs.dat", 128},
    {"EphemGALRecs.dat", 208},
    {"Header.dat", 1},
}};

bool DirExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool WriteAll(int fd, const uint8_t* p, size_t n, int& err) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    if (w == 0) {
      err = ENOSPC;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

}  // namespace

const char* WorkFileName(WorkFile f) {
  return kSpecs[static_cast<int>(f)].name;
}
size_t WorkFileRecordSize(WorkFile f) {
  return kSpecs[static_cast<int>(f)].recordSize;
}

std::string ChooseWorkingDirectory(const std::string& startDir) {
  std::string base = startDir;
  if (base.empty() || base.back() != '/') base += '/';
  std::string dir = base + "TempVNX_V/";
  for (int n = 0; DirExists(dir) && n <= 99999; ++n) {
    dir = base + "TempVNX_V_" + std::to_string(n) + "/";
    if (n == 99999) return dir;  // all taken: used as it is, without creating it
  }
  ::mkdir(dir.c_str(), 0755);  // a failure shows up when the files are created
  return dir;
}

int MakeDirectories(const std::string& path) {
  std::string sofar;
  size_t at = 0;
  while (at <= path.size()) {
    const size_t slash = path.find('/', at);
    const size_t stop = slash == std::string::npos ? path.size() : slash;
    sofar = path.substr(0, stop);
    if (!sofar.empty() && ::mkdir(sofar.c_str(), 0755) != 0 && errno != EEXIST) return errno;
    at = stop + 1;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

RecordFile::~RecordFile() {
  Close();
}

bool RecordFile::Fail(int err) {
  errno_ = err;
  failed_ = true;
  buffer_.clear();  // what did not reach the file is dropped; the counts say so
  return false;
}

bool RecordFile::Create(const std::string& path, size_t recordSize) {
  Close();
  inMemory_ = false;
  path_ = path;
  recordSize_ = recordSize;
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  errno_ = fd_ < 0 ? errno : 0;
  buffer_.clear();
  buffer_.reserve(kBufferBytes);
  committed_ = 0;
  failed_ = false;
  return fd_ >= 0;
}

bool RecordFile::CreateInMemory(const char* name, size_t recordSize) {
  if (inMemory_ && fd_ >= 0 && recordSize == recordSize_) {  // made before: emptied
    buffer_.clear();
    committed_ = 0;
    failed_ = false;
    const bool ok = ::ftruncate(fd_, 0) == 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
    errno_ = ok ? 0 : errno;
    return ok;
  }
  Close();
  recordSize_ = recordSize;
  fd_ = ::memfd_create(name, MFD_CLOEXEC);
  errno_ = fd_ < 0 ? errno : 0;
  path_ = fd_ < 0 ? std::string() : "/proc/self/fd/" + std::to_string(fd_);
  inMemory_ = true;
  buffer_.clear();  // grows with what is written: most logs in memory are small
  committed_ = 0;
  failed_ = false;
  return fd_ >= 0;
}

bool RecordFile::Reopen() {
  buffer_.clear();
  committed_ = 0;
  failed_ = false;
  if (inMemory_) {  // the descriptor is the file: back to its first record
    errno_ = fd_ < 0 ? EBADF : 0;
    return fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
  errno_ = fd_ < 0 ? errno : 0;
  return fd_ >= 0;
}

bool RecordFile::Append(const void* record) {
  return AppendMany(record, 1);
}

bool RecordFile::AppendMany(const void* records, size_t count) {
  const size_t bytes = count * recordSize_;
  if (failed_) return false;
  if (fd_ < 0) return Fail(EBADF);
  if (buffer_.size() + bytes > kBufferBytes && !Flush()) return false;
  if (bytes > kBufferBytes) {  // larger than the buffer: straight through
    int err = 0;
    if (!WriteAll(fd_, static_cast<const uint8_t*>(records), bytes, err)) return Fail(err);
    committed_ += count;
    return true;
  }
  const auto* p = static_cast<const uint8_t*>(records);
  buffer_.insert(buffer_.end(), p, p + bytes);
  return true;
}

bool RecordFile::Flush() {
  if (failed_) return false;
  if (buffer_.empty()) return true;
  if (fd_ < 0) return Fail(EBADF);
  int err = 0;
  if (!WriteAll(fd_, buffer_.data(), buffer_.size(), err)) return Fail(err);
  committed_ += buffer_.size() / recordSize_;
  buffer_.clear();
  return true;
}

void RecordFile::Close() {
  if (fd_ >= 0) {
    Flush();
    ::close(fd_);
  }
  fd_ = -1;
}

std::string WorkingFiles::PathOf(WorkFile f) const {
  return inMemory_ ? files_[static_cast<int>(f)].Path() : dir_ + WorkFileName(f);
}

bool WorkingFiles::CreateAll(const std::string& dir, std::string& failedName) {
  dir_ = dir;
  inMemory_ = false;
  if (!dir_.empty() && dir_.back() != '/') dir_ += '/';
  return CreateEach(failedName);
}

bool WorkingFiles::CreateAllInMemory(std::string& failedName) {
  // A name under a regular file: joining a file name to it never opens anything.
  dir_ = "/dev/null/";
  inMemory_ = true;
  return CreateEach(failedName);
}

bool WorkingFiles::CreateEach(std::string& failedName) {
  for (int i = 0; i < kWorkFileCount; ++i) {
    const auto f = static_cast<WorkFile>(i);
    const bool created = inMemory_
                             ? files_[i].CreateInMemory(WorkFileName(f), WorkFileRecordSize(f))
                             : files_[i].Create(PathOf(f), WorkFileRecordSize(f));
    if (!created) {
      failedName = WorkFileName(f);
      openErrno_ = files_[i].LastErrno();
      return false;
    }
  }
  ResetCommitted();
  failure_.clear();
  return true;
}

bool WorkingFiles::ReopenAll(std::string& failedName) {
  ResetCommitted();
  failure_.clear();
  for (int i = 0; i < kWorkFileCount; ++i) {
    if (!files_[i].Reopen()) {
      failedName = WorkFileName(static_cast<WorkFile>(i));
      openErrno_ = files_[i].LastErrno();
      return false;
    }
  }
  return true;
}

void WorkingFiles::CloseAll() {
  for (auto& f : files_) f.Close();
}

void WorkingFiles::RemoveAll() {
  CloseAll();
  if (inMemory_) return;  // closing was all there was to do
  for (int i = 0; i < kWorkFileCount; ++i) {
    const std::string path = PathOf(static_cast<WorkFile>(i));
    if (DirExists(path)) ::unlink(path.c_str());
  }
  if (!dir_.empty()) ::rmdir(dir_.c_str());
}

bool WorkingFiles::Check(WorkFile f, bool ok) {
  if (!ok && failure_.empty()) {
    const RecordFile& file = File(f);
    failure_ = std::string("Error Writing File ") + WorkFileName(f) + " ! " +
               std::strerror(file.LastErrno());
  }
  return ok;
}

bool WorkingFiles::Append(WorkFile f, const void* record) {
  return Check(f, File(f).Append(record));
}

bool WorkingFiles::AppendMany(WorkFile f, const void* records, size_t count) {
  return Check(f, File(f).AppendMany(records, count));
}

bool WorkingFiles::CommitEpochs() {
  if (!Check(WorkFile::DataEpochs, File(WorkFile::DataEpochs).Flush())) return false;
  if (!Check(WorkFile::SVRecs, File(WorkFile::SVRecs).Flush())) return false;
  committedEpochs_ += pendingEpochs_;
  pendingEpochs_ = 0;
  return true;
}

bool WorkingFiles::AppendEpoch(const void* epochRec, const void* svRecs, size_t svCount) {
  RecordFile& epochs = File(WorkFile::DataEpochs);
  RecordFile& svs = File(WorkFile::SVRecs);
  if (!Check(WorkFile::DataEpochs, epochs.Append(epochRec))) return false;
  if (svCount > 0 && !Check(WorkFile::SVRecs, svs.AppendMany(svRecs, svCount))) return false;
  ++pendingEpochs_;
  if (epochs.BufferedBytes() > kEpochHighWater || svs.BufferedBytes() > kEpochHighWater)
    return CommitEpochs();
  return true;
}

bool WorkingFiles::FlushAll() {
  bool ok = CommitEpochs();
  for (int i = 0; i < kWorkFileCount; ++i)
    ok = Check(static_cast<WorkFile>(i), files_[i].Flush()) && ok;
  return ok;
}

}  // namespace vnx
