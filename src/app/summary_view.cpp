#include "app/summary_view.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>

#include "app/main_window.h"
#include "app/times_view.h"
#include "controls/control_names.h"
#include "engine/views/ephemeris_counts.h"
#include "engine/views/summary.h"

namespace vnx::app {

namespace {

QGroupBox* Group(const char* name, const char* caption) {
  auto* g = new QGroupBox(caption);
  g->setObjectName(name);
  return g;
}

}  // namespace

QLabel* SummaryView::AddLabel(QLayout* into, const char* name, const char* caption) {
  auto* l = new QLabel(caption);
  l->setObjectName(name);
  l->setFont(QFont("Monospace"));
  labels_[name] = l;
  designed_[name] = caption;
  into->addWidget(l);
  return l;
}

QLineEdit* SummaryView::AddEdit(QGridLayout* into, int row, const char* caption, const char* name) {
  into->addWidget(new QLabel(caption), row, 0);
  auto* e = new QLineEdit;
  e->setObjectName(name);
  e->setReadOnly(true);
  edits_[name] = e;
  designed_[name] = QString();
  into->addWidget(e, row, 1);
  return e;
}

SummaryView::SummaryView(MainWindow& w, TimesView& times) : ViewPanel(w, "PSumm"), times_(times) {
  setProperty("helpPage", "summary.html");
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("Summary");
  heading->setAlignment(Qt::AlignCenter);
  heading->setStyleSheet("QLabel { color: white; background-color: navy; font-weight: bold; }");
  layout->addWidget(heading);
  auto* file = new QLineEdit;
  file->setObjectName("ESumFile");
  file->setReadOnly(true);
  file->setStyleSheet("QLineEdit { background-color: #00ff00; }");
  edits_["ESumFile"] = file;
  layout->addWidget(file);

  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* epochs = Group("GBSumEpochs", " Epochs ");
  auto* el = new QVBoxLayout(epochs);
  AddLabel(el, "STSumStartEp", " Start Epoch");
  AddLabel(el, "STSumFinish", " Finish Epoch");
  AddLabel(el, "STSumNumEp", " Number of Epochs");
  AddLabel(el, "STSumInterval", " Interval");
  AddLabel(el, "STSumGap", " Gaps");
  left->addWidget(epochs);

  auto* sats = Group("GBSumSat", " Satellites ");
  auto* sl = new QVBoxLayout(sats);
  AddLabel(sl, "STSumMaxSat", " Maximum");
  AddLabel(sl, "STSumMinSat", " Minimum");
  AddLabel(sl, "STSumElMask", " Elevation Mask");
  AddLabel(sl, "STSumAzim", " Azimuths");
  auto* seen = new QGridLayout;
  AddEdit(seen, 0, " GPS ", "ESumGPS");
  AddEdit(seen, 1, " GLO", "ESumGLO");
  AddEdit(seen, 2, " GEO", "ESumGEO");
  AddEdit(seen, 3, " GAL", "ESumGAL");
  sl->addLayout(seen);
  left->addWidget(sats);

  auto* eph = Group("GBSumEph", " Ephemeris ");
  auto* ephGrid = new QGridLayout(eph);
  for (QLineEdit* e :
       {AddEdit(ephGrid, 0, " GPS", "EGPSEph"), AddEdit(ephGrid, 1, "GLO", "EGLOEph"),
        AddEdit(ephGrid, 2, " GEO", "EGEOEph"), AddEdit(ephGrid, 3, " GAL", "EGALEph")})
    e->setEnabled(false);
  left->addWidget(eph);
  columns->addLayout(left, 3);

  auto* right = new QVBoxLayout;
  auto* sol = Group("GBSumSol", " Solutions ");
  auto* solGrid = new QGridLayout(sol);
  for (int i = 0; i < kSolutionCount; ++i) {
    solGrid->addWidget(new QLabel(kSolutionRows[i].caption), i, 0);
    auto* v = new QLabel;
    v->setObjectName(SolutionControl(i));
    labels_[SolutionControl(i)] = v;
    designed_[SolutionControl(i)] = QString();
    solGrid->addWidget(v, i, 1);
  }
  right->addWidget(sol);
  auto* events = Group("GBSumEvents", " Events ");
  auto* evl = new QVBoxLayout(events);
  AddLabel(evl, "STSumXA", " XA");
  AddLabel(evl, "STSumXB", " XB");
  right->addWidget(events);
  auto* mesr = Group("GBSumMesr", " Measurements");
  auto* mGrid = new QGridLayout(mesr);
  for (int i = 0; i < kObservableCount; ++i) {
    mGrid->addWidget(new QLabel(kObservables[static_cast<size_t>(i)].caption), i % 10,
                     (i / 10) * 2);
    auto* v = new QLabel;
    v->setObjectName(ObservableControl(static_cast<Observable>(i)));
    v->setMinimumWidth(70);
    labels_[ObservableControl(static_cast<Observable>(i))] = v;
    designed_[ObservableControl(static_cast<Observable>(i))] = QString();
    mGrid->addWidget(v, i % 10, (i / 10) * 2 + 1);
  }
  right->addWidget(mesr);
  auto* err = Group("GBSumErr", " Errors ");
  auto* errl = new QVBoxLayout(err);
  AddLabel(errl, "STSumErr", "No");
  right->addWidget(err);
  columns->addLayout(right, 2);
  layout->addLayout(columns, 1);

  auto* buttons = new QHBoxLayout;
  showErrors_ = new QPushButton("Show Errors");
  showErrors_->setObjectName("BBShowErr");
  showErrors_->setEnabled(false);
  close_ = new QPushButton("Close Summary");
  close_->setObjectName("BBCloseSum");
  buttons->addStretch(1);
  buttons->addWidget(showErrors_);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
  connect(showErrors_, &QPushButton::clicked, this, [this] { ShowErrors(); });
  connect(close_, &QPushButton::clicked, this, [this] {
    window.ShowStartPanel();
    if (auto* scan = window.findChild<QPushButton*>("BBScan")) scan->setFocus();
  });
  SetErrorFlag("No", false);
}

QString SummaryView::Text(const QString& control) const {
  if (auto it = labels_.find(control); it != labels_.end()) return it->second->text();
  if (auto it = edits_.find(control); it != edits_.end()) return it->second->text();
  return QString();
}

void SummaryView::SetText(const char* name, const std::string& text) {
  const QString t = QString::fromStdString(text);
  if (auto it = labels_.find(name); it != labels_.end()) it->second->setText(t);
  if (auto it = edits_.find(name); it != edits_.end()) it->second->setText(t);
}

void SummaryView::SetErrorFlag(const QString& text, bool red) {
  QLabel* l = labels_["STSumErr"];
  l->setText(text);
  l->setStyleSheet(QString("QLabel { background-color: %1; font-weight: bold; }")
                       .arg(red ? "#ff0000" : "#ffff00"));
  l->setProperty("colour", red ? "red" : "yellow");
}

void SummaryView::Clear() {
  for (auto& [name, text] : designed_) {
    if (auto it = labels_.find(name); it != labels_.end()) it->second->setText(text);
    if (auto it = edits_.find(name); it != edits_.end()) it->second->setText(text);
  }
  edits_["ESumFile"]->clear();
  SetErrorFlag("No", false);
}

void SummaryView::Build() {
  const ScanResult ctx = window.scan();
  const Summary s = BuildSummary(ctx, times_.Analysis(), window.inputFileName().toStdString(),
                                 EphemerisCountsOf(ctx.Ephemerides()));
  if (s.epochs) window.session().SetElevationMask(s.epochs->elevationMask);
  SetErrorFlag(QString::fromStdString(s.errorFlag.text), s.errorFlag.colour == SummaryColour::Red);
  if (s.errorFlag.showErrorsEnabled) {
    showErrors_->setEnabled(*s.errorFlag.showErrorsEnabled);
    window.action("ViewErrors1")->setEnabled(*s.errorFlag.showErrorsEnabled);
  }
  // The same texts under the same names as vnx-check reports them; the error flag has its own
  // colours.
  for (const ControlText& t : SummaryControlTexts(s))
    if (std::string_view(t.control) != "STSumErr") SetText(t.control, t.text);
  if (const auto& e = s.epochs) {
    for (const char* name : {"EElMask", "UDElMask"})
      if (auto* c = window.findChild<QWidget*>(name)) c->setEnabled(e->elevationMaskEnabled);
  }
  if (const auto& r = s.records) {
    SetText("ESumFile", r->file);
  }
  if (!s.message.empty()) window.ShowMessage(QString::fromStdString(s.message));
}

void SummaryView::Open() {
  Build();
  window.HideViews();
  window.ShowInFront(this);
}

void SummaryView::ShowErrors() {
  window.ShowStartPanel();
  if (!window.session().Errors().empty()) {
    window.ShowErrorList();
    if (auto* b = window.findChild<QPushButton*>("BBCloseErr")) b->setFocus();
  }
}

}  // namespace vnx::app
