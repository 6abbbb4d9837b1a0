// The attitude and baseline charts read back from the epoch records.
#include "engine/views/attitude_series.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/views/record_files.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;

// The charts hold the stored float32 values widened to double.
auto FloatEq(float v) {
  return ::testing::DoubleEq(static_cast<double>(v));
}

constexpr AttitudeSeen kAllSeen{true, true, true};

AttitudeChoice Choice(AttitudeMessage m, BaselineChart c = BaselineChart::kBaselines,
                      int baseline = 0) {
  return {m, c, baseline};
}

// Epochs 1..12; "mr" (and "MR") in epochs 10 and 11 with baseline M-S2 fixed then float, and
// "AR" in epochs 2 and 3.
class AttitudeSeriesTest : public ::testing::Test {
 protected:
  AttitudeSeriesTest() {
    for (int i = 1; i <= 12; ++i) {
      EpochRec& rec = files.AddEpoch();
      if (i == 2 || i == 3) AddAr(rec, i);
      if (i == 10 || i == 11) AddMr(rec, i);
    }
    files.Write();
  }
  static void AddAr(EpochRec& rec, int i) {
    rec.flags[kFlagAR] = 1;
    rec.ar.time = 3600000u + static_cast<uint32_t>(i) * 500;
    rec.ar.pitch = 1.5f * i;
    rec.ar.roll = -2.0f * i;
    rec.ar.heading = 100.0f + i;
    rec.ar.flag = i == 2 ? 1 : 0;
  }
  static void AddMr(EpochRec& rec, int i) {
    rec.flags[kFlagMR73] = 1;
    rec.flags[kFlagMR37] = 1;
    Mr37Block& h = rec.mr73.head;
    h.time = 7200000u + static_cast<uint32_t>(i) * 1000;
    h.q00 = 0.1f * i;
    h.q01 = 0.2f * i;
    h.q02 = 0.3f * i;
    h.q12 = 0.4f * i;
    h.rms[0] = 0.01f;
    h.rms[1] = 0.02f;
    h.rms[2] = 0.03f;
    h.solType[0] = 4;
    h.solType[1] = i == 10 ? 4 : 3;
    h.solType[2] = 1;
    h.flag = 1;
    for (int b = 0; b < 3; ++b)
      for (int c = 0; c < 3; ++c) rec.mr73.baseline[b][c] = 10.0f * (b + 1) + c + i / 100.0f;
    rec.mr37 = h;
    rec.mr37.q00 = -1.0f;  // tells "MR" apart from "mr"
  }
  AttitudeCharts Draw(const AttitudeChoice& c, AttitudeSeen seen = kAllSeen) {
    return DrawAttitudeCharts(files.EpochsPath(), files.EpochCount(), seen, c);
  }

  RecordFiles files;
};

TEST_F(AttitudeSeriesTest, AttitudeAnglesTimeAndValidity) {
  const AttitudeCharts c = Draw(Choice(AttitudeMessage::kAR));
  EXPECT_EQ(c.message, "");
  EXPECT_THAT(c.timeOfDay.x, ElementsAre(2, 3));
  EXPECT_THAT(c.timeOfDay.y, ElementsAre(3601.0, 3601.5));
  EXPECT_THAT(c.valid.x, ElementsAre(2));
  EXPECT_THAT(c.valid.y, ElementsAre(1));
  EXPECT_THAT(c.notValid.x, ElementsAre(3));
  EXPECT_THAT(c.notValid.y, ElementsAre(0));
  EXPECT_THAT(c.angles[0].y, ElementsAre(3.0, 4.5));
  EXPECT_THAT(c.angles[1].y, ElementsAre(-4.0, -6.0));
  EXPECT_THAT(c.angles[2].y, ElementsAre(102.0, 103.0));
  EXPECT_TRUE(c.fixed.empty() && c.floating.empty() && c.q[0].empty());
}

TEST_F(AttitudeSeriesTest, BaselinesWithFixedAndFloatPoints) {
  const AttitudeCharts c = Draw(Choice(AttitudeMessage::kMr73, BaselineChart::kBaselines, 1));
  EXPECT_THAT(c.fixed.x, ElementsAre(10));
  EXPECT_THAT(c.fixed.y, ElementsAre(1));
  EXPECT_THAT(c.floating.x, ElementsAre(11));
  EXPECT_THAT(c.floating.y, ElementsAre(0));
  EXPECT_THAT(c.timeOfDay.y, ElementsAre(7210.0, 7211.0));
  EXPECT_THAT(c.valid.x, ElementsAre(10, 11));
  // Baseline M-S2: 20, 21, 22 plus i / 100.
  EXPECT_THAT(c.baselines[0].y, ElementsAre(FloatEq(20.10f), FloatEq(20.11f)));
  EXPECT_THAT(c.baselines[1].y, ElementsAre(FloatEq(21.10f), FloatEq(21.11f)));
  EXPECT_THAT(c.baselines[2].x, ElementsAre(10, 11));
  EXPECT_TRUE(c.q[0].empty() && c.rms[0].empty() && c.angles[0].empty());
}

TEST_F(AttitudeSeriesTest, QMatrixAndRmsOfMr) {
  AttitudeCharts c = Draw(Choice(AttitudeMessage::kMr73, BaselineChart::kQMatrix));
  EXPECT_THAT(c.q[0].y, ElementsAre(FloatEq(1.0f), FloatEq(1.1f)));
  EXPECT_THAT(c.q[3].y, ElementsAre(FloatEq(4.0f), FloatEq(4.4f)));
  EXPECT_TRUE(c.baselines[0].empty());
  EXPECT_THAT(c.fixed.x, ElementsAre(10, 11));  // M-S1 is fixed in both
  c = Draw(Choice(AttitudeMessage::kMr73, BaselineChart::kRms, 2));
  EXPECT_THAT(c.rms[2].y, ElementsAre(FloatEq(0.03f), FloatEq(0.03f)));
  EXPECT_THAT(c.floating.x, ElementsAre(10, 11));  // M-S3 is float in both
}

TEST_F(AttitudeSeriesTest, MRHasNoBaselines) {
  AttitudeCharts c = Draw(Choice(AttitudeMessage::kMr37, BaselineChart::kBaselines));
  EXPECT_TRUE(c.baselines[0].empty());
  EXPECT_THAT(c.timeOfDay.x, ElementsAre(10, 11));
  c = Draw(Choice(AttitudeMessage::kMr37, BaselineChart::kQMatrix));
  EXPECT_THAT(c.q[0].y, ElementsAre(-1.0, -1.0));
}

TEST_F(AttitudeSeriesTest, MessageNeverDecodedGivesEmptyCharts) {
  const AttitudeSeen arOnly{true, false, false};
  const AttitudeCharts mr = Draw(Choice(AttitudeMessage::kMr73), arOnly);
  EXPECT_TRUE(mr.timeOfDay.empty() && mr.fixed.empty() && mr.floating.empty() &&
              mr.baselines[0].empty() && mr.valid.empty());
  EXPECT_EQ(mr.message, "");
  EXPECT_EQ(Draw(Choice(AttitudeMessage::kAR), arOnly).timeOfDay.size(), 2u);
}

TEST_F(AttitudeSeriesTest, Failures) {
  AttitudeCharts c =
      DrawAttitudeCharts(files.EpochsPath() + ".gone", 12, kAllSeen, Choice(AttitudeMessage::kAR));
  EXPECT_EQ(c.message, "Error Opening File DataEpochs.dat ! ");
  EXPECT_TRUE(c.timeOfDay.empty());
  c = DrawAttitudeCharts(files.EpochsPath(), 0, kAllSeen, Choice(AttitudeMessage::kAR));
  EXPECT_EQ(c.message, "");
  files.Truncate(files.EpochsPath(), 10 * sizeof(EpochRec) + 3);
  c = Draw(Choice(AttitudeMessage::kMr73));
  EXPECT_EQ(c.message, "Unexpected end of file");
  EXPECT_THAT(c.fixed.x, ElementsAre(10));  // points so far kept
  c = Draw(Choice(AttitudeMessage::kMr37));
  EXPECT_EQ(c.message, "Unexpected end of file");
}

// The blocks the decoders store are the ones the charts read.
class AttitudeScanTest : public ScanFixture {};

TEST_F(AttitudeScanTest, ChartsFromScannedMessages) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (uint32_t i = 1; i <= 3; ++i) {
    b.Time(i * 1000).Sats({5});
    if (i == 2) {
      Payload ar;
      ar.U32(2000).F32(1.25f).F32(-0.5f).F32(271.0f).F32(0).F32(0).F32(0).U8(1);
      b.Frame("AR", ar.str());
    }
    if (i == 3) {
      Payload mr;
      mr.U32(3000).F32(0.5f).F32(0.25f).F32(0.125f).F32(1.0f);
      mr.F32(0.01f).F32(0.02f).F32(0.03f).U8(4).U8(2).U8(4).U8(0);
      for (int k = 0; k < 9; ++k) mr.F32(static_cast<float>(k));
      b.Frame("mr", mr.str());
    }
  }
  ASSERT_TRUE(ScanLog(b));
  ASSERT_TRUE(ctx.arSeen && ctx.mr73Seen);
  AttitudeCharts c = DrawAttitudeCharts(ctx, Choice(AttitudeMessage::kAR));
  EXPECT_THAT(c.angles[2].x, ElementsAre(2));
  EXPECT_THAT(c.angles[2].y, ElementsAre(271.0));
  EXPECT_THAT(c.valid.x, ElementsAre(2));
  c = DrawAttitudeCharts(ctx, Choice(AttitudeMessage::kMr73, BaselineChart::kBaselines, 2));
  EXPECT_THAT(c.baselines[0].y, ElementsAre(6.0));
  EXPECT_THAT(c.baselines[2].y, ElementsAre(8.0));
  EXPECT_THAT(c.fixed.x, ElementsAre(3));
  EXPECT_THAT(c.notValid.x, ElementsAre(3));  // flag 0: components of Q not valid
  EXPECT_TRUE(DrawAttitudeCharts(ctx, Choice(AttitudeMessage::kMr37)).timeOfDay.empty());
}

}  // namespace
}  // namespace vnx::test
