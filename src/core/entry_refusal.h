// The check a run makes of its entry before it looks at any folder: an
// entry whose project has no usable name, or whose settings could not be
// read whole, would send or load files somewhere the user never chose.
#ifndef PELLMAR_CORE_ENTRY_REFUSAL_H_
#define PELLMAR_CORE_ENTRY_REFUSAL_H_

#include <optional>
#include <string>

#include "core/entry_table.h"
#include "core/messages.h"
#include "core/sync_run.h"

namespace pellmar {

/// Why the run must not start on `entry`, or nullopt. Refused: a project
/// name (the window's, from the run) that is empty, "." or "..", for the
/// project's folder on the removable disk would be the removable folder
/// itself or the one above it; and any value of the entry that the
/// settings file held longer than a read returns.
std::optional<std::string> EntryRefusal(const SyncRun& run, const SyncEntry& entry,
                                        const MessageTable& messages);

}  // namespace pellmar

#endif  // PELLMAR_CORE_ENTRY_REFUSAL_H_
