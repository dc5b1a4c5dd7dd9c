// One Send or Load run: the services, the window and the counters it works
// on, and the values of the window it reads. The values cannot change while
// the run holds the window, so they are read once when the run starts
// rather than once per file.
#ifndef PELLMAR_CORE_SYNC_RUN_H_
#define PELLMAR_CORE_SYNC_RUN_H_

#include <cstdint>
#include <string>

#include "core/removable_medium.h"
#include "core/run_memory.h"
#include "core/run_observer.h"
#include "core/run_outcome.h"
#include "core/sync_window.h"
#include "core/text_ops.h"
#include "platform/platform.h"

namespace pellmar {

struct SyncRun {
  /// `exclusion_list` as the command built it ("pdf,ini,"); `project_folder`
  /// is the absolute folder Send walks and Load fills.
  SyncRun(Platform& platform, SyncWindow& window, RunCounters& counters, std::string exclusion_list,
          std::string project_folder, CodePage code_page = {});

  Platform& platform;
  SyncWindow& window;
  RunCounters& counters;

  const std::string exclusion_list;
  const std::string project_folder;
  const std::string media_dir;  // edMediaDir text: the removable-disk test
  // The removable folder, "\" and the project name, joined without any
  // replacement: the text the target-folder rule removes from a path.
  const std::string removable_project_folder;
  const int days;
  const bool auto_delete;
  const bool ignore_hour_shift;
  const bool keep_replaced;
  const CodePage code_page;

  /// True for a path on the removable disk: one the removable folder text
  /// occurs in.
  bool OnRemovable(const std::string& path) const { return OccursIn(media_dir, path); }

  // The removable disk as it is when the run starts; `medium_recorded` is
  // not ok when it could not be reached then.
  RemovableMedium medium;
  Status medium_recorded;
  bool medium_gone = false;  // the run ended because the medium went away
  // Something on the medium was written, removed or tried: a copy, a folder
  // made or removed, a deletion, the debris of an earlier run cleared.
  bool medium_changed = false;

  /// What the file system copied onto cannot hold (for Send the medium's,
  /// for Load the project folder's), learned when the walk starts.
  FileSystemLimits target_limits;

  /// The memory of the runs between this project and this disk, read
  /// before the run; nullptr for none. Only a run that acts (`remembers`)
  /// adds to it; its plan (`planning`) adds the files it finds alike, and
  /// nothing of what it only pretends to do.
  RunMemory* memory = nullptr;
  bool remembers = false;
  bool planning = false;
  /// The folder the walk started from: a file is remembered by its path
  /// below it, the same on both sides.
  std::string walk_root;
  int64_t memory_day = -1;  // the local day files seen alike are noted with
  std::string memory_path;  // the path of the file asked of the memory last

  RunOutcome outcome;
  /// Told of every act; nullptr when nobody watches.
  RunObserver* observer = nullptr;
  /// Ends the run once the medium is found gone, with one message saying
  /// how far it got; every level then stops at once.
  void EndForMediumGone();
  /// Looks whether the medium is still the one the run started with; when
  /// it is not, ends the run as EndForMediumGone does and returns true.
  bool EndIfMediumGone();
  /// Notes, with one message, that the disk written to reports itself
  /// full: the files left would fail one by one, so none is tried again.
  void NoteDiskFull();
  /// True once the run has ended early: the medium went, or the user
  /// stopped it.
  bool Ended() const { return medium_gone || outcome.stopped; }
  /// Asks the window whether the user wants the run to stop; called between
  /// files, so that no file is left half done. True when the run has ended.
  bool StopAsked();
  /// Once the run is over, and only when it changed the medium: writes
  /// what the system still caches of it onto the disk, saying so on the
  /// progress bar meanwhile, so that the disk can be pulled out as soon as
  /// the run reports. A failed flush is named in the outcome.
  void MakeMediumSafe();
  /// Copies that succeeded so far.
  int CopiesDone() const { return counters.copy_count - outcome.copies_failed; }
  int64_t candidates_handled = 0;  // shown while a file is being copied
  int64_t entries_walked = 0;      // paces the repaints of a long walk
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_SYNC_RUN_H_
