// Modal log, repaint during a run, the program's end and the focus.
#include "ui/win32/win32_window_host.h"

#include "ui/win32/common_controls.h"
#include "ui/win32/log_window.h"
#include "ui/win32/main_window.h"

namespace pellmar {

void Win32WindowHost::ShowModal(TLogViewer& /*log*/) {
  if (log_window_ != nullptr) log_window_->ShowModal();
}

void Win32WindowHost::Hide(TLogViewer& /*log*/) {
  if (log_window_ != nullptr) log_window_->Hide();
}

bool Win32WindowHost::Showing(const TLogViewer& /*log*/) const {
  return log_window_ != nullptr && log_window_->Showing();
}

void Win32WindowHost::ProcessEvents() {
  // Repaints, sent and posted messages only: the user's clicks and keys
  // stay queued until the run is over, as its reactions expect.
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0,
                        PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside the run
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void Win32WindowHost::RequestQuit() {
  if (main_window_ != nullptr) main_window_->Quit();
}

void Win32WindowHost::SetFocus(const std::string& control_name) {
  if (main_window_ != nullptr) main_window_->Focus(control_name);
}

}  // namespace pellmar
