// Mapping the log file.
#include "engine/stream/mapped_file.h"

#include <gtest/gtest.h>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

TEST(MappedFile, MissingFileReportsTheSystemError) {
  RecordingUi ui;
  TOpenMappedFile f("/nonexistent/dir/log.vnx", ui);
  EXPECT_EQ(f.Opened, 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "ERROR INVALID HANDLE VALUE (CreateFile)2");
  EXPECT_EQ(f.LastError(), 2);
}

TEST(MappedFile, EmptyFileCannotBeMapped) {
  TempDir dir;
  RecordingUi ui;
  TOpenMappedFile f(dir.Write("empty.vnx", ""), ui);
  EXPECT_EQ(f.Opened, 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Not enough memory for this file");
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
  EXPECT_EQ(ui.messages[0], "ERROR INVALID HANDLE VALUE (CreateFile)2");
}

}  // namespace
}  // namespace vnx::test
