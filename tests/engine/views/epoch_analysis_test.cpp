// The post-scan epoch analysis: the epochs list with its marker lines, the time steps, the gap
// count and the three ways the pass stops.
#include "engine/views/epoch_analysis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/time/gps_time.h"
#include "engine/views/epoch_text.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Lines = std::vector<std::string>;

const std::string kAt(62, '@');
// 2009-03-03 10:05:30.000 GPS time, in milliseconds since the GPS epoch.
const int64_t kBaseMs = int64_t{TGPSTime::FromCalendar(2009, 3, 3, 10, 5, 30).Seconds()} * 1000;

TimeRec TimeAt(int64_t offsetMs) {
  const int64_t ms = kBaseMs + offsetMs;
  return TimeRecFromTimeNS(TGPSTimeNS(static_cast<uint32_t>(ms / 1000), (ms % 1000) * 1000000));
}

// Epoch records, one per time (milliseconds after kBaseMs).
std::string EpochBytes(const std::vector<int64_t>& offsetsMs) {
  std::string bytes;
  for (int64_t off : offsetsMs) {
    EpochRec rec{};
    rec.time = TimeAt(off);
    bytes.append(reinterpret_cast<const char*>(&rec), sizeof rec);
  }
  return bytes;
}

std::string EpochFile(const TempDir& dir, const std::vector<int64_t>& offsetsMs) {
  return dir.Write("DataEpochs.dat", EpochBytes(offsetsMs));
}

std::string Line(const char* time, const char* number) {
  return std::string("03/03/2009  ") + time + "     " + number;
}

Lines Gap(const std::string& missing) {
  return {kAt, "@@@@@@@ " + missing + " epochs missing " + std::string(22, '@'), kAt};
}

Lines Reversal() {
  return {kAt, kAt, kAt, "@ Current Time < preceding @@@@@@", kAt, kAt, kAt};
}

Lines Cat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(EpochLine, PadsMillisecondsAndEpochNumber) {
  EXPECT_EQ(EpochLine(TimeAt(250), 7), "03/03/2009  10:05:30.250     00007");
  EXPECT_EQ(EpochLine(TimeAt(5), 1), "03/03/2009  10:05:30.005     00001");
  EXPECT_EQ(EpochLine(TimeAt(50), 99999), "03/03/2009  10:05:30.050     99999");
  EXPECT_EQ(EpochLine(TimeAt(-30001), 100000), "03/03/2009  10:04:59.999     100000");
}

// The lines between the first and the second epoch line for one step.
struct StepCase {
  int32_t intervalMs;
  int64_t stepMs;
  Lines markers;
  int32_t gaps;
};

TEST(EpochAnalysis, MarkerLinesForOneStep) {
  const StepCase cases[] = {
      {1000, 1000, {}, 0},
      {1000, 0, {}, 0},
      {1000, 1100, {}, 0},  // 1.1 x (interval + 1e-6) is the limit, not yet a gap
      {10, 11, {}, 0},
      {10, 12, Gap("0"), 1},
      {1000, 2000, Gap("1"), 1},
      {1000, 2500, Gap("1"), 1},  // 2.5 rounds to the even 2
      {1000, 2600, Gap("2"), 1},
      {1000, 3500, Gap("3"), 1},
      {30000, 3600000, Gap("119"), 1},
      {1000, -1000, Reversal(), 0},
      {1000, -1, Reversal(), 0},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE("interval " + std::to_string(c.intervalMs) + " step " + std::to_string(c.stepMs));
    TempDir dir;
    const EpochAnalysis a = RunEpochAnalysis(EpochFile(dir, {0, c.stepMs}), 2, c.intervalMs);
    ASSERT_TRUE(a.ok) << a.message;
    EXPECT_THAT(
        a.lines,
        ElementsAreArray(
            Cat({{Line("10:05:30.000", "00001")}, c.markers, {EpochLine(TimeAt(c.stepMs), 2)}})));
    EXPECT_EQ(a.gapCount, c.gaps);
    ASSERT_EQ(a.steps.size(), 1u);
    EXPECT_EQ(a.steps[0].epoch, 2);
    EXPECT_DOUBLE_EQ(a.steps[0].seconds, c.stepMs / 1000.0);
  }
}

TEST(EpochAnalysis, MarkersStandAboveTheLaterEpochAndGapsAddUp) {
  TempDir dir;
  const EpochAnalysis a = RunEpochAnalysis(EpochFile(dir, {0, 250, 1005, 1050, 800, 1300}), 6, 250);
  ASSERT_TRUE(a.ok);
  EXPECT_THAT(a.lines,
              ElementsAreArray(Cat({{Line("10:05:30.000", "00001"), Line("10:05:30.250", "00002")},
                                    Gap("2"),
                                    {Line("10:05:31.005", "00003"), Line("10:05:31.050", "00004")},
                                    Reversal(),
                                    {Line("10:05:30.800", "00005")},
                                    Gap("1"),
                                    {Line("10:05:31.300", "00006")}})));
  EXPECT_EQ(a.gapCount, 2);
  std::vector<double> seconds;
  for (const auto& p : a.steps) seconds.push_back(p.seconds);
  EXPECT_THAT(seconds, ElementsAre(0.25, 0.755, 0.045, -0.25, 0.5));
  EXPECT_EQ(a.steps.back().epoch, 6);
}

TEST(EpochAnalysis, OneEpochGivesOneLineAndNoStep) {
  TempDir dir;
  const EpochAnalysis a = RunEpochAnalysis(EpochFile(dir, {0}), 1, 0);
  EXPECT_TRUE(a.ok);
  EXPECT_THAT(a.lines, ElementsAre(Line("10:05:30.000", "00001")));
  EXPECT_TRUE(a.steps.empty());
  EXPECT_EQ(a.gapCount, 0);
}

TEST(EpochAnalysis, Failures) {
  TempDir dir;
  EpochAnalysis a = RunEpochAnalysis(dir.path() + "/none/DataEpochs.dat", 3, 1000);
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(a.message, "Error Opening File DataEpochs.dat ! ");
  EXPECT_TRUE(a.lines.empty() && a.steps.empty());

  // More epochs than records; a torn last record counts as the end of the file.
  a = RunEpochAnalysis(
      dir.Write("DataEpochs.dat", EpochBytes({0, 1000, 3000}) + std::string(100, '\0')), 5, 1000);
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(a.message, "Unexpected end of file");
  EXPECT_THAT(a.lines,
              ElementsAreArray(Cat({{Line("10:05:30.000", "00001"), Line("10:05:31.000", "00002")},
                                    Gap("1"),
                                    {Line("10:05:33.000", "00003")}})));

  a = RunEpochAnalysis(EpochFile(dir, {0, 1000, 2000}), 3, 0);
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(a.message, "Interval = 0");
  EXPECT_THAT(a.lines, ElementsAre(Line("10:05:30.000", "00001")));
  ASSERT_EQ(a.steps.size(), 1u);
  EXPECT_DOUBLE_EQ(a.steps[0].seconds, 1.0);
}

TEST(EpochAnalysis, ProgressEveryHundredEpochsThenZero) {
  TempDir dir;
  std::vector<int64_t> times;
  for (int i = 0; i < 250; ++i) times.push_back(i * 1000);
  std::vector<int> percents;
  const EpochAnalysis a =
      RunEpochAnalysis(EpochFile(dir, times), 250, 1000, [&](int p) { percents.push_back(p); });
  EXPECT_TRUE(a.ok);
  EXPECT_THAT(percents, ElementsAre(40, 80, 0));
  EXPECT_EQ(a.lines[99], Line("10:07:09.000", "00100"));
}

class EpochAnalysisScan : public ScanFixture {};

TEST_F(EpochAnalysisScan, ReadsTheScansEpochsOnly) {
  LogBuilder b;
  b.Header().Date(2009, 3, 3);
  for (uint32_t ms : {36330250u, 36331250u, 36332250u, 36333250u, 36334250u}) b.Time(ms).Sats({5});
  ASSERT_TRUE(ScanLog(b));
  // A shorter second scan leaves the first scan's tail in the file.
  LogBuilder shorter;
  shorter.Header().Date(2009, 3, 3);
  for (uint32_t ms : {36330250u, 36331250u, 36334250u}) shorter.Time(ms).Sats({5});
  ASSERT_TRUE(ScanLog(shorter));
  const EpochAnalysis a = RunEpochAnalysis(ctx);
  ASSERT_TRUE(a.ok) << a.message;
  EXPECT_THAT(a.lines,
              ElementsAreArray(Cat({{Line("10:05:30.250", "00001"), Line("10:05:31.250", "00002")},
                                    Gap("2"),
                                    {Line("10:05:34.250", "00003")}})));
  EXPECT_EQ(a.gapCount, 1);
}

}  // namespace
}  // namespace vnx::test
