#pragma once
// The one chart of the application: point series drawn as small markers without lines, with
// the handful of operations the views need. Wheel zoom and drag pan on every chart;
// double-click resets the axes.
#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

class QCustomPlot;
class QCPGraph;
class QCPTextElement;
class QCPItemText;
class QCPAbstractItem;

namespace vnx::app {

class Chart : public QWidget {
  Q_OBJECT
 public:
  enum class Marker { Circle, Square };

  explicit Chart(const QString& objectName, QWidget* parent = nullptr);

  // Adds a series; returns its index. `rightAxis` puts it on the right-hand axis.
  int AddSeries(const QString& name, const QColor& color, int size = 3,
                Marker marker = Marker::Circle, bool rightAxis = false);
  int SeriesCount() const { return static_cast<int>(graphs_.size()); }
  QString SeriesName(int series) const;
  QColor SeriesColor(int series) const;

  void Clear(int series);
  void ClearAll();
  // Replaces the points of a series in one go (x ascending keeps drawing fast).
  void SetPoints(int series, const std::vector<double>& x, const std::vector<double>& y);
  void AddPoint(int series, double x, double y);
  int PointCount(int series) const;
  double PointX(int series, int i) const;
  double PointY(int series, int i) const;
  double MinY(int series) const;
  double MaxY(int series) const;

  void SetTitle(const QString& title);  // empty: no title row at all
  QString Title() const;
  void SetBottomTitle(const QString& t);
  void SetLeftTitle(const QString& t, double angle = 270);
  QString LeftTitle() const;
  void SetRightTitle(const QString& t);
  QString RightTitle() const;
  void SetLeftAutomatic();
  void SetLeftRange(double min, double max);
  bool LeftAutomatic() const { return leftAutomatic_; }
  double LeftMin() const;
  double LeftMax() const;
  void SetLegendVisible(bool visible);
  bool LegendVisible() const;
  void SetLegendBottom();
  void SetLeftLabelsVisible(bool visible);
  // Significant digits of the left-axis labels (6 unless set): large values with a small
  // spread need more to keep neighbouring labels apart.
  void SetLeftPrecision(int digits);

  // Vertical lines across the plot at these x values (events such as cycle slips); an empty
  // list removes them.
  void SetMarks(const std::vector<double>& x, const QColor& color);
  const std::vector<double>& Marks() const { return markX_; }

  // Rescales the automatic axes and repaints.
  void Redraw();
  QCustomPlot* Plot() const { return plot_; }
  bool SavePng(const QString& path, int width = 0, int height = 0);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QCustomPlot* plot_;
  QCPTextElement* title_ = nullptr;
  QCPItemText* leftTitle_ = nullptr;  // the horizontal left-axis title
  std::vector<QCPGraph*> graphs_;
  std::vector<QCPAbstractItem*> marks_;
  std::vector<double> markX_;
  bool leftAutomatic_ = true;
  double leftMin_ = 0, leftMax_ = 1;
};

}  // namespace vnx::app
