// Takes the documentation screenshots: scans a log in the real window and saves the window
// with each view in front.
//   vnx-app-screenshots LOG.vnx OUT_DIR
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_window.h"

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
  for (const char* view : {"TimesEpochs1", "Header1", "Ionoparameters1", "Satellites1",
                           "Positions1", "Measurements1", "Ephemerides1", "Externalevents1",
                           "Occupations1", "Attitude1", "Skyplot1", "SignalElevation1",
                           "PositionScatter1"}) {
    QAction* a = w.action(view);
    if (!a || !a->isEnabled()) continue;
    a->trigger();
    shot(QString(view).chopped(1).toLower());
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
  w.close();
  return 0;
}
