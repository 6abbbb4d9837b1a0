#include "app/times_view.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/chart.h"
#include "app/main_window.h"

namespace vnx::app {

namespace {

QLabel* Label(const char* name, const char* caption) {
  auto* l = new QLabel(caption);
  l->setObjectName(name);
  l->setFont(QFont("Monospace"));
  return l;
}

}  // namespace

TimesView::TimesView(MainWindow& w) : ViewPanel(w, "PVTime") {
  setProperty("helpPage", "times.html");
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  epochs_ = Label("STNEpochs", "Epochs");
  epochs_->setStyleSheet("QLabel { color: white; background-color: navy; font-weight: bold; }");
  epochs_->setAlignment(Qt::AlignCenter);
  start_ = Label("STStart", "Start Epoch");
  finish_ = Label("STFinish", "Finish Epoch");
  interval_ = Label("STInterv", "Interval");
  gaps_ = Label("STGap", "Gaps");
  auto* heading = Label("StaticText38", "     Epoch Date/Time            #Epoch");
  list_ = new QListWidget;
  list_->setObjectName("LBEpochs");
  list_->setFont(QFont("Monospace"));
  list_->setUniformItemSizes(true);
  for (QWidget* x :
       std::initializer_list<QWidget*>{epochs_, start_, finish_, interval_, gaps_, heading})
    left->addWidget(x);
  left->addWidget(list_, 1);
  auto* close = new QPushButton("Close Epochs window");
  close->setObjectName("BBVCloseTimes");
  connect(close, &QPushButton::clicked, this, [this] { CloseView(); });
  left->addWidget(close);
  layout->addLayout(left, 2);
  chart_ = new Chart("ChTimes");
  chart_->SetTitle("Time differencies between Epochs (sec)");
  chart_->SetBottomTitle("Epoch number");
  chart_->SetLeftTitle("Interval [s]");
  chart_->AddSeries("LineSeries3", QColor(0, 160, 0), 2);
  chart_->SetLegendVisible(false);
  layout->addWidget(chart_, 3);
}

void TimesView::ResetForScan() {
  list_->clear();
  chart_->ClearAll();
  chart_->Redraw();
  analysis_ = EpochAnalysis{};
  // Every figure of the last scan goes; a scan without epochs leaves the designed captions.
  epochs_->setText("Epochs");
  start_->setText("Start Epoch");
  finish_->setText("Finish Epoch");
  interval_->setText("Interval");
  gaps_->setText("Gaps");
}

bool TimesView::RunAnalysis() {
  list_->clear();
  chart_->Clear(0);
  analysis_ = RunEpochAnalysis(window.scan(), [this](int percent) {
    window.SetGauge(percent);
    window.repaint();
  });
  list_->setUpdatesEnabled(false);
  QStringList lines;
  lines.reserve(static_cast<int>(analysis_.lines.size()));
  for (const auto& l : analysis_.lines) lines << QString::fromStdString(l);
  list_->addItems(lines);
  list_->setUpdatesEnabled(true);
  std::vector<double> x, y;
  x.reserve(analysis_.steps.size());
  y.reserve(analysis_.steps.size());
  for (const TimeStepPoint& p : analysis_.steps) {
    x.push_back(p.epoch);
    y.push_back(p.seconds);
  }
  chart_->SetPoints(0, x, y);
  chart_->Redraw();
  if (!analysis_.ok) window.ShowMessage(QString::fromStdString(analysis_.message));
  return analysis_.ok;
}

void TimesView::Open() {
  window.HideViews();
  const ScanResult ctx = window.scan();
  if (list_->count() > 0) {
    epochs_->setText(QString("Epochs (%1)").arg(ctx.EpochCount()));
    start_->setText("Start   " + list_->item(0)->text());
    finish_->setText("Finish " + list_->item(list_->count() - 1)->text());
    interval_->setText(QString("Interval  %1 ms").arg(ctx.EpochInterval()));
    gaps_->setText(QString("Gaps  %1").arg(analysis_.gapCount));
  } else {
    window.ShowMessage("There is only Header in file!");
  }
  window.ShowInFront(this);
  list_->setFocus();
}

}  // namespace vnx::app
