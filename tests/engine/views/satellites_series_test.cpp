// The Satellites view's passes: counts at or above the mask per system, the elevation and
// azimuth tracks of one satellite, the radio labels, and the ways a pass stops.
#include "engine/views/satellites_series.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr uint8_t kGps = 1, kGlo = 2, kSbas = 3, kGal = 4;

struct Sat {
  uint8_t system;
  uint8_t number;
  int8_t elevation;
  int16_t azimuth = 0;
};
using Epoch = std::vector<Sat>;

template <class T>
void Append(std::string& bytes, const T& rec) {
  bytes.append(reinterpret_cast<const char*>(&rec), sizeof rec);
}

// Writes DataEpochs.dat and SVRecs.dat; `cut` satellite records are left off the end.
SatelliteFiles Write(const TempDir& dir, const std::vector<Epoch>& epochs, size_t cut = 0) {
  std::string e, s;
  for (const Epoch& ep : epochs) {
    EpochRec rec{};
    rec.satsWritten = static_cast<int32_t>(ep.size());
    Append(e, rec);
    for (const Sat& sat : ep) {
      SvRec sv{};
      sv.system = sat.system;
      sv.number = sat.number;
      sv.elevation = sat.elevation;
      sv.azimuth = sat.azimuth;
      Append(s, sv);
    }
  }
  dir.Write("DataEpochs.dat", e);
  dir.Write("SVRecs.dat", s.substr(0, s.size() - cut * sizeof(SvRec)));
  return {dir.path() + "/", static_cast<int32_t>(epochs.size())};
}

std::vector<double> Ys(const PointSeries& p) {
  return p.y;
}

TEST(SatellitesSeries, ThreeGpsAndThreeGlonassAreSixWithTheSystemsLiftedApart) {
  TempDir dir;
  const Epoch ep = {{kGps, 1, 10}, {kGps, 2, 20}, {kGps, 3, 30},
                    {kGlo, 4, 10}, {kGlo, 5, 20}, {kGlo, 6, 30}};
  const SatelliteChart c = CountSatellites(Write(dir, {ep}), 0);
  EXPECT_THAT(c.message, IsEmpty());
  EXPECT_THAT(Ys(c.series[0]), ElementsAre(6));
  EXPECT_THAT(Ys(c.series[1]), ElementsAre(3));
  EXPECT_THAT(Ys(c.series[2]), ElementsAre(3.01));
  EXPECT_THAT(Ys(c.series[3]), ElementsAre(0.02));
  EXPECT_THAT(Ys(c.series[4]), ElementsAre(0.03));
  EXPECT_THAT(c.series[0].x, ElementsAre(1));
}

TEST(SatellitesSeries, MaskCountsElevationsAtOrAboveIt) {
  // Elevations 0, -1, -5, -6, 10 and 45 of GPS, one SBAS at 0, one of an unknown system at 50.
  const Epoch ep = {{kGps, 1, 0},  {kGps, 2, -1}, {kGps, 3, -5},   {kGps, 4, -6},
                    {kGps, 5, 10}, {kGps, 6, 45}, {kSbas, 120, 0}, {5, 7, 50}};
  struct Case {
    int32_t mask;
    double all, gps;
  } cases[] = {{0, 4, 3}, {-5, 6, 5}, {-6, 7, 6}, {10, 2, 2}, {46, 0, 0}, {90, 0, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE("mask " + std::to_string(k.mask));
    TempDir dir;
    const SatelliteChart c = CountSatellites(Write(dir, {ep}), k.mask);
    EXPECT_THAT(Ys(c.series[0]), ElementsAre(k.all));
    EXPECT_THAT(Ys(c.series[1]), ElementsAre(k.gps));
  }
}

TEST(SatellitesSeries, CountPassReportsProgressEvery2000EpochsThenFull) {
  TempDir dir;
  const SatelliteFiles f = Write(dir, std::vector<Epoch>(4500, Epoch{{kGal, 75, 5}}));
  std::vector<int> progress;
  const SatelliteChart c = CountSatellites(f, 0, [&](int p) { progress.push_back(p); });
  EXPECT_THAT(progress, ElementsAre(44, 88, 100));
  ASSERT_EQ(c.series[4].size(), 4500u);
  EXPECT_DOUBLE_EQ(c.series[4].y[4499], 1.03);
  EXPECT_DOUBLE_EQ(c.series[4].x[4499], 4500);
}

TEST(SatellitesSeries, TracksPickOneSatelliteOfOneSystemWithoutMask) {
  TempDir dir;
  // Number 5 in three systems and 75 for Galileo PRN 5; SBAS PRN 120 for label "20".
  const std::vector<Epoch> epochs = {
      {{kGps, 5, -3, 300}, {kGlo, 5, 40, 10}, {kGal, 75, 12, 200}, {kSbas, 120, 33, 180}},
      {{kGal, 5, 1, 1}, {kSbas, 20, 2, 2}},
      {{kGal, 75, 14, -25536}, {kGps, 5, 7, 301}}};
  const SatelliteFiles f = Write(dir, epochs);
  struct Case {
    SatSystem system;
    int label;
    TrackKind kind;
    std::vector<double> x, y;
  } cases[] = {
      {SatSystem::Gps, 5, TrackKind::Elevation, {1, 3}, {-3, 7}},
      {SatSystem::Gps, 5, TrackKind::Azimuth, {1, 3}, {300, 301}},
      {SatSystem::Glonass, 5, TrackKind::Elevation, {1}, {40}},
      {SatSystem::Sbas, 20, TrackKind::Elevation, {1}, {33}},
      {SatSystem::Galileo, 5, TrackKind::Elevation, {1, 3}, {12, 14}},
      // The azimuth is read as an unsigned 16-bit number.
      {SatSystem::Galileo, 5, TrackKind::Azimuth, {1, 3}, {200, 40000}},
      {SatSystem::Sbas, 21, TrackKind::Azimuth, {}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE("system " + std::to_string(static_cast<int>(k.system)) + " label " +
                 std::to_string(k.label));
    const SatelliteChart c = SatelliteTrack(f, k.system, k.label, k.kind);
    EXPECT_THAT(c.message, IsEmpty());
    EXPECT_EQ(c.series[0].x, k.x);
    EXPECT_EQ(c.series[0].y, k.y);
    for (int s = 1; s < kSatSeriesCount; ++s) EXPECT_TRUE(c.series[s].empty());
  }
}

TEST(SatellitesSeries, LabelsAndNumbersOfTheRadioItems) {
  EXPECT_EQ(SatelliteItemCount(SatSystem::Gps), 32);
  EXPECT_EQ(SatelliteItemCount(SatSystem::Glonass), 24);
  EXPECT_EQ(SatelliteItemCount(SatSystem::Sbas), 19);
  EXPECT_EQ(SatelliteItemCount(SatSystem::Galileo), 32);
  EXPECT_EQ(SatelliteItemLabel(SatSystem::Sbas, 0), 20);
  EXPECT_EQ(SatelliteItemLabel(SatSystem::Sbas, 18), 38);
  EXPECT_EQ(SatelliteItemLabel(SatSystem::Glonass, 23), 24);
  EXPECT_EQ(SatelliteNumber(SatSystem::Sbas, 20), 120);
  EXPECT_EQ(SatelliteNumber(SatSystem::Galileo, 5), 75);
  EXPECT_EQ(SatelliteNumber(SatSystem::Glonass, 5), 5);
}

TEST(SatellitesSeries, FailureMessages) {
  const std::vector<Epoch> epochs = {{{kGps, 1, 10}}, {{kGps, 1, 10}, {kGps, 2, 20}}};
  {
    TempDir dir;  // no files at all: nothing is read for an empty scan
    EXPECT_THAT(CountSatellites({dir.path() + "/", 0}, 0).message, IsEmpty());
    const SatelliteFiles f{dir.path() + "/", 2};
    EXPECT_EQ(CountSatellites(f, 0).message, "Error Opening File DataEpochs.dat ! ");
    // The tracks open SVRecs.dat first.
    EXPECT_EQ(SatelliteTrack(f, SatSystem::Gps, 1, TrackKind::Elevation).message,
              "Error Opening File SVRecs.dat ! ");
    dir.Write("SVRecs.dat", "");
    EXPECT_EQ(SatelliteTrack(f, SatSystem::Gps, 1, TrackKind::Elevation).message,
              "Error Opening File DataEpochs.dat ! ");
  }
  {
    TempDir dir;
    Write(dir, epochs);
    std::remove((dir.path() + "/SVRecs.dat").c_str());
    EXPECT_EQ(CountSatellites({dir.path() + "/", 2}, 0).message,
              "Error Opening File SVRecs.dat ! ");
  }
  {
    TempDir dir;  // the scan counted three epochs, the file holds two: the points stay
    SatelliteFiles f = Write(dir, epochs);
    f.epochCount = 3;
    const SatelliteChart c = CountSatellites(f, 0);
    EXPECT_EQ(c.message, "Unexpected end of file");
    EXPECT_THAT(Ys(c.series[0]), ElementsAre(1, 2));
    const SatelliteChart t = SatelliteTrack(f, SatSystem::Gps, 1, TrackKind::Elevation);
    EXPECT_EQ(t.message, "Unexpected end of file");
    EXPECT_THAT(t.series[0].x, ElementsAre(1, 2));
  }
  {
    TempDir dir;  // the second epoch's last satellite record is missing
    std::vector<int> progress;
    const SatelliteChart c =
        CountSatellites(Write(dir, epochs, 1), 0, [&](int p) { progress.push_back(p); });
    EXPECT_EQ(c.message, "Unexpected end of file");
    EXPECT_THAT(Ys(c.series[0]), ElementsAre(1));
    EXPECT_THAT(progress, IsEmpty());  // an interrupted pass never reports completion
  }
}

class SatellitesSeriesScan : public ScanFixture {};

TEST_F(SatellitesSeriesScan, ItemTextsAndTracksFollowTheScannedSatellites) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (int i = 1; i <= 3; ++i)
    b.Time(i * 1000).Sats({5, 120, 75}).Elevations({30, static_cast<int8_t>(10 + i), -4});
  ASSERT_TRUE(ScanLog(b));
  const std::vector<std::string> gps = SatelliteItemTexts(ctx, SatSystem::Gps);
  ASSERT_EQ(gps.size(), 32u);
  EXPECT_EQ(gps[4], "5");
  EXPECT_EQ(gps[0], "N");
  const std::vector<std::string> sbas = SatelliteItemTexts(ctx, SatSystem::Sbas);
  ASSERT_EQ(sbas.size(), 19u);
  EXPECT_EQ(sbas[0], "20");
  EXPECT_EQ(sbas[1], "N");
  EXPECT_EQ(SatelliteItemTexts(ctx, SatSystem::Galileo)[4], "5");
  EXPECT_EQ(SatelliteItemTexts(ctx, SatSystem::Glonass)[0], "N");

  const SatelliteFiles f = SatelliteFilesOf(ctx);
  const SatelliteChart sbasTrack = SatelliteTrack(f, SatSystem::Sbas, 20, TrackKind::Elevation);
  EXPECT_THAT(Ys(sbasTrack.series[0]), ElementsAre(11, 12, 13));
  const SatelliteChart galTrack = SatelliteTrack(f, SatSystem::Galileo, 5, TrackKind::Elevation);
  EXPECT_THAT(Ys(galTrack.series[0]), ElementsAre(-4, -4, -4));
  // The summary's mask is the lowest elevation seen: -4 lets the Galileo satellite count.
  EXPECT_THAT(Ys(CountSatellites(f, 0).series[0]), ElementsAre(2, 2, 2));
  EXPECT_THAT(Ys(CountSatellites(f, -4).series[0]), ElementsAre(3, 3, 3));
}

}  // namespace
}  // namespace vnx::test
