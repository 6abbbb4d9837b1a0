#include "app/positions_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/chart.h"
#include "app/item_radio_group.h"
#include "app/main_window.h"

namespace vnx::app {

namespace {

// Coordinates of a few million metres and event intervals of minutes vary in their last digits.
constexpr int kLabelDigits = 10;
constexpr int kDopItem = 6;

struct SeriesStyle {
  const char* name;
  QColor color;
};

// Series k holds solution type k + 1.
const SeriesStyle kSolutionSeries[kSolutionTypeCount] = {{"STAND_ALONE", QColor(255, 0, 0)},
                                                         {"CODE_DIFF", QColor(0, 128, 0)},
                                                         {"PHASE_DIFF_FLOAT", QColor(0, 0, 255)},
                                                         {"PHASE_DIFF_FIXED", QColor(128, 0, 128)}};

const SeriesStyle kDopSeries[kDopCount] = {{"HDOP", QColor(255, 0, 255)},
                                           {"VDOP", QColor(0, 128, 128)},
                                           {"TDOP", QColor(255, 0, 0)},
                                           {"PDOP", QColor(128, 0, 128)},
                                           {"GDOP", QColor(0, 0, 255)}};

const char* const kDopBoxes[kDopCount] = {"CBhdop", "CBvdop", "CBtdop", "CBpdop", "CBgdop"};

Chart* MakeChart(const char* name, const char* title, const SeriesStyle* series, int n) {
  auto* chart = new Chart(name);
  chart->SetTitle(title);
  chart->SetBottomTitle("Epoch number");
  chart->SetLeftPrecision(kLabelDigits);
  for (int k = 0; k < n; ++k) chart->AddSeries(series[k].name, series[k].color, 3);
  chart->SetLegendVisible(true);
  chart->SetLegendBottom();
  return chart;
}

QCheckBox* Box(const QString& name, const QString& caption, bool checked) {
  auto* b = new QCheckBox(caption);
  b->setObjectName(name);
  b->setChecked(checked);
  return b;
}

// A panel holding one radio group, as the window has them.
QWidget* Holder(const char* name, QWidget* content) {
  auto* panel = new QWidget;
  panel->setObjectName(name);
  auto* l = new QHBoxLayout(panel);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(content);
  return panel;
}

}  // namespace

PositionsView::PositionsView(MainWindow& w) : ViewPanel(w, "PPos") {
  setProperty("helpPage", "positions.html");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildChoices());
  chart_ = MakeChart("ChartPos", "Solutions", kSolutionSeries, kSolutionTypeCount);
  layout->addWidget(chart_, 1);
  layout->addWidget(BuildDopPanel(), 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* calculator = new QPushButton("Epoch --> Time");
  calculator->setObjectName("BitBtn30");
  calculator->setToolTip("Epoch number --> time calculator");
  connect(calculator, &QPushButton::clicked, this, [this] { window.OpenCalculator(); });
  close_ = new QPushButton("Close");
  close_->setObjectName("BBClosePos");
  connect(close_, &QPushButton::clicked, this, [this] { CloseView(); });
  buttons->addWidget(calculator);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
}

QWidget* PositionsView::BuildChoices() {
  auto* row = new QWidget;
  auto* l = new QHBoxLayout(row);
  l->setContentsMargins(0, 0, 0, 0);
  quantity_ = new ItemRadioGroup("RGXYZ", QString(),
                                 {"X", "Y", "Z", "RMS_hor", "RMS_ver", "SEP", "DOP"}, 7);
  quantity_->SetItemIndex(0);
  connect(quantity_, &ItemRadioGroup::Clicked, this, [this](int item) { QuantityClick(item); });
  posVel_ = new ItemRadioGroup("RGPosVel", QString(), {"Pos", "Vel"}, 2);
  posVel_->SetItemIndex(0);
  connect(posVel_, &ItemRadioGroup::Clicked, this, [this](int item) { PosVelClick(item); });
  posVelPanel_ = Holder("PPosVel", posVel_);
  solTypes_ = new QGroupBox("Solution Type");
  solTypes_->setObjectName("GBSolTyp");
  auto* types = new QHBoxLayout(solTypes_);
  for (int k = 0; k < kSolutionTypeCount; ++k) {
    QCheckBox* b = Box(QString("CBSolTyp%1").arg(k + 1), QString::number(k + 1), k == 0);
    connect(b, &QCheckBox::clicked, this, [this] { SolutionTypeClick(); });
    typeBoxes_[static_cast<size_t>(k)] = b;
    types->addWidget(b);
  }
  l->addWidget(Holder("PXYZ", quantity_));
  l->addWidget(posVelPanel_);
  l->addWidget(solTypes_);
  l->addStretch(1);
  return row;
}

QWidget* PositionsView::BuildDopPanel() {
  dopPanel_ = new QWidget;
  dopPanel_->setObjectName("PDops");
  auto* l = new QHBoxLayout(dopPanel_);
  l->setContentsMargins(0, 0, 0, 0);
  dopChart_ = MakeChart("ChDops", "Dilution of Precision", kDopSeries, kDopCount);
  dopChart_->SetLeftTitle(kDopAxisTitle);
  dopBoxes_ = new QGroupBox(" DOP ");
  dopBoxes_->setObjectName("GBDops");
  auto* boxes = new QVBoxLayout(dopBoxes_);
  for (int k = 0; k < kDopCount; ++k) {
    QCheckBox* b = Box(kDopBoxes[k], kDopSeries[k].name, k == kHdop);
    connect(b, &QCheckBox::clicked, this, [this] { DopClick(); });
    dopChecks_[static_cast<size_t>(k)] = b;
    boxes->addWidget(b);
  }
  boxes->addStretch(1);
  l->addWidget(dopChart_, 1);
  l->addWidget(dopBoxes_);
  dopPanel_->hide();
  return dopPanel_;
}

void PositionsView::Open() {
  window.HideViews();
  window.ShowInFront(this);
  repaint();
  for (int k = 0; k < kSolutionTypeCount; ++k)
    typeBoxes_[static_cast<size_t>(k)]->setChecked(k == 0);
  posVel_->SetItemIndex(0);
  quantity_->SetItemIndex(0);
  ShowSolutionControls(true);
  DrawSolutions();
  chart_->repaint();
  close_->setFocus();
}

void PositionsView::QuantityClick(int item) {
  if (quantity_->ItemIndex() != item) quantity_->SetItemIndex(item);
  if (item == kDopItem) {
    ShowSolutionControls(false);
    for (int k = 0; k < kDopCount; ++k) dopChecks_[static_cast<size_t>(k)]->setChecked(k == kHdop);
    DrawDops();
  } else {
    ShowSolutionControls(true);
    DrawSolutions();
  }
}

void PositionsView::PosVelClick(int item) {
  if (posVel_->ItemIndex() != item) posVel_->SetItemIndex(item);
  DrawSolutions();
}

void PositionsView::SolutionTypeClick() {
  DrawSolutions();
}
void PositionsView::DopClick() {
  DrawDops();
}

void PositionsView::ShowSolutionControls(bool solutions) {
  dopPanel_->setVisible(!solutions);
  dopBoxes_->setVisible(!solutions);
  chart_->setVisible(solutions);
  solTypes_->setVisible(solutions);
  posVelPanel_->setVisible(solutions);
}

void PositionsView::DrawSolutions() {
  chart_->ClearAll();
  SolutionRequest request;
  request.item = static_cast<SolutionItem>(std::min(quantity_->ItemIndex(), kDopItem - 1));
  request.velocity = posVel_->ItemIndex() == 1;
  for (int k = 0; k < kSolutionTypeCount; ++k)
    request.types[static_cast<size_t>(k)] = typeBoxes_[static_cast<size_t>(k)]->isChecked();
  const SolutionChart result = SolutionSeries(window.scan(), request);
  chart_->SetLeftTitle(QString::fromStdString(SolutionAxisTitle(request)));
  for (int k = 0; k < kSolutionTypeCount; ++k)
    chart_->SetPoints(k, result.series[static_cast<size_t>(k)].x,
                      result.series[static_cast<size_t>(k)].y);
  chart_->Redraw();
  if (!result.message.empty()) window.ShowMessage(QString::fromStdString(result.message));
}

void PositionsView::DrawDops() {
  dopChart_->ClearAll();
  std::array<bool, kDopCount> shown{};
  for (int k = 0; k < kDopCount; ++k)
    shown[static_cast<size_t>(k)] = dopChecks_[static_cast<size_t>(k)]->isChecked();
  const DopChart result = DopSeries(window.scan(), shown);
  for (int k = 0; k < kDopCount; ++k)
    dopChart_->SetPoints(k, result.series[static_cast<size_t>(k)].x,
                         result.series[static_cast<size_t>(k)].y);
  dopChart_->Redraw();
  if (!result.message.empty()) window.ShowMessage(QString::fromStdString(result.message));
}

}  // namespace vnx::app
