// What the skin's two top-level windows share: their window class, and the
// procedure that hands every message to the window object that owns it.
#ifndef PELLMAR_UI_WIN32_WINDOW_CLASS_H_
#define PELLMAR_UI_WIN32_WINDOW_CLASS_H_

#include "ui/win32/common_controls.h"

namespace pellmar {

/// Registers the class `name` once: the arrow cursor, the button face
/// behind the controls, and `icon` (may be null).
void RegisterWindowClass(const wchar_t* name, HICON icon);

/// The window procedure of a window whose GWLP_USERDATA holds its `Owner`:
/// messages before that is set go to the default procedure.
template <typename Owner>
LRESULT CALLBACK RouteToOwner(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner == nullptr) return ::DefWindowProcW(window, message, w_param, l_param);
  return owner->Handle(window, message, w_param, l_param);
}

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_WINDOW_CLASS_H_
