// Win32Platform's file and folder services: each resolves its paths and
// hands them to the host-level helpers or the API.
#include "platform/path_text.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/host_files.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace pellmar {
namespace {

bool AttributesAre(const std::wstring& path, bool want_folder) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == want_folder;
}

// A drive root ("E:\", "E:") or a share has no entry of its own.
bool IsRoot(const std::wstring& path) {
  std::wstring trimmed = path;
  while (trimmed.size() > 2 && (trimmed.back() == L'\\' || trimmed.back() == L'/'))
    trimmed.pop_back();
  if (trimmed.size() == 2 && trimmed[1] == L':') return true;
  if (trimmed.compare(0, 2, L"\\\\") != 0) return false;
  const size_t share = trimmed.find_first_of(L"\\/", 2);
  return share != std::wstring::npos &&
         trimmed.find_first_of(L"\\/", share + 1) == std::wstring::npos;
}

}  // namespace

FolderListing Win32Platform::ListFolder(const std::string& pattern) {
  const auto [folder, mask] = SplitPattern(pattern);
  FolderListing listing;
  if (mask.empty()) {
    listing.status = Status::Error(kErrorInvalidName, pattern + ": no name pattern");
    return listing;
  }
  std::wstring host_folder;
  listing.status = Resolve(folder.empty() ? "." : folder, &host_folder);
  const std::optional<std::wstring> host_mask = Utf8ToWide(mask);
  if (listing.status.ok() && !host_mask) {
    listing.status = Status::Error(kErrorInvalidName, pattern + ": not valid text for a path");
  }
  if (!listing.status.ok()) return listing;
  return ListHostFolder(host_folder, *host_mask);
}

Status Win32Platform::FolderChain(const std::string& path, std::vector<FileIdentity>* chain) {
  chain->clear();
  return OnHost(path, [chain](const std::wstring& host) { return HostFolderChain(host, chain); });
}

Status Win32Platform::FolderIdentity(const std::string& path, FileIdentity* identity) {
  *identity = {};
  return OnHost(path, [identity](const std::wstring& host) {
    *identity = HostIdentity(host);
    if (identity->known) return Status::Ok();
    const DWORD error = ::GetLastError();
    // A missing folder is a missing path, as the chain reports it.
    return StatusFromWin32("examine", ForReport(host),
                           error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
  });
}

std::optional<FileFacts> Win32Platform::FindFile(const std::string& path) {
  std::wstring host;
  if (!Resolve(path, &host).ok() || IsRoot(host)) return std::nullopt;
  // "E:\a\" names the folder a; the system's lookup would find nothing.
  while (host.size() > 3 && (host.back() == L'\\' || host.back() == L'/')) host.pop_back();
  return HostFileFacts(host);
}

bool Win32Platform::FolderExists(const std::string& path) {
  std::wstring host;
  return Resolve(path, &host).ok() && AttributesAre(host, true);
}

bool Win32Platform::FileExists(const std::string& path) {
  std::wstring host;
  return Resolve(path, &host).ok() && AttributesAre(host, false);
}

Status Win32Platform::CreateFolder(const std::string& path) {
  return OnHost(path, [](const std::wstring& host) {
    if (!::CreateDirectoryW(host.c_str(), nullptr)) {
      return LastErrorStatus("create the folder", ForReport(host));
    }
    return Status::Ok();
  });
}

Status Win32Platform::ReadWholeFile(const std::string& path, std::string* contents) {
  contents->clear();
  return OnHost(path,
                [contents](const std::wstring& host) { return ReadHostFile(host, contents); });
}

Status Win32Platform::WriteWholeFile(const std::string& path,
                                     std::span<const std::string_view> pieces) {
  ClearDebrisOnce(ParentFolder(path));
  return OnHost(path, [pieces](const std::wstring& host) { return ReplaceHostFile(host, pieces); });
}

}  // namespace pellmar
