// Chart speed in the real window (offscreen or under a display):
//  1. a zoom/pan frame of one chart holding 2.6 M points (86 400 epochs x 30 satellites): the
//     min/max-per-pixel-column decimation of the visible range plus the repaint, over a series
//     of zoom and pan steps;
//  2. with a log given, every view's open time: from the menu command to the end of the first
//     paint, after scanning the log in the main window, and the window's resident memory with
//     every view opened once.
//   vnx-chart-bench [LOG.vnx]
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/chart.h"
#include "app/main_window.h"
#include "bench_window.h"

namespace {

// Resident set size of this process in MB (Linux).
double ResidentMb() {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  return 0;
}

void ZoomPanFrames() {
  constexpr int kEpochs = 86400, kSatellites = 30;
  vnx::app::Chart chart("BenchChart");
  chart.resize(1200, 700);
  chart.show();
  QApplication::processEvents();  // the chart at its size before the first draw
  std::vector<double> x, y;
  x.reserve(size_t{kEpochs} * kSatellites);
  y.reserve(x.capacity());
  // One series of every satellite record, keys ascending: a smooth curve per satellite with a
  // spike now and then, the way an observable chart of all satellites looks.
  for (int e = 0; e < kEpochs; ++e)
    for (int s = 0; s < kSatellites; ++s) {
      x.push_back(e);
      y.push_back(40 + 10 * std::sin(e / 3000.0 + s) + (e % 7919 == s ? 30 : 0));
    }
  chart.AddSeries("all satellites", Qt::darkBlue);
  chart.SetPoints(0, x, y);
  QElapsedTimer t;
  t.start();
  chart.Redraw();
  chart.repaint();
  std::printf("chart with %zu points: first draw %.1f ms, %d points drawn\n", x.size(),
              t.nsecsElapsed() / 1e6, chart.DrawnCount(0));

  std::vector<double> frames;
  double lower = 0, upper = kEpochs;
  for (int i = 0; i < 40; ++i) {
    t.restart();
    if (i < 10) {  // zoom in
      const double mid = (lower + upper) / 2, half = (upper - lower) / 2 * 0.7;
      lower = mid - half;
      upper = mid + half;
      chart.SetVisibleKeys(lower, upper);
    } else if (i < 30) {  // pan
      chart.PanBy(i < 20 ? 0.1 : -0.1, 0);
    } else {  // zoom out
      chart.ZoomBy(1.5);
    }
    chart.repaint();
    frames.push_back(t.nsecsElapsed() / 1e6);
  }
  std::sort(frames.begin(), frames.end());
  std::printf("zoom/pan frame (decimation + repaint), 40 frames: median %.1f ms, worst %.1f ms\n",
              frames[frames.size() / 2], frames.back());
}

void ViewOpenTimes(const QString& log) {
  vnx::app::MainWindow w(vnx::bench::BenchWorkDir("vnx-chart-bench"));
  vnx::bench::PrepareBenchWindow(w, log);
  w.resize(1280, 800);
  w.show();
  w.ChooseFileByButton();
  QElapsedTimer t;
  t.start();
  w.StartScanByButton();
  std::printf("scan of %s: %.2f s, %d epochs; window memory %.0f MB\n",
              qPrintable(QFileInfo(log).fileName()), t.nsecsElapsed() / 1e9, w.scan().EpochCount(),
              ResidentMb());
  QApplication::processEvents();
  for (const char* view :
       {"TimesEpochs1", "Header1", "Ionoparameters1", "Satellites1", "Positions1", "Measurements1",
        "Ephemerides1", "Externalevents1", "Occupations1", "Attitude1", "Skyplot1",
        "SignalElevation1", "PositionScatter1"}) {
    QAction* a = w.action(view);
    if (!a || !a->isEnabled()) {
      std::printf("  %-18s (not available on this log)\n", view);
      continue;
    }
    t.restart();
    a->trigger();
    QApplication::processEvents();
    w.repaint();  // the end of the first paint of the view in front
    std::printf("  %-18s opens and draws in %4.0f ms\n", view, t.nsecsElapsed() / 1e6);
  }
  std::printf("window memory with every view opened once: %.0f MB\n", ResidentMb());
  w.close();
}

}  // namespace

int main(int argc, char** argv) {
  // The window remembers what it saw: not in the user's own settings.
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QApplication app(argc, argv);
  ZoomPanFrames();
  if (argc > 1) ViewOpenTimes(QFileInfo(argv[1]).absoluteFilePath());
  return 0;
}
