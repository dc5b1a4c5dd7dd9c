// The log window's class, procedure and modal loop.
#include "ui/win32/log_window.h"

#include "ui/log_viewer.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/window_class.h"

namespace pellmar {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

}  // namespace

Win32LogWindow::Win32LogWindow(TLogViewer& log, HWND owner) : log_(log), owner_(owner) {
  RegisterWindowClass(kClassName, nullptr);
  window_ =
      ::CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName,
                        ToWide(log_.caption()).c_str(), kStyle, 0, 0, TLogViewer::kWidth,
                        TLogViewer::kHeight, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(RouteToOwner<Win32LogWindow>));
  const int dpi = static_cast<int>(::GetDpiForWindow(window_));
  // Its own design font: the main window's font and language never reach it.
  font_ = CreateWindowFont(TLogViewer::kFontName, TLogViewer::kFontCharset, dpi);
  controls_ = std::make_unique<ControlWindows>(window_);
  controls_->Rescale(dpi, font_);
  controls_->Bind(log_.Memo);
  controls_->Bind(log_.btnOK);
  controls_->Bind(log_.Title);
  ::SetWindowPos(window_, nullptr, 0, 0, controls_->Scale(TLogViewer::kWidth),
                 controls_->Scale(TLogViewer::kHeight), SWP_NOMOVE | SWP_NOZORDER);
}

Win32LogWindow::~Win32LogWindow() {
  controls_.reset();
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  if (font_ != nullptr) ::DeleteObject(font_);
}

void Win32LogWindow::ShowModal() {
  if (showing_ || window_ == nullptr) return;
  ::SetWindowTextW(window_, ToWide(log_.caption()).c_str());
  controls_->MirrorAll();
  RECT outer{};
  ::GetWindowRect(window_, &outer);
  const POINT origin = CentredOrigin(outer.right - outer.left, outer.bottom - outer.top);
  ::SetWindowPos(window_, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE);
  showing_ = true;
  const bool owner_was_enabled = owner_ != nullptr && !::EnableWindow(owner_, FALSE);
  ::ShowWindow(window_, SW_SHOW);
  controls_->MirrorAll();  // the memo's text goes in once the window is up
  // A log is read and dismissed: Enter right away closes it.
  if (HWND ok = controls_->WindowOf(log_.btnOK.name())) ::SetFocus(ok);
  MSG message{};
  bool quit = false;
  while (showing_) {
    if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!::IsDialogMessageW(window_, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  showing_ = false;
  if (owner_was_enabled) ::EnableWindow(owner_, TRUE);
  ::ShowWindow(window_, SW_HIDE);
  if (owner_ != nullptr) ::SetActiveWindow(owner_);
  // The program's end was asked for meanwhile: the outer loop must see it.
  if (quit) ::PostQuitMessage(static_cast<int>(message.wParam));
}

void Win32LogWindow::Hide() {
  if (!showing_) return;
  showing_ = false;
  ::PostMessageW(window_, WM_NULL, 0, 0);  // wakes the modal loop
}

LRESULT Win32LogWindow::Handle(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_COMMAND: {
      const bool ok = controls_->ControlOf(reinterpret_cast<HWND>(l_param)) == &log_.btnOK;
      if (l_param != 0) controls_->OnCommand(w_param, l_param);
      // OK always closes the log, whatever else its click does; so do
      // Escape and Enter outside the memo.
      if ((ok && HIWORD(w_param) == BN_CLICKED) || LOWORD(w_param) == IDOK ||
          LOWORD(w_param) == IDCANCEL) {
        Hide();
      }
      return 0;
    }
    case DM_GETDEFID:
      return MAKELRESULT(controls_->IdOf(log_.btnOK), DC_HASDEFID);
    case WM_CLOSE:
      Hide();
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: the same design, scaled anew.
      const RECT* suggested = reinterpret_cast<const RECT*>(l_param);
      HFONT font =
          CreateWindowFont(TLogViewer::kFontName, TLogViewer::kFontCharset, HIWORD(w_param));
      controls_->Rescale(HIWORD(w_param), font);
      ::DeleteObject(font_);
      font_ = font;
      ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(window, message, w_param, l_param);
}

}  // namespace pellmar
