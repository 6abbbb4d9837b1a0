#include "app/occupations_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/chart.h"
#include "app/main_window.h"
#include "engine/views/occupations.h"

namespace vnx::app {

OccupationsView::OccupationsView(MainWindow& w) : ViewPanel(w, "POccup") {
  setProperty("helpPage", "occupations.html");
  auto* layout = new QVBoxLayout(this);
  list_ = new QTableWidget(0, kOccupationColumnCount);
  list_->setObjectName("LBOccup");
  QStringList headings;
  for (const OccupationColumn& c : kOccupationColumns) headings << c.heading;
  list_->setHorizontalHeaderLabels(headings);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setAlternatingRowColors(true);
  // Dark text on light green rows: the list's green, readable.
  list_->setStyleSheet(
      "QTableWidget { background-color: #e0f4e0; alternate-background-color: #c8eac8;"
      " color: black; gridline-color: #90c090; }");
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
  connect(close_, &QPushButton::clicked, this, [this] { CloseView(); });
  buttons->addWidget(calculator);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
}

void OccupationsView::ResetForScan() {
  list_->setRowCount(0);
}

void OccupationsView::Open() {
  window.HideViews();
  if (!FillList()) return;
  DrawBand();
  window.ShowInFront(this);
  close_->setFocus();
}

bool OccupationsView::FillList() {
  const OccupationList result = BuildOccupationList(window.scan());
  list_->setRowCount(static_cast<int>(result.rows.size()));
  for (int r = 0; r < list_->rowCount(); ++r) {
    for (int c = 0; c < kOccupationColumnCount; ++c) {
      auto* cell = new QTableWidgetItem(
          QString::fromStdString(result.rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
      const bool right = kOccupationColumns[static_cast<size_t>(c)].right;
      cell->setTextAlignment(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
      list_->setItem(r, c, cell);
    }
  }
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
