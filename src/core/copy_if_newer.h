// CopyIfNewer: copies one file into a folder when the copy there is missing
// or older, charging the removable disk's free-space counter and recording
// the copy in the log and the copy counter. The one place that decides
// "copy or skip".
#ifndef PELLMAR_CORE_COPY_IF_NEWER_H_
#define PELLMAR_CORE_COPY_IF_NEWER_H_

#include <optional>
#include <string>

#include "core/run_recall.h"
#include "core/sync_run.h"
#include "core/target_listing.h"
#include "platform/platform.h"

namespace pellmar {

enum class CopyOutcome {
  kSourceGone,  // nothing at the source path any more: nothing done
  kUpToDate,    // the target is as new as the source or newer
  kCopied,
  kFailed,       // the copy was attempted and failed: logged, counted, close requested
  kNotRegular,   // the source or the target is no regular file: left alone, reported
  kNotStorable,  // too large, or a name the target cannot store: left out, reported
  kChanged,      // a file changed after the decision, or while copied: left alone, reported
  kRefused,      // not enough space: the caller ends the folder it walks
  kMediumGone,   // the removable disk went away: the whole run ends
  kQueued,       // decided and charged; made and recorded later with others (CopyQueue)
};

class CopyQueue;

/// False for a refusal, which ends the level being walked, and for a medium
/// that went away, which ends the run.
inline bool GoOn(CopyOutcome outcome) {
  return outcome != CopyOutcome::kRefused && outcome != CopyOutcome::kMediumGone;
}

/// True when the file is known to have its counterpart on the other side.
inline bool CounterpartPresent(CopyOutcome outcome) {
  return outcome == CopyOutcome::kCopied || outcome == CopyOutcome::kUpToDate;
}

/// What becomes of a candidate, decided from the two files' facts alone.
enum class CopyDecision {
  kSourceNotRegular,  // a folder or a device stands at the source: left alone
  kTargetNotRegular,  // a FIFO or device node at the target: never opened nor replaced
  kTargetIsFolder,    // a folder stands where the up-to-date copy belongs
  kUpToDate,          // the target is as new as the source or newer
  kCopy,
};

/// The one rule that decides "copy or skip": the source must be later in
/// the packed local time than the target, which a missing target never is.
/// With `ignore_hour_shift`, a target of the same size exactly an hour
/// earlier (within FAT's 2-second step) is the same version, shifted by a
/// daylight-saving change, and is not copied over.
CopyDecision DecideCopy(const FileFacts& source, const std::optional<FileFacts>& target,
                        bool ignore_hour_shift = false);

/// Looks the source file up, then copies it as CopyListedFile does.
CopyOutcome CopyIfNewer(SyncRun& run, const std::string& source_path,
                        const std::string& target_folder);

/// The same for the file `file` of the open folder `source`, as its listing
/// has just given it, into a target folder whose listing serves every file
/// of the walk's level: neither file is looked up again. A file that the
/// file system of the run's target cannot hold is left out, whatever the
/// target holds under its name.
CopyOutcome CopyListedFile(SyncRun& run, OpenFolder& source, const FileFacts& file,
                           TargetListing& target_folder, CopyQueue* queue = nullptr);

/// The act once a copy is decided on: makes the folder, charges the space,
/// copies over `target` (as the decision saw it; nullopt where there was
/// none) and records it. A copy that clashes with what the last runs saw
/// is named as such, and the older copy it replaces always goes to the trash.
/// With a `queue`, a copy onto a free name may wait there to be made with
/// others (kQueued); any other copy is made once those before it are.
CopyOutcome CopyNewer(SyncRun& run, OpenFolder& source, const FileFacts& file,
                      TargetListing& target_folder, const std::optional<FileFacts>& target,
                      const FileClash& clash = {}, CopyQueue* queue = nullptr);

/// A copy decided on, its folder made, its space charged and its progress
/// shown: everything CopyNewer does before the copy is made.
struct PendingCopy {
  OpenFolder* source = nullptr;
  FileFacts file;
  std::optional<FileFacts> target;  // as the decision saw it
  FileClash clash;
  OpenFolder* into = nullptr;  // nullptr: no folder to copy into, and `why`
  Status why;
  bool keep = false;    // the replaced version goes to the trash
  int64_t charged = 0;  // what the copy took off the free-space counter

  CopyRequest Request() const;
};

/// The first half of CopyNewer; an outcome when it ended there (a refusal
/// for space, a full disk, a medium gone), else nullopt with `*pending`
/// ready to be made.
std::optional<CopyOutcome> PrepareCopy(SyncRun& run, OpenFolder& source, const FileFacts& file,
                                       TargetListing& target_folder,
                                       const std::optional<FileFacts>& target,
                                       const FileClash& clash, PendingCopy* pending);

/// The second half: records a copy that was made, or says why it failed.
CopyOutcome FinishCopy(SyncRun& run, TargetListing& target_folder, const PendingCopy& copy,
                       const Status& copied, const CopyResult& result);

}  // namespace pellmar

#endif  // PELLMAR_CORE_COPY_IF_NEWER_H_
