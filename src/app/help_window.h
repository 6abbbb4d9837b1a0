#pragma once
// The manual: HTML pages shipped with the program, shown in a help browser window.
#include <QWidget>

class QTextBrowser;

namespace vnx::app {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent);
  void ShowPage(const QString& page);
  QString CurrentPage() const;

 private:
  QTextBrowser* browser_;
};

}  // namespace vnx::app
