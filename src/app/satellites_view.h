#pragma once
// Satellites per system above the elevation mask, or the elevation or azimuth track of one
// satellite, against the epoch number.
#include <array>

#include "app/view_panel.h"
#include "engine/views/satellites_series.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vnx::app {

class Chart;
class ItemRadioGroup;
class PieGauge;

// Up and down buttons bound to the mask edit, within [min, max].
class MaskUpDown : public QWidget {
  Q_OBJECT
 public:
  MaskUpDown(QLineEdit& edit, int min, int max);
  void Step(int delta);

 private:
  QLineEdit& edit_;
  int min_, max_;
};

class SatellitesView : public ViewPanel {
  Q_OBJECT
 public:
  explicit SatellitesView(MainWindow& window);
  void Open() override;

  // The user's actions.
  void ModeClick(int item);  // RGSats: 0 "All", 1 "Elev", 2 "Azim"
  void SatelliteClick(SatSystem system, int item);
  void AcceptClick();  // BBElMask
  void CloseClick();   // BBCloseSat

  SatSystem SelectedSystem() const { return selectedSystem_; }
  ItemRadioGroup* Group(SatSystem s) const {
    return satGroups_[static_cast<size_t>(SystemIndex(s))];
  }

 private:
  QWidget* BuildChartArea();
  QWidget* BuildControls();
  QWidget* BuildMaskPanel();
  void RunCountPass();
  void RunTrack();
  void ShowChart(const SatelliteChart& chart);
  void Relabel();
  void SetSatelliteGroupsEnabled(bool enabled);
  void ShowMask();

  Chart* chart_;
  ItemRadioGroup* mode_;
  std::array<ItemRadioGroup*, kSatSystemCount> satGroups_{};
  QWidget* satPanel_;
  QWidget* maskPanel_;
  QLabel* uncounted_;  // the satellites the count chart cannot place
  QLineEdit* maskEdit_;
  MaskUpDown* maskUpDown_;
  QPushButton* accept_;
  PieGauge* gauge_;
  QPushButton* calculator_;
  QPushButton* close_;
  SatSystem selectedSystem_ = SatSystem::Gps;
};

}  // namespace vnx::app
