// The main window's class, procedure and message loop.
#include "ui/win32/main_window.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "ui/main_form.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_font.h"

namespace pellmar {
namespace {

constexpr UINT kShownMessage = WM_APP + 1;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

Label::Measurer Win32LabelMeasurer(const TMain& main) {
  return [&main](const std::string& caption) {
    HFONT font = CreateWindowFont(main.font_name(), main.font_charset(), 96);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    const std::wstring text = ToWide(caption);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return static_cast<int>(size.cx);
  };
}

POINT CentredOrigin(int outer_width, int outer_height) {
  RECT area{0, 0, 1024, 768};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return POINT{area.left + (area.right - area.left - outer_width) / 2,
               area.top + (area.bottom - area.top - outer_height) / 2};
}

Win32MainWindow::Win32MainWindow(TMain& main) : main_(main) {
  RegisterWindowClass(kClassName, ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
  window_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, ToWide(main_.caption()).c_str(),
                              kStyle, CW_USEDEFAULT, CW_USEDEFAULT, TMain::kWidth, TMain::kHeight,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(RouteToOwner<Win32MainWindow>));
  controls_ = std::make_unique<ControlWindows>(window_);
  const int dpi = static_cast<int>(::GetDpiForWindow(window_));
  font_ = CreateWindowFont(main_.font_name(), main_.font_charset(), dpi);
  controls_->Rescale(dpi, font_);
  // Creation order is the Tab order.
  std::vector<Control*> controls = main_.AllControls();
  std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
    const int a_order = a->tab_order() < 0 ? 1 << 20 : a->tab_order();
    const int b_order = b->tab_order() < 0 ? 1 << 20 : b->tab_order();
    return a_order < b_order;
  });
  for (Control* control : controls) controls_->Bind(*control);
  controls_->ForwardKeyUps(
      std::vector<std::string>(TMain::kKeyUpControls.begin(), TMain::kKeyUpControls.end()),
      [this](const std::string& name, int key) { main_.ControlKeyUp(name, key); });
  ApplyDpi(dpi);
}

Win32MainWindow::~Win32MainWindow() {
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  if (font_ != nullptr) ::DeleteObject(font_);
}

void Win32MainWindow::ApplyDpi(int dpi) {
  HFONT font = CreateWindowFont(main_.font_name(), main_.font_charset(), dpi);
  controls_->Rescale(dpi, font);
  if (font_ != nullptr) ::DeleteObject(font_);
  font_ = font;
  ::SetWindowPos(window_, nullptr, 0, 0, controls_->Scale(TMain::kWidth),
                 controls_->Scale(TMain::kHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_->MirrorAll();  // the status bar follows the new bottom edge
}

void Win32MainWindow::ShowCentred() {
  RECT outer{};
  ::GetWindowRect(window_, &outer);
  const POINT origin = CentredOrigin(outer.right - outer.left, outer.bottom - outer.top);
  ::SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
  if (!main_.focused_control().empty()) {
    Focus(main_.focused_control());
  } else if (HWND first = ::GetNextDlgTabItem(window_, nullptr, FALSE)) {
    ::SetFocus(first);
  }
  TrackFocus();
  // The welcome box and the first picker belong on a window the user can
  // already see: the show reaction waits for the next turn of the loop.
  ::PostMessageW(window_, kShownMessage, 0, 0);
}

void Win32MainWindow::Focus(const std::string& control_name) {
  if (HWND control = controls_->WindowOf(control_name)) ::SetFocus(control);
}

void Win32MainWindow::Quit() {
  // The loop ends the window once the running reaction has returned.
  quit_pending_ = true;
  if (window_ != nullptr) ::PostMessageW(window_, WM_NULL, 0, 0);
}

void Win32MainWindow::TrackFocus() {
  HWND focus = ::GetFocus();
  if (focus == last_focus_ || window_ == nullptr) return;
  last_focus_ = focus;
  if (focus != window_ && !::IsChild(window_, focus)) return;
  Control* control = controls_->ControlOf(focus);
  // The edit inside another control's window counts as that control.
  if (control == nullptr && focus != window_) control = controls_->ControlOf(::GetParent(focus));
  const std::string name = control == nullptr ? std::string() : control->name();
  if (name != main_.focused_control()) main_.SetFocus(name);
}

int Win32MainWindow::RunLoop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    Dispatch(message);
    TrackFocus();
    if (quit_pending_ && window_ != nullptr) ::DestroyWindow(window_);
  }
  return static_cast<int>(message.wParam);
}

Button* Win32MainWindow::FindButton(bool (Button::*role)() const) const {
  for (Control* control : main_.AllControls()) {
    auto* button = dynamic_cast<Button*>(control);
    if (button != nullptr && (button->*role)()) return button;
  }
  return nullptr;
}

LRESULT Win32MainWindow::Handle(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_COMMAND:
      if (l_param != 0 && HIWORD(w_param) == BN_CLICKED &&
          PreviewOnShift(controls_->ControlOf(reinterpret_cast<HWND>(l_param)))) {
        return 0;
      }
      if (l_param != 0 && controls_->OnCommand(w_param, l_param)) return 0;
      // During a run Escape is the way to stop it, not the cancel button.
      if (LOWORD(w_param) == IDCANCEL && main_.run_in_progress()) {
        main_.AskToStop();
        return 0;
      }
      // Enter and Escape where the focused control left them alone.
      if (LOWORD(w_param) == IDOK || LOWORD(w_param) == IDCANCEL) {
        Button* button =
            FindButton(LOWORD(w_param) == IDOK ? &Button::is_default : &Button::is_cancel);
        if (button != nullptr && !PreviewOnShift(button)) button->Click();
        return 0;
      }
      break;
    case DM_GETDEFID: {
      const Button* button = FindButton(&Button::is_default);
      return button == nullptr ? 0 : MAKELRESULT(controls_->IdOf(*button), DC_HASDEFID);
    }
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (controls_->OnNotify(*reinterpret_cast<const NMHDR*>(l_param), &result)) return result;
      break;
    }
    case WM_KEYUP:
      // Only a release while the window itself has the focus is its own.
      main_.FormKeyUp(static_cast<int>(w_param));
      return 0;
    case WM_ACTIVATE:
      // The keyboard focus comes back to the control that had it (after a
      // box, the log window or another program), not to the bare window.
      if (LOWORD(w_param) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) focus_before_deactivation_ = focus;
      } else if (busy_) {
        ::SetFocus(window_);  // the controls are greyed; Escape must still arrive
        return 0;
      } else if (focus_before_deactivation_ != nullptr && ::IsWindow(focus_before_deactivation_)) {
        ::SetFocus(focus_before_deactivation_);
        return 0;
      }
      break;
    case WM_HELP:
      return TRUE;  // F1 takes the way of the key releases
    case WM_CLOSE:
      // A run must finish and report before the window may go: closing
      // during one offers to stop it. A failed save keeps the window open.
      if (main_.run_in_progress()) {
        main_.AskToStop();
      } else if (main_.FormClose()) {
        ::DestroyWindow(window_);
      }
      return 0;
    case WM_SETCURSOR:
      // Over a greyed control the hit is an error, which counts as well.
      if (busy_ &&
          (LOWORD(l_param) == HTCLIENT || static_cast<short>(LOWORD(l_param)) == HTERROR)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
        return TRUE;
      }
      break;
    case WM_CONTEXTMENU: {
      const Control* control = controls_->ControlOf(reinterpret_cast<HWND>(w_param));
      if (control != &main_.ListBox1 && control != &main_.ListBox2) break;
      ShowProjectMenu(reinterpret_cast<HWND>(w_param), l_param);
      return 0;
    }
    case kShownMessage:
      main_.FormShow();
      return 0;
    case kPostedWorkMessage: {
      const std::unique_ptr<std::function<void()>> work(
          reinterpret_cast<std::function<void()>*>(l_param));
      (*work)();
      return 0;
    }
    case WM_DESTROY:
      window_ = nullptr;
      ::PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(l_param);
      ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(w_param));
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(window, message, w_param, l_param);
}

}  // namespace pellmar
