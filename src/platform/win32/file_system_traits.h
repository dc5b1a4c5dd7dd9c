// What a run must know of the volume a folder is on: whether its file ids
// last as long as the file (FAT numbers a file by where its entry stands,
// so a file moved or rewritten by another program may come back under
// another number), and whether deleting there can go to the Recycle Bin
// (removable media have none: the system deletes for good), and what it
// cannot hold.
#ifndef PELLMAR_PLATFORM_WIN32_FILE_SYSTEM_TRAITS_H_
#define PELLMAR_PLATFORM_WIN32_FILE_SYSTEM_TRAITS_H_

#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_api.h"

namespace pellmar {

struct FileSystemTraits {
  bool stable_ids = false;
  bool recycle_bin = false;
  FileSystemLimits limits;
};

/// The traits of a volume by its file system's name ("NTFS", "FAT32") and
/// its drive type (GetDriveTypeW).
FileSystemTraits TraitsOfVolume(const std::wstring& file_system, UINT drive_type);

/// The traits of the volume the open folder `folder` is on.
FileSystemTraits TraitsOfFolder(HANDLE folder);

/// The path the open `file` has now, without the "\\?\" prefix where the
/// classic API can take it; empty when the system cannot say.
std::wstring CurrentPathOf(HANDLE file);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_FILE_SYSTEM_TRAITS_H_
