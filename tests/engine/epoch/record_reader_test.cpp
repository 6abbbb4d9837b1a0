// Reading a working file back record by record.
#include "engine/epoch/record_reader.h"

#include <gtest/gtest.h>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

TEST(RecordReaderTest, ReadsWholeRecordsInOrderAndStopsBeforeAPartialOne) {
  TempDir dir;
  const std::string path = dir.Write("r.dat", "abcdefghij");  // two records of 4 and 2 bytes
  RecordReader reader(path, 4);
  ASSERT_TRUE(reader.IsOpen());
  char rec[5] = {};
  ASSERT_FALSE(reader.AtEnd());
  ASSERT_TRUE(reader.Read(rec));
  EXPECT_STREQ(rec, "abcd");
  ASSERT_TRUE(reader.Read(rec));
  EXPECT_STREQ(rec, "efgh");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.Read(rec));
  EXPECT_STREQ(rec, "efgh");  // untouched
}

TEST(RecordReaderTest, EmptyAndMissingFiles) {
  TempDir dir;
  RecordReader empty(dir.Write("e.dat", ""), 8);
  EXPECT_TRUE(empty.IsOpen());
  EXPECT_TRUE(empty.AtEnd());
  char rec[8];
  EXPECT_FALSE(empty.Read(rec));
  RecordReader missing(dir.path() + "/none.dat", 8);
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_TRUE(missing.AtEnd());
  EXPECT_FALSE(missing.Read(rec));
}

}  // namespace
}  // namespace vnx::test
