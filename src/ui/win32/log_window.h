// The log window: a modal native window with the title, the memo of the
// copied names and OK, in its own design font.
#ifndef PELLMAR_UI_WIN32_LOG_WINDOW_H_
#define PELLMAR_UI_WIN32_LOG_WINDOW_H_

#include <memory>

#include "ui/win32/common_controls.h"
#include "ui/win32/control_windows.h"

namespace pellmar {

class TLogViewer;

class Win32LogWindow {
 public:
  static constexpr wchar_t kClassName[] = L"PellmarLog";

  Win32LogWindow(TLogViewer& log, HWND owner);
  ~Win32LogWindow();
  Win32LogWindow(const Win32LogWindow&) = delete;
  Win32LogWindow& operator=(const Win32LogWindow&) = delete;

  HWND window() const { return window_; }
  ControlWindows& controls() { return *controls_; }
  /// Shows the window centred, its owner disabled, and returns once it is
  /// closed (OK, Escape or the close box).
  void ShowModal();
  /// Ends the modal run; nothing happens when the window is not shown.
  void Hide();
  bool Showing() const { return showing_; }

  /// The window's procedure (see RouteToOwner).
  LRESULT Handle(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

 private:
  TLogViewer& log_;
  HWND owner_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  std::unique_ptr<ControlWindows> controls_;
  bool showing_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_LOG_WINDOW_H_
