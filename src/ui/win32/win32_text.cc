// UTF-8 <-> UTF-16 for the skin. Unlike the platform's strict conversions
// for names, a window's text always converts: what cannot be converted
// shows as U+FFFD, so a caption is never lost to one bad byte.
#include "ui/win32/win32_text.h"

namespace pellmar {

std::wstring ToWide(std::string_view text) {
  const int length =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
  return wide;
}

std::string ToUtf8(std::wstring_view text) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length,
                        nullptr, nullptr);
  return utf8;
}

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  text.resize(::GetWindowTextW(window, text.data(), length + 1));
  return ToUtf8(text);
}

void SetWindowTextIfChanged(HWND window, const std::wstring& text) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring current(length + 1, L'\0');
  current.resize(::GetWindowTextW(window, current.data(), length + 1));
  if (current != text) ::SetWindowTextW(window, text.c_str());
}

}  // namespace pellmar
