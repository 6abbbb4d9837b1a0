#pragma once
// The quality report of the scanned log: its summary, the system and satellite tables
// (sortable), and its charts (skyplot coloured by MP1, multipath and signal strength against
// elevation, satellite availability), live with the elevation mask and the receiver position;
// "Save report..." writes the HTML or JSON document vnx-check writes.
#include <QString>
#include <functional>

#include "app/view_panel.h"
#include "engine/quality/quality_analysis.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSvgWidget;
class QTableView;
class QTabWidget;

namespace vnx::app {

class Chart;
class QualityTableModel;
class ScanQuality;

class QualityView : public ViewPanel {
  Q_OBJECT
 public:
  QualityView(MainWindow& window, ScanQuality& quality);
  void Open() override;
  void ResetForScan() override;

  // The settings as the controls give them; none while the position field holds no X,Y,Z.
  std::optional<QualityOptions> Settings() const;
  // Writes the report shown: JSON for a ".json" path, HTML otherwise. False when it could not
  // be written (the window says why).
  bool SaveReport(const QString& path);
  // The save dialog; tests put their own path here. Empty: cancelled.
  std::function<QString(const QString& suggested)> saveFileChooser;

 private:
  QWidget* BuildSettings();
  QWidget* BuildTables();
  QWidget* BuildCharts();
  void SettingsChanged();
  void ShowReport();
  void ShowSummary(const QualityReport& r);
  void DrawMultipath(const QualityReport& r);
  void DrawSignalStrength(const QualityReport& r);
  void DrawAvailability(const QualityReport& r);
  void DrawSkyplot(const QualityReport& r);
  void SaveByDialog();

  ScanQuality& quality_;
  QDoubleSpinBox* mask_;
  QLineEdit* position_;
  QLabel* status_;
  QPushButton* save_;
  QPushButton* close_;
  QLabel* summary_;
  QualityTableModel* systems_;
  QualityTableModel* satellites_;
  QTableView* systemTable_;
  QTableView* satelliteTable_;
  QTabWidget* charts_;
  QSvgWidget* skyplot_;
  Chart* multipath_;
  Chart* availability_;
  Chart* snr_;
};

}  // namespace vnx::app
