// Framing, resynchronisation and the scan loop.
#include "engine/scan/scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/stream/checksum.h"
#include "engine/views/error_list.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

class ScannerTest : public ScanFixture {};

// A well-formed log with one epoch: header, date, time, one GPS satellite.
LogBuilder OneEpoch() {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5});
  return b;
}

TEST_F(ScannerTest, ChecksumOfAbcIsF3) {
  const uint8_t abc[] = {'a', 'b', 'c'};
  EXPECT_EQ(Checksum(abc, 3), 0xF3);
  // A one-byte body carries a checksum over the five head bytes only.
  const std::string f = BuildFrame("~~", "");
  ASSERT_EQ(f.substr(0, 5), "~~001");
  EXPECT_EQ(static_cast<uint8_t>(f[5]), Checksum(reinterpret_cast<const uint8_t*>(f.data()), 5));
}

TEST_F(ScannerTest, CleanLogHasOnlyTheHeading) {
  ASSERT_TRUE(ScanLog(OneEpoch()));
  EXPECT_EQ(session.ResultCode(), 1);
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.epochCount, 1);
  EXPECT_EQ(ctx.headerInfo[kHeaderLogType], "VNX");
}

TEST_F(ScannerTest, VeryShortFileWritesNothing) {
  ASSERT_TRUE(ScanLog("\r\n\r\n" + std::string(89, 'x')));
  EXPECT_EQ(session.ResultCode(), 0);
  EXPECT_THAT(ErrorLines(), ElementsAre("Very short file!"));
  EXPECT_EQ(ReadFileBytes(WorkFile("Header.dat")), "");
}

TEST_F(ScannerTest, MissingIdentifierFrameIsReportedAndScanGoesOn) {
  LogBuilder b;
  b.Date(2009, 6, 23).Time(1000).Sats({5}).Time(2000).Sats({5});
  b.Bytes(std::string(60, '\n'));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorLines(), ElementsAre("The beginning doesn't coincide with 'VN055RLOGF VNX'!",
                                        "VN doesn't include 'Receiver Log File'!"));
  EXPECT_EQ(ctx.epochCount, 2);
}

TEST_F(ScannerTest, IdentifierFrameOfAnotherKindIsScannedAgain) {
  // "VN055RLOGF" followed by something other than " VNX": the frame is dispatched once as the
  // identifier and seen again by the loop; the log-type name is still read.
  std::string body = "RLOGF XYZ Receiver Log File";
  body.resize(84, ' ');
  LogBuilder b;
  b.Frame("VN", body).Date(2009, 6, 23).Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.headerInfo[kHeaderLogType], "XYZ");
}

TEST_F(ScannerTest, GarbageBetweenFramesGivesTwoLines) {
  LogBuilder b = OneEpoch();
  const size_t at = b.Offset();
  b.Bytes("xyz").Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const std::string from = HexOffset(at), to = HexOffset(at + 2);
  EXPECT_THAT(ErrorLines(), ElementsAre("Error: Other text  len=3 0X   " + from + " (0X " + to +
                                            " ) (  0h0m1.0s ) ",
                                        "78 79 7a "));
  EXPECT_EQ(ctx.epochCount, 2);
}

TEST_F(ScannerTest, PunctuationLineIsSkippedOnlyAfterALineBreak) {
  LogBuilder b = OneEpoch();
  b.Bytes("# a comment line\r\n").Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());

  LogBuilder c;
  c.Header().Date(2009, 6, 23).Time(1000);
  std::string s = c.str();
  s.resize(s.size() - 2);  // no line break after the time frame
  s += "#!\r\n" + LogBuilder().Sats({5}).Time(2000).Sats({5}).str();
  ASSERT_TRUE(ScanLog(s));
  ASSERT_EQ(ErrorLines().size(), 2u);
  EXPECT_EQ(ErrorLines()[1], "23 21 0d 0a ");
}

TEST_F(ScannerTest, LowerCaseLengthStartsResynchronisation) {
  LogBuilder b = OneEpoch();
  b.Bytes("AAa0c\r\n").Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(ErrorLines().size(), 2u);
  EXPECT_EQ(ErrorLines()[1], "41 41 61 30 63 0d 0a ");
}

TEST_F(ScannerTest, LastFrameWithoutLineBreakIsNotDispatched) {
  std::string s = OneEpoch().str() + BuildFrame("~~", Payload().U32(2000)) + "\r\n";
  s += BuildFrame("SI", std::string(1, '\x06'));  // ends exactly at the end of the file
  ASSERT_TRUE(ScanLog(s));
  ASSERT_EQ(ctx.epochCount, 2);
  EXPECT_EQ(SatRecords()[1][0].number, 5);  // the last SI was never decoded
}

TEST_F(ScannerTest, FrameRunningPastTheEndEndsTheScanSilently) {
  std::string s = OneEpoch().str() + "RC0FF" + std::string(20, '\x01');
  ASSERT_TRUE(ScanLog(s));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.epochCount, 1);
}

TEST_F(ScannerTest, BadChecksumRejectsTheFrameAndResynchronises) {
  LogBuilder b = OneEpoch();
  std::string bad = BuildFrame("SI", std::string(1, '\x07'));
  bad.back() ^= 0x55;
  const size_t at = b.Offset();
  b.Time(2000).Bytes(bad + "\r\n").Time(3000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const auto lines = ErrorLines();
  ASSERT_GE(lines.size(), 1u);
  const size_t si = at + BuildFrame("~~", Payload().U32(2000)).size() + 2;
  EXPECT_EQ(lines[0], "Addr ( 0x )  " + HexOffset(si) + " - " + HexOffset(si + 6) +
                          " (  0h0m2.0s )    Error in SI message :  Bad Checksum   ");
}

TEST_F(ScannerTest, ErrorsAreRecordsAndTheListTextsAreMadeFromThem) {
  LogBuilder b = OneEpoch();
  const size_t garbage = b.Offset();
  b.Bytes("xyz").Time(2000);
  std::string bad = BuildFrame("SI", std::string(1, '\x07'));
  bad.back() ^= 0x55;
  const size_t si = b.Offset();
  b.Bytes(bad + "\r\n").Time(3000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const std::vector<ScanError>& errors = session.Errors();
  // The garbage, the rejected frame, then the bytes of its body skipped while resynchronising;
  // no heading among the records.
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0].kind, ScanErrorKind::UnframedBytes);
  EXPECT_EQ(errors[0].first, garbage);
  EXPECT_EQ(errors[0].last, garbage + 2);
  EXPECT_THAT(errors[0].lines, ElementsAre("78 79 7a "));
  EXPECT_EQ(errors[1].kind, ScanErrorKind::Message);
  EXPECT_EQ(errors[1].message, "SI");
  EXPECT_EQ(errors[1].first, si);
  EXPECT_EQ(errors[1].last, si + 6);
  EXPECT_EQ(errors[1].time, " 0h0m2.0s");
  EXPECT_THAT(errors[1].lines, ElementsAre(" Bad Checksum   "));
  EXPECT_EQ(errors[2].kind, ScanErrorKind::UnframedBytes);
  const std::vector<std::string> lines = ErrorListLines(errors);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], kErrorListHeading);
  EXPECT_EQ(lines[2], "78 79 7a ");
  EXPECT_EQ(lines[3], ErrorTexts(errors[1])[0]);
}

TEST_F(ScannerTest, ShortBodyAndBadChecksumMakeOneLine) {
  LogBuilder b = OneEpoch();
  b.Time(2000);
  std::string gt = BuildRawFrame("GT", "abc");
  b.Bytes(gt + "\r\n").Sats({5});
  ASSERT_TRUE(ScanLog(b));
  ASSERT_FALSE(ErrorLines().empty());
  EXPECT_NE(ErrorLines()[0].find(
                "Error in GT message : Length of message = 3 but must be >= 7 Bad Checksum   "),
            std::string::npos);
}

TEST_F(ScannerTest, UnknownIdentifierIsSkippedSilently) {
  LogBuilder b = OneEpoch();
  b.Frame("QQ", "anything at all").Frame("GP", "x").Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.epochCount, 2);
}

TEST_F(ScannerTest, FileSizeTexts) {
  EXPECT_EQ(TVNXFile::FileSizeText(500), " 500 byte");
  EXPECT_EQ(TVNXFile::FileSizeText(1536), "  1.500 KB");
  EXPECT_EQ(TVNXFile::FileSizeText(1048576), "  1.000 MB");
}

TEST_F(ScannerTest, StopEndsTheLoopAndStillClosesTheEpoch) {
  // Every epoch is padded to 100 bytes from offset 202 on, so its last frame ends at a multiple
  // of 100 and the cursor stands on a multiple of 1000 after every tenth epoch.
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  b.Frame("QQ", std::string(89, ' '));
  ASSERT_EQ(b.size(), 202u);
  for (uint32_t t = 1000; b.size() < 20000; t += 1000)
    b.Time(t).Sats({5, 7}).Frame("QQ", std::string(70, ' '));
  ui.onEvents = [this] {
    if (ui.eventRounds == 3) ctx.stopRequested = true;
  };
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(session.ResultCode(), 1);
  // Checkpoints at 1000, 2000 and 3000: the third one stops after 28 epochs were read.
  EXPECT_EQ(ui.eventRounds, 3);
  EXPECT_EQ(ctx.epochCount, 28);
  EXPECT_FALSE(ctx.stopRequested);
  EXPECT_EQ(static_cast<int>(Epochs().size()), ctx.epochCount);
}

TEST_F(ScannerTest, EventsRunEvenWhenNoFrameEndsOnAMultipleOf1000) {
  // Epochs of 22 bytes from offset 105: no frame ever ends on a multiple of 1000, yet the
  // window must still get its events (and its Stop) while megabytes go by.
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (uint32_t t = 0; b.size() < (3u << 20); t = (t + 1000) % 86400000) b.Time(t).Sats({5, 7});
  ui.onEvents = [this] { ctx.stopRequested = true; };
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ui.eventRounds, 1);
  EXPECT_LT(ctx.epochCount, 50000);
  EXPECT_GT(ctx.epochCount, 40000);
}

TEST_F(ScannerTest, RescanOfShorterFileCountsOnlyItsOwnEpochs) {
  LogBuilder longer;
  longer.Header().Date(2009, 6, 23);
  for (uint32_t t = 1000; t <= 10000; t += 1000) longer.Time(t).Sats({5, 7});
  ASSERT_TRUE(ScanLog(longer));
  EXPECT_EQ(ctx.epochCount, 10);
  ASSERT_TRUE(ScanLog(OneEpoch()));
  EXPECT_EQ(ctx.epochCount, 1);
  ASSERT_EQ(Epochs().size(), 1u);
  EXPECT_EQ(SatRecords()[0].size(), 1u);
  // The longer scan's tail stays behind in the file; only the count tells it apart.
  EXPECT_EQ(ReadFileBytes(WorkFile("DataEpochs.dat")).size(), 10u * 1024);
}

// Memory whose last readable byte sits right before a page that faults on any access.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(size_t capacity) {
    page_ = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    readable_ = (capacity + page_ - 1) / page_ * page_;
    void* p = ::mmap(nullptr, readable_ + page_, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    EXPECT_NE(p, MAP_FAILED);
    base_ = static_cast<uint8_t*>(p);
    EXPECT_EQ(::mprotect(base_ + readable_, page_, PROT_NONE), 0);
  }
  ~GuardedBuffer() { ::munmap(base_, readable_ + page_); }
  // Copies `bytes` so that their last byte is the last readable one.
  const uint8_t* PlaceAtEnd(const std::string& bytes) {
    uint8_t* at = base_ + readable_ - bytes.size();
    std::memcpy(at, bytes.data(), bytes.size());
    return at;
  }

 private:
  uint8_t* base_ = nullptr;
  size_t page_ = 0, readable_ = 0;
};

TEST_F(ScannerTest, NothingIsReadPastTheEndOfTheFile) {
  // Every prefix of a damaged log, its last byte against a page that faults when touched: a
  // single read past the end ends the test with a fault.
  LogBuilder b = OneEpoch();
  b.Bytes("zz\x01").Time(2000).Sats({5, 40}).GloNumbers({3}).Elevations({10, 20});
  b.Frame("XA", Payload().I32(2000).I32(0).U8(0)).Frame("ZA", Payload().F32(1.5f));
  b.Frame("IO", Payload().U32(61440).U16(2100));
  const std::string full = b.str();
  GuardedBuffer memory(full.size());
  for (size_t n = 1; n <= full.size(); ++n) {
    const uint8_t* log = memory.PlaceAtEnd(full.substr(0, n));
    session.ResetScanState();
    TVNXFile scanner(ctx, "prefix.vnx", log, n);
    ASSERT_TRUE(scanner.Mapped()) << n;
    scanner.Scan();
  }
  EXPECT_GT(ctx.epochCount, 0);
}

TEST_F(ScannerTest, LongDamagedStretchKeepsItsEdgesAndSaysItWasCut) {
  LogBuilder b = OneEpoch();
  const size_t at = b.Offset();
  std::string damage(100000, 'q');
  damage.replace(0, 3, "xyz");
  b.Bytes(damage).Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  const auto lines = ErrorLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Error: Other text  len=100000 0X   " + HexOffset(at) + " (0X " +
                          HexOffset(at + 99999) + " ) (  0h0m1.0s ) ");
  std::string q64;
  for (int i = 0; i < 64; ++i) q64 += "71 ";
  EXPECT_EQ(lines[1], "78 79 7a " + q64.substr(0, 61 * 3) +
                          "... [cut: the stretch is 100000 bytes long; its first 64 and last 64 "
                          "bytes are shown] ... " +
                          q64);
  EXPECT_EQ(ctx.epochCount, 2);
}

TEST_F(ScannerTest, FrameHeadsBeforeTrailingSeparatorsFindNothing) {
  // Every byte of the 'F' run reads as a frame head whose end lies in the NULs behind it; none
  // is confirmed, and the scan ends there without a line, as it always did.
  LogBuilder b = OneEpoch();
  b.Bytes("\x01" + std::string(4096, 'F') + std::string(65536, '\0'));
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.epochCount, 1);
}

// Resident size of the mapping of `path` in this process, from /proc/self/smaps.
uint64_t ResidentKb(const std::string& path) {
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  while (std::getline(smaps, line)) {
    if (line.size() > path.size() && line.ends_with(" " + path)) inside = true;
    if (inside && line.rfind("Rss:", 0) == 0) return std::stoull(line.substr(4));
  }
  return 0;
}

TEST_F(ScannerTest, LongRunOfSeparatorsIsNotKeptInMemory) {
  // 64 MiB of NULs after the last frame, crossed in one step of the loop: its pages are handed
  // back as the walk passes them, not all kept until the scan ends.
  const std::string path = dir.Write("zeros.vnx", OneEpoch().str());
  std::filesystem::resize_file(path, 64u << 20);
  ASSERT_TRUE(session.Scan(path));
  EXPECT_EQ(ctx.epochCount, 1);
  EXPECT_LT(ResidentKb(path), 40u << 10);
}

}  // namespace
}  // namespace vnx::test
