// Modal log, repaint and input during a run, the program's end and the focus.
#include "ui/win32/win32_window_host.h"

#include <utility>

#include "ui/win32/common_controls.h"
#include "ui/win32/log_window.h"
#include "ui/win32/main_window.h"

namespace pellmar {
namespace {

// How often a run lets the user's input through: often enough for Escape
// and the close button to feel at once, seldom enough to cost a run of
// small files nothing.
constexpr uint64_t kInputIntervalMs = 30;

}  // namespace

void Win32WindowHost::SetMainWindow(Win32MainWindow* window) {
  main_window_ = window;
  posted_to_ = window != nullptr ? window->window() : nullptr;
}

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
  // Repaints, sent and posted messages at every call, the user's input now
  // and then. Every control is greyed during a run, so clicks do nothing;
  // what input can do is stop the run (Escape, the close button, Alt+F4).
  UINT only = PM_QS_PAINT | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE;
  const uint64_t now = ::GetTickCount64();
  if (now - last_input_pass_ >= kInputIntervalMs) {
    only = 0;  // everything
    last_input_pass_ = now;
  }
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | only)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside the run
      return;
    }
    if (main_window_ != nullptr) {
      main_window_->Dispatch(message);
    } else {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

void Win32WindowHost::RequestQuit() {
  if (main_window_ != nullptr) main_window_->Quit();
}

void Win32WindowHost::SetFocus(const std::string& control_name) {
  if (main_window_ != nullptr) main_window_->Focus(control_name);
}

void Win32WindowHost::Post(std::function<void()> work) {
  auto* posted = new std::function<void()>(std::move(work));
  const HWND window = posted_to_.load();
  // The window takes it over once it is in its queue.
  if (window == nullptr || !::PostMessageW(window, Win32MainWindow::kPostedWorkMessage, 0,
                                           reinterpret_cast<LPARAM>(posted))) {
    delete posted;
  }
}

void Win32WindowHost::SetBusy(bool busy) {
  if (main_window_ != nullptr) main_window_->SetBusy(busy);
}

}  // namespace pellmar
