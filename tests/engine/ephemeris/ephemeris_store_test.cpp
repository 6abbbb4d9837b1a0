// The ephemeris writers: duplicate suppression per satellite, counts, and writes that fail.
#include "engine/ephemeris/ephemeris_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "engine/epoch/record_reader.h"
#include "engine/time/gps_time.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

class EphemerisStoreTest : public ::testing::Test {
 protected:
  EphemerisStoreTest() {
    std::string failed;
    files.CreateAll(dir.path() + "/", failed);
  }

  static TimeRec At(uint32_t seconds) { return TimeRecFromTime(TGPSTime(seconds)); }

  EphemGPSRec Gps(int sv, uint32_t seconds, int16_t iode = 1) {
    EphemGPSRec r{};
    r.sv = sv;
    r.time = At(seconds);
    r.body.k.sv = static_cast<uint8_t>(sv);
    r.body.k.iode = iode;
    return r;
  }

  template <class Rec>
  std::vector<Rec> FileRecords(WorkFile f) {
    RecordReader reader(files.PathOf(f), sizeof(Rec));
    std::vector<Rec> out;
    Rec r;
    while (reader.Read(&r)) out.push_back(r);
    return out;
  }

  TempDir dir;
  WorkingFiles files;
  EphemerisStore store;
};

constexpr uint32_t kT = 1000000000;  // 2011-09-14

TEST_F(EphemerisStoreTest, RepeatedEphemerisIsWrittenOnce) {
  for (int i = 0; i < 600; ++i) store.WriteGps(files, Gps(5, kT));
  EXPECT_EQ(store.Count(SatSystem::Gps, 5), 1);
  EXPECT_EQ(FileRecords<EphemGPSRec>(WorkFile::EphemGPS).size(), 1u);
}

TEST_F(EphemerisStoreTest, SameReferenceTimeWithOtherContentIsNotWritten) {
  EXPECT_TRUE(store.WriteGps(files, Gps(5, kT, 10)));
  EXPECT_FALSE(store.WriteGps(files, Gps(5, kT, 11)));
  const auto recs = FileRecords<EphemGPSRec>(WorkFile::EphemGPS);
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].body.k.iode, 10);
}

TEST_F(EphemerisStoreTest, ComparisonIsPerSatellite) {
  store.WriteGps(files, Gps(5, kT));
  store.WriteGps(files, Gps(6, kT));
  store.WriteGps(files, Gps(5, kT + 7200));
  store.WriteGps(files, Gps(5, kT));  // only the last written record is compared
  EXPECT_EQ(store.Count(SatSystem::Gps, 5), 3);
  EXPECT_EQ(store.Count(SatSystem::Gps, 6), 1);
  EXPECT_EQ(store.Satellites(SatSystem::Gps), (std::vector<int>{5, 6}));
  const auto recs = FileRecords<EphemGPSRec>(WorkFile::EphemGPS);
  ASSERT_EQ(recs.size(), 4u);
  EXPECT_EQ(recs[1].sv, 6);  // in the order written
}

TEST_F(EphemerisStoreTest, SecondsWithinAMillisecondAreTheSameTime) {
  EphemGLORec a{};
  a.sv = 3;
  a.time = At(kT);
  EphemGLORec b = a;
  const double seconds = Ext80ToDouble(a.time.seconds);
  const Extended80 close = Ext80FromDouble(seconds + 0.0009);
  std::memcpy(b.time.seconds, close.data(), close.size());
  EXPECT_TRUE(store.WriteGlonass(files, a));
  EXPECT_FALSE(store.WriteGlonass(files, b));
  const Extended80 apart = Ext80FromDouble(seconds + 0.002);
  std::memcpy(b.time.seconds, apart.data(), apart.size());
  EXPECT_TRUE(store.WriteGlonass(files, b));
  EXPECT_EQ(store.Count(SatSystem::Glonass, 3), 2);
}

TEST_F(EphemerisStoreTest, SbasSatellitesAreCountedByButtonNumber) {
  for (int prn : {120, 138}) {
    EphemGEORec r{};
    r.sv = prn;
    r.time = At(kT);
    EXPECT_TRUE(store.WriteSbas(files, r));
  }
  EXPECT_EQ(store.Count(SatSystem::Sbas, 20), 1);
  EXPECT_EQ(store.Count(SatSystem::Sbas, 38), 1);
  EXPECT_EQ(store.Count(SatSystem::Sbas, 21), 0);
  EXPECT_EQ(store.Satellites(SatSystem::Sbas), (std::vector<int>{20, 38}));
}

TEST_F(EphemerisStoreTest, SatellitesOutsideTheTableAreNotStored) {
  EXPECT_FALSE(store.WriteGps(files, Gps(0, kT)));
  EXPECT_FALSE(store.WriteGps(files, Gps(33, kT)));
  EXPECT_EQ(store.Count(SatSystem::Gps, 0), 0);
  EXPECT_EQ(store.Count(SatSystem::Gps, 33), 0);
  EXPECT_TRUE(FileRecords<EphemGPSRec>(WorkFile::EphemGPS).empty());
}

TEST_F(EphemerisStoreTest, EachRecordIsInTheFileAsSoonAsItIsCounted) {
  store.WriteGps(files, Gps(1, kT));
  EXPECT_EQ(files.File(WorkFile::EphemGPS).BufferedBytes(), 0u);
  EXPECT_EQ(std::filesystem::file_size(files.PathOf(WorkFile::EphemGPS)), 184u);
}

TEST_F(EphemerisStoreTest, FailedWriteIsNotCountedAndStopsTheScan) {
  const std::string path = files.PathOf(WorkFile::EphemGAL);
  ::unlink(path.c_str());
  ASSERT_EQ(::symlink("/dev/full", path.c_str()), 0);
  std::string failed;
  ASSERT_TRUE(files.ReopenAll(failed));
  EphemGALRec r{};
  r.sv = 11;
  r.time = At(kT);
  EXPECT_FALSE(store.WriteGalileo(files, r));
  EXPECT_EQ(store.Count(SatSystem::Galileo, 11), 0);
  EXPECT_TRUE(files.Failed());
  EXPECT_EQ(files.FailureMessage().rfind("Error Writing File EphemGALRecs.dat ! ", 0), 0u);
}

TEST_F(EphemerisStoreTest, ResetClearsCountsAndLastRecords) {
  store.WriteGps(files, Gps(5, kT));
  store.Reset();
  EXPECT_EQ(store.Count(SatSystem::Gps, 5), 0);
  EXPECT_TRUE(store.WriteGps(files, Gps(5, kT)));  // the last record is forgotten too
}

}  // namespace
}  // namespace vnx::test
