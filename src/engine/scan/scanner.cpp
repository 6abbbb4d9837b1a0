#include "engine/scan/scanner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/decoders/dispatch.h"
#include "engine/decoders/identifier_table.h"
#include "engine/epoch/close_epoch.h"

namespace vnx {

namespace {

constexpr char kIdentifierStart[] = "VN055RLOGF";
constexpr char kIdentifierFrame[] = "VN055RLOGF VNX";
// Pages this far behind the cursor are handed back to the system.
constexpr uint64_t kReleaseStep = 16u << 20;
// The window also gets its events after this many bytes without a checkpoint, so a log whose
// frames never end on a multiple of 1000 cannot freeze it.
constexpr uint64_t kMaxBytesBetweenCheckpoints = 1u << 20;
// Bytes that belong to no frame are listed whole up to this many; of a longer stretch the
// entry keeps the first and the last kDumpEdge bytes, so an entry never grows with the damage.
constexpr uint64_t kWholeDump = 256;
constexpr uint64_t kDumpEdge = 64;

}  // namespace

TVNXFile::TVNXFile(ScanContext& ctx, const std::string& fileName)
    : ctx_(ctx), file_(fileName, *ctx.ui) {
  Start();
}

TVNXFile::TVNXFile(ScanContext& ctx, const std::string& name, const uint8_t* data, uint64_t size)
    : ctx_(ctx), file_(name, data, size) {
  Start();
}

void TVNXFile::Start() {
  mapped_ = file_.Opened == 1;
  ctx_.fileOpened = file_.Opened;
  if (!mapped_) return;
  ctx_.epoch = EpochState{};
  ctx_.antennaLetters.clear();
}

void TVNXFile::Walked(const uint8_t* from, const uint8_t* to) {
  const uint8_t* view = file_.View();
  file_.ReleaseRange(static_cast<uint64_t>(from - view), static_cast<uint64_t>(to - view));
}

std::string TVNXFile::FileSizeText(uint64_t size) {
  char buf[64];
  if (size >= 1048576)
    std::snprintf(buf, sizeof buf, "%7.3f MB", static_cast<double>(size) / 1048576.0);
  else if (size >= 1024)
    std::snprintf(buf, sizeof buf, "%7.3f KB", static_cast<double>(size) / 1024.0);
  else
    std::snprintf(buf, sizeof buf, "%4llu byte", static_cast<unsigned long long>(size));
  return buf;
}

const uint8_t* TVNXFile::SkipSeparators(const uint8_t* p) {
  return skipper_.SkipPlain(p);
}

bool TVNXFile::IsIdentifier(const uint8_t* p) {
  return p[0] >= 0x30 && p[0] <= 0x7E && p[1] >= 0x30 && p[1] <= 0x7E;
}

int32_t TVNXFile::ParseLength(const uint8_t* p) {
  int32_t result = 0;
  for (int i = 2; i < 5; ++i) {
    int32_t v;
    if (p[i] >= '0' && p[i] <= '9')
      v = p[i] - 48;
    else if (p[i] >= 'A' && p[i] <= 'F')
      v = p[i] - 55;
    else
      return -1;
    result = result * 16 + v;
  }
  return result;
}

void TVNXFile::ReportResync(const uint8_t* start) {
  const auto n = static_cast<uint64_t>(file_.Cursor - start);
  const auto from = static_cast<uint64_t>(start - fileBase_);
  std::string bytes;
  static constexpr char kHex[] = "0123456789abcdef";
  auto dump = [&bytes](const uint8_t* p, const uint8_t* end) {
    for (; p < end; ++p) {
      bytes += kHex[*p >> 4];
      bytes += kHex[*p & 15];
      bytes += ' ';
    }
  };
  if (n <= kWholeDump) {
    bytes.reserve(n * 3);
    dump(start, file_.Cursor);
  } else {
    dump(start, start + kDumpEdge);
    bytes += "... [cut: the stretch is " + std::to_string(n) + " bytes long; its first " +
             std::to_string(kDumpEdge) + " and last " + std::to_string(kDumpEdge) +
             " bytes are shown] ... ";
    dump(file_.Cursor - kDumpEdge, file_.Cursor);
  }
  ScanError e;
  e.kind = ScanErrorKind::UnframedBytes;
  e.first = from;
  e.last = from + n - 1;
  e.time = ctx_.lastTimeText;
  e.lines.push_back(std::move(bytes));
  ctx_.AddError(std::move(e));
}

bool TVNXFile::NextMessage() {
  const uint8_t*& c = file_.Cursor;
  c = SkipSeparators(c);
  if (c + 5 >= fileEnd_) return false;
  bodyLength_ = ParseLength(c);
  resync_ = !IsIdentifier(c) || bodyLength_ < 0;
  if (resync_) {
    const uint8_t* start = c;
    const uint8_t* released = c;
    for (;; ++c) {
      if (c + 5 >= fileEnd_) return false;
      if (c - released >= static_cast<ptrdiff_t>(2 * kReleaseStep)) {
        released = c - kReleaseStep;
        file_.ReleaseBefore(static_cast<uint64_t>(released - file_.View()));
      }
      if (!IsIdentifier(c)) continue;
      const int32_t len = ParseLength(c);
      if (len < 0 || c + 5 + len >= fileEnd_) continue;
      // Every byte of a damaged stretch may ask about the same separators after it: the
      // skipper remembers them, so the search stays linear in the stretch.
      const uint8_t* q = skipper_.Skip(c + 5 + len);
      if (q + 5 < fileEnd_ && IsIdentifier(q) && ParseLength(q) > 0) break;
    }
    ReportResync(start);
    resync_ = false;
    bodyLength_ = ParseLength(c);
  }
  return c + 5 + bodyLength_ < fileEnd_;
}

void TVNXFile::ReadFileHeader() {
  const uint8_t*& c = file_.Cursor;
  if (std::memcmp(c, kIdentifierStart, 10) == 0) {
    NextMessage();
    Dispatch(ctx_, IdentifierCode('V', 'N'), c + 5, bodyLength_, 0);
    if (std::memcmp(c, kIdentifierFrame, 14) == 0)
      c += 5 + bodyLength_;
    else
      c = SkipSeparators(file_.View());
  } else {
    ctx_.AddError(ScanErrorKind::File, "The beginning doesn't coincide with 'VN055RLOGF VNX'!");
  }
  const auto* base = reinterpret_cast<const char*>(fileBase_);
  headerText_.assign(base, strnlen(base, 55));
  const size_t p = headerText_.find(" Receiver Log File");
  std::string name;
  if (p == std::string::npos) {
    ctx_.AddError(ScanErrorKind::File, "VN doesn't include 'Receiver Log File'!");
  } else if (p + 1 >= 11) {
    name = headerText_.substr(10, p + 1 - 10);
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
  }
  ctx_.headerInfo[kHeaderLogType] = name;
}

void TVNXFile::Checkpoint(bool& stop) {
  ctx_.ui->ProcessEvents();
  if (ctx_.stopRequested) {
    stop = true;
    return;
  }
  const uint64_t pos = file_.Position();
  ctx_.ui->SetProgress(static_cast<int>(static_cast<double>(pos) / fileSize_ * 100.0));
  ctx_.ui->Refresh();
  if (pos > kReleaseStep) file_.ReleaseBefore(pos - kReleaseStep);
}

void TVNXFile::RunLoop() {
  const uint8_t*& c = file_.Cursor;
  uint64_t lastCheckpoint = file_.Position();
  for (;;) {
    const uint64_t pos = file_.Position();
    if (pos % 1000 == 0 || pos - lastCheckpoint >= kMaxBytesBetweenCheckpoints) {
      lastCheckpoint = pos;
      bool stop = false;
      Checkpoint(stop);
      if (stop) break;
    }
    if (ctx_.files.Failed()) break;  // a working file cannot be written: stop cleanly
    if (!NextMessage()) break;
    const uint16_t id = IdentifierCode(static_cast<char>(c[0]), static_cast<char>(c[1]));
    const uint8_t r = Dispatch(ctx_, id, c + 5, bodyLength_, static_cast<uint64_t>(c - fileBase_));
    if (r == 1) {
      c += 5 + bodyLength_;
    } else {
      c += 5;
      if (!NextMessage()) break;
    }
  }
}

uint8_t TVNXFile::Scan() {
  EpochState& e = ctx_.epoch;
  ClearSlots(e);
  ctx_.epochRec = EpochRec{};
  ctx_.lastTimeText = " --h--m--s ";
  ctx_.ui->Refresh();

  file_.Cursor = file_.View();
  fileSize_ = file_.FileSize();
  ctx_.ui->SetFileSizeText(FileSizeText(fileSize_));
  fileEnd_ = file_.Cursor + fileSize_;
  skipper_.Start(fileEnd_, [this](const uint8_t* from, const uint8_t* to) { Walked(from, to); });
  file_.Cursor = SkipSeparators(file_.Cursor);
  if (static_cast<uint64_t>(fileEnd_ - file_.Cursor) < 90) {
    ctx_.AddError(ScanErrorKind::File, "Very short file!");
    file_.Opened = ctx_.fileOpened = 0;
    return 0;
  }
  fileBase_ = file_.Cursor;
  ctx_.frame.fileBase = fileBase_;
  ctx_.frame.fileEnd = fileEnd_;
  ReadFileHeader();
  e.TimeOfDayMs = 0;
  e.DayNumber = 0;
  ctx_.stopRequested = false;

  RunLoop();

  ctx_.stopRequested = false;
  const bool writeFailed = ctx_.files.Failed();
  if (ctx_.fileOpened == 1 && !writeFailed) ctx_.fileOpened = CloseEpoch(ctx_);
  e.UtcKnown = e.UtcSeen;
  if (e.UtcKnown) e.LeapSeconds = ctx_.utc.dtls;
  if (ctx_.fileOpened == 1 && !e.EpochSeen)
    ctx_.AddError(ScanErrorKind::File, "There are no epochs!");

  ctx_.ui->SetProgress(100);
  ctx_.ui->Refresh();
  ctx_.ui->Pause(300);
  ctx_.ui->SetProgress(0);
  ctx_.ui->Refresh();
  file_.Opened = ctx_.fileOpened;
  return file_.Opened;
}

}  // namespace vnx
