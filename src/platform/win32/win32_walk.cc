// Win32Platform's folders by handle: how a run opens, lists, changes and
// checks its two trees, every name relative to a folder handle it holds.
#include <cstring>
#include <memory>

#include "platform/path_text.h"
#include "platform/win32/debris.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/host_copy.h"
#include "platform/win32/host_files.h"
#include "platform/win32/host_versions.h"
#include "platform/win32/nt_files.h"
#include "platform/win32/volume_flush.h"
#include "platform/win32/win32_folder.h"
#include "platform/win32/win32_platform.h"

namespace pellmar {
namespace {

constexpr DWORD kCompareChunk = DWORD{64} << 10;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What a folder handle must allow: listing it, and opening what is in it.
constexpr ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

// A missing folder, or a file where the folder should be, is a missing path.
Status FolderFailed(const std::string& what, const std::string& path, DWORD error) {
  if (error == ERROR_DIRECTORY) {
    return Status::Error(kErrorPathNotFound, what + " " + path + ": not a folder");
  }
  if (error == ERROR_FILE_NOT_FOUND) error = ERROR_PATH_NOT_FOUND;
  return StatusFromWin32(what, path, error);
}

bool IsFolder(HANDLE handle) {
  FILE_ATTRIBUTE_TAG_INFO tag = {};
  return ::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) &&
         (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// True when the opened child is not the folder its parent's entry names
// plainly: a link, a junction or a mount point, seen on the handle (where
// the system opened the reparse point itself) or in the parent's entry
// (Wine follows its host's links even when asked not to), or a folder on
// another volume.
bool ReachedThroughALink(HANDLE parent, const FileIdentity& parent_identity,
                         const std::wstring& name, HANDLE child, bool stable_ids) {
  FILE_ATTRIBUTE_TAG_INFO tag = {};
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandleEx(child, FileAttributeTagInfo, &tag, sizeof tag) ||
      !::GetFileInformationByHandle(child, &info)) {
    return true;
  }
  if (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
  if (parent_identity.known && info.dwVolumeSerialNumber != parent_identity.volume) return true;
  const std::optional<DirectoryEntry> entry = EntryOf(parent, name);
  if (!entry || (entry->attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  const uint64_t id = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return stable_ids && entry->file_id != id;
}

// Reads up to `size` bytes, fewer only at the end of the file.
bool ReadFully(HANDLE file, char* buffer, DWORD size, DWORD* got) {
  *got = 0;
  while (*got < size) {
    DWORD chunk = 0;
    if (!::ReadFile(file, buffer + *got, size - *got, &chunk, nullptr)) return false;
    if (chunk == 0) break;
    *got += chunk;
  }
  return true;
}

}  // namespace

Status Win32Platform::Adopt(std::string path, std::wstring host, ScopedHandle handle,
                            FolderHandle* folder) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(handle.get(), &info)) {
    return LastErrorStatus("examine", WideForReport(host));
  }
  const uint64_t volume = info.dwVolumeSerialNumber;
  auto known = traits_.find(volume);
  if (known == traits_.end()) known = traits_.emplace(volume, TraitsOfFolder(handle.get())).first;
  const FileIdentity identity{volume, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                              true};
  *folder = std::make_unique<Win32Folder>(std::move(path), std::move(host), std::move(handle),
                                          identity, known->second);
  return Status::Ok();
}

Status Win32Platform::OpenFolderAt(const std::string& path, FolderHandle* folder) {
  return OpenFolderAs(path, path, folder);
}

Status Win32Platform::OpenFolderAs(const std::string& path, const std::string& shown_as,
                                   FolderHandle* folder) {
  std::wstring host;
  const Status status = Resolve(path, &host);
  if (!status.ok()) return status;
  // Links on the way are followed: the user named this folder.
  ScopedHandle handle(::CreateFileW(host.c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) return FolderFailed("open the folder", path, ::GetLastError());
  if (!IsFolder(handle.get())) return FolderFailed("open the folder", path, ERROR_DIRECTORY);
  return Adopt(shown_as, std::move(host), std::move(handle), folder);
}

Status Win32Platform::OpenChildChecked(OpenFolder& parent_folder, const std::string& name,
                                       ACCESS_MASK access, ScopedHandle* child,
                                       std::wstring* host) {
  Win32Folder& parent = AsWin32(parent_folder);
  std::wstring wide;
  Status status = EntryName(parent, name, &wide);
  if (!status.ok()) return status;
  *host = JoinHostPath(parent.host(), wide);
  const RelativeOpen how{access, kShareAll, FILE_OPEN,
                         FILE_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT};
  const DWORD error = OpenRelative(parent.handle(), wide, how, child);
  if (error != ERROR_SUCCESS) return FolderFailed("open the folder", ForReport(*host), error);
  if (ReachedThroughALink(parent.handle(), parent.identity(), wide, child->get(),
                          parent.traits().stable_ids)) {
    child->Reset();
    return Status::Error(kErrorCantResolveFilename,
                         ForReport(*host) + ": a link, a junction or a mount point, not entered");
  }
  return Status::Ok();
}

Status Win32Platform::OpenChildFolder(OpenFolder& parent, const std::string& name,
                                      FolderHandle* child) {
  ScopedHandle handle;
  std::wstring host;
  const Status status = OpenChildChecked(parent, name, kFolderAccess, &handle, &host);
  if (!status.ok()) return status;
  return Adopt(ChildPath(parent.path(), name), std::move(host), std::move(handle), child);
}

Status Win32Platform::MakeChildFolder(OpenFolder& parent_folder, const std::string& name,
                                      FolderHandle* child) {
  Win32Folder& parent = AsWin32(parent_folder);
  std::wstring wide;
  const Status status = EntryName(parent, name, &wide);
  if (!status.ok()) return status;
  ScopedHandle made;
  const RelativeOpen how{FILE_READ_ATTRIBUTES, kShareAll, FILE_CREATE, FILE_DIRECTORY_FILE};
  const DWORD error = OpenRelative(parent.handle(), wide, how, &made);
  if (error != ERROR_SUCCESS && error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
    return FolderFailed("create the folder", parent.HostPathOf(wide), error);
  }
  return OpenChildFolder(parent, name, child);
}

FolderListing Win32Platform::ListOpenFolder(OpenFolder& folder) {
  return ListOpenHostFolder(AsWin32(folder).handle(), AsWin32(folder).host());
}

std::optional<FileFacts> Win32Platform::LookIn(OpenFolder& folder, const std::string& name) {
  std::wstring wide;
  if (!EntryName(AsWin32(folder), name, &wide).ok()) return std::nullopt;
  return FactsIn(AsWin32(folder).handle(), wide, name);
}

Status Win32Platform::CopyFile(const CopyRequest& request, CopyResult* result) {
  *result = CopyResult{};
  return CopyBetweenFolders(request, bin_, result);
}

Status Win32Platform::RemoveFileIn(OpenFolder& folder_handle, const FileFacts& expected,
                                   bool to_trash, bool* kept) {
  *kept = false;
  Win32Folder& folder = AsWin32(folder_handle);
  ScopedHandle file;
  HandleFacts facts;
  // Others may read and write it meanwhile, which the look on the handle
  // catches, but not rename or delete it: its name stays its own.
  Status status =
      OpenVersion(folder, expected, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, &file, &facts);
  if (!status.ok()) return status;
  const std::wstring name = Utf8ToWide(expected.name).value_or(L"");
  if (facts.attributes & FILE_ATTRIBUTE_READONLY) {
    return Status::Error(kErrorAccessDenied,
                         folder.HostPathOf(name) + ": is read-only, not deleted");
  }
  // Where the drive has no Recycle Bin, the system would delete it for
  // good anyway: it is deleted as it always was.
  if (!to_trash || !folder.traits().recycle_bin) {
    const DWORD error = DeleteByHandle(file.get());
    return error == ERROR_SUCCESS ? Status::Ok()
                                  : StatusFromWin32("delete", folder.HostPathOf(name), error);
  }
  std::wstring aside;
  status = MoveAside(folder, file.get(), expected.name, &aside);
  if (status.ok()) status = StillVersion(file.get(), folder, expected);
  if (status.ok()) {
    file.Reset();  // the shell opens it itself
    status = bin_.Put(folder, aside, name);
    *kept = status.ok();
    if (status.ok()) return status;
    // What could not go stays the user's file, under its own name.
    const RelativeOpen how{DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           FILE_OPEN, FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT};
    if (OpenRelative(folder.handle(), aside, how, &file) != ERROR_SUCCESS) return status;
  }
  if (!aside.empty()) PutBack(folder, std::move(file), aside, name, bin_);
  return status;
}

void Win32Platform::ClearDebris(OpenFolder& folder, const std::vector<std::string>& scratch) {
  ::pellmar::ClearDebris(AsWin32(folder), scratch, bin_);
}

Status Win32Platform::RemoveEmptyFolderIn(OpenFolder& parent, const std::string& name) {
  ScopedHandle child;
  std::wstring host;
  Status status = OpenChildChecked(
      parent, name, DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, &child, &host);
  if (!status.ok()) return status;
  const DWORD error = DeleteByHandle(child.get());
  if (error != ERROR_SUCCESS) return StatusFromWin32("remove the folder", ForReport(host), error);
  return Status::Ok();
}

Status Win32Platform::FlushFileIn(OpenFolder& folder_handle, const std::string& name) {
  Win32Folder& folder = AsWin32(folder_handle);
  std::wstring wide;
  Status status = EntryName(folder, name, &wide);
  if (!status.ok()) return status;
  ScopedHandle file;
  const RelativeOpen how{GENERIC_WRITE, kShareAll, FILE_OPEN,
                         FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT};
  const DWORD error = OpenRelative(folder.handle(), wide, how, &file);
  if (error != ERROR_SUCCESS) return StatusFromWin32("open", folder.HostPathOf(wide), error);
  if (!::FlushFileBuffers(file.get())) return LastErrorStatus("flush", folder.HostPathOf(wide));
  return Status::Ok();
}

Status Win32Platform::FlushMedium(OpenFolder& folder_handle) {
  Win32Folder& folder = AsWin32(folder_handle);
  return FlushVolumeOf(folder.handle(), folder.identity().volume, WideForReport(folder.host()));
}

Status Win32Platform::CompareFiles(OpenFolder& a, const FileFacts& a_file, OpenFolder& b,
                                   const FileFacts& b_file, bool* same) {
  *same = false;
  ScopedHandle a_handle, b_handle;
  Status status = OpenVersion(AsWin32(a), a_file, GENERIC_READ, kShareAll, &a_handle);
  if (status.ok()) status = OpenVersion(AsWin32(b), b_file, GENERIC_READ, kShareAll, &b_handle);
  if (!status.ok()) return status;
  const std::unique_ptr<char[]> a_bytes(new char[kCompareChunk]);
  const std::unique_ptr<char[]> b_bytes(new char[kCompareChunk]);
  while (true) {
    DWORD a_got = 0, b_got = 0;
    if (!ReadFully(a_handle.get(), a_bytes.get(), kCompareChunk, &a_got)) {
      return LastErrorStatus("read", AsWin32(a).HostPathOf(Utf8ToWide(a_file.name).value_or(L"")));
    }
    if (!ReadFully(b_handle.get(), b_bytes.get(), kCompareChunk, &b_got)) {
      return LastErrorStatus("read", AsWin32(b).HostPathOf(Utf8ToWide(b_file.name).value_or(L"")));
    }
    if (a_got != b_got || std::memcmp(a_bytes.get(), b_bytes.get(), a_got) != 0) return status;
    if (a_got == 0) break;
  }
  *same = true;
  return status;
}

// The Win32 namespace matches names without regard to case on every file
// system it mounts, whatever the file system itself could hold.
bool Win32Platform::IsCaseBlind(OpenFolder&) { return true; }

FileSystemLimits Win32Platform::LimitsAt(OpenFolder& folder) {
  return AsWin32(folder).traits().limits;
}

// A listing gives every entry's time and size with its name.
bool Win32Platform::ListingPays(OpenFolder&) { return true; }

}  // namespace pellmar
