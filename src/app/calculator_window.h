#pragma once
// The epoch-number to time calculator: a small window, always on top, in which a slider or
// step buttons pick an epoch and its date and time are shown.
#include <QWidget>

class QLineEdit;
class QSlider;
class QToolButton;

namespace vnx::app {

class MainWindow;
class PieGauge;

class CalculatorWindow : public QWidget {
  Q_OBJECT
 public:
  explicit CalculatorWindow(MainWindow& window);
  void Open();
  // A new file or scan: the shown epoch belongs to the old one.
  void ResetForScan();
  void Next();
  void Previous();
  int CurrentEpoch() const { return current_; }
  int SliderMaximum() const;
  void SetSliderPosition(int position);

 private:
  void Display();

  MainWindow& window_;
  QLineEdit* number_;
  QSlider* slider_;
  QLineEdit* dateTime_;
  PieGauge* gauge_;
  int current_ = 1;
};

}  // namespace vnx::app
