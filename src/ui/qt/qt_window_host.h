// What only the running Qt application can do for the window logic: the
// log window's modal show, repainting during a run, quitting and focus.
#ifndef PELLMAR_UI_QT_QT_WINDOW_HOST_H_
#define PELLMAR_UI_QT_QT_WINDOW_HOST_H_

#include <QElapsedTimer>

#include "ui/dialogs.h"

namespace pellmar {

class LogWindow;
class MainWindow;

class QtWindowHost : public WindowHost {
 public:
  void SetMainWindow(MainWindow* window) { main_window_ = window; }
  void SetLogWindow(LogWindow* window) { log_window_ = window; }

  void ShowModal(TLogViewer& log) override;
  void Hide(TLogViewer& log) override;
  bool Showing(const TLogViewer& log) const override;
  void ProcessEvents() override;
  void RequestQuit() override;
  void SetFocus(const std::string& control_name) override;
  void SetBusy(bool busy) override;
  void Post(std::function<void()> work) override;

 private:
  MainWindow* main_window_ = nullptr;
  LogWindow* log_window_ = nullptr;
  QElapsedTimer since_events_;
  bool busy_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_QT_WINDOW_HOST_H_
