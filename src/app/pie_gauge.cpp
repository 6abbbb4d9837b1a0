#include "app/pie_gauge.h"

#include <QPainter>
#include <algorithm>

namespace vnx::app {

PieGauge::PieGauge(const QString& objectName, bool showText, QWidget* parent)
    : QWidget(parent), showText_(showText) {
  setObjectName(objectName);
  setMinimumSize(32, 32);
}

void PieGauge::SetValue(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == value_) return;
  value_ = percent;
  update();
}

void PieGauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height()) - 2;
  const QRectF r((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  p.setPen(QPen(Qt::darkGray, 1));
  p.setBrush(Qt::white);
  p.drawEllipse(r);
  if (value_ > 0) {
    p.setBrush(QColor(0, 0, 160));
    p.drawPie(r, 90 * 16, -value_ * 360 * 16 / 100);
  }
  if (showText_) {
    p.setPen(value_ > 50 ? Qt::white : Qt::black);
    p.drawText(r, Qt::AlignCenter, QString::number(value_) + "%");
  }
}

}  // namespace vnx::app
