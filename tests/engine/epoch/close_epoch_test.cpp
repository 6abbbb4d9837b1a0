// Epoch assembly: what CloseEpoch writes, where, and when it writes nothing.
#include "engine/epoch/close_epoch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "engine/time/gps_time.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

class CloseEpochTest : public ScanFixture {};

TEST_F(CloseEpochTest, WithoutDateNothingIsWritten) {
  LogBuilder b;
  b.Header().Time(1000).Sats({5}).Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ctx.epochCount, 0);
  EXPECT_THAT(ErrorLines(), ::testing::ElementsAre("There are no epochs!"));
}

TEST_F(CloseEpochTest, HeaderHoldsTheBytesBeforeTheFirstTimeFrame) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Frame("QQ", std::string(90, 'h'));
  const size_t at = b.Offset();
  b.Time(1000).Sats({5}).Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog("\r\n" + b.str()));  // leading separators are not part of the header
  EXPECT_EQ(ReadFileBytes(WorkFile("Header.dat")), b.str().substr(0, at - 1));
  EXPECT_EQ(ctx.headerEnd, static_cast<int64_t>(at));
}

TEST_F(CloseEpochTest, GpsTimeBeforeAnyReceiverTimeLeavesTheHeaderEmpty) {
  LogBuilder b;
  b.Header().GpsTime(345600000, 1500).Sats({5}).Time(1000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ReadFileBytes(WorkFile("Header.dat")), "");
}

TEST_F(CloseEpochTest, RecordsSitAtTheirOffsets) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(36330250).Sats({12, 40, 0}).GloNumbers({9});
  b.Elevations({30, 15, 0}).Azimuths({100, 5, 0});
  ASSERT_TRUE(ScanLog(b));
  // Stored observables go through the satellite records in metres.
  const std::string epochs = ReadFileBytes(WorkFile("DataEpochs.dat"));
  const std::string svs = ReadFileBytes(WorkFile("SVRecs.dat"));
  ASSERT_EQ(epochs.size(), 1024u);
  ASSERT_EQ(svs.size(), 2u * 216);
  auto i32 = [](const std::string& s, size_t at) {
    int32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
  };
  EXPECT_EQ(i32(epochs, 160), 2009);
  EXPECT_EQ(i32(epochs, 164), 6);
  EXPECT_EQ(i32(epochs, 168), 23);
  EXPECT_EQ(i32(epochs, 172), 10);
  EXPECT_EQ(i32(epochs, 176), 5);
  EXPECT_DOUBLE_EQ(Ext80ToDouble(reinterpret_cast<const uint8_t*>(epochs.data()) + 184), 30.25);
  EXPECT_EQ(i32(epochs, 296), 1);  // GPS
  EXPECT_EQ(i32(epochs, 300), 1);  // GLONASS
  EXPECT_EQ(i32(epochs, 312), 2);  // records that follow
  EXPECT_EQ(static_cast<uint8_t>(epochs[402]), 12);
  EXPECT_EQ(static_cast<uint8_t>(epochs[403]), 40);
  EXPECT_EQ(static_cast<uint8_t>(epochs[473]), 9);
  EXPECT_EQ(epochs[4], 1);                          // NN
  EXPECT_EQ(epochs[30], 1);                         // EL
  EXPECT_EQ(epochs[31], 1);                         // AZ
  EXPECT_EQ(static_cast<uint8_t>(epochs[152]), 1);  // static, from the site defaults
  EXPECT_EQ(epochs.substr(57, 9), "-Unknown-");
  // The unknown-system satellite (index 0) is counted in the list but not written.
  EXPECT_EQ(svs[0], 12);
  EXPECT_EQ(svs[1], static_cast<uint8_t>(SatSystem::Gps));
  EXPECT_EQ(svs[2], 30);
  int16_t azimuth;
  std::memcpy(&azimuth, svs.data() + 4, 2);
  EXPECT_EQ(azimuth, 200);
  EXPECT_EQ(i32(svs, 8), 99);
  EXPECT_EQ(svs[216 + 0], 9);
  EXPECT_EQ(svs[216 + 1], static_cast<uint8_t>(SatSystem::Glonass));
  EXPECT_EQ(i32(svs, 216 + 8), 251);
}

TEST_F(CloseEpochTest, ObservablesAreWrittenInMetresAndClearedPerEpoch) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5, 6});
  ASSERT_TRUE(ScanLog(b));
  // Drive the state directly: a pseudorange of 0.07 s in slot 1, then close twice.
  ctx.epoch.TimeLost = false;
  ctx.epoch.Obs[1][0].Present[kRange] = 1;
  ctx.epoch.Obs[1][0].Range = 0.07;
  ctx.epoch.Obs[1][2].Present[kSmoothing] = 1;
  ctx.epoch.Obs[1][2].Smoothing = 1e-9f;
  ctx.epochRec.flags[kFlagUO] = 1;
  ctx.utc.dtls = 17;
  ASSERT_EQ(CloseEpoch(ctx), 1);
  ASSERT_EQ(CloseEpoch(ctx), 1);
  ctx.files.FlushAll();
  const auto sv = SatRecords();
  ASSERT_EQ(sv.size(), 3u);
  EXPECT_NEAR(sv[1][0].sig[0].range, 20985472.06, 0.005);
  EXPECT_EQ(sv[1][0].sig[0].present[kRange], 1);
  EXPECT_NEAR(sv[1][0].sig[2].smoothing, 0.299792458, 1e-6);
  EXPECT_EQ(sv[2][0].sig[0].present[kRange], 0);  // cleared after the first close
  const auto e = Epochs();
  EXPECT_EQ(e[1].utc.dtls, 17);
  EXPECT_EQ(e[2].utc.dtls, 0);  // UTC parameters only in the epoch in which UO arrived
}

TEST_F(CloseEpochTest, IdentifierFrameAfterFirstEpochChangesNothing) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5}).Time(2000).Sats({5}).Header().Time(3000);
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ctx.epochCount, 3);
}

}  // namespace
}  // namespace vnx::test
