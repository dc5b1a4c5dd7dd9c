// SyncTree: walks one folder tree depth first, hands every candidate file to
// CopyIfNewer with its target folder, and on the removable disk deletes old
// files and removes old empty folders when auto-delete is on.
#ifndef PELLMAR_CORE_SYNC_TREE_H_
#define PELLMAR_CORE_SYNC_TREE_H_

#include <string>

#include "core/sync_run.h"

namespace pellmar {

/// Walks `source_folder` and everything below it. Only one folder listing
/// per level is held at a time, so memory grows with the depth of the tree,
/// not with its size. Links to folders are never followed, and entries that
/// are no regular file or folder are reported in run.outcome, not opened.
void SyncTree(SyncRun& run, const std::string& source_folder, std::string destination_root);

}  // namespace pellmar

#endif  // PELLMAR_CORE_SYNC_TREE_H_
