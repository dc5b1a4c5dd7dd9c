// Whether text is UTF-8 already: what a profile file or a file name holds
// may be UTF-8 or bytes of an older 8-bit code page, and only the latter is
// decoded.
#ifndef PELLMAR_PLATFORM_UTF8_TEXT_H_
#define PELLMAR_PLATFORM_UTF8_TEXT_H_

#include <string_view>

namespace pellmar {

/// True when `bytes` are well-formed UTF-8 (no overlong forms, no
/// surrogates, nothing above U+10FFFF).
bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_UTF8_TEXT_H_
