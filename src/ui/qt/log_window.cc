// The log dialog: fixed places, centred title, OK as the default button; its
// text is named by the title for screen readers.
#include "ui/qt/log_window.h"

#include <QPushButton>

#include "ui/log_viewer.h"
#include "ui/qt/control_binders.h"
#include "ui/qt/memo_widget.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/window_look.h"

namespace pellmar {

LogWindow::LogWindow(TLogViewer& log, QWidget* parent) : QDialog(parent), log_(log) {
  setObjectName(QStringLiteral("LogViewer"));
  setWindowTitle(ToQString(log_.caption()));
  setWindowIcon(ProgramIcon());
  // Its own design font: the main window's font and language never reach it.
  setFont(LogWindowFont());
  GiveWindowLook(this, TLogViewer::kWidth, TLogViewer::kHeight);
  setSizeGripEnabled(false);

  BindLabel(log_.Title, this);
  memo_ = new MemoWidget(log_.Memo, this);
  AlsoOnUpdate(log_.Title, this,
               [this] { memo_->setAccessibleName(ToDisplayText(log_.Title.caption())); });
  // The default button: Enter in the memo starts a new line, anywhere else
  // it presses OK.
  QPushButton* ok = BindButton(log_.btnOK, this);
  // Runs after the control's own click, which the binder connected first.
  connect(ok, &QPushButton::clicked, this, [this] { CloseAfterOk(); });
  QWidget::setTabOrder(memo_, ok);
}

void LogWindow::CloseAfterOk() {
  // OK always closes with the result OK, whatever else its click does.
  if (isVisible()) accept();
}

void LogWindow::ShowCentredModal() {
  CentreOnScreen(this);
  // The memo comes first in the tab order, but a log is read and dismissed:
  // Enter right away should close it, not add a line to it.
  if (auto* ok = findChild<QPushButton*>(QStringLiteral("btnOK"))) ok->setFocus();
  exec();
}

void LogWindow::CloseIfShown() {
  if (isVisible()) done(QDialog::Accepted);
}

}  // namespace pellmar
