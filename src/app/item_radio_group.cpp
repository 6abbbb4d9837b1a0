#include "app/item_radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

namespace vnx::app {

ItemRadioGroup::ItemRadioGroup(const QString& objectName, const QString& caption,
                               const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
  setObjectName(objectName);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(0);
  const int n = static_cast<int>(items.size());
  const int rows = (n + columns - 1) / std::max(columns, 1);
  for (int i = 0; i < n; ++i) {
    auto* b = new QRadioButton(items[i]);
    group_->addButton(b, i);
    buttons_.push_back(b);
    // Items fill the first column top to bottom, then the next.
    grid->addWidget(b, i % rows, i / rows);
  }
  connect(group_, &QButtonGroup::idClicked, this, &ItemRadioGroup::Clicked);
}

int ItemRadioGroup::ItemIndex() const {
  return group_->checkedId();
}

void ItemRadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    buttons_[static_cast<size_t>(index)]->setChecked(true);
    return;
  }
  // An exclusive group never unchecks its last checked button by itself.
  if (QAbstractButton* checked = group_->checkedButton()) {
    group_->setExclusive(false);
    checked->setChecked(false);
    group_->setExclusive(true);
  }
}

QString ItemRadioGroup::ItemText(int index) const {
  return index >= 0 && index < Count() ? buttons_[static_cast<size_t>(index)]->text() : QString();
}

void ItemRadioGroup::SetItemText(int index, const QString& text) {
  if (index >= 0 && index < Count()) buttons_[static_cast<size_t>(index)]->setText(text);
}

void ItemRadioGroup::Click(int index) {
  if (index >= 0 && index < Count()) buttons_[static_cast<size_t>(index)]->click();
}

}  // namespace vnx::app
