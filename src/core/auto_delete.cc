// Auto-delete on the removable disk, after each file and each folder.
#include "core/auto_delete.h"

#include "core/run_recall.h"
#include "platform/path_text.h"

namespace pellmar {

namespace {

// FAT keeps times in steps of two seconds: two copies of one version can be
// that far apart.
constexpr int64_t kTimeStepNs = int64_t{2} * 1000000000;

bool IsRegular(const FileFacts& facts) {
  return (facts.attributes & (kAttrDirectory | kAttrDevice | kAttrReparsePoint)) == 0;
}

// Auto-delete applies on the removable disk only, when it is switched on,
// to what is more than twice Days old.
bool DueForDeletion(const SyncRun& run, const std::string& path, uint32_t dos_time,
                    const DateWindow& window) {
  return run.auto_delete && run.OnRemovable(path) && OlderThanTwiceDays(dos_time, window, run.days);
}

// What the file on the removable disk is next to its copy on the other side.
enum class Likeness {
  kSameVersion,  // the same size, written within one time step, or the copy is newer
  kOlder,        // the copy was written later, and differs: this is an older version
  kNewer,        // this was written later and differs: the copy is the older one
  kUnknown,      // the bytes could not be compared
};

// Sizes and real times decide; where only the hour shift or the packed
// time's limits made the two look alike, the bytes do.
Likeness Compare(SyncRun& run, OpenFolder& folder, const FileFacts& file, OpenFolder& copy_folder,
                 const FileFacts& copy) {
  const bool copy_not_older = copy.write_ns >= file.write_ns - kTimeStepNs;
  if (copy_not_older) return copy.size == file.size ? Likeness::kSameVersion : Likeness::kOlder;
  if (copy.size != file.size) return Likeness::kNewer;
  bool same = false;
  const Status compared = run.platform.CompareFiles(folder, file, copy_folder, copy, &same);
  if (!compared.ok()) return Likeness::kUnknown;
  return same ? Likeness::kSameVersion : Likeness::kNewer;
}

void RemoveFromMedium(SyncRun& run, OpenFolder& folder, const FileFacts& file, bool to_trash) {
  const std::string path = ChildPath(folder.path(), file.name);
  bool kept = false;
  run.medium_changed = true;
  const Status removed = run.platform.RemoveFileIn(folder, file, to_trash, &kept);
  if (removed.ok()) {
    ++run.outcome.deleted;
    ForgetRemoved(run, folder, file);
    if (run.observer != nullptr) run.observer->Done(RunObserver::Act::kDelete, path, file.size);
    // The trash keeps what it takes on the same disk.
    if (kept) {
      ++run.outcome.kept_in_trash;
    } else {
      run.counters.free_space += file.size;
    }
  } else if (removed.code == kErrorChangedDuringRun) {
    run.outcome.Skip(path + ": changed during the run; kept");
  } else if (removed.code != kErrorFileNotFound) {
    run.outcome.Skip(path + ": could not be deleted: " + removed.message);
  }
}

}  // namespace

// A failed copy, a crash right after, or a copy saved anew meanwhile never
// costs the only copy of a file.
void FileAutoDelete(SyncRun& run, OpenFolder& folder, const FileFacts& file,
                    const DateWindow& window, CopyOutcome outcome, TargetListing& target) {
  const std::string path = ChildPath(folder.path(), file.name);
  if (!CounterpartPresent(outcome) || !DueForDeletion(run, path, file.dos_time, window)) return;
  if (!run.medium.Holds(file.identity))
    return run.outcome.Skip(path + ": kept, it is not on the removable disk");
  Status why;
  OpenFolder* copy_folder = target.Open(false, &why);
  const std::string copy_path = ChildPath(target.folder(), file.name);
  const std::optional<FileFacts> copy =
      copy_folder != nullptr ? run.platform.LookIn(*copy_folder, file.name) : std::nullopt;
  if (!copy || !IsRegular(*copy))
    return run.outcome.Skip(path + ": kept, its copy " + copy_path + " is not there");
  if (copy->identity == file.identity)
    return run.outcome.Skip(path + ": kept, it is the same file as its copy " + copy_path);
  const Likeness likeness = Compare(run, folder, file, *copy_folder, *copy);
  if (likeness == Likeness::kUnknown)
    return run.outcome.Skip(path + ": kept, it could not be compared with its copy " + copy_path);
  if (likeness == Likeness::kNewer) {
    (void)CopyNewer(run, folder, file, target, copy);
    return;
  }
  const Status flushed = run.platform.FlushFileIn(*copy_folder, file.name);
  if (!flushed.ok())
    return run.outcome.Skip(path + ": kept, its copy could not be made safe: " + flushed.message);
  RemoveFromMedium(run, folder, file, likeness == Likeness::kOlder && run.keep_replaced);
}

void FolderAutoDelete(SyncRun& run, OpenFolder& parent, const FileFacts& folder,
                      const DateWindow& window) {
  if (!DueForDeletion(run, ChildPath(parent.path(), folder.name), folder.dos_time, window)) return;
  if (!run.medium.Holds(folder.identity)) return;
  // A failure is no fault: only an empty folder goes, and one that still
  // holds anything is meant to stay.
  if (!run.platform.RemoveEmptyFolderIn(parent, folder.name).ok()) return;
  run.medium_changed = true;
  if (run.observer != nullptr) {
    run.observer->Done(RunObserver::Act::kRemoveFolder, ChildPath(parent.path(), folder.name), 0);
  }
}

}  // namespace pellmar
