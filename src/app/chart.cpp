#include "app/chart.h"

#include <qcustomplot.h>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/chart_time_switch.h"

namespace vnx::app {

namespace {

constexpr int kMinMarker = 6;
constexpr double kReadoutRadius = 10;  // pixels
const EpochClock kNoClock;

// A pre-drawn marker pixmap: far faster than drawing a shape per point.
QPixmap MarkerPixmap(const QColor& color, int size, Chart::Marker marker) {
  const int s = std::max(size, kMinMarker);
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

// Labels of a time axis: the clock's texts at round steps of seconds, the date on a line
// above the time when the log spans more than one day.
class TimeTicker : public QCPAxisTicker {
 public:
  explicit TimeTicker(const EpochClock& clock) : clock_(clock) {}

 protected:
  double getTickStep(const QCPRange& range) override {
    return TimeTickStep(range.size(), tickCount());
  }
  QString getTickLabel(double tick, const QLocale&, QChar, int) override {
    const double step = TimeTickStep(range_, tickCount());
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step)));
    QString text = QString::fromStdString(clock_.Text(tick, clock_.SpansDays(), decimals));
    return text.replace(' ', '\n');
  }
  QVector<double> createTickVector(double tickStep, const QCPRange& range) override {
    range_ = range.size();
    return QCPAxisTicker::createTickVector(tickStep, range);
  }

 private:
  const EpochClock& clock_;
  double range_ = 1;
};

bool AskImageSize(QWidget* parent, int& width, int& height) {
  QDialog d(parent);
  d.setWindowTitle("Image size");
  auto* form = new QFormLayout(&d);
  auto* w = new QSpinBox;
  auto* h = new QSpinBox;
  for (QSpinBox* b : {w, h}) b->setRange(100, 10000);
  w->setValue(width);
  h->setValue(height);
  form->addRow("Width (pixels)", w);
  form->addRow("Height (pixels)", h);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  form->addRow(buttons);
  if (d.exec() != QDialog::Accepted) return false;
  width = w->value();
  height = h->value();
  return true;
}

QString Number(double v) {
  return QString::number(v, 'g', 10);
}

}  // namespace

Chart::Chart(const QString& objectName, QWidget* parent)
    : QWidget(parent), plot_(new QCustomPlot(this)) {
  setObjectName(objectName);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(plot_);
  plot_->setObjectName(objectName + "Plot");
  plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  plot_->setNoAntialiasingOnDrag(true);
  plot_->setMouseTracking(true);
  plot_->setFocusPolicy(Qt::StrongFocus);
  plot_->setContextMenuPolicy(Qt::CustomContextMenu);
  plot_->xAxis->setLabel(epochTitle_);
  plot_->yAxis2->setVisible(false);
  QCPAxisRect* rect = plot_->axisRect();
  rect->setRangeDragAxes({plot_->xAxis}, {plot_->yAxis, plot_->yAxis2});
  rect->setRangeZoomAxes({plot_->xAxis}, {plot_->yAxis, plot_->yAxis2});
  SetLegendBottom();
  plot_->legend->setVisible(false);
  plot_->installEventFilter(this);
  connect(plot_, &QWidget::customContextMenuRequested, this, &Chart::ShowContextMenu);
  connect(plot_, &QCustomPlot::beforeReplot, this, [this] { UpdateDrawnData(); });
  emptyText_ = new QCPItemText(plot_);
  emptyText_->position->setType(QCPItemPosition::ptAxisRectRatio);
  emptyText_->position->setCoords(0.5, 0.5);
  emptyText_->setText("No data for this choice");
  emptyText_->setColor(Qt::darkGray);
  emptyText_->setVisible(false);
  fileChooser = [this](const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(this, caption, QString(), filter);
  };
  sizeChooser = [this](int& w, int& h) { return AskImageSize(this, w, h); };
  setMinimumSize(200, 150);
}

Chart::~Chart() = default;

TimeAxisSwitch* Chart::Switch() const {
  return keyKind_ == KeyAxis::Epoch ? TimeAxisSwitch::Of(this) : nullptr;
}

const EpochClock& Chart::Clock() const {
  TimeAxisSwitch* s = TimeAxisSwitch::Of(this);
  return s ? s->Clock() : kNoClock;
}

double Chart::ToAxis(double key) const {
  if (timeMode_ == ChartTimeAxis::Epoch) return key;
  return Clock().AxisValue(key, timeMode_);
}

double Chart::FromAxis(double value) const {
  if (timeMode_ == ChartTimeAxis::Epoch) return value;
  return Clock().EpochAt(value, timeMode_);
}

void Chart::FollowTimeSwitch() {
  if (switchBound_) return;
  TimeAxisSwitch* s = Switch();
  if (!s) return;
  switchBound_ = true;
  connect(s, &TimeAxisSwitch::Changed, this, [this] {
    ApplyTimeAxis();
    Redraw();
  });
}

void Chart::ApplyTimeAxis() {
  FollowTimeSwitch();
  TimeAxisSwitch* s = Switch();
  const ChartTimeAxis mode = s ? s->Effective() : ChartTimeAxis::Epoch;
  if (mode == timeMode_ &&
      plot_->xAxis->label() ==
          (mode == ChartTimeAxis::Epoch ? epochTitle_ : QString(ChartTimeAxisTitle(mode))))
    return;
  timeMode_ = mode;
  dataDirty_ = true;
  if (mode == ChartTimeAxis::Epoch) {
    plot_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    plot_->xAxis->setLabel(epochTitle_);
  } else {
    plot_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new TimeTicker(s->Clock())));
    plot_->xAxis->setLabel(ChartTimeAxisTitle(mode));
  }
  // The marks stand at their epochs whatever the axis shows.
  for (size_t i = 0; i < marks_.size(); ++i) {
    auto* line = static_cast<QCPItemStraightLine*>(marks_[i]);
    line->point1->setCoords(ToAxis(markX_[i]), 0);
    line->point2->setCoords(ToAxis(markX_[i]), 1);
  }
}

void Chart::SetKeyAxis(KeyAxis kind) {
  keyKind_ = kind;
}

int Chart::AddSeries(const QString& name, const QColor& color, int size, Marker marker,
                     bool rightAxis) {
  Series s;
  s.right = rightAxis;
  s.graph = plot_->addGraph(plot_->xAxis, rightAxis ? plot_->yAxis2 : plot_->yAxis);
  s.graph->setName(name);
  s.graph->setLineStyle(QCPGraph::lsNone);
  s.graph->setPen(QPen(color));
  s.graph->setScatterStyle(QCPScatterStyle(MarkerPixmap(color, size, marker)));
  s.graph->setAdaptiveSampling(true);
  series_.push_back(std::move(s));
  return SeriesCount() - 1;
}

void Chart::SetSeriesLine(int index, bool line) {
  Series& s = series_.at(static_cast<size_t>(index));
  s.line = line;
  s.graph->setLineStyle(line ? QCPGraph::lsLine : QCPGraph::lsNone);
  QPen pen(s.graph->pen().color(), line ? 2 : 1);
  s.graph->setPen(pen);
  if (line) s.graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
}

QString Chart::SeriesName(int s) const {
  return series_.at(static_cast<size_t>(s)).graph->name();
}
QColor Chart::SeriesColor(int s) const {
  return series_.at(static_cast<size_t>(s)).graph->pen().color();
}

void Chart::Clear(int index) {
  Series& s = series_.at(static_cast<size_t>(index));
  s.x.clear();
  s.y.clear();
  s.epochs.clear();
  s.sorted = true;
  s.graph->data()->clear();
}

void Chart::ClearAll() {
  for (int i = 0; i < SeriesCount(); ++i) Clear(i);
}

void Chart::SetPoints(int index, const std::vector<double>& x, const std::vector<double>& y,
                      const std::vector<int32_t>& epochs) {
  Series& s = series_.at(static_cast<size_t>(index));
  const size_t n = std::min(x.size(), y.size());
  s.x.assign(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
  s.y.assign(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(n));
  s.epochs = epochs;
  s.sorted = std::is_sorted(s.x.begin(), s.x.end());
  s.graph->data()->clear();
}

void Chart::AddPoint(int index, double x, double y) {
  Series& s = series_.at(static_cast<size_t>(index));
  if (!s.x.empty() && x < s.x.back()) s.sorted = false;
  s.x.push_back(x);
  s.y.push_back(y);
  s.graph->addData(ToAxis(x), y);
}

int Chart::PointCount(int s) const {
  return static_cast<int>(series_.at(static_cast<size_t>(s)).x.size());
}
double Chart::PointX(int s, int i) const {
  return series_.at(static_cast<size_t>(s)).x.at(static_cast<size_t>(i));
}
double Chart::PointY(int s, int i) const {
  return series_.at(static_cast<size_t>(s)).y.at(static_cast<size_t>(i));
}
int Chart::DrawnCount(int s) const {
  return series_.at(static_cast<size_t>(s)).graph->data()->size();
}

double Chart::MinY(int s) const {
  const auto& y = series_.at(static_cast<size_t>(s)).y;
  return y.empty() ? 0 : *std::min_element(y.begin(), y.end());
}

double Chart::MaxY(int s) const {
  const auto& y = series_.at(static_cast<size_t>(s)).y;
  return y.empty() ? 0 : *std::max_element(y.begin(), y.end());
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
  epochTitle_ = t;
  if (timeMode_ == ChartTimeAxis::Epoch) plot_->xAxis->setLabel(t);
}

QString Chart::BottomTitle() const {
  return plot_->xAxis->label();
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
  plot_->yAxis2->setTickLabels(true);
}

QString Chart::RightTitle() const {
  return plot_->yAxis2->label();
}

bool Chart::RightAxisVisible() const {
  return plot_->yAxis2->visible();
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

void Chart::SetFixedRanges(double xMin, double xMax, double yMin, double yMax) {
  fixed_ = true;
  fixedX_[0] = xMin, fixedX_[1] = xMax, fixedY_[0] = yMin, fixedY_[1] = yMax;
}

void Chart::SetEqualScale(bool equal) {
  equalScale_ = equal;
}

void Chart::SetCircle(double cx, double cy, double radius, const QColor& color) {
  if (!circle_) {
    circle_ = new QCPItemEllipse(plot_);
    circle_->setPen(QPen(color, 2));
  }
  circle_->setVisible(radius > 0);
  circleAt_[0] = cx;
  circleAt_[1] = cy;
  circleAt_[2] = radius;
  circle_->topLeft->setCoords(cx - radius, cy + radius);
  circle_->bottomRight->setCoords(cx + radius, cy - radius);
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
  // The legend below the plot, in a row of its own, so it never hides points.
  QCPLayoutGrid* layout = plot_->plotLayout();
  if (plot_->legend->layout() != plot_->axisRect()->insetLayout()) return;
  auto* sub = new QCPLayoutGrid;
  layout->addElement(layout->rowCount(), 0, sub);
  sub->setMargins(QMargins(5, 0, 5, 5));
  sub->addElement(0, 0, plot_->legend);
  plot_->legend->setFillOrder(QCPLegend::foColumnsFirst);
  plot_->legend->setWrap(8);
  layout->setRowStretchFactor(layout->rowCount() - 1, 0.001);
}

void Chart::SetLeftLabelsVisible(bool visible) {
  plot_->yAxis->setTickLabels(visible);
}

void Chart::SetLeftPrecision(int digits) {
  plot_->yAxis->setNumberPrecision(digits);
}

QString Chart::EmptyText() const {
  return emptyText_->visible() ? emptyText_->text() : QString();
}

QCPAxis* Chart::ValueAxisOf(const Series& s) const {
  return s.right ? plot_->yAxis2 : plot_->yAxis;
}

void Chart::ShowEmptyState(bool empty) {
  emptyText_->setVisible(empty);
  if (!empty) return;
  // Nothing from the chart before: default ranges.
  plot_->xAxis->setRange(0, 1);
  if (leftAutomatic_) plot_->yAxis->setRange(0, 1);
  plot_->yAxis2->setRange(0, 1);
}

void Chart::Redraw() {
  ApplyTimeAxis();
  struct Extent {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void Add(double v) {
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
    bool Any() const { return lo <= hi; }
  } keys, left, right;
  bool rightUsed = false;
  for (const Series& s : series_) {
    if (s.x.empty()) continue;
    if (s.sorted) {
      keys.Add(s.x.front());
      keys.Add(s.x.back());
    } else {
      const auto [lo, hi] = std::minmax_element(s.x.begin(), s.x.end());
      keys.Add(*lo);
      keys.Add(*hi);
    }
    const auto [lo, hi] = std::minmax_element(s.y.begin(), s.y.end());
    Extent& v = s.right ? right : left;
    v.Add(*lo);
    v.Add(*hi);
    rightUsed |= s.right;
  }
  // The whole circle in view, where there are points around it.
  if (keys.Any() && circle_ && circleAt_[2] > 0) {
    keys.Add(circleAt_[0] - circleAt_[2]);
    keys.Add(circleAt_[0] + circleAt_[2]);
    left.Add(circleAt_[1] - circleAt_[2]);
    left.Add(circleAt_[1] + circleAt_[2]);
  }
  // The right axis is drawn only when a series on it has points.
  plot_->yAxis2->setVisible(rightUsed);
  ShowEmptyState(!keys.Any());
  auto set = [](QCPAxis* axis, double lo, double hi) {
    const double m = hi > lo ? (hi - lo) * 0.05 : 1;
    axis->setRange(lo - m, hi + m);
  };
  if (keys.Any()) {
    set(plot_->xAxis, ToAxis(keys.lo), ToAxis(keys.hi));
    if (leftAutomatic_ && left.Any()) set(plot_->yAxis, left.lo, left.hi);
    if (right.Any()) set(plot_->yAxis2, right.lo, right.hi);
  }
  if (fixed_) {
    plot_->xAxis->setRange(fixedX_[0], fixedX_[1]);
    plot_->yAxis->setRange(fixedY_[0], fixedY_[1]);
  }
  if (!leftAutomatic_) plot_->yAxis->setRange(leftMin_, leftMax_);
  if (equalScale_) KeepEqualScale();
  plot_->replot();
}

void Chart::SetMarks(const std::vector<double>& x, const QColor& color) {
  for (QCPAbstractItem* m : marks_) plot_->removeItem(m);
  marks_.clear();
  markX_ = x;
  for (double v : x) {
    auto* line = new QCPItemStraightLine(plot_);
    line->point1->setCoords(ToAxis(v), 0);
    line->point2->setCoords(ToAxis(v), 1);
    line->setPen(QPen(color, 1.5, Qt::DashLine));
    marks_.push_back(line);
  }
  plot_->replot();
}

void Chart::KeepEqualScale() {
  // Widen whichever axis is short so that both show the same units per pixel.
  QCPAxis* x = plot_->xAxis;
  QCPAxis* y = plot_->yAxis;
  const QRect r = plot_->axisRect()->rect();
  if (r.width() <= 0 || r.height() <= 0) return;
  const double perPixel = std::max(x->range().size() / r.width(), y->range().size() / r.height());
  x->setRange(x->range().center() - perPixel * r.width() / 2,
              x->range().center() + perPixel * r.width() / 2);
  y->setRange(y->range().center() - perPixel * r.height() / 2,
              y->range().center() + perPixel * r.height() / 2);
}

void Chart::UpdateDrawnData() {
  if (decimating_) return;
  decimating_ = true;
  size_t total = 0;
  for (const Series& s : series_) total += s.x.size();
  const bool thin = total > static_cast<size_t>(kDecimateAbove);
  const QCPRange shown = plot_->xAxis->range();
  const ValueSpan keys{FromAxis(shown.lower), FromAxis(shown.upper)};
  // The library lays the plot out only after this point of a replot: lay it out now, so that
  // the columns are those of the size and tick labels about to be drawn, not the last ones.
  for (auto phase :
       {QCPLayoutElement::upPreparation, QCPLayoutElement::upMargins, QCPLayoutElement::upLayout})
    plot_->plotLayout()->update(phase);
  const QRect rect = plot_->axisRect()->rect();
  const int columns = std::max(rect.width(), 1), rows = std::max(rect.height(), 1);
  std::vector<uint32_t> all;
  for (Series& s : series_) {
    const std::vector<uint32_t>* kept = nullptr;
    std::vector<uint32_t> chosen;
    if (!thin || s.line) {
      // Small charts are handed over once; later frames keep what the library has.
      if (!dataDirty_ && s.graph->data()->size() == static_cast<int>(s.x.size())) continue;
      all.resize(s.x.size());
      for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint32_t>(i);
      kept = &all;
    } else if (s.sorted) {
      chosen = DecimateColumns(s.x, s.y, keys, columns);
      kept = &chosen;
    } else {
      const QCPRange v = ValueAxisOf(s)->range();
      chosen = DecimateCells(s.x, s.y, keys, {v.lower, v.upper}, columns, rows);
      kept = &chosen;
    }
    QVector<QCPGraphData> data(static_cast<int>(kept->size()));
    for (size_t k = 0; k < kept->size(); ++k)
      data[static_cast<int>(k)] = QCPGraphData(ToAxis(s.x[(*kept)[k]]), s.y[(*kept)[k]]);
    s.graph->data()->set(data, s.sorted);
  }
  dataDirty_ = false;
  decimating_ = false;
}

ValueSpan Chart::VisibleKeys() const {
  const QCPRange r = plot_->xAxis->range();
  return {FromAxis(r.lower), FromAxis(r.upper)};
}

void Chart::SetVisibleKeys(double lower, double upper) {
  plot_->xAxis->setRange(ToAxis(lower), ToAxis(upper));
  plot_->replot();
}

void Chart::ZoomBy(double factor) {
  for (QCPAxis* a : {plot_->xAxis, plot_->yAxis, plot_->yAxis2}) a->scaleRange(factor);
  plot_->replot();
}

void Chart::PanBy(double fx, double fy) {
  plot_->xAxis->moveRange(plot_->xAxis->range().size() * fx);
  for (QCPAxis* a : {plot_->yAxis, plot_->yAxis2}) a->moveRange(a->range().size() * fy);
  plot_->replot();
}

bool Chart::SaveImage(const QString& path, int width, int height) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "pdf") return plot_->savePdf(path, width, height);
  if (suffix == "jpg" || suffix == "jpeg") return plot_->saveJpg(path, width, height);
  if (suffix == "bmp") return plot_->saveBmp(path, width, height);
  return plot_->savePng(path, width, height);
}

void Chart::CopyImage() {
  QApplication::clipboard()->setPixmap(plot_->toPixmap());
}

QString Chart::ValueUnit(const Series& s) const {
  const QString title = s.right ? RightTitle() : LeftTitle();
  return QString::fromStdString(UnitOfTitle(title.toStdString()));
}

QString Chart::VisibleCsv() const {
  std::vector<CsvSeries> list;
  std::vector<std::string> names, units;
  names.reserve(series_.size());
  units.reserve(series_.size());
  for (const Series& s : series_) {
    names.push_back(s.graph->name().toStdString());
    units.push_back(ValueUnit(s).toStdString());
  }
  for (size_t i = 0; i < series_.size(); ++i) {
    const Series& s = series_[i];
    if (!s.graph->visible()) continue;
    const QCPRange v = ValueAxisOf(s)->range();
    list.push_back({names[i], units[i], s.x, s.y, s.epochs, {v.lower, v.upper}});
  }
  CsvKeyAxis axis;
  axis.isEpoch = keyKind_ == KeyAxis::Epoch;
  axis.name = epochTitle_.toStdString();
  axis.keys = VisibleKeys();
  return QString::fromStdString(vnx::VisibleCsv(list, axis, Clock()));
}

bool Chart::ExportCsv(const QString& path) const {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray text = VisibleCsv().toUtf8();
  return f.write(text) == text.size();
}

QString Chart::ReadoutAt(const QPoint& pos) const {
  const QCPRange xr = plot_->xAxis->range();
  if (xr.size() <= 0) return {};
  const double key = FromAxis(plot_->xAxis->pixelToCoord(pos.x()));
  const double keyPerPixel = std::fabs(FromAxis(plot_->xAxis->pixelToCoord(pos.x() + 1)) - key);
  double best = kReadoutRadius * kReadoutRadius + 1;
  const Series* hit = nullptr;
  size_t index = 0;
  for (const Series& s : series_) {
    if (s.x.empty() || !s.graph->visible()) continue;
    QCPAxis* axis = ValueAxisOf(s);
    const double value = axis->pixelToCoord(pos.y());
    const double valuePerPixel = std::fabs(axis->pixelToCoord(pos.y() + 1) - value);
    const int64_t i =
        NearestPoint(s.x, s.y, s.sorted, key, value, keyPerPixel, valuePerPixel, kReadoutRadius);
    if (i < 0) continue;
    const double dx = (s.x[static_cast<size_t>(i)] - key) / keyPerPixel;
    const double dy = (s.y[static_cast<size_t>(i)] - value) / valuePerPixel;
    if (dx * dx + dy * dy < best) {
      best = dx * dx + dy * dy;
      hit = &s;
      index = static_cast<size_t>(i);
    }
  }
  if (!hit) return {};
  const bool epochKeys = keyKind_ == KeyAxis::Epoch;
  const double epoch = epochKeys                    ? hit->x[index]
                       : index < hit->epochs.size() ? hit->epochs[index]
                                                    : 0;
  QString text = hit->graph->name() + ":";
  if (!epochKeys) text += " " + epochTitle_ + " " + Number(hit->x[index]) + ",";
  if (epoch > 0) {
    text += " epoch " + Number(epoch);
    const EpochClock& clock = Clock();
    if (!clock.Empty()) {
      const ChartTimeAxis mode =
          timeMode_ == ChartTimeAxis::Utc ? ChartTimeAxis::Utc : ChartTimeAxis::GpsTime;
      text += QString(", %1 %2").arg(
          QString::fromStdString(clock.Text(clock.AxisValue(epoch, mode), true, 1)),
          mode == ChartTimeAxis::Utc ? "UTC" : "GPS");
    }
    text += ",";
  }
  const QString unit = ValueUnit(*hit);
  text += " " + Number(hit->y[index]) + (unit.isEmpty() ? QString() : " " + unit);
  return text;
}

void Chart::SetBoxZoom(bool on) {
  boxZoom_ = on;
  plot_->setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
}

void Chart::WheelOverAxis(const QPoint& pos) {
  // Over the plot both axes zoom; over an axis only that one.
  QCPAxisRect* rect = plot_->axisRect();
  const QRect r = rect->rect();
  QList<QCPAxis*> horizontal{plot_->xAxis}, vertical{plot_->yAxis, plot_->yAxis2};
  if (!r.contains(pos)) {
    if (pos.y() > r.bottom())
      vertical.clear();
    else if (pos.x() < r.left())
      horizontal.clear(), vertical = {plot_->yAxis};
    else if (pos.x() > r.right())
      horizontal.clear(), vertical = {plot_->yAxis2};
  }
  rect->setRangeZoomAxes(horizontal, vertical);
  rect->setRangeZoom((horizontal.isEmpty() ? Qt::Orientations() : Qt::Horizontal) |
                     (vertical.isEmpty() ? Qt::Orientations() : Qt::Vertical));
}

bool Chart::KeyPress(int key) {
  switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomBy(0.8);
      return true;
    case Qt::Key_Minus:
      ZoomBy(1.25);
      return true;
    case Qt::Key_Left:
      PanBy(-0.1, 0);
      return true;
    case Qt::Key_Right:
      PanBy(0.1, 0);
      return true;
    case Qt::Key_Up:
      PanBy(0, 0.1);
      return true;
    case Qt::Key_Down:
      PanBy(0, -0.1);
      return true;
    case Qt::Key_Home:
      Redraw();
      return true;
    default:
      return false;
  }
}

bool Chart::eventFilter(QObject* watched, QEvent* event) {
  if (watched != plot_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonDblClick:
      Redraw();
      return true;
    case QEvent::Resize:
      // After the plot has laid itself out at the new size.
      if (equalScale_)
        QTimer::singleShot(0, this, [this] {
          KeepEqualScale();
          plot_->replot();
        });
      break;
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      // Ctrl+drag draws a zoom box whatever the toggle says.
      if (e->button() == Qt::LeftButton)
        plot_->setSelectionRectMode(
            boxZoom_ || (e->modifiers() & Qt::ControlModifier) ? QCP::srmZoom : QCP::srmNone);
      break;
    }
    case QEvent::Wheel:
      WheelOverAxis(static_cast<QWheelEvent*>(event)->position().toPoint());
      break;
    case QEvent::KeyPress:
      if (KeyPress(static_cast<QKeyEvent*>(event)->key())) return true;
      break;
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->buttons() != Qt::NoButton) break;
      const QString text = ReadoutAt(e->position().toPoint());
      if (text == readout_) break;
      readout_ = text;
      if (text.isEmpty())
        QToolTip::hideText();
      else
        QToolTip::showText(e->globalPosition().toPoint(), text, plot_);
      if (auto* mw = qobject_cast<QMainWindow*>(window())) mw->statusBar()->showMessage(text);
      emit ReadoutChanged(text);
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

QMenu* Chart::BuildContextMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName("ChartMenu");
  menu->addAction("Save image...", this, [this] { SaveImageAs(false); })
      ->setObjectName("ChartSaveImage");
  menu->addAction("Save image at size...", this, [this] { SaveImageAs(true); })
      ->setObjectName("ChartSaveImageSize");
  menu->addAction("Copy image", this, [this] { CopyImage(); })->setObjectName("ChartCopyImage");
  menu->addAction("Export visible data as CSV...", this, [this] { ExportCsvAs(); })
      ->setObjectName("ChartExportCsv");
  menu->addSeparator();
  menu->addAction("Reset view", this, [this] { Redraw(); })->setObjectName("ChartReset");
  QAction* box = menu->addAction("Box zoom", this, [this](bool on) { SetBoxZoom(on); });
  box->setObjectName("ChartBoxZoom");
  box->setCheckable(true);
  box->setChecked(boxZoom_);
  QAction* legend = menu->addAction("Show legend", this, [this](bool on) {
    SetLegendVisible(on);
    plot_->replot();
  });
  legend->setObjectName("ChartLegend");
  legend->setCheckable(true);
  legend->setChecked(LegendVisible());
  if (TimeAxisSwitch* s = Switch()) {
    QMenu* axis = menu->addMenu("Horizontal axis");
    auto* group = new QActionGroup(axis);
    const EpochClock& clock = s->Clock();
    for (ChartTimeAxis mode : {ChartTimeAxis::Epoch, ChartTimeAxis::GpsTime, ChartTimeAxis::Utc}) {
      QAction* a = axis->addAction(ChartTimeAxisTitle(mode), this, [s, mode] { s->SetMode(mode); });
      a->setObjectName(QString("ChartAxis%1").arg(static_cast<int>(mode)));
      a->setCheckable(true);
      a->setChecked(s->Effective() == mode);
      a->setEnabled(clock.Offers(mode));
      group->addAction(a);
    }
  }
  return menu;
}

void Chart::ShowContextMenu(const QPoint& pos) {
  QMenu* menu = BuildContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(plot_->mapToGlobal(pos));
}

void Chart::SaveImageAs(bool chooseSize) {
  int w = plot_->width(), h = plot_->height();
  if (chooseSize && !(sizeChooser && sizeChooser(w, h))) return;
  const QString path = fileChooser ? fileChooser("Save image",
                                                 "PNG image (*.png);;PDF document (*.pdf);;"
                                                 "JPEG image (*.jpg)")
                                   : QString();
  if (path.isEmpty()) return;
  if (!SaveImage(path, w, h)) QMessageBox::warning(this, "VNX Viewer", "Cannot write " + path);
}

void Chart::ExportCsvAs() {
  const QString path =
      fileChooser ? fileChooser("Export visible data", "CSV file (*.csv)") : QString();
  if (path.isEmpty()) return;
  if (!ExportCsv(path)) QMessageBox::warning(this, "VNX Viewer", "Cannot write " + path);
}

}  // namespace vnx::app
