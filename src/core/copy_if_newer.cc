// CopyIfNewer: the single "copy or skip" decision of a run.
#include "core/copy_if_newer.h"

#include <optional>

#include "core/messages.h"
#include "core/send_load.h"
#include "core/text_ops.h"
#include "platform/dos_time.h"

namespace pellmar {

namespace {

// The second status panel is empty whenever no copy is under way.
CopyOutcome Finish(SyncRun& run, CopyOutcome outcome) {
  run.window.SetCopyStatus("");
  return outcome;
}

bool IsDevice(const FileFacts& facts) { return (facts.attributes & kAttrDevice) != 0; }

// One hour apart, give or take FAT's 2-second step, and of the same size.
bool AnHourApartAndAlike(const FileFacts& later, const FileFacts& earlier) {
  constexpr int64_t kHour = 3600, kStep = 2;
  const int64_t apart =
      DosTimeToLocalSeconds(later.dos_time) - DosTimeToLocalSeconds(earlier.dos_time);
  return later.size == earlier.size && apart >= kHour - kStep && apart <= kHour + kStep;
}
bool IsFolder(const FileFacts& facts) { return (facts.attributes & kAttrDirectory) != 0; }

// Charges a copy onto the removable disk, giving back the old target's
// space. A copy from the removable disk costs it nothing. False, with the
// counter as it was, when the disk would be full.
bool ChargeFreeSpace(SyncRun& run, const std::string& source_path, int64_t source_size,
                     int64_t target_size) {
  const int64_t before = run.counters.free_space;
  if (!OccursIn(run.media_dir, source_path)) {
    run.counters.free_space = before - source_size + target_size;
  }
  if (run.counters.free_space >= 1) return true;
  run.counters.free_space = before;
  return false;
}

void ShowProgress(SyncRun& run, const std::string& name) {
  run.window.SetCopyStatus(std::to_string(run.candidates_handled) + ": " + name);
  run.window.ProcessEvents();
}

CopyOutcome Refuse(SyncRun& run, const std::string& source_path) {
  ++run.outcome.copies_refused;
  run.outcome.Skip(source_path + ": not copied, not enough space on the disk");
  run.window.ShowMessage("Not enough disc size!");
  return Finish(run, CopyOutcome::kRefused);
}

bool IsDiskFull(const Status& status) {
  return status.code == kErrorDiskFull || status.code == kErrorHandleDiskFull;
}

// A copy onto the removable disk goes only into a folder that is on the
// medium the run started with, and not behind a link or mount on it.
// Nullopt when it may go ahead.
std::optional<CopyOutcome> GuardWrite(SyncRun& run, const std::string& source_path,
                                      const std::string& target_folder) {
  if (OccursIn(run.media_dir, source_path)) return std::nullopt;  // onto the hard disk
  switch (run.medium.CheckWriteInto(target_folder)) {
    case WriteVerdict::kOnMedium:
      return std::nullopt;
    case WriteVerdict::kBehindLink:
      run.outcome.Skip(target_folder +
                       ": reached through a link or a mount point on the "
                       "removable disk; nothing was written there");
      return Finish(run, CopyOutcome::kNotRegular);
    case WriteVerdict::kMediumGone:
      run.EndForMediumGone();
      return Finish(run, CopyOutcome::kMediumGone);
  }
  return std::nullopt;
}

// After a failed copy: the medium may have gone, the source may have gone,
// or the copy itself failed, which the log marks with the reason.
CopyOutcome CopyFailed(SyncRun& run, const std::string& source_path, const FileFacts& source,
                       const Status& copied) {
  if (!run.medium.StillThere()) {
    run.EndForMediumGone();
    return Finish(run, CopyOutcome::kMediumGone);
  }
  if (!run.platform.FileExists(source_path)) {
    run.outcome.Skip(source_path + ": vanished before it could be copied");
    return Finish(run, CopyOutcome::kSourceGone);
  }
  ++run.outcome.copies_failed;
  // Msg14 speaks of space only; the reason the system gave tells a
  // read-only or locked target from a full one.
  run.window.ShowMessage(run.window.Message(kCopyFailed) + "\r\n" + copied.message);
  run.window.RequestClose();
  run.window.AppendLog(FailedCopyLogLine(source.name, copied.message));
  ++run.counters.copy_count;
  return Finish(run, CopyOutcome::kFailed);
}

// The act once the decision is to copy: guard the write, make the folder,
// charge the space, copy, and record it.
CopyOutcome CopyNewer(SyncRun& run, const std::string& source_path, const FileFacts& source,
                      TargetListing& target_folder, const std::optional<FileFacts>& target) {
  if (std::optional<CopyOutcome> refused = GuardWrite(run, source_path, target_folder.folder())) {
    return *refused;
  }
  // Onto the removable disk, every write is held to the medium the run
  // started with; the check above may be a moment old when it lands.
  const VolumeGuard on = OccursIn(run.media_dir, source_path) ? VolumeGuard{} : run.medium.Guard();
  if (!target_folder.KnownToExist()) {
    // A folder that fails to appear makes the copy below fail, and that
    // failure is reported.
    if (run.platform.ForceFolders(target_folder.folder(), on).ok()) target_folder.FolderMade();
  }
  const int64_t before = run.counters.free_space;
  if (!ChargeFreeSpace(run, source_path, source.size, target ? target->size : 0)) {
    return Refuse(run, source_path);
  }
  ShowProgress(run, source.name);
  const Status copied =
      run.platform.CopyOver(source_path, target_folder.folder() + "\\" + source.name, on);
  if (!copied.ok()) {
    // A failed copy leaves the old target as it was, so its charge comes back.
    run.counters.free_space = before;
    // The new copy is written beside the old one before it replaces it, so
    // a replacement can need room that only the old copy's removal would
    // give. That is a lack of space, and the old copy stays.
    if (target && IsDiskFull(copied) && run.medium.StillThere()) return Refuse(run, source_path);
    return CopyFailed(run, source_path, source, copied);
  }
  target_folder.Added(source.name);
  run.window.AppendLog(source.name);
  ++run.counters.copy_count;
  return Finish(run, CopyOutcome::kCopied);
}

}  // namespace

CopyOutcome CopyIfNewer(SyncRun& run, const std::string& source_path,
                        const std::string& target_folder) {
  const std::optional<FileFacts> source = run.platform.FindFile(source_path);
  if (!source) return Finish(run, CopyOutcome::kSourceGone);
  TargetListing target(run.platform, target_folder);
  return CopyListedFile(run, source_path, *source, target);
}

CopyDecision DecideCopy(const FileFacts& source, const std::optional<FileFacts>& target,
                        bool ignore_hour_shift) {
  if (IsDevice(source) || IsFolder(source)) return CopyDecision::kSourceNotRegular;
  if (target && IsDevice(*target)) return CopyDecision::kTargetNotRegular;
  if (DosTimeIsLater(source.dos_time, target ? target->dos_time : 0)) {
    const bool shifted =
        ignore_hour_shift && target && !IsFolder(*target) && AnHourApartAndAlike(source, *target);
    if (!shifted) return CopyDecision::kCopy;
  }
  if (target && IsFolder(*target)) return CopyDecision::kTargetIsFolder;
  return CopyDecision::kUpToDate;
}

CopyOutcome CopyListedFile(SyncRun& run, const std::string& source_path, const FileFacts& source,
                           TargetListing& target_folder) {
  ++run.candidates_handled;
  const bool source_regular = !IsDevice(source) && !IsFolder(source);
  const std::optional<FileFacts> target =
      source_regular ? target_folder.Find(source.name) : std::nullopt;
  switch (DecideCopy(source, target, run.ignore_hour_shift)) {
    case CopyDecision::kSourceNotRegular:
      run.outcome.Skip(source_path + ": not a regular file");
      return Finish(run, CopyOutcome::kNotRegular);
    case CopyDecision::kTargetNotRegular:
    case CopyDecision::kTargetIsFolder:
      // The file has no counterpart, and what stands there is not replaced.
      run.outcome.Skip(target_folder.folder() + "\\" + source.name +
                       ": no regular file stands where the copy belongs");
      return Finish(run, CopyOutcome::kNotRegular);
    case CopyDecision::kUpToDate:
      return Finish(run, CopyOutcome::kUpToDate);
    case CopyDecision::kCopy:
      break;
  }
  return CopyNewer(run, source_path, source, target_folder, target);
}

}  // namespace pellmar
