// vnx-viewer: the desktop viewer of GNSS receiver logs.
#include <QApplication>
#include <QDir>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VNX Viewer");
  vnx::app::MainWindow window(QDir::currentPath());
  window.show();
  return app.exec();
}
