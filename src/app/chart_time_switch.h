#pragma once
// The one switch of the charts' horizontal axis: epoch number, GPS time or UTC. Every chart of
// a window follows it; it is remembered between sessions. It also holds the epoch clock of the
// scan in front (the epoch-number-to-time table the calculator reads), loaded when a chart
// first needs it and again after each scan.
#include <QObject>
#include <functional>
#include <string>

#include "engine/views/chart_time.h"

class QWidget;

namespace vnx::app {

class TimeAxisSwitch : public QObject {
  Q_OBJECT
 public:
  // Where the clock is read from: DataEpochs.dat and this scan's epoch count.
  struct Source {
    std::string dataEpochsPath;
    int32_t epochCount = 0;
  };

  explicit TimeAxisSwitch(QObject* parent, std::function<Source()> source);

  // The switch of the window that `w` is in; null outside a window that has one.
  static TimeAxisSwitch* Of(const QWidget* w);

  ChartTimeAxis Mode() const { return mode_; }
  // The mode the charts draw: the chosen one when the clock offers it; else GPS time, else
  // the epoch number.
  ChartTimeAxis Effective();
  void SetMode(ChartTimeAxis mode);
  // The clock of the scan as it is now, reloaded when the epoch file changed.
  const EpochClock& Clock();

  // What stores the choice; the default writes the user's settings. Tests replace it.
  std::function<void(ChartTimeAxis)> remember;

 signals:
  void Changed();

 private:
  std::function<Source()> source_;
  ChartTimeAxis mode_;
  EpochClock clock_;
  QString loadedStamp_;  // path, size and time of the epoch file the clock was read from
};

// The remembered choice, and storing it in the user's settings.
ChartTimeAxis RememberedTimeAxis();
void RememberTimeAxis(ChartTimeAxis mode);

}  // namespace vnx::app
