// Where a candidate's copy goes: the file path with the project folder and
// the removable project folder taken out, its folder part put under the
// destination root of the level, and the drive fallback as the last resort.
#ifndef PELLMAR_CORE_TARGET_FOLDER_H_
#define PELLMAR_CORE_TARGET_FOLDER_H_

#include <string>

#include "core/sync_run.h"
#include "core/text_ops.h"

namespace pellmar {

/// The target folder for `file_path`, found in `source_folder`. When the
/// path is still absolute after both removals, `*root` is cut to its drive
/// for the rest of the level, as the fallback asks.
std::string TargetFolder(const SyncRun& run, const std::string& file_path,
                         const std::string& source_folder, std::string* root);

}  // namespace pellmar

#endif  // PELLMAR_CORE_TARGET_FOLDER_H_
