// The checks every replacement and removal of a run makes at the moment it
// acts: the file opened through its folder must still be the version the
// run decided on, and what is then renamed or deleted is that very handle,
// so a file saved under the name meanwhile is never the one that goes.
#ifndef PELLMAR_PLATFORM_WIN32_HOST_VERSIONS_H_
#define PELLMAR_PLATFORM_WIN32_HOST_VERSIONS_H_

#include <string>

#include "platform/platform.h"
#include "platform/win32/recycle_bin.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_folder.h"

namespace pellmar {

/// What a look at an open file finds.
struct HandleFacts {
  DWORD attributes = 0;
  int64_t size = 0;
  int64_t write_time = 0;   // FILETIME units, UTC
  int64_t change_time = 0;  // of the data or the file's facts
  FileIdentity identity;
};

/// Looks at the open `file`; false when the system cannot say.
bool LookAtHandle(HANDLE file, HandleFacts* facts);

/// Nanoseconds since 1970 of a FILETIME count.
int64_t WriteNsOf(int64_t file_time);

/// True for a reparse point that stands for another name (a link, a
/// junction, a mount point), or whose kind the system does not say.
bool IsLinkLike(DWORD attributes, DWORD reparse_tag);

/// The UTF-16 name of one entry of `folder`: kErrorInvalidName for a name
/// that is empty, "." or "..", or holds a separator or a wildcard.
Status EntryName(const Win32Folder& folder, const std::string& name, std::wstring* wide);

/// The failure for a file of `folder` that is not what the run decided on.
Status ChangedDuringRun(const Win32Folder& folder, const std::string& name, const std::string& why);

/// Opens the file `expected.name` of `folder` with `access`, letting others
/// do what `share` allows, and checks on the handle that it is the version
/// `expected` describes: a regular file of that size, last written at that
/// moment, and the same file where the volume keeps file ids. A link is
/// read through only where the decision saw one. kErrorFileNotFound when
/// nothing is there, kErrorChangedDuringRun when something else is.
Status OpenVersion(Win32Folder& folder, const FileFacts& expected, ACCESS_MASK access, ULONG share,
                   ScopedHandle* file, HandleFacts* facts = nullptr);

/// Ok while the open `file` is still the version `expected` describes.
Status StillVersion(HANDLE file, const Win32Folder& folder, const FileFacts& expected);

/// Renames the open `file` of `folder` to a fresh scratch name of the
/// replaced kind, `*aside`.
Status MoveAside(Win32Folder& folder, HANDLE file, const std::string& name, std::wstring* aside);

/// Gives the open `file`, moved aside to `aside`, its name `name` again.
/// When a file took that name meanwhile, both are the user's: the one moved
/// aside goes to the Recycle Bin where the drive has one, and stays under
/// its scratch name otherwise, never into nothing. Closes `file`.
void PutBack(Win32Folder& folder, ScopedHandle file, const std::wstring& aside,
             const std::wstring& name, RecycleBin& bin);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_HOST_VERSIONS_H_
