// vnx-viewer: the desktop viewer of GNSS receiver logs.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <cstdio>

#include "app/main_window.h"
#include "app/viewer_command_line.h"

namespace {

// The working directory is made under the start-up directory. Started from a desktop menu or a
// file manager the current directory may be one the user cannot write ("/"): the viewer then
// works in its cache directory instead of failing at its first step.
QString StartDirectory() {
  const QString current = QDir::currentPath();
  if (QFileInfo(current).isWritable()) return current;
  const QString cache =
      QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/vnx-viewer";
  if (QDir().mkpath(cache)) return cache;
  return current;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto reply = vnx::app::ViewerInformationReply(argc, argv)) {
    std::fputs(reply->c_str(), stdout);
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("VNX Viewer");
  QApplication::setApplicationVersion(VNX_VERSION);
  QGuiApplication::setDesktopFileName("vnx-viewer");
  QApplication::setWindowIcon(QIcon(":/icons/vnx-viewer.png"));

  const vnx::app::ViewerArguments args =
      vnx::app::ParseViewerArguments(QApplication::arguments(), QDir::currentPath());
  if (!args.error.isEmpty()) {
    std::fprintf(stderr, "vnx-viewer: %s\n%s", qPrintable(args.error), vnx::app::kViewerUsage);
    return 2;
  }
  vnx::app::MainWindow window(StartDirectory());
  window.show();
  vnx::app::OpenAtStartUp(window, args.log);
  return app.exec();
}
