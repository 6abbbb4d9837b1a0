#pragma once
// A captioned radio group: items laid out in columns, one item checked or none (index -1).
// Only a click on an item (or Click) reports; setting the index from code does not.
#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace vnx::app {

class ItemRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  ItemRadioGroup(const QString& objectName, const QString& caption, const QStringList& items,
                 int columns = 1, QWidget* parent = nullptr);

  int Count() const { return static_cast<int>(buttons_.size()); }
  int ItemIndex() const;
  void SetItemIndex(int index);  // -1: no item checked
  QString ItemText(int index) const;
  void SetItemText(int index, const QString& text);
  // What a user's click on item `index` does.
  void Click(int index);

 signals:
  void Clicked(int index);

 private:
  QButtonGroup* group_;
  std::vector<QRadioButton*> buttons_;
};

}  // namespace vnx::app
