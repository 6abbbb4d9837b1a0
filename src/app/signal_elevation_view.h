#pragma once
// Signal strength against elevation: the strength of a chosen signal of every satellite of the
// chosen systems against its elevation, with the mean of each 5-degree bin drawn as a line, in
// the systems' colours.
#include <array>

#include "app/view_panel.h"
#include "engine/gnss/satellite_system.h"

class QCheckBox;
class QComboBox;

namespace vnx::app {

class Chart;

class SignalElevationView : public ViewPanel {
  Q_OBJECT
 public:
  explicit SignalElevationView(MainWindow& window);
  void Open() override;
  void Draw();
  Chart* ChartWidget() const { return chart_; }

 private:
  Chart* chart_;
  std::array<QCheckBox*, kSatSystemCount> systems_{};
  QComboBox* signal_;
};

}  // namespace vnx::app
