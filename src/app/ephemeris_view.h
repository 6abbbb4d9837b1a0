#pragma once
// Every stored ephemeris of every satellite: one button per satellite of the four systems,
// the page control of the selected system, and previous/next through that satellite's
// ephemerides in file order.
#include <array>
#include <map>
#include <string>

#include "app/view_panel.h"
#include "engine/ephemeris/ephemeris_store.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPushButton;
class QTabWidget;

namespace vnx::app {

class EphemerisView : public ViewPanel {
  Q_OBJECT
 public:
  explicit EphemerisView(MainWindow& window);
  void Open() override;
  void ResetForScan() override;

  // The user's actions. SelectSatellite is what every satellite button does (RBG1Click ..
  // RBE32Click); numbers outside the system's range are ignored.
  void SelectSatellite(SatSystem s, int n);
  void ShowNextEphemeris();
  void ShowPreviousEphemeris();

  SatSystem CurrentSystem() const { return system_; }
  int CurrentSatellite() const { return satellite_; }
  int32_t CurrentOrdinal() const { return ordinal_; }
  QAbstractButton* Button(SatSystem s, int n) const;

 private:
  QWidget* BuildButtonColumn();
  QWidget* BuildSystemGroup(SatSystem s, const char* boxName, const char* title,
                            const char* prefix);
  QTabWidget* BuildPage(SatSystem s);
  QLabel* AddLabel(const std::string& name);
  void ShowPage(SatSystem s);
  void FillPanel(SatSystem s, int n, int32_t ordinal);
  void SetArrows();
  void ClearTexts();

  QLabel* title_;
  QButtonGroup* buttons_;
  std::array<QTabWidget*, 4> pages_{};
  std::map<std::string, QLabel*> labels_;
  QPushButton* less_;
  QPushButton* more_;
  QPushButton* close_;
  SatSystem system_ = SatSystem::Gps;
  int satellite_ = 1;
  int32_t ordinal_ = 1;
};

}  // namespace vnx::app
