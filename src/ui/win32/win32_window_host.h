// The window host over the native windows and their message queue.
#ifndef PELLMAR_UI_WIN32_WIN32_WINDOW_HOST_H_
#define PELLMAR_UI_WIN32_WIN32_WINDOW_HOST_H_

#include <atomic>
#include <cstdint>

#include "ui/dialogs.h"
#include "ui/win32/common_controls.h"

namespace pellmar {

class Win32MainWindow;
class Win32LogWindow;

class Win32WindowHost : public WindowHost {
 public:
  void SetMainWindow(Win32MainWindow* window);
  void SetLogWindow(Win32LogWindow* window) { log_window_ = window; }

  void ShowModal(TLogViewer& log) override;
  void Hide(TLogViewer& log) override;
  bool Showing(const TLogViewer& log) const override;
  void ProcessEvents() override;
  void RequestQuit() override;
  void SetFocus(const std::string& control_name) override;
  void SetBusy(bool busy) override;
  /// Posts the work to the main window's queue; with no window, it is
  /// dropped.
  void Post(std::function<void()> work) override;

 private:
  Win32MainWindow* main_window_ = nullptr;
  Win32LogWindow* log_window_ = nullptr;
  uint64_t last_input_pass_ = 0;          // the tick count when input was last let through
  std::atomic<HWND> posted_to_{nullptr};  // read by the threads that post
};

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_WIN32_WINDOW_HOST_H_
