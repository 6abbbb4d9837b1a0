#include "app/view_panel.h"

#include "app/main_window.h"

namespace vnx::app {

ViewPanel::ViewPanel(MainWindow& w, const QString& objectName) : window(w) {
  setObjectName(objectName);
}

void ViewPanel::CloseView() {
  window.ShowStartPanel();
  window.FocusInput();
}

}  // namespace vnx::app
