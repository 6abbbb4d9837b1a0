#include "app/satellites_view.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/chart.h"
#include "app/item_radio_group.h"
#include "app/main_window.h"
#include "app/pie_gauge.h"
#include "app/widgets.h"

namespace vnx::app {

namespace {

constexpr int kGaugePauseMs = 300;

struct SeriesStyle {
  const char* name;
  QColor color;
};

// ALL, then the systems with their names and colours (GEO is the stored colour value
// 16711808, blue-violet).
std::array<SeriesStyle, kSatSeriesCount> SeriesStyles() {
  std::array<SeriesStyle, kSatSeriesCount> out{{{"ALL", QColor(0x20, 0x20, 0x20)}}};
  for (int k = 0; k < kSatSystemCount; ++k) {
    const SatSystemInfo& info = kSatSystemInfo[static_cast<size_t>(k)];
    out[static_cast<size_t>(k) + 1] = {info.shortName, QColor::fromRgb(info.colour)};
  }
  return out;
}

struct GroupLayout {
  const char* name;
  const char* caption;
  int columns;
};

const GroupLayout kGroups[kSatSystemCount] = {{"RGSatGPS", " GPS ", 2},
                                              {"RGSatGLO", " GLO", 1},
                                              {"RGSatGEO", " GEO", 1},
                                              {"RGSatGAL", " GAL ", 2}};

QStringList Labels(SatSystem s) {
  QStringList items;
  for (int i = 0; i < SatelliteItemCount(s); ++i)
    items << QString::number(SatelliteItemLabel(s, i));
  return items;
}

}  // namespace

MaskUpDown::MaskUpDown(QLineEdit& edit, int min, int max) : edit_(edit), min_(min), max_(max) {
  setObjectName("UDElMask");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* up = new QToolButton;
  up->setObjectName("UDElMaskUp");
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton;
  down->setObjectName("UDElMaskDown");
  down->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up, down}) {
    b->setFixedSize(18, 12);
    layout->addWidget(b);
  }
  connect(up, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void MaskUpDown::Step(int delta) {
  const int v = std::clamp(edit_.text().toInt() + delta, min_, max_);
  edit_.setText(QString::number(v));
}

SatellitesView::SatellitesView(MainWindow& w) : ViewPanel(w, "PSats") {
  setProperty("helpPage", "satellites.html");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildChartArea(), 1);
  uncounted_ = new QLabel;
  uncounted_->setObjectName("STWithoutElevation");
  layout->addWidget(uncounted_);
  layout->addWidget(BuildControls());
}

QWidget* SatellitesView::BuildChartArea() {
  // The chart grows with the window; the satellite groups stand on its right while a track is
  // shown ("Elev", "Azim") and give their room to the counts chart under "All".
  auto* area = new QWidget;
  auto* row = new QHBoxLayout(area);
  row->setContentsMargins(0, 0, 0, 0);
  satPanel_ = new QWidget;
  satPanel_->setObjectName("PSatGroups");
  // A small font and tight items keep the four groups narrow.
  QFont small = satPanel_->font();
  small.setPointSize(8);
  satPanel_->setFont(small);
  satPanel_->setStyleSheet(
      "QRadioButton { spacing: 1px; } QRadioButton::indicator { width: 9px; height: 9px; }");
  auto* groups = new QHBoxLayout(satPanel_);
  groups->setContentsMargins(0, 0, 0, 0);
  groups->setSpacing(2);
  for (int s = 0; s < kSatSystemCount; ++s) {
    const auto system = kSatSystems[static_cast<size_t>(s)];
    auto* g =
        new ItemRadioGroup(kGroups[s].name, kGroups[s].caption, Labels(system), kGroups[s].columns);
    connect(g, &ItemRadioGroup::Clicked, this,
            [this, system](int item) { SatelliteClick(system, item); });
    satGroups_[static_cast<size_t>(s)] = g;
    groups->addWidget(g, 0, Qt::AlignTop);
  }
  chart_ = new Chart("ChartSat");
  chart_->SetTitle("Satellites");
  chart_->SetBottomTitle("Epoch number");
  chart_->SetLeftTitle("Number of satellites");
  for (const SeriesStyle& s : SeriesStyles()) chart_->AddSeries(s.name, s.color);
  chart_->SetLegendVisible(true);
  row->addWidget(chart_, 1);
  row->addWidget(satPanel_, 0, Qt::AlignTop);
  satPanel_->hide();
  return area;
}

QWidget* SatellitesView::BuildMaskPanel() {
  maskPanel_ = new QWidget;
  maskPanel_->setObjectName("PElMask");
  auto* row = new QHBoxLayout(maskPanel_);
  row->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(" Elevation Mask (degrees)");
  label->setObjectName("STElMask");
  maskEdit_ = new QLineEdit("0");
  maskEdit_->setObjectName("EElMask");
  maskEdit_->setReadOnly(true);
  maskEdit_->setFixedWidth(40);
  // The summary may start the mask below the horizon (the lowest elevation seen).
  maskUpDown_ = new MaskUpDown(*maskEdit_, -90, 90);
  maskUpDown_->setEnabled(false);
  accept_ = NamedButton("BBElMask", "Accept");
  accept_->setEnabled(false);
  connect(accept_, &QPushButton::clicked, this, [this] { AcceptClick(); });
  row->addWidget(label);
  row->addWidget(maskEdit_);
  row->addWidget(maskUpDown_);
  row->addWidget(accept_);
  return maskPanel_;
}

QWidget* SatellitesView::BuildControls() {
  auto* controls = new QWidget;
  auto* row = new QHBoxLayout(controls);
  row->setContentsMargins(0, 0, 0, 0);
  mode_ = new ItemRadioGroup("RGSats", QString(), {"All", "Elev", "Azim"}, 3);
  mode_->SetItemIndex(0);
  connect(mode_, &ItemRadioGroup::Clicked, this, [this](int item) { ModeClick(item); });
  gauge_ = new PieGauge("GAzEl");
  gauge_->setFixedSize(48, 48);
  calculator_ = NamedButton("BBVTimeAzEl", "Epoch --> Time");
  calculator_->setToolTip("Epoch number --> time calculator");
  connect(calculator_, &QPushButton::clicked, this, [this] { window.OpenCalculator(); });
  close_ = NamedButton("BBCloseSat", "Close");
  connect(close_, &QPushButton::clicked, this, [this] { CloseClick(); });
  row->addWidget(mode_);
  row->addWidget(BuildMaskPanel());
  row->addWidget(gauge_);
  row->addStretch(1);
  row->addWidget(calculator_);
  row->addWidget(close_);
  return controls;
}

void SatellitesView::ShowMask() {
  maskEdit_->setText(QString::number(window.scan().ElevationMask()));
}

void SatellitesView::Open() {
  calculator_->setVisible(true);
  ShowMask();
  maskUpDown_->setEnabled(true);
  accept_->setEnabled(true);
  window.HideViews();
  window.ShowInFront(this);
  repaint();
  selectedSystem_ = SatSystem::Gps;
  satPanel_->hide();
  chart_->show();
  mode_->SetItemIndex(0);
  gauge_->show();
  maskPanel_->show();
  chart_->SetLegendVisible(true);
  RunCountPass();
  Relabel();
  SetSatelliteGroupsEnabled(false);
  close_->setFocus();
}

void SatellitesView::ModeClick(int item) {
  if (mode_->ItemIndex() != item) mode_->SetItemIndex(item);
  calculator_->setVisible(true);
  ShowMask();
  chart_->ClearAll();
  chart_->show();
  const bool all = item == 0;
  satPanel_->setVisible(!all);
  gauge_->setVisible(all);
  maskPanel_->setVisible(all);
  chart_->SetLegendVisible(all);
  maskUpDown_->setEnabled(all);
  accept_->setEnabled(all);
  repaint();
  if (all)
    RunCountPass();
  else
    RunTrack();
  SetSatelliteGroupsEnabled(!all);
}

void SatellitesView::SatelliteClick(SatSystem system, int item) {
  for (int s = 0; s < kSatSystemCount; ++s)
    if (kSatSystems[static_cast<size_t>(s)] != system)
      satGroups_[static_cast<size_t>(s)]->SetItemIndex(-1);
  if (Group(system)->ItemIndex() != item) Group(system)->SetItemIndex(item);
  selectedSystem_ = system;
  if (mode_->ItemIndex() == 0) return;
  if (Group(system)->ItemText(item) == "N") {
    for (int k = 0; k < 3; ++k) chart_->Clear(k);
    chart_->Redraw();
    return;
  }
  RunTrack();
}

void SatellitesView::AcceptClick() {
  window.session().SetElevationMask(maskEdit_->text().toInt());
  if (!calculator_->isHidden() && mode_->ItemIndex() == 0) RunCountPass();
}

void SatellitesView::CloseClick() {
  CloseView();
  for (int k = 0; k < 3; ++k) chart_->Clear(k);
}

void SatellitesView::RunCountPass() {
  chart_->ClearAll();
  chart_->SetLeftTitle("Number of satellites");
  ShowMask();
  const ScanResult ctx = window.scan();
  const SatelliteChart result =
      CountSatellites(SatelliteFilesOf(ctx), ctx.ElevationMask(), [this](int percent) {
        gauge_->SetValue(percent);
        gauge_->repaint();
      });
  ShowChart(result);
  uncounted_->setText(QString::fromStdString(WithoutElevationNote(result)));
  if (gauge_->Value() == 100) {
    Pause(window.pauses, kGaugePauseMs);
    gauge_->SetValue(0);
    gauge_->repaint();
  }
}

void SatellitesView::RunTrack() {
  const bool elevation = mode_->ItemIndex() == 1;
  uncounted_->clear();
  chart_->ClearAll();
  chart_->SetLeftTitle(elevation ? "Elevation [degrees]" : "Azimuth [degrees]");
  const int item = Group(selectedSystem_)->ItemIndex();
  // No satellite chosen in the group, or one not seen in the file: nothing to draw.
  if (item < 0 || Group(selectedSystem_)->ItemText(item) == "N") {
    chart_->Redraw();
    return;
  }
  const int label = SatelliteItemLabel(selectedSystem_, item);
  ShowChart(SatelliteTrack(SatelliteFilesOf(window.scan()), selectedSystem_, label,
                           elevation ? TrackKind::Elevation : TrackKind::Azimuth));
}

void SatellitesView::ShowChart(const SatelliteChart& result) {
  for (int k = 0; k < kSatSeriesCount; ++k) {
    const PointSeries& s = result.series[static_cast<size_t>(k)];
    chart_->SetPoints(k, s.x, s.y);
  }
  chart_->Redraw();
  if (!result.message.empty()) window.ShowMessage(QString::fromStdString(result.message));
}

void SatellitesView::Relabel() {
  const ScanResult ctx = window.scan();
  for (int s = 0; s < kSatSystemCount; ++s) {
    const std::vector<std::string> texts =
        SatelliteItemTexts(ctx, kSatSystems[static_cast<size_t>(s)]);
    for (size_t i = 0; i < texts.size(); ++i)
      satGroups_[static_cast<size_t>(s)]->SetItemText(static_cast<int>(i),
                                                      QString::fromStdString(texts[i]));
  }
}

void SatellitesView::SetSatelliteGroupsEnabled(bool enabled) {
  for (ItemRadioGroup* g : satGroups_) g->setEnabled(enabled);
}

}  // namespace vnx::app
