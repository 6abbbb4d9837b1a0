// What every chart does, driven in the real window: the time-axis switch, the CSV of a zoomed
// range, image export, box zoom, the readout, decimation of a large series, the right axis and
// the empty state; the three views of satellite directions and positions; and the layouts at
// two window sizes.
#include "app/chart.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <cmath>
#include <map>
#include <set>

#include "app/chart_time_switch.h"
#include "app/position_scatter_view.h"
#include "app/signal_elevation_view.h"
#include "app/skyplot_view.h"
#include "view_test_fixture.h"

namespace vnx::app {
namespace {

using ::testing::HasSubstr;

class ChartTest : public ViewTest {
 protected:
  void ScanAndOpen(const char* view) {
    ChooseAndScan(RichLog());
    ASSERT_TRUE(Trigger(view));
  }
  static QStringList Lines(const QString& text) { return text.split('\n', Qt::SkipEmptyParts); }
  // Pixel position of point i of a series, in the plot widget.
  static QPoint PixelOf(Chart* c, int series, int i, bool right = false) {
    QCustomPlot* p = c->Plot();
    const double key = p->graph(series)->data()->at(i)->key;
    return {static_cast<int>(std::lround(p->xAxis->coordToPixel(key))),
            static_cast<int>(
                std::lround((right ? p->yAxis2 : p->yAxis)->coordToPixel(c->PointY(series, i))))};
  }
  static void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                   Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                  mods);
    QApplication::sendEvent(w, &e);
  }
  QString TempFile(const char* name) { return QString::fromStdString(dir.path() + "/" + name); }
};

TEST_F(ChartTest, TimeAxisSwitchIsOneForEveryChartAndRemembered) {
  ScanAndOpen("Positions1");
  Chart* pos = Find<Chart>("ChartPos");
  EXPECT_EQ(pos->BottomTitle(), "Epoch number");
  ASSERT_TRUE(Trigger("TimeAxisGps1"));
  EXPECT_EQ(pos->TimeAxis(), ChartTimeAxis::GpsTime);
  EXPECT_EQ(pos->BottomTitle(), "GPS time");
  // RichLog's epochs are 10:00:01..10:00:04 GPS time: the axis counts seconds of the day.
  const QCPRange r = pos->Plot()->xAxis->range();
  EXPECT_GT(r.lower, 35990.0);
  EXPECT_LT(r.upper, 36010.0);
  EXPECT_EQ(pos->PointX(0, 0), 1);  // the chart's own keys stay epoch numbers
  EXPECT_EQ(QSettings("vnx-viewer", "vnx-viewer").value("charts/timeAxis").toString(), "gps");
  // Another view opens on the same choice; UTC without leap seconds shows GPS time.
  ASSERT_TRUE(Trigger("Satellites1"));
  EXPECT_EQ(Find<Chart>("ChartSat")->BottomTitle(), "GPS time");
  ASSERT_TRUE(Trigger("TimeAxisUtc1"));
  EXPECT_EQ(Find<Chart>("ChartSat")->TimeAxis(), ChartTimeAxis::GpsTime);
  EXPECT_EQ(RememberedTimeAxis(), ChartTimeAxis::Utc);
  ASSERT_TRUE(Trigger("TimeAxisEpoch1"));
  EXPECT_EQ(Find<Chart>("ChartSat")->BottomTitle(), "Epoch number");
  // Charts of other keys (event numbers, elevations) keep their axis.
  ASSERT_TRUE(Trigger("TimeAxisGps1"));
  ASSERT_TRUE(Trigger("SignalElevation1"));
  EXPECT_EQ(Find<Chart>("ChSnrEl")->BottomTitle(), "Elevation [degrees]");
  ASSERT_TRUE(Trigger("TimeAxisEpoch1"));
}

TEST_F(ChartTest, CsvOfAZoomedRangeHoldsExactlyTheVisiblePoints) {
  ScanAndOpen("Positions1");
  Chart* pos = Find<Chart>("ChartPos");
  // Stand-alone solutions of X = 100 + epoch at epochs 1 and 4; the values cut off epoch 1.
  pos->SetVisibleKeys(0.5, 4.5);
  pos->Plot()->yAxis->setRange(101.5, 110);
  const QStringList lines = Lines(pos->VisibleCsv());
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[0], "series,epoch,time (GPS),value,unit");
  EXPECT_EQ(lines[1], "STAND_ALONE,4,2009-06-23 10:00:04.000,104,m");
  EXPECT_TRUE(pos->ExportCsv(TempFile("pos.csv")));
  QFile f(TempFile("pos.csv"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()), pos->VisibleCsv());
  // Through the context menu, with the file chooser answering.
  pos->fileChooser = [this](const QString&, const QString&) { return TempFile("menu.csv"); };
  QMenu* menu = pos->BuildContextMenu();
  menu->findChild<QAction*>("ChartExportCsv")->trigger();
  EXPECT_TRUE(QFile::exists(TempFile("menu.csv")));
  delete menu;
}

TEST_F(ChartTest, ImagesAtTheChartsSizeOrAChosenOne) {
  ScanAndOpen("Positions1");
  Chart* pos = Find<Chart>("ChartPos");
  pos->fileChooser = [this](const QString&, const QString&) { return TempFile("pos.png"); };
  pos->sizeChooser = [](int& w, int& h) {
    w = 640, h = 480;
    return true;
  };
  QMenu* menu = pos->BuildContextMenu();
  menu->findChild<QAction*>("ChartSaveImageSize")->trigger();
  delete menu;
  const QImage png(TempFile("pos.png"));
  EXPECT_EQ(png.size(), QSize(640, 480));
  ASSERT_TRUE(pos->SaveImage(TempFile("pos.pdf")));
  QFile pdf(TempFile("pos.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
}

TEST_F(ChartTest, BoxZoomKeyboardAndAxisWheel) {
  ScanAndOpen("Satellites1");
  Chart* c = Find<Chart>("ChartSat");
  window.resize(1024, 640);
  window.show();
  QApplication::processEvents();
  QCustomPlot* p = c->Plot();
  const QRect r = p->axisRect()->rect();
  const QCPRange before = p->xAxis->range();
  // Ctrl+drag over the middle third.
  const QPoint from(r.left() + r.width() / 3, r.top() + 10),
      to(r.left() + 2 * r.width() / 3, r.bottom() - 10);
  Send(p, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::ControlModifier);
  Send(p, QEvent::MouseMove, to, Qt::LeftButton, Qt::ControlModifier);
  Send(p, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::ControlModifier);
  const QCPRange boxed = p->xAxis->range();
  EXPECT_NEAR(boxed.size(), before.size() / 3, before.size() * 0.02);
  // Home resets, + zooms in, the right arrow pans.
  QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
  QApplication::sendEvent(p, &home);
  EXPECT_NEAR(p->xAxis->range().size(), before.size(), 1e-9);
  QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier);
  QApplication::sendEvent(p, &plus);
  EXPECT_LT(p->xAxis->range().size(), before.size());
  const double centre = p->xAxis->range().center();
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(p, &right);
  EXPECT_GT(p->xAxis->range().center(), centre);
  // The wheel over the left axis zooms only the values.
  const QCPRange keys = p->xAxis->range(), values = p->yAxis->range();
  const QPointF overAxis(r.left() - 10, r.center().y());
  QWheelEvent wheel(overAxis, p->mapToGlobal(overAxis), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(p, &wheel);
  EXPECT_DOUBLE_EQ(p->xAxis->range().size(), keys.size());
  EXPECT_LT(p->yAxis->range().size(), values.size());
}

TEST_F(ChartTest, ReadoutOfTheNearestPoint) {
  ScanAndOpen("Positions1");
  window.resize(1024, 640);
  window.show();
  QApplication::processEvents();
  Chart* pos = Find<Chart>("ChartPos");
  const QPoint at = PixelOf(pos, 0, 1) + QPoint(2, 1);
  EXPECT_EQ(pos->ReadoutAt(at), "STAND_ALONE: epoch 4, 2009-06-23 10:00:04.0 GPS, 104 m");
  Send(pos->Plot(), QEvent::MouseMove, at, Qt::NoButton);
  EXPECT_EQ(pos->LastReadout(), pos->ReadoutAt(at));
  EXPECT_EQ(window.statusBar()->currentMessage(), pos->LastReadout());
  EXPECT_EQ(pos->ReadoutAt(QPoint(2, 2)), "");
}

TEST_F(ChartTest, LargeSeriesAreDecimatedPerPixelColumn) {
  Chart c("ChBig");
  c.AddSeries("big", Qt::black);
  c.resize(800, 400);
  c.show();
  QApplication::processEvents();
  std::vector<double> x(300000), y(300000);
  for (size_t i = 0; i < x.size(); ++i) {
    x[i] = static_cast<double>(i);
    y[i] = i == 123456 ? 50.0 : std::sin(static_cast<double>(i) * 1e-3);
  }
  c.SetPoints(0, x, y);
  c.Redraw();
  EXPECT_EQ(c.PointCount(0), 300000);
  // Two points per pixel column that holds points, at the size being drawn: the columns are
  // counted again when the chart is resized, not kept from the size before.
  auto expectTwoPerColumn = [&](int minimum) {
    const QCPRange r = c.Plot()->xAxis->range();
    const int columns = static_cast<int>(c.Plot()->axisRect()->width() * 299999 / r.size());
    EXPECT_GT(columns, minimum);
    EXPECT_GE(c.DrawnCount(0), 2 * columns - 6);
    EXPECT_LE(c.DrawnCount(0), 2 * columns + 6);
  };
  expectTwoPerColumn(500);
  c.resize(1600, 400);
  QApplication::processEvents();
  expectTwoPerColumn(1200);
  bool found = false;
  EXPECT_DOUBLE_EQ(c.Plot()->graph(0)->data()->valueRange(found).upper, 50.0);  // the spike stays
  c.SetVisibleKeys(1000, 1100);  // zoomed in: every point of the range drawn
  EXPECT_GE(c.DrawnCount(0), 101);
  EXPECT_LT(c.DrawnCount(0), 110);
}

TEST_F(ChartTest, RightAxisOnlyWithItsSeriesAndAnEmptyChartSaysSo) {
  Chart c("ChSmall");
  c.AddSeries("left", Qt::black);
  c.AddSeries("right", Qt::blue, 6, Chart::Marker::Circle, true);
  c.SetRightTitle("Elevation Angle [degrees]");
  c.SetPoints(0, {1, 2}, {100, 200});
  c.Redraw();
  EXPECT_FALSE(c.RightAxisVisible());
  EXPECT_EQ(c.EmptyText(), "");
  c.SetPoints(1, {1, 2}, {10, 20});
  c.Redraw();
  EXPECT_TRUE(c.RightAxisVisible());
  c.ClearAll();
  c.Redraw();
  EXPECT_EQ(c.EmptyText(), "No data for this choice");
  EXPECT_DOUBLE_EQ(c.Plot()->yAxis->range().upper, 1);  // nothing left of the 200
}

TEST_F(ChartTest, SkyplotTracksReadoutAndCsv) {
  ScanAndOpen("Skyplot1");
  auto* view = Find<SkyplotView>("PSky");
  window.resize(1024, 640);
  window.show();
  QApplication::processEvents();
  SkyplotWidget* sky = view->Sky();
  // RichLog: GPS 5, GPS 12, SBAS 120 and Galileo 75 (the last at elevation 5).
  ASSERT_EQ(sky->Plot().tracks.size(), 4u);
  EXPECT_EQ(sky->Plot().tracks[0].Name(), "G05");
  sky->grab();  // lays the plot out
  EXPECT_EQ(sky->ReadoutAt(sky->Pixel(200, 30).toPoint() + QPoint(3, 0)),
            "G05: epoch 1, 2009-06-23 10:00:01.0 GPS, azimuth 200°, elevation 30°");
  EXPECT_EQ(sky->ReadoutAt(QPoint(0, 0)), "");
  Find<QCheckBox>("CBSkyGPS")->click();
  EXPECT_EQ(sky->Plot().tracks.size(), 2u);
  sky->fileChooser = [this](const QString&, const QString&) { return TempFile("sky.csv"); };
  QMenu* menu = sky->BuildContextMenu();
  menu->actions()[2]->trigger();
  delete menu;
  QFile f(TempFile("sky.csv"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_THAT(f.readAll().toStdString(), HasSubstr("S20,1,2009-06-23 10:00:01.000,40,15,\n"));
}

TEST_F(ChartTest, SignalStrengthAgainstElevationAndPositionScatter) {
  ScanAndOpen("SignalElevation1");
  Chart* snr = Find<Chart>("ChSnrEl");
  EXPECT_EQ(snr->LeftTitle(), "CA/S1 [dB-Hz]");
  EXPECT_EQ(snr->SeriesColor(3), QColor(0xE0, 0x80, 0x00));
  ASSERT_TRUE(Trigger("PositionScatter1"));
  auto* view = Find<PositionScatterView>("PPosScatter");
  // RichLog's positions: X 101..104, Y 200, Z 300 of solution types 1, 2, 3, 1.
  EXPECT_EQ(view->Deviations()->PointCount(0), 4);
  EXPECT_THAT(view->Figures().toStdString(), HasSubstr("4 positions."));
  EXPECT_THAT(view->Figures().toStdString(), HasSubstr("Mean E 0.000  N 0.000  U 0.000 m"));
  // The 2DRMS circle is drawn whole.
  const QCustomPlot* en = Find<Chart>("ChEN")->Plot();
  QCPItemEllipse* circle = nullptr;
  for (int i = 0; i < en->itemCount(); ++i)
    if (auto* e = qobject_cast<QCPItemEllipse*>(en->item(i))) circle = e;
  ASSERT_NE(circle, nullptr);
  const QPointF corners[] = {circle->topLeft->coords(), circle->bottomRight->coords()};
  EXPECT_GT(corners[1].x() - corners[0].x(), 1.0);
  for (const QPointF& c : corners) {
    EXPECT_TRUE(en->xAxis->range().contains(c.x())) << c.x();
    EXPECT_TRUE(en->yAxis->range().contains(c.y())) << c.y();
  }
  Find<QComboBox>("CBPosReference")->setCurrentIndex(1);
  Find<QLineEdit>("EPosReference")->setText("102.5 200 300");
  Find<QPushButton>("BBPosApply")->click();
  EXPECT_THAT(view->Figures().toStdString(),
              HasSubstr("Reference X 102.500  Y 200.000  Z 300.000"));
  Find<QLineEdit>("EPosReference")->setText("102.5 200");
  EXPECT_FALSE(view->Draw());
  EXPECT_EQ(messages.size(), 1);
}

// Every view at 1024 x 640 and 1920 x 1080: no two controls overlap, all stay inside the
// window, and the charts, texts and tables use the room the larger window gives.
TEST_F(ChartTest, ViewsGrowWithTheWindowWithoutOverlaps) {
  ChooseAndScan(RichLog());
  const char* views[] = {"TimesEpochs1",     "Header1",       "Ionoparameters1", "Satellites1",
                         "Positions1",       "Measurements1", "Ephemerides1",    "Externalevents1",
                         "Occupations1",     "Attitude1",     "Skyplot1",        "SignalElevation1",
                         "PositionScatter1", "Quality1"};
  window.show();
  int checked = 0;
  std::set<std::string> skipped;
  for (const char* item : views) {
    std::map<int, int> chartWidth;
    for (QSize size : {QSize(1024, 640), QSize(1920, 1080)}) {
      window.resize(size);
      if (!Trigger(item)) {  // nothing of it on this log
        skipped.insert(item);
        continue;
      }
      ++checked;
      QApplication::processEvents();
      QWidget* panel = window.frontPanel();
      std::vector<QWidget*> controls;
      for (QWidget* w : panel->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->width() == 0) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QLineEdit*>(w) || qobject_cast<Chart*>(w) ||
            qobject_cast<SkyplotWidget*>(w) || qobject_cast<QAbstractScrollArea*>(w))
          controls.push_back(w);
      }
      const QRect inside = panel->rect();
      for (size_t i = 0; i < controls.size(); ++i) {
        const QRect a(controls[i]->mapTo(panel, QPoint()), controls[i]->size());
        EXPECT_TRUE(inside.contains(a)) << item << " " << controls[i]->objectName().toStdString();
        for (size_t j = i + 1; j < controls.size(); ++j) {
          if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]))
            continue;
          const QRect b(controls[j]->mapTo(panel, QPoint()), controls[j]->size());
          EXPECT_FALSE(a.intersects(b))
              << item << " at " << size.width() << ": " << controls[i]->objectName().toStdString()
              << " / " << controls[j]->objectName().toStdString();
        }
        // The view's main area: a chart, the skyplot, or a text or table.
        if (qobject_cast<Chart*>(controls[i]) || qobject_cast<SkyplotWidget*>(controls[i]) ||
            qobject_cast<QAbstractScrollArea*>(controls[i]))
          chartWidth[size.width()] = std::max(chartWidth[size.width()], a.width() * a.height());
      }
    }
    if (!chartWidth.empty()) {
      EXPECT_GT(chartWidth[1920], chartWidth[1024] * 3 / 2) << item;
    }
  }
  // The log has no attitude messages, ionosphere parameters or ephemerides: those views stay
  // closed.
  EXPECT_EQ(skipped, (std::set<std::string>{"Attitude1", "Ephemerides1", "Ionoparameters1"}));
  EXPECT_EQ(checked, 2 * 11);
}

}  // namespace
}  // namespace vnx::app
