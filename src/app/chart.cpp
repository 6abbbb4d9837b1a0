#include "app/chart.h"

#include <qcustomplot.h>

#include <QMouseEvent>
#include <QVBoxLayout>
#include <limits>

namespace vnx::app {

namespace {

// A pre-drawn marker pixmap: far faster than drawing a shape per point.
QPixmap MarkerPixmap(const QColor& color, int size, Chart::Marker marker) {
  const int s = std::max(size, 2) + 1;
  QPixmap pm(s, s);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, marker == Chart::Marker::Circle);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  if (marker == Chart::Marker::Circle)
    p.drawEllipse(QRectF(0.5, 0.5, s - 1, s - 1));
  else
    p.drawRect(0, 0, s, s);
  return pm;
}

}  // namespace

Chart::Chart(const QString& objectName, QWidget* parent)
    : QWidget(parent), plot_(new QCustomPlot(this)) {
  setObjectName(objectName);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(plot_);
  plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  plot_->setNoAntialiasingOnDrag(true);
  plot_->legend->setVisible(false);
  plot_->installEventFilter(this);
  setMinimumSize(200, 150);
}

bool Chart::eventFilter(QObject* watched, QEvent* event) {
  if (watched == plot_ && event->type() == QEvent::MouseButtonDblClick) {
    Redraw();
    plot_->rescaleAxes();
    if (!leftAutomatic_) plot_->yAxis->setRange(leftMin_, leftMax_);
    plot_->replot();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

int Chart::AddSeries(const QString& name, const QColor& color, int size, Marker marker,
                     bool rightAxis) {
  QCPGraph* g = plot_->addGraph(plot_->xAxis, rightAxis ? plot_->yAxis2 : plot_->yAxis);
  if (rightAxis) plot_->yAxis2->setVisible(true);
  g->setName(name);
  g->setLineStyle(QCPGraph::lsNone);
  g->setPen(QPen(color));
  g->setScatterStyle(QCPScatterStyle(MarkerPixmap(color, size, marker)));
  g->setAdaptiveSampling(true);
  graphs_.push_back(g);
  return SeriesCount() - 1;
}

QString Chart::SeriesName(int s) const {
  return graphs_.at(s)->name();
}
QColor Chart::SeriesColor(int s) const {
  return graphs_.at(s)->pen().color();
}

void Chart::Clear(int s) {
  graphs_.at(s)->data()->clear();
}

void Chart::ClearAll() {
  for (auto* g : graphs_) g->data()->clear();
}

void Chart::SetPoints(int s, const std::vector<double>& x, const std::vector<double>& y) {
  QVector<QCPGraphData> data(static_cast<int>(std::min(x.size(), y.size())));
  bool sorted = true;
  for (int i = 0; i < data.size(); ++i) {
    data[i] = QCPGraphData(x[i], y[i]);
    if (i > 0 && x[i] < x[i - 1]) sorted = false;
  }
  graphs_.at(s)->data()->set(data, sorted);
}

void Chart::AddPoint(int s, double x, double y) {
  graphs_.at(s)->addData(x, y);
}

int Chart::PointCount(int s) const {
  return graphs_.at(s)->data()->size();
}
double Chart::PointX(int s, int i) const {
  return graphs_.at(s)->data()->at(i)->key;
}
double Chart::PointY(int s, int i) const {
  return graphs_.at(s)->data()->at(i)->value;
}

double Chart::MinY(int s) const {
  bool found = false;
  const QCPRange r = graphs_.at(s)->data()->valueRange(found);
  return found ? r.lower : 0;
}

double Chart::MaxY(int s) const {
  bool found = false;
  const QCPRange r = graphs_.at(s)->data()->valueRange(found);
  return found ? r.upper : 0;
}

void Chart::SetTitle(const QString& title) {
  if (title.isEmpty()) {
    if (title_) {
      plot_->plotLayout()->remove(title_);
      plot_->plotLayout()->simplify();
      title_ = nullptr;
    }
    return;
  }
  if (!title_) {
    plot_->plotLayout()->insertRow(0);
    title_ = new QCPTextElement(plot_, title, QFont(font().family(), 10, QFont::Bold));
    plot_->plotLayout()->addElement(0, 0, title_);
  }
  title_->setText(title);
}

QString Chart::Title() const {
  return title_ ? title_->text() : QString();
}

void Chart::SetBottomTitle(const QString& t) {
  plot_->xAxis->setLabel(t);
}

void Chart::SetLeftTitle(const QString& t, double angle) {
  if (angle == 270) {
    plot_->yAxis->setLabel(t);
    return;
  }
  // A horizontal left-axis title: a text item at the left edge, level with the middle of the
  // axis rect, in a left margin widened to hold it. Meant for charts whose left labels are
  // hidden, since the labels would share that margin.
  plot_->yAxis->setLabel(QString());
  if (!leftTitle_) {
    leftTitle_ = new QCPItemText(plot_);
    leftTitle_->setClipToAxisRect(false);
    leftTitle_->position->setTypeX(QCPItemPosition::ptAbsolute);
    leftTitle_->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    leftTitle_->position->setCoords(6, 0.5);
    leftTitle_->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  leftTitle_->setText(t);
  const int width = QFontMetrics(leftTitle_->font()).horizontalAdvance(t);
  QMargins m = plot_->axisRect()->minimumMargins();
  m.setLeft(width + 16);
  plot_->axisRect()->setMinimumMargins(m);
}

QString Chart::LeftTitle() const {
  return leftTitle_ ? leftTitle_->text() : plot_->yAxis->label();
}

void Chart::SetRightTitle(const QString& t) {
  plot_->yAxis2->setLabel(t);
  plot_->yAxis2->setVisible(true);
  plot_->yAxis2->setTickLabels(true);
}

QString Chart::RightTitle() const {
  return plot_->yAxis2->label();
}

void Chart::SetLeftAutomatic() {
  leftAutomatic_ = true;
}

void Chart::SetLeftRange(double min, double max) {
  leftAutomatic_ = false;
  leftMin_ = min;
  leftMax_ = max;
  plot_->yAxis->setRange(min, max);
}

double Chart::LeftMin() const {
  return plot_->yAxis->range().lower;
}
double Chart::LeftMax() const {
  return plot_->yAxis->range().upper;
}

void Chart::SetLegendVisible(bool visible) {
  plot_->legend->setVisible(visible);
}
bool Chart::LegendVisible() const {
  return plot_->legend->visible();
}

void Chart::SetLegendBottom() {
  // The legend below the plot, in a row of its own.
  QCPLayoutGrid* layout = plot_->plotLayout();
  if (plot_->legend->layout() == layout) return;
  auto* sub = new QCPLayoutGrid;
  layout->addElement(layout->rowCount(), 0, sub);
  sub->setMargins(QMargins(5, 0, 5, 5));
  sub->addElement(0, 0, plot_->legend);
  plot_->legend->setFillOrder(QCPLegend::foColumnsFirst);
  layout->setRowStretchFactor(layout->rowCount() - 1, 0.001);
}

void Chart::SetLeftLabelsVisible(bool visible) {
  plot_->yAxis->setTickLabels(visible);
}

void Chart::SetLeftPrecision(int digits) {
  plot_->yAxis->setNumberPrecision(digits);
}

void Chart::Redraw() {
  bool any = false;
  for (auto* g : graphs_) any |= !g->data()->isEmpty();
  if (any) {
    plot_->xAxis->rescale(true);
    if (leftAutomatic_) plot_->yAxis->rescale(true);
    plot_->yAxis2->rescale(true);
    auto pad = [](QCPAxis* a) {
      const QCPRange r = a->range();
      const double m = r.size() > 0 ? r.size() * 0.05 : 1;
      a->setRange(r.lower - m, r.upper + m);
    };
    pad(plot_->xAxis);
    if (leftAutomatic_) pad(plot_->yAxis);
    pad(plot_->yAxis2);
  }
  if (!leftAutomatic_) plot_->yAxis->setRange(leftMin_, leftMax_);
  plot_->replot();
}

void Chart::SetMarks(const std::vector<double>& x, const QColor& color) {
  for (QCPAbstractItem* m : marks_) plot_->removeItem(m);
  marks_.clear();
  markX_ = x;
  for (double v : x) {
    auto* line = new QCPItemStraightLine(plot_);
    line->point1->setCoords(v, 0);
    line->point2->setCoords(v, 1);
    line->setPen(QPen(color, 1.5, Qt::DashLine));
    marks_.push_back(line);
  }
  plot_->replot();
}

bool Chart::SavePng(const QString& path, int width, int height) {
  return plot_->savePng(path, width, height);
}

}  // namespace vnx::app
