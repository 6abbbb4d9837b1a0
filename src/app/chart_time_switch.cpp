#include "app/chart_time_switch.h"

#include <QDateTime>
#include <QFileInfo>
#include <QWidget>

#include "app/app_settings.h"

namespace vnx::app {

namespace {

const char* const kNames[] = {"epoch", "gps", "utc"};

}  // namespace

ChartTimeAxis RememberedTimeAxis() {
  const QString name = AppSettings().ChartTimeAxis();
  for (int i = 0; i < 3; ++i)
    if (name == kNames[i]) return static_cast<ChartTimeAxis>(i);
  return ChartTimeAxis::Epoch;
}

void RememberTimeAxis(ChartTimeAxis mode) {
  QSettings("vnx-viewer", "vnx-viewer").setValue("charts/timeAxis", kNames[static_cast<int>(mode)]);
}

TimeAxisSwitch::TimeAxisSwitch(QObject* parent, std::function<Source()> source)
    : QObject(parent),
      remember(RememberTimeAxis),
      source_(std::move(source)),
      mode_(RememberedTimeAxis()) {
  setObjectName("ChartTimeAxis");
}

TimeAxisSwitch* TimeAxisSwitch::Of(const QWidget* w) {
  const QWidget* top = w ? w->window() : nullptr;
  return top ? top->findChild<TimeAxisSwitch*>("ChartTimeAxis", Qt::FindDirectChildrenOnly)
             : nullptr;
}

const EpochClock& TimeAxisSwitch::Clock() {
  const Source s = source_ ? source_() : Source{};
  const QFileInfo info(QString::fromStdString(s.dataEpochsPath));
  const QString stamp = QString("%1|%2|%3|%4")
                            .arg(info.absoluteFilePath())
                            .arg(info.size())
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(s.epochCount);
  if (stamp != loadedStamp_) {
    loadedStamp_ = stamp;
    clock_ = EpochClock();
    if (s.epochCount > 0 && info.exists()) clock_.Load(s.dataEpochsPath, s.epochCount);
  }
  return clock_;
}

ChartTimeAxis TimeAxisSwitch::Effective() {
  if (mode_ == ChartTimeAxis::Epoch) return mode_;
  const EpochClock& clock = Clock();
  if (clock.Offers(mode_)) return mode_;
  // UTC of a log without leap seconds falls back to GPS time, not to epoch numbers.
  return clock.Offers(ChartTimeAxis::GpsTime) ? ChartTimeAxis::GpsTime : ChartTimeAxis::Epoch;
}

void TimeAxisSwitch::SetMode(ChartTimeAxis mode) {
  if (mode == mode_) return;
  mode_ = mode;
  if (remember) remember(mode);
  emit Changed();
}

}  // namespace vnx::app
