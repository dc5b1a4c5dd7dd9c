// The main window's input beyond what its controls take themselves: Ctrl+Z,
// Ctrl+E, Shift with Send and Load, the project list's menu, and what a run leaves
// the user (the busy pointer, Escape).
#include <string>

#include "ui/main_form.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_text.h"

namespace pellmar {
namespace {

constexpr UINT kPreviewSendCommand = 1;
constexpr UINT kPreviewLoadCommand = 2;

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

bool OnlyControlDown() { return KeyDown(VK_CONTROL) && !KeyDown(VK_SHIFT) && !KeyDown(VK_MENU); }

bool IsEditField(HWND window) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  return ::lstrcmpiW(name, WC_EDITW) == 0;
}

}  // namespace

void Win32MainWindow::Dispatch(MSG& message) {
  if (UndoShortcut(message) || EjectShortcut(message)) return;
  if (window_ != nullptr && ::IsDialogMessageW(window_, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

bool Win32MainWindow::UndoShortcut(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != 'Z' || window_ == nullptr) return false;
  if (!OnlyControlDown()) return false;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  // What was just typed into a field is undone first, as in any field.
  if (IsEditField(message.hwnd) && ::SendMessageW(message.hwnd, EM_CANUNDO, 0, 0) != 0) {
    return false;
  }
  if (!main_.CanUndoRemove() || main_.run_in_progress()) return false;
  main_.UndoRemove();
  return true;
}

bool Win32MainWindow::EjectShortcut(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != 'E' || window_ == nullptr) return false;
  if (!OnlyControlDown()) return false;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  if (main_.run_in_progress()) return false;
  main_.EjectSelectedMedium();
  return true;
}

bool Win32MainWindow::PreviewOnShift(Control* control) {
  // Send and Load preview on a Shift+click; the other buttons click.
  auto* button = dynamic_cast<Button*>(control);
  if (button == nullptr || !button->on_shift_click || !KeyDown(VK_SHIFT)) return false;
  button->ShiftClick();
  return true;
}

void Win32MainWindow::ShowProjectMenu(HWND list, LPARAM where) {
  POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  if (where == -1) {
    RECT line{};
    const auto index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index < 0 ||
        ::SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&line)) == LB_ERR) {
      line = RECT{};
    }
    point = POINT{line.left, line.bottom};
    ::ClientToScreen(list, &point);
  } else {
    // A right click picks the project it is on, as a left click would.
    SelectLineAt(list, point);
  }
  const UINT state = main_.ListBox1.item_index() >= 0 ? MF_ENABLED : MF_GRAYED;
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING | state, kPreviewSendCommand,
                ToWide(main_.messages().Msg(kPreviewSendMenu)).c_str());
  ::AppendMenuW(menu, MF_STRING | state, kPreviewLoadCommand,
                ToWide(main_.messages().Msg(kPreviewLoadMenu)).c_str());
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, point.x, point.y, 0, window_, nullptr));
  ::DestroyMenu(menu);
  if (chosen == kPreviewSendCommand) main_.PreviewSend();
  if (chosen == kPreviewLoadCommand) main_.PreviewLoad();
}

void Win32MainWindow::SelectLineAt(HWND list, POINT screen_point) {
  POINT client = screen_point;
  ::ScreenToClient(list, &client);
  const auto hit = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) != 0) return;  // below the last line
  const int index = LOWORD(hit);
  if (::SendMessageW(list, LB_GETCURSEL, 0, 0) == index) return;
  ::SendMessageW(list, LB_SETCURSEL, index, 0);
  ::SendMessageW(window_, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void Win32MainWindow::SetBusy(bool busy) {
  busy_ = busy;
  // Greying the controls took the focus away; the keys then go nowhere.
  if (busy && window_ != nullptr && ::GetActiveWindow() == window_) ::SetFocus(window_);
  UpdateCursor();
}

void Win32MainWindow::UpdateCursor() {
  POINT point{};
  if (window_ == nullptr || !::GetCursorPos(&point)) return;
  HWND under = ::WindowFromPoint(point);
  if (under != window_ && !::IsChild(window_, under)) return;
  const auto hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(hit, WM_MOUSEMOVE));
}

}  // namespace pellmar
