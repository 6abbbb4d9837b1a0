#include "app/viewer_command_line.h"

#include <QDir>
#include <QTimer>
#include <cstring>

#include "app/main_window.h"

namespace vnx::app {

const char kViewerUsage[] =
    "usage: vnx-viewer [LOG]\n"
    "\n"
    "The desktop viewer of GNSS receiver logs (.vnx). With LOG it opens and scans that log at\n"
    "start-up.\n"
    "\n"
    "  --help     this text\n"
    "  --version  print the version\n"
    "\n"
    "Qt's own options (-platform NAME, -style NAME, ...) are accepted as well.\n";

std::optional<std::string> ViewerInformationReply(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) break;
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
      return std::string(kViewerUsage);
    if (std::strcmp(argv[i], "--version") == 0) return std::string("vnx-viewer " VNX_VERSION "\n");
  }
  return std::nullopt;
}

ViewerArguments ParseViewerArguments(const QStringList& arguments, const QString& currentDir) {
  ViewerArguments result;
  bool optionsEnded = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && a.startsWith('-') && a.size() > 1) {
      result.error = "unknown option " + a;
      return result;
    } else if (result.log.isEmpty()) {
      result.log = QDir::cleanPath(QDir(currentDir).absoluteFilePath(a));
    } else {
      result.error = "only one log can be opened";
      return result;
    }
  }
  return result;
}

void OpenAtStartUp(MainWindow& window, const QString& log) {
  if (log.isEmpty()) return;
  QTimer::singleShot(0, &window, [&window, log] { window.OpenLog(log); });
}

}  // namespace vnx::app
