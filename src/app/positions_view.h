#pragma once
// The receiver's own solution against the epoch number: a coordinate, an RMS or a sigma of the
// position or of the velocity, split by solution type; or the dilution of precision values.
#include <array>

#include "app/view_panel.h"
#include "engine/views/positions_series.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace vnx::app {

class Chart;
class ItemRadioGroup;

class PositionsView : public ViewPanel {
  Q_OBJECT
 public:
  explicit PositionsView(MainWindow& window);
  void Open() override;

  // The user's actions.
  void QuantityClick(int item);  // RGXYZ; item 6 is "DOP"
  void PosVelClick(int item);    // RGPosVel
  void SolutionTypeClick();      // any CBSolTyp box
  void DopClick();               // any DOP box

 private:
  QWidget* BuildChoices();
  QWidget* BuildDopPanel();
  void ShowSolutionControls(bool solutions);
  void DrawSolutions();
  void DrawDops();

  ItemRadioGroup* quantity_;
  ItemRadioGroup* posVel_;
  QWidget* posVelPanel_;
  QGroupBox* solTypes_;
  std::array<QCheckBox*, kSolutionTypeCount> typeBoxes_{};
  Chart* chart_;
  QWidget* dopPanel_;
  Chart* dopChart_;
  QGroupBox* dopBoxes_;
  std::array<QCheckBox*, kDopCount> dopChecks_{};
  QPushButton* close_;
};

}  // namespace vnx::app
