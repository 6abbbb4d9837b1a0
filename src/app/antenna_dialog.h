#pragma once
// Asked at the first antenna-name frame of a scan: which antenna to keep, or stop scanning.
#include <QDialog>

#include "engine/ui/scan_ui.h"

class QLineEdit;
class QRadioButton;

namespace vnx::app {

class AntennaDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AntennaDialog(QWidget* parent);
  // Shows the dialog modally with the antennas found.
  AntennaChoice Ask(const QString& letters);
  // The answer of the last showing.
  AntennaChoice Answer() const { return answer_; }

  void AcceptAntenna();
  void CancelAntennaChoice();
  bool DialogMayClose() const { return mayClose_; }
  // Where the dialog's refusal of a bad name goes (a message box by default).
  std::function<void(const QString&)> messageSink;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void SelectOtherAntenna();

  QLineEdit* available_;
  QRadioButton* a_;
  QRadioButton* b_;
  QRadioButton* c_;
  QRadioButton* d_;
  QRadioButton* other_;
  QLineEdit* otherName_;
  bool mayClose_ = false;
  AntennaChoice answer_;
};

}  // namespace vnx::app
