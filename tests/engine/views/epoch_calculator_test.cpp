// The epoch-number to time calculator: the time text rounded to the millisecond with its carry,
// and the table that holds this scan's epochs only.
#include "engine/views/epoch_calculator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/time/extended80.h"
#include "engine/views/record_files.h"

namespace vnx::test {
namespace {

TimeRec At(int year, int month, int day, int hour, int minute, int64_t second, int64_t ns) {
  TimeRec rec{};
  rec.year = year;
  rec.month = month;
  rec.day = day;
  rec.hour = hour;
  rec.minute = minute;
  const Extended80 s = Ext80FromSecondsAndNanoseconds(second, ns);
  std::copy(s.begin(), s.end(), rec.seconds);
  return rec;
}

TEST(EpochCalculator, TimeTextRoundsToTheMillisecondWithItsCarry) {
  struct Case {
    TimeRec time;
    const char* text;
  } cases[] = {
      {At(2009, 6, 23, 10, 5, 30, 250000000), "23/06/2009  10:05:30.250"},
      {At(2009, 6, 23, 10, 5, 7, 499999), "23/06/2009  10:05:07.000"},
      {At(2009, 6, 23, 10, 5, 7, 500000), "23/06/2009  10:05:07.001"},
      {At(2009, 6, 23, 10, 5, 59, 999499999), "23/06/2009  10:05:59.999"},
      // .9995 and above: the next second, carried into the minute, hour and date.
      {At(2009, 6, 23, 10, 5, 58, 999500000), "23/06/2009  10:05:59.000"},
      {At(2009, 6, 23, 10, 5, 59, 999500000), "23/06/2009  10:06:00.000"},
      {At(2009, 6, 23, 10, 59, 59, 999600000), "23/06/2009  11:00:00.000"},
      {At(2009, 6, 23, 23, 59, 59, 999600000), "24/06/2009  00:00:00.000"},
      {At(2009, 6, 30, 23, 59, 59, 999500000), "01/07/2009  00:00:00.000"},
      {At(2008, 12, 31, 23, 59, 59, 999500000), "01/01/2009  00:00:00.000"},
      {At(2008, 2, 28, 23, 59, 59, 999500000), "29/02/2008  00:00:00.000"},
  };
  for (const Case& c : cases) EXPECT_EQ(CalculatorTimeText(c.time), c.text) << c.text;
}

class EpochTimeTableTest : public ::testing::Test {
 protected:
  // Epochs one second apart from 10:00:01.
  void WriteEpochs(int n) {
    for (int i = 1; i <= n; ++i) files.AddEpoch().time = At(2009, 6, 23, 10, 0, i, 0);
    files.Write();
  }
  RecordFiles files;
  EpochTimeTable table;
};

TEST_F(EpochTimeTableTest, HoldsOnlyThisScansEpochs) {
  // Records of an earlier, longer scan behind this scan's three.
  WriteEpochs(5);
  std::vector<int> progress;
  EXPECT_EQ(table.Load(files.EpochsPath(), 3, [&](int p) { progress.push_back(p); }), "");
  EXPECT_FALSE(table.Stale());
  EXPECT_EQ(table.Loaded(), 3);
  EXPECT_EQ(table.Text(1), "23/06/2009  10:00:01.000");
  EXPECT_EQ(table.Text(3), "23/06/2009  10:00:03.000");
  EXPECT_EQ(table.Text(4), "");
  EXPECT_THAT(progress, ::testing::ElementsAre(0));
  // A file that ends before the count gives what it has.
  EXPECT_EQ(table.Load(files.EpochsPath(), 7), "");
  EXPECT_EQ(table.Loaded(), 5);
  table.MarkStale();
  EXPECT_TRUE(table.Stale());
}

TEST_F(EpochTimeTableTest, MissingFileLeavesTheTableEmptyAndStale) {
  EXPECT_EQ(table.Load(files.EpochsPath(), 3), "Error Opening File DataEpochs.dat ! ");
  EXPECT_EQ(table.Loaded(), 0);
  EXPECT_TRUE(table.Stale());
}

}  // namespace
}  // namespace vnx::test
