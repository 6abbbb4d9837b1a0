#pragma once
#include <QLabel>
#include <array>

#include "app/view_panel.h"

namespace vnx::app {

// The GPS ionospheric parameters of the last "IO" message.
class IonoView : public ViewPanel {
  Q_OBJECT
 public:
  explicit IonoView(MainWindow& window);
  void Open() override;

 private:
  QLabel* tot_;
  QLabel* wn_;
  std::array<QLabel*, 4> alpha_{};
  std::array<QLabel*, 4> beta_{};
};

}  // namespace vnx::app
