// The Occupations view: the list line format, the changes that open a line, the static and
// kinematic band, and the ways both passes stop.
#include "engine/views/occupations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "support/scan_fixture.h"

namespace vnx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kHeading =
    "       #  Marker Name           Marker Number         Antenna Offset  Is Slant  Is Static"
    "  Epoch number";

SiteInfo Site(const char* name, const char* text2, double height, bool slant = false,
              bool isStatic = true) {
  SiteInfo s{};
  s.siteName.Set(name);
  s.siteText2.Set(text2);
  s.antennaHeight = height;
  s.slant = slant;
  s.isStatic = isStatic;
  return s;
}

std::string Write(const TempDir& dir, const std::vector<SiteInfo>& sites) {
  std::string bytes;
  for (const SiteInfo& s : sites) {
    EpochRec r{};
    r.site = s;
    bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
  }
  dir.Write("DataEpochs.dat", bytes);
  return dir.path() + "/";
}

// The epoch numbers of the list's lines after the heading.
std::vector<int> ListedEpochs(const OccupationList& list) {
  std::vector<int> epochs;
  for (size_t k = 1; k < list.lines.size(); ++k)
    epochs.push_back(std::stoi(list.lines[k].substr(list.lines[k].rfind(' '))));
  return epochs;
}

TEST(Occupations, LineFormat) {
  EXPECT_EQ(kOccupationHeading, kHeading);
  EXPECT_EQ(OccupationLine(1, Site("OPEC", "", 1.534, true)),
            "       1  OPEC                  Unknown                       1.5340       yes"
            "        yes             1");
  EXPECT_EQ(OccupationLine(12345678, Site("", "", 0, false, false)),
            "12345678  Unknown               Unknown                       0.0000        no"
            "         no      12345678");
  EXPECT_THAT(OccupationRow(7, Site("-Unknown-", "-Unknown-", -0.25)),
              ElementsAre("7", "-Unknown-", "-Unknown-", "-0.2500", "no", "yes", "7"));
  // Every value stands under its heading, a full-length site name too: a column starts where
  // the heading's does and never touches its neighbour.
  const std::string full(20, 'N');
  const std::string line = OccupationLine(3, Site(full.c_str(), full.c_str(), 123.5));
  EXPECT_EQ(line.substr(kHeading.find("Marker Name"), 22), full + "  ");
  EXPECT_EQ(line.substr(kHeading.find("Marker Number"), 22), full + "  ");
  EXPECT_EQ(line.size(), kHeading.size());
}

TEST(Occupations, HeightText) {
  const std::pair<double, const char*> cases[] = {
      {0, "0.0000"},        {1.534, "1.5340"},
      {2.00005, "2.0001"},  {12345.67891, "12345.6790"},  // rounded to 8 significant digits first
      {-0.5, "-0.5000"},    {99999999.4, "99999999.0000"},
      {99999999.9, "1E8"},  {123456789.0, "1.2345679E8"},
      {-2.5e12, "-2.5E12"},
  };
  for (const auto& [metres, text] : cases) EXPECT_EQ(HeightText(metres), text) << metres;
}

TEST(Occupations, UnchangedSiteGivesTheHeadingAndEpochOne) {
  TempDir dir;
  const SiteInfo s = Site("-Unknown-", "-Unknown-", 0);
  const OccupationList list = BuildOccupationList(Write(dir, {s, s, s}), 3);
  EXPECT_TRUE(list.shown);
  EXPECT_THAT(list.message, IsEmpty());
  ASSERT_EQ(list.lines.size(), 2u);
  EXPECT_EQ(list.lines[0], kHeading);
  EXPECT_THAT(ListedEpochs(list), ElementsAre(1));
}

TEST(Occupations, ChangesThatOpenALine) {
  TempDir dir;
  const std::vector<SiteInfo> sites = {
      Site("A", "", 1.5),
      Site("A", "", 1.500001),               // 2: a micrometre or less: no line
      Site("A", "", 1.50001),                // 3: ten micrometres
      Site("A", "", 1.50001, false, false),  // 4: kinematic
      Site("A", "", 1.50001, false, false),
      Site("A", "", 1.50001),         // 6: static again
      Site("A", "", 1.50001, true),   // 7: slant
      Site("B", "", 1.50001, true),   // 8: site name
      Site("B", "x", 1.50001, true),  // 9: second text
      Site("B", "x", 1.50001, true),
  };
  EXPECT_FALSE(SiteChanged(Site("A", "", 0), Site("A", "", 0.000001)));  // exactly 1e-6
  EXPECT_TRUE(SiteChanged(Site("A", "", 0), Site("A", "", 0.00001)));
  const OccupationList list = BuildOccupationList(Write(dir, sites), 10);
  EXPECT_THAT(ListedEpochs(list), ElementsAre(1, 3, 4, 6, 7, 8, 9));
  EXPECT_EQ(list.lines[3],
            "       4  A                     Unknown                       1.5000        no"
            "         no             4");
  ASSERT_EQ(list.rows.size(), 7u);
  EXPECT_THAT(list.rows[3], ElementsAre("6", "A", "Unknown", "1.5000", "no", "yes", "6"));
}

TEST(Occupations, BandMarksStaticAndKinematicEpochs) {
  TempDir dir;
  const std::string d = Write(dir, {Site("A", "", 0), Site("A", "", 0, false, false),
                                    Site("A", "", 0, false, false), Site("A", "", 0)});
  const OccupationBand band = BuildOccupationBand(d, 4);
  EXPECT_THAT(band.message, IsEmpty());
  EXPECT_THAT(band.staticEpochs.x, ElementsAre(1, 4));
  EXPECT_THAT(band.kinematicEpochs.x, ElementsAre(2, 3));
  EXPECT_THAT(band.kinematicEpochs.y, ElementsAre(0, 0));
}

TEST(Occupations, FailureMessages) {
  TempDir dir;
  const std::string d = dir.path() + "/";
  const OccupationList none = BuildOccupationList(d, 0);
  EXPECT_TRUE(none.shown);
  EXPECT_THAT(none.lines, ElementsAre(kHeading));
  EXPECT_THAT(BuildOccupationBand(d, 0).message, IsEmpty());

  const OccupationList missing = BuildOccupationList(d, 2);
  EXPECT_FALSE(missing.shown);
  EXPECT_EQ(missing.message, "Error Opening File DataEpochs.dat ! ");
  EXPECT_EQ(BuildOccupationBand(d, 2).message, "Error Opening File DataEpochs.dat ! ");

  Write(dir, {Site("A", "", 0), Site("B", "", 0, false, false)});
  const OccupationList shortList = BuildOccupationList(d, 3);
  EXPECT_TRUE(shortList.shown);
  EXPECT_EQ(shortList.message, "Unexpected end of file");
  EXPECT_THAT(ListedEpochs(shortList), ElementsAre(1, 2));
  const OccupationBand shortBand = BuildOccupationBand(d, 3);
  EXPECT_EQ(shortBand.message, "Unexpected end of file");
  EXPECT_THAT(shortBand.staticEpochs.x, ElementsAre(1));
  EXPECT_THAT(shortBand.kinematicEpochs.x, ElementsAre(2));
}

}  // namespace
}  // namespace vnx::test
