#pragma once
// File > "Recent logs": the last logs opened, newest first; a log that no longer exists is
// shown greyed. The list is read again each time the menu opens.
#include <QMenu>
#include <functional>

namespace vnx::app {

class AppSettings;

class RecentLogsMenu : public QMenu {
  Q_OBJECT
 public:
  RecentLogsMenu(AppSettings& settings, std::function<void(const QString&)> open, QWidget* parent);
  // Rebuilds the entries from the settings.
  void Refresh();
  // The paths of the entries, in menu order.
  QStringList Paths() const;

 private:
  AppSettings& settings_;
  std::function<void(const QString&)> open_;
};

}  // namespace vnx::app
