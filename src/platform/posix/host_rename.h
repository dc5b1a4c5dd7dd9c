// Renames within one open folder that never take a name someone else has
// meanwhile: the renames every replacement and removal of a run is made of.
#ifndef PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_
#define PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_

#include <string>

#include "platform/platform.h"

namespace pellmar {

/// Renames `from` to `to` in the folder `folder_fd` only while nothing is
/// named `to`: kErrorAlreadyExists when something is. A file system that
/// takes no rename flags (some FUSE media) gets a look and then a plain
/// rename; the moment between them is the only one a file saved under `to`
/// could be lost in, and such a file system offers no better way.
/// `host_folder` names the folder in messages.
Status RenameNoReplace(int folder_fd, const std::string& from, const std::string& to,
                       const std::string& host_folder);

/// Swaps the entries `a` and `b` of the folder `folder_fd` in one step.
/// Where the file system cannot swap, fails with `*unsupported` set and
/// nothing changed.
Status SwapNames(int folder_fd, const std::string& a, const std::string& b,
                 const std::string& host_folder, bool* unsupported);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_
