// SyncTree: the depth-first walk of one side of a run, by folder handle.
#include "core/sync_tree.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "core/auto_delete.h"
#include "core/candidate.h"
#include "core/copy_if_newer.h"
#include "core/copy_queue.h"
#include "core/name_fold.h"
#include "core/storable_file.h"
#include "core/target_listing.h"
#include "core/text_ops.h"
#include "platform/dos_time.h"
#include "platform/path_text.h"

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

// The names of a level that would be one name where they are copied to:
// neither may be copied over the other. A name the target cannot store is
// never copied, so it takes no other name's place ("a." beside "a").
std::unordered_map<std::string, int> TwinNames(const SyncRun& run, const FolderListing& listing,
                                               TargetListing& target) {
  std::unordered_map<std::string, int> counts;
  if (listing.entries.size() < 4 || !target.CaseBlind()) return counts;  // ".", ".." and one
  for (const FileFacts& entry : listing.entries) {
    if (IsDotEntry(entry.name) || !WhyNotStorable(entry.name, 0, run.target_limits).empty()) {
      continue;
    }
    ++counts[FoldedName(entry.name)];
  }
  std::erase_if(counts, [](const auto& folded) { return folded.second < 2; });
  return counts;
}

struct Level {
  OpenFolder& source;
  TargetListing& target;
  DateWindow window;
  std::unordered_map<std::string, int> twins;
  CopyQueue* queue;  // nullptr where a file is deleted after its copy
};

// Hands one file to the copy and then to the auto-delete. False when the
// copy was refused, which ends the level.
bool HandleFile(SyncRun& run, Level& level, const std::string& path, const FileFacts& file) {
  if (file.attributes & kAttrDevice) {
    run.outcome.Skip(path + ": not a regular file");
    return true;
  }
  if (IsLink(file) && run.OnRemovable(path)) {
    // A stick can hold a link to any file of this computer; what it leads
    // to is neither read nor deleted.
    run.outcome.Skip(path + ": a link on the removable disk, not followed");
    return true;
  }
  if (!IsCandidate(file.name, file.dos_time, level.window, run.exclusion_list,
                   run.OnRemovable(path))) {
    return true;
  }
  const CopyOutcome outcome = CopyListedFile(run, level.source, file, level.target, level.queue);
  if (!GoOn(outcome)) return false;
  FileAutoDelete(run, level.source, file, level.window, outcome, level.target);
  return true;
}

bool IsPlainFile(const FileFacts& entry) {
  return (entry.attributes & (kAttrDirectory | kAttrDevice)) == 0;
}

// Where the other side is asked name by name, the files of the level that
// may be copied are asked all at once, so that a driver in user space has
// the next question waiting while it answers one.
void LookAheadAtCandidates(SyncRun& run, Level& level, const FolderListing& listing) {
  const std::vector<FileFacts>& entries = listing.entries;
  if (std::none_of(entries.begin(), entries.end(), IsPlainFile) || !level.target.AsksByName()) {
    return;
  }
  std::vector<std::string> names;
  std::string path = ChildPath(level.source.path(), "");
  const size_t folder_length = path.size();
  for (const FileFacts& entry : entries) {
    if (!IsPlainFile(entry)) continue;
    path.resize(folder_length);
    path += entry.name;
    if (IsCandidate(entry.name, entry.dos_time, level.window, run.exclusion_list,
                    run.OnRemovable(path))) {
      names.push_back(entry.name);
    }
  }
  level.target.LookAhead(names);
}

// The level's folders, on both sides, may be listed on another core while
// the level's files are handled.
void ListFoldersAhead(Level& level, const FolderListing& listing) {
  std::vector<std::string> names;
  for (const FileFacts& entry : listing.entries) {
    if ((entry.attributes & kAttrDirectory) && !IsLink(entry) && !IsDotEntry(entry.name)) {
      names.push_back(entry.name);
    }
  }
  if (!names.empty()) level.target.ListAhead(level.source, names);
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
    run.outcome.Skip(ChildPath(source_folder, listing.entries[i].name) +
                     ": not visited, its folder ended at a refusal for space");
  }
}

void WalkLevel(SyncRun& run, OpenFolder& source, TargetListing& target);

// A folder of the level: walked through its own handle, opened without
// following a link, then considered for the folder auto-delete.
void HandleFolder(SyncRun& run, Level& level, const std::string& path, const FileFacts& entry) {
  if (IsLink(entry)) {
    // A link or a mount may lead back into its own tree, or into another one.
    run.outcome.Skip(path + ": a link to a folder or another file system, not followed");
    return;
  }
  const std::string why = WhyNotStorable(entry.name, 0, run.target_limits);
  if (!why.empty()) {
    run.outcome.Skip(path + ": not visited, " + level.target.folder() + " " + why);
    return;
  }
  FolderHandle folder;
  const Status opened = run.platform.OpenChildFolder(level.source, entry.name, &folder);
  if (!opened.ok()) {
    // Swapped for a link, or gone, since the listing: never entered.
    if (opened.code != kErrorPathNotFound)
      run.outcome.Skip(path + ": could not be entered: " + opened.message);
    return;
  }
  TargetListing below(level.target, entry.name);
  WalkLevel(run, *folder, below);
  if (run.Ended()) return;
  // The deeper level may have made its folder where this level copies.
  level.target.Added(entry.name);
  FolderAutoDelete(run, level.source, entry, level.window);
}

void WalkEntries(SyncRun& run, Level& level, const FolderListing& listing) {
  OpenFolder& source = level.source;
  TargetListing& target = level.target;
  // One buffer for the paths of the level: a tree of many small files
  // would otherwise pay an allocation for every one.
  std::string path = ChildPath(source.path(), "");
  const size_t folder_length = path.size();
  for (size_t i = 0; i < listing.entries.size(); ++i) {
    const FileFacts& entry = listing.entries[i];
    if (IsDotEntry(entry.name)) continue;
    if (++run.entries_walked % kEntriesPerRepaint == 0) run.window.ProcessEvents();
    // Between two files: where a stop leaves nothing half done.
    if (run.StopAsked()) return;
    path.resize(folder_length);
    path += entry.name;
    if (!level.twins.empty() && level.twins.count(FoldedName(entry.name)) != 0) {
      run.outcome.Skip(path + ": another name here differs from it only in case, and " +
                       target.folder() + " cannot hold both; neither was copied");
      continue;
    }
    if (entry.attributes & kAttrDirectory) {
      // The copies before a folder are recorded before anything in it.
      if (level.queue != nullptr && !GoOn(level.queue->Flush())) return;
      HandleFolder(run, level, path, entry);
      if (run.Ended()) return;
      continue;
    }
    if (HandleFile(run, level, path, entry)) continue;
    // A refusal ends the level: what it leaves unvisited is named too.
    if (!run.Ended()) ReportUnvisited(run, source.path(), listing, i + 1);
    return;
  }
}

void WalkLevel(SyncRun& run, OpenFolder& source, TargetListing& target) {
  if (run.Ended()) return;
  if (run.EndIfMediumGone()) return;
  const FolderListing listing = run.platform.ListOpenFolder(source);
  // Where a file may be deleted once copied, each copy is made before the
  // next file is looked at.
  CopyQueue queue(run, target);
  const bool deletes_after_copy = run.auto_delete && run.OnRemovable(source.path());
  Level level{source,
              target,
              LevelDateWindow(run.platform, run.days),
              {},
              deletes_after_copy ? nullptr : &queue};
  if (!listing.status.ok() && run.EndIfMediumGone()) return;
  ReportListingGaps(run, source.path(), listing);
  level.twins = TwinNames(run, listing, target);
  LookAheadAtCandidates(run, level, listing);
  ListFoldersAhead(level, listing);
  WalkEntries(run, level, listing);
  // Whatever ended the level, every copy queued is made and recorded.
  (void)queue.Flush();
}

}  // namespace

void SyncTree(SyncRun& run, const std::string& source_folder, std::string destination_root) {
  if (run.Ended()) return;
  if (run.EndIfMediumGone()) return;
  FolderHandle source;
  const Status opened = run.platform.OpenFolderAt(source_folder, &source);
  if (!opened.ok()) {
    if (run.EndIfMediumGone()) return;
    return run.outcome.Skip(source_folder + ": could not be read: " + opened.message);
  }
  // Onto the removable disk, the root is made only on the medium the run
  // started with.
  const bool onto_medium = !run.OnRemovable(source_folder);
  const VolumeGuard guard = onto_medium ? run.medium.Guard() : VolumeGuard{};
  TargetListing target(run.platform, std::move(destination_root), guard);
  run.walk_root = source_folder;
  // The walk never enters another file system on the side it copies onto,
  // so what its root's cannot hold holds for the whole walk.
  run.target_limits = target.Limits();
  WalkLevel(run, *source, target);
  if (onto_medium && target.Changed()) run.medium_changed = true;
  // The folders held open may outlive the medium's mount (a lazy unmount):
  // whatever was written went onto the medium, but the user is told.
  if (!run.medium_gone) run.EndIfMediumGone();
}

}  // namespace pellmar
