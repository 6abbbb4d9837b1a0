#include "app/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vnx::app {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpWindow");
  setWindowTitle("VNX Viewer Help");
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  auto* back = new QPushButton("Back");
  auto* contents = new QPushButton("Contents");
  buttons->addWidget(back);
  buttons->addWidget(contents);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  browser_ = new QTextBrowser;
  browser_->setObjectName("HelpBrowser");
  browser_->setSearchPaths({":/manual"});
  browser_->setOpenLinks(true);
  layout->addWidget(browser_);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(contents, &QPushButton::clicked, this, [this] { ShowPage("index.html"); });
  resize(720, 560);
}

void HelpWindow::ShowPage(const QString& page) {
  browser_->setSource(QUrl("qrc:/manual/" + page));
  show();
  raise();
  activateWindow();
}

QString HelpWindow::CurrentPage() const {
  return browser_->source().fileName();
}

}  // namespace vnx::app
