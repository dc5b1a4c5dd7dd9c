// The user's folders from the shell's known folders and, for Documents, the
// shell-folder value older systems keep in the registry.
#include "platform/win32/host_settings.h"

#include <optional>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::string folder;
  if (::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path) == S_OK && path != nullptr) {
    folder = WideToUtf8(path).value_or("");
  }
  ::CoTaskMemFree(path);
  return folder;
}

std::string PersonalShellFolder() {
  wchar_t value[MAX_PATH * 4];
  DWORD size = sizeof value;
  const LSTATUS status = ::RegGetValueW(
      HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
      L"Personal", RRF_RT_REG_SZ, nullptr, value, &size);
  if (status != ERROR_SUCCESS) return "";
  return WideToUtf8(value).value_or("");
}

}  // namespace

HostFolders HostFoldersFromSystem() {
  HostFolders folders;
  folders.documents = KnownFolder(FOLDERID_Documents);
  if (folders.documents.empty()) folders.documents = PersonalShellFolder();
  folders.roaming_app_data = KnownFolder(FOLDERID_RoamingAppData);
  folders.local_app_data = KnownFolder(FOLDERID_LocalAppData);
  return folders;
}

}  // namespace pellmar
