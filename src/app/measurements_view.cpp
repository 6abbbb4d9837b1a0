#include "app/measurements_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/chart.h"
#include "app/item_radio_group.h"
#include "app/main_window.h"
#include "app/pie_gauge.h"
#include "app/scan_quality.h"
#include "app/widgets.h"

namespace vnx::app {

namespace {

constexpr int kSmoothNo = 1;
constexpr int kGaugePauseMs = 300;

QStringList ItemNames(const ObservableItem* items, int n) {
  QStringList names;
  for (int i = 0; i < n; ++i) names << items[i].Name();
  return names;
}

QStringList NumberItems(int first, int last) {
  QStringList items;
  for (int i = first; i <= last; ++i) items << QString::number(i);
  return items;
}

}  // namespace

MeasurementsView::MeasurementsView(MainWindow& w) : ViewPanel(w, "PMeasurs") {
  setProperty("helpPage", "measurements.html");
  auto* layout = new QHBoxLayout(this);
  chart_ = new Chart("ChMeasurs");
  chart_->SetTitle("");
  chart_->SetBottomTitle("Epoch number");
  chart_->SetRightTitle("Elevation Angle [degrees]");
  chart_->SetLegendVisible(false);
  chart_->AddSeries("CA", QColor(0x00, 0xA0, 0x00));
  chart_->AddSeries("Elevation", QColor(Qt::blue), 2, Chart::Marker::Circle, true);
  layout->addWidget(chart_, 1);
  layout->addWidget(BuildControls());
  layout->addWidget(BuildSatelliteGroups());
  combPanel_ = BuildCombinationsPanel();
}

QWidget* MeasurementsView::BuildControls() {
  auto* box = new QWidget;
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  measurs_ = new ItemRadioGroup("RGMeasurs", "",
                                ItemNames(ObservableItems().data(), kObservableItemCount), 2);
  measurs_->SetItemIndex(0);
  smooth_ = new ItemRadioGroup("RGSmooth", "PRs Smoothed", {"Yes", "No"}, 2);
  smooth_->SetItemIndex(kSmoothNo);
  measSmooth_ = new ItemRadioGroup("RGMeasSmooth", "",
                                   ItemNames(SmoothingItems().data(), kSmoothingItemCount));
  measSmooth_->SetItemIndex(0);
  measSmooth_->hide();
  connect(measurs_, &ItemRadioGroup::Clicked, this, &MeasurementsView::MeasursClick);
  connect(smooth_, &ItemRadioGroup::Clicked, this, &MeasurementsView::SmoothClick);
  connect(measSmooth_, &ItemRadioGroup::Clicked, this, &MeasurementsView::MeasSmoothClick);
  markSlips_ = new QCheckBox("Mark cycle slips");
  markSlips_->setObjectName("CBMarkSlips");
  markSlips_->setToolTip(
      "Mark the cycle slips the quality analysis finds on phase and "
      "combination charts");
  connect(markSlips_, &QCheckBox::toggled, this, [this] { MarkSlips(); });
  gauge_ = new PieGauge("GMeas");
  auto* combinations = NamedButton("BBComObs", "Combinations");
  connect(combinations, &QPushButton::clicked, this, [this] { ComObsClick(); });
  auto* calculator = NamedButton("BitBtn29", "Epoch --> Time");
  calculator->setToolTip("Epoch number --> time calculator");
  connect(calculator, &QPushButton::clicked, this, [this] { window.OpenCalculator(); });
  close_ = NamedButton("BBCloseMeas", "Close");
  connect(close_, &QPushButton::clicked, this, [this] { CloseView(); });
  for (QWidget* x : std::initializer_list<QWidget*>{measurs_, smooth_, measSmooth_, markSlips_})
    v->addWidget(x);
  v->addStretch(1);
  v->addWidget(gauge_, 0, Qt::AlignHCenter);
  for (QWidget* x : std::initializer_list<QWidget*>{combinations, calculator, close_})
    v->addWidget(x);
  return box;
}

QWidget* MeasurementsView::BuildSatelliteGroups() {
  auto* box = new QWidget;
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  satGroups_ = {new ItemRadioGroup("RGMGPS", " GPS ", NumberItems(1, 32), 4),
                new ItemRadioGroup("RGMGLO", " GLO", NumberItems(1, 24), 4),
                new ItemRadioGroup("RGMGEO", " GEO", NumberItems(20, 38), 4),
                new ItemRadioGroup("RGMGAL", " GAL ", NumberItems(1, 32), 4)};
  for (int s = 0; s < 4; ++s) {
    const auto system = kSatSystems[static_cast<size_t>(s)];
    connect(Group(system), &ItemRadioGroup::Clicked, this,
            [this, system](int item) { SatelliteClick(system, item); });
    v->addWidget(Group(system));
  }
  v->addStretch(1);
  return box;
}

QFrame* MeasurementsView::BuildCombinationsPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("PCombObs");
  panel->setProperty("helpPage", "combinations.html");
  panel->setFrameShape(QFrame::Panel);
  panel->setAutoFillBackground(true);
  panel->setStyleSheet("QFrame#PCombObs { background-color: #00a000; }");
  auto* v = new QVBoxLayout(panel);
  auto* heading = new QLabel("Combinations of Observables");
  heading->setObjectName("StaticText12");
  heading->setAlignment(Qt::AlignCenter);
  heading->setStyleSheet("QLabel { color: white; font-weight: bold; }");
  QStringList items;
  for (const char* t : CombinationItemTexts()) items << t;
  comObs_ = new ItemRadioGroup("RGComObs", "", items);
  comObs_->SetItemIndex(0);
  comObs_->setStyleSheet("QGroupBox { background-color: #c0ffc0; }");
  auto* buttons = new QHBoxLayout;
  auto* ok = NamedButton("BBOkComObs", "Ok");
  auto* cancel = NamedButton("BBCloseComObs", "Cancel");
  connect(ok, &QPushButton::clicked, this, [this] { OkComObsClick(); });
  connect(cancel, &QPushButton::clicked, this, [this] { CloseComObsClick(); });
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  v->addWidget(heading);
  v->addWidget(comObs_);
  v->addLayout(buttons);
  panel->adjustSize();
  panel->hide();
  return panel;
}

void MeasurementsView::Open() {
  measurementMode_ = true;
  window.HideViews();
  Group(SatSystem::Gps)->SetItemIndex(0);
  for (SatSystem s : {SatSystem::Glonass, SatSystem::Sbas, SatSystem::Galileo})
    Group(s)->SetItemIndex(-1);
  measurs_->SetItemIndex(0);
  // The chart drawn on opening is the raw "C1": the controls say so.
  smooth_->SetItemIndex(kSmoothNo);
  measurs_->setVisible(true);
  measSmooth_->setVisible(false);
  RelabelSatellites();
  window.ShowInFront(this);
  repaint();
  selectedSystem_ = SatSystem::Gps;
  DrawObservable();
  close_->setFocus();
}

void MeasurementsView::ResetForScan() {
  chart_->ClearAll();
  chart_->SetMarks({}, {});
  combPanel_->hide();
}

void MeasurementsView::RelabelSatellites() {
  for (int s = 0; s < 4; ++s) {
    const auto system = kSatSystems[static_cast<size_t>(s)];
    const std::vector<std::string> texts = SatelliteItemTexts(window.scan(), system);
    for (size_t i = 0; i < texts.size(); ++i)
      Group(system)->SetItemText(static_cast<int>(i), QString::fromStdString(texts[i]));
  }
}

SelectedSatellite MeasurementsView::Selected() const {
  return SelectedSatellite::OfItem(selectedSystem_, Group(selectedSystem_)->ItemIndex());
}

void MeasurementsView::SatelliteClick(SatSystem system, int item) {
  for (int s = 0; s < 4; ++s)
    if (kSatSystems[static_cast<size_t>(s)] != system)
      satGroups_[static_cast<size_t>(s)]->SetItemIndex(-1);
  Group(system)->SetItemIndex(item);
  selectedSystem_ = system;
  chart_->Clear(0);
  chart_->Clear(1);
  if (Group(system)->ItemText(item) == "N") {
    chart_->Redraw();  // a satellite not in the file: nothing to read
    MarkSlips();
    return;
  }
  if (!measurementMode_)
    DrawCombination();
  else if (smooth_->ItemIndex() == kSmoothNo)
    DrawObservable();
  else
    DrawSmoothing();
}

void MeasurementsView::MeasursClick(int item) {
  measurs_->SetItemIndex(item);
  measurementMode_ = true;
  DrawObservable();
}

void MeasurementsView::SmoothClick(int item) {
  smooth_->SetItemIndex(item);
  measurementMode_ = true;
  const bool raw = item == kSmoothNo;
  measurs_->setVisible(raw);
  measSmooth_->setVisible(!raw);
  if (raw)
    DrawObservable();
  else
    DrawSmoothing();
}

void MeasurementsView::MeasSmoothClick(int item) {
  measSmooth_->SetItemIndex(item);
  measurementMode_ = true;
  DrawSmoothing();
}

void MeasurementsView::ComObsClick() {
  // In front of the chart, near its top left corner.
  combPanel_->adjustSize();
  combPanel_->move(chart_->geometry().topLeft() + QPoint(40, 40));
  combPanel_->show();
  combPanel_->raise();
}

void MeasurementsView::CloseComObsClick() {
  combPanel_->hide();
}

void MeasurementsView::OkComObsClick() {
  measurementMode_ = false;
  combPanel_->hide();
  chart_->Clear(0);
  chart_->Clear(1);
  measurs_->SetItemIndex(-1);
  // SBAS and Galileo satellites wait for a click.
  if (selectedSystem_ == SatSystem::Gps || selectedSystem_ == SatSystem::Glonass)
    DrawCombination();
  else
    chart_->Redraw();
  MarkSlips();
}

void MeasurementsView::DrawObservable() {
  const MeasurementChart c = DrawObservableChart(ChartSourceOf(window.scan()), Selected(),
                                                 measurs_->ItemIndex(), [this](int p) {
                                                   gauge_->SetValue(p);
                                                   gauge_->repaint();
                                                 });
  ShowChart(c);
  if (c.complete) FinishGauge(true);
}

void MeasurementsView::DrawSmoothing() {
  const MeasurementChart c = DrawSmoothingChart(ChartSourceOf(window.scan()), Selected(),
                                                measSmooth_->ItemIndex(), [this](int p) {
                                                  gauge_->SetValue(p);
                                                  gauge_->repaint();
                                                });
  ShowChart(c);
  if (c.complete) FinishGauge(true);
}

void MeasurementsView::DrawCombination() {
  const int item = std::max(comObs_->ItemIndex(), 0);
  const MeasurementChart c = DrawCombinationChart(ChartSourceOf(window.scan()), Selected(),
                                                  static_cast<Combination>(item), [this](int p) {
                                                    gauge_->SetValue(p);
                                                    gauge_->repaint();
                                                  });
  ShowChart(c);
  if (c.complete) FinishGauge(false);
}

void MeasurementsView::ShowChart(const MeasurementChart& c) {
  if (c.drawn) {
    chart_->SetTitle(QString::fromStdString(c.title));
    chart_->SetLeftTitle(QString::fromStdString(c.title));
    if (c.rightTitle) chart_->SetRightTitle(QString::fromStdString(*c.rightTitle));
    chart_->SetPoints(0, c.values.x, c.values.y);
    chart_->SetPoints(1, c.elevations.x, c.elevations.y);
  }
  chart_->Redraw();
  MarkSlips();
  if (!c.message.empty()) window.ShowMessage(QString::fromStdString(c.message));
}

void MeasurementsView::SetSlipSource(ScanQuality* quality) {
  quality_ = quality;
  connect(quality_, &ScanQuality::Finished, this, [this] { MarkSlips(); });
}

void MeasurementsView::MarkSlips() {
  const int item = measurs_->ItemIndex();
  const bool phase = measurementMode_ && smooth_->ItemIndex() == kSmoothNo && item >= 0 &&
                     ObservableItems()[static_cast<size_t>(item)].kind == kPhase;
  const bool shown = chart_->PointCount(0) > 0 && (phase || !measurementMode_);
  if (!quality_ || !markSlips_->isChecked() || !shown) {
    if (!chart_->Marks().empty()) chart_->SetMarks({}, {});
    return;
  }
  const QualityReport* report = quality_->Report();
  if (!report) {
    quality_->RequestAny();  // marks when it is in hand
    return;
  }
  const SelectedSatellite sat = Selected();
  std::vector<double> x;
  for (int32_t epoch : report->SlipEpochs(sat.system, sat.number)) x.push_back(epoch);
  chart_->SetMarks(x, QColor(0xD6, 0x27, 0x28));
}

void MeasurementsView::FinishGauge(bool pauseFirst) {
  if (pauseFirst) Pause(window.pauses, kGaugePauseMs);
  gauge_->SetValue(100);
  gauge_->repaint();
  Pause(window.pauses, kGaugePauseMs);
  gauge_->SetValue(0);
  gauge_->repaint();
}

}  // namespace vnx::app
