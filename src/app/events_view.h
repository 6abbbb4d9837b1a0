#pragma once
// The time between consecutive external events of inputs A and B, and the PPS time offsets.
#include "app/view_panel.h"
#include "engine/views/events_series.h"

class QCheckBox;
class QPushButton;

namespace vnx::app {

class Chart;

class EventsView : public ViewPanel {
  Q_OBJECT
 public:
  explicit EventsView(MainWindow& window);
  void Open() override;

  void DrawIntervals();  // what a click on CBXA or CBXB does
  void DrawOffsets();    // what a click on CBZA or CBZB does

 private:
  QWidget* BuildChartRow(const char* panel, QCheckBox* a, QCheckBox* b, Chart* chart);
  void Show(Chart& chart, const EventChart& result);

  QCheckBox *xa_, *xb_, *za_, *zb_;
  Chart* intervals_;
  Chart* offsets_;
  QPushButton* close_;
};

}  // namespace vnx::app
