#pragma once
// A main window on a temporary directory with its dialogs replaced, for driving the data views
// through their controls after a real scan.
#include <gtest/gtest.h>

#include <QAction>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "app/chart.h"
#include "app/main_window.h"
#include "support/log_builder.h"
#include "support/scan_fixture.h"
#include "tools/synth/frame_builder.h"

namespace vnx::app {

class ViewTest : public ::testing::Test {
 protected:
  ViewTest() {
    window.messageSink = [this](const QString& m) { messages << m; };
    window.confirmSink = [](const QString&) { return true; };
    window.fileChooser = [this] { return chosen; };
    window.pauses = false;
  }

  template <class T = QWidget>
  T* Find(const char* name) {
    T* w = window.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  void ChooseAndScan(const std::string& log) {
    chosen = QString::fromStdString(dir.Write("log" + std::to_string(++logs) + ".vnx", log));
    window.ChooseFileByButton();
    window.StartScanByButton();
    messages.clear();
  }

  // What the menu item does; false when the item is disabled.
  bool Trigger(const char* item) {
    QAction* a = window.action(item);
    if (!a || !a->isEnabled()) return false;
    a->trigger();
    return true;
  }

  QString Front() const { return window.frontPanel()->objectName(); }
  std::string WorkPath(WorkFile f) { return window.scan().Files().PathOf(f); }

  static std::vector<double> Xs(const Chart* c, int series) {
    std::vector<double> x;
    for (int i = 0; i < c->PointCount(series); ++i) x.push_back(c->PointX(series, i));
    return x;
  }
  static std::vector<double> Ys(const Chart* c, int series) {
    std::vector<double> y;
    for (int i = 0; i < c->PointCount(series); ++i) y.push_back(c->PointY(series, i));
    return y;
  }
  static std::vector<QString> Names(const Chart* c) {
    std::vector<QString> n;
    for (int s = 0; s < c->SeriesCount(); ++s) n.push_back(c->SeriesName(s));
    return n;
  }

  test::TempDir dir;
  MainWindow window{QString::fromStdString(dir.path())};
  QStringList messages;
  QString chosen;
  int logs = 0;
};

// Four epochs one second apart of GPS 5 and 12, SBAS 120 and Galileo 75 (PRN 5) with elevations
// 30, -2, 15, 5 and azimuths 200, 100, 40, 358; stand-alone, code and float solutions with
// velocities, DOPs and RMS; XA every second, XB at steps of 1.3, 1.5 and 1.7 s, ZA and ZB
// offsets; a site name from epoch 2 and kinematic from epoch 3.
inline std::string RichLog() {
  test::LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (int i = 1; i <= 4; ++i) {
    const int32_t ms = 36000000 + i * 1000;
    b.Time(static_cast<uint32_t>(ms)).Sats({5, 12, 120, 75});
    b.Elevations({30, -2, 15, 5}).Azimuths({100, 50, 20, 179});
    const uint8_t type = static_cast<uint8_t>(i == 4 ? 1 : i);
    b.Frame("PO", Payload().F64(100 + i).F64(200).F64(300).F32(2.5f).U8(type));
    b.Frame("VE", Payload().F32(i == 1 ? 0.0f : 0.5f).F32(0.25f).F32(0).F32(0.1f).U8(type));
    b.Frame("DP", Payload().F32(1.5f).F32(2).F32(i == 3 ? 0.0f : 1.0f).U8(type));
    b.Frame("SG", Payload().F32(1).F32(2).F32(0.1f).F32(0.2f).U8(type));
    b.Frame("XA", Payload().I32(ms).I32(0).U8(0));
    b.Frame("XB", Payload().I32(ms + i * i * 100).I32(0).U8(0));
    b.Frame("ZA", Payload().F32(-3.25f - 0.125f * static_cast<float>(i)));
    if (i <= 2) b.Frame("ZB", Payload().F32(10.0f * static_cast<float>(i)));
    if (i == 2) b.Frame("==", Payload().I32(ms).U8(0).Bytes("_SIT=BASE1"));
    if (i == 3) b.Frame("==", Payload().I32(ms).U8(0).Bytes("_DYM=DYNAMIC"));
  }
  return b.str();
}

}  // namespace vnx::app
