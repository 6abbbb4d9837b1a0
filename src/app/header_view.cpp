#include "app/header_view.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "engine/views/header_text.h"

namespace vnx::app {

namespace {

QLabel* Text(const char* name, const char* caption, QLayout* into) {
  auto* l = new QLabel(caption);
  l->setObjectName(name);
  l->setFont(QFont("Monospace"));
  into->addWidget(l);
  return l;
}

QLabel* Heading(const char* name, const QString& text) {
  auto* l = new QLabel(text);
  l->setObjectName(name);
  l->setAlignment(Qt::AlignCenter);
  l->setStyleSheet("QLabel { color: white; background-color: navy; font-weight: bold; }");
  return l;
}

}  // namespace

HeaderView::HeaderView(MainWindow& w) : ViewPanel(w, "PHead") {
  setProperty("helpPage", "header.html");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading("StaticText16", "Header Information"));
  auto* receiver = new QGroupBox(" Receiver ");
  receiver->setObjectName("GroupBox5");
  auto* rl = new QVBoxLayout(receiver);
  receiver_ = Text("STReceiver", " Type", rl);
  recId_ = Text("STRecID", " ID", rl);
  recVers_ = Text("STRecVers", " Version", rl);
  recBoard_ = Text("STRecBoard", " Board", rl);
  auto* antenna = new QGroupBox(" Antenna ");
  antenna->setObjectName("GroupBox6");
  auto* al = new QVBoxLayout(antenna);
  antType_ = Text("STAntType", " Type", al);
  antNum_ = Text("STAntNum", " Number", al);
  antH_ = Text("STAntH", " Height", al);
  layout->addWidget(receiver);
  layout->addWidget(antenna);
  layout->addStretch(1);
  auto* close = new QPushButton("Close");
  close->setObjectName("BBCloseHead");
  connect(close, &QPushButton::clicked, this, [this] { CloseView(); });
  layout->addWidget(close, 0, Qt::AlignRight);
}

void HeaderView::Open() {
  window.HideViews();
  const HeaderTexts t = BuildHeaderTexts(window.scan());
  receiver_->setText(QString::fromStdString(t.receiver));
  recId_->setText(QString::fromStdString(t.recId));
  recVers_->setText(QString::fromStdString(t.recVers));
  recBoard_->setText(QString::fromStdString(t.recBoard));
  antType_->setText(QString::fromStdString(t.antType));
  antNum_->setText(QString::fromStdString(t.antNum));
  antH_->setText(QString::fromStdString(t.antH));
  window.ShowInFront(this);
  findChild<QPushButton*>("BBCloseHead")->setFocus();
}

}  // namespace vnx::app
