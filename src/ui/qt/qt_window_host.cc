// The window host over the running QApplication.
#include "ui/qt/qt_window_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMetaObject>
#include <utility>

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
  // The user's keys and clicks come through too, so that Escape or the
  // close button can stop a run: the window greys its controls meanwhile.
  // A few dozen turns a second keep the window live without slowing a run
  // of many small files.
  constexpr qint64 kMsBetweenTurns = 30;
  if (since_events_.isValid() && since_events_.elapsed() < kMsBetweenTurns) return;
  since_events_.start();
  QCoreApplication::processEvents();
}

void QtWindowHost::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  // The pointer still works: the busy shape says a run goes, and that it
  // can be stopped.
  if (busy) {
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

void QtWindowHost::Post(std::function<void()> work) {
  // Queued to the application object, which lives on the window's thread;
  // with the application gone there is nothing left to run it for.
  QCoreApplication* app = QCoreApplication::instance();
  if (app != nullptr) QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
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
