// Win32Platform: construction from the user's folders, paths to UTF-16 and
// back, and the small services (clock, version, error mode).
#include "platform/win32/win32_platform.h"

#include "platform/ascii.h"
#include "platform/path_text.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/quiet_errors.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

// Past this many characters the classic API refuses a path (folders are
// cut at 248 so that an 8.3 name still fits), and only the long form works.
constexpr size_t kClassicPathLimit = 248;

std::optional<std::wstring> FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD length =
      ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (length == 0 || length >= full.size()) return std::nullopt;
  full.resize(length);
  return full;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "<folder above Documents>\Application Data", or empty for no Documents.
std::string ApplicationDataBeside(const std::string& documents) {
  if (documents.find('\\') == std::string::npos) return "";
  return ChildPath(ParentFolder(documents), "Application Data");
}

// True when `path` is `prefix` or lies below it, compared as the file
// system compares names (ASCII letters without regard to case).
bool IsAtOrBelow(const std::string& path, const std::string& prefix) {
  if (prefix.empty() || path.size() < prefix.size()) return false;
  if (!EqualsIgnoreCase(std::string_view(path).substr(0, prefix.size()), prefix)) return false;
  return path.size() == prefix.size() || path[prefix.size()] == '\\' || path[prefix.size()] == '/';
}

}  // namespace

Win32Platform::Win32Platform(HostFolders folders) : folders_(std::move(folders)) {
  // Current systems have no such folder, and a redirected Documents never
  // has one; the program folder is often not writable, so the settings go
  // where the system keeps each user's roaming settings.
  const std::string beside = ApplicationDataBeside(folders_.documents);
  const std::optional<std::wstring> wide_beside = Utf8ToWide(beside);
  const std::optional<std::wstring> roaming = Utf8ToWide(folders_.roaming_app_data);
  if (!beside.empty() && wide_beside && !IsFolder(*wide_beside) && roaming && !roaming->empty() &&
      IsFolder(*roaming)) {
    settings_alias_ = beside;
  }
}

std::unique_ptr<Platform> NewWin32Platform(HostFolders folders) {
  return std::make_unique<Win32Platform>(std::move(folders));
}

std::unique_ptr<Platform> NewHostPlatform() { return NewWin32Platform(HostFoldersFromSystem()); }

Status Win32Platform::Resolve(const std::string& path, std::wstring* wide) const {
  // An empty path names nothing, not the working folder: an empty stored
  // folder must never look like one that exists.
  if (path.empty()) return Status::Error(kErrorPathNotFound, "empty path");
  std::string mapped = path;
  if (IsAtOrBelow(path, settings_alias_)) {
    mapped = folders_.roaming_app_data + path.substr(settings_alias_.size());
  }
  std::optional<std::wstring> converted = Utf8ToWide(mapped);
  if (!converted) return Status::Error(kErrorInvalidName, path + ": not valid text for a path");
  *wide = std::move(*converted);
  if (wide->size() < kClassicPathLimit || wide->compare(0, 4, L"\\\\?\\") == 0) return Status::Ok();
  const std::optional<std::wstring> full = FullPath(*wide);
  if (!full) return LastErrorStatus("find the full path of", path.substr(0, 80) + "...");
  const bool share = full->compare(0, 2, L"\\\\") == 0;
  *wide = share ? L"\\\\?\\UNC\\" + full->substr(2) : L"\\\\?\\" + *full;
  return Status::Ok();
}

std::optional<std::string> Win32Platform::HostPath(const std::string& path) {
  std::wstring wide;
  if (!Resolve(path, &wide).ok()) return std::nullopt;
  std::optional<std::wstring> full = FullPath(wide);
  if (full && full->compare(0, 8, L"\\\\?\\UNC\\") == 0) full->replace(0, 8, L"\\\\");
  if (full && full->compare(0, 4, L"\\\\?\\") == 0) full->erase(0, 4);
  std::optional<std::string> host = full ? WideToUtf8(*full) : std::nullopt;
  // Host paths are written with "/", as the toolkit writes them on every
  // system and as callers compare host paths; the API takes either.
  if (host) {
    for (char& c : *host) c = c == '\\' ? '/' : c;
  }
  return host;
}

std::optional<std::string> Win32Platform::NamespacePath(const std::string& host_path) {
  const std::optional<std::wstring> wide = Utf8ToWide(host_path);
  if (!wide || wide->empty()) return std::nullopt;
  // An absolute path keeps its spelling, separators aside: the system's
  // own normalising would drop trailing blanks and dots from its names.
  const bool absolute =
      (wide->size() >= 3 && (*wide)[1] == L':' && ((*wide)[2] == L'\\' || (*wide)[2] == L'/')) ||
      wide->compare(0, 2, L"\\\\") == 0 || wide->compare(0, 2, L"//") == 0;
  if (absolute) {
    std::string path = host_path;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }
  const std::optional<std::wstring> full = FullPath(*wide);
  return full ? WideToUtf8(*full) : std::nullopt;
}

std::string Win32Platform::DocumentsFolder() { return folders_.documents; }

std::string Win32Platform::StateFolder() {
  return folders_.local_app_data.empty() ? "" : ChildPath(folders_.local_app_data, "Pellmar");
}

std::string Win32Platform::ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return "";
    if (length < path.size()) {
      path.resize(length);
      if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) path.replace(0, 8, L"\\\\");
      if (path.compare(0, 4, L"\\\\?\\") == 0) path.erase(0, 4);
      return WideToUtf8(path).value_or("");
    }
    path.resize(path.size() * 2);
  }
}

Status Win32Platform::QueryVersion() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExW(&version)) return LastErrorStatus("query the system's version", "");
  return Status::Ok();
}

LocalDateTime Win32Platform::Now() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return LocalDateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

uint32_t Win32Platform::SetErrorMode(uint32_t mode) { return SetThreadErrors(mode); }

// Paths and texts are UTF-8 inside the program, so no path rule needs to
// treat double-byte characters as one unit.
int Win32Platform::AnsiCodePage() { return 65001; }

}  // namespace pellmar
