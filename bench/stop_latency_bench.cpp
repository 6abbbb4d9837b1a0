// Window responsiveness during a scan: scans a large log in the real main window (offscreen or
// under a display), presses Stop after half a second from a timer, and reports how long the
// scan took to return after Stop and the longest stretch without event processing.
//   vnx-stop-bench LOG.vnx
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "bench_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: vnx-stop-bench LOG.vnx\n");
    return 2;
  }
  const QString log = QFileInfo(argv[1]).absoluteFilePath();
  vnx::app::MainWindow w(vnx::bench::BenchWorkDir("vnx-stop-bench"));
  vnx::bench::PrepareBenchWindow(w, log);
  w.show();
  w.ChooseFileByButton();

  QElapsedTimer clock;
  qint64 lastRound = 0, longestGap = 0, stopAt = -1;
  // Every pass of the event loop counts as a moment the window could react.
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
    const qint64 now = clock.nsecsElapsed();
    if (lastRound > 0 && now - lastRound > longestGap) longestGap = now - lastRound;
    lastRound = now;
  });
  QTimer::singleShot(500, &w, [&] {
    stopAt = clock.nsecsElapsed();
    w.StopScan();
  });
  clock.start();
  w.StartScanByButton();
  const qint64 end = clock.nsecsElapsed();
  std::printf("epochs scanned before Stop: %d\n", w.scan().EpochCount());
  if (stopAt >= 0)
    std::printf("Stop pressed at %.3f s; scan, analysis and summary done %.1f ms later\n",
                stopAt / 1e9, (end - stopAt) / 1e6);
  else
    std::printf("scan finished in %.3f s before Stop was pressed\n", end / 1e9);
  std::printf("longest stretch without event processing: %.1f ms\n", longestGap / 1e6);
  w.close();
  return 0;
}
