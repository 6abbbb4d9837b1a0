#include "app/iono_view.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "engine/views/iono_text.h"

namespace vnx::app {

IonoView::IonoView(MainWindow& w) : ViewPanel(w, "PIO") {
  setProperty("helpPage", "iono.html");
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("Ionosphere Parameters");
  title->setAlignment(Qt::AlignCenter);
  title->setStyleSheet("QLabel { color: white; background-color: navy; font-weight: bold; }");
  layout->addWidget(title);
  auto* grid = new QGridLayout;
  const char* captions[] = {"Time of week [s]",
                            "Week number",
                            "Alpha(0) [s]",
                            "Alpha(1) [s/semicircles]",
                            "Alpha(2) [s/semicircles**2]",
                            "Alpha(3) [s/semicircles**3]",
                            "Beta(0) [s]",
                            "Beta(1) [s/semicircles]",
                            "Beta(2) [s/semicircles**2]",
                            "Beta(3) [s/semicircles**3]"};
  const char* names[] = {"STIOTot", "STIOWn", "STIOA0", "STIOA1", "STIOA2",
                         "STIOA3",  "STIOB0", "STIOB1", "STIOB2", "STIOB3"};
  QLabel* values[10];
  for (int i = 0; i < 10; ++i) {
    grid->addWidget(new QLabel(captions[i]), i, 0);
    values[i] = new QLabel;
    values[i]->setObjectName(names[i]);
    values[i]->setFont(QFont("Monospace"));
    values[i]->setStyleSheet("QLabel { color: black; background-color: white; }");
    grid->addWidget(values[i], i, 1);
  }
  tot_ = values[0];
  wn_ = values[1];
  for (int i = 0; i < 4; ++i) {
    alpha_[i] = values[2 + i];
    beta_[i] = values[6 + i];
  }
  layout->addLayout(grid);
  layout->addStretch(1);
  auto* close = new QPushButton("Close");
  close->setObjectName("BBCloseIono");
  connect(close, &QPushButton::clicked, this, [this] { CloseView(); });
  layout->addWidget(close, 0, Qt::AlignRight);
}

void IonoView::Open() {
  if (!window.scan().IonoSeen()) {
    window.ShowMessage(MainWindow::kNoIono);
    return;
  }
  window.HideViews();
  const IonoTexts t = BuildIonoTexts(window.scan().Iono());
  tot_->setText(QString::fromStdString(t.tot));
  wn_->setText(QString::fromStdString(t.wn));
  for (int i = 0; i < 4; ++i) {
    alpha_[i]->setText(QString::fromStdString(t.alpha[i]));
    beta_[i]->setText(QString::fromStdString(t.beta[i]));
  }
  window.ShowInFront(this);
  findChild<QPushButton*>("BBCloseIono")->setFocus();
}

}  // namespace vnx::app
