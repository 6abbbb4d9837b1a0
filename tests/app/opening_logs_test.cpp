// Logs opened from outside the file dialog (command line, drop, recent logs) and what the
// window remembers between runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "app/app_settings.h"
#include "app/main_window.h"
#include "app/recent_logs.h"
#include "app/viewer_command_line.h"
#include "support/log_builder.h"
#include "support/scan_fixture.h"

namespace vnx::app {
namespace {

using test::LogBuilder;
using test::TempDir;
using ::testing::ElementsAre;

std::string CleanLog(int epochs = 3) {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (int i = 1; i <= epochs; ++i) b.Time(i * 1000).Sats({5, 12}).Elevations({30, 4});
  return b.str();
}

// A log long enough that the window runs its events many times while scanning it.
std::string LongLog() {
  LogBuilder b;
  b.Header().Date(2009, 6, 23);
  for (uint32_t t = 0; b.size() < (3u << 20); t = (t + 1000) % 86400000) b.Time(t).Sats({5});
  return b.str();
}

// Sends a drag of `files` onto the window and drops it; true when the drag was accepted.
bool Drop(MainWindow& window, const QStringList& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& f : files) urls << QUrl::fromLocalFile(f);
  data.setUrls(urls);
  const QPointF at(window.width() / 2.0, window.height() / 2.0);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  return drop.isAccepted();
}

class OpeningLogsTest : public ::testing::Test {
 protected:
  OpeningLogsTest() { Prepare(window); }

  void Prepare(MainWindow& w) {
    w.messageSink = [this](const QString& m) { messages << m; };
    w.confirmSink = [](const QString&) { return true; };
    w.pauses = false;
  }
  QString Write(const std::string& name, const std::string& bytes) {
    return QString::fromStdString(dir.Write(name, bytes));
  }
  QString File() { return window.findChild<QLineEdit*>("EFile")->text(); }
  QString Front() { return window.frontPanel()->objectName(); }

  TempDir dir;
  MainWindow window{QString::fromStdString(dir.path())};
  QStringList messages;
};

TEST_F(OpeningLogsTest, LogOnTheCommandLineOpensAndScans) {
  const QString log = Write("day.vnx", CleanLog(4));
  const ViewerArguments args =
      ParseViewerArguments({"vnx-viewer", "day.vnx"}, QString::fromStdString(dir.path()));
  ASSERT_EQ(args.log, log);
  OpenAtStartUp(window, args.log);
  QApplication::processEvents();
  EXPECT_EQ(File(), log);
  EXPECT_EQ(window.scan().EpochCount(), 4);
  EXPECT_EQ(Front(), "PSumm");
  EXPECT_TRUE(window.action("TimesEpochs1")->isEnabled());
  EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(OpeningLogsTest, UnreadableLogIsNamedWithItsReason) {
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {{dir.path() + "/missing.vnx", "no such file"}, {dir.path(), "it is a directory"}};
  for (const auto& c : cases) {
    messages.clear();
    const QString path = QString::fromStdString(c.path);
    EXPECT_FALSE(window.OpenLog(path));
    EXPECT_THAT(messages, ElementsAre(QString("Cannot open %1: %2").arg(path, c.reason)));
    EXPECT_EQ(window.scan().EpochCount(), 0);
    EXPECT_TRUE(window.action("InputVNXfile1")->isEnabled());
  }
}

TEST_F(OpeningLogsTest, DroppedLogOpensAndScans) {
  EXPECT_FALSE(Drop(window, {Write("notes.txt", "VN055RLOGF")}));  // only .vnx logs are taken
  const QString log = Write("dropped.VNX", CleanLog(2));
  EXPECT_TRUE(Drop(window, {log}));
  QApplication::processEvents();
  EXPECT_EQ(File(), log);
  EXPECT_EQ(window.scan().EpochCount(), 2);
  EXPECT_EQ(Front(), "PSumm");
}

TEST_F(OpeningLogsTest, DropDuringAScanIsRefusedWithANote) {
  const QString running = Write("long.vnx", LongLog());
  const QString other = Write("other.vnx", CleanLog());
  QString note;
  QTimer::singleShot(0, &window, [&] {
    Drop(window, {other});
    note = window.statusBar()->currentMessage();
    window.OpenLog(other);  // the same for File > Recent logs
  });
  window.OpenLog(running);
  QApplication::processEvents();
  EXPECT_EQ(note, "A scan is running");
  EXPECT_EQ(File(), running);
  EXPECT_GT(window.scan().EpochCount(), 100000);
  EXPECT_EQ(window.settings().RecentLogs(), QStringList{running});
}

TEST_F(OpeningLogsTest, RecentLogsListNewestFirstAndGreyMissingOnes) {
  const QString first = Write("first.vnx", CleanLog());
  const QString second = Write("second.vnx", CleanLog());
  window.OpenLog(first);
  window.OpenLog(second);
  RecentLogsMenu* menu = window.recentLogsMenu();
  EXPECT_EQ(menu->Paths(), (QStringList{second, first}));
  EXPECT_TRUE(menu->menuAction()->isEnabled());
  QMenu* file = window.menuBar()->actions().first()->menu();
  EXPECT_TRUE(file->actions().contains(menu->menuAction()));

  std::filesystem::remove(first.toStdString());
  emit menu->aboutToShow();
  const QList<QAction*> entries = menu->actions();
  ASSERT_GE(entries.size(), 2);
  EXPECT_TRUE(entries[0]->isEnabled());
  EXPECT_FALSE(entries[1]->isEnabled());
  EXPECT_EQ(entries[0]->text(), "&1  " + second);

  // The next run of the viewer shows the same list; reopening moves a log to the front.
  TempDir otherStart;
  MainWindow next(QString::fromStdString(otherStart.path()));
  Prepare(next);
  EXPECT_EQ(next.recentLogsMenu()->Paths(), (QStringList{second, first}));
  next.recentLogsMenu()->actions()[0]->trigger();
  EXPECT_EQ(next.scan().EpochCount(), 3);
  EXPECT_EQ(next.recentLogsMenu()->Paths(), (QStringList{second, first}));
  next.recentLogsMenu()->findChild<QAction*>("ClearRecentLogs")->trigger();
  EXPECT_TRUE(next.recentLogsMenu()->Paths().isEmpty());
  EXPECT_FALSE(next.recentLogsMenu()->menuAction()->isEnabled());
}

TEST_F(OpeningLogsTest, NextRunRestoresGeometryViewMaskAndDirectory) {
  const QString log = Write("day.vnx", CleanLog());
  window.OpenLog(log);
  window.action("Satellites1")->trigger();
  ASSERT_EQ(Front(), "PSats");
  window.findChild<QLineEdit*>("EElMask")->setText("10");
  window.findChild<QPushButton*>("BBElMask")->click();
  window.resize(900, 650);
  ASSERT_TRUE(window.close());
  EXPECT_EQ(window.settings().LastDirectory(), QString::fromStdString(dir.path()));

  TempDir otherStart;
  MainWindow next(QString::fromStdString(otherStart.path()));
  Prepare(next);
  EXPECT_EQ(next.size(), QSize(900, 650));
  next.OpenLog(log);
  // The summary sets the mask to the lowest elevation seen (4); the accepted one comes back.
  EXPECT_EQ(next.frontPanel()->objectName(), "PSats");
  EXPECT_EQ(next.findChild<QLineEdit*>("EElMask")->text(), "10");
  EXPECT_EQ(next.scan().ElevationMask(), 10);
  // Only the first scan of a run brings the view back.
  next.action("ViewSummury1")->trigger();
  next.OpenLog(log);
  EXPECT_EQ(next.frontPanel()->objectName(), "PSumm");
}

TEST(AppSettings, RecentLogsKeepTheNewestTenOnceEach) {
  AppSettings settings;
  for (int i = 0; i < 12; ++i) settings.AddRecentLog(QString("/logs/%1.vnx").arg(i));
  settings.AddRecentLog("/logs/5.vnx");
  const QStringList logs = settings.RecentLogs();
  ASSERT_EQ(logs.size(), AppSettings::kMaxRecentLogs);
  EXPECT_EQ(logs.first(), "/logs/5.vnx");
  EXPECT_EQ(logs.count("/logs/5.vnx"), 1);
  EXPECT_EQ(logs[1], "/logs/11.vnx");
  EXPECT_FALSE(logs.contains("/logs/1.vnx"));
}

TEST(AppSettings, MaskOutsideWhatTheViewAllowsIsIgnored) {
  AppSettings settings;
  EXPECT_EQ(settings.ElevationMask(), std::nullopt);
  const std::pair<QVariant, std::optional<int>> cases[] = {
      {15, 15}, {0, 0}, {90, 90}, {91, std::nullopt}, {-1, std::nullopt}, {"x", std::nullopt}};
  for (const auto& [stored, read] : cases) {
    QSettings("vnx-viewer", "vnx-viewer").setValue(settings_key::kElevationMask, stored);
    EXPECT_EQ(settings.ElevationMask(), read) << stored.toString().toStdString();
  }
}

}  // namespace
}  // namespace vnx::app
