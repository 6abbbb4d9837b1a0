#pragma once
// A pie-shaped progress gauge, 0..100.
#include <QWidget>

namespace vnx::app {

class PieGauge : public QWidget {
  Q_OBJECT
 public:
  explicit PieGauge(const QString& objectName, bool showText = true, QWidget* parent = nullptr);
  void SetValue(int percent);
  int Value() const { return value_; }
  QSize sizeHint() const override { return {48, 48}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int value_ = 0;
  bool showText_;
};

}  // namespace vnx::app
