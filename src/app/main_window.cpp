#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <iterator>
#include <optional>

#include "app/about_dialog.h"
#include "app/antenna_dialog.h"
#include "app/app_settings.h"
#include "app/calculator_window.h"
#include "app/chart_time_switch.h"
#include "app/help_window.h"
#include "app/jpeg_image.h"
#include "app/pie_gauge.h"
#include "app/recent_logs.h"
#include "app/view_panel.h"
#include "app/view_registry.h"
#include "app/widgets.h"
#include "engine/stream/working_files.h"
#include "engine/views/error_list.h"

// The pictures and the manual live in the library's resources.
static void InitResources() {
  Q_INIT_RESOURCE(resources);
}

namespace vnx::app {

namespace {

constexpr const char* kVersion = VNX_VERSION;
// The tool collection the viewer belongs to, at the end of the window caption.
constexpr const char* kCollection = "VNX Receiver Tools";
constexpr const char* kLime = "#00ff00";
constexpr const char* kWhite = "#ffffff";
constexpr const char* kNoEpochs = "No epochs in this file";

struct IndicatorSpec {
  Indicator which;
  const char* name;
  const char* caption = nullptr;  // the observable's own caption when not given
};

using O = Observable;
// In the order of the panel.
constexpr IndicatorSpec kIndicators[] = {
    {IndicatorOf(O::C1), "STC1is"},
    {IndicatorOf(O::C2), "STC2is"},
    {IndicatorOf(O::C5), "STC5is"},
    {IndicatorOf(O::P1), "STP1is"},
    {IndicatorOf(O::P2), "STP2is"},
    {IndicatorOf(O::L1_CA), "STL1_CAis"},
    {IndicatorOf(O::L1), "STL1is"},
    {IndicatorOf(O::L2_CA), "STL2_CAis"},
    {IndicatorOf(O::L2), "STL2is"},
    {IndicatorOf(O::L5), "STL5is"},
    {IndicatorOf(O::D1_CA), "STD1_CAis"},
    {IndicatorOf(O::D1), "STD1is"},
    {IndicatorOf(O::D2_CA), "STD2_CAis"},
    {IndicatorOf(O::D2), "STD2is"},
    {IndicatorOf(O::D5), "STD5is"},
    {IndicatorOf(O::S1_CA), "STS1_CAis"},
    {IndicatorOf(O::S1), "STS1is"},
    {IndicatorOf(O::S2_CA), "STS2_CAis"},
    {IndicatorOf(O::S2), "STS2is"},
    {IndicatorOf(O::S5), "STS5is"},
    {Indicator::Gps, "STgpsis", "GPS"},
    {Indicator::Glo, "STglois", "GLO"},
    {Indicator::Sbas, "STgeois", "SBAS"},
    {Indicator::Gal, "STgalis", "GAL"},
    {Indicator::EphGps, "STEphgpsis", "GPS"},
    {Indicator::EphGlo, "STEphglois", "GLO"},
    {Indicator::EphSbas, "STEphgeois", "SBAS"},
    {Indicator::EphGal, "STEphgalis", "GAL"},
    {Indicator::ExternalEvents, "STEEis", "External Events"},
};

const char* const kViewItems[] = {
    "TimesEpochs1",  "Header1",         "Satellites1",      "Positions1",      "Ephemerides1",
    "Measurements1", "Ionoparameters1", "Externalevents1",  "Occupations1",    "Attitude1",
    "Quality1",      "Skyplot1",        "SignalElevation1", "PositionScatter1"};

void SetLit(QLabel* label, bool lit) {
  label->setStyleSheet(QString("QLabel { background-color: %1; color: black; padding: 1px 4px; }")
                           .arg(lit ? kLime : kWhite));
  label->setProperty("lit", lit);
}

// The start panel: the star-field picture stretched behind the scan panel.
class StarPanel : public QWidget {
 public:
  StarPanel() {
    setObjectName("PView");
    QFile f(":/starfield.jpg");
    if (f.open(QIODevice::ReadOnly)) picture_ = DecodeJpeg(f.readAll());
    setProperty("helpPage", "index.html");
  }
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (picture_.isNull())
      p.fillRect(rect(), Qt::black);
    else
      p.drawImage(rect(), picture_);
  }

 private:
  QImage picture_;
};

}  // namespace

// What the scan shows and asks goes to the window.
class MainWindow::WindowUi : public ScanUi {
 public:
  explicit WindowUi(MainWindow& w) : w_(w) {}
  void LightIndicator(Indicator which) override { w_.LightIndicator(which); }
  void SetDateLabel(const std::string& text) override {
    w_.date_->setText(QString::fromStdString(text));
  }
  void SetTimeLabel(const std::string& text) override {
    w_.time_->setText(QString::fromStdString(text));
  }
  void SetFileSizeText(const std::string& text) override {
    w_.fileSize_->setText(QString::fromStdString(text));
  }
  void SetProgress(int percent) override { w_.gauge_->SetValue(percent); }
  void ProcessEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
  // The gauge is painted now, not at the next checkpoint; only a changed value costs a paint.
  void Refresh() override {
    if (w_.gauge_->Value() == painted_) return;
    painted_ = w_.gauge_->Value();
    w_.gauge_->repaint();
  }
  void Pause(int ms) override { app::Pause(w_.pauses, ms); }
  AntennaChoice AskAntenna(const std::string& letters) override {
    if (w_.antennaAsker) return w_.antennaAsker(letters);
    return w_.antennaDialog_->Ask(QString::fromStdString(letters));
  }
  void ShowMessage(const std::string& text) override {
    w_.ShowMessage(QString::fromStdString(text));
  }

 private:
  MainWindow& w_;
  int painted_ = -1;
};

MainWindow::MainWindow(const QString& startDir, QWidget* parent)
    : QMainWindow(parent), startDir_(startDir), ui_(std::make_unique<WindowUi>(*this)) {
  InitResources();
  setObjectName("Form1");
  const QString design =
      QString("  VNX Files Viewer   (beta version 1.0.1)          %1").arg(kCollection);
  setWindowTitle(design);
  session_ = std::make_unique<Session>(ui_.get());
  antennaDialog_ = new AntennaDialog(this);
  calculator_ = new CalculatorWindow(*this);
  timeAxis_ = new TimeAxisSwitch(this, [this] {
    return TimeAxisSwitch::Source{scan().Files().PathOf(WorkFile::DataEpochs), scan().EpochCount()};
  });

  BuildMenus();
  viewer_ = new QStackedWidget;
  viewer_->setObjectName("PViewer");
  startPanel_ = BuildStartPanel();
  viewer_->addWidget(startPanel_);
  errorPanel_ = BuildErrorPanel();
  errorPanel_->setProperty("menuItem", "ViewErrors1");
  viewer_->addWidget(errorPanel_);
  setCentralWidget(viewer_);
  statusBar()->setObjectName("StatusBar1");
  CreateViewPanels(*this);
  closeSummary_ = findChild<QPushButton*>("BBCloseSum");
  // F1 reaches the window before any control, in the calculator and the other windows of the
  // program too: help at the page of the focused control.
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::ApplicationShortcut);
  connect(f1, &QShortcut::activated, this, [this] { OpenHelp(HelpPageOfFocus()); });

  if (!startDir_.endsWith('/')) startDir_ += '/';
  const std::string work = ChooseWorkingDirectory(startDir_.toStdString());
  if (session_->CreateWorkingFiles(work))
    setWindowTitle(
        QString("  VNX Files Viewer   (version %1)          %2").arg(kVersion, kCollection));
  ResetScanPanel();
  resize(1000, 700);
  RestoreRememberedState();
  input_->setFocus();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::action(const QString& objectName) const {
  const auto it = actions_.find(objectName);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::BuildMenus() {
  auto add = [this](QMenu* menu, const char* name, const QString& caption, auto slot) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, slot);
    actions_[name] = a;
    return a;
  };
  QMenu* file = menuBar()->addMenu("File");
  add(file, "InputVNXfile1", "Input VNX file", [this] { ChooseFileFromMenu(); });
  add(file, "ScanVNXfile1", "Scan VNX file", [this] { StartScanFromMenu(); });
  add(file, "ViewSummury1", "View Summury", [this] {
    if (buildAndShowSummary) buildAndShowSummary();
  });
  add(file, "ViewErrors1", "View Errors", [this] { ShowErrorList(); });
  add(file, "ExportRINEX1", "Export RINEX…", [this] { OpenRinexExport(); })->setEnabled(false);
  QMenu* view = menuBar()->addMenu("View");
  view->setToolTipsVisible(true);  // a disabled view says why
  const char* captions[] = {"Times (Epochs)",
                            "Header",
                            "Satellites",
                            "Positions",
                            "Ephemerides",
                            "Measurements",
                            "Iono parameters",
                            "External events",
                            "Occupations",
                            "Attitude",
                            "Quality",
                            "Skyplot",
                            "Signal strength vs elevation",
                            "Position scatter and deviations"};
  static_assert(std::size(captions) == std::size(kViewItems));
  for (size_t i = 0; i < std::size(kViewItems); ++i) add(view, kViewItems[i], captions[i], [] {});
  AddTimeAxisMenu(*view->addMenu("Time axis"));
  QMenu* help = menuBar()->addMenu("Help");
  add(help, "VNXViewerHelp1", "VNX Viewer Help", [this] { OpenHelp("index.html"); });
  add(help, "About1", "About", [this] { OpenAbout(); });
  QMenu* exit = menuBar()->addMenu("Exit");
  add(exit, "ExitVNXViewer1", "Exit VNX Viewer", [this] { close(); });
}

void MainWindow::AddTimeAxisMenu(QMenu& menu) {
  // The charts' one time-axis switch; UTC needs the leap seconds of the log.
  auto* group = new QActionGroup(&menu);
  const char* names[] = {"TimeAxisEpoch1", "TimeAxisGps1", "TimeAxisUtc1"};
  for (ChartTimeAxis mode : {ChartTimeAxis::Epoch, ChartTimeAxis::GpsTime, ChartTimeAxis::Utc}) {
    QAction* a = menu.addAction(ChartTimeAxisTitle(mode));
    a->setObjectName(names[static_cast<int>(mode)]);
    a->setCheckable(true);
    a->setChecked(timeAxis_->Mode() == mode);
    group->addAction(a);
    actions_[a->objectName()] = a;
    connect(a, &QAction::triggered, this, [this, mode] { timeAxis_->SetMode(mode); });
  }
  connect(timeAxis_, &TimeAxisSwitch::Changed, this, [this] {
    action(QString("TimeAxis%1")
               .arg(timeAxis_->Mode() == ChartTimeAxis::Epoch ? "Epoch1"
                    : timeAxis_->Mode() == ChartTimeAxis::Utc ? "Utc1"
                                                              : "Gps1"))
        ->setChecked(true);
  });
}

QWidget* MainWindow::BuildScanPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("Panel2");
  panel->setAutoFillBackground(true);
  panel->setProperty("helpPage", "scanning.html");
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QColor(0xD4, 0xD0, 0xC8));
  panel->setPalette(pal);
  auto* grid = new QGridLayout(panel);

  file_ = new QLineEdit;
  file_->setObjectName("EFile");
  file_->setReadOnly(true);
  input_ = new QPushButton("Input  File");
  input_->setObjectName("BBInput");
  input_->setToolTip("Open VNX file");
  scan_ = new QPushButton("Scan");
  scan_->setObjectName("BBScan");
  scan_->setToolTip("Scan the selected file");
  stop_ = new QPushButton("Stop");
  stop_->setObjectName("BBStop");
  stop_->setToolTip("Stop the process of scanning");
  connect(input_, &QPushButton::clicked, this, [this] { ChooseFileByButton(); });
  connect(scan_, &QPushButton::clicked, this, [this] { StartScanByButton(); });
  connect(stop_, &QPushButton::clicked, this, [this] { StopScan(); });
  gauge_ = new PieGauge("GScan");
  gauge_->setFixedSize(64, 64);
  fileSize_ = new QLabel("Filesize");
  fileSize_->setObjectName("STEnd");
  date_ = new QLabel("00/00/0000");
  date_->setObjectName("STDateis");
  time_ = new QLabel("00:00:00.000");
  time_->setObjectName("STTimeis");

  grid->addWidget(file_, 0, 0, 1, 6);
  grid->addWidget(input_, 1, 0);
  grid->addWidget(scan_, 1, 1);
  grid->addWidget(stop_, 1, 2);
  grid->addWidget(gauge_, 1, 3, 2, 1);
  grid->addWidget(fileSize_, 1, 4, 1, 2);
  grid->addWidget(date_, 2, 0);
  grid->addWidget(time_, 2, 1);

  auto* observed = new QGridLayout;
  int col = 0;
  for (const IndicatorSpec& s : kIndicators) {
    auto* l = new QLabel(s.caption != nullptr ? s.caption
                                              : InfoOf(static_cast<Observable>(s.which)).caption);
    l->setObjectName(s.name);
    l->setAlignment(Qt::AlignCenter);
    indicators_[static_cast<int>(s.which)] = l;
    if (s.which == Indicator::Gps) {
      observed->addWidget(new QLabel("Satellites"), 2, 0);
      col = 1;
    }
    if (s.which == Indicator::EphGps) {
      observed->addWidget(new QLabel("Ephemerides"), 3, 0);
      col = 1;
    }
    const int row = s.which < Indicator::Gps      ? (col < 10 ? 0 : 1)
                    : s.which < Indicator::EphGps ? 2
                                                  : 3;
    const int c = s.which < Indicator::Gps ? col % 10 : col;
    if (s.which == Indicator::ExternalEvents)
      observed->addWidget(l, 2, 6, 1, 3);
    else
      observed->addWidget(l, row, c);
    ++col;
  }
  grid->addLayout(observed, 3, 0, 1, 6);
  return panel;
}

QWidget* MainWindow::BuildStartPanel() {
  auto* stars = new StarPanel;
  auto* layout = new QVBoxLayout(stars);
  layout->addStretch(1);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(BuildScanPanel(), 4);
  row->addStretch(1);
  layout->addLayout(row);
  layout->addStretch(2);
  return stars;
}

QWidget* MainWindow::BuildErrorPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("PError");
  panel->setProperty("helpPage", "errors.html");
  auto* layout = new QVBoxLayout(panel);
  auto* heading = new QLabel("Errors");
  heading->setObjectName("StaticText30");
  heading->setStyleSheet("QLabel { color: red; background-color: navy; font-weight: bold; }");
  heading->setAlignment(Qt::AlignCenter);
  errorList_ = new QListWidget;
  errorList_->setObjectName("LBError");
  errorList_->setStyleSheet("QListWidget { background-color: #a6caf0; }");
  errorList_->setFont(QFont("Monospace"));
  auto* close = new QPushButton("   Close Errors");
  close->setObjectName("BBCloseErr");
  connect(close, &QPushButton::clicked, this, [this] {
    ShowStartPanel();
    FocusInput();
  });
  layout->addWidget(heading);
  layout->addWidget(errorList_, 1);
  layout->addWidget(close, 0, Qt::AlignRight);
  return panel;
}

void MainWindow::AddView(const QString& menuItem, ViewPanel* panel) {
  viewer_->addWidget(panel);
  views_.push_back(panel);
  panel->setProperty("menuItem", menuItem);
  if (QAction* a = action(menuItem)) {
    disconnect(a, &QAction::triggered, nullptr, nullptr);
    connect(a, &QAction::triggered, panel, [this, menuItem, panel] {
      BeforeOpeningView(menuItem);
      panel->Open();
    });
  }
}

QWidget* MainWindow::startPanel() const {
  return startPanel_;
}
QWidget* MainWindow::frontPanel() const {
  return viewer_->currentWidget();
}

void MainWindow::HideViews() {
  viewer_->setCurrentWidget(startPanel_);
}
void MainWindow::ShowStartPanel() {
  viewer_->setCurrentWidget(startPanel_);
}
void MainWindow::ShowInFront(QWidget* panel) {
  viewer_->setCurrentWidget(panel);
}
void MainWindow::FocusInput() {
  input_->setFocus();
}

void MainWindow::ShowMessage(const QString& text) {
  if (messageSink)
    messageSink(text);
  else
    QMessageBox::information(this, "VNX Viewer", text);
}

bool MainWindow::Confirm(const QString& text) {
  if (confirmSink) return confirmSink(text);
  return QMessageBox::question(this, "VNX Viewer", text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void MainWindow::SetStatus(const QString& text) {
  statusBar()->showMessage(text);
}
void MainWindow::SetGauge(int percent) {
  gauge_->SetValue(percent);
}

void MainWindow::LightIndicator(Indicator which) {
  QLabel* l = indicators_[static_cast<int>(which)];
  if (!l->property("lit").toBool()) SetLit(l, true);
}

void MainWindow::SetViewItemsEnabled(bool enabled) {
  // The reasons of the last scan go with it.
  for (const char* name : kViewItems) EnableView(name, enabled, {});
}

void MainWindow::ResetScanPanel() {
  file_->clear();
  scan_->setEnabled(false);
  session_->ResetTimeLabels();
  date_->setText("00/00/0000");
  time_->setText("00:00:00");
  for (QLabel* l : indicators_) SetLit(l, false);
  gauge_->SetValue(0);
  stop_->setEnabled(false);
  for (const char* name : {"ScanVNXfile1", "ViewSummury1", "ViewErrors1"})
    action(name)->setEnabled(false);
  SetViewItemsEnabled(false);
}

void MainWindow::ResetScanState() {
  epochTimes_.MarkStale();
  errorList_->clear();
  shownErrorCount_ = 0;
  session_->ResetScanState();
  gauge_->SetValue(0);
  SetViewItemsEnabled(false);
  action("ViewSummury1")->setEnabled(false);
  for (ViewPanel* v : views_) v->ResetForScan();
  calculator_->ResetForScan();
  action("ExportRINEX1")->setEnabled(false);
}

void MainWindow::ChooseFile(bool fromMenu, const QString& path) {
  action("Attitude1")->setEnabled(false);
  HideViews();
  ResetScanPanel();
  ResetScanState();
  if (!fromMenu && clearSummary) clearSummary();
  scanning_ = false;
  file_->clear();
  QString chosen = path;
  if (chosen.isEmpty() && fileChooser) {
    chosen = fileChooser();
  } else if (chosen.isEmpty()) {
    QFileDialog dialog(this, "Choose Input File");
    dialog.setNameFilters({"VNX files (*.vnx)", "All files (*.*)"});
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!settings_->LastDirectory().isEmpty()) dialog.setDirectory(settings_->LastDirectory());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().first();
  }
  if (!chosen.isEmpty()) {
    inputFileName_ = chosen;
    file_->setText(chosen);
    RememberOpenedLog(chosen);
    scan_->setEnabled(true);
    action("ScanVNXfile1")->setEnabled(true);
    stop_->setEnabled(true);
  }
  if (fromMenu) ShowStartPanel();
  scan_->setFocus();
}

void MainWindow::ChooseFileByButton() {
  if (scanning_) return;  // the running scan keeps its working files
  ChooseFile(false);
}

void MainWindow::ChooseFileFromMenu() {
  if (scanning_) return;
  ChooseFile(true);
}

void MainWindow::StartScanByButton() {
  if (scanning_) return;
  scan_->setEnabled(false);
  scanning_ = true;
  HideViews();
  ResetScanState();
  input_->setEnabled(false);
  stop_->setEnabled(true);
  RunScan();
  scanning_ = false;
  stop_->setEnabled(false);
  input_->setEnabled(true);
  if (closeSummary_) closeSummary_->setFocus();
  scan_->setEnabled(true);
  if (closeAfterScan_) close();
}

void MainWindow::StartScanFromMenu() {
  // A scan command arriving while a scan runs (the menu stays usable) is refused: the running
  // scanner must not be destroyed under it.
  if (scanning_) {
    SetStatus("A scan is running");
    return;
  }
  scanning_ = true;
  HideViews();
  ResetScanState();
  ShowStartPanel();
  stop_->setEnabled(true);
  RunScan();
  scanning_ = false;
  stop_->setEnabled(false);
  if (closeSummary_) closeSummary_->setFocus();
  if (closeAfterScan_) close();
}

void MainWindow::StopScan() {
  session_->RequestStop();
}

bool MainWindow::RunScan() {
  inputFileName_ = file_->text();
  if (inputFileName_.isEmpty()) {
    ShowMessage("You have not input VNX-File");
    return false;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (clearSummary) clearSummary();
  if (OpenAndScan()) {
    AfterScan();
    return true;
  }
  QApplication::restoreOverrideCursor();
  gauge_->SetValue(0);
  fileSize_->setText("Filesize");
  if (!session_->Errors().empty()) ShowErrorList();
  action("ViewSummury1")->setEnabled(true);
  return false;
}

bool MainWindow::OpenAndScan() {
  if (!session_->Scan(inputFileName_.toStdString())) return false;
  if (session_->ResultCode() == 0) ShowMessage(QString("Processed  ") + " false");
  return true;
}

void MainWindow::EnableView(const char* item, bool enabled, const QString& whyNot) {
  QAction* a = action(item);
  a->setEnabled(enabled);
  // A disabled item says why when the pointer rests on it.
  a->setStatusTip(enabled ? QString() : whyNot);
  a->setToolTip(enabled ? a->text() : whyNot);
}

void MainWindow::AfterScan() {
  if (runEpochAnalysis) runEpochAnalysis();
  const ScanResult ctx = scan();
  // Views that read epoch records stay closed when the scan stored none: they would only show
  // empty charts.
  const bool epochs = ctx.EpochCount() > 0;
  for (const char* name : {"TimesEpochs1", "Header1"}) EnableView(name, true, {});
  for (const char* name : {"Satellites1", "Measurements1", "Positions1", "Occupations1"})
    EnableView(name, epochs, kNoEpochs);
  bool ephemerides = false;
  for (SatSystem s : kSatSystems) ephemerides |= !ctx.Ephemerides().Satellites(s).empty();
  EnableView("Ephemerides1", ephemerides, "No ephemerides in this file");
  EnableView("Ionoparameters1", ctx.IonoSeen(), kNoIono);
  action("ViewSummury1")->setEnabled(true);
  EnableView("Externalevents1", ctx.XaCount() + ctx.XbCount() + ctx.ZaCount() + ctx.ZbCount() > 0,
             "No external events or PPS offsets in this file");
  EnableView("Attitude1", ctx.ArSeen() || ctx.Mr73Seen() || ctx.Mr37Seen(),
             "No attitude or baseline messages in this file");
  for (const char* name : {"Quality1", "Skyplot1", "SignalElevation1", "PositionScatter1"})
    EnableView(name, epochs, kNoEpochs);
  action("ExportRINEX1")->setEnabled(ctx.EpochCount() > 0);
  if (scanning_) {
    SetStatus("Making Summary...");
    if (buildAndShowSummary) buildAndShowSummary();
  }
  if (closeSummary_) closeSummary_->setFocus();
  QApplication::restoreOverrideCursor();
  gauge_->SetValue(0);
  fileSize_->setText("Filesize");
  statusBar()->clearMessage();
  AfterFirstScan();
}

void MainWindow::ShowErrorList() {
  const std::vector<std::string> lines = ErrorListLines(session_->Errors());
  shownErrorCount_ = static_cast<int>(std::min<size_t>(lines.size(), 100));
  errorList_->clear();
  for (int i = 0; i < shownErrorCount_; ++i)
    errorList_->addItem(QString::fromStdString(lines[static_cast<size_t>(i)]));
  ShowInFront(errorPanel_);
  errorList_->setFocus();
}

void MainWindow::OpenAbout() {
  AboutDialog about(this);
  about.SetTexts(QString("Version ") + VNX_VERSION, "23 June 2009");
  about.exec();
}

void MainWindow::OpenCalculator() {
  calculator_->Open();
}

QString MainWindow::HelpPageOfFocus() const {
  QWidget* focus = QApplication::focusWidget();
  // A control of a view that was just closed may still hold the focus while hidden: the page
  // of what is now in front counts.
  if (focus == nullptr || !focus->isVisible()) focus = viewer_->currentWidget();
  for (QWidget* w = focus; w; w = w->parentWidget()) {
    const QVariant page = w->property("helpPage");
    if (page.isValid()) return page.toString();
  }
  return "index.html";
}

void MainWindow::OpenHelp(const QString& page) {
  if (!help_) help_ = new HelpWindow(this);
  help_->ShowPage(page);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closeAfterScan_ && !Confirm("Do you really want to exit VNX Viewer?")) {
    event->ignore();
    return;
  }
  if (scanning_) {
    // The scan stops at its next checkpoint; the window closes when it has returned.
    closeAfterScan_ = true;
    session_->RequestStop();
    event->ignore();
    return;
  }
  settings_->SetWindowGeometry(saveGeometry());
  settings_->SetOpenView(frontPanel()->property("menuItem").toString());
  calculator_->close();
  if (help_) help_->close();
  session_->RemoveWorkingFiles();
  event->accept();
}

// --- Opening logs from outside the file dialog, and what the window remembers ---------------

bool MainWindow::OpenLog(const QString& path) {
  if (scanning_) {
    SetStatus("A scan is running");
    return false;
  }
  const QFileInfo info(path);
  QFile file(path);
  QString reason;
  if (!info.exists())
    reason = "no such file";
  else if (info.isDir())
    reason = "it is a directory";
  else if (!file.open(QIODevice::ReadOnly))
    reason = file.errorString();
  if (!reason.isEmpty()) {
    ShowMessage(QString("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), reason));
    return false;
  }
  file.close();
  ChooseFile(false, info.absoluteFilePath());
  StartScanByButton();
  return true;
}

namespace {

// The local .vnx files among a drag's URLs.
QStringList DroppedLogs(const QMimeData* data) {
  QStringList logs;
  if (!data || !data->hasUrls()) return logs;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && url.toLocalFile().endsWith(".vnx", Qt::CaseInsensitive))
      logs << url.toLocalFile();
  return logs;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedLogs(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList logs = DroppedLogs(event->mimeData());
  if (logs.isEmpty()) return;
  event->acceptProposedAction();
  if (scanning_) {
    SetStatus("A scan is running");
    return;
  }
  // The scan runs from the event loop: the drag source gets its answer at once.
  const QString log = logs.first();
  QTimer::singleShot(0, this, [this, log] { OpenLog(log); });
}

void MainWindow::RestoreRememberedState() {
  settings_ = std::make_unique<AppSettings>();
  setAcceptDrops(true);
  const QByteArray geometry = settings_->WindowGeometry();
  if (!geometry.isEmpty()) restoreGeometry(geometry);
  QMenu* fileMenu = qobject_cast<QMenu*>(action("InputVNXfile1")->parent());
  recentLogs_ = new RecentLogsMenu(
      *settings_, [this](const QString& log) { OpenLog(log); }, this);
  fileMenu->insertMenu(action("ScanVNXfile1"), recentLogs_);
  // The Satellites view's Accept has set the mask by the time this runs.
  if (auto* accept = findChild<QPushButton*>("BBElMask"))
    connect(accept, &QPushButton::clicked, this,
            [this] { settings_->SetElevationMask(scan().ElevationMask()); });
}

void MainWindow::RememberOpenedLog(const QString& path) {
  settings_->AddRecentLog(path);
  settings_->SetLastDirectory(QFileInfo(path).absolutePath());
  recentLogs_->Refresh();
}

void MainWindow::BeforeOpeningView(const QString& menuItem) {
  // The scan's summary sets the mask to the lowest elevation seen; the mask the user last
  // accepted (in this run or an earlier one) takes its place when the Satellites view opens.
  if (menuItem != "Satellites1") return;
  if (const std::optional<int> mask = settings_->ElevationMask()) session_->SetElevationMask(*mask);
}

void MainWindow::AfterFirstScan() {
  if (firstScanDone_) return;
  firstScanDone_ = true;
  // The view that was in front when the window last closed comes back after the first scan.
  const QString view = settings_->OpenView();
  if (view.isEmpty() || view == "ViewSummury1") return;
  if (QAction* a = action(view); a && a->isEnabled()) a->trigger();
}

}  // namespace vnx::app
