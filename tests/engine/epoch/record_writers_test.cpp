// The event and offset writers: the file by the kind byte, the count, the cleared bytes.
#include "engine/epoch/record_writers.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/epoch/record_reader.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

class RecordWritersTest : public ::testing::Test {
 protected:
  RecordWritersTest() { EXPECT_TRUE(session.CreateWorkingFiles(dir.path() + "/")); }

  template <class Rec>
  std::vector<Rec> Read(WorkFile f) {
    EXPECT_TRUE(ctx.files.FlushAll());
    RecordReader reader(ctx.files.PathOf(f), sizeof(Rec));
    std::vector<Rec> out;
    Rec r;
    while (reader.Read(&r)) out.push_back(r);
    return out;
  }

  TempDir dir;
  RecordingUi ui;
  Session session{&ui};
  ScanContext& ctx = session.MutableContext();
};

TEST_F(RecordWritersTest, ExtEventKeepsTimeInputAndScaleOnly) {
  ExtEventRec in;
  std::memset(&in, 0xAA, sizeof in);  // reserved bytes the writer must not carry over
  in.time.year = 2009;
  in.isXA = 1;
  in.timeScale = 15;
  WriteExtEvent(ctx, in);
  in.isXA = 0;
  in.timeScale = 0;
  WriteExtEvent(ctx, in);
  WriteExtEvent(ctx, in);
  EXPECT_EQ(ctx.xaCount, 1);
  EXPECT_EQ(ctx.xbCount, 2);

  const auto xa = Read<ExtEventRec>(WorkFile::ExtEventXA);
  const auto xb = Read<ExtEventRec>(WorkFile::ExtEventXB);
  ASSERT_EQ(xa.size(), 1u);
  ASSERT_EQ(xb.size(), 2u);
  EXPECT_EQ(std::memcmp(&xa[0].time, &in.time, sizeof in.time), 0);
  EXPECT_EQ(xa[0].isXA, 1);
  EXPECT_EQ(xa[0].timeScale, 15);
  EXPECT_EQ(xb[1].isXA, 0);
  for (uint8_t b : xa[0].reserved40) EXPECT_EQ(b, 0);
  for (uint8_t b : xa[0].reserved50) EXPECT_EQ(b, 0);
}

TEST_F(RecordWritersTest, ZOffsetGoesByItsKindByte) {
  ZOffsetRec in;
  std::memset(&in, 0xAA, sizeof in);
  in.isZA = 1;
  in.offset = 12.5f;
  WriteZOffset(ctx, in);
  in.isZA = 0;
  in.offset = -1.0f;
  WriteZOffset(ctx, in);
  EXPECT_EQ(ctx.zaCount, 1);
  EXPECT_EQ(ctx.zbCount, 1);

  const auto za = Read<ZOffsetRec>(WorkFile::ZA);
  const auto zb = Read<ZOffsetRec>(WorkFile::ZB);
  ASSERT_EQ(za.size(), 1u);
  ASSERT_EQ(zb.size(), 1u);
  EXPECT_EQ(za[0].isZA, 1);
  EXPECT_FLOAT_EQ(za[0].offset, 12.5f);
  EXPECT_EQ(zb[0].isZA, 0);
  EXPECT_FLOAT_EQ(zb[0].offset, -1.0f);
  for (uint8_t b : za[0].reserved1) EXPECT_EQ(b, 0);
}

}  // namespace
}  // namespace vnx::test
