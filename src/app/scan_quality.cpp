#include "app/scan_quality.h"

#include <QApplication>
#include <QtConcurrent/QtConcurrentRun>

#include "app/main_window.h"

namespace vnx::app {

bool SameQualityOptions(const QualityOptions& a, const QualityOptions& b) {
  return a.maskDeg == b.maskDeg && a.position == b.position;
}

ScanQuality::ScanQuality(MainWindow& window) : QObject(&window), window_(window) {
  connect(&watcher_, &QFutureWatcher<QualityReport>::finished, this, &ScanQuality::Done);
}

ScanQuality::~ScanQuality() {
  Reset();
}

void ScanQuality::Request(const QualityOptions& options) {
  if (running_) {
    if (SameQualityOptions(*running_, options)) {
      next_.reset();
      return;
    }
    next_ = options;  // started when the running one returns
    return;
  }
  if (report_ && SameQualityOptions(reportOptions_, options)) {
    emit Finished();
    return;
  }
  Start(options);
}

void ScanQuality::RequestAny() {
  if (running_) return;
  if (report_) {
    emit Finished();
    return;
  }
  Start(QualityOptions{});
}

void ScanQuality::Start(const QualityOptions& options) {
  running_ = options;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  emit Started();
  const QualitySource source = QualitySourceOf(window_.scan());
  watcher_.setFuture(QtConcurrent::run([this, source, options] {
    return AnalyseQuality(source, options, [this](int percent) {
      QMetaObject::invokeMethod(
          this, [this, percent] { emit Progress(percent); }, Qt::QueuedConnection);
    });
  }));
}

void ScanQuality::Done() {
  // Wait() and Reset() take the result before the watcher's signal arrives.
  if (!running_ || !watcher_.isFinished()) return;
  reportOptions_ = *running_;
  running_.reset();
  QApplication::restoreOverrideCursor();
  report_ = watcher_.result();
  if (next_) {
    const QualityOptions again = *next_;
    next_.reset();
    Start(again);
    return;
  }
  if (report_) emit Finished();
}

void ScanQuality::Wait() {
  while (running_) {
    watcher_.waitForFinished();
    Done();
  }
}

void ScanQuality::Reset() {
  next_.reset();
  if (running_) {
    watcher_.waitForFinished();
    running_.reset();
    QApplication::restoreOverrideCursor();
  }
  report_.reset();
}

}  // namespace vnx::app
