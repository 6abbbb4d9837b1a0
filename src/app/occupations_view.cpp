#include "app/occupations_view.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/chart.h"
#include "app/main_window.h"
#include "engine/views/occupations.h"

namespace vnx::app {

OccupationsView::OccupationsView(MainWindow& w) : ViewPanel(w, "POccup") {
  setProperty("helpPage", "occupations.html");
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget;
  list_->setObjectName("LBOccup");
  list_->setFont(QFont("Monospace"));
  list_->setStyleSheet("QListWidget { background-color: #008000; color: white; }");
  layout->addWidget(list_, 3);
  chart_ = new Chart("ChOccup");
  chart_->SetTitle("Occupations");
  chart_->SetBottomTitle("Epoch number");
  chart_->SetLeftLabelsVisible(false);
  chart_->AddSeries("Static", QColor(0, 150, 150), 6, Chart::Marker::Square);
  chart_->AddSeries("Kinematic", QColor(0, 255, 0), 3, Chart::Marker::Square);
  chart_->SetLegendVisible(true);
  layout->addWidget(chart_, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* calculator = new QPushButton("Epoch --> Time");
  calculator->setObjectName("BitBtn31");
  calculator->setToolTip("Epoch number --> time calculator");
  connect(calculator, &QPushButton::clicked, this, [this] { window.OpenCalculator(); });
  close_ = new QPushButton("Close");
  close_->setObjectName("BBCloseOcc");
  connect(close_, &QPushButton::clicked, this, [this] { window.ShowStartPanel(); });
  buttons->addWidget(calculator);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
}

void OccupationsView::ResetForScan() {
  list_->clear();
}

void OccupationsView::Open() {
  window.HideViews();
  if (!FillList()) return;
  DrawBand();
  window.ShowInFront(this);
  close_->setFocus();
}

bool OccupationsView::FillList() {
  list_->clear();
  const OccupationList result = BuildOccupationList(window.scan());
  QStringList lines;
  lines.reserve(static_cast<int>(result.lines.size()));
  for (const std::string& l : result.lines) lines << QString::fromStdString(l);
  list_->addItems(lines);
  if (!result.message.empty()) window.ShowMessage(QString::fromStdString(result.message));
  return result.shown;
}

void OccupationsView::DrawBand() {
  chart_->SetLeftRange(-1, 1);
  chart_->ClearAll();
  const ScanResult ctx = window.scan();
  chart_->SetLeftTitle(QString::fromStdString(ctx.HeaderInfo()[kHeaderReceiverId]), 0);
  const OccupationBand band = BuildOccupationBand(ctx);
  chart_->SetPoints(0, band.staticEpochs.x, band.staticEpochs.y);
  chart_->SetPoints(1, band.kinematicEpochs.x, band.kinematicEpochs.y);
  chart_->Redraw();
  if (!band.message.empty()) window.ShowMessage(QString::fromStdString(band.message));
}

}  // namespace vnx::app
