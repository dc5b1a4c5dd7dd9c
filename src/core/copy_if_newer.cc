// CopyIfNewer: the single "copy or skip" decision of a run, and its act.
#include "core/copy_if_newer.h"

#include <optional>

#include "core/copy_queue.h"
#include "core/messages.h"
#include "core/send_load.h"
#include "core/storable_file.h"
#include "core/text_ops.h"
#include "platform/dos_time.h"
#include "platform/path_text.h"

namespace pellmar {

namespace {

// The second status panel is empty whenever no copy is under way.
CopyOutcome Finish(SyncRun& run, CopyOutcome outcome) {
  run.window.SetCopyStatus("");
  return outcome;
}

bool IsDevice(const FileFacts& facts) { return (facts.attributes & kAttrDevice) != 0; }
bool IsFolder(const FileFacts& facts) { return (facts.attributes & kAttrDirectory) != 0; }

// One hour apart, give or take FAT's 2-second step, and of the same size.
bool AnHourApartAndAlike(const FileFacts& later, const FileFacts& earlier) {
  constexpr int64_t kHour = 3600, kStep = 2;
  const int64_t apart =
      DosTimeToLocalSeconds(later.dos_time) - DosTimeToLocalSeconds(earlier.dos_time);
  return later.size == earlier.size && apart >= kHour - kStep && apart <= kHour + kStep;
}

// Charges a copy onto the removable disk, giving back the old target's
// space unless the trash keeps the old target there. A copy from the
// removable disk costs it nothing. False, with the counter as it was, when
// the disk would be full.
bool ChargeFreeSpace(SyncRun& run, const std::string& source_path, int64_t source_size,
                     int64_t target_size, bool keep_replaced) {
  const int64_t before = run.counters.free_space;
  if (!run.OnRemovable(source_path)) {
    const int64_t given_back = keep_replaced ? 0 : target_size;
    run.counters.free_space = before - source_size + given_back;
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

// Once the disk has said it is full, every file after is logged as not
// copied without being tried: each would fail the same way.
CopyOutcome DiskFull(SyncRun& run, const FileFacts& file) {
  run.NoteDiskFull();
  ++run.outcome.copies_failed;
  run.window.AppendLog(FailedCopyLogLine(file.name, "the disk is full"));
  ++run.counters.copy_count;
  return Finish(run, CopyOutcome::kFailed);
}

bool IsDiskFull(const Status& status) {
  return status.code == kErrorDiskFull || status.code == kErrorHandleDiskFull;
}

// The folder the copy goes into, made when it is missing. A link or a mount
// point on the way is never gone through; nullopt when the copy may go on,
// or fail with `*why`.
std::optional<CopyOutcome> OpenTargetFolder(SyncRun& run, TargetListing& target_folder,
                                            OpenFolder** folder, Status* why) {
  *folder = target_folder.Open(true, why);
  if (*folder != nullptr) return std::nullopt;
  if (run.EndIfMediumGone()) return Finish(run, CopyOutcome::kMediumGone);
  if (why->code == kErrorCantResolveFilename || why->code == kErrorNotReady) {
    run.outcome.Skip(target_folder.folder() +
                     ": reached through a link or a mount point; nothing was written there");
    return Finish(run, CopyOutcome::kNotRegular);
  }
  return std::nullopt;  // the copy below fails, and says why
}

// After a failed copy: the medium may have gone, a file may have changed
// since the decision, the source may have gone, or the copy itself failed,
// which the log marks with the reason.
CopyOutcome CopyFailed(SyncRun& run, const std::string& source_path, const std::string& target_path,
                       const FileFacts& source, const Status& copied) {
  if (run.EndIfMediumGone()) return Finish(run, CopyOutcome::kMediumGone);
  if (copied.code == kErrorChangedDuringRun) {
    run.outcome.Skip(copied.message + "; left as it is, the copy was not made");
    return Finish(run, CopyOutcome::kChanged);
  }
  if (copied.code == kErrorCannotKeepReplaced) {
    run.outcome.Skip(copied.message +
                     "; it changed on both sides, and both copies were left as "
                     "they are");
    return Finish(run, CopyOutcome::kChanged);
  }
  if (copied.code == kErrorChangedWhileCopied) {
    run.outcome.Skip(source_path + ": changed while copied; " + target_path +
                     " was left as it was");
    return Finish(run, CopyOutcome::kChanged);
  }
  if (IsDiskFull(copied)) return DiskFull(run, source);
  if (copied.code == kErrorFileNotFound) {
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

// The log line of a copy: the file's name, and what clashed.
void LogCopy(SyncRun& run, OpenFolder& source, const FileFacts& file, const FileClash& clash,
             bool kept) {
  if (clash.clash == Clash::kNone) return run.window.AppendLog(file.name);
  const std::string text = ClashText(run, clash, kept);
  NoteClash(run, source, file, text);
  run.window.AppendLog(file.name + ": " + text);
}

}  // namespace

std::optional<CopyOutcome> PrepareCopy(SyncRun& run, OpenFolder& source, const FileFacts& file,
                                       TargetListing& target_folder,
                                       const std::optional<FileFacts>& target,
                                       const FileClash& clash, PendingCopy* pending) {
  *pending = PendingCopy{};
  pending->source = &source;
  pending->file = file;
  pending->target = target;
  pending->clash = clash;
  if (std::optional<CopyOutcome> stopped =
          OpenTargetFolder(run, target_folder, &pending->into, &pending->why)) {
    return *stopped;
  }
  if (run.outcome.disk_full) return DiskFull(run, file);
  const int64_t before = run.counters.free_space;
  // Of two copies both changed, the older one is never lost.
  pending->keep = run.keep_replaced || clash.clash == Clash::kBothChanged;
  const std::string source_path = ChildPath(source.path(), file.name);
  if (!ChargeFreeSpace(run, source_path, file.size, target ? target->size : 0, pending->keep)) {
    return Refuse(run, source_path);
  }
  pending->charged = before - run.counters.free_space;
  ShowProgress(run, file.name);
  return std::nullopt;
}

CopyRequest PendingCopy::Request() const {
  return CopyRequest{source, file, into, target, keep, clash.clash == Clash::kBothChanged};
}

CopyOutcome FinishCopy(SyncRun& run, TargetListing& target_folder, const PendingCopy& copy,
                       const Status& copied, const CopyResult& result) {
  const FileFacts& file = copy.file;
  const std::string source_path = ChildPath(copy.source->path(), file.name);
  const std::string target_path = ChildPath(target_folder.folder(), file.name);
  if (run.observer != nullptr) run.observer->CopyEnded(file.size);
  if (!copied.ok()) {
    // A failed copy leaves the old target as it was, so its charge comes back.
    run.counters.free_space += copy.charged;
    // The new copy is written beside the old one before it replaces it, so
    // a replacement can need room that only the old copy's removal would
    // give. That is a lack of space, and the old copy stays.
    if (copy.target && IsDiskFull(copied) && run.medium.StillThere()) {
      return Refuse(run, source_path);
    }
    return CopyFailed(run, source_path, target_path, file, copied);
  }
  if (result.replaced_kept) ++run.outcome.kept_in_trash;
  if (!result.warning.empty()) run.outcome.Skip(target_path + ": copied, but " + result.warning);
  target_folder.Added(file.name);
  if (run.observer != nullptr) {
    run.observer->Done(copy.target ? RunObserver::Act::kReplace : RunObserver::Act::kCopy,
                       source_path, file.size);
  }
  LogCopy(run, *copy.source, file, copy.clash, result.replaced_kept);
  RememberCopied(run, *copy.source, file);
  ++run.counters.copy_count;
  return Finish(run, CopyOutcome::kCopied);
}

CopyOutcome CopyNewer(SyncRun& run, OpenFolder& source, const FileFacts& file,
                      TargetListing& target_folder, const std::optional<FileFacts>& target,
                      const FileClash& clash, CopyQueue* queue) {
  PendingCopy pending;
  if (std::optional<CopyOutcome> done =
          PrepareCopy(run, source, file, target_folder, target, clash, &pending)) {
    return *done;
  }
  if (queue != nullptr) {
    if (queue->Take(pending)) return queue->Full() ? queue->Flush() : CopyOutcome::kQueued;
    // The copies queued before this one are recorded before it.
    const CopyOutcome queued = queue->Flush();
    if (!GoOn(queued)) return queued;
  }
  CopyResult result;
  Status copied = pending.why;
  if (pending.into != nullptr) copied = run.platform.CopyFile(pending.Request(), &result);
  return FinishCopy(run, target_folder, pending, copied, result);
}

CopyOutcome CopyIfNewer(SyncRun& run, const std::string& source_path,
                        const std::string& target_folder) {
  FolderHandle source;
  if (!run.platform.OpenFolderAt(ParentOf(source_path, run.code_page), &source).ok()) {
    return Finish(run, CopyOutcome::kSourceGone);
  }
  const std::optional<FileFacts> file =
      run.platform.LookIn(*source, LastPathComponent(source_path, run.code_page));
  if (!file) return Finish(run, CopyOutcome::kSourceGone);
  // Onto the removable disk, the folder is made only on the medium the run
  // started with.
  TargetListing target(run.platform, target_folder,
                       run.OnRemovable(source_path) ? VolumeGuard{} : run.medium.Guard());
  return CopyListedFile(run, *source, *file, target);
}

CopyDecision DecideCopy(const FileFacts& source, const std::optional<FileFacts>& target,
                        bool ignore_hour_shift) {
  if (IsDevice(source) || IsFolder(source)) return CopyDecision::kSourceNotRegular;
  // A link at the target is the user's: neither replaced nor written through.
  if (target && (IsDevice(*target) || (target->attributes & kAttrReparsePoint) != 0)) {
    return CopyDecision::kTargetNotRegular;
  }
  if (DosTimeIsLater(source.dos_time, target ? target->dos_time : 0)) {
    const bool shifted =
        ignore_hour_shift && target && !IsFolder(*target) && AnHourApartAndAlike(source, *target);
    if (!shifted) return CopyDecision::kCopy;
  }
  if (target && IsFolder(*target)) return CopyDecision::kTargetIsFolder;
  return CopyDecision::kUpToDate;
}

CopyOutcome CopyListedFile(SyncRun& run, OpenFolder& source, const FileFacts& file,
                           TargetListing& target_folder, CopyQueue* queue) {
  ++run.candidates_handled;
  const bool source_regular = !IsDevice(file) && !IsFolder(file);
  if (source_regular) {
    // Asked before the target: where a name is stored under another, the
    // file found under it may be another one ("a" for "a.").
    const std::string why = WhyNotStorable(file.name, file.size, run.target_limits);
    if (!why.empty()) {
      run.outcome.Skip(ChildPath(source.path(), file.name) + ": not copied, " +
                       target_folder.folder() + " " + why);
      return Finish(run, CopyOutcome::kNotStorable);
    }
  }
  const std::optional<FileFacts> target =
      source_regular ? target_folder.Find(file.name) : std::nullopt;
  switch (DecideCopy(file, target, run.ignore_hour_shift)) {
    case CopyDecision::kSourceNotRegular:
      run.outcome.Skip(ChildPath(source.path(), file.name) + ": not a regular file");
      return Finish(run, CopyOutcome::kNotRegular);
    case CopyDecision::kTargetNotRegular:
    case CopyDecision::kTargetIsFolder:
      // The file has no counterpart, and what stands there is not replaced.
      run.outcome.Skip(ChildPath(target_folder.folder(), file.name) +
                       ": no regular file stands where the copy belongs");
      return Finish(run, CopyOutcome::kNotRegular);
    case CopyDecision::kUpToDate:
      if (target) RememberAlike(run, source, file, *target);
      return Finish(run, CopyOutcome::kUpToDate);
    case CopyDecision::kCopy:
      break;
  }
  return CopyNewer(run, source, file, target_folder, target, ClashOf(run, source, file, target),
                   queue);
}

}  // namespace pellmar
