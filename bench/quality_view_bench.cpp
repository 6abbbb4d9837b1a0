// Opening the Quality view on a long log: scans LOG in the real main window (offscreen or
// under a display), then measures from the View > Quality command to the end of the view's
// first paint and to the end of the paint that shows the finished report, the longest stretch
// without event processing meanwhile, the same for a changed mask, and the peak memory.
//   vnx-quality-view-bench LOG.vnx
#include <sys/resource.h>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/scan_quality.h"
#include "bench_window.h"

namespace {

long PeakRssMb() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

// Records when the panel or any of its widgets has finished painting: a timer of no delay runs
// after the paint.
class PaintClock : public QObject {
 public:
  PaintClock(QWidget* panel, QElapsedTimer& clock) : clock_(clock) {
    panel->installEventFilter(this);
    for (QWidget* child : panel->findChildren<QWidget*>()) child->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint)
      QTimer::singleShot(0, this, [this] {
        last = clock_.nsecsElapsed();
        ++paints;
      });
    return false;
  }
  qint64 last = -1;
  int paints = 0;

 private:
  QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: vnx-quality-view-bench LOG.vnx\n");
    return 2;
  }
  const QString log = QFileInfo(argv[1]).absoluteFilePath();
  vnx::app::MainWindow w(vnx::bench::BenchWorkDir("vnx-quality-view-bench"));
  vnx::bench::PrepareBenchWindow(w, log);
  w.resize(1100, 760);
  w.show();
  w.ChooseFileByButton();
  QElapsedTimer clock;
  clock.start();
  w.StartScanByButton();
  std::printf("scan, epoch analysis and summary: %.3f s, %d epochs, peak RSS %ld MB\n",
              clock.nsecsElapsed() / 1e9, w.scan().EpochCount(), PeakRssMb());
  QApplication::processEvents();

  auto* quality = w.findChild<vnx::app::ScanQuality*>();
  QWidget* panel = w.findChild<QWidget*>("PQuality");
  PaintClock paints(panel, clock);
  qint64 longestGap = 0, lastRound = 0;
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
    const qint64 now = clock.nsecsElapsed();
    if (lastRound > 0 && now - lastRound > longestGap) longestGap = now - lastRound;
    lastRound = now;
  });
  qint64 finished = -1;
  QObject::connect(quality, &vnx::app::ScanQuality::Finished,
                   [&] { finished = clock.nsecsElapsed(); });

  // Runs the event loop until the report is in hand and painted.
  auto measure = [&](const char* what, auto command) {
    finished = -1;
    paints.last = -1;
    paints.paints = 0;
    longestGap = 0;
    clock.restart();
    lastRound = clock.nsecsElapsed();
    command();
    qint64 firstPaint = -1;
    while (finished < 0 || paints.last < finished) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
      if (firstPaint < 0 && paints.last >= 0) firstPaint = paints.last;
    }
    std::printf(
        "%s: first paint %.1f ms, report in hand %.1f ms, report painted %.1f ms, "
        "longest stretch without event processing %.1f ms\n",
        what, firstPaint / 1e6, finished / 1e6, paints.last / 1e6, longestGap / 1e6);
  };
  measure("View > Quality", [&] { w.action("Quality1")->trigger(); });
  measure("mask 10 -> 20", [&] { w.findChild<QDoubleSpinBox*>("SEQualityMask")->setValue(20); });
  std::printf("peak RSS %ld MB\n", PeakRssMb());
  w.close();
  return 0;
}
