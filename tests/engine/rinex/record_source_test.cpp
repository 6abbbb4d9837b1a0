// The export reads every record through its record source: the same scan held in memory gives
// the same files as the working files on disk, and records missing from memory are an error.
#include <gtest/gtest.h>

#include "engine/rinex/rinex_export.h"
#include "support/scan_fixture.h"
#include "tools/synth/real_data.h"

namespace vnx::rinex {
namespace {

class RecordSourceTest : public test::ScanFixture {};

TEST_F(RecordSourceTest, RecordsInMemoryExportAsTheWorkingFilesDo) {
  synth::SynthOptions so;
  so.hours = 0.25;
  so.events = true;
  ASSERT_TRUE(ScanLog(synth::test::MakeLog(synth::test::Opec(), so)));
  ExportInput in = ExportInputFromScan(ctx, dir.path() + "/log.vnx");
  auto memory = std::make_shared<MemoryRecordSource>();
  for (int f = 0; f < kWorkFileCount; ++f) {
    const auto file = static_cast<vnx::WorkFile>(f);
    memory->Set(file, ReadFileBytes(ctx.files.PathOf(file)));
  }
  for (Version v : {Version::V304, Version::V211}) {
    ExportOptions o;
    o.version = v;
    o.created = 1640995200;
    std::map<std::string, std::string> fromDisk, fromMemory;
    ASSERT_TRUE(ExportRinexToMemory(in, o, fromDisk).ok);
    ExportInput inMemory = in;
    inMemory.records = memory;
    const ExportResult r = ExportRinexToMemory(inMemory, o, fromMemory);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_GE(fromMemory.size(), 2u);  // observations and navigation
    EXPECT_EQ(fromMemory, fromDisk);
  }
  // Satellite records cut short: an error, and no file.
  std::string sats = ReadFileBytes(ctx.files.PathOf(vnx::WorkFile::SVRecs));
  sats.resize(sats.size() / 2);
  memory->Set(vnx::WorkFile::SVRecs, sats);
  in.records = memory;
  std::map<std::string, std::string> files;
  const ExportResult r = ExportRinexToMemory(in, ExportOptions{}, files);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "Unexpected end of file SVRecs.dat");
  EXPECT_TRUE(files.empty());
}

}  // namespace
}  // namespace vnx::rinex
