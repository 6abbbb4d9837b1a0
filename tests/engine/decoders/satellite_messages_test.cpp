// Satellite list, antenna names, GLONASS slot numbers, elevations and azimuths.
#include "engine/decoders/satellite_messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

class SatelliteMessagesTest : public ScanFixture {
 protected:
  LogBuilder Epoch() {
    LogBuilder b;
    b.Header().Date(2009, 6, 23).Time(1000);
    return b;
  }
  std::string ErrorText(size_t i = 0) {
    const auto lines = ErrorLines();
    if (i >= lines.size()) return "";
    return lines[i].substr(lines[i].find("message : ") + 10);
  }
};

TEST_F(SatelliteMessagesTest, UsiMapsToSystemNumberAndChannel) {
  struct Case {
    uint8_t usi, number;
    SatSystem system;
    int32_t channel;
  };
  const Case cases[] = {{5, 5, SatSystem::Gps, 99},        {40, 255, SatSystem::Glonass, -5},
                        {38, 255, SatSystem::Glonass, -7}, {70, 255, SatSystem::Glonass, 25},
                        {75, 75, SatSystem::Galileo, 5},   {125, 125, SatSystem::Sbas, 25},
                        {0, 0, SatSystem::Other, 0},       {200, 0, SatSystem::Other, 0},
                        {33, 0, SatSystem::Other, 0}};
  for (const Case& c : cases) {
    const SatSlot s = SlotFromUsi(c.usi);
    EXPECT_EQ(s.Number, c.number) << int(c.usi);
    EXPECT_EQ(s.System, c.system) << int(c.usi);
    EXPECT_EQ(s.Channel, c.channel) << int(c.usi);
  }
}

TEST_F(SatelliteMessagesTest, GlonassWaitsForItsSlotNumber) {
  LogBuilder b = Epoch();
  b.Sats({5, 40, 125, 75});
  b.Time(2000).Sats({5, 40, 125, 75}).GloNumbers({7});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  ASSERT_EQ(ctx.epochCount, 1);  // the first epoch never got its NN
  const EpochRec e = Epochs()[0];
  EXPECT_EQ(e.flags[kFlagNN], 1);
  EXPECT_THAT(std::vector<uint8_t>(e.usi, e.usi + 5), ElementsAre(5, 40, 125, 75, 0));
  EXPECT_EQ(e.gloNumber[1], 7);
  EXPECT_EQ(e.gloNumber[0], 0);
  EXPECT_EQ(e.gpsWritten, 1);
  EXPECT_EQ(e.gloWritten, 1);
  EXPECT_EQ(e.sbasWritten, 1);
  EXPECT_EQ(e.galWritten, 1);
  const auto sv = SatRecords()[0];
  ASSERT_EQ(sv.size(), 4u);
  EXPECT_EQ(sv[1].number, 7);
  EXPECT_EQ(sv[1].system, static_cast<uint8_t>(SatSystem::Glonass));
  EXPECT_EQ(sv[1].channel, 251);  // -5 in its low byte
  EXPECT_EQ(sv[2].channel, 25);
  EXPECT_TRUE(ctx.gloSeen[7]);
  EXPECT_TRUE(ctx.sbasSeen[25]);
  EXPECT_TRUE(ctx.galSeen[5]);
  EXPECT_TRUE(ui.lit[static_cast<int>(Indicator::Glo)]);
}

TEST_F(SatelliteMessagesTest, BadGlonassNumberKeepsTheSlotOutOfTheRecords) {
  LogBuilder b = Epoch();
  b.Sats({5, 40}).GloNumbers({25});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ErrorText(), "USI=-5 Slot Number==25 Error: It is not a number of GLO satellite");
  ASSERT_EQ(ctx.epochCount, 1);
  EXPECT_EQ(Epochs()[0].satsWritten, 1);
}

TEST_F(SatelliteMessagesTest, GlonassNumberLengthMismatchRejectsTheFrame) {
  LogBuilder b = Epoch();
  b.Sats({5, 40}).GloNumbers({3, 4});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ErrorText(), "    Error Len! Expected:1 arrived: 2");
  EXPECT_EQ(ctx.epochCount, 0);  // the epoch waits for numbers that never came
}

TEST_F(SatelliteMessagesTest, SatelliteListedTwice) {
  LogBuilder b = Epoch();
  b.Sats({3, 7, 3});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ErrorText(), "There are equal satellites 3");
  EXPECT_EQ(ctx.epochCount, 0);
  EXPECT_EQ(ctx.epoch.Slots[3].Number, 3);  // the table stays filled
}

TEST_F(SatelliteMessagesTest, AtMost69Satellites) {
  // 32 GPS, 32 Galileo and 6 SBAS satellites.
  std::vector<uint8_t> many;
  for (int i = 1; i <= 32; ++i) many.push_back(static_cast<uint8_t>(i));
  for (int i = 71; i <= 102; ++i) many.push_back(static_cast<uint8_t>(i));
  for (int i = 120; i <= 125; ++i) many.push_back(static_cast<uint8_t>(i));
  LogBuilder b = Epoch();
  b.Sats(many);
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ErrorText(), "Too many satellites 70");

  many.pop_back();
  LogBuilder ok = Epoch();
  ok.Sats(many);
  ASSERT_TRUE(ScanLog(ok));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(Epochs()[0].satsWritten, 69);
}

TEST_F(SatelliteMessagesTest, LongListWithOneAntennaNeverPassesSlot70) {
  // 80 entries of which only 40 belong to antenna "a": refused, and nothing after it can touch
  // a slot beyond 70.
  std::string letters, usi;
  std::vector<uint8_t> list;
  for (int i = 0; i < 80; ++i) {
    letters += (i % 2 == 0) ? 'a' : 'b';
    list.push_back(static_cast<uint8_t>(i % 32 + 1));
  }
  ui.antennaAnswer = {true, 'a'};
  LogBuilder b = Epoch();
  b.Sats({1}).Frame("AN", letters.substr(0, 69)).Time(2000).Sats(list);
  b.Frame("EL", std::string(80, '\x0a')).GloNumbers({});
  ASSERT_TRUE(ScanLog(b));
  bool tooMany = false;
  for (const auto& l : ErrorLines())
    tooMany |= l.find("Too many satellites 80") != std::string::npos;
  EXPECT_TRUE(tooMany);
  EXPECT_EQ(ctx.selectedAntenna, 'a');
}

TEST_F(SatelliteMessagesTest, AntennaQuestionOnceWithTheLettersOfTheFrame) {
  ui.antennaAnswer = {true, 'b'};
  LogBuilder b = Epoch();
  b.Sats({5, 6, 7}).Antennas("aba").Time(2000).Sats({5, 6, 7}).Antennas("abc");
  b.Elevations({10, 20, 30}).Time(3000);
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ui.antennaQuestions, ElementsAre("ab"));
  EXPECT_EQ(ctx.antennaLetters, "abc");
  // From the second epoch on only antenna "b" (slot 2) is kept; the third epoch has no list of
  // its own and keeps the slots of the second.
  const auto sv = SatRecords();
  ASSERT_EQ(sv.size(), 3u);
  EXPECT_EQ(sv[0].size(), 3u);
  ASSERT_EQ(sv[1].size(), 1u);
  EXPECT_EQ(sv[1][0].number, 6);
  EXPECT_EQ(sv[1][0].elevation, 20);
}

TEST_F(SatelliteMessagesTest, StoppingAtTheAntennaQuestionEndsTheScan) {
  ui.antennaAnswer = {false, '0'};
  LogBuilder b = Epoch();
  b.Sats({5}).Antennas("a");
  // A filler frame that ends at offset 1000, where the scan looks at Stop.
  ASSERT_EQ(b.size(), 135u);
  b.Frame("QQ", std::string(859, ' '));
  for (uint32_t t = 2000; t < 60000; t += 1000) b.Time(t).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ctx.epochCount, 1);
}

TEST_F(SatelliteMessagesTest, BadAntennaLetter) {
  LogBuilder b = Epoch();
  b.Sats({5}).Antennas("A");
  ASSERT_TRUE(ScanLog(b));
  EXPECT_EQ(ErrorText(), "A Error in Antenna Name ");
}

TEST_F(SatelliteMessagesTest, ElevationsAndAzimuths) {
  LogBuilder b = Epoch();
  b.Sats({5, 6, 7}).Elevations({45, -3, 127}).Azimuths({90, 255, 0});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_TRUE(ErrorLines().empty());
  EXPECT_EQ(ctx.minElevationSeen, -3);
  EXPECT_EQ(ctx.elevationMask, -3);
  EXPECT_TRUE(ctx.elevSeen);
  EXPECT_TRUE(ctx.azimSeen);
  const auto sv = SatRecords()[0];
  EXPECT_EQ(sv[0].elevation, 45);
  EXPECT_EQ(sv[1].elevation, -3);
  EXPECT_EQ(sv[2].elevation, kNoElevation);  // missing, and stored as such
  EXPECT_EQ(sv[0].azimuth, 180);
  EXPECT_EQ(sv[1].azimuth, 0);  // missing
  const EpochRec e = Epochs()[0];
  EXPECT_EQ(e.flags[kFlagEL], 1);
  EXPECT_EQ(e.flags[kFlagAZ], 1);
}

TEST_F(SatelliteMessagesTest, ElevationLengthMismatchStoresNothingButIsConsumed) {
  LogBuilder b = Epoch();
  b.Sats({5, 6, 7}).Elevations({45, 30}).Azimuths({10, 20, 30});
  ASSERT_TRUE(ScanLog(b));
  ASSERT_EQ(ErrorLines().size(), 1u);
  EXPECT_EQ(ErrorText(), "    Error Len! Expected:3 arrived: 2");
  EXPECT_FALSE(ctx.elevSeen);
  EXPECT_EQ(SatRecords()[0][2].azimuth, 60);
}

TEST_F(SatelliteMessagesTest, EpochWithoutSatellitesIsWrittenAndReported) {
  LogBuilder b = Epoch();
  b.Sats({}).Time(2000).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  EXPECT_THAT(ErrorLines(), ElementsAre(" Haven't satellites in epoch 1"));
  const auto e = Epochs();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].satsWritten, 0);
  EXPECT_EQ(SatRecords()[1][0].number, 5);
}

}  // namespace
}  // namespace vnx::test
