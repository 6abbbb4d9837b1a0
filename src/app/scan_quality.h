#pragma once
// The quality analysis of the window's current scan, run off the window's thread and kept until
// the next scan: the Quality view shows it, the measurement charts mark its slips.
#include <QFutureWatcher>
#include <QObject>
#include <optional>

#include "engine/quality/quality_analysis.h"

namespace vnx::app {

class MainWindow;

bool SameQualityOptions(const QualityOptions& a, const QualityOptions& b);

class ScanQuality : public QObject {
  Q_OBJECT
 public:
  explicit ScanQuality(MainWindow& window);
  ~ScanQuality() override;

  // Asks for the report with these settings. Nothing happens when the report in hand has them;
  // otherwise the analysis runs in the background with the busy cursor shown, after the running
  // one when another runs.
  void Request(const QualityOptions& options);
  // Asks for any report of this scan: the slips do not depend on the mask or the position.
  void RequestAny();
  // The last finished report of this scan, or null.
  const QualityReport* Report() const { return report_ ? &*report_ : nullptr; }
  const QualityOptions& ReportOptions() const { return reportOptions_; }
  bool Running() const { return running_.has_value(); }
  // Returns when no analysis runs (tests, screenshots and saving wait for the report).
  void Wait();
  // A scan is about to rewrite the working files: waits for a running analysis and forgets the
  // report.
  void Reset();

 signals:
  void Started();
  void Progress(int percent);
  // A report is in hand (Report()).
  void Finished();

 private:
  void Start(const QualityOptions& options);
  void Done();

  MainWindow& window_;
  QFutureWatcher<QualityReport> watcher_;
  std::optional<QualityReport> report_;
  QualityOptions reportOptions_;                  // what report_ was made with
  std::optional<QualityOptions> running_, next_;  // in the background; asked for meanwhile
};

}  // namespace vnx::app
