#include "app/position_scatter_view.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/chart.h"
#include "app/main_window.h"
#include "app/widgets.h"

namespace vnx::app {

namespace {

enum ReferenceItem { kMean = 0, kXyz = 1, kGeodetic = 2 };

// Millimetres, without the minus of a value that rounds to zero.
QString Metres(double v) {
  return QString::number(std::fabs(v) < 0.0005 ? 0.0 : v, 'f', 3);
}

}  // namespace

PositionScatterView::PositionScatterView(MainWindow& w) : ViewPanel(w, "PPosScatter") {
  setProperty("helpPage", "position_scatter.html");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildControls());
  figures_ = new QLabel;
  figures_->setObjectName("STPosFigures");
  figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  figures_->setWordWrap(true);
  layout->addWidget(figures_);

  auto* charts = new QHBoxLayout;
  deviations_ = new Chart("ChENU");
  deviations_->SetTitle("Deviations from the reference");
  deviations_->SetLeftTitle("Deviation [m]");
  deviations_->AddSeries("East", QColor(200, 0, 0), 6);
  deviations_->AddSeries("North", QColor(0, 0, 200), 6);
  deviations_->AddSeries("Up", QColor(0, 140, 0), 6);
  deviations_->SetLegendVisible(true);
  scatter_ = new Chart("ChEN");
  scatter_->SetKeyAxis(Chart::KeyAxis::Plain);
  scatter_->SetTitle("Horizontal scatter");
  scatter_->SetBottomTitle("East [m]");
  scatter_->SetLeftTitle("North [m]");
  scatter_->AddSeries("Positions", QColor(0, 0, 200), 6);
  scatter_->AddSeries("Mean", QColor(200, 0, 0), 10, Chart::Marker::Square);
  scatter_->SetEqualScale(true);
  scatter_->SetLegendVisible(true);
  charts->addWidget(deviations_, 3);
  charts->addWidget(scatter_, 2);
  layout->addLayout(charts, 1);
}

QWidget* PositionScatterView::BuildControls() {
  auto* row = new QWidget;
  auto* l = new QHBoxLayout(row);
  l->setContentsMargins(0, 0, 0, 0);
  reference_ = new QComboBox;
  reference_->setObjectName("CBPosReference");
  reference_->addItems({"Reference: mean position", "Reference: X Y Z [m]",
                        "Reference: latitude longitude [deg] height [m]"});
  typed_ = new QLineEdit;
  typed_->setObjectName("EPosReference");
  typed_->setPlaceholderText("three numbers");
  typed_->setEnabled(false);
  auto* apply = NamedButton("BBPosApply", "Apply");
  auto* close = NamedButton("BBClosePosScatter", "Close");
  connect(reference_, &QComboBox::activated, this, [this](int item) {
    typed_->setEnabled(item != kMean);
    if (item == kMean) Draw();
  });
  connect(apply, &QPushButton::clicked, this, [this] { Draw(); });
  connect(typed_, &QLineEdit::returnPressed, this, [this] { Draw(); });
  connect(close, &QPushButton::clicked, this, [this] { CloseView(); });
  l->addWidget(reference_);
  l->addWidget(typed_, 1);
  l->addWidget(apply);
  l->addWidget(close);
  return row;
}

void PositionScatterView::Open() {
  window.HideViews();
  window.ShowInFront(this);
  Draw();
}

QString PositionScatterView::Figures() const {
  return figures_->text();
}

bool PositionScatterView::Draw() {
  DeviationRequest request;
  const int item = reference_->currentIndex();
  if (item != kMean) {
    request.reference = ParseReference(typed_->text().toStdString(), item == kGeodetic);
    if (!request.reference) {
      window.ShowMessage(item == kGeodetic
                             ? "Type the reference as latitude, longitude (degrees) and height (m)"
                             : "Type the reference as X, Y and Z (m)");
      return false;
    }
  }
  const PositionDeviations d = DeviationSeries(window.scan(), request);
  deviations_->SetPoints(0, d.east.x, d.east.y);
  deviations_->SetPoints(1, d.north.x, d.north.y);
  deviations_->SetPoints(2, d.up.x, d.up.y);
  std::vector<int32_t> epochs;
  epochs.reserve(d.Count());
  for (double e : d.east.x) epochs.push_back(static_cast<int32_t>(e));
  scatter_->SetPoints(0, d.east.y, d.north.y, epochs);
  const AxisFigures& e = d.figures[0];
  const AxisFigures& n = d.figures[1];
  const AxisFigures& u = d.figures[2];
  if (d.Count() > 0)
    scatter_->SetPoints(1, {e.mean}, {n.mean});
  else
    scatter_->Clear(1);
  scatter_->SetCircle(e.mean, n.mean, d.Count() > 1 ? d.drms2 : 0, QColor(0, 140, 0));
  deviations_->Redraw();
  scatter_->Redraw();
  const Geodetic& g = d.referenceGeodetic;
  figures_->setText(
      d.Count() == 0
          ? QString("No positions in this log")
          : QString("%1 positions.  Reference X %2  Y %3  Z %4 m  (lat %5°  lon %6°  h %7 m).  "
                    "Mean E %8  N %9  U %10 m;  SD E %11  N %12  U %13 m;  2DRMS %14 m "
                    "(green circle)")
                .arg(d.Count())
                .arg(d.reference[0], 0, 'f', 3)
                .arg(d.reference[1], 0, 'f', 3)
                .arg(d.reference[2], 0, 'f', 3)
                .arg(g.lat / kDegree, 0, 'f', 8)
                .arg(g.lon / kDegree, 0, 'f', 8)
                .arg(g.height, 0, 'f', 3)
                .arg(Metres(e.mean))
                .arg(Metres(n.mean))
                .arg(Metres(u.mean))
                .arg(Metres(e.sd))
                .arg(Metres(n.sd))
                .arg(Metres(u.sd))
                .arg(Metres(d.drms2)));
  if (!d.message.empty()) window.ShowMessage(QString::fromStdString(d.message));
  return true;
}

}  // namespace vnx::app
