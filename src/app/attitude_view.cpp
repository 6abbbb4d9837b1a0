#include "app/attitude_view.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/chart.h"
#include "app/main_window.h"

namespace vnx::app {

namespace {

const QColor kLime(0x00, 0xFF, 0x00);

Chart* MakeChart(const char* name, const char* leftTitle,
                 std::initializer_list<std::pair<const char*, QColor>> series) {
  auto* c = new Chart(name);
  c->SetTitle("");
  c->SetBottomTitle("Epoch number");
  if (leftTitle) c->SetLeftTitle(leftTitle);
  for (const auto& [title, colour] : series) c->AddSeries(title, colour, 3);
  c->SetLegendVisible(true);
  return c;
}

void SetSeries(Chart* chart, int series, const PointSeries& points) {
  chart->SetPoints(series, points.x, points.y);
}

}  // namespace

AttitudeView::AttitudeView(MainWindow& w) : ViewPanel(w, "PAtt") {
  setProperty("helpPage", "attitude.html");
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("Attitude");
  heading->setObjectName("StaticText31");
  heading->setAlignment(Qt::AlignCenter);
  heading->setStyleSheet("QLabel { color: white; background-color: navy; font-weight: bold; }");
  layout->addWidget(heading);
  auto* body = new QHBoxLayout;
  body->addWidget(BuildChoices());
  body->addWidget(BuildCharts(), 1);
  layout->addLayout(body, 1);
}

QRadioButton* AttitudeView::Radio(const char* name, const char* caption, bool checked) {
  auto* r = new QRadioButton(caption);
  r->setObjectName(name);
  r->setChecked(checked);
  return r;
}

QWidget* AttitudeView::BuildChoices() {
  auto* box = new QWidget;
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  auto* messages = new QGroupBox(" Messages ");
  messages->setObjectName("GroupBox28");
  auto* mv = new QVBoxLayout(messages);
  ar_ = Radio("RBAR", "AR", true);
  mr73_ = Radio("RBMR73", "mr");
  mr37_ = Radio("RBMR37", "MR");
  for (QRadioButton* r : {ar_, mr73_, mr37_}) mv->addWidget(r);
  connect(ar_, &QRadioButton::clicked, this, [this] { MessageChosen(AttitudeMessage::kAR); });
  connect(mr73_, &QRadioButton::clicked, this, [this] { MessageChosen(AttitudeMessage::kMr73); });
  connect(mr37_, &QRadioButton::clicked, this, [this] { MessageChosen(AttitudeMessage::kMr37); });

  gbmr_ = new QGroupBox;
  gbmr_->setObjectName("GBMR");
  auto* gv = new QVBoxLayout(gbmr_);
  bls_ = Radio("RBBLs", "Baselines", true);
  q_ = Radio("RBQ", "Q matrix");
  rms_ = Radio("RBRMS", "RMS");
  for (QRadioButton* r : {bls_, q_, rms_}) gv->addWidget(r);
  connect(bls_, &QRadioButton::clicked, this,
          [this] { BaselineChartChosen(BaselineChart::kBaselines); });
  connect(q_, &QRadioButton::clicked, this,
          [this] { BaselineChartChosen(BaselineChart::kQMatrix); });
  connect(rms_, &QRadioButton::clicked, this, [this] { BaselineChartChosen(BaselineChart::kRms); });
  gbmr_->hide();

  auto* baselines = new QGroupBox(" Baseline ");
  baselines->setObjectName("GBBLs");
  auto* bv = new QVBoxLayout(baselines);
  const char* names[] = {"RBMS1", "RBMS2", "RBMS3"};
  const char* captions[] = {"M-S1", "M-S2", "M-S3"};
  for (int k = 0; k < 3; ++k) {
    ms_[k] = Radio(names[k], captions[k], k == 0);
    bv->addWidget(ms_[k]);
    connect(ms_[k], &QRadioButton::clicked, this, [this, k] { BaselineChosen(k); });
  }

  auto* calculator = new QPushButton("Epoch --> Time");
  calculator->setObjectName("BitBtn3");
  calculator->setToolTip("Epoch number --> time calculator");
  connect(calculator, &QPushButton::clicked, this, [this] { window.OpenCalculator(); });
  close_ = new QPushButton("Close");
  close_->setObjectName("BBCloseAtt");
  connect(close_, &QPushButton::clicked, this, [this] { CloseView(); });
  for (QWidget* x : std::initializer_list<QWidget*>{messages, gbmr_, baselines}) v->addWidget(x);
  v->addStretch(1);
  v->addWidget(calculator);
  v->addWidget(close_);
  return box;
}

QWidget* AttitudeView::BuildCharts() {
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  par_ = new QWidget;
  par_->setObjectName("PAR");
  auto* pv = new QVBoxLayout(par_);
  pv->setContentsMargins(0, 0, 0, 0);
  prh_ = MakeChart("ChPRH", "Angle [degrees]",
                   {{"Pitch", Qt::red}, {"Roll", QColor(0, 160, 0)}, {"Heading", Qt::blue}});
  pv->addWidget(prh_);

  pmr_ = new QWidget;
  pmr_->setObjectName("PMR");
  auto* mv = new QVBoxLayout(pmr_);
  mv->setContentsMargins(0, 0, 0, 0);
  mrCharts_ = new QStackedWidget;
  qChart_ = MakeChart(
      "ChQ", nullptr,
      {{"q00", Qt::red}, {"q01", QColor(0, 160, 0)}, {"q02", Qt::blue}, {"q12", Qt::magenta}});
  blsChart_ = MakeChart("ChBLs", "BaseLine [m]",
                        {{"Nose", Qt::red}, {"Right", QColor(0, 160, 0)}, {"Belly", Qt::blue}});
  rmsChart_ = MakeChart("ChRMS", "RMS [m]",
                        {{"M-S1", Qt::red}, {"M-S2", QColor(0, 160, 0)}, {"M-S3", Qt::blue}});
  for (Chart* c : {qChart_, blsChart_, rmsChart_}) mrCharts_->addWidget(c);
  mrCharts_->setCurrentWidget(blsChart_);
  mv->addWidget(mrCharts_);
  pmr_->hide();

  timeOfDay_ = MakeChart("ChTimeOfDay", nullptr, {{"Time", QColor(0, 160, 0)}});
  timeOfDay_->SetTitle("Time of day [s]");
  timeOfDay_->SetLegendVisible(false);
  flag_ = MakeChart("ChFlag", nullptr, {{"Valid", kLime}, {"Not valid components of Q", Qt::red}});
  solTip_ = MakeChart("ChSolTip", nullptr, {{"Fixed", kLime}, {"Float   solution types", Qt::red}});
  // Points lie at 1 and 0 only; the legend goes below them.
  for (Chart* c : {flag_, solTip_}) {
    c->SetLeftRange(-0.5, 1.5);
    c->SetLegendBottom();
  }
  grid->addWidget(par_, 0, 0, 1, 3);
  grid->addWidget(pmr_, 0, 0, 1, 3);
  grid->addWidget(timeOfDay_, 1, 0);
  grid->addWidget(flag_, 1, 1);
  grid->addWidget(solTip_, 1, 2);
  grid->setRowStretch(0, 3);
  grid->setRowStretch(1, 2);
  return box;
}

void AttitudeView::Open() {
  window.HideViews();
  window.ShowInFront(this);
  // The angles panel is shown: its message is the one drawn.
  ar_->setChecked(true);
  par_->show();
  pmr_->hide();
  gbmr_->hide();
  Draw();
  close_->setFocus();
}

void AttitudeView::ResetForScan() {
  ClearCharts();
}

void AttitudeView::MessageChosen(AttitudeMessage m) {
  const bool ar = m == AttitudeMessage::kAR;
  par_->setVisible(ar);
  pmr_->setVisible(!ar);
  gbmr_->setVisible(!ar);
  if (m == AttitudeMessage::kMr73) {
    bls_->show();
    ShowBaselineChart(BaselineChart::kBaselines);
  } else if (m == AttitudeMessage::kMr37) {
    // "MR" carries no baseline vectors.
    bls_->hide();
    ShowBaselineChart(BaselineChart::kQMatrix);
  }
  Draw();
}

void AttitudeView::ShowBaselineChart(BaselineChart c) {
  QRadioButton* radios[] = {bls_, q_, rms_};
  Chart* charts[] = {blsChart_, qChart_, rmsChart_};
  radios[static_cast<int>(c)]->setChecked(true);
  mrCharts_->setCurrentWidget(charts[static_cast<int>(c)]);
}

void AttitudeView::BaselineChartChosen(BaselineChart c) {
  ShowBaselineChart(c);
  if (c == BaselineChart::kBaselines) ms_[0]->setChecked(true);
  Draw();
}

void AttitudeView::BaselineChosen(int baseline) {
  ms_[baseline]->setChecked(true);
  Draw();
}

AttitudeChoice AttitudeView::Choice() const {
  AttitudeChoice c;
  c.message = mr73_->isChecked()   ? AttitudeMessage::kMr73
              : mr37_->isChecked() ? AttitudeMessage::kMr37
                                   : AttitudeMessage::kAR;
  c.chart = q_->isChecked()     ? BaselineChart::kQMatrix
            : rms_->isChecked() ? BaselineChart::kRms
                                : BaselineChart::kBaselines;
  c.baseline = ms_[1]->isChecked() ? 1 : ms_[2]->isChecked() ? 2 : 0;
  return c;
}

void AttitudeView::ClearCharts() {
  for (Chart* c : {timeOfDay_, solTip_, flag_, rmsChart_, blsChart_, qChart_, prh_}) c->ClearAll();
}

void AttitudeView::Draw() {
  ClearCharts();
  const AttitudeCharts a = DrawAttitudeCharts(window.scan(), Choice());
  SetSeries(timeOfDay_, 0, a.timeOfDay);
  SetSeries(flag_, 0, a.valid);
  SetSeries(flag_, 1, a.notValid);
  SetSeries(solTip_, 0, a.fixed);
  SetSeries(solTip_, 1, a.floating);
  for (int k = 0; k < 3; ++k) {
    SetSeries(prh_, k, a.angles[static_cast<size_t>(k)]);
    SetSeries(blsChart_, k, a.baselines[static_cast<size_t>(k)]);
    SetSeries(rmsChart_, k, a.rms[static_cast<size_t>(k)]);
  }
  for (int k = 0; k < 4; ++k) SetSeries(qChart_, k, a.q[static_cast<size_t>(k)]);
  for (Chart* c : {timeOfDay_, solTip_, flag_, rmsChart_, blsChart_, qChart_, prh_}) c->Redraw();
  if (!a.message.empty()) window.ShowMessage(QString::fromStdString(a.message));
}

}  // namespace vnx::app
