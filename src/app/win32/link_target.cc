// Link targets on Windows, as the settings save resolves them.
#include "app/link_target.h"

#include <string_view>

#include "platform/win32/host_files.h"
#include "platform/win32/wide_text.h"

namespace pellmar {

std::optional<std::string> LinkTarget(const std::string& host_path) {
  const std::optional<std::wstring> path = Utf8ToWide(host_path);
  if (!path) return std::nullopt;
  const std::wstring followed = FollowLink(*path);
  if (followed == *path) return std::nullopt;
  std::wstring_view target = followed;
  // The system names the final path in its long form; people know it without.
  constexpr std::wstring_view kLongForm = L"\\\\?\\";
  if (target.substr(0, kLongForm.size()) == kLongForm) target.remove_prefix(kLongForm.size());
  return WideToUtf8(target);
}

}  // namespace pellmar
