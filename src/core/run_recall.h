// What a run takes from the memory of the runs and gives back to it: the
// conflicts of the files it copies, and the versions it sees alike.
#ifndef PELLMAR_CORE_RUN_RECALL_H_
#define PELLMAR_CORE_RUN_RECALL_H_

#include <optional>
#include <string>

#include "core/conflict_rule.h"
#include "core/sync_run.h"
#include "platform/platform.h"

namespace pellmar {

/// A file's clash with what the last runs saw, and since when.
struct FileClash {
  Clash clash = Clash::kNone;
  int64_t since = 0;  // the local day both copies were last seen alike
};

/// The clash of `file` of `source`, about to be copied over `target`.
FileClash ClashOf(SyncRun& run, const OpenFolder& source, const FileFacts& file,
                  const std::optional<FileFacts>& target);

/// The words the log adds to the line of a file copied with `clash`;
/// `kept` tells whether the older copy went to the trash.
std::string ClashText(const SyncRun& run, const FileClash& clash, bool kept);

/// Notes a clash in the run's outcome: the file's path and `text`.
void NoteClash(SyncRun& run, const OpenFolder& source, const FileFacts& file,
               const std::string& text);

/// After a decision or a copy: remembers `file` of `source` and `target`
/// when they are one version now.
void RememberAlike(SyncRun& run, const OpenFolder& source, const FileFacts& file,
                   const FileFacts& target);

/// After `file` of `source` was copied: remembers the two copies as one.
void RememberCopied(SyncRun& run, const OpenFolder& source, const FileFacts& file);

/// After `file` of `folder` was removed: nothing is remembered of it.
void ForgetRemoved(SyncRun& run, const OpenFolder& folder, const FileFacts& file);

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_RECALL_H_
