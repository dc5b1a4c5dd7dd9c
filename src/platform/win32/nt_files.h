// Entries named relative to an open folder's handle, through the native
// calls the Win32 API is built on: the Win32 API names a file only by its
// full path, and a folder on that path swapped for a link would take a
// path-based open somewhere else. Failures come back as Win32 error codes.
#ifndef PELLMAR_PLATFORM_WIN32_NT_FILES_H_
#define PELLMAR_PLATFORM_WIN32_NT_FILES_H_

#include <optional>
#include <string>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_api.h"

namespace pellmar {

/// How an entry is opened or made: the access wanted, what others may do
/// meanwhile, FILE_OPEN / FILE_CREATE / FILE_OPEN_IF, and the native open
/// options (FILE_DIRECTORY_FILE, FILE_OPEN_REPARSE_POINT...).
struct RelativeOpen {
  ACCESS_MASK access = FILE_READ_ATTRIBUTES;
  ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  ULONG disposition = FILE_OPEN;
  ULONG options = 0;
  ULONG attributes = FILE_ATTRIBUTE_NORMAL;  // of a file made
};

/// Opens or makes the entry `name` of the folder `folder`, for synchronous
/// I/O. ERROR_SUCCESS, or the Win32 code of the failure
/// (ERROR_FILE_NOT_FOUND, ERROR_ALREADY_EXISTS, ERROR_SHARING_VIOLATION...).
DWORD OpenRelative(HANDLE folder, const std::wstring& name, const RelativeOpen& how,
                   ScopedHandle* file);

/// Renames the open `file` to `name` in the folder `folder`. Without
/// `replace`, a name that is taken fails with ERROR_ALREADY_EXISTS and
/// changes nothing.
DWORD RenameRelative(HANDLE file, HANDLE folder, const std::wstring& name, bool replace);

/// Marks the open `file` (opened with DELETE access) for deletion when its
/// last handle closes.
DWORD DeleteByHandle(HANDLE file);

/// One entry of a folder as the folder's listing shows it: how a name is
/// seen without opening what it leads to.
struct DirectoryEntry {
  std::wstring name;
  DWORD attributes = 0;
  DWORD reparse_tag = 0;  // of a reparse point; 0 where the system gives none
  uint64_t file_id = 0;
  int64_t size = 0;
  int64_t write_time = 0;  // FILETIME units, UTC
};

/// The entry a listing record describes.
DirectoryEntry EntryFromRecord(const FILE_ID_BOTH_DIR_INFO& record);

/// The entry `name` of the folder `folder`; nullopt when there is none.
std::optional<DirectoryEntry> EntryOf(HANDLE folder, const std::wstring& name);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_NT_FILES_H_
