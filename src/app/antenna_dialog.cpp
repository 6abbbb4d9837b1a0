#include "app/antenna_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vnx::app {

AntennaDialog::AntennaDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("Form2");
  setWindowTitle("   Select Antenna");
  setModal(true);
  setProperty("helpPage", "antenna.html");
  auto* layout = new QVBoxLayout(this);
  auto* attention = new QLabel("Attention!");
  attention->setStyleSheet("QLabel { color: red; font-weight: bold; }");
  layout->addWidget(attention);
  layout->addWidget(new QLabel("This file contains data"));
  layout->addWidget(new QLabel("from different antennas."));
  auto* count = new QHBoxLayout;
  count->addWidget(new QLabel("There are"));
  available_ = new QLineEdit;
  available_->setObjectName("EAvailAnts");
  available_->setReadOnly(true);
  count->addWidget(available_);
  count->addWidget(new QLabel("antennas."));
  layout->addLayout(count);
  layout->addWidget(new QLabel("Select one antenna please"));

  auto* grid = new QGridLayout;
  a_ = new QRadioButton("a");
  a_->setObjectName("RBa");
  a_->setChecked(true);
  b_ = new QRadioButton("b");
  b_->setObjectName("RBb");
  c_ = new QRadioButton("c");
  c_->setObjectName("RBc");
  d_ = new QRadioButton("d");
  d_->setObjectName("RBd");
  other_ = new QRadioButton("other");
  other_->setObjectName("RBother");
  otherName_ = new QLineEdit;
  otherName_->setObjectName("Eother");
  otherName_->setEnabled(false);
  otherName_->setMaxLength(8);
  grid->addWidget(a_, 0, 0);
  grid->addWidget(b_, 0, 1);
  grid->addWidget(c_, 0, 2);
  grid->addWidget(d_, 0, 3);
  grid->addWidget(other_, 1, 0);
  grid->addWidget(otherName_, 1, 1, 1, 3);
  layout->addLayout(grid);
  for (QRadioButton* r : {a_, b_, c_, d_, other_})
    connect(r, &QRadioButton::toggled, this, [this] { SelectOtherAntenna(); });

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("OK");
  ok->setObjectName("BBMultiAntOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Stop scanning the file");
  cancel->setObjectName("BBCanMA");
  connect(ok, &QPushButton::clicked, this, [this] { AcceptAntenna(); });
  connect(cancel, &QPushButton::clicked, this, [this] { CancelAntennaChoice(); });
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
}

void AntennaDialog::SelectOtherAntenna() {
  otherName_->setEnabled(other_->isChecked());
}

AntennaChoice AntennaDialog::Ask(const QString& letters) {
  available_->setText(letters);
  answer_ = {false, '0'};
  exec();
  return answer_;
}

void AntennaDialog::AcceptAntenna() {
  mayClose_ = true;
  char chosen = 'a';
  if (b_->isChecked()) chosen = 'b';
  if (c_->isChecked()) chosen = 'c';
  if (d_->isChecked()) chosen = 'd';
  if (other_->isChecked()) {
    const QString name = otherName_->text();
    if (name.size() != 1) {
      const QString text = "Bad name of antenna " + name + ". Valid simbol are from 'a' to 'z'. ";
      if (messageSink)
        messageSink(text);
      else
        QMessageBox::information(this, "VNX Viewer", text);
      mayClose_ = false;
      return;
    }
    chosen = name.at(0).toLatin1();
  }
  answer_ = {true, chosen};
  done(QDialog::Accepted);
}

void AntennaDialog::CancelAntennaChoice() {
  mayClose_ = true;
  answer_ = {false, '0'};
  done(2);
}

void AntennaDialog::reject() {
  if (mayClose_) QDialog::reject();
}

void AntennaDialog::closeEvent(QCloseEvent* event) {
  if (mayClose_)
    QDialog::closeEvent(event);
  else
    event->ignore();
}

}  // namespace vnx::app
