// The main window as a native top-level window: its class, its controls'
// windows and the window-level rules (Enter and Escape, F1, closing, the
// first show, the DPI of the monitor it is on, what a run allows).
#ifndef PELLMAR_UI_WIN32_MAIN_WINDOW_H_
#define PELLMAR_UI_WIN32_MAIN_WINDOW_H_

#include <memory>
#include <string>

#include "ui/controls.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/control_windows.h"
#include "ui/win32/window_font.h"

namespace pellmar {

class TMain;

/// Label widths in design pixels, in the main window's font.
Label::Measurer Win32LabelMeasurer(const TMain& main);
/// Where a window of this outer size is centred on the primary work area.
POINT CentredOrigin(int outer_width, int outer_height);

class Win32MainWindow {
 public:
  static constexpr wchar_t kClassName[] = L"PellmarMain";
  /// Carries work posted from another thread: its lParam is a
  /// std::function<void()> made with new, which the window runs and deletes.
  static constexpr UINT kPostedWorkMessage = WM_APP + 2;

  explicit Win32MainWindow(TMain& main);
  ~Win32MainWindow();
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND window() const { return window_; }
  ControlWindows& controls() { return *controls_; }

  /// Shows the window centred; its show reaction runs once it is up.
  void ShowCentred();
  void Focus(const std::string& control_name);
  /// Ends the program without the close reaction: the logic has saved.
  void Quit();
  /// Runs the message loop until the window is gone; returns the exit code.
  int RunLoop();
  /// Tells the logic which control the keyboard focus went to.
  void TrackFocus();
  /// One message of the loop, or of a run that lets the user's input
  /// through: the window's shortcuts first, then the dialog keys (Tab,
  /// Enter, Escape), then the window it is for.
  void Dispatch(MSG& message);
  /// While a run holds the window: the busy pointer, and the keys go to
  /// the window itself, where Escape asks to stop.
  void SetBusy(bool busy);

  /// The window's procedure (see RouteToOwner).
  LRESULT Handle(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

 private:
  void ApplyDpi(int dpi);
  Button* FindButton(bool (Button::*role)() const) const;
  /// A button pressed with Shift: Send and Load preview instead of
  /// running. True when it did.
  bool PreviewOnShift(Control* control);
  bool UndoShortcut(const MSG& message);
  /// Ctrl+E: the eject of the selected project's removable disk.
  bool EjectShortcut(const MSG& message);
  /// The project list's menu, at a pointer position in screen coordinates
  /// or, for the keyboard's menu key (-1), below the selected line.
  void ShowProjectMenu(HWND list, LPARAM where);
  void SelectLineAt(HWND list, POINT screen_point);
  /// Sets the pointer the window shows now, not at the next move.
  void UpdateCursor();

  TMain& main_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  std::unique_ptr<ControlWindows> controls_;
  HWND last_focus_ = nullptr;
  HWND focus_before_deactivation_ = nullptr;
  bool quit_pending_ = false;
  bool busy_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_MAIN_WINDOW_H_
