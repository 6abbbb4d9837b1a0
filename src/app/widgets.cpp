#include "app/widgets.h"

#include <QEventLoop>
#include <QTimer>

namespace vnx::app {

QPushButton* NamedButton(const char* name, const QString& caption) {
  auto* b = new QPushButton(caption);
  b->setObjectName(name);
  return b;
}

void Pause(bool enabled, int ms) {
  if (!enabled) return;
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vnx::app
