// The list widget: mirrors items, selection and top index of its control,
// and reports only the user's own selections and double-clicks.
#include "ui/qt/list_box_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "ui/qt/control_binders.h"
#include "ui/qt/qt_text.h"

namespace pellmar {
namespace {

/// Rows of the designed height, whatever the font would ask for.
class FixedRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(ListBoxWidget::kItemHeight);
    return size;
  }
};

}  // namespace

ListBoxWidget::ListBoxWidget(ListBox& control, QWidget* parent)
    : QListWidget(parent), control_(control) {
  setObjectName(ToQString(control.name()));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setItemDelegate(new FixedRowDelegate(this));
  setUniformItemSizes(true);
  // Whole rows, so the scroll position is the top index the logic shares
  // between the two lists; long lines are cut, their tooltip shows them.
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(false);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int top) { TopIndexScrolled(top); });
  BindMirror(control_, this, [this] { Mirror(); });
}

int ListBoxWidget::SelectedRow() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

void ListBoxWidget::Mirror() {
  mirroring_ = true;
  MirrorItems();
  MirrorSelection();
  MirrorTopIndex();
  mirroring_ = false;
  // Showing a selection may have scrolled the list; the logic reads the
  // top index back (to line up the other list), so it must learn of it.
  const int top = verticalScrollBar()->value();
  if (top != control_.top_index()) TopIndexScrolled(top);
}

void ListBoxWidget::MirrorItems() {
  const std::vector<std::string>& items = control_.items();
  bool same = count() == static_cast<int>(items.size());
  for (int i = 0; same && i < count(); ++i) same = item(i)->text() == ToQString(items[i]);
  if (same) return;
  clear();
  for (const std::string& text : items) {
    auto* row_item = new QListWidgetItem(ToQString(text), this);
    row_item->setToolTip(PlainToolTip(text));
  }
}

void ListBoxWidget::MirrorSelection() {
  const int index = control_.item_index();
  if (index == SelectedRow() && index == currentRow()) return;
  if (index < 0 || index >= count()) {
    clearSelection();
    setCurrentRow(-1);
  } else {
    setCurrentRow(index);
  }
}

void ListBoxWidget::MirrorTopIndex() {
  // Only a top index the logic set itself is pushed into the widget; else
  // the widget keeps scrolling where the selection took it.
  if (control_.top_index() == mirrored_top_) return;
  mirrored_top_ = control_.top_index();
  verticalScrollBar()->setValue(mirrored_top_);
}

void ListBoxWidget::TopIndexScrolled(int top) {
  if (mirroring_) return;
  mirrored_top_ = top;
  control_.SetTopIndex(top);
}

void ListBoxWidget::Select(int row) {
  control_.UserSelect(row);
  // A refused or cleared selection must not linger in the widget.
  Remirror(control_);
}

void ListBoxWidget::mousePressEvent(QMouseEvent* event) {
  QListWidget::mousePressEvent(event);
  pressed_on_item_ =
      event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
  if (!pressed_on_item_) Remirror(control_);
}

void ListBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  const bool click = pressed_on_item_ && !release_ends_double_click_;
  pressed_on_item_ = false;
  release_ends_double_click_ = false;
  // The selection reaction may open modal boxes; it runs once the press is
  // over, so the list is not left in a half-dragged state behind them.
  if (!click) return;
  if (SelectedRow() >= 0) {
    Select(SelectedRow());
  } else {
    Remirror(control_);  // a Ctrl-click took the selection away in the widget only
  }
}

void ListBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  release_ends_double_click_ = true;
  pressed_on_item_ = false;
  // Its first click has already selected (or been refused); the second
  // press selects nothing anew, so the entry selection runs once and the
  // double-click acts on whatever that first click left selected.
  if (control_.on_dbl_click) control_.on_dbl_click();
  Remirror(control_);
}

void ListBoxWidget::keyPressEvent(QKeyEvent* event) {
  const int before = SelectedRow();
  QListWidget::keyPressEvent(event);
  const int after = SelectedRow();
  if (after >= 0 && after != before) {
    Select(after);
  } else if (after != control_.item_index()) {
    Remirror(control_);
  }
}

}  // namespace pellmar
