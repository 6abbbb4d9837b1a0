#pragma once
// The epochs at which the site information changed, and the static/kinematic band.
#include "app/view_panel.h"

class QTableWidget;
class QPushButton;

namespace vnx::app {

class Chart;

class OccupationsView : public ViewPanel {
  Q_OBJECT
 public:
  explicit OccupationsView(MainWindow& window);
  void Open() override;
  void ResetForScan() override;

 private:
  bool FillList();
  void DrawBand();

  QTableWidget* list_;  // one row per change, one column per figure
  Chart* chart_;
  QPushButton* close_;
};

}  // namespace vnx::app
