// The window host over the running QApplication.
#include "ui/qt/qt_window_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include "ui/qt/log_window.h"
#include "ui/qt/main_window.h"

namespace pellmar {

void QtWindowHost::ShowModal(TLogViewer& /*log*/) {
  if (log_window_ != nullptr) log_window_->ShowCentredModal();
}

void QtWindowHost::Hide(TLogViewer& /*log*/) {
  if (log_window_ != nullptr) log_window_->CloseIfShown();
}

bool QtWindowHost::Showing(const TLogViewer& /*log*/) const {
  return log_window_ != nullptr && log_window_->isVisible();
}

void QtWindowHost::ProcessEvents() {
  // Repaints and desktop requests only: the user's clicks and keys wait
  // until the run is over, as its reactions expect.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtWindowHost::RequestQuit() {
  // exit() rather than quit(): quit() would first ask every window to
  // close, and a close runs the save this request must skip. Queued, so
  // the running reaction finishes first.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void QtWindowHost::SetFocus(const std::string& control_name) {
  if (main_window_ != nullptr) main_window_->FocusControl(control_name);
}

}  // namespace pellmar
