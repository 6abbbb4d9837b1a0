#include "app/signal_elevation_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/chart.h"
#include "app/main_window.h"
#include "app/widgets.h"
#include "engine/views/sky_views.h"

namespace vnx::app {

SignalElevationView::SignalElevationView(MainWindow& w) : ViewPanel(w, "PSnrEl") {
  setProperty("helpPage", "signal_elevation.html");
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  for (size_t s = 0; s < kSatSystemCount; ++s) {
    auto* box = new QCheckBox(kSatSystemInfo[s].shortName);
    box->setObjectName(QString("CBSnrEl%1").arg(kSatSystemInfo[s].shortName));
    box->setChecked(true);
    connect(box, &QCheckBox::clicked, this, [this] { Draw(); });
    systems_[s] = box;
    row->addWidget(box);
  }
  signal_ = new QComboBox;
  signal_->setObjectName("CBSnrElSignal");
  for (int s = 0; s < kSignalCount; ++s) signal_->addItem(InfoOf(ObservableOf(s, kSnr)).caption);
  connect(signal_, &QComboBox::activated, this, [this] { Draw(); });
  row->addWidget(signal_);
  row->addStretch(1);
  auto* close = NamedButton("BBCloseSnrEl", "Close");
  connect(close, &QPushButton::clicked, this, [this] { CloseView(); });
  row->addWidget(close);
  layout->addLayout(row);

  chart_ = new Chart("ChSnrEl");
  chart_->SetKeyAxis(Chart::KeyAxis::Plain);
  chart_->SetTitle("Signal strength vs elevation");
  chart_->SetBottomTitle("Elevation [degrees]");
  for (const SatSystemInfo& info : kSatSystemInfo)
    chart_->AddSeries(info.shortName, QColor::fromRgb(info.colour));
  // The means darker than the points, so that they stand out from the cloud.
  for (const SatSystemInfo& info : kSatSystemInfo) {
    const int k = chart_->AddSeries(QString(info.shortName) + " mean per 5°",
                                    QColor::fromRgb(info.colour).darker(160));
    chart_->SetSeriesLine(k, true);
  }
  chart_->SetLegendVisible(true);
  layout->addWidget(chart_, 1);
}

void SignalElevationView::Open() {
  window.HideViews();
  window.ShowInFront(this);
  Draw();
}

void SignalElevationView::Draw() {
  SkySelection sel;
  for (size_t s = 0; s < kSatSystemCount; ++s) sel.systems[s] = systems_[s]->isChecked();
  sel.signal = signal_->currentIndex();
  const SnrElevation result = SnrAgainstElevation(ChartSourceOf(window.scan()), sel);
  const Observable o = ObservableOf(sel.signal, kSnr);
  chart_->SetLeftTitle(QString("%1 [dB-Hz]").arg(InfoOf(o).caption));
  for (int s = 0; s < kSatSystemCount; ++s) {
    const auto i = static_cast<size_t>(s);
    chart_->SetPoints(s, result.points[i].x, result.points[i].y, result.epochs[i]);
    chart_->SetPoints(kSatSystemCount + s, result.means[i].x, result.means[i].y);
  }
  chart_->Redraw();
  if (!result.message.empty()) window.ShowMessage(QString::fromStdString(result.message));
}

}  // namespace vnx::app
