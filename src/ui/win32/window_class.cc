// The skin's window class, registered once per name.
#include "ui/win32/window_class.h"

namespace pellmar {

void RegisterWindowClass(const wchar_t* name, HICON icon) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  if (::GetClassInfoExW(instance, name, &window_class)) return;
  window_class.lpfnWndProc = ::DefWindowProcW;
  window_class.hInstance = instance;
  window_class.hIcon = icon;
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = name;
  ::RegisterClassExW(&window_class);
}

}  // namespace pellmar
