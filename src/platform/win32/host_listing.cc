// Folder listing and file facts on the host, from the system's own listing:
// attribute word, local DOS last-write time, 64-bit size, and the identity
// (volume serial number and file index) of what each entry leads to.
#include <algorithm>
#include <optional>

#include "platform/dos_time.h"
#include "platform/scratch_name.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/host_files.h"
#include "platform/win32/host_versions.h"
#include "platform/win32/nt_files.h"
#include "platform/win32/scoped_handle.h"
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

uint32_t LocalDosTime(int64_t utc) {
  const FILETIME time = {static_cast<DWORD>(utc), static_cast<DWORD>(uint64_t(utc) >> 32)};
  return LocalDosTime(time);
}

// Only links and junctions (tags that stand for another name) count as
// reparse points here: a cloud placeholder of a synced Documents folder is
// an ordinary file and must be copied like one.
uint32_t Attributes(DWORD attributes, DWORD reparse_tag) {
  if (!IsLinkLike(attributes, reparse_tag)) attributes &= ~DWORD{FILE_ATTRIBUTE_REPARSE_POINT};
  return attributes & kListedAttributes;
}

uint32_t Attributes(const WIN32_FIND_DATAW& found) {
  return Attributes(found.dwFileAttributes, found.dwReserved0);
}

// A link, described by what it leads to; one that leads nowhere is
// listed, and never opened.
void DescribeTarget(HANDLE folder, const std::wstring& name, FileFacts* facts) {
  ScopedHandle target;
  HandleFacts look;
  if (OpenRelative(folder, name, RelativeOpen{}, &target) != ERROR_SUCCESS ||
      !LookAtHandle(target.get(), &look)) {
    facts->attributes |= kAttrDevice;
    return;
  }
  facts->dos_time = LocalDosTime(look.write_time);
  facts->write_ns = WriteNsOf(look.write_time);
  facts->size = (look.attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : look.size;
  facts->identity = look.identity;
}

FileFacts FactsOfEntry(HANDLE folder, DWORD volume, const DirectoryEntry& entry, std::string name) {
  FileFacts facts;
  facts.name = std::move(name);
  facts.attributes = Attributes(entry.attributes, entry.reparse_tag);
  if (facts.attributes & kAttrReparsePoint) {
    DescribeTarget(folder, entry.name, &facts);
    return facts;
  }
  facts.dos_time = LocalDosTime(entry.write_time);
  facts.write_ns = WriteNsOf(entry.write_time);
  if (!(facts.attributes & kAttrDirectory)) facts.size = entry.size;
  facts.identity = FileIdentity{volume, entry.file_id, true};
  return facts;
}

DWORD VolumeOf(HANDLE folder) {
  BY_HANDLE_FILE_INFORMATION info;
  return ::GetFileInformationByHandle(folder, &info) ? info.dwVolumeSerialNumber : 0;
}

// Sorts one entry of a listing into its part: dot entries aside, scratch
// files named, names no text can hold reported, the rest listed.
void Sort(HANDLE folder, DWORD volume, const DirectoryEntry& entry, const std::wstring& host,
          FolderListing* listing, std::vector<FileFacts>* dots) {
  const std::optional<std::string> utf8 = WideToUtf8(entry.name);
  if (!utf8) {
    // Not UTF-16 that any text can hold: reported, never mangled.
    listing->unnamable.push_back(ForReport(JoinHostPath(host, entry.name)));
  } else if (*utf8 == "." || *utf8 == "..") {
    dots->push_back(FactsOfEntry(folder, volume, entry, *utf8));
  } else if (ScratchKindOf(*utf8)) {
    // A copy under way or the debris of one: never data, and never
    // removed here, since a listing changes nothing.
    listing->scratch.push_back(*utf8);
  } else {
    listing->entries.push_back(FactsOfEntry(folder, volume, entry, *utf8));
  }
}

void PutDotsFirst(std::vector<FileFacts> dots, FolderListing* listing) {
  std::sort(dots.begin(), dots.end(),
            [](const FileFacts& a, const FileFacts& b) { return a.name.size() < b.name.size(); });
  listing->entries.insert(listing->entries.begin(), dots.begin(), dots.end());
}

FileFacts FactsFromFind(const std::wstring& path, const WIN32_FIND_DATAW& found, std::string name) {
  FileFacts facts;
  facts.name = std::move(name);
  facts.attributes = Attributes(found);
  facts.dos_time = LocalDosTime(found.ftLastWriteTime);
  facts.write_ns = WriteNsOf((int64_t{found.ftLastWriteTime.dwHighDateTime} << 32) |
                             found.ftLastWriteTime.dwLowDateTime);
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
    } else if (std::optional<std::string> utf8 = WideToUtf8(name)) {
      // A copy under way or the debris of one: never data, never removed here.
      if (ScratchKindOf(*utf8)) {
        listing.scratch.push_back(std::move(*utf8));
      } else {
        listing.entries.push_back(FactsFromFind(path, found, std::move(*utf8)));
      }
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
  PutDotsFirst(std::move(dots), &listing);
  return listing;
}

FolderListing ListOpenHostFolder(HANDLE folder, const std::wstring& host) {
  FolderListing listing;
  std::vector<FileFacts> dots;
  const DWORD volume = VolumeOf(folder);
  alignas(8) static thread_local unsigned char buffer[64 * 1024];
  // The first call starts from the folder's first entry again, so a folder
  // can be listed more than once through one handle.
  FILE_INFO_BY_HANDLE_CLASS next = FileIdBothDirectoryRestartInfo;
  while (::GetFileInformationByHandleEx(folder, next, buffer, sizeof buffer)) {
    next = FileIdBothDirectoryInfo;
    for (size_t at = 0;;) {
      const auto* record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + at);
      Sort(folder, volume, EntryFromRecord(*record), host, &listing, &dots);
      if (record->NextEntryOffset == 0) break;
      at += record->NextEntryOffset;
    }
  }
  const DWORD end = ::GetLastError();
  // A medium that failed while being read: a listing cut short must not
  // pass for a whole one.
  if (end != ERROR_NO_MORE_FILES) listing.status = FolderStatus(host, end);
  PutDotsFirst(std::move(dots), &listing);
  return listing;
}

std::optional<FileFacts> FactsIn(HANDLE folder, const std::wstring& name, std::string shown) {
  const std::optional<DirectoryEntry> entry = EntryOf(folder, name);
  if (!entry) return std::nullopt;
  return FactsOfEntry(folder, VolumeOf(folder), *entry, std::move(shown));
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
