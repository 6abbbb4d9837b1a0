#include "app/skyplot_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QPushButton>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

#include "app/chart_time_switch.h"
#include "app/main_window.h"
#include "app/widgets.h"

namespace vnx::app {

namespace {

constexpr double kMargin = 34;
constexpr double kReadoutRadius = 10;

QColor Rgb(uint32_t rgb) {
  return QColor::fromRgb(rgb);
}

}  // namespace

SkyplotWidget::SkyplotWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("SkySkyplot");
  setMouseTracking(true);
  setMinimumSize(300, 300);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  fileChooser = [this](const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(this, caption, QString(), filter);
  };
}

void SkyplotWidget::SetPlot(SkyPlot plot, bool byStrength, int mask, const EpochClock* clock) {
  plot_ = std::move(plot);
  byStrength_ = byStrength;
  mask_ = mask;
  clock_ = clock;
  update();
}

QPointF SkyplotWidget::Pixel(double azimuth, double elevation) const {
  const SkyXY xy = SkyPosition(azimuth, elevation);
  return centre_ + QPointF(xy.x, xy.y) * radius_;
}

QColor SkyplotWidget::ColourOf(const SkyTrack& t, const SkyTrackPoint& pt) const {
  if (!byStrength_) return Rgb(InfoOf(t.system).colour);
  if (std::isnan(pt.snr)) return QColor(170, 170, 170);
  return Rgb(StrengthColour(pt.snr, plot_.snrMin, plot_.snrMax));
}

void SkyplotWidget::PaintGrid(QPainter& p) const {
  p.setPen(QPen(QColor(200, 200, 200), 1));
  p.setBrush(Qt::NoBrush);
  for (int el = 0; el < 90; el += 15) {
    const double r = radius_ * (90 - el) / 90;
    p.drawEllipse(centre_, r, r);
  }
  for (int az = 0; az < 360; az += 30) p.drawLine(centre_, Pixel(az, 0));
  p.setPen(Qt::darkGray);
  for (int el = 15; el < 90; el += 15)
    p.drawText(Pixel(0, el) + QPointF(3, -2), QString("%1°").arg(el));
  const char* compass[] = {"N", "E", "S", "W"};
  QFont bold = p.font();
  bold.setBold(true);
  for (int az = 0; az < 360; az += 30) {
    const QPointF at = Pixel(az, 0) + (Pixel(az, 0) - centre_) * (16 / radius_);
    const QRectF box(at - QPointF(20, 8), QSizeF(40, 16));
    if (az % 90 == 0) {
      p.save();
      p.setFont(bold);
      p.setPen(Qt::black);
      p.drawText(box, Qt::AlignCenter, compass[az / 90]);
      p.restore();
    } else {
      p.drawText(box, Qt::AlignCenter, QString::number(az));
    }
  }
  if (mask_ > 0) {
    p.setPen(QPen(QColor(200, 0, 0), 1.5, Qt::DashLine));
    const double r = radius_ * (90 - mask_) / 90;
    p.drawEllipse(centre_, r, r);
  }
}

void SkyplotWidget::PaintTracks(QPainter& p) const {
  p.setRenderHint(QPainter::Antialiasing);
  // Runs of one colour go out as one polyline, and a point less than a pixel and a half from
  // the last one drawn is skipped: a day at 1 Hz keeps many points per pixel of track.
  QPolygonF run;
  QColor runColour;
  auto flush = [&] {
    if (run.size() > 1) {
      p.setPen(QPen(runColour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(run);
    }
    run.clear();
  };
  for (const SkyTrack& t : plot_.tracks) {
    if (t.points.empty()) continue;
    QPointF last;
    for (size_t i = 0; i < t.points.size(); ++i) {
      const SkyTrackPoint& pt = t.points[i];
      const QPointF at = Pixel(pt.azimuth, pt.elevation);
      const QColor c = ColourOf(t, pt);
      last = at;
      if (i == 0 || pt.startsSegment) {
        flush();
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(at, 3, 3);
        run << at;
        runColour = c;
        continue;
      }
      const QPointF step = at - run.back();
      const bool segmentEnds = i + 1 == t.points.size() || t.points[i + 1].startsSegment;
      if (step.x() * step.x() + step.y() * step.y() < 2.25 && !segmentEnds) continue;
      if (c != runColour) {
        const QPointF from = run.back();
        flush();
        run << from;
        runColour = c;
      }
      run << at;
    }
    flush();
    // The label at the end of the track, where the satellite was last seen.
    p.setPen(Qt::black);
    p.drawText(last + QPointF(4, -4), QString::fromStdString(t.Name()));
  }
}

void SkyplotWidget::PaintLegend(QPainter& p) const {
  const double x = width() - 110;
  double y = 16;
  p.setPen(Qt::black);
  if (!byStrength_) {
    for (SatSystem s : kSatSystems) {
      p.fillRect(QRectF(x, y - 9, 12, 10), Rgb(InfoOf(s).colour));
      p.drawText(QPointF(x + 18, y), InfoOf(s).shortName);
      y += 16;
    }
    return;
  }
  // The colour scale of the strength, high at the top.
  const QRectF bar(x, y, 16, 160);
  QLinearGradient g(bar.bottomLeft(), bar.topLeft());
  for (int k = 0; k <= 8; ++k) g.setColorAt(k / 8.0, Rgb(StrengthColour(k, 0, 8)));
  p.fillRect(bar, g);
  p.drawRect(bar);
  p.drawText(QPointF(x + 22, bar.top() + 10), QString::number(plot_.snrMax, 'f', 1));
  p.drawText(QPointF(x + 22, bar.bottom()), QString::number(plot_.snrMin, 'f', 1));
  p.drawText(QPointF(x - 4, bar.bottom() + 18), "dB-Hz");
}

void SkyplotWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  radius_ = std::max(10.0, std::min(width() - 140.0, height() * 1.0) / 2 - kMargin);
  centre_ = QPointF(kMargin + radius_ + 10, height() / 2.0);
  PaintGrid(p);
  PaintTracks(p);
  PaintLegend(p);
  if (plot_.tracks.empty()) {
    p.setPen(Qt::darkGray);
    p.drawText(rect(), Qt::AlignCenter, "No satellite directions for this choice");
  }
}

QString SkyplotWidget::ReadoutAt(const QPoint& pos) const {
  double best = kReadoutRadius * kReadoutRadius;
  const SkyTrack* hit = nullptr;
  const SkyTrackPoint* point = nullptr;
  for (const SkyTrack& t : plot_.tracks)
    for (const SkyTrackPoint& pt : t.points) {
      const QPointF d = Pixel(pt.azimuth, pt.elevation) - QPointF(pos);
      const double d2 = d.x() * d.x() + d.y() * d.y();
      if (d2 <= best) {
        best = d2;
        hit = &t;
        point = &pt;
      }
    }
  if (!hit) return {};
  QString text = QString("%1: epoch %2").arg(QString::fromStdString(hit->Name())).arg(point->epoch);
  if (clock_ && !clock_->Empty())
    text += ", " +
            QString::fromStdString(
                clock_->Text(clock_->AxisValue(point->epoch, ChartTimeAxis::GpsTime), true, 1)) +
            " GPS";
  text += QString(", azimuth %1°, elevation %2°").arg(point->azimuth).arg(point->elevation);
  if (!std::isnan(point->snr)) text += QString(", %1 dB-Hz").arg(point->snr);
  return text;
}

void SkyplotWidget::mouseMoveEvent(QMouseEvent* e) {
  const QString text = ReadoutAt(e->position().toPoint());
  if (text == readout_) return;
  readout_ = text;
  if (text.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(e->globalPosition().toPoint(), text, this);
}

bool SkyplotWidget::SaveImage(const QString& path, int width, int height) {
  const QSize size(width > 0 ? width : this->width(), height > 0 ? height : this->height());
  const QSize old = this->size();
  if (size != old) resize(size);
  bool ok = false;
  if (path.endsWith(".pdf", Qt::CaseInsensitive)) {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
    pdf.setResolution(72);
    QPainter p(&pdf);
    render(&p);
    ok = p.end();
  } else {
    ok = grab().save(path);
  }
  if (size != old) resize(old);
  return ok;
}

QMenu* SkyplotWidget::BuildContextMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName("ChartMenu");
  menu->addAction("Save image...", this, [this] {
    const QString path = fileChooser("Save image", "PNG image (*.png);;PDF document (*.pdf)");
    if (!path.isEmpty()) SaveImage(path);
  });
  menu->addAction("Copy image", this, [this] { QApplication::clipboard()->setPixmap(grab()); });
  menu->addAction("Export visible data as CSV...", this, [this] {
    const QString path = fileChooser("Export visible data", "CSV file (*.csv)");
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    f.write(QByteArray::fromStdString(SkyCsv(plot_, clock_ ? *clock_ : EpochClock())));
  });
  return menu;
}

void SkyplotWidget::contextMenuEvent(QContextMenuEvent* e) {
  QMenu* menu = BuildContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(e->globalPos());
}

SkyplotView::SkyplotView(MainWindow& w) : ViewPanel(w, "PSky") {
  setProperty("helpPage", "skyplot.html");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildControls());
  sky_ = new SkyplotWidget;
  layout->addWidget(sky_, 1);
}

QWidget* SkyplotView::BuildControls() {
  auto* row = new QWidget;
  auto* l = new QHBoxLayout(row);
  l->setContentsMargins(0, 0, 0, 0);
  for (size_t s = 0; s < kSatSystemCount; ++s) {
    auto* box = new QCheckBox(kSatSystemInfo[s].shortName);
    box->setObjectName(QString("CBSky%1").arg(kSatSystemInfo[s].shortName));
    box->setChecked(true);
    connect(box, &QCheckBox::clicked, this, [this] { Draw(); });
    systems_[s] = box;
    l->addWidget(box);
  }
  colourBy_ = new QComboBox;
  colourBy_->setObjectName("CBSkyColour");
  colourBy_->addItems({"Colour by system", "Colour by signal strength"});
  signal_ = new QComboBox;
  signal_->setObjectName("CBSkySignal");
  for (int s = 0; s < kSignalCount; ++s) signal_->addItem(InfoOf(ObservableOf(s, kSnr)).caption);
  first_ = new QSpinBox;
  first_->setObjectName("SESkyFirst");
  last_ = new QSpinBox;
  last_->setObjectName("SESkyLast");
  auto* whole = NamedButton("BBSkyWhole", "Whole log");
  auto* close = NamedButton("BBCloseSky", "Close");
  connect(colourBy_, &QComboBox::activated, this, [this] { Draw(); });
  connect(signal_, &QComboBox::activated, this, [this] { Draw(); });
  connect(first_, &QSpinBox::editingFinished, this, [this] { Draw(); });
  connect(last_, &QSpinBox::editingFinished, this, [this] { Draw(); });
  connect(whole, &QPushButton::clicked, this, [this] {
    first_->setValue(first_->minimum());
    last_->setValue(last_->maximum());
    Draw();
  });
  connect(close, &QPushButton::clicked, this, [this] { CloseView(); });
  l->addWidget(colourBy_);
  l->addWidget(signal_);
  l->addWidget(new QLabel("Epochs"));
  l->addWidget(first_);
  l->addWidget(new QLabel("to"));
  l->addWidget(last_);
  l->addWidget(whole);
  l->addStretch(1);
  l->addWidget(close);
  return row;
}

void SkyplotView::Open() {
  window.HideViews();
  window.ShowInFront(this);
  const int epochs = std::max(window.scan().EpochCount(), 1);
  first_->setRange(1, epochs);
  last_->setRange(1, epochs);
  first_->setValue(1);
  last_->setValue(epochs);
  Draw();
}

void SkyplotView::Draw() {
  SkySelection sel;
  for (size_t s = 0; s < kSatSystemCount; ++s) sel.systems[s] = systems_[s]->isChecked();
  sel.firstEpoch = first_->value();
  sel.lastEpoch = std::max(first_->value(), last_->value());
  sel.signal = signal_->currentIndex();
  SkyPlot plot = SkyTracks(ChartSourceOf(window.scan()), sel);
  if (!plot.message.empty()) window.ShowMessage(QString::fromStdString(plot.message));
  TimeAxisSwitch* time = TimeAxisSwitch::Of(this);
  sky_->SetPlot(std::move(plot), colourBy_->currentIndex() == 1, window.scan().ElevationMask(),
                time ? &time->Clock() : nullptr);
  signal_->setEnabled(true);
}

}  // namespace vnx::app
