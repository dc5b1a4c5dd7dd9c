// The checks every replacement and removal of a run makes at the moment it
// acts: the file at a name must still be the version the run decided on,
// and a version moved aside is checked where it landed, so a file saved
// under that name meanwhile is never the one that goes.
#ifndef PELLMAR_PLATFORM_POSIX_HOST_VERSIONS_H_
#define PELLMAR_PLATFORM_POSIX_HOST_VERSIONS_H_

#include <sys/stat.h>

#include <string>

#include "platform/platform.h"
#include "platform/posix/posix_folder.h"
#include "platform/posix/trash.h"

namespace pellmar {

/// True when `now`, a look at a file of `folder`, shows the version
/// `expected` describes; its time counts unless `time_counts` is false.
bool IsVersion(const struct stat& now, const FileFacts& expected, const PosixFolder& folder,
               bool time_counts = true);

/// Ok when the entry `entry` of `folder` is the version `expected`
/// describes: a regular file of that size, last written at that moment,
/// and the same file where the file system keeps file numbers.
/// kErrorFileNotFound when nothing is there, kErrorChangedDuringRun when
/// something else is. `seen`, when given, receives the look.
Status CheckVersionAt(PosixFolder& folder, const std::string& entry, const FileFacts& expected,
                      struct stat* seen = nullptr);

/// The failure for a file of `folder` that is not what the run decided on.
Status ChangedDuringRun(PosixFolder& folder, const std::string& name, const std::string& why);

/// Renames `expected.name` of `folder` to the fresh scratch name `aside` and
/// checks the file that moved. When it is not the version expected, it is
/// put back (see PutBack) and the call fails with kErrorChangedDuringRun.
/// Where a rename dates a file anew, the version is checked by name first
/// and the file moved aside keeps the time it had.
Status MoveAsideChecked(PosixFolder& folder, const FileFacts& expected, const std::string& aside,
                        Trash& trash);

/// Gives the file moved aside to `aside` its name `name` again. When a file
/// took that name meanwhile, both are the user's: the one moved aside goes
/// to the trash, and failing that stays where it is, never into nothing.
/// Either way it keeps the times it has under `aside`.
void PutBack(PosixFolder& folder, const std::string& aside, const std::string& name, Trash& trash);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HOST_VERSIONS_H_
