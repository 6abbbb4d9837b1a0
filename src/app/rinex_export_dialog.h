#pragma once
// File > "Export RINEX…": the dialog that chooses the version, the files, the systems and the
// elevation mask of a RINEX export of the scanned log. The export itself runs in the main
// window (MainWindow::RunRinexExport, defined beside the dialog): progress in the gauge, the
// Stop button, the result in the status bar, a failure in a message box.
#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "engine/rinex/rinex_export.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vnx::app {

class RinexExportDialog : public QDialog {
  Q_OBJECT
 public:
  // What the scan has of each system (by SystemIndex): systems without satellites and
  // ephemerides cannot be chosen.
  struct SystemCounts {
    std::array<int, kSatSystemCount> satellites{};
    std::array<int64_t, kSatSystemCount> ephemerides{};
  };

  RinexExportDialog(const rinex::ExportInput& in, const SystemCounts& counts, QWidget* parent);

  // The choices as export options (the paths as typed; progress and stop are the window's).
  rinex::ExportOptions Options() const;
  // The files the export will write with the current choices.
  std::vector<rinex::PlannedFile> Files() const;

  // Asked before files that exist are replaced; without it the dialog asks with a message box.
  std::function<bool(const QString&)> confirmSink;

  // Export: asks before replacing existing files, then accepts.
  void Export();

 private:
  void VersionChanged();
  void Update();
  void Browse(QLineEdit* edit, const QString& title);
  rinex::Version Version() const;
  QString DefaultObs(rinex::Version v) const;
  QString DefaultNav(rinex::Version v) const;

  rinex::ExportInput in_;
  int firstYear_;
  rinex::Version shownVersion_ = rinex::Version::V304;
  QRadioButton* v304_;
  QRadioButton* v211_;
  QCheckBox* writeObs_;
  QLineEdit* obsPath_;
  QCheckBox* writeNav_;
  QLineEdit* navPath_;
  QLabel* navNote_;
  std::array<QCheckBox*, kSatSystemCount> systems_{};
  QDoubleSpinBox* mask_;
  QLabel* files_;
  QPushButton* export_;
};

}  // namespace vnx::app
