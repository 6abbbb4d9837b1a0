// Takes the documentation screenshots: scans a log in the real window and saves the window
// with each view in front.
//   vnx-app-screenshots LOG.vnx OUT_DIR
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <string>

#include "app/antenna_dialog.h"
#include "app/calculator_window.h"
#include "app/item_radio_group.h"
#include "app/main_window.h"
#include "app/scan_quality.h"

int main(int argc, char** argv) {
  // The window remembers what it saw: not in the user's own settings.
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QApplication app(argc, argv);
  if (argc < 3) return 2;
  const QString log = QFileInfo(argv[1]).absoluteFilePath();
  const QString out = argv[2];
  QDir().mkpath(out);
  const QString work = QDir::tempPath() + "/vnx-screenshots";
  QDir().mkpath(work);
  vnx::app::MainWindow w(work);
  w.messageSink = [](const QString& m) { qInfo("message: %s", qPrintable(m)); };
  w.confirmSink = [](const QString&) { return true; };
  w.fileChooser = [log] { return log; };
  w.pauses = false;
  w.resize(1100, 760);
  w.show();
  auto shot = [&](const QString& name) {
    QApplication::processEvents();
    w.grab().save(out + "/" + name + ".png");
  };
  QApplication::processEvents();
  shot("start");
  w.ChooseFileByButton();
  w.StartScanByButton();
  shot("summary");
  if (auto* close = w.findChild<QPushButton*>("BBCloseSum")) close->click();
  shot("main");
  struct Shot {
    const char* item;
    const char* name;
  };
  for (const Shot& s :
       {Shot{"TimesEpochs1", "times"}, Shot{"Header1", "header"},
        Shot{"Ionoparameters1", "ionoparameters"}, Shot{"Satellites1", "satellites"},
        Shot{"Positions1", "positions"}, Shot{"Measurements1", "measurements"},
        Shot{"Ephemerides1", "ephemeris-gps"}, Shot{"Externalevents1", "events"},
        Shot{"Occupations1", "occupations"}, Shot{"Attitude1", "attitude"},
        Shot{"Skyplot1", "skyplot"}, Shot{"SignalElevation1", "signal-elevation"},
        Shot{"PositionScatter1", "position-scatter"}}) {
    QAction* a = w.action(s.item);
    if (!a || !a->isEnabled()) continue;
    a->trigger();
    // Both event inputs at once: the axis spans them.
    if (std::string(s.name) == "events")
      if (auto* xb = w.findChild<QCheckBox*>("CBXB")) xb->click();
    shot(s.name);
  }
  // A multipath combination with the elevation on the right axis.
  if (QAction* a = w.action("Measurements1"); a && a->isEnabled()) {
    a->trigger();
    if (auto* b = w.findChild<QPushButton*>("BBComObs")) b->click();
    if (auto* g = w.findChild<vnx::app::ItemRadioGroup*>("RGComObs")) g->Click(2);
    if (auto* ok = w.findChild<QPushButton*>("BBOkComObs")) ok->click();
    shot("combinations");
  }
  // The calculator over the Satellites view, moved to an epoch.
  if (QAction* a = w.action("Satellites1"); a && a->isEnabled()) {
    a->trigger();
    w.OpenCalculator();
    if (auto* calc = w.findChild<vnx::app::CalculatorWindow*>("FormTime")) {
      calc->SetSliderPosition(calc->SliderMaximum() / 2);
      QApplication::processEvents();
      calc->grab().save(out + "/calculator.png");
      calc->hide();
    }
  }
  // The RINEX export dialog, as File > "Export RINEX…" opens it.
  QTimer::singleShot(0, &w, [&] {
    if (QWidget* d = QApplication::activeModalWidget()) {
      QApplication::processEvents();
      d->grab().save(out + "/rinex-export.png");
      d->close();
    }
  });
  w.OpenRinexExport();
  w.ShowErrorList();
  shot("errors");
  // The antenna question, as a multi-antenna log raises it.
  if (auto* antenna = w.findChild<vnx::app::AntennaDialog*>("Form2")) {
    QTimer::singleShot(200, antenna, [antenna, out] {
      antenna->grab().save(out + "/antenna.png");
      antenna->AcceptAntenna();
    });
    antenna->Ask("ab");
  }
  // A page of the manual as the help window shows it.
  w.OpenHelp("satellites.html");
  if (auto* help = w.findChild<QWidget*>("HelpWindow")) {
    help->resize(760, 900);
    QApplication::processEvents();
    help->grab().save(out + "/help.png");
  }
  // The Quality view with its analysis finished, on a window large enough for its tables.
  if (QAction* quality = w.action("Quality1"); quality && quality->isEnabled()) {
    w.resize(1400, 900);
    quality->trigger();
    w.findChild<vnx::app::ScanQuality*>()->Wait();
    shot("quality-view");
  }
  w.close();
  return 0;
}
