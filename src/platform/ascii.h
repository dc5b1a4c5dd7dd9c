// Letters as the system's ANSI rules fold them in paths and profile names:
// ASCII only, so a byte of a multi-byte character is never changed. The
// one home of these rules for every layer.
#ifndef PELLMAR_PLATFORM_ASCII_H_
#define PELLMAR_PLATFORM_ASCII_H_

#include <string_view>

namespace pellmar {

constexpr bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

constexpr char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_ASCII_H_
