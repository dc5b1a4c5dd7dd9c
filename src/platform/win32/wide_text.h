// UTF-8 inside the program, UTF-16 at the Win32 API. Conversions are strict:
// text that cannot convert is refused (nullopt), never changed into
// something else, so a name is never mangled on its way through.
#ifndef PELLMAR_PLATFORM_WIN32_WIDE_TEXT_H_
#define PELLMAR_PLATFORM_WIN32_WIDE_TEXT_H_

#include <optional>
#include <string>
#include <string_view>

namespace pellmar {

/// UTF-16 of valid UTF-8; nullopt for invalid UTF-8 or a NUL byte.
std::optional<std::wstring> Utf8ToWide(std::string_view text);
/// UTF-8 of valid UTF-16; nullopt for an unpaired surrogate.
std::optional<std::string> WideToUtf8(std::wstring_view text);
/// UTF-8 for reports: each unit that cannot convert is written as "\uXXXX".
std::string WideForReport(std::wstring_view text);

/// Decodes text in Windows code page `code_page` (0: the system's ANSI code
/// page) into UTF-8. A byte that is not valid there is kept visible as
/// "\xNN" and decoding goes on after it.
std::string DecodeMultiByte(std::string_view bytes, unsigned code_page);

/// True when `bytes` are well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_WIDE_TEXT_H_
