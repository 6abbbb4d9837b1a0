// The main window as the window benchmarks drive it: its working directory under the system's
// temporary directory, messages printed instead of shown, questions answered yes, no pauses,
// and `log` the file the file button chooses.
#pragma once

#include <QDir>
#include <QString>
#include <cstdio>

#include "app/main_window.h"

namespace vnx::bench {

inline QString BenchWorkDir(const char* name) {
  const QString work = QDir::tempPath() + "/" + name;
  QDir().mkpath(work);
  return work;
}

inline void PrepareBenchWindow(app::MainWindow& w, const QString& log) {
  w.messageSink = [](const QString& m) { std::fprintf(stderr, "message: %s\n", qPrintable(m)); };
  w.confirmSink = [](const QString&) { return true; };
  w.fileChooser = [log] { return log; };
  w.pauses = false;
}

}  // namespace vnx::bench
