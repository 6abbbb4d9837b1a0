#pragma once
#include <QLabel>

#include "app/view_panel.h"
#include "engine/views/epoch_analysis.h"

class QListWidget;

namespace vnx::app {

class Chart;

// The epochs list with its gap and reversal markers, and the time step between epochs.
class TimesView : public ViewPanel {
  Q_OBJECT
 public:
  explicit TimesView(MainWindow& window);
  void Open() override;
  void ResetForScan() override;
  // The post-scan analysis: fills the list and the chart; false when it failed.
  bool RunAnalysis();
  const EpochAnalysis& Analysis() const { return analysis_; }

 private:
  EpochAnalysis analysis_;
  QLabel *epochs_, *start_, *finish_, *interval_, *gaps_;
  QListWidget* list_;
  Chart* chart_;
};

}  // namespace vnx::app
