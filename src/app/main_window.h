#pragma once
// The main window: the input and scan commands, the scan panel with its progress gauge and
// indicator labels, Stop, the view area with every view panel, help, About and exit.
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "engine/session.h"
#include "engine/views/epoch_calculator.h"

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace vnx::rinex {
struct ExportOptions;
struct ExportResult;
}  // namespace vnx::rinex

namespace vnx::app {

class AntennaDialog;
class AppSettings;
class CalculatorWindow;
class HelpWindow;
class PieGauge;
class RecentLogsMenu;
class TimeAxisSwitch;
class ViewPanel;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `startDir`: where the working directory is made (the current directory at start-up).
  explicit MainWindow(const QString& startDir, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Seams for tests and for the window's own dialogs: a modal message box, a Yes/No question,
  // the open-file dialog, the antenna question, the pause at the end of a scan.
  std::function<void(const QString&)> messageSink;
  std::function<bool(const QString&)> confirmSink;
  std::function<QString()> fileChooser;
  std::function<AntennaChoice(const std::string&)> antennaAsker;
  bool pauses = true;

  Session& session() { return *session_; }
  // What the last scan left, read-only; changes go through session().
  ScanResult scan() const { return session_->Result(); }
  const QString& startDir() const { return startDir_; }
  const QString& inputFileName() const { return inputFileName_; }
  bool scanning() const { return scanning_; }
  EpochTimeTable& epochTimes() { return epochTimes_; }

  // The commands.
  void ChooseFileByButton();
  void ChooseFileFromMenu();
  void StartScanByButton();
  void StartScanFromMenu();
  void StopScan();
  void ShowErrorList();
  void OpenHelp(const QString& page);
  void OpenAbout();
  void OpenCalculator();
  // File > "Export RINEX…" (rinex_export_dialog.cpp): the dialog, then the export of the
  // scanned log, run like a scan (gauge, Stop, the result in the status bar).
  void OpenRinexExport();
  rinex::ExportResult RunRinexExport(rinex::ExportOptions options);
  // Opens `path` and scans it: the log named on the command line, a dropped log, File >
  // "Recent logs". Refused with a status-bar note while a scan runs; a file that cannot be read
  // is named with the reason in a message and the window stays as it was.
  bool OpenLog(const QString& path);
  AppSettings& settings() { return *settings_; }
  RecentLogsMenu* recentLogsMenu() const { return recentLogs_; }

  // The view area.
  void AddView(const QString& menuItem, ViewPanel* panel);
  void HideViews();
  void ShowInFront(QWidget* panel);
  void ShowStartPanel();
  QWidget* startPanel() const;
  QWidget* frontPanel() const;
  void FocusInput();

  void ShowMessage(const QString& text);
  bool Confirm(const QString& text);
  QAction* action(const QString& objectName) const;
  void SetStatus(const QString& text);
  void SetGauge(int percent);
  int shownErrorCount() const { return shownErrorCount_; }
  // What the Ionosphere view says when the scanned file has no ionosphere parameters.
  static constexpr const char* kNoIono = "No ionosphere parameters in this file";
  // Clears the texts of the Summary.
  std::function<void()> clearSummary;
  // The post-scan steps the Summary and Times views add (analysis, summary build).
  std::function<bool()> runEpochAnalysis;
  std::function<void()> buildAndShowSummary;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  class WindowUi;

  void BuildMenus();
  void AddTimeAxisMenu(QMenu& menu);
  QWidget* BuildStartPanel();
  QWidget* BuildScanPanel();
  QWidget* BuildErrorPanel();
  // `path` given: that file is taken without asking.
  void ChooseFile(bool fromMenu, const QString& path = {});
  void ResetScanPanel();
  void ResetScanState();
  bool RunScan();
  bool OpenAndScan();
  void AfterScan();
  void SetViewItemsEnabled(bool enabled);
  void EnableView(const char* item, bool enabled, const QString& whyNot);
  void LightIndicator(Indicator which);
  void RestoreRememberedState();
  void RememberOpenedLog(const QString& path);
  void BeforeOpeningView(const QString& menuItem);
  void AfterFirstScan();

 public:
  QString HelpPageOfFocus() const;

 private:
  QString startDir_;
  QString inputFileName_;
  std::unique_ptr<WindowUi> ui_;
  std::unique_ptr<Session> session_;
  EpochTimeTable epochTimes_;
  bool scanning_ = false;
  bool closeAfterScan_ = false;
  int shownErrorCount_ = 0;

  QStackedWidget* viewer_ = nullptr;
  TimeAxisSwitch* timeAxis_ = nullptr;
  QWidget* startPanel_ = nullptr;
  QLineEdit* file_ = nullptr;
  QPushButton* input_ = nullptr;
  QPushButton* scan_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* closeSummary_ = nullptr;
  PieGauge* gauge_ = nullptr;
  QLabel* fileSize_ = nullptr;
  QLabel* date_ = nullptr;
  QLabel* time_ = nullptr;
  std::array<QLabel*, kIndicatorCount> indicators_{};
  QWidget* errorPanel_ = nullptr;
  QListWidget* errorList_ = nullptr;
  std::map<QString, QAction*> actions_;
  std::vector<ViewPanel*> views_;
  AntennaDialog* antennaDialog_ = nullptr;
  CalculatorWindow* calculator_ = nullptr;
  QPointer<HelpWindow> help_;
  std::unique_ptr<AppSettings> settings_;
  RecentLogsMenu* recentLogs_ = nullptr;
  bool firstScanDone_ = false;
};

}  // namespace vnx::app
