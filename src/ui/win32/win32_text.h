// Text at the Win32 API: the program's UTF-8 as UTF-16 for the windows, and
// back. A caption is shown even when a language file slipped an invalid
// byte through: that byte shows as U+FFFD instead of hiding the caption.
#ifndef PELLMAR_UI_WIN32_WIN32_TEXT_H_
#define PELLMAR_UI_WIN32_WIN32_TEXT_H_

#include <string>
#include <string_view>

#include "ui/win32/common_controls.h"

namespace pellmar {

std::wstring ToWide(std::string_view text);
std::string ToUtf8(std::wstring_view text);
/// The whole text of a window, as UTF-8.
std::string WindowText(HWND window);
/// Sets a window's text only when it differs, so a caret is not moved and
/// no change notification is sent for nothing.
void SetWindowTextIfChanged(HWND window, const std::wstring& text);

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_WIN32_TEXT_H_
