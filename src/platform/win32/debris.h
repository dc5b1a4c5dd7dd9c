// What a copy or a save cut short (by a crash, a kill, a power cut) leaves
// in a folder: scratch files that nobody holds open any more. A partial
// copy is removed; a version that was moved aside may be the only one left
// of a user's file, so it goes to the Recycle Bin and is never deleted.
#ifndef PELLMAR_PLATFORM_WIN32_DEBRIS_H_
#define PELLMAR_PLATFORM_WIN32_DEBRIS_H_

#include <string>
#include <vector>

#include "platform/win32/recycle_bin.h"
#include "platform/win32/win32_folder.h"

namespace pellmar {

/// Clears the debris among the scratch files `names` of `folder`. Scratch
/// files that a live copy or save holds are left, and so is a version moved
/// aside on a drive without a Recycle Bin.
void ClearDebris(Win32Folder& folder, const std::vector<std::string>& names, RecycleBin& bin);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_DEBRIS_H_
