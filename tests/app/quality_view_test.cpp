// The Quality view on a log made from the real observations with one injected slip: its
// tables, sorting, the settings that recompute it, and the reports it saves.
#include "app/quality_view.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableView>
#include <cstdio>

#include "app/measurements_view.h"
#include "app/scan_quality.h"
#include "tools/synth/real_data.h"
#include "view_test_fixture.h"

namespace vnx::app {
namespace {

// Twenty minutes at 1 Hz from the real observations; G21 slips 3 cycles on L1 at 10 minutes,
// epoch 601.
const std::string& SlipLog() {
  static const std::string log = [] {
    synth::SynthOptions o;
    o.hours = 1.0 / 3;
    o.rate = 1;
    o.slips = {synth::ParseSlip("G21:600:3:0")};
    return synth::test::MakeLog(synth::test::Opec(), o);
  }();
  return log;
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class QualityViewTest : public ViewTest {
 protected:
  void SetUp() override {
    ChooseAndScan(SlipLog());
    ASSERT_TRUE(Trigger("Quality1"));
    Wait();
  }
  void Wait() { window.findChild<ScanQuality*>()->Wait(); }

  QAbstractItemModel* Satellites() { return Find<QTableView>("TVQualitySatellites")->model(); }
  int ColumnOf(const QAbstractItemModel* m, const QString& caption) {
    for (int c = 0; c < m->columnCount(); ++c)
      if (m->headerData(c, Qt::Horizontal).toString() == caption) return c;
    ADD_FAILURE() << caption.toStdString();
    return 0;
  }
  QString Cell(const QAbstractItemModel* m, int row, const QString& caption) {
    return m->index(row, ColumnOf(m, caption)).data().toString();
  }
  int RowOf(const QString& sat) {
    for (int r = 0; r < Satellites()->rowCount(); ++r)
      if (Cell(Satellites(), r, "Sat") == sat) return r;
    return -1;
  }
  int64_t ExpectedTotal() {
    int64_t sum = 0;
    for (int r = 0; r < Satellites()->rowCount(); ++r)
      sum += Cell(Satellites(), r, "Expected").toLongLong();
    return sum;
  }
  // vnx-check's standard output for the scanned log with `args`.
  std::string Check(const std::string& args) {
    const std::string cmd = std::string(VNX_CHECK_BINARY) + " --workdir " + dir.path() + "/check " +
                            args + " " + chosen.toStdString() + " 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
    return out;
  }
};

TEST_F(QualityViewTest, OpensOnTheScanAndShowsTheInjectedSlip) {
  EXPECT_EQ(Front(), "PQuality");
  const int g21 = RowOf("G21");
  ASSERT_GE(g21, 0);
  EXPECT_EQ(Cell(Satellites(), g21, "Slips"), "1");
  EXPECT_EQ(Cell(Satellites(), g21, "Slip epochs"), "601");
  EXPECT_NE(Find<QLabel>("STQualitySummary")->text().indexOf("Cycle slips"), -1);
  // The log has no Galileo ephemeris: their completeness cannot be formed.
  int galileo = 0;
  for (int r = 0; r < Satellites()->rowCount(); ++r)
    if (Cell(Satellites(), r, "Sat").startsWith('E')) {
      ++galileo;
      EXPECT_EQ(Cell(Satellites(), r, "Completeness %"), "\u2013");
    }
  EXPECT_GT(galileo, 0);
  EXPECT_TRUE(Find<QSvgWidget>("SvgQualitySky")->renderer()->isValid());
  EXPECT_GT(Find<Chart>("ChQualityMultipath")->PointCount(0), 100);
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

// Numbers sort as numbers; a figure that cannot be formed goes last either way.
TEST_F(QualityViewTest, SortsEveryColumnAsNumbersWithMissingLast) {
  auto* table = Find<QTableView>("TVQualitySatellites");
  for (const char* caption : {"MP1 RMS m", "Completeness %", "Observed"}) {
    const int column = ColumnOf(Satellites(), caption);
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
      table->sortByColumn(column, order);
      bool missingSeen = false;
      double last = order == Qt::AscendingOrder ? -1e300 : 1e300;
      for (int r = 0; r < Satellites()->rowCount(); ++r) {
        const QString text = Cell(Satellites(), r, caption);
        if (text == "\u2013") {
          missingSeen = true;
          continue;
        }
        EXPECT_FALSE(missingSeen) << caption << " row " << r;
        const double v = text.toDouble();
        EXPECT_TRUE(order == Qt::AscendingOrder ? v >= last : v <= last) << caption << " " << r;
        last = v;
      }
    }
  }
}

TEST_F(QualityViewTest, MaskAndPositionRecomputeTheReport) {
  const int64_t atTen = ExpectedTotal();
  Find<QDoubleSpinBox>("SEQualityMask")->setValue(40);
  Wait();
  EXPECT_LT(ExpectedTotal(), atTen);
  EXPECT_NE(Find<QLabel>("STQualitySummary")->text().indexOf("40.0\u00b0"), -1);

  auto* position = Find<QLineEdit>("EQualityPosition");
  position->setText("not a position");
  emit position->editingFinished();
  EXPECT_FALSE(window.findChild<ScanQuality*>()->Running());
  EXPECT_NE(position->styleSheet(), "");
  position->setText("3149785.9652, 598260.8822, 5495348.4927");
  emit position->editingFinished();
  Wait();
  EXPECT_NE(Find<QLabel>("STQualitySummary")->text().indexOf("(given)"), -1);
}

// The saved documents are those vnx-check writes for the same log and settings.
TEST_F(QualityViewTest, SavesTheHtmlAndJsonThatVnxCheckWrites) {
  Find<QDoubleSpinBox>("SEQualityMask")->setValue(15);
  Wait();
  auto* view = Find<QualityView>("PQuality");
  const QString html = QString::fromStdString(dir.path() + "/view.html");
  const QString json = QString::fromStdString(dir.path() + "/view.json");
  view->saveFileChooser = [&](const QString& suggested) {
    EXPECT_TRUE(suggested.endsWith("-quality.html")) << suggested.toStdString();
    return html;
  };
  Find<QPushButton>("BBQualitySave")->click();
  ASSERT_TRUE(view->SaveReport(json));

  const std::string checkHtml = dir.path() + "/check.html";
  const std::string checkJson = Check("--qc --json --mask 15 --qc-html " + checkHtml);
  ASSERT_FALSE(checkJson.empty());
  EXPECT_EQ(ReadFile(json).toStdString(), checkJson);
  EXPECT_EQ(ReadFile(html), ReadFile(QString::fromStdString(checkHtml)));
}

// "Mark cycle slips" marks G21's slip on its phase and combination charts, not on its codes;
// without a report in hand the analysis runs first.
TEST_F(QualityViewTest, MeasurementChartsMarkTheSlipsOfTheShownSatellite) {
  window.findChild<ScanQuality*>()->Reset();
  ASSERT_TRUE(Trigger("Measurements1"));
  auto* view = Find<MeasurementsView>("PMeasurs");
  auto* chart = Find<Chart>("ChMeasurs");
  int phase = -1;
  for (int i = 0; i < kObservableItemCount; ++i)
    if (ObservableItems()[static_cast<size_t>(i)].id == Observable::L1_CA) phase = i;
  view->SatelliteClick(SatSystem::Gps, 20);
  view->MeasursClick(phase);
  Find<QCheckBox>("CBMarkSlips")->setChecked(true);
  Wait();
  EXPECT_EQ(chart->Marks(), std::vector<double>{601});
  view->MeasursClick(0);  // C1
  EXPECT_TRUE(chart->Marks().empty());
  view->OkComObsClick();
  EXPECT_EQ(chart->Marks(), std::vector<double>{601});
  view->SatelliteClick(SatSystem::Gps, 0);
  EXPECT_TRUE(chart->Marks().empty());  // G01 has no slip
  Find<QCheckBox>("CBMarkSlips")->setChecked(false);
  view->SatelliteClick(SatSystem::Gps, 20);
  EXPECT_TRUE(chart->Marks().empty());
}

}  // namespace
}  // namespace vnx::app
