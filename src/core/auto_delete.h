// Auto-delete: on the removable disk, files and empty folders older than
// twice Days go, a file only once its copy on the other side is proved to
// be a distinct file of the same version, there now and on the disk.
#ifndef PELLMAR_CORE_AUTO_DELETE_H_
#define PELLMAR_CORE_AUTO_DELETE_H_

#include "core/candidate.h"
#include "core/copy_if_newer.h"
#include "core/sync_run.h"
#include "core/target_listing.h"
#include "platform/platform.h"

namespace pellmar {

/// After the file `file` of `folder` was handled with `outcome`: removes it
/// from the removable disk when it is due and its copy in `target` proves
/// it safe to. A copy that is newer leaves this file an older version,
/// which the trash keeps; one that only the hour shift or the packed time's
/// limits make look alike, and that differs, is replaced by this file
/// first, and this file stays.
void FileAutoDelete(SyncRun& run, OpenFolder& folder, const FileFacts& file,
                    const DateWindow& window, CopyOutcome outcome, TargetListing& target);

/// After the folder `folder` of `parent` was walked: removes it when it is
/// due and empty.
void FolderAutoDelete(SyncRun& run, OpenFolder& parent, const FileFacts& folder,
                      const DateWindow& window);

}  // namespace pellmar

#endif  // PELLMAR_CORE_AUTO_DELETE_H_
