#include "app/calculator_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/pie_gauge.h"

namespace vnx::app {

CalculatorWindow::CalculatorWindow(MainWindow& window)
    : QWidget(&window, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      window_(window) {
  setObjectName("FormTime");
  setWindowTitle("   Epoch number  --->  Time");
  setProperty("helpPage", "calculator.html");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0, 128, 128));
  setPalette(pal);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* label = new QLabel("Epoch number");
  label->setObjectName("StaticText64");
  label->setStyleSheet("QLabel { color: white; }");
  number_ = new QLineEdit("1");
  number_->setObjectName("ENumEp");
  number_->setReadOnly(true);
  gauge_ = new PieGauge("GVTime", false);
  gauge_->setFixedSize(28, 28);
  top->addWidget(label);
  top->addWidget(number_);
  top->addWidget(gauge_);
  layout->addLayout(top);

  auto* row = new QHBoxLayout;
  slider_ = new QSlider(Qt::Horizontal);
  slider_->setObjectName("TBTime");
  slider_->setRange(1, 1000);
  slider_->setValue(1);
  slider_->setTickInterval(100);
  slider_->setTickPosition(QSlider::TicksBelow);
  auto* updown = new QWidget;
  updown->setObjectName("UDTime");
  updown->setToolTip("Fine tuning");
  auto* ud = new QHBoxLayout(updown);
  ud->setContentsMargins(0, 0, 0, 0);
  auto* prev = new QToolButton;
  prev->setObjectName("UDTimePrev");
  prev->setArrowType(Qt::LeftArrow);
  auto* next = new QToolButton;
  next->setObjectName("UDTimeNext");
  next->setArrowType(Qt::RightArrow);
  ud->addWidget(prev);
  ud->addWidget(next);
  row->addWidget(slider_, 1);
  row->addWidget(updown);
  layout->addLayout(row);

  dateTime_ = new QLineEdit;
  dateTime_->setObjectName("EDateTime");
  dateTime_->setReadOnly(true);
  layout->addWidget(dateTime_);
  auto* close = new QPushButton("Close");
  close->setObjectName("BitBtn28");
  layout->addWidget(close, 0, Qt::AlignRight);

  connect(slider_, &QSlider::valueChanged, this, [this](int v) {
    number_->setText(QString::number(v));
    current_ = v;
    Display();
  });
  connect(next, &QToolButton::clicked, this, [this] { Next(); });
  connect(prev, &QToolButton::clicked, this, [this] { Previous(); });
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
  setFixedSize(360, 150);
}

void CalculatorWindow::Open() {
  show();
  raise();
  EpochTimeTable& table = window_.epochTimes();
  const ScanResult ctx = window_.scan();
  if (table.Stale()) {
    const std::string failure =
        table.Load(ctx.Files().PathOf(WorkFile::DataEpochs), ctx.EpochCount(), [this](int p) {
          gauge_->SetValue(p);
          repaint();
        });
    if (!failure.empty()) window_.ShowMessage(QString::fromStdString(failure));
  }
  if (table.Loaded() == 0) {
    window_.ShowMessage("There is no Epochs");
    hide();
    return;
  }
  if (table.Loaded() != ctx.EpochCount())
    window_.ShowMessage("Number of epochs in Temp file differs from true one");
  // The range and the position change together and quietly: the slider must not report a
  // position of the old range as the chosen epoch.
  {
    const QSignalBlocker quiet(slider_);
    slider_->setRange(1, table.Loaded());
    slider_->setValue(1);
  }
  current_ = 1;
  number_->setText("1");
  Display();
}

void CalculatorWindow::ResetForScan() {
  hide();
  number_->setText("1");
  dateTime_->clear();
  current_ = 1;
}

void CalculatorWindow::SetSliderPosition(int position) {
  slider_->setValue(position);
}

int CalculatorWindow::SliderMaximum() const {
  return slider_->maximum();
}

void CalculatorWindow::Next() {
  if (current_ >= window_.epochTimes().Loaded()) return;
  ++current_;
  slider_->setValue(current_);
  number_->setText(QString::number(slider_->value()));
  Display();
}

void CalculatorWindow::Previous() {
  if (current_ < 2) return;
  --current_;
  slider_->setValue(current_);
  number_->setText(QString::number(slider_->value()));
  Display();
}

void CalculatorWindow::Display() {
  dateTime_->setText(QString::fromStdString(window_.epochTimes().Text(current_)));
}

}  // namespace vnx::app
