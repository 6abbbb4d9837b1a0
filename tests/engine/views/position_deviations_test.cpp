// Deviations from a reference in east, north and up: the mean reference, a typed one, the
// solution type filter, the figures and 2DRMS, and the parsing of typed references.
#include "engine/views/position_deviations.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/views/record_files.h"

namespace vnx::test {
namespace {

// A station near 48 N 11 E; positions offset along its local axes.
const Geodetic kSite{48 * kDegree, 11 * kDegree, 500};

Vec3 Offset(double e, double n, double u) {
  const Vec3 base = FromGeodetic(kSite), d = EnuToEcef(kSite, {e, n, u});
  return {base[0] + d[0], base[1] + d[1], base[2] + d[2]};
}

TEST(PositionDeviationsTest, MeanReferenceFiguresAnd2Drms) {
  // East +-1 and north +-2 around the site, up +3 throughout.
  const std::vector<Vec3> xyz{Offset(1, 2, 3), Offset(-1, -2, 3), Offset(1, -2, 3),
                              Offset(-1, 2, 3)};
  const PositionDeviations d = Deviations(xyz, {1, 2, 3, 5}, std::nullopt);
  ASSERT_EQ(d.Count(), 4u);
  EXPECT_NEAR(d.east.y[0], 1, 1e-6);
  EXPECT_NEAR(d.north.y[1], -2, 1e-6);
  EXPECT_NEAR(d.up.y[2], 0, 1e-6);
  EXPECT_EQ(d.east.x[3], 5);
  EXPECT_NEAR(d.referenceGeodetic.height, 503, 1e-6);
  const double sdE = std::sqrt(4.0 / 3), sdN = std::sqrt(16.0 / 3);
  EXPECT_NEAR(d.figures[0].sd, sdE, 1e-6);
  EXPECT_NEAR(d.figures[1].sd, sdN, 1e-6);
  EXPECT_NEAR(d.figures[2].sd, 0, 1e-6);
  EXPECT_NEAR(d.drms2, 2 * std::hypot(sdE, sdN), 1e-6);
  // The same positions against the site itself: the mean is the offset.
  const PositionDeviations s = Deviations(xyz, {1, 2, 3, 5}, FromGeodetic(kSite));
  EXPECT_NEAR(s.figures[2].mean, 3, 1e-6);
  EXPECT_NEAR(s.figures[0].sd, sdE, 1e-6);
  EXPECT_TRUE(Deviations({}, {}, std::nullopt).east.empty());
}

TEST(PositionDeviationsTest, ReadsPositionsOfCheckedTypes) {
  RecordFiles files;
  const Vec3 points[] = {Offset(0, 0, 0), Offset(2, 0, 0), {0, 0, 0}, Offset(4, 0, 0)};
  for (int i = 0; i < 4; ++i) {
    EpochRec& rec = files.AddEpoch();
    rec.pos.positionPresent = 1;
    rec.pos.solutionType = static_cast<uint8_t>(i == 3 ? 4 : 1);
    rec.pos.x = points[i][0], rec.pos.y = points[i][1], rec.pos.z = points[i][2];
  }
  files.AddEpoch();  // no position
  files.Write();
  DeviationRequest request;
  request.reference = FromGeodetic(kSite);
  PositionDeviations d = DeviationSeries(files.EpochsPath(), files.EpochCount(), request);
  ASSERT_EQ(d.Count(), 3u);  // the zero position left out
  EXPECT_EQ(d.east.x[2], 4);
  EXPECT_NEAR(d.east.y[2], 4, 1e-6);
  request.types = {true, false, false, false};
  d = DeviationSeries(files.EpochsPath(), files.EpochCount(), request);
  EXPECT_EQ(d.Count(), 2u);
  EXPECT_TRUE(d.message.empty());
  d = DeviationSeries(files.EpochsPath(), files.EpochCount() + 1, request);
  EXPECT_FALSE(d.message.empty());
}

TEST(PositionDeviationsTest, ParsesTypedReferences) {
  const auto xyz = ParseReference("4075580.3, 931854.0  4801568.2", false);
  ASSERT_TRUE(xyz);
  EXPECT_DOUBLE_EQ((*xyz)[1], 931854.0);
  const auto geo = ParseReference("0 90 0", true);
  ASSERT_TRUE(geo);
  EXPECT_NEAR((*geo)[1], 6378137.0, 1e-6);
  for (const char* bad : {"", "1 2", "1 2 3 4", "a b c", "91 0 0"})
    EXPECT_FALSE(ParseReference(bad, true)) << bad;
}

}  // namespace
}  // namespace vnx::test
