// The main window driven through its real commands on the offscreen platform.
#include "app/main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>

#include "app/antenna_dialog.h"
#include "app/calculator_window.h"
#include "app/help_window.h"
#include "app/pie_gauge.h"
#include "app/summary_view.h"
#include "support/log_builder.h"
#include "support/scan_fixture.h"

namespace vnx::app {
namespace {

using test::LogBuilder;
using test::TempDir;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    window.messageSink = [this](const QString& m) { messages << m; };
    window.confirmSink = [this](const QString& q) {
      questions << q;
      return answerYes;
    };
    window.fileChooser = [this] { return chosen; };
    window.pauses = false;
  }

  template <class T = QWidget>
  T* Find(const char* name) {
    T* w = window.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString Label(const char* name) { return Find<QLabel>(name)->text(); }
  bool Enabled(const char* action) { return window.action(action)->isEnabled(); }

  // Chooses `log` through the input button and scans it with the Scan button.
  void ChooseAndScan(const std::string& log) {
    chosen = QString::fromStdString(dir.Write("log" + std::to_string(++logs) + ".vnx", log));
    window.ChooseFileByButton();
    window.StartScanByButton();
  }

  static LogBuilder CleanLog(int epochs = 3) {
    LogBuilder b;
    b.Header().Date(2009, 6, 23);
    for (int i = 1; i <= epochs; ++i) b.Time(i * 1000).Sats({5, 12}).Elevations({30, -2});
    return b;
  }

  TempDir dir;
  MainWindow window{QString::fromStdString(dir.path())};
  QStringList messages, questions;
  QString chosen;
  bool answerYes = true;
  int logs = 0;
};

TEST_F(MainWindowTest, StartsWithOnlyTheInputCommand) {
  EXPECT_TRUE(Enabled("InputVNXfile1"));
  for (const char* a : {"ScanVNXfile1", "ViewSummury1", "ViewErrors1", "TimesEpochs1", "Header1",
                        "Satellites1", "Positions1", "Ephemerides1", "Measurements1",
                        "Ionoparameters1", "Externalevents1", "Occupations1", "Attitude1"})
    EXPECT_FALSE(Enabled(a)) << a;
  EXPECT_FALSE(Find<QPushButton>("BBScan")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("BBStop")->isEnabled());
  EXPECT_TRUE(window.windowTitle().startsWith("  VNX Files Viewer   (version 1.2.1)"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/TempVNX_V"));
  EXPECT_EQ(Label("STDateis"), "00/00/0000");
  EXPECT_EQ(Find<QLabel>("STC1is")->property("lit").toBool(), false);
}

TEST_F(MainWindowTest, ScanShowsTheSummaryAndEnablesTheViews) {
  ChooseAndScan(CleanLog().str());
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(window.frontPanel()->objectName(), "PSumm");
  for (const char* a : {"TimesEpochs1", "Header1", "Satellites1", "Measurements1", "Positions1",
                        "ViewSummury1", "Occupations1"})
    EXPECT_TRUE(Enabled(a)) << a;
  // Nothing of their kind in this log.
  EXPECT_FALSE(Enabled("Ephemerides1"));
  EXPECT_FALSE(Enabled("Ionoparameters1"));
  EXPECT_FALSE(Enabled("Externalevents1"));
  EXPECT_FALSE(Enabled("Attitude1"));
  EXPECT_FALSE(Enabled("ViewErrors1"));
  auto* summary = Find<SummaryView>("PSumm");
  EXPECT_EQ(summary->Text("STSumStartEp"), "Start   23/06/2009  00:00:01.000     00001");
  EXPECT_EQ(summary->Text("STSumFinish"), "Finish 23/06/2009  00:00:03.000     00003");
  EXPECT_EQ(summary->Text("STSumNumEp"), "Epochs           3");
  EXPECT_EQ(summary->Text("STSumElMask"), " Elevation Mask =  -2");
  EXPECT_EQ(summary->Text("ESumGPS"), " 5 12");
  EXPECT_EQ(summary->Text("ESumGLO"), " No");
  EXPECT_EQ(summary->Text("STSumErr"), " No");
  EXPECT_EQ(Find<QLabel>("STSumErr")->property("colour").toString(), "yellow");
  EXPECT_EQ(Label("STDateis"), "23/06/2009");
  EXPECT_TRUE(Find<QLabel>("STgpsis")->property("lit").toBool());
  EXPECT_FALSE(Find<QLabel>("STglois")->property("lit").toBool());
  EXPECT_EQ(Find<PieGauge>("GScan")->Value(), 0);
  EXPECT_EQ(Label("STEnd"), "Filesize");
  EXPECT_FALSE(Find<QPushButton>("BBStop")->isEnabled());  // until the next scan
}

TEST_F(MainWindowTest, ErrorListShowsTheFirstHundredLines) {
  LogBuilder b = CleanLog();
  for (int i = 0; i < 250; ++i) b.Time(3000);  // 250 equal times: one error line each
  ChooseAndScan(b.str());
  auto* summary = Find<SummaryView>("PSumm");
  EXPECT_EQ(summary->Text("STSumErr"), "Yes");
  EXPECT_TRUE(Find<QPushButton>("BBShowErr")->isEnabled());
  EXPECT_TRUE(Enabled("ViewErrors1"));
  summary->ShowErrors();
  auto* list = Find<QListWidget>("LBError");
  ASSERT_EQ(list->count(), 100);
  EXPECT_EQ(list->item(0)->text(), "     Errors:");
  EXPECT_EQ(window.frontPanel()->objectName(), "PError");
  EXPECT_EQ(window.shownErrorCount(), 100);
}

TEST_F(MainWindowTest, EmptyFileNameIsRefused) {
  window.StartScanFromMenu();
  EXPECT_THAT(messages, ::testing::ElementsAre("You have not input VNX-File"));
}

TEST_F(MainWindowTest, UnmappableFileShowsItsMessageAndOnlyTheSummaryItem) {
  // The message box names the file and the reason, as vnx-check prints it.
  const std::string missing = dir.path() + "/missing.vnx";
  const std::string empty = dir.Write("empty.vnx", "");
  const std::pair<std::string, std::string> cases[] = {
      {missing,
       "ERROR INVALID HANDLE VALUE (CreateFile)2 " + missing + ": No such file or directory"},
      {empty, "The file is empty: " + empty},
      {dir.path(), dir.path() + " is a directory"},
  };
  for (const auto& [path, message] : cases) {
    messages.clear();
    chosen = QString::fromStdString(path);
    window.ChooseFileByButton();
    window.StartScanByButton();
    EXPECT_THAT(messages, ::testing::ElementsAre(QString::fromStdString(message)));
    EXPECT_TRUE(Enabled("ViewSummury1"));
    EXPECT_FALSE(Enabled("TimesEpochs1"));
  }
}

TEST_F(MainWindowTest, VeryShortFileSaysProcessedFalse) {
  ChooseAndScan("VN055RLOGF");
  EXPECT_TRUE(messages.contains("Processed   false"));
  EXPECT_TRUE(messages.contains("There was no epochs with measurements!"));
}

TEST_F(MainWindowTest, CancellingTheFileDialogLeavesScanDisabled) {
  ChooseAndScan(CleanLog().str());
  chosen.clear();
  window.ChooseFileByButton();
  EXPECT_FALSE(Find<QPushButton>("BBScan")->isEnabled());
  EXPECT_TRUE(Find<QLineEdit>("EFile")->text().isEmpty());
  EXPECT_FALSE(Find<QLabel>("STgpsis")->property("lit").toBool());  // back to white
}

TEST_F(MainWindowTest, StopDuringALongScanKeepsTheEpochsSoFar) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (uint32_t t = 0; b.size() < (4u << 20); t = (t + 1000) % 86400000) b.Time(t).Sats({5, 7});
  chosen = QString::fromStdString(dir.Write("long.vnx", b.str()));
  window.ChooseFileByButton();
  // Stop is pressed as soon as the window gets its first events during the scan.
  QTimer::singleShot(0, &window, [this] { window.StopScan(); });
  window.StartScanByButton();
  const int32_t epochs = window.scan().EpochCount();
  EXPECT_GT(epochs, 0);
  EXPECT_LT(epochs, 150000);
  EXPECT_EQ(window.frontPanel()->objectName(), "PSumm");
  EXPECT_TRUE(Enabled("TimesEpochs1"));
}

TEST_F(MainWindowTest, SecondScanCommandDuringAScanIsRefused) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (uint32_t t = 0; b.size() < (3u << 20); t = (t + 1000) % 86400000) b.Time(t).Sats({5});
  chosen = QString::fromStdString(dir.Write("long.vnx", b.str()));
  window.ChooseFileByButton();
  QTimer::singleShot(0, &window, [this] {
    window.StartScanFromMenu();  // arrives through the running scan's event processing
    window.ChooseFileFromMenu();
  });
  window.StartScanFromMenu();
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_GT(window.scan().EpochCount(), 100000);
}

TEST_F(MainWindowTest, RescanStartsFromScratch) {
  ChooseAndScan(CleanLog(5).str());
  window.StartScanByButton();
  EXPECT_EQ(window.scan().EpochCount(), 5);
  EXPECT_EQ(Find<SummaryView>("PSumm")->Text("STSumNumEp"), "Epochs           5");
}

TEST_F(MainWindowTest, AntennaQuestionAndItsRefusalOfBadNames) {
  auto* dialog = Find<AntennaDialog>("Form2");
  QStringList dialogMessages;
  dialog->messageSink = [&](const QString& m) { dialogMessages << m; };
  Find<QRadioButton>("RBother")->setChecked(true);
  EXPECT_TRUE(Find<QLineEdit>("Eother")->isEnabled());
  Find<QLineEdit>("Eother")->setText("xy");
  dialog->AcceptAntenna();
  EXPECT_THAT(dialogMessages,
              ::testing::ElementsAre("Bad name of antenna xy. Valid simbol are from 'a' to 'z'. "));
  EXPECT_FALSE(dialog->DialogMayClose());
  Find<QLineEdit>("Eother")->setText("e");
  dialog->AcceptAntenna();
  EXPECT_TRUE(dialog->DialogMayClose());
  EXPECT_EQ(dialog->Answer().antenna, 'e');
  EXPECT_TRUE(dialog->Answer().proceed);
  Find<QRadioButton>("RBb")->setChecked(true);
  EXPECT_FALSE(Find<QLineEdit>("Eother")->isEnabled());
  dialog->CancelAntennaChoice();
  EXPECT_FALSE(dialog->Answer().proceed);
}

TEST_F(MainWindowTest, ScanAsksForTheAntennaOnce) {
  std::vector<std::string> asked;
  window.antennaAsker = [&](const std::string& letters) {
    asked.push_back(letters);
    return AntennaChoice{true, 'b'};
  };
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5, 6}).Antennas("ab");
  b.Time(2000).Sats({5, 6}).Antennas("ab").Time(3000).Sats({5, 6}).Antennas("ab");
  ChooseAndScan(b.str());
  EXPECT_THAT(asked, ::testing::ElementsAre("ab"));
  EXPECT_EQ(window.scan().SelectedAntenna(), 'b');
}

TEST_F(MainWindowTest, HeaderAndIonoViews) {
  LogBuilder b = CleanLog();
  b.Frame("IO",
          Payload().U32(61440).U16(2100).F32(1e-8f).F32(0).F32(0).F32(0).F32(0).F32(0).F32(0).F32(
              -65536.0f));
  ChooseAndScan(b.str());
  window.action("Header1")->trigger();
  EXPECT_EQ(window.frontPanel()->objectName(), "PHead");
  EXPECT_EQ(Label("STReceiver"), " Type     VNX");
  EXPECT_EQ(Label("STRecID"), " ID       -Unknown-");
  EXPECT_EQ(Label("STAntH"), " Height          0.0000");
  window.action("Ionoparameters1")->trigger();
  EXPECT_EQ(window.frontPanel()->objectName(), "PIO");
  EXPECT_EQ(Label("STIOA0"), QString(" Alpha0          ") + "   0.0000000100");
  EXPECT_EQ(Label("STIOB3"), QString(" Beta3           ") + "   -65536.00000");
  Find<QPushButton>("BBCloseIono")->click();
  EXPECT_EQ(window.frontPanel()->objectName(), "PView");
}

TEST_F(MainWindowTest, TimesViewAndCalculator) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23).Time(1000).Sats({5}).Time(2000).Sats({5}).Time(5000).Sats({5});
  ChooseAndScan(b.str());
  window.action("TimesEpochs1")->trigger();
  EXPECT_EQ(window.frontPanel()->objectName(), "PVTime");
  EXPECT_EQ(Label("STNEpochs"), "Epochs (3)");
  EXPECT_EQ(Label("STGap"), "Gaps  1");
  auto* list = Find<QListWidget>("LBEpochs");
  ASSERT_EQ(list->count(), 6);
  EXPECT_EQ(list->item(3)->text().toStdString(), "@@@@@@@ 2 epochs missing @@@@@@@@@@@@@@@@@@@@@@");
  window.OpenCalculator();
  auto* calc = Find<CalculatorWindow>("FormTime");
  EXPECT_EQ(Find<QLineEdit>("EDateTime")->text(), "23/06/2009  00:00:01.000");
  calc->Next();
  calc->Next();
  calc->Next();  // at the last epoch: nothing happens
  EXPECT_EQ(calc->CurrentEpoch(), 3);
  EXPECT_EQ(Find<QLineEdit>("EDateTime")->text(), "23/06/2009  00:00:05.000");
  EXPECT_EQ(Find<QLineEdit>("ENumEp")->text(), "3");
}

TEST_F(MainWindowTest, HelpOpensAtThePageOfTheFocusedControl) {
  ChooseAndScan(CleanLog().str());
  window.action("VNXViewerHelp1")->trigger();
  auto* help = Find<HelpWindow>("HelpWindow");
  EXPECT_EQ(help->CurrentPage(), "index.html");
  window.show();
  QApplication::setActiveWindow(&window);
  window.action("TimesEpochs1")->trigger();
  Find<QListWidget>("LBEpochs")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(window.HelpPageOfFocus(), "times.html");
}

// Every scan can be stopped, the one started again on the same file too.
TEST_F(MainWindowTest, StopIsEnabledForEveryScan) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (uint32_t t = 0; b.size() < (5u << 20) / 2; t = (t + 1000) % 86400000) b.Time(t).Sats({5});
  chosen = QString::fromStdString(dir.Write("long.vnx", b.str()));
  window.ChooseFileByButton();
  window.StartScanByButton();
  const int32_t all = window.scan().EpochCount();
  for (bool fromMenu : {false, true}) {
    bool enabled = false;
    QTimer::singleShot(0, &window, [&] {
      enabled = Find<QPushButton>("BBStop")->isEnabled();
      Find<QPushButton>("BBStop")->click();
    });
    fromMenu ? window.StartScanFromMenu() : window.StartScanByButton();
    EXPECT_TRUE(enabled) << fromMenu;
    EXPECT_LT(window.scan().EpochCount(), all) << fromMenu;
    EXPECT_FALSE(Find<QPushButton>("BBStop")->isEnabled());
  }
}

// Records the gauge's value at every paint.
class PaintRecorder : public QObject {
 public:
  std::vector<int> painted;
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted.push_back(static_cast<PieGauge*>(o)->Value());
    return false;
  }
};

TEST_F(MainWindowTest, GaugeIsPaintedWhenTheScanRefreshesIt) {
  window.show();
  QApplication::processEvents();
  PaintRecorder recorder;
  Find<PieGauge>("GScan")->installEventFilter(&recorder);
  // The scan ends at 100 and goes back to 0 without a checkpoint in between: only a paint made
  // by the refresh itself shows the full gauge.
  ChooseAndScan(CleanLog().str());
  EXPECT_THAT(recorder.painted, ::testing::Contains(100));
}

TEST_F(MainWindowTest, CalculatorShowsAnEpochOfTheCurrentFile) {
  ChooseAndScan(CleanLog(5).str());
  window.OpenCalculator();
  auto* calc = Find<CalculatorWindow>("FormTime");
  calc->SetSliderPosition(5);
  EXPECT_EQ(Find<QLineEdit>("ENumEp")->text(), "5");
  EXPECT_EQ(Find<QLineEdit>("EDateTime")->text(), "23/06/2009  00:00:05.000");
  // A shorter file: the slider ends at its last epoch, the calculator starts at its first.
  LogBuilder shorter;
  shorter.Header().Date(2010, 1, 2).Time(7000).Sats({5}).Time(8000).Sats({5}).Time(9500).Sats({5});
  ChooseAndScan(shorter.str());
  EXPECT_FALSE(calc->isVisible());  // its epoch belonged to the other file
  window.OpenCalculator();
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(calc->SliderMaximum(), 3);
  EXPECT_EQ(calc->CurrentEpoch(), 1);
  EXPECT_EQ(Find<QLineEdit>("ENumEp")->text(), "1");
  EXPECT_EQ(Find<QLineEdit>("EDateTime")->text(), "02/01/2010  00:00:07.000");
  calc->SetSliderPosition(3);
  calc->Next();
  EXPECT_EQ(Find<QLineEdit>("ENumEp")->text(), "3");
  EXPECT_EQ(Find<QLineEdit>("EDateTime")->text(), "02/01/2010  00:00:09.500");
}

TEST_F(MainWindowTest, ScanWithoutEpochsClearsTheTimesViewAndClosesEmptyViews) {
  LogBuilder gaps;
  gaps.Header().Date(2009, 6, 23).Time(1000).Sats({5}).Time(2000).Sats({5}).Time(5000).Sats({5});
  gaps.Frame(
      "IO",
      Payload().U32(61440).U16(2100).F32(1e-8f).F32(0).F32(0).F32(0).F32(0).F32(0).F32(0).F32(0));
  gaps.Frame("ZA", Payload().F32(-3.25f));
  ChooseAndScan(gaps.str());
  window.action("TimesEpochs1")->trigger();
  ASSERT_EQ(Label("STGap"), "Gaps  1");
  EXPECT_TRUE(Enabled("Ionoparameters1"));
  EXPECT_TRUE(Enabled("Externalevents1"));  // a PPS offset alone opens the events view

  LogBuilder none;
  none.Header().Date(2009, 6, 23);
  ChooseAndScan(none.str());
  messages.clear();
  window.action("TimesEpochs1")->trigger();
  EXPECT_THAT(messages, ::testing::ElementsAre("There is only Header in file!"));
  EXPECT_EQ(Label("STNEpochs"), "Epochs");
  EXPECT_EQ(Label("STGap"), "Gaps");
  EXPECT_EQ(Label("STInterv"), "Interval");
  EXPECT_EQ(Find<QListWidget>("LBEpochs")->count(), 0);
  EXPECT_TRUE(Enabled("Header1"));
  struct Closed {
    const char* item;
    const char* why;
  } closed[] = {{"Satellites1", "No epochs in this file"},
                {"Positions1", "No epochs in this file"},
                {"Measurements1", "No epochs in this file"},
                {"Occupations1", "No epochs in this file"},
                {"Ephemerides1", "No ephemerides in this file"},
                {"Ionoparameters1", "No ionosphere parameters in this file"},
                {"Externalevents1", "No external events or PPS offsets in this file"},
                {"Attitude1", "No attitude or baseline messages in this file"}};
  for (const Closed& c : closed) {
    EXPECT_FALSE(Enabled(c.item)) << c.item;
    EXPECT_EQ(window.action(c.item)->statusTip(), c.why) << c.item;
  }
  // The ionosphere parameters of the earlier file are gone.
  const uint32_t tot = window.scan().Iono().tot;  // a copy: the block is packed
  EXPECT_EQ(tot, 0u);
}

TEST_F(MainWindowTest, HelpAfterClosingAViewIsThePageOfWhatHasTheFocus) {
  ChooseAndScan(CleanLog().str());
  window.show();
  QApplication::setActiveWindow(&window);
  struct Case {
    const char* item;
    const char* close;
  } cases[] = {{"TimesEpochs1", "BBVCloseTimes"},
               {"Occupations1", "BBCloseOcc"},
               {"Satellites1", "BBCloseSat"},
               {"Header1", "BBCloseHead"},
               {"ViewSummury1", "BBCloseSum"}};
  for (const Case& c : cases) {
    window.action(c.item)->trigger();
    Find<QPushButton>(c.close)->setFocus();
    QApplication::processEvents();
    EXPECT_NE(window.HelpPageOfFocus(), "scanning.html") << c.item;
    Find<QPushButton>(c.close)->click();
    QApplication::processEvents();
    EXPECT_EQ(window.HelpPageOfFocus(), "scanning.html") << c.close;
  }
}

// Each page of the manual is shipped with the pictures it shows.
TEST_F(MainWindowTest, ManualPagesFindTheirScreenshots) {
  const QStringList pages = QDir(":/manual").entryList({"*.html"});
  ASSERT_GE(pages.size(), 15);
  int pictures = 0;
  for (const QString& page : pages) {
    QFile f(":/manual/" + page);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page.toStdString();
    const QString html = QString::fromUtf8(f.readAll());
    static const QRegularExpression image("src=\"\\.\\./(screenshots/[^\"]+)\"");
    for (auto m = image.globalMatch(html); m.hasNext(); ++pictures) {
      const QString picture = m.next().captured(1);
      EXPECT_FALSE(QImage(":/" + picture).isNull())
          << page.toStdString() << " " << picture.toStdString();
    }
  }
  EXPECT_GE(pictures, 15);
}

TEST_F(MainWindowTest, ExitAsksAndRemovesTheWorkingFiles) {
  ChooseAndScan(CleanLog().str());
  answerYes = false;
  EXPECT_FALSE(window.close());
  EXPECT_THAT(questions, ::testing::ElementsAre("Do you really want to exit VNX Viewer?"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() + "/TempVNX_V/DataEpochs.dat"));
  answerYes = true;
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/TempVNX_V"));
}

}  // namespace
}  // namespace vnx::app
