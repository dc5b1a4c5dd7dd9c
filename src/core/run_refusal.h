// Whether a run may start at all: the checks of its entry, of the folders
// as written, of the medium and of the folders as the file system sees
// them, made before any file is touched, for a run and for any plan of one.
#ifndef PELLMAR_CORE_RUN_REFUSAL_H_
#define PELLMAR_CORE_RUN_REFUSAL_H_

#include <optional>
#include <string>

#include "core/entry_table.h"
#include "core/messages.h"
#include "core/sync_run.h"
#include "platform/platform.h"

namespace pellmar {

/// Why `run` of `entry` must not start, in `messages`' words and ending
/// with the line that says nothing was touched; nullopt when it may.
std::optional<std::string> RunRefusal(Platform& platform, const SyncRun& run,
                                      const SyncEntry& entry,
                                      const std::string& removable_project_folder,
                                      const MessageTable& messages);

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_REFUSAL_H_
