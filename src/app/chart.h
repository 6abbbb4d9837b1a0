#pragma once
// The one chart of the application: point series drawn as markers without lines. Every chart
// has: the time-axis switch of its window (epoch charts), wheel zoom (one axis when the wheel is
// over it), drag pan, box zoom (Ctrl+drag, or plain drag with "Box zoom" checked), keyboard
// zoom and pan (+, -, arrows, Home), a readout of the point under the mouse, a context menu
// (save and copy the image, export the visible points as CSV, reset, legend, time axis), and
// min/max-per-pixel decimation of large series, recomputed on every zoom, pan and resize.
// The points the views hand over are kept whole; only what is drawn is thinned.
#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "engine/views/chart_data.h"
#include "engine/views/chart_time.h"

class QCustomPlot;
class QCPGraph;
class QCPTextElement;
class QCPItemText;
class QCPAbstractItem;
class QCPItemEllipse;
class QCPAxis;
class QMenu;

namespace vnx::app {

class TimeAxisSwitch;

class Chart : public QWidget {
  Q_OBJECT
 public:
  enum class Marker { Circle, Square };
  // What the horizontal axis holds: epoch numbers (the time switch applies) or a quantity of
  // its own (scatters: elevation, east).
  enum class KeyAxis { Epoch, Plain };

  explicit Chart(const QString& objectName, QWidget* parent = nullptr);
  ~Chart() override;

  // Adds a series; returns its index. `rightAxis` puts it on the right-hand axis. Markers are
  // at least 6 pixels across.
  int AddSeries(const QString& name, const QColor& color, int size = 6,
                Marker marker = Marker::Circle, bool rightAxis = false);
  // A series drawn as a line through its points (means, circles), without decimation.
  void SetSeriesLine(int series, bool line);
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  QString SeriesName(int series) const;
  QColor SeriesColor(int series) const;

  void Clear(int series);
  void ClearAll();
  // Replaces the points of a series in one go. `epochs` gives each point's epoch on a chart
  // whose keys are not epochs (for the readout and the CSV).
  void SetPoints(int series, const std::vector<double>& x, const std::vector<double>& y,
                 const std::vector<int32_t>& epochs = {});
  void AddPoint(int series, double x, double y);
  int PointCount(int series) const;
  double PointX(int series, int i) const;
  double PointY(int series, int i) const;
  double MinY(int series) const;
  double MaxY(int series) const;
  // Points handed to the chart library for the current view (after decimation).
  int DrawnCount(int series) const;

  void SetKeyAxis(KeyAxis kind);
  void SetTitle(const QString& title);  // empty: no title row at all
  QString Title() const;
  void SetBottomTitle(const QString& t);
  QString BottomTitle() const;
  void SetLeftTitle(const QString& t, double angle = 270);
  QString LeftTitle() const;
  void SetRightTitle(const QString& t);
  QString RightTitle() const;
  bool RightAxisVisible() const;
  void SetLeftAutomatic();
  void SetLeftRange(double min, double max);
  bool LeftAutomatic() const { return leftAutomatic_; }
  // Fixed ranges for both axes (a square scatter), kept by Reset.
  void SetFixedRanges(double xMin, double xMax, double yMin, double yMax);
  // Equal metres per pixel on both axes (a horizontal scatter), kept through resizes.
  void SetEqualScale(bool equal);
  // A circle in axis coordinates (the 2DRMS circle); a radius <= 0 removes it.
  void SetCircle(double cx, double cy, double radius, const QColor& color);
  double LeftMin() const;
  double LeftMax() const;
  void SetLegendVisible(bool visible);
  bool LegendVisible() const;
  void SetLegendBottom();  // the legend below the plot (the default)
  void SetLeftLabelsVisible(bool visible);
  // Significant digits of the left-axis labels (6 unless set).
  void SetLeftPrecision(int digits);
  // The text the chart shows when it has no point; empty when it has points.
  QString EmptyText() const;

  // Vertical lines across the plot at these x values (events such as cycle slips); an empty
  // list removes them.
  void SetMarks(const std::vector<double>& x, const QColor& color);
  const std::vector<double>& Marks() const { return markX_; }

  // Rescales the automatic axes to every point and repaints.
  void Redraw();
  QCustomPlot* Plot() const { return plot_; }

  // The horizontal axis in use, and its visible range in the chart's own keys (epoch numbers
  // on epoch charts, whatever the axis shows).
  ChartTimeAxis TimeAxis() const { return timeMode_; }
  ValueSpan VisibleKeys() const;
  void SetVisibleKeys(double lower, double upper);  // in the chart's own keys
  void ZoomBy(double factor);                       // about the middle, both axes
  void PanBy(double fractionX, double fractionY);

  // Exports: image at the chart's size or the given one (PNG, JPG, PDF by the suffix); the
  // CSV of the points inside the visible ranges.
  bool SaveImage(const QString& path, int width = 0, int height = 0);
  bool SavePng(const QString& path, int width = 0, int height = 0) {
    return SaveImage(path, width, height);
  }
  QString VisibleCsv() const;
  bool ExportCsv(const QString& path) const;
  void CopyImage();

  // The readout of the point nearest to a widget position of the plot: "series: epoch N,
  // time, value unit"; empty when no point is within reach.
  QString ReadoutAt(const QPoint& plotPosition) const;
  QString LastReadout() const { return readout_; }
  bool BoxZoom() const { return boxZoom_; }
  void SetBoxZoom(bool on);

  // The context menu as shown on a right click (built anew each time).
  QMenu* BuildContextMenu();
  // Where the context menu's save commands ask for a file; returns empty to cancel. Tests
  // replace it.
  std::function<QString(const QString& caption, const QString& filter)> fileChooser;
  // Asks for an image size; false to cancel. Tests replace it.
  std::function<bool(int& width, int& height)> sizeChooser;

 signals:
  void ReadoutChanged(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Series {
    QCPGraph* graph = nullptr;
    std::vector<double> x, y;
    std::vector<int32_t> epochs;
    bool sorted = true;
    bool line = false;
    bool right = false;
  };

  TimeAxisSwitch* Switch() const;
  const EpochClock& Clock() const;
  double ToAxis(double key) const;  // chart key to the axis' value
  double FromAxis(double value) const;
  void FollowTimeSwitch();
  void ApplyTimeAxis();
  void UpdateDrawnData();
  void ShowEmptyState(bool empty);
  void KeepEqualScale();
  QCPAxis* ValueAxisOf(const Series& s) const;
  QString ValueUnit(const Series& s) const;
  void WheelOverAxis(const QPoint& pos);
  bool KeyPress(int key);
  void ShowContextMenu(const QPoint& pos);
  void SaveImageAs(bool chooseSize);
  void ExportCsvAs();

  QCustomPlot* plot_;
  QCPTextElement* title_ = nullptr;
  std::vector<QCPAbstractItem*> marks_;
  std::vector<double> markX_;
  QCPItemText* leftTitle_ = nullptr;
  QCPItemText* emptyText_ = nullptr;
  QCPItemEllipse* circle_ = nullptr;
  double circleAt_[3]{};  // centre x, y and radius of the circle
  bool equalScale_ = false;
  std::vector<Series> series_;
  KeyAxis keyKind_ = KeyAxis::Epoch;
  ChartTimeAxis timeMode_ = ChartTimeAxis::Epoch;
  QString epochTitle_ = "Epoch number";
  bool leftAutomatic_ = true;
  double leftMin_ = 0, leftMax_ = 1;
  bool fixed_ = false;
  double fixedX_[2]{}, fixedY_[2]{};
  bool boxZoom_ = false;
  bool decimating_ = false;
  bool dataDirty_ = true;  // keys to hand over again (new points or a new time axis)
  bool switchBound_ = false;
  QString readout_;
};

// Above this many points in all its series together, a chart draws a thinned copy.
inline constexpr int kDecimateAbove = 100000;

}  // namespace vnx::app
