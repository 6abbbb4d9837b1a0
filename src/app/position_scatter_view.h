#pragma once
// Position scatter and deviations: the receiver's positions as east, north and up deviations
// from a reference against time, and the horizontal scatter with its 2DRMS circle and figures.
// The reference is the mean position unless one is typed in as XYZ or latitude, longitude and
// height (WGS-84).
#include "app/view_panel.h"
#include "engine/views/position_deviations.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vnx::app {

class Chart;

class PositionScatterView : public ViewPanel {
  Q_OBJECT
 public:
  explicit PositionScatterView(MainWindow& window);
  void Open() override;
  // Reads the reference choice and draws; false (and a message) for a reference that does not
  // parse.
  bool Draw();
  Chart* Deviations() const { return deviations_; }
  Chart* Scatter() const { return scatter_; }
  QString Figures() const;

 private:
  QWidget* BuildControls();

  Chart* deviations_;
  Chart* scatter_;
  QComboBox* reference_;
  QLineEdit* typed_;
  QLabel* figures_;
};

}  // namespace vnx::app
