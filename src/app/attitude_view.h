#pragma once
// Attitude angles ("AR") and the baseline messages ("mr", "MR") against the epoch number, with
// the time of day of each message, its validity and the fixed/float state of a baseline.
#include "app/view_panel.h"
#include "engine/views/attitude_series.h"

class QGroupBox;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace vnx::app {

class Chart;

class AttitudeView : public ViewPanel {
  Q_OBJECT
 public:
  explicit AttitudeView(MainWindow& window);
  void Open() override;
  void ResetForScan() override;

  // The user's choices.
  void MessageChosen(AttitudeMessage m);
  void BaselineChartChosen(BaselineChart c);
  void BaselineChosen(int baseline);
  void Draw();

 private:
  QWidget* BuildChoices();
  QWidget* BuildCharts();
  QRadioButton* Radio(const char* name, const char* caption, bool checked = false);
  // Checks the radio button of `c` and brings its chart to the front.
  void ShowBaselineChart(BaselineChart c);
  AttitudeChoice Choice() const;
  void ClearCharts();

  QRadioButton *ar_, *mr73_, *mr37_;
  QGroupBox* gbmr_;
  QRadioButton *bls_, *q_, *rms_;
  QRadioButton* ms_[3];
  Chart *timeOfDay_, *flag_, *solTip_, *prh_, *qChart_, *blsChart_, *rmsChart_;
  QWidget *par_, *pmr_;
  QStackedWidget* mrCharts_;
  QPushButton* close_;
};

}  // namespace vnx::app
