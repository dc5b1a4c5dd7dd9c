// SyncTree: the depth-first walk of one side of a run.
#include "core/sync_tree.h"

#include "core/candidate.h"
#include "core/copy_if_newer.h"
#include "core/target_folder.h"
#include "core/text_ops.h"
#include "platform/dos_time.h"

namespace pellmar {

namespace {

// How often a walk that copies little still lets the window repaint.
constexpr int64_t kEntriesPerRepaint = 512;

DateWindow LevelDateWindow(Platform& platform, int days) {
  const LocalDateTime now = platform.Now();
  LocalDateTime midnight = now;
  midnight.hour = midnight.minute = midnight.second = midnight.millisecond = 0;
  LocalDateTime whole_second = now;
  whole_second.millisecond = 0;
  DateWindow window;
  window.cutoff = ToLocalSeconds(midnight) - static_cast<int64_t>(days) * kSecondsPerDay;
  window.now_ms = ToLocalSeconds(whole_second) * 1000 + now.millisecond;
  return window;
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// Auto-delete applies on the removable disk only, when it is switched on,
// to what is more than twice Days old.
bool DueForDeletion(const SyncRun& run, const std::string& path, uint32_t dos_time,
                    const DateWindow& window) {
  return run.auto_delete && OccursIn(run.media_dir, path) &&
         OlderThanTwiceDays(dos_time, window, run.days);
}

void FolderAutoDelete(SyncRun& run, const std::string& path, const FileFacts& folder,
                      const DateWindow& window) {
  if (!DueForDeletion(run, path, folder.dos_time, window)) return;
  // Ignored: only an empty folder goes, and one that still holds anything
  // is meant to stay.
  (void)run.platform.RemoveFolder(path);
}

// A file is deleted only when its counterpart on the other side is known to
// be there and on the disk, so neither a failed copy nor a crash right
// after the deletion costs the only copy of a file. Its space comes back
// only when it is really gone.
void FileAutoDelete(SyncRun& run, const std::string& path, const FileFacts& file,
                    const DateWindow& window, CopyOutcome outcome,
                    const std::string& counterpart) {
  if (!CounterpartPresent(outcome)) return;
  if (!DueForDeletion(run, path, file.dos_time, window)) return;
  if (!run.platform.FlushFile(counterpart).ok()) return;
  if (run.platform.DeleteFile(path).ok()) run.counters.free_space += file.size;
}

// Hands one file to the copy and then to the auto-delete. False when the
// copy was refused, which ends the level.
bool HandleFile(SyncRun& run, const std::string& source_folder, const std::string& path,
                const FileFacts& file, const DateWindow& window, std::string* root) {
  if (file.attributes & kAttrDevice) {
    run.outcome.Skip(path);
    return true;
  }
  if (!IsCandidate(file.name, path, file.dos_time, window, run.exclusion_list, run.media_dir)) {
    return true;
  }
  const std::string target = TargetFolder(run, path, source_folder, root);
  const CopyOutcome outcome = CopyListedFile(run, path, file, target);
  if (!GoOn(outcome)) return false;
  FileAutoDelete(run, path, file, window, outcome, target + "\\" + file.name);
  return true;
}

}  // namespace

void SyncTree(SyncRun& run, const std::string& source_folder, std::string destination_root) {
  const FolderListing listing = run.platform.ListFolder(source_folder + "\\*");
  const DateWindow window = LevelDateWindow(run.platform, run.days);
  for (const std::string& host_path : listing.unnamable) run.outcome.Skip(host_path);
  for (const FileFacts& entry : listing.entries) {
    if (IsDotEntry(entry.name)) continue;
    if (++run.entries_walked % kEntriesPerRepaint == 0) run.window.ProcessEvents();
    const std::string path = source_folder + "\\" + entry.name;
    if (!(entry.attributes & kAttrDirectory)) {
      if (!HandleFile(run, source_folder, path, entry, window, &destination_root)) return;
      continue;
    }
    if (entry.attributes & kAttrReparsePoint) {
      // A link may lead back into its own tree, or into another one.
      run.outcome.Skip(path);
      continue;
    }
    SyncTree(run, path, destination_root);
    FolderAutoDelete(run, path, entry, window);
  }
}

}  // namespace pellmar
