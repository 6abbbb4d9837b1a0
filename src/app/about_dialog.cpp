#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vnx::app {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("FormAdv");
  setWindowTitle("About VNX Viewer");
  setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("VNX files Viewer");
  title->setStyleSheet("QLabel { font-size: 16pt; font-weight: bold; }");
  layout->addWidget(title, 0, Qt::AlignCenter);
  version_ = new QLabel;
  version_->setObjectName("STVersion");
  layout->addWidget(version_, 0, Qt::AlignCenter);
  layout->addWidget(new QLabel("Build"), 0, Qt::AlignCenter);
  date_ = new QLabel;
  date_->setObjectName("STDate");
  layout->addWidget(date_, 0, Qt::AlignCenter);
  auto* ok = new QPushButton("OK");
  ok->setObjectName("BBOk");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignCenter);
}

void AboutDialog::SetTexts(const QString& version, const QString& date) {
  version_->setText(version);
  date_->setText(date);
}

}  // namespace vnx::app
