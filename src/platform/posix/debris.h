// What a copy or a save cut short (by a crash, a kill, a power cut) leaves
// in a folder: scratch files that nobody holds locked any more. A partial
// copy is removed; a version that was moved aside may be the only one left
// of a user's file, so it goes to the trash and is never deleted.
#ifndef PELLMAR_PLATFORM_POSIX_DEBRIS_H_
#define PELLMAR_PLATFORM_POSIX_DEBRIS_H_

#include <string>
#include <vector>

#include "platform/posix/trash.h"

namespace pellmar {

/// Clears the debris among the scratch files `names` of the open folder
/// `folder_fd`, whose host path is `host_folder`. Scratch files that a live
/// copy or save holds are left.
void ClearDebris(int folder_fd, const std::string& host_folder,
                 const std::vector<std::string>& names, Trash& trash);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_DEBRIS_H_
