#include "app/recent_logs.h"

#include <QFileInfo>

#include "app/app_settings.h"

namespace vnx::app {

RecentLogsMenu::RecentLogsMenu(AppSettings& settings, std::function<void(const QString&)> open,
                               QWidget* parent)
    : QMenu("Recent logs", parent), settings_(settings), open_(std::move(open)) {
  setObjectName("RecentLogsMenu");
  menuAction()->setObjectName("Recentlogs1");
  connect(this, &QMenu::aboutToShow, this, &RecentLogsMenu::Refresh);
  Refresh();
}

void RecentLogsMenu::Refresh() {
  clear();
  const QStringList logs = settings_.RecentLogs();
  for (int i = 0; i < logs.size(); ++i) {
    const QString& path = logs[i];
    // The accelerator digit of the first nine; '&' in a path must not become one.
    QString caption = QString(path).replace('&', "&&");
    if (i < 9) caption = QString("&%1  %2").arg(i + 1).arg(caption);
    QAction* a = addAction(caption);
    a->setData(path);
    const QFileInfo info(path);
    if (!info.isFile()) {
      a->setEnabled(false);
      a->setToolTip("The log no longer exists");
    }
    connect(a, &QAction::triggered, this, [this, path] { open_(path); });
  }
  if (!logs.isEmpty()) {
    addSeparator();
    QAction* clearList = addAction("Clear recent logs");
    clearList->setObjectName("ClearRecentLogs");
    connect(clearList, &QAction::triggered, this, [this] {
      settings_.ClearRecentLogs();
      Refresh();
    });
  }
  menuAction()->setEnabled(!logs.isEmpty());
}

QStringList RecentLogsMenu::Paths() const {
  QStringList paths;
  for (const QAction* a : actions())
    if (a->data().isValid()) paths << a->data().toString();
  return paths;
}

}  // namespace vnx::app
