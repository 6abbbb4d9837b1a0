#pragma once
#include <QDialog>

class QLabel;

namespace vnx::app {

// "About VNX Viewer": stays on top.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent);
  void SetTexts(const QString& version, const QString& date);

 private:
  QLabel* version_;
  QLabel* date_;
};

}  // namespace vnx::app
