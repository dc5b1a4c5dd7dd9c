// Renames within one open folder that never take a name someone else has
// meanwhile: the renames every replacement and removal of a run is made of;
// and the time a renamed file is given back where a rename dates it anew.
#ifndef PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_
#define PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_

#include <sys/stat.h>

#include <string>

#include "platform/platform.h"
#include "platform/posix/posix_folder.h"

namespace pellmar {

/// Renames `from` to `to` in `folder` only while nothing is named `to`:
/// kErrorAlreadyExists when something is. A file system that takes no
/// rename flags (FUSE media, FAT) gets a look and then a plain rename; the
/// moment between them is the only one a file saved under `to` could be
/// lost in, and such a file system offers no better way.
Status RenameNoReplace(PosixFolder& folder, const std::string& from, const std::string& to);

/// Swaps the entries `a` and `b` of `folder` in one step. Where the file
/// system cannot swap, fails with `*unsupported` set and nothing changed.
Status SwapNames(PosixFolder& folder, const std::string& a, const std::string& b,
                 bool* unsupported);

/// Gives the entry `name` of the open folder `folder_fd` the times `had`
/// shows, a look at it before it was renamed: what a user's file needs
/// after each rename on a file system whose rename dates it anew
/// (FileSystemTraits::rename_keeps_time). `host_path` names it in the
/// failure.
Status GiveTimesBack(int folder_fd, const std::string& name, const struct stat& had,
                     const std::string& host_path);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_
