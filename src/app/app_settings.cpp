#include "app/app_settings.h"

#include <QFileInfo>

namespace vnx::app {

AppSettings::AppSettings() : store_("vnx-viewer", "vnx-viewer") {}

QStringList WithRecentFirst(QStringList list, const QString& path, int limit) {
  list.removeAll(path);
  list.prepend(path);
  while (list.size() > limit) list.removeLast();
  return list;
}

QStringList AppSettings::RecentLogs() const {
  QStringList logs = store_.value(settings_key::kRecentLogs).toStringList();
  logs.removeAll(QString());
  while (logs.size() > kMaxRecentLogs) logs.removeLast();
  return logs;
}

void AppSettings::AddRecentLog(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  store_.setValue(settings_key::kRecentLogs,
                  WithRecentFirst(RecentLogs(), absolute, kMaxRecentLogs));
}

void AppSettings::ClearRecentLogs() {
  store_.remove(settings_key::kRecentLogs);
}

QString AppSettings::LastDirectory() const {
  return store_.value(settings_key::kLastDirectory).toString();
}

void AppSettings::SetLastDirectory(const QString& directory) {
  store_.setValue(settings_key::kLastDirectory, directory);
}

QByteArray AppSettings::WindowGeometry() const {
  return store_.value(settings_key::kWindowGeometry).toByteArray();
}

void AppSettings::SetWindowGeometry(const QByteArray& geometry) {
  store_.setValue(settings_key::kWindowGeometry, geometry);
}

QString AppSettings::OpenView() const {
  return store_.value(settings_key::kOpenView).toString();
}

void AppSettings::SetOpenView(const QString& menuItem) {
  store_.setValue(settings_key::kOpenView, menuItem);
}

std::optional<int> AppSettings::ElevationMask() const {
  bool ok = false;
  const int degrees = store_.value(settings_key::kElevationMask).toInt(&ok);
  // A hand-edited file may hold anything: only a mask the Satellites view could set counts.
  if (!ok || degrees < 0 || degrees > 90) return std::nullopt;
  return degrees;
}

void AppSettings::SetElevationMask(int degrees) {
  store_.setValue(settings_key::kElevationMask, degrees);
}

QString AppSettings::ChartTimeAxis(const QString& fallback) const {
  return store_.value(settings_key::kChartTimeAxis, fallback).toString();
}

void AppSettings::SetChartTimeAxis(const QString& choice) {
  store_.setValue(settings_key::kChartTimeAxis, choice);
}

}  // namespace vnx::app
