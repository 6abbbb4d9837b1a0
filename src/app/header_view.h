#pragma once
#include <QLabel>

#include "app/view_panel.h"

namespace vnx::app {

// The receiver description collected during the scan and the antenna of the first epoch.
class HeaderView : public ViewPanel {
  Q_OBJECT
 public:
  explicit HeaderView(MainWindow& window);
  void Open() override;

 private:
  QLabel *receiver_, *recId_, *recVers_, *recBoard_, *antType_, *antNum_, *antH_;
};

}  // namespace vnx::app
