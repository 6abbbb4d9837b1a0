#include "app/quality_view.h"

#include <qcustomplot.h>

#include <QAbstractTableModel>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/chart.h"
#include "app/main_window.h"
#include "app/scan_quality.h"
#include "app/widgets.h"
#include "engine/quality/quality_figures.h"
#include "reports/quality_html.h"
#include "reports/quality_output.h"

namespace vnx::app {

namespace {

// Seconds from 1970 to the start of GPS time: the time axis shows GPS time.
constexpr double kGpsEpochUnix = 315964800;
// Colours of MP1 / MP2 points and lines, and of the signal blocks, as the HTML report has them.
const QColor kMpPoints[] = {QColor("#6fa8dc"), QColor("#f6b26b")};
const QColor kMpLines[] = {QColor("#0b3d91"), QColor("#b35900")};
const QColor kSignalColours[] = {QColor("#1f77b4"), QColor("#ff7f0e"), QColor("#2ca02c"),
                                 QColor("#d62728"), QColor("#9467bd")};
const QColor kSlipColour("#d62728"), kJumpColour("#7a00cc"), kRunColour("#4a90d9");

// Draws a line over the chart: a scatter is drawn with markers only.
QCPGraph* AddLine(QCustomPlot* plot, const QString& name, const QColor& colour) {
  QCPGraph* g = plot->addGraph();
  g->setName(name);
  g->setPen(QPen(colour, 2.5));
  g->setLineStyle(QCPGraph::lsLine);
  return g;
}

void SetLine(QCPGraph* g, const QualityBinLine& line) {
  QVector<double> x, y;
  for (const auto& [el, v] : line.points) x << el, y << v;
  g->setData(x, y, true);
}

}  // namespace

// A quality table for a QTableView: the engine's rows in the order of the column last sorted.
class QualityTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetTable(QualityTable table) {
    beginResetModel();
    table_ = std::move(table);
    Order();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const QualityCell& cell = table_.rows[order_[static_cast<size_t>(index.row())]].at(
        static_cast<size_t>(index.column()));
    if (role == Qt::DisplayRole) return QString::fromStdString(cell.text);
    if (role == Qt::TextAlignmentRole)
      return int((Numeric(index.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
  }
  QVariant headerData(int section, Qt::Orientation o, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return section + 1;
    return QString::fromStdString(table_.columns.at(static_cast<size_t>(section)));
  }
  void sort(int column, Qt::SortOrder order) override {
    column_ = column;
    ascending_ = order == Qt::AscendingOrder;
    emit layoutAboutToBeChanged();
    Order();
    emit layoutChanged();
  }

 private:
  // The first column names the row; "Slip epochs" lists them.
  bool Numeric(int column) const {
    return column > 0 && table_.columns[static_cast<size_t>(column)] != "Slip epochs";
  }
  void Order() {
    if (column_ >= 0 && column_ < static_cast<int>(table_.columns.size())) {
      order_ = SortedRows(table_, static_cast<size_t>(column_), ascending_);
      return;
    }
    order_.resize(table_.rows.size());
    for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
  }

  QualityTable table_;
  std::vector<size_t> order_;
  int column_ = -1;
  bool ascending_ = true;
};

QualityView::QualityView(MainWindow& w, ScanQuality& quality)
    : ViewPanel(w, "PQuality"), quality_(quality) {
  setProperty("helpPage", "quality.html");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildSettings());
  auto* split = new QSplitter(Qt::Horizontal);
  split->setObjectName("SplQuality");
  split->addWidget(BuildTables());
  split->addWidget(BuildCharts());
  split->setStretchFactor(0, 5);
  split->setStretchFactor(1, 6);
  layout->addWidget(split, 1);

  connect(&quality_, &ScanQuality::Started, this, [this] {
    status_->setText("Analysing\u2026");
    status_->repaint();
  });
  // Progress that arrives after the report (a caller waited for it) is stale.
  connect(&quality_, &ScanQuality::Progress, this, [this](int percent) {
    if (quality_.Running()) status_->setText(QString("Analysing\u2026 %1 %").arg(percent));
  });
  connect(&quality_, &ScanQuality::Finished, this, [this] { ShowReport(); });
}

QWidget* QualityView::BuildSettings() {
  auto* bar = new QWidget;
  auto* h = new QHBoxLayout(bar);
  h->setContentsMargins(0, 0, 0, 0);
  mask_ = new QDoubleSpinBox;
  mask_->setObjectName("SEQualityMask");
  mask_->setRange(0, 90);
  mask_->setDecimals(1);
  mask_->setSingleStep(1);
  mask_->setSuffix("\u00b0");
  mask_->setValue(10);
  mask_->setKeyboardTracking(false);  // typed digits count when the field is left or Return
  mask_->setToolTip("Elevation mask of the completeness figures");
  position_ = new QLineEdit;
  position_->setObjectName("EQualityPosition");
  position_->setPlaceholderText("mean of the log's positions");
  position_->setToolTip(
      "Receiver position X,Y,Z in metres (ECEF); empty: the mean of the "
      "log's positions");
  position_->setClearButtonEnabled(true);
  status_ = new QLabel;
  status_->setObjectName("STQualityStatus");
  save_ = NamedButton("BBQualitySave", "Save report\u2026");
  save_->setToolTip("Save the report as HTML or JSON, as vnx-check writes it");
  close_ = NamedButton("BBCloseQuality", "Close");
  connect(mask_, &QDoubleSpinBox::valueChanged, this, [this] { SettingsChanged(); });
  connect(position_, &QLineEdit::editingFinished, this, [this] { SettingsChanged(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveByDialog(); });
  connect(close_, &QPushButton::clicked, this, [this] { CloseView(); });
  auto* maskLabel = new QLabel("Elevation mask");
  maskLabel->setBuddy(mask_);
  auto* positionLabel = new QLabel("Receiver position");
  positionLabel->setBuddy(position_);
  h->addWidget(maskLabel);
  h->addWidget(mask_);
  h->addSpacing(12);
  h->addWidget(positionLabel);
  h->addWidget(position_, 1);
  h->addWidget(status_, 1);
  h->addWidget(save_);
  h->addWidget(close_);
  return bar;
}

QWidget* QualityView::BuildTables() {
  auto* box = new QWidget;
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  summary_ = new QLabel;
  summary_->setObjectName("STQualitySummary");
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_->setWordWrap(true);
  auto table = [this](const char* name, QualityTableModel*& model) {
    auto* t = new QTableView;
    t->setObjectName(name);
    model = new QualityTableModel(this);
    t->setModel(model);
    t->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    t->setSortingEnabled(true);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    return t;
  };
  systemTable_ = table("TVQualitySystems", systems_);
  satelliteTable_ = table("TVQualitySatellites", satellites_);
  v->addWidget(summary_);
  v->addWidget(systemTable_);
  v->addWidget(satelliteTable_, 1);
  return box;
}

QWidget* QualityView::BuildCharts() {
  charts_ = new QTabWidget;
  charts_->setObjectName("TCQualityCharts");
  skyplot_ = new QSvgWidget;
  skyplot_->setObjectName("SvgQualitySky");
  skyplot_->setToolTip("Skyplot coloured by |MP1| about its arc's mean; grey: no MP1");
  charts_->addTab(skyplot_, "Skyplot");

  multipath_ = new Chart("ChQualityMultipath");
  multipath_->SetBottomTitle("Elevation [degrees]");
  multipath_->SetLeftTitle("MP about arc mean [m]");
  for (int s = 0; s < 2; ++s) multipath_->AddSeries(s == 0 ? "MP1" : "MP2", kMpPoints[s], 3);
  for (int s = 0; s < 2; ++s)
    AddLine(multipath_->Plot(), s == 0 ? "MP1 RMS per 5\u00b0" : "MP2 RMS per 5\u00b0",
            kMpLines[s]);
  multipath_->SetLegendVisible(true);
  charts_->addTab(multipath_, "Multipath");

  availability_ = new Chart("ChQualityAvailability");
  availability_->SetBottomTitle("GPS time");
  availability_->setToolTip("Blue: records present; red: cycle slips; purple: clock jumps");
  charts_->addTab(availability_, "Availability");

  snr_ = new Chart("ChQualitySnr");
  snr_->SetBottomTitle("Elevation [degrees]");
  snr_->SetLeftTitle("Signal strength [dB-Hz]");
  for (int k = 0; k < kSignalCount; ++k) snr_->AddSeries(SnrCaption(k), kSignalColours[k], 3);
  for (int k = 0; k < kSignalCount; ++k)
    AddLine(snr_->Plot(), QString(SnrCaption(k)) + " mean", kSignalColours[k].darker(130));
  snr_->SetLegendVisible(true);
  charts_->addTab(snr_, "Signal strength");
  return charts_;
}

std::optional<QualityOptions> QualityView::Settings() const {
  QualityOptions o;
  o.maskDeg = mask_->value();
  const QString text = position_->text().trimmed();
  if (!text.isEmpty()) {
    o.position = ParseReceiverPosition(text.toStdString());
    if (!o.position) return std::nullopt;
  }
  return o;
}

void QualityView::SettingsChanged() {
  const std::optional<QualityOptions> o = Settings();
  position_->setStyleSheet(o ? "" : "QLineEdit { background-color: #ffd0d0; }");
  if (!o) {
    status_->setText("The receiver position wants X,Y,Z in metres");
    return;
  }
  if (window.frontPanel() == this) quality_.Request(*o);
}

void QualityView::Open() {
  window.HideViews();
  window.ShowInFront(this);
  close_->setFocus();
  if (const std::optional<QualityOptions> o = Settings()) quality_.Request(*o);
}

void QualityView::ResetForScan() {
  quality_.Reset();
  summary_->clear();
  systems_->SetTable({});
  satellites_->SetTable({});
  skyplot_->load(QByteArray());
  for (Chart* c : {multipath_, availability_, snr_}) {
    for (int g = 0; g < c->Plot()->graphCount(); ++g) c->Plot()->graph(g)->data()->clear();
    c->Plot()->replot();
  }
  status_->clear();
}

void QualityView::ShowReport() {
  const QualityReport* r = quality_.Report();
  const std::optional<QualityOptions> o = Settings();
  // Another view's request may have brought a report of other settings.
  if (!r || !o || !SameQualityOptions(*o, quality_.ReportOptions())) return;
  status_->setText(r->ok ? QString() : QString::fromStdString("Analysis stopped: " + r->message));
  ShowSummary(*r);
  systems_->SetTable(QualitySystemTable(*r));
  satellites_->SetTable(QualitySatelliteTable(*r));
  for (QTableView* t : {systemTable_, satelliteTable_}) t->resizeColumnsToContents();
  // The system table shows all its rows without scrolling.
  const int rows = systems_->rowCount();
  systemTable_->setFixedHeight(systemTable_->horizontalHeader()->sizeHint().height() +
                               rows * systemTable_->verticalHeader()->defaultSectionSize() +
                               systemTable_->horizontalScrollBar()->sizeHint().height() + 4);
  DrawSkyplot(*r);
  DrawMultipath(*r);
  DrawAvailability(*r);
  DrawSignalStrength(*r);
}

void QualityView::ShowSummary(const QualityReport& r) {
  QString html = "<table cellspacing=\"0\" cellpadding=\"1\">";
  for (const auto& [caption, text] : QualitySummaryFigures(r))
    html += QString("<tr><td><b>%1</b>&nbsp;&nbsp;</td><td>%2</td></tr>")
                .arg(QString::fromStdString(caption).toHtmlEscaped(),
                     QString::fromStdString(text).toHtmlEscaped());
  summary_->setText(html + "</table>");
}

void QualityView::DrawSkyplot(const QualityReport& r) {
  skyplot_->load(QByteArray::fromStdString(QualitySkyplotSvg(r)));
  skyplot_->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
}

void QualityView::DrawMultipath(const QualityReport& r) {
  std::vector<double> x[2], y[2];
  for (const ElevationPoint& p : r.charts.multipath) {
    x[p.series & 1].push_back(p.elevationDeg);
    y[p.series & 1].push_back(p.value);
  }
  for (int s = 0; s < 2; ++s) multipath_->SetPoints(s, x[s], y[s]);
  for (const QualityBinLine& l : MultipathBinLines(r))
    SetLine(multipath_->Plot()->graph(2 + l.series), l);
  const ChartScale scale = MultipathChartScale(r);
  multipath_->SetLeftRange(-scale.scale, scale.scale);
  multipath_->Redraw();
  multipath_->Plot()->xAxis->setRange(0, 90);
  multipath_->Plot()->replot();
}

void QualityView::DrawSignalStrength(const QualityReport& r) {
  std::vector<double> x[kSignalCount], y[kSignalCount];
  for (const ElevationPoint& p : r.charts.snr) {
    if (p.series >= kSignalCount) continue;
    x[p.series].push_back(p.elevationDeg);
    y[p.series].push_back(p.value);
  }
  QCustomPlot* plot = snr_->Plot();
  for (int k = 0; k < kSignalCount; ++k) {
    snr_->SetPoints(k, x[k], y[k]);
    plot->graph(kSignalCount + k)->data()->clear();
    // The legend names the signals the log has.
    for (QCPGraph* g : {plot->graph(k), plot->graph(kSignalCount + k)}) {
      if (x[k].empty())
        g->removeFromLegend();
      else if (!plot->legend->hasItemWithPlottable(g))
        g->addToLegend();
    }
  }
  for (const QualityBinLine& l : SnrBinLines(r)) SetLine(plot->graph(kSignalCount + l.series), l);
  snr_->Redraw();
  plot->xAxis->setRange(0, 90);
  plot->replot();
}

void QualityView::DrawAvailability(const QualityReport& r) {
  QCustomPlot* plot = availability_->Plot();
  plot->clearGraphs();
  plot->clearItems();
  auto names = QSharedPointer<QCPAxisTickerText>::create();
  const auto& bars = r.charts.availability;
  QVector<double> slipX, slipY;
  for (size_t row = 0; row < bars.size(); ++row) {
    const QualitySatellite& q = r.satellites[bars[row].satellite];
    names->addTick(static_cast<double>(row), QString::fromStdString(q.name));
    QVector<double> x, y;
    // A gap between runs: a point without a value breaks the line.
    for (const auto& [from, to] : bars[row].runs) {
      if (!x.isEmpty()) x << from + kGpsEpochUnix, y << qQNaN();
      x << from + kGpsEpochUnix << to + kGpsEpochUnix;
      y << static_cast<double>(row) << static_cast<double>(row);
    }
    QCPGraph* g = plot->addGraph();
    g->setPen(QPen(kRunColour, 7, Qt::SolidLine, Qt::FlatCap));
    g->setData(x, y, true);
    for (const SlipMark& m : q.slips) slipX << m.time + kGpsEpochUnix, slipY << row;
  }
  // The slips over the bars: a short upright stroke each.
  QCPGraph* slips = plot->addGraph();
  slips->setLineStyle(QCPGraph::lsNone);
  QPainterPath stroke;
  stroke.moveTo(0, -1);
  stroke.lineTo(0, 1);
  slips->setScatterStyle(QCPScatterStyle(stroke, QPen(kSlipColour, 2), Qt::NoBrush, 11));
  slips->setData(slipX, slipY);
  for (const ClockJumpMark& j : r.clockJumps) {
    auto* line = new QCPItemStraightLine(plot);
    line->point1->setCoords(j.time + kGpsEpochUnix, 0);
    line->point2->setCoords(j.time + kGpsEpochUnix, 1);
    line->setPen(QPen(kJumpColour, 1.5, Qt::DashLine));
  }
  plot->yAxis->setTicker(names);
  plot->yAxis->setSubTicks(false);
  plot->yAxis->grid()->setVisible(false);
  plot->yAxis->setRangeReversed(true);
  plot->yAxis->setRange(-1, std::max<double>(1, static_cast<double>(bars.size())));
  auto time = QSharedPointer<QCPAxisTickerDateTime>::create();
  time->setDateTimeSpec(Qt::UTC);
  const double span = r.epochs.last - r.epochs.first;
  time->setDateTimeFormat(span > 86400 ? "dd.MM.\nhh:mm" : "hh:mm");
  plot->xAxis->setTicker(time);
  const double pad = std::max(1.0, span * 0.01);
  plot->xAxis->setRange(r.epochs.first + kGpsEpochUnix - pad, r.epochs.last + kGpsEpochUnix + pad);
  plot->replot();
}

bool QualityView::SaveReport(const QString& path) {
  quality_.Wait();
  const QualityReport* r = quality_.Report();
  const std::optional<QualityOptions> o = Settings();
  if (o && r && !SameQualityOptions(*o, quality_.ReportOptions())) {
    quality_.Request(*o);
    quality_.Wait();
    r = quality_.Report();
  }
  if (!r || !o) {
    window.ShowMessage("No quality report to save: " +
                       QString(o ? "the log has no epochs" : "the receiver position is not X,Y,Z"));
    return false;
  }
  const CheckReport check =
      CheckReportOfScan(window.session(), window.inputFileName().toStdString());
  const bool json = path.endsWith(".json", Qt::CaseInsensitive);
  const std::string text =
      json ? QualityJsonDocument(check, *r, false, false) : QualityHtml(*r, check);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    window.ShowMessage(QString("Cannot write %1: %2").arg(path, file.errorString()));
    return false;
  }
  status_->setText("Saved " + QFileInfo(path).fileName());
  return true;
}

void QualityView::SaveByDialog() {
  const QFileInfo log(window.inputFileName());
  const QString suggested = log.absolutePath() + "/" + log.completeBaseName() + "-quality.html";
  QString path;
  if (saveFileChooser) {
    path = saveFileChooser(suggested);
  } else {
    QString filter;
    path = QFileDialog::getSaveFileName(this, "Save quality report", suggested,
                                        "HTML report (*.html);;JSON document (*.json)", &filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
      path += filter.startsWith("JSON") ? ".json" : ".html";
  }
  if (!path.isEmpty()) SaveReport(path);
}

}  // namespace vnx::app
