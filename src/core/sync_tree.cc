// SyncTree: the depth-first walk of one side of a run.
#include "core/sync_tree.h"

#include "core/candidate.h"
#include "core/copy_if_newer.h"
#include "core/target_folder.h"
#include "core/target_listing.h"
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
bool IsLink(const FileFacts& facts) { return (facts.attributes & kAttrReparsePoint) != 0; }

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
  if (!run.medium.Holds(folder.identity)) return;
  // Ignored: only an empty folder goes, and one that still holds anything
  // is meant to stay.
  (void)run.platform.RemoveFolder(path);
}

// Why the file at `path` must stay although it is due for deletion, or
// empty when its counterpart is a different file, there and on the disk.
// Path text never proves that: a link or a mount can make the counterpart
// the very same file.
std::string ReasonToKeep(SyncRun& run, const FileFacts& file, const std::string& counterpart) {
  if (!run.medium.Holds(file.identity)) return "it is not on the removable disk";
  const std::optional<FileFacts> copy = run.platform.FindFile(counterpart);
  if (!copy) return "its copy " + counterpart + " is not there";
  if (copy->identity == file.identity) return "it is the same file as its copy " + counterpart;
  const Status flushed = run.platform.FlushFile(counterpart);
  if (!flushed.ok()) return "its copy could not be made safe: " + flushed.message;
  return "";
}

// A file is deleted only when its counterpart on the other side is known to
// be there and on the disk, so neither a failed copy nor a crash right
// after the deletion costs the only copy of a file. Its space comes back
// only when it is really gone.
void FileAutoDelete(SyncRun& run, const std::string& path, const FileFacts& file,
                    const DateWindow& window, CopyOutcome outcome, const TargetListing& target) {
  if (!CounterpartPresent(outcome)) return;
  if (!DueForDeletion(run, path, file.dos_time, window)) return;
  const std::string keep = ReasonToKeep(run, file, target.folder() + "\\" + file.name);
  if (!keep.empty()) return run.outcome.Skip(path + ": kept, " + keep);
  const Status deleted = run.platform.RemoveFile(path);
  if (deleted.ok()) {
    run.counters.free_space += file.size;
  } else {
    run.outcome.Skip(path + ": could not be deleted: " + deleted.message);
  }
}

// Hands one file to the copy and then to the auto-delete. False when the
// copy was refused, which ends the level. Every file of a level has the
// same target folder (the rule takes the folder part of its path), so the
// folder is worked out, and listed, once for the level.
bool HandleFile(SyncRun& run, const std::string& source_folder, const std::string& path,
                const FileFacts& file, const DateWindow& window, std::string* root,
                std::optional<TargetListing>* target) {
  if (file.attributes & kAttrDevice) {
    run.outcome.Skip(path + ": not a regular file");
    return true;
  }
  if (IsLink(file) && OccursIn(run.media_dir, path)) {
    // A stick can hold a link to any file of this computer; what it leads
    // to is neither read nor deleted.
    run.outcome.Skip(path + ": a link on the removable disk, not followed");
    return true;
  }
  if (!IsCandidate(file.name, path, file.dos_time, window, run.exclusion_list, run.media_dir)) {
    return true;
  }
  if (!*target) target->emplace(run.platform, TargetFolder(run, path, source_folder, root));
  const CopyOutcome outcome = CopyListedFile(run, path, file, **target);
  if (!GoOn(outcome)) return false;
  FileAutoDelete(run, path, file, window, outcome, **target);
  return true;
}

void ReportListingGaps(SyncRun& run, const std::string& source_folder,
                       const FolderListing& listing) {
  if (!listing.status.ok()) {
    run.outcome.Skip(source_folder + ": could not be read: " + listing.status.message);
  }
  for (const std::string& host_path : listing.unnamable) {
    run.outcome.Skip(host_path + ": a name that cannot be written here");
  }
  for (const std::string& entry : listing.unreadable) run.outcome.Skip(entry);
}

void ReportUnvisited(SyncRun& run, const std::string& source_folder, const FolderListing& listing,
                     size_t from) {
  for (size_t i = from; i < listing.entries.size(); ++i) {
    run.outcome.Skip(source_folder + "\\" + listing.entries[i].name +
                     ": not visited, its folder ended at a refusal for space");
  }
}

}  // namespace

void SyncTree(SyncRun& run, const std::string& source_folder, std::string destination_root) {
  if (run.medium_gone) return;
  if (!run.medium.StillThere()) return run.EndForMediumGone();
  const FolderListing listing = run.platform.ListFolder(source_folder + "\\*");
  const DateWindow window = LevelDateWindow(run.platform, run.days);
  if (!listing.status.ok() && !run.medium.StillThere()) return run.EndForMediumGone();
  ReportListingGaps(run, source_folder, listing);
  std::optional<TargetListing> target;
  // One buffer for the paths of the level: a tree of many small files
  // would otherwise pay an allocation for every one.
  std::string path = source_folder + "\\";
  const size_t folder_length = path.size();
  for (size_t i = 0; i < listing.entries.size(); ++i) {
    const FileFacts& entry = listing.entries[i];
    if (IsDotEntry(entry.name)) continue;
    if (++run.entries_walked % kEntriesPerRepaint == 0) run.window.ProcessEvents();
    path.resize(folder_length);
    path += entry.name;
    if (!(entry.attributes & kAttrDirectory)) {
      if (HandleFile(run, source_folder, path, entry, window, &destination_root, &target)) continue;
      // A refusal ends the level: what it leaves unvisited is named too.
      if (!run.medium_gone) ReportUnvisited(run, source_folder, listing, i + 1);
      return;
    }
    if (IsLink(entry)) {
      // A link or a mount may lead back into its own tree, or into another one.
      run.outcome.Skip(path + ": a link to a folder or another file system, not followed");
      continue;
    }
    SyncTree(run, path, destination_root);
    if (run.medium_gone) return;
    // The deeper level may have made its folder where this level copies.
    if (target) target->Added(entry.name);
    FolderAutoDelete(run, path, entry, window);
  }
}

}  // namespace pellmar
