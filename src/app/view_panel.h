#pragma once
// A view of the scan's results: one panel in the main window's view area, opened from its
// menu item and closed with its own button.
#include <QString>
#include <QWidget>

namespace vnx::app {

class MainWindow;

class ViewPanel : public QWidget {
  Q_OBJECT
 public:
  ViewPanel(MainWindow& window, const QString& objectName);
  // What the view's menu item does.
  virtual void Open() = 0;
  // Called when a file is chosen or a scan starts: forget what the last scan showed.
  virtual void ResetForScan() {}

 protected:
  // Hide this panel, show the start panel, focus the input button.
  void CloseView();
  MainWindow& window;
};

}  // namespace vnx::app
