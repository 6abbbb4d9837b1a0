#pragma once
// One observable (or the smoothing correction of one pseudorange) of one satellite against the
// epoch number, and the dual-frequency combinations of that satellite in the same chart.
#include <array>

#include "app/view_panel.h"
#include "engine/views/combinations.h"
#include "engine/views/measurements_series.h"

class QCheckBox;
class QFrame;
class QPushButton;

namespace vnx::app {

class Chart;
class ItemRadioGroup;
class PieGauge;
class ScanQuality;

class MeasurementsView : public ViewPanel {
  Q_OBJECT
 public:
  explicit MeasurementsView(MainWindow& window);
  void Open() override;
  void ResetForScan() override;

  // The user's actions.
  void SatelliteClick(SatSystem system, int item);
  void MeasursClick(int item);
  void SmoothClick(int item);
  void MeasSmoothClick(int item);
  void ComObsClick();       // "Combinations"
  void OkComObsClick();     // "Ok" of the combinations panel
  void CloseComObsClick();  // "Cancel"

  // Where "Mark cycle slips" takes the slips from: the scan's quality analysis.
  void SetSlipSource(ScanQuality* quality);

  bool MeasurementMode() const { return measurementMode_; }
  SatSystem SelectedSystem() const { return selectedSystem_; }

 private:
  QWidget* BuildControls();
  QWidget* BuildSatelliteGroups();
  QFrame* BuildCombinationsPanel();
  ItemRadioGroup* Group(SatSystem s) const {
    return satGroups_[static_cast<size_t>(SystemIndex(s))];
  }
  SelectedSatellite Selected() const;
  void RelabelSatellites();
  void DrawObservable();
  void DrawSmoothing();
  void DrawCombination();
  void ShowChart(const MeasurementChart& chart);
  void FinishGauge(bool pauseFirst);
  // Marks the slips of the shown satellite on a phase or combination chart, when asked to.
  void MarkSlips();

  Chart* chart_;
  ItemRadioGroup* measurs_;
  ItemRadioGroup* smooth_;
  ItemRadioGroup* measSmooth_;
  std::array<ItemRadioGroup*, 4> satGroups_{};
  PieGauge* gauge_;
  QPushButton* close_;
  QFrame* combPanel_;
  ItemRadioGroup* comObs_;
  QCheckBox* markSlips_;
  ScanQuality* quality_ = nullptr;
  bool measurementMode_ = true;
  SatSystem selectedSystem_ = SatSystem::Gps;
};

}  // namespace vnx::app
