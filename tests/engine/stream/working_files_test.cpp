// The working directory and files: names, order, reopening, and writes that fail.
#include "engine/stream/working_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

namespace fs = std::filesystem;

TEST(WorkingDirectory, FirstFreeNameIsTaken) {
  TempDir dir;
  const std::string first = ChooseWorkingDirectory(dir.path());
  EXPECT_EQ(first, dir.path() + "/TempVNX_V/");
  EXPECT_TRUE(fs::is_directory(first));
  EXPECT_EQ(ChooseWorkingDirectory(dir.path() + "/"), dir.path() + "/TempVNX_V_0/");
  EXPECT_EQ(ChooseWorkingDirectory(dir.path()), dir.path() + "/TempVNX_V_1/");
}

TEST(WorkingFilesSet, CreatesTwelveFilesAndRemovesThem) {
  TempDir dir;
  RecordingUi ui;
  Session s(&ui);
  const std::string work = ChooseWorkingDirectory(dir.path());
  ASSERT_TRUE(s.CreateWorkingFiles(work));
  int files = 0;
  for (const auto& e : fs::directory_iterator(work)) files += e.is_regular_file();
  EXPECT_EQ(files, 12);
  s.RemoveWorkingFiles();
  EXPECT_FALSE(fs::exists(work));
}

TEST(WorkingFilesSet, FailureNamesTheFirstFileThatCannotBeCreated) {
  TempDir dir;
  RecordingUi ui;
  Session s(&ui);
  ::mkdir((dir.path() + "/w").c_str(), 0755);
  fs::create_directory(dir.path() + "/w/ZARecs.dat");  // a directory where a file must go
  EXPECT_FALSE(s.CreateWorkingFiles(dir.path() + "/w/"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            "Error Opening File ZARecs.dat ! Is a directory (" + dir.path() + "/w/ZARecs.dat)");
  EXPECT_FALSE(fs::exists(dir.path() + "/w/ZBRecs.dat"));  // the rest is not tried
  EXPECT_TRUE(fs::exists(dir.path() + "/w/ExtEventRecsXB.dat"));
}

TEST(WorkingFilesSet, MissingDirectoriesAreMadeAndFailuresGiveTheReason) {
  TempDir dir;
  const std::string file = dir.Write("plain", "x");
  const struct {
    std::string work;
    bool made;
    std::string message;
  } cases[] = {
      {dir.path() + "/a/b/c/", true, ""},  // like mkdir -p
      {file + "/w/", false,
       "Error Opening File DataEpochs.dat ! Not a directory (" + file + "/w/)"},
      {file, false, "Error Opening File DataEpochs.dat ! Not a directory (" + file + ")"},
  };
  for (const auto& c : cases) {
    RecordingUi ui;
    Session s(&ui);
    EXPECT_EQ(s.CreateWorkingFiles(c.work), c.made) << c.work;
    if (c.made) {
      EXPECT_TRUE(fs::exists(c.work + "Header.dat"));
      EXPECT_TRUE(ui.messages.empty());
    } else {
      EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
    }
  }
}

TEST(WorkingFilesSet, InMemoryFilesAreWrittenAndReadBackWithoutADirectory) {
  TempDir dir;
  RecordingUi ui;
  Session s(&ui);
  ASSERT_TRUE(s.CreateWorkingFilesInMemory());
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5}).Time(2000).Sats({5, 7});
  ASSERT_TRUE(s.ScanMemory("log.vnx", reinterpret_cast<const uint8_t*>(b.str().data()), b.size()));
  const WorkingFiles& files = s.Context().files;
  EXPECT_EQ(fs::file_size(files.PathOf(WorkFile::DataEpochs)), 2u * 1024);
  EXPECT_EQ(fs::file_size(files.PathOf(WorkFile::SVRecs)), 3u * 216);
  EXPECT_FALSE(fs::exists(files.Dir() + WorkFileName(WorkFile::DataEpochs)));
  // A second scan reopens them at their first record, as on disk.
  ASSERT_TRUE(s.ScanMemory("log.vnx", reinterpret_cast<const uint8_t*>(b.str().data()), b.size()));
  EXPECT_EQ(fs::file_size(files.PathOf(WorkFile::DataEpochs)), 2u * 1024);
  const std::string path = files.PathOf(WorkFile::DataEpochs);
  s.RemoveWorkingFiles();
  EXPECT_FALSE(fs::exists(path));
}

// A log large enough that its epoch records fill the write buffers several times over.
std::string BigLog() {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  std::vector<uint8_t> sats;
  for (uint8_t i = 1; i <= 30; ++i) sats.push_back(i);
  for (uint32_t t = 1000; t <= 1000u * 1000; t += 1000) b.Time(t).Sats(sats);
  return b.str();
}

// Scans `log` with the file size limited to 3 MB, as if the disk filled up; returns 0 when the
// scan stopped as it should.
int ScanOntoFullDisk(const std::string& dir, const std::string& log) {
  std::signal(SIGXFSZ, SIG_IGN);
  RecordingUi ui;
  Session s(&ui);
  if (!s.CreateWorkingFiles(ChooseWorkingDirectory(dir))) return 10;
  const rlimit limit{3 << 20, 3 << 20};
  setrlimit(RLIMIT_FSIZE, &limit);
  if (!s.Scan(log)) return 11;
  if (s.WriteFailure().rfind("Error Writing File ", 0) != 0) return 12;
  if (ui.messages.size() != 1 || ui.messages[0] != s.WriteFailure()) return 13;
  const int32_t n = s.Context().epochCount;
  if (n <= 0 || n >= 1000) return 14;
  // Every counted epoch and its satellite records lie complete in the files.
  if (fs::file_size(s.Context().files.PathOf(WorkFile::DataEpochs)) < uint64_t(n) * 1024) return 15;
  if (fs::file_size(s.Context().files.PathOf(WorkFile::SVRecs)) < uint64_t(n) * 30 * 216) return 16;
  return 0;
}

// When the disk fills up the scan stops with a message naming the file, and the epoch count
// only covers records that reached the files. Runs in a child process because the file-size
// limit stays with the process.
TEST(WorkingFilesDeathTest, FullDiskStopsTheScanCleanly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempDir dir;
  const std::string log = dir.Write("big.vnx", BigLog());
  EXPECT_EXIT(std::exit(ScanOntoFullDisk(dir.path(), log)), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vnx::test
