// Strict UTF-8 / UTF-16 conversion and code-page decoding through the
// system's own converters.
#include "platform/win32/wide_text.h"

#include <cstdio>

#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

// One strict MultiByteToWideChar; nullopt when a byte does not convert.
std::optional<std::wstring> StrictWide(std::string_view bytes, unsigned code_page) {
  if (bytes.empty()) return std::wstring();
  const int length = static_cast<int>(bytes.size());
  const int needed =
      ::MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), needed);
  return wide;
}

std::string ByteEscape(unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

}  // namespace

bool IsUtf8(std::string_view bytes) { return StrictWide(bytes, CP_UTF8).has_value(); }

std::optional<std::wstring> Utf8ToWide(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  return StrictWide(text, CP_UTF8);
}

std::optional<std::string> WideToUtf8(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length,
                                           nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::nullopt;
  std::string utf8(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, utf8.data(), needed,
                        nullptr, nullptr);
  return utf8;
}

std::string WideForReport(std::wstring_view text) {
  std::string report;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    const bool end = i == text.size();
    const wchar_t unit = end ? 0 : text[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    const bool paired =
        high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (!end && !(high && !paired) && !low) {
      if (paired) ++i;
      continue;
    }
    report += WideToUtf8(text.substr(start, i - start)).value_or("");
    if (!end) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
      report += escape;
    }
    start = i + 1;
  }
  return report;
}

std::string DecodeMultiByte(std::string_view bytes, unsigned code_page) {
  if (std::optional<std::wstring> whole = StrictWide(bytes, code_page)) {
    return WideToUtf8(*whole).value_or("");
  }
  // Character by character: a lead byte takes its trail byte with it.
  std::string out;
  for (size_t at = 0; at < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    const size_t width = ::IsDBCSLeadByteEx(code_page, byte) && at + 1 < bytes.size() ? 2 : 1;
    if (std::optional<std::wstring> one = StrictWide(bytes.substr(at, width), code_page)) {
      out += WideToUtf8(*one).value_or("");
      at += width;
    } else {
      out += ByteEscape(byte);
      ++at;
    }
  }
  return out;
}

}  // namespace pellmar
