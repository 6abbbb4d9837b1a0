// File > "Export RINEX…" driven through the window on the offscreen platform: when the command
// may run, the dialog's choices, and the export with its gauge, Stop, status and failures.
#include "app/rinex_export_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/main_window.h"
#include "app/pie_gauge.h"
#include "support/log_builder.h"
#include "support/scan_fixture.h"

namespace vnx::app {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class RinexExportTest : public ::testing::Test {
 protected:
  RinexExportTest() {
    window.messageSink = [this](const QString& m) { messages << m; };
    window.confirmSink = [this](const QString& q) {
      questions << q;
      return true;
    };
    window.pauses = false;
  }

  // Scans the bundled sample (one hour, 5 s epochs, GPS + GLONASS + Galileo) under `name`.
  void ScanSample(const std::string& name = "sample.vnx") {
    const std::string log = dir.path() + "/" + name;
    fs::copy_file(std::string(VNX_SOURCE_DIR) + "/examples/sample.vnx", log);
    window.fileChooser = [log] { return QString::fromStdString(log); };
    window.ChooseFileByButton();
    window.StartScanByButton();
    messages.clear();
  }
  bool Enabled() { return window.action("ExportRINEX1")->isEnabled(); }
  QString Status() { return window.statusBar()->currentMessage(); }
  rinex::ExportOptions To(const std::string& dirPath) {
    rinex::ExportOptions o;
    o.obsPath = dirPath + "/x.obs";
    o.navPath = dirPath + "/x.nav";
    return o;
  }

  test::TempDir dir, out;
  MainWindow window{QString::fromStdString(dir.path())};
  QStringList messages, questions;
};

TEST_F(RinexExportTest, CommandOnlyAfterAScanWithEpochsAndNotDuringAScan) {
  EXPECT_FALSE(Enabled());
  test::LogBuilder empty;
  empty.Header().Date(2009, 6, 23);
  window.fileChooser = [this, &empty] {
    return QString::fromStdString(dir.Write("empty.vnx", empty.str()));
  };
  window.ChooseFileByButton();
  window.StartScanByButton();
  EXPECT_FALSE(Enabled());
  EXPECT_EQ(window.RunRinexExport(To(out.path())).error, "no finished scan to export");

  ScanSample();
  EXPECT_TRUE(Enabled());
  // A new scan: disabled while it runs, and the command is refused.
  bool enabledDuringScan = true;
  QTimer::singleShot(0, &window, [&] {
    enabledDuringScan = Enabled();
    window.OpenRinexExport();
  });
  window.StartScanByButton();
  EXPECT_FALSE(enabledDuringScan);
  EXPECT_TRUE(Enabled());
  EXPECT_TRUE(Names(out.path()).empty());
  window.ChooseFileByButton();  // a new file: the old scan is gone
  EXPECT_FALSE(Enabled());
}

TEST_F(RinexExportTest, DialogOffersTheDefaultsOfVnxRinexAndFollowsTheChoices) {
  ScanSample();
  const rinex::ExportInput in =
      rinex::ExportInputFromScan(window.scan(), window.inputFileName().toStdString());
  RinexExportDialog::SystemCounts counts;
  counts.satellites = {10, 8, 0, 6};
  counts.ephemerides = {in.ephemerisCount[0], in.ephemerisCount[1], 0, 0};
  RinexExportDialog d(in, counts, &window);
  auto paths = [&] {
    QStringList p;
    for (const rinex::PlannedFile& f : d.Files())
      p << QFileInfo(QString::fromStdString(f.path)).fileName();
    return p;
  };
  auto* obs = d.findChild<QLineEdit*>("EObsFile");
  EXPECT_EQ(obs->text().toStdString(), dir.path() + "/sample.obs");
  EXPECT_EQ(paths(), (QStringList{"sample.obs", "sample.nav"}));
  EXPECT_FALSE(d.findChild<QCheckBox*>("CBSysGEO")->isEnabled());  // nothing of SBAS

  d.findChild<QRadioButton*>("RBVersion211")->setChecked(true);
  EXPECT_EQ(paths(), (QStringList{"sample.22o", "sample.22n", "sample.22g"}));
  d.findChild<QCheckBox*>("CBSysGLO")->setChecked(false);
  EXPECT_EQ(paths(), (QStringList{"sample.22o", "sample.22n"}));
  // A name of the user's own survives a change of version.
  obs->setText(QString::fromStdString(out.path() + "/mine.obs"));
  d.findChild<QRadioButton*>("RBVersion304")->setChecked(true);
  EXPECT_EQ(paths(), (QStringList{"mine.obs", "sample.nav"}));
  d.findChild<QCheckBox*>("CBWriteNav")->setChecked(false);
  EXPECT_EQ(paths(), (QStringList{"mine.obs"}));
  for (const char* s : {"CBSysGPS", "CBSysGAL"}) d.findChild<QCheckBox*>(s)->setChecked(false);
  EXPECT_FALSE(d.findChild<QPushButton*>("BBExport")->isEnabled());
  EXPECT_EQ(d.findChild<QLabel*>("STRinexFiles")->text(), "Choose at least one system.");
}

TEST_F(RinexExportTest, ExportsTheSampleThroughTheDialog) {
  ScanSample();
  const std::string existing = out.path() + "/sample.obs";
  std::ofstream(existing) << "old";
  QTimer::singleShot(0, &window, [this] {
    auto* d = qobject_cast<RinexExportDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->findChild<QLineEdit*>("EObsFile")
        ->setText(QString::fromStdString(out.path() + "/sample.obs"));
    d->findChild<QLineEdit*>("ENavFile")
        ->setText(QString::fromStdString(out.path() + "/sample.nav"));
    d->findChild<QPushButton*>("BBExport")->click();
  });
  window.OpenRinexExport();
  EXPECT_EQ(questions, QStringList{"sample.obs already exists. Replace?"});
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
  EXPECT_EQ(Names(out.path()), (std::vector<std::string>{"sample.nav", "sample.obs"}));
  EXPECT_EQ(Status().toStdString(), "RINEX 3.04 written to " + out.path() +
                                        ": sample.obs, sample.nav (720 epochs, 31 satellites)");
  // The text the engine's export makes of the scan, but for the program line.
  rinex::ExportOptions o;
  o.obsPath = existing;
  o.navPath = out.path() + "/sample.nav";
  o.systems = {true, true, false, true};
  std::map<std::string, std::string> expected;
  ASSERT_TRUE(rinex::ExportRinexToMemory(
                  rinex::ExportInputFromScan(window.scan(), window.inputFileName().toStdString()),
                  o, expected)
                  .ok);
  for (const char* name : {"/sample.obs", "/sample.nav"}) {
    const std::string text = Read(out.path() + name), want = expected[out.path() + name];
    ASSERT_GT(text.size(), 162u) << name;
    EXPECT_EQ(text.substr(0, 81), want.substr(0, 81)) << name;
    EXPECT_EQ(text.substr(text.find('\n', 81)), want.substr(want.find('\n', 81))) << name;
    const std::string program = std::string("VNX Viewer ") + VNX_VERSION;
    EXPECT_EQ(text.substr(81, program.size()), program);
  }
  EXPECT_EQ(window.findChild<PieGauge*>("GScan")->Value(), 0);
}

TEST_F(RinexExportTest, StopLeavesNoFileAndTheWindowAsItWas) {
  ScanSample();
  // Stop is pressed at the export's first event round.
  QTimer::singleShot(0, &window, [this] { window.findChild<QPushButton*>("BBStop")->click(); });
  const rinex::ExportResult r = window.RunRinexExport(To(out.path()));
  EXPECT_TRUE(r.stopped);
  EXPECT_LT(r.epochs, 720);
  EXPECT_TRUE(Names(out.path()).empty());
  EXPECT_EQ(Status(), "RINEX export stopped: no file written");
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_FALSE(window.findChild<QPushButton*>("BBStop")->isEnabled());
  EXPECT_TRUE(window.findChild<QPushButton*>("BBScan")->isEnabled());
  EXPECT_TRUE(Enabled());
  EXPECT_FALSE(window.scanning());
  // Stop no longer reaches a later export.
  EXPECT_TRUE(window.RunRinexExport(To(out.path())).ok);
}

TEST_F(RinexExportTest, UnwritableDirectoryShowsTheFileAndTheReason) {
  ScanSample();
  const std::string notADir = out.Write("plain", "x");
  const rinex::ExportResult r = window.RunRinexExport(To(notADir));
  EXPECT_FALSE(r.ok);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0].toStdString(),
            "RINEX export failed: cannot create " + notADir + "/x.obs: Not a directory");
  EXPECT_EQ(Status(), "RINEX export failed");
  EXPECT_EQ(Names(out.path()), std::vector<std::string>{"plain"});
}

}  // namespace
}  // namespace vnx::app
