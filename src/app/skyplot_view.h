#pragma once
// Skyplot: every satellite's track of azimuth and elevation over the whole log or a range of
// epochs, north up and azimuth clockwise, rings every 15 degrees and the elevation mask ring,
// coloured by system or by the strength of a chosen signal, each track labelled at its end.
// Drawn with QPainter on a widget of its own (a polar plot needs none of the chart's axes).
#include <QWidget>
#include <array>

#include "app/view_panel.h"
#include "engine/views/sky_views.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace vnx::app {

class SkyplotWidget : public QWidget {
  Q_OBJECT
 public:
  explicit SkyplotWidget(QWidget* parent = nullptr);
  void SetPlot(SkyPlot plot, bool byStrength, int mask, const EpochClock* clock);
  const SkyPlot& Plot() const { return plot_; }
  // The readout of the track point nearest to a widget position; empty when none is near.
  QString ReadoutAt(const QPoint& pos) const;
  QString LastReadout() const { return readout_; }
  // Where a direction is drawn, in widget pixels (as of the last paint).
  QPointF Pixel(double azimuth, double elevation) const;
  bool SaveImage(const QString& path, int width = 0, int height = 0);
  QMenu* BuildContextMenu();
  std::function<QString(const QString& caption, const QString& filter)> fileChooser;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void PaintGrid(QPainter& p) const;
  void PaintTracks(QPainter& p) const;
  void PaintLegend(QPainter& p) const;
  QColor ColourOf(const SkyTrack& t, const SkyTrackPoint& pt) const;

  SkyPlot plot_;
  bool byStrength_ = false;
  int mask_ = 0;
  const EpochClock* clock_ = nullptr;
  QPointF centre_;
  double radius_ = 1;
  QString readout_;
};

class SkyplotView : public ViewPanel {
  Q_OBJECT
 public:
  explicit SkyplotView(MainWindow& window);
  void Open() override;
  void Draw();
  SkyplotWidget* Sky() const { return sky_; }

 private:
  QWidget* BuildControls();

  SkyplotWidget* sky_;
  std::array<QCheckBox*, kSatSystemCount> systems_{};
  QComboBox* colourBy_;
  QComboBox* signal_;
  QSpinBox* first_;
  QSpinBox* last_;
};

}  // namespace vnx::app
