// The system's wording of a Win32 error code, in UTF-8.
#include "platform/win32/error_mapping.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

std::string SystemWording(uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wording = length > 0 && text != nullptr ? std::wstring(text, length) : L"";
  if (text != nullptr) ::LocalFree(text);
  while (!wording.empty() && (wording.back() == L'\n' || wording.back() == L'\r' ||
                              wording.back() == L' ' || wording.back() == L'.')) {
    wording.pop_back();
  }
  if (wording.empty()) return "error " + std::to_string(code);
  return WideForReport(wording);
}

}  // namespace

Status StatusFromWin32(const std::string& operation, const std::string& path, uint32_t code) {
  if (code == kErrorSuccess) code = kErrorGenFailure;  // a failure that gave no reason
  return Status::Error(code, operation + " " + path + ": " + SystemWording(code));
}

Status LastErrorStatus(const std::string& operation, const std::string& path) {
  return StatusFromWin32(operation, path, ::GetLastError());
}

}  // namespace pellmar
