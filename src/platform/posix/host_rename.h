// Renames within one open folder that never take a name someone else has
// meanwhile: the renames every replacement and removal of a run is made of.
#ifndef PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_
#define PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_

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

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HOST_RENAME_H_
