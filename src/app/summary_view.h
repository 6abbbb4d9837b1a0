#pragma once
#include <QLabel>
#include <QLineEdit>
#include <array>
#include <map>

#include "app/view_panel.h"

class QGridLayout;
class QPushButton;

namespace vnx::app {

class TimesView;

// The first thing shown after a scan: what the log holds, in a few dozen figures.
class SummaryView : public ViewPanel {
  Q_OBJECT
 public:
  SummaryView(MainWindow& window, TimesView& times);
  // "View Summury": build, then show in front.
  void Open() override;
  // Builds every figure from the scan and the epoch analysis.
  void Build();
  // Puts back the designed captions.
  void Clear();
  void ShowErrors();
  QString Text(const QString& control) const;

 private:
  QLabel* AddLabel(QLayout* into, const char* name, const char* caption);
  QLineEdit* AddEdit(QGridLayout* into, int row, const char* caption, const char* name);
  void SetText(const char* name, const std::string& text);
  void SetErrorFlag(const QString& text, bool red);

  TimesView& times_;
  std::map<QString, QLabel*> labels_;
  std::map<QString, QLineEdit*> edits_;
  std::map<QString, QString> designed_;
  QPushButton* close_;
  QPushButton* showErrors_;
};

}  // namespace vnx::app
