#include "app/events_view.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/chart.h"
#include "app/main_window.h"

namespace vnx::app {

namespace {

// Coordinates of a few million metres and event intervals of minutes vary in their last digits.
constexpr int kLabelDigits = 10;
const QColor kGreen(0, 128, 0);
const QColor kPurple(128, 0, 128);

QCheckBox* Box(const char* name, const char* caption, bool checked) {
  auto* b = new QCheckBox(caption);
  b->setObjectName(name);
  b->setChecked(checked);
  return b;
}

Chart* MakeChart(const char* name, const char* title, const char* seriesA, const char* seriesB) {
  auto* chart = new Chart(name);
  chart->SetTitle(title);
  chart->SetKeyAxis(Chart::KeyAxis::Plain);  // event numbers, not epochs
  chart->SetBottomTitle("Event number");
  chart->SetLeftPrecision(kLabelDigits);
  chart->AddSeries(seriesA, kGreen, 3);
  chart->AddSeries(seriesB, kPurple, 3);
  chart->SetLegendVisible(true);
  return chart;
}

}  // namespace

EventsView::EventsView(MainWindow& w) : ViewPanel(w, "PEvents") {
  setProperty("helpPage", "events.html");
  auto* layout = new QVBoxLayout(this);
  xa_ = Box("CBXA", "XA", true);
  xb_ = Box("CBXB", "XB", false);
  za_ = Box("CBZA", "ZA", true);
  zb_ = Box("CBZB", "ZB", false);
  for (QCheckBox* b : {xa_, xb_})
    connect(b, &QCheckBox::clicked, this, [this] { DrawIntervals(); });
  for (QCheckBox* b : {za_, zb_}) connect(b, &QCheckBox::clicked, this, [this] { DrawOffsets(); });
  intervals_ = MakeChart("ChartEvents", "External Events   (T[i+1]-T[i]) [ms]", "XA", "XB");
  intervals_->SetLeftTitle("Interval [ms]");
  offsets_ = MakeChart("ChartZAZB", "PPS time offset", "ZA", "ZB");
  offsets_->SetLeftTitle("Offset [nanoseconds]");
  layout->addWidget(BuildChartRow("Panel5", xa_, xb_, intervals_), 1);
  layout->addWidget(BuildChartRow("Panel7", za_, zb_, offsets_), 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* calculator = new QPushButton("Epoch --> Time");
  calculator->setObjectName("BitBtn32");
  calculator->setToolTip("Epoch number --> time calculator");
  connect(calculator, &QPushButton::clicked, this, [this] { window.OpenCalculator(); });
  close_ = new QPushButton("Close");
  close_->setObjectName("BBCloseEE");
  connect(close_, &QPushButton::clicked, this, [this] { CloseView(); });
  buttons->addWidget(calculator);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
}

QWidget* EventsView::BuildChartRow(const char* panel, QCheckBox* a, QCheckBox* b, Chart* chart) {
  auto* row = new QWidget;
  auto* l = new QHBoxLayout(row);
  l->setContentsMargins(0, 0, 0, 0);
  auto* boxes = new QWidget;
  boxes->setObjectName(panel);
  auto* v = new QVBoxLayout(boxes);
  v->addWidget(a);
  v->addWidget(b);
  v->addStretch(1);
  l->addWidget(boxes);
  l->addWidget(chart, 1);
  return row;
}

void EventsView::Open() {
  window.HideViews();
  window.ShowInFront(this);
  DrawIntervals();
  DrawOffsets();
  close_->setFocus();
}

void EventsView::DrawIntervals() {
  Show(*intervals_, IntervalSeries(window.scan(), xa_->isChecked(), xb_->isChecked()));
}

void EventsView::DrawOffsets() {
  Show(*offsets_, OffsetSeries(window.scan(), za_->isChecked(), zb_->isChecked()));
}

void EventsView::Show(Chart& chart, const EventChart& result) {
  chart.ClearAll();
  for (int k = 0; k < 2; ++k)
    chart.SetPoints(k, result.series[static_cast<size_t>(k)].x,
                    result.series[static_cast<size_t>(k)].y);
  if (result.axis) {
    if (result.axis->automatic)
      chart.SetLeftAutomatic();
    else
      chart.SetLeftRange(result.axis->min, result.axis->max);
  }
  chart.Redraw();
  if (!result.message.empty()) window.ShowMessage(QString::fromStdString(result.message));
}

}  // namespace vnx::app
