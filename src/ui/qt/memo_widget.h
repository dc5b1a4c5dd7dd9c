// The log window's multi-line field, bound to a MemoField control. A run
// may append tens of thousands of lines while the window is hidden, so only
// lines not yet shown are ever added, and only when the widget is visible;
// a long log arrives in steps, so that its window shows at once.
#ifndef PELLMAR_UI_QT_MEMO_WIDGET_H_
#define PELLMAR_UI_QT_MEMO_WIDGET_H_

#include <QPlainTextEdit>

#include "ui/controls.h"

namespace pellmar {

class MemoWidget : public QPlainTextEdit {
  Q_OBJECT

 public:
  MemoWidget(MemoField& control, QWidget* parent);

  /// Brings the widget's text up to the control's lines: a long log's
  /// first lines now, the rest in later turns of the event loop.
  void CatchUp();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  MemoField& control_;
  // How many of the control's lines the widget holds; user typing aside.
  size_t shown_lines_ = 0;
  bool rebuild_ = true;
  bool step_queued_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_MEMO_WIDGET_H_
