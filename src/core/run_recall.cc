// A file is remembered by its path below the folder the walk started from,
// which names it alike on both sides.
#include "core/run_recall.h"

#include <cstdio>

#include "core/messages.h"
#include "platform/dos_time.h"
#include "platform/path_text.h"

namespace pellmar {

namespace {

// Built in one buffer of the run's: a walk asks it of every file it sees.
const std::string& RelativePath(SyncRun& run, const OpenFolder& folder, const FileFacts& file) {
  const std::string& path = folder.path();
  std::string& relative = run.memory_path;
  relative.clear();
  if (path.size() > run.walk_root.size()) {
    relative.append(path, run.walk_root.size() + 1).append("\\");
  }
  return relative.append(file.name);
}

bool SourceOnMedium(const SyncRun& run, const OpenFolder& source) {
  return run.OnRemovable(source.path());
}

int64_t Today(SyncRun& run) {
  if (run.memory_day < 0) {
    LocalDateTime midnight = run.platform.Now();
    midnight.hour = midnight.minute = midnight.second = midnight.millisecond = 0;
    run.memory_day = ToLocalSeconds(midnight);
  }
  return run.memory_day;
}

std::string DayText(int64_t local_seconds) {
  const LocalDateTime day = FromLocalSeconds(local_seconds);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.year, day.month, day.day);
  return text;
}

}  // namespace

FileClash ClashOf(SyncRun& run, const OpenFolder& source, const FileFacts& file,
                  const std::optional<FileFacts>& target) {
  if (run.memory == nullptr) return {};
  const std::optional<RememberedVersion> remembered =
      run.memory->Find(RelativePath(run, source, file));
  if (!remembered) return {};
  return FileClash{ClashSince(&*remembered, file, target, SourceOnMedium(run, source)),
                   remembered->since};
}

std::string ClashText(const SyncRun& run, const FileClash& clash, bool kept) {
  // A plan names the conflict alone: nothing went anywhere yet.
  const int message = clash.clash == Clash::kChangedAndGone ? kDeletedAndChanged
                      : kept && !run.planning               ? kChangedOnBothSides
                                                            : kChangedOnBothSidesNotTrashed;
  return FillIn(run.window.Message(message), {DayText(clash.since)});
}

void NoteClash(SyncRun& run, const OpenFolder& source, const FileFacts& file,
               const std::string& text) {
  run.outcome.Conflict(ChildPath(source.path(), file.name) + ": " + text);
}

void RememberAlike(SyncRun& run, const OpenFolder& source, const FileFacts& file,
                   const FileFacts& target) {
  if (run.memory == nullptr || !run.remembers || !AlikeVersions(file, target)) return;
  const std::string& relative = RelativePath(run, source, file);
  const bool on_medium = SourceOnMedium(run, source);
  // Seen alike again: the day they first were stays, so that a run that
  // changes nothing leaves the memory as it was.
  const std::optional<RememberedVersion> known = run.memory->Find(relative);
  if (known && StillAsRemembered(*known, file, target, on_medium)) return;
  run.memory->Remember(relative, VersionSeen(file, target, on_medium, Today(run)));
}

void RememberCopied(SyncRun& run, const OpenFolder& source, const FileFacts& file) {
  if (!run.planning) RememberAlike(run, source, file, file);
}

void ForgetRemoved(SyncRun& run, const OpenFolder& folder, const FileFacts& file) {
  if (run.memory == nullptr || !run.remembers || run.planning) return;
  run.memory->Forget(RelativePath(run, folder, file));
}

}  // namespace pellmar
