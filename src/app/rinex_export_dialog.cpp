#include "app/rinex_export_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <ctime>
#include <span>

#include "app/main_window.h"
#include "app/pie_gauge.h"
#include "app/widgets.h"

namespace vnx::app {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

QString FileName(const std::string& path) {
  return QFileInfo(Q(path)).fileName();
}

}  // namespace

RinexExportDialog::RinexExportDialog(const rinex::ExportInput& in, const SystemCounts& counts,
                                     QWidget* parent)
    : QDialog(parent), in_(in), firstYear_(rinex::FirstEpochYear(in, std::time(nullptr))) {
  setObjectName("FormRinexExport");
  setWindowTitle("Export RINEX");
  setProperty("helpPage", "rinex.html");
  auto* layout = new QVBoxLayout(this);

  auto* versionRow = new QHBoxLayout;
  versionRow->addWidget(new QLabel("RINEX version:"));
  v304_ = new QRadioButton("3.04 (one mixed navigation file)");
  v304_->setObjectName("RBVersion304");
  v211_ = new QRadioButton("2.11 (one navigation file per system)");
  v211_->setObjectName("RBVersion211");
  v304_->setChecked(true);
  auto* versions = new QButtonGroup(this);
  versions->addButton(v304_);
  versions->addButton(v211_);
  versionRow->addWidget(v304_);
  versionRow->addWidget(v211_);
  versionRow->addStretch(1);
  layout->addLayout(versionRow);

  auto* files = new QGroupBox("Files");
  auto* grid = new QGridLayout(files);
  writeObs_ = new QCheckBox("Observations");
  writeObs_->setObjectName("CBWriteObs");
  writeObs_->setChecked(true);
  obsPath_ = new QLineEdit(DefaultObs(rinex::Version::V304));
  obsPath_->setObjectName("EObsFile");
  auto* obsBrowse = NamedButton("BBObsBrowse", "Browse…");
  writeNav_ = new QCheckBox("Navigation");
  writeNav_->setObjectName("CBWriteNav");
  writeNav_->setChecked(true);
  navPath_ = new QLineEdit(DefaultNav(rinex::Version::V304));
  navPath_->setObjectName("ENavFile");
  auto* navBrowse = NamedButton("BBNavBrowse", "Browse…");
  navNote_ = new QLabel(
      "The last letter of the navigation file's name is replaced by each system's: "
      "n GPS, g GLONASS, l Galileo, h SBAS.");
  navNote_->setWordWrap(true);
  navNote_->setVisible(false);
  grid->addWidget(writeObs_, 0, 0);
  grid->addWidget(obsPath_, 0, 1);
  grid->addWidget(obsBrowse, 0, 2);
  grid->addWidget(writeNav_, 1, 0);
  grid->addWidget(navPath_, 1, 1);
  grid->addWidget(navBrowse, 1, 2);
  grid->addWidget(navNote_, 2, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  layout->addWidget(files);

  auto* systems = new QGroupBox("Systems");
  auto* systemRow = new QHBoxLayout(systems);
  for (SatSystem s : kSatSystems) {
    const int i = SystemIndex(s);
    const SatSystemInfo& info = InfoOf(s);
    auto* box = new QCheckBox(QString("%1 (%2)").arg(info.shortName).arg(counts.satellites[i]));
    box->setObjectName(QString("CBSys") + info.shortName);
    box->setToolTip(QString("%1 satellites, %2 ephemerides")
                        .arg(counts.satellites[i])
                        .arg(counts.ephemerides[i]));
    const bool has = counts.satellites[i] > 0 || counts.ephemerides[i] > 0;
    box->setEnabled(has);
    box->setChecked(has);
    systems_[i] = box;
    systemRow->addWidget(box);
  }
  systemRow->addStretch(1);
  layout->addWidget(systems);

  auto* maskRow = new QHBoxLayout;
  maskRow->addWidget(new QLabel("Elevation mask:"));
  mask_ = new QDoubleSpinBox;
  mask_->setObjectName("EMask");
  mask_->setRange(0, 90);
  mask_->setDecimals(1);
  mask_->setSuffix(" °");
  maskRow->addWidget(mask_);
  maskRow->addWidget(new QLabel("satellites below it are left out of the observations"));
  maskRow->addStretch(1);
  layout->addLayout(maskRow);

  layout->addWidget(new QLabel("Will write:"));
  files_ = new QLabel;
  files_->setObjectName("STRinexFiles");
  files_->setTextFormat(Qt::PlainText);
  files_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(files_);

  auto* buttons = new QDialogButtonBox;
  export_ = NamedButton("BBExport", "Export");
  export_->setDefault(true);
  buttons->addButton(export_, QDialogButtonBox::AcceptRole);
  buttons->addButton(NamedButton("BBCancelExport", "Cancel"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  connect(export_, &QPushButton::clicked, this, [this] { Export(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(v304_, &QRadioButton::toggled, this, [this] { VersionChanged(); });
  connect(obsBrowse, &QPushButton::clicked, this,
          [this] { Browse(obsPath_, "RINEX observation file"); });
  connect(navBrowse, &QPushButton::clicked, this,
          [this] { Browse(navPath_, "RINEX navigation file"); });
  for (QCheckBox* box : {writeObs_, writeNav_})
    connect(box, &QCheckBox::toggled, this, [this] { Update(); });
  for (QCheckBox* box : systems_) connect(box, &QCheckBox::toggled, this, [this] { Update(); });
  for (QLineEdit* edit : {obsPath_, navPath_})
    connect(edit, &QLineEdit::textChanged, this, [this] { Update(); });
  Update();
  resize(640, sizeHint().height());
}

rinex::Version RinexExportDialog::Version() const {
  return v211_->isChecked() ? rinex::Version::V211 : rinex::Version::V304;
}

QString RinexExportDialog::DefaultObs(rinex::Version v) const {
  return Q(rinex::DefaultObsPath(in_.logPath, v, firstYear_));
}

QString RinexExportDialog::DefaultNav(rinex::Version v) const {
  return Q(rinex::DefaultNavPath(in_.logPath, v, firstYear_, SatSystem::Gps));
}

void RinexExportDialog::VersionChanged() {
  // A name the user left at its default follows the version; a name of their own stays.
  const rinex::Version v = Version();
  if (obsPath_->text() == DefaultObs(shownVersion_)) obsPath_->setText(DefaultObs(v));
  if (navPath_->text() == DefaultNav(shownVersion_)) navPath_->setText(DefaultNav(v));
  shownVersion_ = v;
  navNote_->setVisible(v == rinex::Version::V211);
  Update();
}

rinex::ExportOptions RinexExportDialog::Options() const {
  rinex::ExportOptions o;
  o.version = Version();
  o.writeObs = writeObs_->isChecked();
  o.writeNav = writeNav_->isChecked();
  o.obsPath = obsPath_->text().trimmed().toStdString();
  o.navPath = navPath_->text().trimmed().toStdString();
  for (SatSystem s : kSatSystems) o.systems[SystemIndex(s)] = systems_[SystemIndex(s)]->isChecked();
  o.maskDegrees = mask_->value();
  o.program = "VNX Viewer";
  return o;
}

std::vector<rinex::PlannedFile> RinexExportDialog::Files() const {
  return rinex::PlanFiles(in_, Options(), firstYear_);
}

void RinexExportDialog::Update() {
  obsPath_->setEnabled(writeObs_->isChecked());
  navPath_->setEnabled(writeNav_->isChecked());
  const rinex::ExportOptions o = Options();
  QString problem;
  if (std::none_of(o.systems.begin(), o.systems.end(), [](bool b) { return b; }))
    problem = "Choose at least one system.";
  else if ((o.writeObs && o.obsPath.empty()) || (o.writeNav && o.navPath.empty()))
    problem = "Give the file a name.";
  QStringList lines;
  if (problem.isEmpty()) {
    for (const rinex::PlannedFile& f : Files()) {
      QString line = Q(f.path);
      if (QFileInfo::exists(line)) line += "   (replaces the existing file)";
      lines << line;
    }
    if (lines.isEmpty()) problem = "Nothing to write: the chosen systems have no ephemerides.";
  }
  files_->setText(problem.isEmpty() ? lines.join('\n') : problem);
  export_->setEnabled(problem.isEmpty());
}

void RinexExportDialog::Browse(QLineEdit* edit, const QString& title) {
  const QString chosen = QFileDialog::getSaveFileName(
      this, title, edit->text(),
      "RINEX files (*.obs *.nav *.??o *.??n *.??g *.??l *.??h);;All files (*)", nullptr,
      QFileDialog::DontConfirmOverwrite);
  if (!chosen.isEmpty()) edit->setText(chosen);
}

void RinexExportDialog::Export() {
  Update();
  if (!export_->isEnabled()) return;
  QStringList existing;
  for (const rinex::PlannedFile& f : Files())
    if (QFileInfo::exists(Q(f.path))) existing << FileName(f.path);
  if (!existing.isEmpty()) {
    const QString question = (existing.size() == 1 ? existing.first() + " already exists."
                                                   : existing.join(", ") + " already exist.") +
                             " Replace?";
    const bool yes =
        confirmSink ? confirmSink(question)
                    : QMessageBox::question(this, "Export RINEX", question,
                                            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    if (!yes) return;
  }
  accept();
}

// The window's part: the command and the run.

void MainWindow::OpenRinexExport() {
  if (scanning_) {
    SetStatus("A scan is running");
    return;
  }
  const ScanResult result = scan();
  if (result.EpochCount() == 0) return;
  const rinex::ExportInput in = rinex::ExportInputFromScan(result, inputFileName_.toStdString());
  RinexExportDialog::SystemCounts counts;
  for (SatSystem s : kSatSystems) {
    const std::span<const bool> seen = result.Seen(s);
    counts.satellites[SystemIndex(s)] =
        static_cast<int>(std::count(seen.begin(), seen.end(), true));
    counts.ephemerides[SystemIndex(s)] = in.ephemerisCount[SystemIndex(s)];
  }
  RinexExportDialog dialog(in, counts, this);
  dialog.confirmSink = [this](const QString& q) { return Confirm(q); };
  if (dialog.exec() != QDialog::Accepted) return;
  RunRinexExport(dialog.Options());
}

rinex::ExportResult MainWindow::RunRinexExport(rinex::ExportOptions options) {
  rinex::ExportResult r;
  if (scanning_ || scan().EpochCount() == 0) {
    r.error = "no finished scan to export";
    return r;
  }
  // Like a scan: the scan and file commands wait, Stop and a close of the window end it.
  scanning_ = true;
  QAction* const items[] = {action("InputVNXfile1"), action("ScanVNXfile1"),
                            action("ExportRINEX1")};
  QWidget* const buttons[] = {input_, scan_};
  std::vector<bool> wasEnabled;
  for (QAction* a : items) {
    wasEnabled.push_back(a->isEnabled());
    a->setEnabled(false);
  }
  for (QWidget* b : buttons) {
    wasEnabled.push_back(b->isEnabled());
    b->setEnabled(false);
  }
  const bool stopWasEnabled = stop_->isEnabled();
  stop_->setEnabled(true);
  std::atomic<bool> stop{false};
  const QMetaObject::Connection onStop =
      connect(stop_, &QPushButton::clicked, this, [&stop] { stop = true; });
  options.stop = &stop;
  options.progress = [&](int percent) {
    gauge_->SetValue(percent);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (closeAfterScan_) stop = true;
  };
  SetStatus("Exporting RINEX…");
  QApplication::setOverrideCursor(Qt::WaitCursor);

  const rinex::ExportInput in = rinex::ExportInputFromScan(scan(), inputFileName_.toStdString());
  r = rinex::ExportRinex(in, options);

  QApplication::restoreOverrideCursor();
  disconnect(onStop);
  stop_->setEnabled(stopWasEnabled);
  size_t k = 0;
  for (QAction* a : items) a->setEnabled(wasEnabled[k++]);
  for (QWidget* b : buttons) b->setEnabled(wasEnabled[k++]);
  gauge_->SetValue(0);
  scanning_ = false;

  QStringList written;
  for (const rinex::ExportedFile& f : r.files) written << FileName(f.path);
  QString status;
  if (r.stopped) {
    status = written.isEmpty() ? "RINEX export stopped: no file written"
                               : "RINEX export stopped after " + written.join(", ");
  } else if (!written.isEmpty()) {
    status = QString("RINEX %1 written to %2: %3 (%4 epochs, %5 satellites)")
                 .arg(options.version == rinex::Version::V304 ? "3.04" : "2.11",
                      QFileInfo(Q(r.files.front().path)).absolutePath(), written.join(", "))
                 .arg(r.epochs)
                 .arg(r.satellites);
  } else {
    status = "RINEX export failed";
  }
  for (const std::string& note : r.notes) status += "; " + Q(note);
  SetStatus(status);
  if (!r.stopped && !r.error.empty()) ShowMessage("RINEX export failed: " + Q(r.error));
  if (closeAfterScan_) close();
  return r;
}

}  // namespace vnx::app
