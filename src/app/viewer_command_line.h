#pragma once
// The command line of vnx-viewer: [--help] [--version] [LOG]. Qt's own options (-platform,
// -style, ...) have been taken out by QApplication before the rest is read.
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace vnx::app {

class MainWindow;

extern const char kViewerUsage[];

// What --help or --version print (to standard output, exit status 0); nothing for any other
// command line. Answered before QApplication starts, so neither needs a display.
std::optional<std::string> ViewerInformationReply(int argc, char** argv);

struct ViewerArguments {
  QString log;    // the log to open and scan at start-up, absolute; empty for none
  QString error;  // why the command line was refused; empty when it was not
};

// `arguments` as QCoreApplication::arguments() gives them (the program first); relative log
// paths are taken from `currentDir`.
ViewerArguments ParseViewerArguments(const QStringList& arguments, const QString& currentDir);

// Opens and scans `log` as soon as the event loop runs, so the window is on screen while it
// is scanned and a message about the log has a window to stand on. Nothing for an empty `log`.
void OpenAtStartUp(MainWindow& window, const QString& log);

}  // namespace vnx::app
