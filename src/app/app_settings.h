#pragma once
// What the viewer remembers between runs: recent logs, the file dialog's directory, the window's
// geometry and the view in front at exit, the elevation mask the user accepted and the charts'
// time-axis choice. Stored with QSettings under organisation and application "vnx-viewer"
// (~/.config/vnx-viewer/vnx-viewer.conf on Linux).
#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

namespace vnx::app {

// The keys, for anything that reads or writes the store directly.
namespace settings_key {
inline constexpr char kRecentLogs[] = "files/recentLogs";
inline constexpr char kLastDirectory[] = "files/lastDirectory";
inline constexpr char kWindowGeometry[] = "window/geometry";
inline constexpr char kOpenView[] = "window/openView";
inline constexpr char kElevationMask[] = "satellites/elevationMask";
inline constexpr char kChartTimeAxis[] = "charts/timeAxis";
}  // namespace settings_key

class AppSettings {
 public:
  static constexpr int kMaxRecentLogs = 10;

  AppSettings();

  // Newest first, absolute paths, at most kMaxRecentLogs.
  QStringList RecentLogs() const;
  // Puts `path` first (once) and forgets the oldest beyond kMaxRecentLogs.
  void AddRecentLog(const QString& path);
  void ClearRecentLogs();

  // The directory the open-file dialog starts in; empty until a log was opened.
  QString LastDirectory() const;
  void SetLastDirectory(const QString& directory);

  QByteArray WindowGeometry() const;
  void SetWindowGeometry(const QByteArray& geometry);

  // The menu item of the view in front when the window closed; empty for the start panel.
  QString OpenView() const;
  void SetOpenView(const QString& menuItem);

  // The elevation mask (degrees) last accepted in the Satellites view; none until one was.
  std::optional<int> ElevationMask() const;
  void SetElevationMask(int degrees);

  // The charts' time-axis choice, by name; `fallback` until the user made one.
  QString ChartTimeAxis(const QString& fallback = {}) const;
  void SetChartTimeAxis(const QString& choice);

 private:
  mutable QSettings store_;
};

// `list` with `path` moved or added to the front, cut to `limit` entries.
QStringList WithRecentFirst(QStringList list, const QString& path, int limit);

}  // namespace vnx::app
