// Folder listing and file facts on the host, from the system's own listing:
// attribute word, local DOS last-write time, 64-bit size, and the identity
// (volume serial number and file index) of what each entry leads to.
#include <algorithm>
#include <optional>

#include "platform/dos_time.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/host_files.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/temp_file.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

constexpr uint32_t kListedAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory |
                                       kAttrArchive | kAttrDevice | kAttrReparsePoint;

uint32_t LocalDosTime(const FILETIME& utc) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (::FileTimeToLocalFileTime(&utc, &local) && ::FileTimeToDosDateTime(&local, &date, &time)) {
    return (uint32_t{date} << 16) | time;
  }
  // Outside 1980..2107 the system gives no packed value; the nearest end does.
  SYSTEMTIME t;
  if (!::FileTimeToSystemTime(&local, &t)) return PackDosTime(LocalDateTime{});
  return PackDosTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, 0});
}

// Only links and junctions (tags that stand for another name) count as
// reparse points here: a cloud placeholder of a synced Documents folder is
// an ordinary file and must be copied like one.
uint32_t Attributes(const WIN32_FIND_DATAW& found) {
  uint32_t attributes = found.dwFileAttributes;
  const bool reparse = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (reparse && !IsReparseTagNameSurrogate(found.dwReserved0)) {
    attributes &= ~uint32_t{FILE_ATTRIBUTE_REPARSE_POINT};
  }
  return attributes & kListedAttributes;
}

FileFacts FactsFromFind(const std::wstring& path, const WIN32_FIND_DATAW& found, std::string name) {
  FileFacts facts;
  facts.name = std::move(name);
  facts.attributes = Attributes(found);
  facts.dos_time = LocalDosTime(found.ftLastWriteTime);
  if (!(facts.attributes & kAttrDirectory)) {
    facts.size = static_cast<int64_t>((uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow);
  }
  facts.identity = HostIdentity(path);
  // A link that leads nowhere is listed, and never opened.
  if ((facts.attributes & kAttrReparsePoint) && !facts.identity.known) {
    facts.attributes |= kAttrDevice;
  }
  return facts;
}

bool HasWildcard(const std::wstring& path) {
  return path.find_first_of(L"*?") != std::wstring::npos;
}

Status FolderStatus(const std::wstring& folder, DWORD error) {
  // A missing folder, or a file where the folder should be, is a missing path.
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_DIRECTORY) error = ERROR_PATH_NOT_FOUND;
  return StatusFromWin32("list the folder", ForReport(folder), error);
}

}  // namespace

std::wstring JoinHostPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  const wchar_t last = folder.back();
  return folder + (last == L'\\' || last == L'/' || last == L':' ? L"" : L"\\") + name;
}

std::wstring HostFolderOf(const std::wstring& path) {
  size_t end = path.size();
  while (end > 0 && (path[end - 1] == L'\\' || path[end - 1] == L'/')) --end;
  const size_t cut = path.find_last_of(L"\\/", end == 0 ? 0 : end - 1);
  if (cut == std::wstring::npos)
    return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";
  // "E:\x" lives in "E:\", which keeps its separator.
  if (cut == 2 && path[1] == L':') return path.substr(0, 3);
  return path.substr(0, cut);
}

std::string ForReport(const std::wstring& path) { return WideForReport(path); }

FileIdentity HostIdentity(const std::wstring& path) {
  const ScopedHandle file(::CreateFileW(
      path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) return {};
  return FileIdentity{info.dwVolumeSerialNumber,
                      (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, true};
}

std::optional<FileFacts> HostFileFacts(const std::wstring& path) {
  if (HasWildcard(path)) return std::nullopt;
  WIN32_FIND_DATAW found;
  HANDLE search =
      ::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(search);
  std::optional<std::string> name = WideToUtf8(found.cFileName);
  if (!name) return std::nullopt;
  return FactsFromFind(path, found, std::move(*name));
}

FolderListing ListHostFolder(const std::wstring& folder, const std::wstring& mask) {
  FolderListing listing;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileExW(JoinHostPath(folder, mask).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // The folder is there and nothing in it matches.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return listing;
    listing.status = FolderStatus(folder, error);
    return listing;
  }
  std::vector<FileFacts> dots;
  do {
    const std::wstring name = found.cFileName;
    const std::wstring path = JoinHostPath(folder, name);
    if (name == L"." || name == L"..") {
      dots.push_back(FactsFromFind(path, found, name == L"." ? "." : ".."));
    } else if (IsTemporaryName(name)) {
      // Never data: a copy under way, or the debris of one cut short.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) (void)::DeleteFileW(path.c_str());
    } else if (std::optional<std::string> utf8 = WideToUtf8(name)) {
      listing.entries.push_back(FactsFromFind(path, found, std::move(*utf8)));
    } else {
      // Not UTF-16 that any text can hold: reported, never mangled.
      listing.unnamable.push_back(ForReport(path));
    }
  } while (::FindNextFileW(search, &found));
  const DWORD end = ::GetLastError();
  ::FindClose(search);
  // A medium that failed while being read: a listing cut short must not
  // pass for a whole one.
  if (end != ERROR_NO_MORE_FILES) listing.status = FolderStatus(folder, end);
  std::sort(dots.begin(), dots.end(),
            [](const FileFacts& a, const FileFacts& b) { return a.name.size() < b.name.size(); });
  listing.entries.insert(listing.entries.begin(), dots.begin(), dots.end());
  return listing;
}

Status HostFolderChain(const std::wstring& path, std::vector<FileIdentity>* chain) {
  chain->clear();
  ScopedHandle folder(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder.valid()) return FolderStatus(path, ::GetLastError());
  // The final path resolves every link and junction, so the folders above
  // are the ones the file system really has above this one.
  std::wstring real(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(folder.get(), real.data(),
                                             static_cast<DWORD>(real.size()), VOLUME_NAME_DOS);
  if (length >= real.size()) {
    real.resize(length + 1);
    length = ::GetFinalPathNameByHandleW(folder.get(), real.data(), static_cast<DWORD>(real.size()),
                                         VOLUME_NAME_DOS);
  }
  if (length == 0 || length >= real.size())
    return LastErrorStatus("find the folder", ForReport(path));
  real.resize(length);
  folder.Reset();
  // "\\?\C:\" or "\\?\UNC\server\share\" is as far up as a chain goes.
  size_t root = real.size();
  if (real.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
    const size_t share = real.find(L'\\', 8);
    root = share == std::wstring::npos ? real.size() : real.find(L'\\', share + 1);
  } else if (real.compare(0, 4, L"\\\\?\\") == 0 && real.size() >= 7) {
    root = 7;
  }
  if (root == std::wstring::npos) root = real.size();
  while (true) {
    const FileIdentity identity = HostIdentity(real);
    if (!identity.known) return LastErrorStatus("examine", ForReport(real));
    chain->push_back(identity);
    if (real.size() <= root) return Status::Ok();
    const size_t cut = real.rfind(L'\\');
    real = cut + 1 <= root ? real.substr(0, root) : real.substr(0, cut);
  }
}

}  // namespace pellmar
