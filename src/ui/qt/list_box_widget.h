// A one-selection list bound to a ListBox control. Selections from code are
// only mirrored; a selection by mouse or keyboard becomes UserSelect, the
// second press of a double-click fires on_dbl_click, and scrolling keeps the
// control's top index.
#ifndef PELLMAR_UI_QT_LIST_BOX_WIDGET_H_
#define PELLMAR_UI_QT_LIST_BOX_WIDGET_H_

#include <QListWidget>

#include "ui/controls.h"

namespace pellmar {

class ListBoxWidget : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 15;

  ListBoxWidget(ListBox& control, QWidget* parent);

  /// The selected row as the widget shows it, -1 for none.
  int SelectedRow() const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Mirror();
  void MirrorItems();
  void MirrorSelection();
  void MirrorTopIndex();
  void TopIndexScrolled(int top);
  void Select(int row);

  ListBox& control_;
  bool mirroring_ = false;
  int mirrored_top_ = 0;
  // Set by a press on an item; the release then counts as the click.
  bool pressed_on_item_ = false;
  // The release that ends a double-click is not a click of its own.
  bool release_ends_double_click_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_LIST_BOX_WIDGET_H_
