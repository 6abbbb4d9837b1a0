// Mapping the log file.
#include "engine/stream/mapped_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

// Every file that cannot be scanned gives one message naming it and the reason.
TEST(MappedFile, UnmappableFilesNameThemselvesAndTheReason) {
  TempDir dir;
  const std::string missing = "/nonexistent/dir/log.vnx";
  const std::string empty = dir.Write("empty.vnx", "");
  const std::string fifo = dir.path() + "/fifo.vnx";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const struct {
    std::string path, message;
    int error;
  } cases[] = {
      {missing,
       "ERROR INVALID HANDLE VALUE (CreateFile)2 /nonexistent/dir/log.vnx: No such file or "
       "directory",
       2},
      {empty, "The file is empty: " + empty, EINVAL},
      {dir.path(), dir.path() + " is a directory", EISDIR},
      {fifo, fifo + " is not a regular file", EINVAL},  // and opening it does not wait
  };
  for (const auto& c : cases) {
    RecordingUi ui;
    TOpenMappedFile f(c.path, ui);
    EXPECT_EQ(f.Opened, 0) << c.path;
    EXPECT_THAT(ui.messages, ::testing::ElementsAre(c.message));
    EXPECT_EQ(f.LastError(), c.error) << c.path;
  }
}

TEST(MappedFile, BytesInMemoryAreScannedAsTheyAre) {
  const uint8_t bytes[3] = {'a', 'b', 'c'};
  TOpenMappedFile f("memory.vnx", bytes, sizeof bytes);
  EXPECT_EQ(f.Opened, 1);
  EXPECT_EQ(f.View(), bytes);
  EXPECT_EQ(f.FileSize(), 3u);
  f.ReleaseBefore(1 << 20);  // nothing is mapped: nothing is handed back
  EXPECT_EQ(bytes[0], 'a');
}

TEST(MappedFile, EmptyName) {
  RecordingUi ui;
  TOpenMappedFile f("", ui);
  EXPECT_EQ(f.Opened, 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Empty filename");
}

TEST(MappedFile, PositionRunsFromZeroToTheSize) {
  TempDir dir;
  RecordingUi ui;
  TOpenMappedFile f(dir.Write("a.vnx", "0123456789"), ui);
  ASSERT_EQ(f.Opened, 1);
  EXPECT_EQ(f.Position(), 0u);
  EXPECT_EQ(f.FileSize(), 10u);
  f.Cursor = f.View() + f.FileSize();
  EXPECT_EQ(f.Position(), 10u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.View()), 10), "0123456789");
}

TEST(MappedFile, ScanOfMissingFileIsNotScanned) {
  TempDir dir;
  RecordingUi ui;
  Session s(&ui);
  ASSERT_TRUE(s.CreateWorkingFiles(ChooseWorkingDirectory(dir.path())));
  EXPECT_FALSE(s.Scan(dir.path() + "/missing.vnx"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "ERROR INVALID HANDLE VALUE (CreateFile)2 " + dir.path() +
                                "/missing.vnx: No such file or directory");
}

}  // namespace
}  // namespace vnx::test
