// What the last Send or Load achieved, kept by the window so a caller
// without one (the command line) can tell a complete run from a run that
// left files behind, and so the run can list what it had to leave out.
#ifndef PELLMAR_CORE_RUN_OUTCOME_H_
#define PELLMAR_CORE_RUN_OUTCOME_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pellmar {

struct RunOutcome {
  /// Only this many left-out names are kept for the report; the rest are
  /// counted, so a tree full of them cannot grow the memory of a run.
  static constexpr size_t kMaxListedSkips = 50;

  bool run_refused = false;                // refused before any file was touched
  bool other_medium = false;               // refused: not the disk the project was last used with
  bool medium_gone = false;                // the removable disk went away mid-run
  bool stopped = false;                    // the user stopped it between two files
  bool disk_full = false;                  // the disk written to filled up mid-run
  bool medium_unsafe = false;              // the write-out of the disk after the run failed
  int copies_refused = 0;                  // "Not enough disc size!"
  int copies_failed = 0;                   // the copy itself failed
  int kept_in_trash = 0;                   // versions replaced or removed that the trash keeps
  int deleted = 0;                         // files removed from the removable disk
  int64_t skipped_count = 0;               // entries left out of the run
  std::vector<std::string> skipped_names;  // the first kMaxListedSkips of them
  // Files changed on both sides, or deleted on one and changed on the
  // other, since the last run that saw their two copies the same. Handled,
  // so no failure: the run still goes by which copy is newer.
  int64_t conflict_count = 0;
  std::vector<std::string> conflicts;  // the first kMaxListedSkips of them

  /// Notes an entry the run could not handle: its path, ": " and why.
  void Skip(std::string description);
  /// Notes a conflict: the file's path, ": " and what became of it.
  void Conflict(std::string description);
  /// True when every candidate of the run was handled.
  bool Complete() const;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_OUTCOME_H_
