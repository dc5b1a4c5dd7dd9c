// The plan of a run: the same walk and the same decisions as the run, on a
// platform that changes nothing, counting what the run would copy and
// delete. It gives the run its totals and the user a preview.
#ifndef PELLMAR_CORE_RUN_PLAN_H_
#define PELLMAR_CORE_RUN_PLAN_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/run_observer.h"
#include "core/run_outcome.h"
#include "core/sync_run.h"

namespace pellmar {

struct PlannedAct {
  RunObserver::Act act;
  std::string path;  // the file copied from, or deleted
  int64_t size;
};

struct RunPlan {
  int64_t files = 0;  // copies, replacements included
  int64_t bytes = 0;
  int64_t replacements = 0;
  int64_t deletions = 0;
  int64_t folder_removals = 0;
  int64_t debris = 0;            // scratch files of an earlier run the run clears
  std::vector<PlannedAct> acts;  // in the order of the walk, when asked for
  RunOutcome outcome;            // what the run would leave out, and why

  /// False when the run would change nothing at all: its plan is then its
  /// whole outcome.
  bool NeedsRun() const;
};

/// Plans a run of `like`'s window values and free space from
/// `source_folder` into `destination_root`; with `list_acts`, every act is
/// kept too. Nothing on any disk changes, and the window shows nothing but
/// stays responsive; a stop the user asks for ends the plan.
RunPlan PlanRun(const SyncRun& like, const std::string& source_folder,
                const std::string& destination_root, bool list_acts);

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_PLAN_H_
