// The Ephemeris view driven through its buttons after real scans of logs with GE, NE, WE and
// EN frames: automatic selection, the one exclusive selection over four systems, the arrows,
// the messages of the record finder and the state kept between openings and scans.
#include "app/ephemeris_view.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>

#include "app/view_test_fixture.h"
#include "controls/control_names.h"
#include "engine/views/ephemeris_text.h"
#include "support/ephemeris_frames.h"

// The frame builders are not part of the window tests' support sources; compile them here.

namespace vnx::app {
namespace {

using test::EnPayload;
using test::GePayload;
using test::NePayload;
using test::SampleGlonass;
using test::SampleKepler;
using test::SampleSbas;
using test::WePayload;

constexpr int32_t kTuesday = 2 * 86400;

class EphemerisViewTest : public ViewTest {
 protected:
  EphemerisView* View() { return Find<EphemerisView>("PEphemGPS"); }
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  bool Enabled(const char* name) { return Find<QWidget>(name)->isEnabled(); }
  bool Checked(const char* name) { return Find<QAbstractButton>(name)->isChecked(); }
  QAbstractButton* Selected() {
    return View()->Button(SatSystem::Gps, 1)->group()->checkedButton();
  }
  // The page control shown; the others are hidden.
  QString ShownPage() {
    QString shown;
    for (const char* name : {"PCEphGPS", "PCEphGLO", "PCEphGEO", "PCEphGAL"})
      if (!Find<QWidget>(name)->isHidden()) shown += name;
    return shown;
  }
  void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
  bool OpenView() { return Trigger("Ephemerides1"); }

  // GPS 5 with three ephemerides (toe 0, 7200, 14400 s into Tuesday, each repeated once) and
  // GPS 12 with one.
  static std::string ThreeOfFive() {
    test::LogBuilder b;
    b.Header().Date(2009, 6, 23);
    for (int i = 0; i < 3; ++i) {
      const int32_t toe = kTuesday + 7200 * i;
      b.Frame("GE", GePayload(SampleKepler(5, 1537, toe - 60, toe)));
      if (i == 0) b.Frame("GE", GePayload(SampleKepler(12, 1537, toe - 60, toe)));
      b.Frame("GE", GePayload(SampleKepler(5, 1537, toe - 30, toe)));
    }
    return b.str();
  }
  static std::string GlonassOnly() {
    test::LogBuilder b;
    b.Header().Date(2009, 6, 23);
    b.Frame("NE", NePayload(SampleGlonass(17, 540, 43200)));
    b.Frame("NE", NePayload(SampleGlonass(4, 540, 43200)));
    return b.str();
  }
  static std::string SbasAndGalileo() {
    test::LogBuilder b;
    b.Header().Date(2009, 6, 23);
    b.Frame("WE", WePayload(SampleSbas(122, 172800000, 3600, 1537)));
    GalEphBody gal{};
    gal.k = SampleKepler(3, 1537, kTuesday - 60, kTuesday);
    gal.ai0 = 2.5f;
    gal.sfi = 1;
    b.Frame("EN", EnPayload(gal));
    return b.str();
  }
};

TEST_F(EphemerisViewTest, GlonassOnlySelectsTheFirstSlotWithTheGpsPageHidden) {
  ChooseAndScan(GlonassOnly());
  ASSERT_TRUE(OpenView());
  EXPECT_EQ(Front(), "PEphemGPS");
  EXPECT_TRUE(Checked("RBR4"));
  EXPECT_EQ(ShownPage(), "PCEphGLO");
  EXPECT_EQ(Text("STEphem"), "GLONASS Ephemeris  sv= 4   N=1");
  EXPECT_EQ(Text("STtb"), " Ephemeris reference time [s]     43200");
  EXPECT_EQ(Text("STr1"), " r[1]     7423.335449219");
  EXPECT_TRUE(Enabled("RBR4"));
  EXPECT_TRUE(Enabled("RBR17"));
  EXPECT_FALSE(Enabled("RBR5"));
  EXPECT_FALSE(Enabled("RBG1"));
  EXPECT_FALSE(Enabled("BBLess"));  // one ephemeris: neither arrow
  EXPECT_FALSE(Enabled("BBMore"));
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EphemerisViewTest, SbasAndGalileoAreNeverSelectedByThemselves) {
  ChooseAndScan(SbasAndGalileo());
  ASSERT_TRUE(OpenView());
  EXPECT_EQ(Selected(), nullptr);
  EXPECT_EQ(ShownPage(), "PCEphGPS");
  EXPECT_EQ(Text("STEphem"), "Ephemeris");
  EXPECT_TRUE(Enabled("RBS22"));
  EXPECT_TRUE(Enabled("RBE3"));
  EXPECT_FALSE(Enabled("RBS20"));

  Click("RBS22");  // SBAS 122 is button 22
  EXPECT_EQ(ShownPage(), "PCEphGEO");
  EXPECT_EQ(Text("STEphem"), "GEO Ephemeris  sv= 22   N=1");
  EXPECT_EQ(Text("STTimeGEO"), " Time  1:0:0.000");
  EXPECT_EQ(View()->CurrentSatellite(), 22);

  Click("RBE3");  // one selection across all four groups
  EXPECT_FALSE(Checked("RBS22"));
  EXPECT_EQ(ShownPage(), "PCEphGAL");
  EXPECT_EQ(Text("STEphem"), "GAL Ephemeris  sv = 3   N=1");
  EXPECT_EQ(Text("STai0"), "   Effective ionization level ai0               2.5");
  EXPECT_EQ(Text("STtoeE"), " Ephemeris reference time (toe) [s]     172800");
  // Reopened: the chosen satellite with its own page under its own title.
  for (const char* button : {"RBE3", "RBS22"}) {
    Click(button);
    Click("BBCloseEph");
    ASSERT_TRUE(OpenView());
    EXPECT_TRUE(Checked(button));
    EXPECT_EQ(ShownPage(), button == std::string("RBE3") ? "PCEphGAL" : "PCEphGEO");
    EXPECT_TRUE(Text("STEphem").startsWith(button == std::string("RBE3") ? "GAL" : "GEO"));
  }
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EphemerisViewTest, ArrowsWalkThroughTheSatellitesEphemerides) {
  ChooseAndScan(ThreeOfFive());
  ASSERT_TRUE(OpenView());
  EXPECT_TRUE(Checked("RBG5"));
  const auto expect = [&](int n, bool less, bool more, int toe) {
    EXPECT_EQ(Text("STEphem"), QString("GPS Ephemeris  sv = 5   N=%1").arg(n));
    EXPECT_EQ(Text("STtoe"), QString(" Ephemeris reference time (toe) [s]     %1").arg(toe));
    EXPECT_EQ(Enabled("BBLess"), less) << "N=" << n;
    EXPECT_EQ(Enabled("BBMore"), more) << "N=" << n;
  };
  expect(1, false, true, kTuesday);
  Click("BBMore");
  expect(2, true, true, kTuesday + 7200);
  Click("BBMore");
  expect(3, true, false, kTuesday + 14400);
  Click("BBLess");
  expect(2, true, true, kTuesday + 7200);

  Click("RBG5");  // the selected button again: its first ephemeris
  expect(1, false, true, kTuesday);

  Click("RBG12");
  EXPECT_EQ(Text("STEphem"), "GPS Ephemeris  sv = 12   N=1");
  EXPECT_FALSE(Enabled("BBLess"));
  EXPECT_FALSE(Enabled("BBMore"));
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EphemerisViewTest, ReopeningShowsTheFirstEphemerisAndKeepsTheTab) {
  ChooseAndScan(ThreeOfFive());
  ASSERT_TRUE(OpenView());
  Click("BBMore");
  Click("BBMore");
  auto* tabs = Find<QTabWidget>("PCEphGPS");
  tabs->setCurrentIndex(2);
  Click("BBCloseEph");
  EXPECT_EQ(Front(), window.startPanel()->objectName());

  ASSERT_TRUE(OpenView());
  EXPECT_EQ(Text("STEphem"), "GPS Ephemeris  sv = 5   N=1");
  EXPECT_EQ(View()->CurrentOrdinal(), 1);
  EXPECT_FALSE(Enabled("BBLess"));
  EXPECT_TRUE(Enabled("BBMore"));
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(tabs->tabText(2), "Keplerian");
}

TEST_F(EphemerisViewTest, NormalisedToeShowsThePreviousWeek) {
  test::LogBuilder b;
  b.Header().Frame("GE", GePayload(SampleKepler(9, 1537, 100, 604000)));
  ChooseAndScan(b.str());
  ASSERT_TRUE(OpenView());
  EXPECT_EQ(Text("STtoe"), " Ephemeris reference time (toe) [s]     -800");
  EXPECT_EQ(Text("STDate"), " Date  20\\6\\2009");
  EXPECT_EQ(Text("STTime"), " Time  23:46:40.000");
}

TEST_F(EphemerisViewTest, MissingRecordsAreReportedAndTheTextsKept) {
  ChooseAndScan(ThreeOfFive() + SbasAndGalileo());
  ASSERT_TRUE(OpenView());
  std::filesystem::resize_file(WorkPath(WorkFile::EphemGPS), 184);  // only G5's first is left
  Click("BBMore");
  EXPECT_EQ(messages, QStringList{"Ephemeris 2 for SV G5  is not found"});
  EXPECT_EQ(Text("STEphem"), "GPS Ephemeris  sv = 5   N=1");
  EXPECT_EQ(View()->CurrentOrdinal(), 2);  // the ordinal moves on, as the arrows do
  EXPECT_TRUE(Enabled("BBLess"));

  messages.clear();
  std::filesystem::resize_file(WorkPath(WorkFile::EphemGEO), 0);
  Click("RBS22");
  EXPECT_EQ(messages, QStringList{"Ephemeris 1 for SV S22  is not found"});
  EXPECT_EQ(ShownPage(), "PCEphGEO");

  messages.clear();
  std::filesystem::remove(WorkPath(WorkFile::EphemGAL));
  Click("RBE3");
  EXPECT_EQ(messages, (QStringList{"Error Opening File EphemGALRecs.dat ! ",
                                   "Ephemeris 1 for SV E3  is not found"}));
  EXPECT_EQ(Text("STEphem"), "GPS Ephemeris  sv = 5   N=1");
}

TEST_F(EphemerisViewTest, NewScanForgetsTheLastSelection) {
  ChooseAndScan(ThreeOfFive());
  ASSERT_TRUE(OpenView());
  Click("BBMore");
  ChooseAndScan(SbasAndGalileo());
  EXPECT_EQ(View()->CurrentSystem(), SatSystem::Gps);
  EXPECT_EQ(View()->CurrentSatellite(), 1);
  EXPECT_EQ(View()->CurrentOrdinal(), 1);
  ASSERT_TRUE(OpenView());
  EXPECT_EQ(Selected(), nullptr);
  EXPECT_FALSE(Enabled("RBG5"));
  EXPECT_EQ(Text("STEphem"), "Ephemeris");
  EXPECT_EQ(Text("STtoe"), "");
}

// Every text the model gives a page has its label on that page control.
TEST_F(EphemerisViewTest, EveryTextHasItsLabelOnItsPage) {
  const std::pair<const char*, ControlTexts> pages[] = {
      {"PCEphGPS", NameEphemerisTexts(SatSystem::Gps, GpsEphemerisTexts(EphemGPSRec{}, 1))},
      {"PCEphGAL", NameEphemerisTexts(SatSystem::Galileo, GalEphemerisTexts(EphemGALRec{}, 1))},
      {"PCEphGLO", NameEphemerisTexts(SatSystem::Glonass, GloEphemerisTexts(EphemGLORec{}, 1))},
      {"PCEphGEO", NameEphemerisTexts(SatSystem::Sbas, GeoEphemerisTexts(EphemGEORec{}, 1))}};
  for (const auto& [page, texts] : pages) {
    auto* control = Find<QTabWidget>(page);
    for (const auto& [name, text] : texts) {
      if (name == "STEphem") continue;
      EXPECT_NE(control->findChild<QLabel*>(QString::fromStdString(name)), nullptr)
          << page << " " << name;
    }
  }
  EXPECT_EQ(View()->Button(SatSystem::Gps, 1)->group()->buttons().size(), 107);
  EXPECT_EQ(Find<QAbstractButton>("RBG7")->text(), " 7");
  EXPECT_EQ(Find<QAbstractButton>("RBS20")->text(), "20");
  EXPECT_EQ(Find<QWidget>("BBMore")->toolTip(), "Get next");
  EXPECT_EQ(Find<QWidget>("BBLess")->toolTip(), "Get previous");
}

}  // namespace
}  // namespace vnx::app
